#include "dialogs/win32/title_dialog.h"

#include "dialogs/title_dialog.h"
#include "view_dialog_ids.h"

CTitleDlg::CTitleDlg(HWND owner) : FwDialog(IDD_WINDOW_TITLE, owner) {}

void CTitleDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_WINDOW_TITLE, title);
    DDV_MaxChars(dx, title, kTitleTextLimit);
}

bool CTitleDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}
