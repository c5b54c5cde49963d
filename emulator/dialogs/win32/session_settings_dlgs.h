// The small session settings dialogs: Automatic Login, the host environment table, the
// file-transfer command, Multimedia, and the host name asked for before a connection. Each only
// exchanges its values with the controls and checks their lengths and ranges; the commands that
// open them (shell/win32/session_settings_commands.h) copy the settings in and back.
#pragma once

#include <string>

#include "dialogs/session_settings_values.h"
#include "fw_dialog.h"

// What the five share: the framework's start, then centred over the owner.
class CCenteredDialog : public FwDialog {
public:
    using FwDialog::FwDialog;

protected:
    bool OnInitDialog() override;
};

class CAutoLoginDlg : public CCenteredDialog {
public:
    explicit CAutoLoginDlg(HWND owner);
    AutoLoginValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CHostEnvDlg : public CCenteredDialog {
public:
    explicit CHostEnvDlg(HWND owner);
    HostEnvValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CFileTransferCmdDlg : public CCenteredDialog {
public:
    explicit CFileTransferCmdDlg(HWND owner);
    FileTransferCmdValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

class CMultimediaDlg : public CCenteredDialog {
public:
    explicit CMultimediaDlg(HWND owner);
    MultimediaValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};

// "Host Name": at most 60 characters; a longer name is refused, not cut.
class CHostNameDlg : public CCenteredDialog {
public:
    explicit CHostNameDlg(HWND owner);
    std::string host;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};
