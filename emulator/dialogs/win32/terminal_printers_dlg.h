// "Terminal Printers" (130): the name, character set and spool delay of the three printers that
// host printing uses. The name lists offer the default printer, the current name and every
// device of the system's "devices" profile section; a name can also be typed (a port or a file).
#pragma once

#include <vector>

#include "dialogs/terminal_printer_values.h"
#include "dialogs/win32/settings_dialog.h"

// Every entry of the "devices" section of the user's profile (WIN.INI), each read whole.
std::vector<PrinterDevice> ReadPrinterDevices();

class CTerminalPrintersDlg : public CenteredSettingsDialog {
public:
    explicit CTerminalPrintersDlg(HWND owner);
    TerminalPrinterValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    // Fills the name lists before the values are loaded.
    bool OnInitDialog() override;
};
