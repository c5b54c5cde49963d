#include "dialogs/win32/copy_table_dialog.h"

#include "view_dialog_ids.h"

CCopyTableDlg::CCopyTableDlg(HWND owner) : FwDialog(IDD_COPY_TABLE, owner)
{
    OnCommand(IDC_TABLE_SPREADSHEET, [this] { ShowPreset(SpreadsheetPreset()); });
    OnCommand(IDC_TABLE_CPP, [this] { ShowPreset(CPlusPlusPreset()); });
}

void CCopyTableDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_TABLE_SEPARATOR, values.separator);
    DDV_MaxChars(dx, values.separator, kTableSeparatorLimit);
    DDX_Check(dx, IDC_TABLE_REMOVE_LEADING, values.removeLeading);
    DDX_Check(dx, IDC_TABLE_REMOVE_TRAILING, values.removeTrailing);
    DDX_Radio(dx, IDC_TABLE_END_CRLF, values.lineEnd);
    DDX_Radio(dx, IDC_TABLE_SINGLE_BEFORE, values.singleSpace);
}

bool CCopyTableDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}

void CCopyTableDlg::ShowPreset(const CopyTableSettings& preset)
{
    values = preset;
    UpdateData(false);
}
