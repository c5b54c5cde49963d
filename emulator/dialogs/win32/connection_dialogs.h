// The small connection dialogs: "Modem commands" (114), "Phone number" (112), "Mouse" (607) and
// "USER NAME" (118). Each exchanges its values with the controls only; the commands in
// shell/win32/preference_commands.h copy the settings in and back, and the session automation
// asks for the user name when %pluser% finds none.
#pragma once

#include <string>

#include "dialogs/connection_dialog_values.h"
#include "dialogs/win32/settings_dialog.h"

class CModemDlg : public CenteredSettingsDialog {
public:
    explicit CModemDlg(HWND owner);
    ModemValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CPhoneNumberDlg : public CenteredSettingsDialog {
public:
    explicit CPhoneNumberDlg(HWND owner);
    PhoneValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CMouseDlg : public CenteredSettingsDialog {
public:
    explicit CMouseDlg(HWND owner);
    MouseValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

// The user name the session automation keeps: at most this many characters.
constexpr std::size_t kUserNameLimit = 8;

class CUserNameDlg : public FwDialog {
public:
    explicit CUserNameDlg(HWND owner);
    std::string name;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    // The focus goes to the name field.
    bool OnInitDialog() override;
};
