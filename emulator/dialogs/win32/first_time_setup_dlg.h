// "Tolvi - First time setup" (dialog 142), shown once for a new configuration: the platform, the
// terminal and the character set, by terminal family. RunFirstTimeSetup
// (shell/win32/terminal_settings_commands.h) stores the choice.
#pragma once

#include "dialogs/first_time_setup_values.h"
#include "fw_dialog.h"

class CFirstTimeSetupDlg : public FwDialog {
public:
    // `rec` gives the selections of the lists of each family.
    CFirstTimeSetupDlg(HWND owner, const SettingsRecord& rec);
    FirstTimeSetupValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void FillLists();

    const SettingsRecord& rec_;
};
