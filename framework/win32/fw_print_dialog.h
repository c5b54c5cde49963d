// The print dialog of our framework (the common dialog), answered by the dialog test hook when one
// is installed.
#pragma once

#include <windows.h>

#include <string>

struct FwPrintDialog {
    // Before: whether the Selection choice is offered (and then preselected).
    bool offerSelection = false;
    // After OK: the printer's device context (the caller deletes it), its name and port, or, when
    // the user chose printing to a file, printToFile with no context; selection when the user
    // kept the Selection choice.
    HDC dc = nullptr;
    std::string device;
    std::string port;
    bool printToFile = false;
    bool selection = false;

    // True on OK.
    bool DoModal(HWND owner);
    // The default printer without a dialog; false when there is none or its context cannot be
    // had.
    bool UseDefaultPrinter();
};
