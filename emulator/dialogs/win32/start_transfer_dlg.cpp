#include "dialogs/win32/start_transfer_dlg.h"

#include <string>

#include "dialogs/win32/async_transfer_dlg.h"
#include "dialogs/start_transfer_checks.h"
#include "dialogs/transfer_protocol_settings.h"
#include "fw_file_dialog.h"
#include "resource_ids.h"
#include "session/messages.h"
#include "dialogs/win32/transfer_dialog_calls.h"
#include "dialogs/win32/win32_file_probe.h"

namespace {

// The names without folder of the last files chosen, where the browse dialogs start.
std::string rememberedSendName, rememberedReceiveName;

constexpr const char* kBrowseFilter = "All Files (*.*) |*.*|Text Files (*.txt; *.text)|*.txt;*.text||";

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder) : std::string();
}

}  // namespace

CStartTransferDlg::CStartTransferDlg(SettingsRecord& rec, HWND owner, bool transferRunning)
    : FwDialog(IDD_START_TRANSFER, owner), rec_(rec), transferRunning_(transferRunning)
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
        StartTransferButtonsFor(rec_.AProtocol, transferRunning_, rec_.AllowCfg != 0, rec_.LockAsyncFileTransfer != 0);
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

int StartTransferDialog(SettingsRecord& rec, HWND owner, StartTransferFields& fields, bool transferRunning)
{
    CStartTransferDlg dialog(rec, owner, transferRunning);
    dialog.sendPath = fields.sendPath;
    dialog.receivePath = fields.receivePath;
    dialog.sendName = rememberedSendName;
    dialog.receiveName = rememberedReceiveName;
    dialog.remoteFile = fields.remoteFile;
    dialog.directory = fields.workingDirectory;
    dialog.debugLog = fields.traceFile ? 1 : 0;
    const int code = dialog.DoModal();
    fields.settingsChanged = dialog.settingsChanged;
    if (code == IDOK || code == IDC_XFER_SEND || code == IDC_XFER_RECEIVE || code == IDC_XFER_GET) {
        fields.sendPath = dialog.sendPath;
        fields.receivePath = dialog.receivePath;
        rememberedSendName = dialog.sendName;
        rememberedReceiveName = dialog.receiveName;
        fields.remoteFile = dialog.remoteFile;
        fields.workingDirectory = dialog.directory;
        fields.traceFile = dialog.debugLog != 0;
    }
    return code;
}

int RunStartTransferDialog(HWND parent, StartTransferFields& fields, bool transferRunning)
{
    return StartTransferDialog(*Rec, parent, fields, transferRunning);
}
