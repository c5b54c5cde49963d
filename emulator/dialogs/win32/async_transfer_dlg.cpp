#include "dialogs/win32/async_transfer_dlg.h"

#include "dialogs/win32/protocol_settings_dlgs.h"
#include "resource_ids.h"

CAsyncTransferDlg::CAsyncTransferDlg(SettingsRecord& rec, HWND owner) : FwDialog(IDD_ASYNC_TRANSFER, owner), rec_(rec)
{
    for (int id = IDC_ASYNC_KERMIT; id <= IDC_ASYNC_ZMODEM; ++id) OnCommand(id, [this] { RefreshSettingsButton(); });
    OnCommand(IDC_ASYNC_PROTOCOL_SETTINGS, [this] {
        if (EditProtocolSettings(ChosenProtocol(), rec_, Handle())) protocolSettingsChanged = true;
    });
}

void CAsyncTransferDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Radio(dx, IDC_ASYNC_KERMIT, values.protocol);
    DDX_Text(dx, IDC_ASYNC_DIRECTORY, values.directory);
    DDV_MaxChars(dx, values.directory, kTransferDirectoryLimit);
    DDX_Check(dx, IDC_ASYNC_AUTODETECT, values.autoDetect);
    DDX_Check(dx, IDC_ASYNC_ACL_CODES, values.aclCodes);
    DDX_Check(dx, IDC_ASYNC_CONFIRM_ERRORS, values.confirmErrors);
}

bool CAsyncTransferDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    RefreshSettingsButton();
    return true;
}

int CAsyncTransferDlg::ChosenProtocol() const
{
    for (int id = IDC_ASYNC_KERMIT; id <= IDC_ASYNC_ZMODEM; ++id)
        if (IsDlgButtonChecked(Handle(), id) == BST_CHECKED) return id - IDC_ASYNC_KERMIT;
    return -1;
}

void CAsyncTransferDlg::RefreshSettingsButton()
{
    const ProtocolSettingsButton button = ProtocolSettingsButtonFor(ChosenProtocol(), rec_);
    SetItemText(IDC_ASYNC_PROTOCOL_SETTINGS, button.text);
    EnableItem(IDC_ASYNC_PROTOCOL_SETTINGS, button.enabled);
}

AsyncTransferResult EditAsyncTransferSettings(SettingsRecord& rec, std::string& directory, HWND owner)
{
    CAsyncTransferDlg dialog(rec, owner);
    dialog.values = AsyncValuesFrom(rec, directory);
    const bool ok = dialog.DoModal() == IDOK;
    if (ok) StoreAsyncValues(dialog.values, rec, directory);
    return {ok, ok || dialog.protocolSettingsChanged};
}
