// DDE Settings: the [DDE] settings of the session's DDE server and DDE client. The dialog only
// exchanges its members with the controls; DdeSettingsCommand (shell/win32/transfer_settings_commands.h)
// copies the settings in and back.
#pragma once

#include "dialogs/dde_settings_values.h"
#include "fw_dialog.h"

class CDdeSettingsDlg : public FwDialog {
public:
    explicit CDdeSettingsDlg(HWND owner);
    DdeSettingsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};
