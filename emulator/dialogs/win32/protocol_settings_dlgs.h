// The settings dialogs of the three transfer protocols: Kermit, X/Y-Modem and Z-Modem. Each edits
// its values and puts the reset values in with Reset to defaults.
#pragma once

#include "dialogs/transfer_protocol_settings.h"
#include "fw_dialog.h"

class CKermitSettingsDlg : public FwDialog {
public:
    explicit CKermitSettingsDlg(HWND owner);
    KermitSettingsValues values{};

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CXYModemSettingsDlg : public FwDialog {
public:
    explicit CXYModemSettingsDlg(HWND owner);
    XYModemSettingsValues values{};

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CZModemSettingsDlg : public FwDialog {
public:
    explicit CZModemSettingsDlg(HWND owner);
    ZModemSettingsValues values{};

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

// Each runs its dialog on the session record's settings and stores them on OK; true after OK.
bool EditKermitSettings(SettingsRecord& rec, HWND owner);
bool EditXYModemSettings(SettingsRecord& rec, HWND owner);
bool EditZModemSettings(SettingsRecord& rec, HWND owner);
// The dialog of a protocol index: Kermit, X/Y-Modem for 1 to 4, Z-Modem.
bool EditProtocolSettings(int protocol, SettingsRecord& rec, HWND owner);
