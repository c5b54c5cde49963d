#include "dialogs/win32/terminal_printers_dlg.h"

#include <string>

#include "resource_ids.h"
#include "session/document_strings.h"

namespace {

constexpr int kNameIds[kTerminalPrinters] = {IDC_PRINTER1_NAME, IDC_PRINTER2_NAME, IDC_PRINTER3_NAME};
constexpr int kCharsetIds[kTerminalPrinters] = {IDC_PRINTER1_RAW, IDC_PRINTER2_RAW, IDC_PRINTER3_RAW};
constexpr int kDelayIds[kTerminalPrinters] = {IDC_PRINTER1_DELAY, IDC_PRINTER2_DELAY, IDC_PRINTER3_DELAY};

// A profile string of the "devices" section read whole: the buffer grows while the text fills it.
// A null key gives the keys, each ended by a NUL.
std::string DevicesProfileText(const char* key, bool& found)
{
    for (DWORD size = 1024;; size *= 2) {
        std::string text(size, '\0');
        const DWORD length = GetProfileStringA("devices", key, "\x01", &text[0], size);
        const DWORD full = key ? size - 1 : size - 2;
        if (length < full || size >= (1u << 24)) {
            text.resize(length);
            found = text != "\x01";
            return found ? text : std::string();
        }
    }
}

}  // namespace

std::vector<PrinterDevice> ReadPrinterDevices()
{
    bool found = false;
    const std::string keys = DevicesProfileText(nullptr, found);
    std::vector<PrinterDevice> devices;
    for (std::size_t at = 0; at < keys.size();) {
        const std::size_t end = keys.find('\0', at);
        const std::string device = keys.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? keys.size() : end + 1;
        if (device.empty()) continue;
        bool hasValue = false;
        const std::string value = DevicesProfileText(device.c_str(), hasValue);
        devices.emplace_back(device, hasValue ? std::optional<std::string>(value) : std::nullopt);
    }
    return devices;
}

CTerminalPrintersDlg::CTerminalPrintersDlg(HWND owner) : CenteredSettingsDialog(IDD_TERMINAL_PRINTERS, owner) {}

void CTerminalPrintersDlg::DoDataExchange(FwDataExchange& dx)
{
    for (int i = 0; i < kTerminalPrinters; ++i) {
        // The combo box's text is its edit part: what was picked or typed.
        DDX_Text(dx, kNameIds[i], values.name[i]);
        DDV_MaxChars(dx, values.name[i], kDocumentStringLimit);
        DDX_Radio(dx, kCharsetIds[i], values.charset[i]);
        DDX_RangedInt(dx, kDelayIds[i], values.delaySpool[i], 0, kDelaySpoolMax);
    }
}

bool CTerminalPrintersDlg::OnInitDialog()
{
    const std::vector<PrinterDevice> devices = ReadPrinterDevices();
    for (int i = 0; i < kTerminalPrinters; ++i) {
        HWND list = GetDlgItem(kNameIds[i]);
        SendMessageA(list, CB_LIMITTEXT, kDocumentStringLimit, 0);
        for (const std::string& name : PrinterNameChoices(values.name[i], kDefaultPrinterName, devices))
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    return CenteredSettingsDialog::OnInitDialog();
}
