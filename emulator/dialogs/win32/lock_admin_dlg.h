// "Lock administration": 27 padlocks, "Lock all" and "Open all" for the settings pages, and the
// administrator password, whose change must be typed a second time. LockSettingsCommand
// (shell/win32/session_settings_commands.h) asks for the password before, and stores after.
#pragma once

#include <array>
#include <string>

#include "dialogs/lock_admin_values.h"
#include "fw_bitmap_button.h"
#include "fw_dialog.h"

class CLockAdminDlg : public FwDialog {
public:
    // `rec` gives AllowCfg and AllowDOS, which lock flags at the start.
    CLockAdminDlg(HWND owner, const SettingsRecord& rec, const LockAdminValues& values);
    LockAdminValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void Toggle(int flag);
    void SetGroup(bool locked);
    void Redraw(int flag);
    // The password field against the password that stands: a change is typed again; a different
    // re-entry (message) or a cancelled one puts the standing password back. False then.
    bool ConfirmPassword();

    const SettingsRecord& rec_;
    std::array<FwBitmapButton, kLockFlagCount> buttons_;
    std::string previous_;  // the password that stands
    bool confirming_ = false;
    bool ending_ = false;  // no re-entry once Cancel ends the dialog
};
