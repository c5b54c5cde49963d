// Start Async Filetransfer: the files to send and to receive into, the remote file of a Kermit
// Get, the debug-log switch, and the buttons that end the dialog with a transfer operation
// (Send 3211, Receive 3210, Get 3214, Finish Kermit Server 3275) or Abort transfer (3215).
// While the dialog is open the working folder of transfers is the current folder, so that the
// browse dialogs start there; the folder that was current comes back when it closes.
#pragma once

#include <string>

#include "fw_dialog.h"
#include "session/session_record.h"

struct StartTransferFields;

class CStartTransferDlg : public FwDialog {
public:
    CStartTransferDlg(SettingsRecord& rec, HWND owner, bool transferRunning);

    std::string sendPath, receivePath, sendName, receiveName, remoteFile, directory;
    int debugLog = 0;
    // Protocol && Settings was confirmed while the dialog ran.
    bool settingsChanged = false;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    void Refresh();
    void Browse(bool send);
    void EndIfAccepted(int code);
    void ProtocolSettings();

    SettingsRecord& rec_;
    bool transferRunning_;
    std::string startFolder_;
};

// Runs the dialog on the settings of `rec` (protocol, configuration locks): the fields go in, and
// come back for OK, Send, Receive and Get; fields.settingsChanged tells whether Protocol &&
// Settings stored new settings meanwhile. The file names without folder that the browse dialogs
// start from are remembered from one run to the next. Returns the end code.
// (RunStartTransferDialog of transfer_dialog_calls.h runs it on the session record.)
int StartTransferDialog(SettingsRecord& rec, HWND owner, StartTransferFields& fields, bool transferRunning);
