// "General Settings" (dialog 101): connection type, serial line, LAN, host name, Telnet port,
// platform, country, language and the 3270/5250 family. The dialog works on
// GeneralSettingsValues; GeneralSettingsCommand (shell/win32/terminal_settings_commands.h) copies
// the session's settings in and stores them on OK.
#pragma once

#include "dialogs/general_settings_values.h"
#include "fw_dialog.h"

class CGeneralSettingsDlg : public FwDialog {
public:
    // While `connected` the connection type, the port and the adapter cannot be changed, the
    // family box not switched and the host name is read-only.
    CGeneralSettingsDlg(HWND owner, const GeneralSettingsValues& values, bool connected);
    GeneralSettingsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    int CheckedComType() const;
    void ApplyEnablingRule();
    void FamilyClicked();
    void Refuse(int message);

    bool connected_;
};
