// The network install's "Parameters" dialog: host, user and password of the host, the local
// archive (with Browse) and its remote name, proposed from the local name when that changes.
#pragma once

#include <windows.h>

#include <string>

#include "fw_dialog.h"

class FtpInstallDialog : public FwDialog {
public:
    explicit FtpInstallDialog(HWND owner);

    std::string host, user, password, localFile, remoteFile;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void ProposeRemote(const std::string& local);
    void Browse();
    bool localModified_ = false;
};
