#include "fw_print_dialog.h"

#include <commdlg.h>

#include "fw_dialog_test_hook.h"

namespace {

constexpr char kPrintToFileAnswer[] = "FILE:";

}  // namespace

bool FwPrintDialog::DoModal(HWND owner)
{
    dc = nullptr;
    device.clear();
    printToFile = false;
    if (FwDialogTestHook* hook = FwGetDialogTestHook()) {
        std::string answer;
        if (!hook->printAnswers.empty()) {
            answer = hook->printAnswers.front();
            hook->printAnswers.pop_front();
        }
        if (answer.empty()) return false;
        if (answer == kPrintToFileAnswer) {
            printToFile = true;
            return true;
        }
        dc = CreateDCA("WINSPOOL", answer.c_str(), nullptr, nullptr);
        if (!dc) return false;
        device = answer;
        return true;
    }

    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgA(&dialog)) return false;
    if (dialog.hDevNames) {
        if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
            device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
            GlobalUnlock(dialog.hDevNames);
        }
        GlobalFree(dialog.hDevNames);
    }
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.Flags & PD_PRINTTOFILE) {
        printToFile = true;
        if (dialog.hDC) DeleteDC(dialog.hDC);
        return true;
    }
    dc = dialog.hDC;
    return dc != nullptr;
}
