#include "dialogs/win32/preference_dialogs.h"

#include "resource_ids.h"
#include "session/document_strings.h"

namespace {

bool IsChecked(const FwDialog& dialog, int id) { return IsDlgButtonChecked(dialog.Handle(), id) == BST_CHECKED; }

}  // namespace

CViewPrefsDlg::CViewPrefsDlg(HWND owner) : CenteredSettingsDialog(IDD_VIEW_PREFS, owner)
{
    OnCommand(IDC_VIEW_SINGLE_INSTANCE, [this] { ApplyInstanceRule(); });
}

void CViewPrefsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_VIEW_AUTO_CONNECT, values.autoConnect);
    DDX_RangedInt(dx, IDC_VIEW_FRAME_SIZE, values.frameSize, kFrameSizeMin, kFrameSizeMax);
    DDX_Check(dx, IDC_VIEW_STATUSBAR, values.statusbar);
    DDX_Check(dx, IDC_VIEW_TOOLBAR, values.toolbar);
    DDX_Check(dx, IDC_VIEW_HOST_CLEAR, values.hostHangupClear);
    DDX_Check(dx, IDC_VIEW_PC_CLEAR, values.pcHangupClear);
    DDX_Radio(dx, IDC_VIEW_PC_IDLE, values.whenPCHungup);
    DDX_Radio(dx, IDC_VIEW_HOST_IDLE, values.whenHostHungup);
    DDX_Check(dx, IDC_VIEW_PROMPT_FOR_HOST, values.promptForHost);
    DDX_Radio(dx, IDC_VIEW_ALIGN_FIRST, values.alignDisplay);
    DDX_LimitedText(dx, IDC_VIEW_APP_NAME, values.appName, kDocumentStringLimit);
    DDX_Check(dx, IDC_VIEW_TITLE_CONFIG, values.titleConfig);
    DDX_Check(dx, IDC_VIEW_TITLE_APP_NAME, values.titleAppName);
    DDX_Check(dx, IDC_VIEW_TITLE_HOST, values.titleHostName);
    DDX_Check(dx, IDC_VIEW_TITLE_CONNECTED, values.titleConnected);
    DDX_Check(dx, IDC_VIEW_TITLE_UNIQUE, values.titleUniqueText);
    DDX_Check(dx, IDC_VIEW_SHOW_MENU, values.showMenu);
    DDX_Check(dx, IDC_VIEW_SHOW_TITLEBAR, values.showTitlebar);
    DDX_Check(dx, IDC_VIEW_SINGLE_INSTANCE, values.singleInstance);
    DDX_Check(dx, IDC_VIEW_ENABLE_HOTSPOTS, values.enableHotspots);
    DDX_LimitedText(dx, IDC_VIEW_MSG_EXIT, values.msgExit, kDocumentStringLimit);
    DDX_RangedInt(dx, IDC_VIEW_MAX_INSTANCE, values.maxInstance, kInstanceCountMin, kInstanceCountMax);
    DDX_Check(dx, IDC_VIEW_BUTTON_PANEL, values.enableButtonPanel);
}

bool CViewPrefsDlg::OnInitDialog()
{
    CenteredSettingsDialog::OnInitDialog();
    for (int id : {IDC_VIEW_TITLE_HOST_TEXT, IDC_VIEW_TITLE_UNIQUE_TEXT, IDC_VIEW_TITLE_STATE_TEXT,
                   IDC_VIEW_TITLE_CONFIG_TEXT})
        SetItemText(id, kDynamicTitleSample);
    ApplyInstanceRule();
    return true;
}

void CViewPrefsDlg::ApplyInstanceRule() { EnableItem(IDC_VIEW_MAX_INSTANCE, IsChecked(*this, IDC_VIEW_SINGLE_INSTANCE)); }

CFileNamePrefsDlg::CFileNamePrefsDlg(HWND owner) : CenteredSettingsDialog(IDD_FILE_NAME_PREFS, owner)
{
    OnCommand(IDC_FILES_CAPTURE_TO_FILE, [this] { ApplyCaptureRule(); });
    OnCommand(IDC_FILES_AUTONAME, [this] { ApplyAutonameRule(); });
}

void CFileNamePrefsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_LimitedText(dx, IDC_FILES_CAPTURE, values.captureFile, kDocumentStringLimit);
    DDX_Check(dx, IDC_FILES_CAPTURE_TO_FILE, values.captureToFile);
    DDX_LimitedText(dx, IDC_FILES_KEY_DEFS, values.terminalKeyDef, kDocumentStringLimit);
    DDX_LimitedText(dx, IDC_FILES_KEYBOARD_MAP, values.keyboardMap, kDocumentStringLimit);
    DDX_Check(dx, IDC_FILES_SORTED, values.sortedKeyMap);
    DDX_LimitedText(dx, IDC_FILES_TRACE, values.traceFile, kTraceFileLimit);
    DDX_LimitedText(dx, IDC_FILES_TRANSLATE, values.translate, kDocumentStringLimit);
    DDX_LimitedText(dx, IDC_FILES_STARTUP, values.startupFile, kDocumentStringLimit);
    DDX_Check(dx, IDC_FILES_AUTONAME, values.autoname);
    DDX_LimitedText(dx, IDC_FILES_BUTTON_PANEL, values.buttonFile, kDocumentStringLimit);
    DDX_LimitedText(dx, IDC_FILES_DYN_HOTSPOTS, values.dynHotspotFile, kDocumentStringLimit);
}

bool CFileNamePrefsDlg::OnInitDialog()
{
    CenteredSettingsDialog::OnInitDialog();
    ApplyCaptureRule();
    ApplyAutonameRule();
    return true;
}

void CFileNamePrefsDlg::ApplyCaptureRule() { EnableItem(IDC_FILES_CAPTURE, IsChecked(*this, IDC_FILES_CAPTURE_TO_FILE)); }

void CFileNamePrefsDlg::ApplyAutonameRule()
{
    const bool editable = !IsChecked(*this, IDC_FILES_AUTONAME);
    for (int id : {IDC_FILES_KEYBOARD_MAP, IDC_FILES_KEY_DEFS, IDC_FILES_TRANSLATE, IDC_FILES_DYN_HOTSPOTS,
                   IDC_FILES_BUTTON_PANEL})
        EnableItem(id, editable);
}
