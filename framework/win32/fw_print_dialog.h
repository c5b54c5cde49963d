// The print dialog of our framework (the common dialog), answered by the dialog test hook when one
// is installed.
#pragma once

#include <windows.h>

#include <string>

struct FwPrintDialog {
    // After OK: the printer's device context (the caller deletes it) and its name, or, when the
    // user chose printing to a file, printToFile with no context.
    HDC dc = nullptr;
    std::string device;
    bool printToFile = false;

    // True on OK.
    bool DoModal(HWND owner);
};
