#include "start_transfer_dlg.h"

#include <string>

#include "async_transfer_dlg.h"
#include "dialogs/start_transfer_checks.h"
#include "dialogs/transfer_protocol_settings.h"
#include "fw_file_dialog.h"
#include "resource_ids.h"
#include "shell/messages.h"
#include "shell/session_document.h"
#include "win32_file_probe.h"

namespace {

constexpr const char* kBrowseFilter = "All Files (*.*) |*.*|Text Files (*.txt; *.text)|*.txt;*.text||";

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder) : std::string();
}

}  // namespace

CStartTransferDlg::CStartTransferDlg(SettingsRecord& rec, HWND owner) : FwDialog(IDD_START_TRANSFER, owner), rec_(rec)
{
    OnCommand(IDC_XFER_SEND_BROWSE, [this] { Browse(true); });
    OnCommand(IDC_XFER_RECEIVE_BROWSE, [this] { Browse(false); });
    for (int code : {IDC_XFER_SEND, IDC_XFER_RECEIVE, IDC_XFER_GET, IDC_XFER_FINISH_SERVER, IDC_XFER_ABORT})
        OnCommand(code, [this, code] { EndIfAccepted(code); });
    OnCommand(IDC_XFER_SETTINGS, [this] { ProtocolSettings(); });
}

void CStartTransferDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_XFER_SEND_FILE, sendPath);
    DDX_Text(dx, IDC_XFER_RECEIVE_FILE, receivePath);
    DDX_Check(dx, IDC_XFER_TRACE, debugLog);
    DDX_Text(dx, IDC_XFER_REMOTE_FILE, remoteFile);
}

bool CStartTransferDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    startFolder_ = CurrentFolder();
    if (startFolder_.empty()) {
        const std::string text = std::string(MessageText(46)) + std::to_string(GetLastError());
        FwMessageBox(Handle(), text, MB_OK | MB_ICONSTOP);
    }
    Refresh();
    return true;
}

void CStartTransferDlg::OnDestroy()
{
    if (!directory.empty() && !startFolder_.empty()) SetCurrentDirectoryA(startFolder_.c_str());
}

void CStartTransferDlg::Refresh()
{
    const StartTransferButtons shown =
        StartTransferButtonsFor(rec_.AProtocol, rec_.TransferActive != 0, rec_.AllowCfg != 0, rec_.LockAsyncFileTransfer != 0);
    for (int id : {IDC_XFER_GET, IDC_XFER_REMOTE_FILE, IDC_XFER_REMOTE_LABEL, IDC_XFER_REMOTE_FRAME})
        ShowItem(id, shown.kermitOnly);
    ShowItem(IDC_XFER_FINISH_SERVER, shown.finishServer);
    ShowItem(IDC_XFER_ABORT, shown.abort);
    ShowItem(IDC_XFER_SETTINGS, shown.settings);
    if (directory.empty()) {
        if (!startFolder_.empty()) SetCurrentDirectoryA(startFolder_.c_str());
        SetItemText(IDC_XFER_DIRECTORY, CurrentFolder());
    } else {
        SetItemText(IDC_XFER_DIRECTORY, directory);
        SetCurrentDirectoryA(directory.c_str());
    }
    SetCaption(StartTransferCaption(rec_.AProtocol));
}

void CStartTransferDlg::Browse(bool send)
{
    FwFileDialog dialog;
    dialog.fileName = send ? sendName : receiveName;
    dialog.filter = kBrowseFilter;
    dialog.flags = send ? OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT : OFN_OVERWRITEPROMPT;
    if (!dialog.DoModal(Handle())) return;
    (send ? sendPath : receivePath) = dialog.fileName;
    (send ? sendName : receiveName) = dialog.fileTitle;
    SetItemText(send ? IDC_XFER_SEND_FILE : IDC_XFER_RECEIVE_FILE, dialog.fileName);
}

void CStartTransferDlg::EndIfAccepted(int code)
{
    if (!UpdateData(true)) return;
    Win32FileProbe probe;
    TransferFileCheck check;
    if (code == IDC_XFER_SEND) check = CheckSendFile(sendPath, probe);
    else if (code == IDC_XFER_RECEIVE) check = CheckReceiveFile(receivePath, rec_.AProtocol, probe);
    else if (code == IDC_XFER_GET) check = CheckRemoteFile(remoteFile);
    if (check.kind == TransferFileCheck::kRefuse) {
        FwMessageBox(Handle(), check.message, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (check.kind == TransferFileCheck::kConfirm &&
        FwMessageBox(Handle(), check.message, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EndDialog(code);
}

void CStartTransferDlg::ProtocolSettings()
{
    UpdateData(true);  // what was typed stays when the controls are loaded again
    if (!EditAsyncTransferSettings(rec_, directory, Handle()).ok) return;
    UpdateData(false);
    settingsChanged = true;
    Refresh();
}

int RunStartTransferDialog(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    DocumentStrings& s = doc.strings;
    CStartTransferDlg dialog(rec, owner);
    dialog.sendPath = s.TransferSendFiles;
    dialog.receivePath = s.TransferReceiveFile;
    dialog.sendName = s.TransferSendName;
    dialog.receiveName = s.TransferReceiveName;
    dialog.remoteFile = s.TransferRemoteFile;
    dialog.directory = s.AxDirectory;
    dialog.debugLog = rec.TransferDebugLog;
    const int code = dialog.DoModal();
    if (dialog.settingsChanged) doc.SetModifiedFlag(true);
    switch (code) {
    case IDOK:
    case IDC_XFER_SEND:
    case IDC_XFER_RECEIVE:
    case IDC_XFER_GET:
        s.TransferSendFiles = dialog.sendPath;
        s.TransferReceiveFile = dialog.receivePath;
        s.TransferSendName = dialog.sendName;
        s.TransferReceiveName = dialog.receiveName;
        s.TransferRemoteFile = dialog.remoteFile;
        s.AxDirectory = dialog.directory;
        rec.TransferDebugLog = dialog.debugLog;
        break;
    case IDC_XFER_ABORT:
        if (rec.TransferActive) rec.TransferAbortRequested = 1;
        break;
    default: break;
    }
    return code;
}
