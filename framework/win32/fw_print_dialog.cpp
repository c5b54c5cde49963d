#include "fw_print_dialog.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

#include "fw_dialog_test_hook.h"

namespace {

constexpr char kPrintToFileAnswer[] = "FILE:";
constexpr char kSelectionSuffix[] = "|selection";

// The port a printer writes to ("" when the printer cannot be asked).
std::string PrinterPort(const std::string& printer)
{
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, nullptr)) return "";
    std::string port;
    DWORD needed = 0;
    GetPrinterA(handle, 2, nullptr, 0, &needed);
    if (needed) {
        std::vector<BYTE> buffer(needed);
        if (GetPrinterA(handle, 2, buffer.data(), needed, &needed)) {
            const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
            if (info->pPortName) port = info->pPortName;
        }
    }
    ClosePrinter(handle);
    return port;
}

bool OpenPrinterDc(const std::string& printer, HDC& dc, std::string& device, std::string& port)
{
    dc = CreateDCA("WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (!dc) return false;
    device = printer;
    port = PrinterPort(printer);
    return true;
}

}  // namespace

bool FwPrintDialog::UseDefaultPrinter()
{
    dc = nullptr;
    device.clear();
    port.clear();
    printToFile = false;
    selection = false;
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size) || !name[0]) return false;
    return OpenPrinterDc(name, dc, device, port);
}

bool FwPrintDialog::DoModal(HWND owner)
{
    dc = nullptr;
    device.clear();
    port.clear();
    printToFile = false;
    selection = false;
    if (FwDialogTestHook* hook = FwGetDialogTestHook()) {
        hook->printSelectionOffered.push_back(offerSelection);
        std::string answer;
        if (!hook->printAnswers.empty()) {
            answer = hook->printAnswers.front();
            hook->printAnswers.pop_front();
        }
        const std::size_t suffix = answer.find(kSelectionSuffix);
        if (suffix != std::string::npos) {
            selection = offerSelection;
            answer.erase(suffix);
        }
        if (answer.empty()) return false;
        if (answer == kPrintToFileAnswer) {
            printToFile = true;
            return true;
        }
        return OpenPrinterDc(answer, dc, device, port);
    }

    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.Flags |= offerSelection ? PD_SELECTION : PD_NOSELECTION;
    if (!PrintDlgA(&dialog)) return false;
    if (dialog.hDevNames) {
        if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
            device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
            port = reinterpret_cast<const char*>(names) + names->wOutputOffset;
            GlobalUnlock(dialog.hDevNames);
        }
        GlobalFree(dialog.hDevNames);
    }
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    selection = offerSelection && (dialog.Flags & PD_SELECTION) != 0;
    if (dialog.Flags & PD_PRINTTOFILE) {
        printToFile = true;
        if (dialog.hDC) DeleteDC(dialog.hDC);
        return true;
    }
    dc = dialog.hDC;
    return dc != nullptr;
}
