#include "dialogs/win32/terminal_settings_dlgs.h"

#include "dialogs/settings_value_tables.h"
#include "dialogs/win32/settings_lists.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"

namespace {

void HistoryRows(FwDataExchange& dx, int& rows)
{
    DDX_Text(dx, IDC_TERM_HISTORY_ROWS, rows);
    DDV_MinMaxInt(dx, rows, 0, kHistoryRowsMax);
}

}  // namespace

CTerminalSettingsDlg::CTerminalSettingsDlg(HWND owner, const TerminalSettingsValues& initial)
    : FwDialog(IDD_TERMINAL_SETTINGS, owner), values(initial), ruledEmulation_(initial.terminal)
{
    OnCommand(IDC_TERM_EMULATION, [this] { ApplyRowsRule(); }, CBN_SELCHANGE);
    OnCommand(IDC_TERM_EMULATION, [this] { ApplyRowsRule(); }, CBN_KILLFOCUS);
}

void CTerminalSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_ListValue(dx, IDC_TERM_EMULATION, values.terminal);
    DDX_ListValue(dx, IDC_TERM_CHARSET, values.charset);
    DDX_Radio(dx, IDC_TERM_7BIT, values.controlChar);
    DDX_Radio(dx, IDC_TERM_DECCNM_YES, values.decCnm);
    DDX_Radio(dx, IDC_TERM_CURSOR_BLOCK, values.cursorStyle);
    DDX_Check(dx, IDC_TERM_NEW_LINE, values.newLine);
    DDX_Check(dx, IDC_TERM_LOCAL_ECHO, values.localEcho);
    DDX_Radio(dx, IDC_TERM_COLS_80, values.columns);
    DDX_Radio(dx, IDC_TERM_ROWS_24, values.rows);
    DDX_Check(dx, IDC_TERM_AUTOWRAP, values.autoWrap);
    DDX_Text(dx, IDC_TERM_ANSWERBACK, values.answerBack);
    DDV_MaxChars(dx, values.answerBack, kAnswerBackLimit);
    HistoryRows(dx, values.historyRows);
    DDX_Text(dx, IDC_TERM_TABS, values.tabs);
    DDV_MaxChars(dx, values.tabs, kTabsLimit);
    DDX_Check(dx, IDC_TERM_UPDATE_HIDDEN, values.updateHiddenHistory);
    DDX_Check(dx, IDC_TERM_PROTECTED_REVERSED, values.protectedReversed);
}

bool CTerminalSettingsDlg::OnInitDialog()
{
    CenterWindow();
    FillSettingsList(GetDlgItem(IDC_TERM_EMULATION), kEmulationTable, values.terminal);
    FillSettingsList(GetDlgItem(IDC_TERM_CHARSET), kCharsetTable, values.charset);
    return FwDialog::OnInitDialog();
}

void CTerminalSettingsDlg::ApplyRowsRule()
{
    HWND list = GetDlgItem(IDC_TERM_EMULATION);
    const int selected = FwListCurSel(list);
    if (selected < 0 || FwListItemData(list, selected) == ruledEmulation_) return;
    ruledEmulation_ = FwListItemData(list, selected);
    values.rows = RowsChoiceForEmulation(ruledEmulation_);
    CheckDlgButton(Handle(), IDC_TERM_ROWS_24, values.rows == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_TERM_ROWS_25, values.rows == 1 ? BST_CHECKED : BST_UNCHECKED);
}

CTerm3270ConfigDlg::CTerm3270ConfigDlg(HWND owner, const Terminal3270Values& initial)
    : FwDialog(IDD_TERMINAL_3270, owner), values(initial)
{
}

void CTerm3270ConfigDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_ListValue(dx, IDC_TERM_EMULATION, values.model);
    DDX_ListValue(dx, IDC_TERM_CHARSET, values.national);
    DDX_Radio(dx, IDC_TERM_CURSOR_BLOCK, values.cursorStyle);
    DDX_Check(dx, IDC_TERM_LOCAL_ECHO, values.localEcho);
    HistoryRows(dx, values.historyRows);
    DDX_Check(dx, IDC_TERM_UPDATE_HIDDEN, values.updateHiddenHistory);
}

bool CTerm3270ConfigDlg::OnInitDialog()
{
    CenterWindow();
    FillSettingsList(GetDlgItem(IDC_TERM_EMULATION), kModel3270Table, values.model);
    FillSettingsList(GetDlgItem(IDC_TERM_CHARSET), kNationalTable, values.national);
    return FwDialog::OnInitDialog();
}
