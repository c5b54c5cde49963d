#include "shell/win32/dyn_hotspots_dlg.h"

#include "dialogs/win32/pick_string_dlg.h"
#include "fw_list_fill_win32.h"
#include "fw_prompts.h"
#include "resource_ids.h"

namespace {

// Typing into the combo box reads at most this much of its text.
constexpr int kTypedTextRoom = 99;

// The combo box's text: saving reads what it shows; loading selects the entry of exactly that
// text, or (none) shows the text in the edit part with nothing selected.
void DDX_ExactComboText(FwDataExchange& dx, int id, std::string& value)
{
    if (!dx.Begin(id)) return;
    HWND combo = GetDlgItem(dx.dialog, id);
    if (!combo) return;
    if (dx.saving) {
        char text[256] = {};
        GetWindowTextA(combo, text, sizeof text);
        value = text;
        return;
    }
    int found = -1;
    for (int i = 0, n = FwListCount(combo); i < n && found < 0; ++i)
        if (FwListItemText(combo, i) == value) found = i;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    if (found < 0) SetWindowTextA(combo, value.c_str());
}

}  // namespace

CDynHotspotsDlg::CDynHotspotsDlg(HWND owner, const HotspotTable* program, const KeyMap* keyMap,
                                 const KeyDefTable* keyDefs)
    : CenteredSettingsDialog(IDD_DYN_HOTSPOTS, owner), editor_(program), keyMap_(keyMap), keyDefs_(keyDefs)
{
    OnCommand(IDC_DYN_TEXT, [this] { OnTextSelected(); }, CBN_SELCHANGE);
    OnCommand(IDC_DYN_TEXT, [this] { OnTextTyped(); }, CBN_EDITCHANGE);
    OnCommand(IDC_DYN_SEND, [this] {
        if (!showing_) SetEditing(true);
    }, EN_CHANGE);
    for (int id : {IDC_DYN_TYPE_AS_IS, IDC_DYN_TYPE_PC_KEY, IDC_DYN_TYPE_TERMINAL_KEY})
        OnCommand(id, [this] { SetEditing(true); });
    OnCommand(IDC_DYN_ACCEPT, [this] { Accept(); });
    OnCommand(IDC_DYN_DELETE, [this] { Delete(); });
    OnCommand(IDC_DYN_TEXT_PICK_PC, [this] { Pick(true, false); });
    OnCommand(IDC_DYN_TEXT_PICK_TERMINAL, [this] { Pick(false, false); });
    OnCommand(IDC_DYN_SEND_PICK_PC, [this] { Pick(true, true); });
    OnCommand(IDC_DYN_SEND_PICK_TERMINAL, [this] { Pick(false, true); });
    for (int id : {IDC_DYN_REMOVE_ALL, IDC_DYN_ADD_PC_KEYS, IDC_DYN_ADD_TERMINAL_KEYS})
        OnCommand(id, [this, id] { Refill(id); });
}

void CDynHotspotsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_DYN_ENABLE, values.enable);
    DDX_RangedInt(dx, IDC_DYN_COLUMN, values.column, 1, 132);
    DDX_RangedInt(dx, IDC_DYN_HEIGHT, values.height, 1, 25);
    DDX_RangedInt(dx, IDC_DYN_ROW, values.row, 1, 25);
    DDX_RangedInt(dx, IDC_DYN_WIDTH, values.width, 1, 132);
    DDX_Radio(dx, IDC_DYN_TYPE_AS_IS, radio_);
    DDX_ExactComboText(dx, IDC_DYN_TEXT, text_);
    DDV_MaxChars(dx, text_, kHotspotTextLimit);
    DDX_LimitedText(dx, IDC_DYN_SEND, send_, kHotspotTextLimit);
    DDX_LimitedText(dx, IDC_DYN_EXTRA_CHARS, values.extraChars, kHotspotTextLimit);
    DDX_RangedInt(dx, IDC_DYN_DEPTH, values.depth, 1, 10);
}

bool CDynHotspotsDlg::OnInitDialog()
{
    showing_ = true;
    CenteredSettingsDialog::OnInitDialog();
    showing_ = false;
    SendMessageA(GetDlgItem(IDC_DYN_TEXT), CB_LIMITTEXT, kHotspotTextLimit, 0);
    ShowItem(std::string());
    SetEditing(false);
    return true;
}

void CDynHotspotsDlg::ShowItem(const std::string& text)
{
    text_ = text;
    HWND combo = GetDlgItem(IDC_DYN_TEXT);
    showing_ = true;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : editor_.Table().Names())
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    FwDataExchange load(Handle(), false);
    DDX_ExactComboText(load, IDC_DYN_TEXT, text_);
    if (FwListCurSel(combo) >= 0) {
        send_ = editor_.Table().GetSendString(text);
        if (!send_.empty()) radio_ = RadioOfHotspotType(editor_.Table().GetType(text));
    } else {
        radio_ = 0;
        send_.clear();
    }
    ShowSendAndType();
    showing_ = false;
}

void CDynHotspotsDlg::ShowSendAndType()
{
    const bool wasShowing = showing_;
    showing_ = true;
    SetItemText(IDC_DYN_SEND, send_);
    CheckDlgButton(Handle(), IDC_DYN_TYPE_AS_IS, radio_ == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_DYN_TYPE_PC_KEY, radio_ == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_DYN_TYPE_TERMINAL_KEY, radio_ == 2 ? BST_CHECKED : BST_UNCHECKED);
    showing_ = wasShowing;
}

void CDynHotspotsDlg::SetEditing(bool editing)
{
    editing_ = editing;
    EnableItem(IDC_DYN_ACCEPT, editing);
}

void CDynHotspotsDlg::OnTextSelected()
{
    HWND combo = GetDlgItem(IDC_DYN_TEXT);
    const int selected = FwListCurSel(combo);
    if (selected >= 0) ShowEntryOf(FwListItemText(combo, selected));
    SetEditing(false);
}

void CDynHotspotsDlg::OnTextTyped()
{
    if (showing_) return;
    char typed[kTypedTextRoom + 1] = {};
    GetWindowTextA(GetDlgItem(IDC_DYN_TEXT), typed, sizeof typed);
    ShowEntryOf(typed);
    SetEditing(true);
}

void CDynHotspotsDlg::ShowEntryOf(const std::string& text)
{
    send_ = editor_.Table().GetSendString(text);
    showing_ = true;
    SetItemText(IDC_DYN_SEND, send_);
    showing_ = false;
    if (send_.empty()) return;
    radio_ = RadioOfHotspotType(editor_.Table().GetType(text));
    ShowSendAndType();
}

void CDynHotspotsDlg::Accept()
{
    if (!UpdateData(true)) {
        acceptFailed_ = true;
        return;
    }
    std::string extra = values.extraChars;
    const char* refusal = nullptr;
    std::string limit;
    switch (editor_.Accept(text_, radio_, send_, extra)) {
    case HotspotAccept::kAccepted: break;
    case HotspotAccept::kEmptyField: refusal = "both on-screen-text and sendstring must be filled in"; break;
    case HotspotAccept::kWhitespace: refusal = "Whitespace not allowed in 'on-screen text' string"; break;
    case HotspotAccept::kExtraCharsFull:
        limit = "The non-alphanumerical characters to allow would take more than " +
                std::to_string(kHotspotTextLimit) + " characters.";
        refusal = limit.c_str();
        break;
    }
    if (refusal) {
        FwMessageBox(Handle(), refusal, MB_OK | MB_ICONEXCLAMATION);
        acceptFailed_ = true;
        return;
    }
    if (extra != values.extraChars) {
        values.extraChars = extra;
        SetItemText(IDC_DYN_EXTRA_CHARS, extra);
    }
    ShowItem(text_);
    SetEditing(false);
}

void CDynHotspotsDlg::Delete()
{
    if (!UpdateData(true)) return;
    editor_.Remove(text_);
    ShowItem(std::string());
    SetEditing(false);
}

void CDynHotspotsDlg::Pick(bool pcKeys, bool forSendString)
{
    CPickStringDlg pick(Handle(), keyMap_, keyDefs_);
    pick.pcKeys = pcKeys;
    if (pick.DoModal() != IDOK || pick.picked.empty()) return;
    if (forSendString) {
        send_ = pick.picked;
        radio_ = pcKeys ? 1 : 2;
        ShowSendAndType();
    } else {
        ShowItem(pick.picked);
    }
    SetEditing(true);
}

void CDynHotspotsDlg::Refill(int button)
{
    if (editing_ &&
        FwMessageBox(Handle(), "The currently edited item will be discarded!", MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
        return;
    if (button == IDC_DYN_REMOVE_ALL) editor_.RemoveAll();
    else if (button == IDC_DYN_ADD_PC_KEYS) editor_.AddAllPcKeys();
    else editor_.AddAllTerminalKeys(keyDefs_);
    ShowItem(std::string());
    SendMessageA(GetDlgItem(IDC_DYN_TEXT), CB_SHOWDROPDOWN, TRUE, 0);
    SetEditing(false);
}

void CDynHotspotsDlg::OnOK()
{
    if (editing_) {
        const int answer = FwMessageBox(Handle(), "Save modifications to current item ?", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer == IDYES) {
            acceptFailed_ = false;
            Accept();
            if (acceptFailed_) return;
        }
    }
    CenteredSettingsDialog::OnOK();
}

void CDynHotspotsDlg::OnCancel()
{
    if ((IsModified() || editing_) &&
        FwMessageBox(Handle(), "All changes will be discarded!", MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
        return;
    CenteredSettingsDialog::OnCancel();
}
