// The open and save file dialogs of our framework (the common dialogs), answered by the dialog
// test hook when one is installed.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

struct FwFileDialog {
    bool open = true;        // the open dialog, else the save dialog
    std::string fileName;    // initial name; after OK the full path chosen
    std::string fileTitle;   // after OK the name without its folder
    // Filter in the form "Text (*.txt)|*.txt|All (*.*)|*.*||".
    std::string filter;
    DWORD flags = 0;         // OFN_ options
    std::string defaultExtension;  // added to a name typed without one
    std::string initialFolder;     // where the dialog starts; empty: the system's choice
    std::string caption;           // the dialog's caption; empty: the system's

    // True when the user chose a file.
    bool DoModal(HWND owner);
};
