// "Terminal Configuration" (dialog 601, the character-cell emulations) and "3270 Terminal
// Configuration" (dialog 611, in 3270 mode): the emulation and its screen. The dialogs work on
// their values; TerminalEmulationCommand (shell/win32/terminal_settings_commands.h) copies the
// session's settings in and stores them on OK.
#pragma once

#include "dialogs/terminal_settings_values.h"
#include "fw_dialog.h"

class CTerminalSettingsDlg : public FwDialog {
public:
    CTerminalSettingsDlg(HWND owner, const TerminalSettingsValues& values);
    TerminalSettingsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    // The rows follow a newly chosen emulation; a rows choice made after it stands until another
    // emulation is chosen.
    void ApplyRowsRule();

    long ruledEmulation_;
};

class CTerm3270ConfigDlg : public FwDialog {
public:
    CTerm3270ConfigDlg(HWND owner, const Terminal3270Values& values);
    Terminal3270Values values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};
