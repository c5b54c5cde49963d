#include "dialogs/win32/lock_admin_dlg.h"

#include "dialogs/win32/keyin_dlg.h"
#include "fw_list_fill_win32.h"
#include "session_dialog_ids.h"

CLockAdminDlg::CLockAdminDlg(HWND owner, const SettingsRecord& rec, const LockAdminValues& values)
    : FwDialog(IDD_LOCK_ADMIN, owner), values(values), rec_(rec), previous_(values.password)
{
    for (int flag = 0; flag < kLockFlagCount; ++flag) OnCommand(kLockButtonIds[flag], [this, flag] { Toggle(flag); });
    OnCommand(IDC_LOCK_ALL, [this] { SetGroup(true); });
    OnCommand(IDC_OPEN_ALL, [this] { SetGroup(false); });
    OnCommand(IDC_LOCK_PASSWORD, [this] {
        if (!confirming_) previous_ = GetItemText(IDC_LOCK_PASSWORD);
    }, EN_SETFOCUS);
    OnCommand(IDC_LOCK_PASSWORD, [this] { ConfirmPassword(); }, EN_KILLFOCUS);
}

void CLockAdminDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_LOCK_PASSWORD, values.password);
    DDV_MaxChars(dx, values.password, kLockPasswordLimit);
}

bool CLockAdminDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    for (int flag = 0; flag < kLockFlagCount; ++flag) buttons_[flag].Attach(Handle(), kLockButtonIds[flag]);
    ApplyStartLocks(values, rec_);
    for (int flag = 0; flag < kLockFlagCount; ++flag) Redraw(flag);
    SendMessageA(GetDlgItem(IDC_LOCK_PASSWORD), EM_LIMITTEXT, kLockPasswordLimit, 0);
    CenterWindow();
    return true;
}

void CLockAdminDlg::OnOK()
{
    if (!ConfirmPassword()) return;  // the dialog stays open with the standing password
    FwDialog::OnOK();
}

void CLockAdminDlg::OnCancel()
{
    ending_ = true;
    FwDialog::OnCancel();
}

void CLockAdminDlg::Toggle(int flag)
{
    values.flags[flag] = !values.flags[flag];
    Redraw(flag);
}

void CLockAdminDlg::SetGroup(bool locked)
{
    SetGroupLocks(values, locked);
    for (int flag = 0; flag < kLockFlagCount; ++flag) Redraw(flag);
}

// A locked flag shows the shut padlock.
void CLockAdminDlg::Redraw(int flag) { buttons_[flag].SetPressed(values.flags[flag] != 0); }

bool CLockAdminDlg::ConfirmPassword()
{
    if (confirming_ || ending_) return true;
    const std::string typed = GetItemText(IDC_LOCK_PASSWORD);
    if (typed == previous_) return true;
    confirming_ = true;
    std::string again;
    const bool answered = AskPassword(Handle(), FwLoadString(IDS_LOCK_REENTER_PASSWORD), again);
    bool confirmed = answered && again == typed;
    if (answered && !confirmed) FwMessageBox(Handle(), FwLoadString(IDS_LOCK_PASSWORDS_DIFFER), MB_OK | MB_ICONSTOP);
    if (confirmed) {
        previous_ = typed;
    } else {
        SetItemText(IDC_LOCK_PASSWORD, previous_);
    }
    values.password = previous_;
    confirming_ = false;
    return confirmed;
}
