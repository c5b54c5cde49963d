#include "dialogs/win32/history_rows_dialog.h"

#include "dialogs/history_rows_dialog.h"
#include "view_dialog_ids.h"

CHistoryRowsDlg::CHistoryRowsDlg(HWND owner) : FwDialog(IDD_HISTORY_ROWS, owner) {}

void CHistoryRowsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_HISTORY_ROWS, rows);
    DDV_MinMaxInt(dx, rows, kHistoryRowsMin, kHistoryRowsMax);
}

bool CHistoryRowsDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    SetItemText(IDC_HISTORY_ROWS_NOTE, kHistoryRowsNote);
    CenterWindow();
    return true;
}
