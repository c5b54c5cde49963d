#include "dialogs/win32/first_time_setup_dlg.h"

#include "dialogs/win32/settings_lists.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"

CFirstTimeSetupDlg::CFirstTimeSetupDlg(HWND owner, const SettingsRecord& rec)
    : FwDialog(IDD_FIRST_TIME_SETUP, owner), values(FirstTimeValuesFrom(rec)), rec_(rec)
{
    OnCommand(IDC_FIRST_FAMILY_3270, [this] {
        values.family3270 = IsDlgButtonChecked(Handle(), IDC_FIRST_FAMILY_3270) == BST_CHECKED;
        FillLists();
    });
}

void CFirstTimeSetupDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_ListValue(dx, IDC_FIRST_PLATFORM, values.platform);
    DDX_ListValue(dx, IDC_TERM_EMULATION, values.terminal);
    DDX_ListValue(dx, IDC_TERM_CHARSET, values.charset);
    DDX_Check(dx, IDC_FIRST_FAMILY_3270, values.family3270);
}

bool CFirstTimeSetupDlg::OnInitDialog()
{
    CenterWindow();
    FillLists();
    return FwDialog::OnInitDialog();
}

void CFirstTimeSetupDlg::FillLists()
{
    const FirstTimeLists lists = FirstTimeListsFor(values.family3270 != 0, rec_);
    FillSettingsList(GetDlgItem(IDC_FIRST_PLATFORM), *lists.platform.table, lists.platform.selected);
    FillSettingsList(GetDlgItem(IDC_TERM_EMULATION), *lists.terminal.table, lists.terminal.selected);
    FillSettingsList(GetDlgItem(IDC_TERM_CHARSET), *lists.charset.table, lists.charset.selected);
    values.platform = lists.platform.selected;
    values.terminal = lists.terminal.selected;
    values.charset = lists.charset.selected;
}
