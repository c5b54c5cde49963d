#include "dialogs/win32/pick_string_dlg.h"

#include "dialogs/pick_string_values.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"

CPickStringDlg::CPickStringDlg(HWND owner, const KeyMap* keyMap, const KeyDefTable* keyDefs)
    : FwDialog(IDD_PICK_STRING, owner), keyMap_(keyMap), keyDefs_(keyDefs)
{
    OnCommand(IDC_PICK_LIST, [this] { TakeSelection(); }, LBN_SELCHANGE);
    OnCommand(IDC_PICK_LIST, [this] {
        TakeSelection();
        OnOK();
    }, LBN_DBLCLK);
}

bool CPickStringDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    HWND list = GetDlgItem(IDC_PICK_LIST);
    for (const std::string& name : PickStringChoices(keyMap_, keyDefs_, pcKeys))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    return true;
}

void CPickStringDlg::TakeSelection()
{
    HWND list = GetDlgItem(IDC_PICK_LIST);
    const int selected = FwListCurSel(list);
    picked = selected >= 0 ? FwListItemText(list, selected) : std::string();
}
