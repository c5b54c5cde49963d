// General settings (dialog 111): the values of [TolviFTP] for all sites.
#pragma once

#include "fw_dialog.h"
#include "general_settings.h"

class FtpGeneralDialog : public FwDialog {
public:
    FtpGeneralDialog(HWND owner, const FtpGeneralSettings& settings);
    FtpGeneralSettings settings;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
};
