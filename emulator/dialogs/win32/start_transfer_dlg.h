// Start Async Filetransfer: the files to send and to receive into, the remote file of a Kermit
// Get, the debug-log switch, and the buttons that end the dialog with a transfer operation
// (Send 3211, Receive 3210, Get 3214, Finish Kermit Server 3275) or Abort transfer (3215).
// While the dialog is open the working folder of transfers is the current folder, so that the
// browse dialogs start there; the folder that was current comes back when it closes.
#pragma once

#include <string>

#include "fw_dialog.h"
#include "shell/session_record.h"

class CZolexDoc;

class CStartTransferDlg : public FwDialog {
public:
    CStartTransferDlg(SettingsRecord& rec, HWND owner);

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
    std::string startFolder_;
};

// The dialog of the "Send / recv file with Kermit protocol" command: fills it from the document's
// transfer strings and TransferDebugLog, runs it and copies the values back for OK, Send, Receive
// and Get; Abort transfer sets TransferAbortRequested while a transfer runs. A change through
// Protocol && Settings marks the document modified. Returns the dialog's end code; the caller
// runs the transfer for 3211, 3210, 3214 and 3275.
int RunStartTransferDialog(CZolexDoc& doc, HWND owner);
