// The Start Async Filetransfer dialog (CStartTransferDlg, dialog 132) as the view's "Send / recv
// file with Kermit protocol" command opens it; the dialog itself lives in
// emulator/dialogs/win32/start_transfer_dlg.cpp.
#pragma once

#include <windows.h>

#include <string>

struct StartTransferFields {
    std::string sendPath;       // TransferSendFiles
    std::string receivePath;    // TransferReceiveFile
    std::string remoteFile;     // TransferRemoteFile (Kermit Get)
    std::string workingDirectory;  // AxDirectory
    bool traceFile = false;     // TransferDebugLog
    bool settingsChanged = false;  // Protocol && Settings was confirmed
};

// Runs the dialog modally; the end code: 1 OK, 2 Cancel, 3210 Receive, 3211 Send, 3214 Get,
// 3215 Abort transfer (only while one runs), 3275 Finish Kermit Server.
int RunStartTransferDialog(HWND parent, StartTransferFields& fields, bool transferRunning);
