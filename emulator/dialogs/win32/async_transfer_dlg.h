// General Async Transfer: the protocol, the working folder of transfers, auto-detection of host
// sends, ACL completion codes and error confirmation; its Protocol Settings button opens the
// chosen protocol's settings dialog, which stores into the session record at once.
#pragma once

#include "dialogs/transfer_protocol_settings.h"
#include "fw_dialog.h"

class CAsyncTransferDlg : public FwDialog {
public:
    CAsyncTransferDlg(SettingsRecord& rec, HWND owner);

    AsyncTransferValues values;
    // A protocol settings dialog was confirmed while this dialog ran.
    bool protocolSettingsChanged = false;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    int ChosenProtocol() const;
    void RefreshSettingsButton();

    SettingsRecord& rec_;
};

// Copies the settings in, runs the dialog and stores them on OK. The result tells what changed:
// stored on OK, or settings of a protocol stored meanwhile (the document is modified either way).
struct AsyncTransferResult {
    bool ok;
    bool changed;
};
AsyncTransferResult EditAsyncTransferSettings(SettingsRecord& rec, std::string& directory, HWND owner);
