#include "dialogs/win32/keyboard_dialogs.h"

#include <cstring>

#include "keyboard_dialog_ids.h"
#include "session/messages.h"

namespace {

// What the data files keep: a key map's PC-key name and every value and definition text; a
// terminal key name.
constexpr int kKeyMapNameLimit = 80;
constexpr int kValueLimit = 80;
constexpr int kKeyDefNameLimit = 256;

bool AskYes(HWND owner, const std::string& text)
{
    return FwMessageBox(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Refuse(HWND owner, int message) { FwMessageBox(owner, MessageText(message), MB_OK | MB_ICONEXCLAMATION); }

int ComboCount(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

std::string ComboItem(HWND combo, int index)
{
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

// The item of exactly that text (never by the combo box's case-blind or prefix search).
int ComboExact(HWND combo, const std::string& text)
{
    for (int i = 0, n = ComboCount(combo); i < n; ++i) {
        if (ComboItem(combo, i) == text) return i;
    }
    return -1;
}

std::string ListItem(HWND list, int index)
{
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

void LimitText(HWND control, int limit)
{
    char kind[16] = {};
    GetClassNameA(control, kind, sizeof kind);
    SendMessageA(control, lstrcmpiA(kind, "ComboBox") == 0 ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

}  // namespace

// ---------------------------------------------------------------- Terminal KeyName Definitions

CKeyDefDlg::CKeyDefDlg(HWND owner, KeyDefTable& table, KeyTableFiles& files)
    : CenteredSettingsDialog(IDD_KEY_DEFINITIONS, owner), table_(table), files_(files)
{
    OnCommand(IDC_KDEF_NAME, [this] { SelectionChanged(); }, CBN_SELCHANGE);
    OnCommand(IDC_KDEF_STRING, [this] {
        if (!loading_) stringModified_ = true;
    }, EN_CHANGE);
    OnCommand(IDC_KDEF_ACCEPT, [this] { Accept(); });
    OnCommand(IDC_KDEF_DELETE, [this] { DeletePressed(); });
    OnCommand(IDC_KDEF_DEFAULT, [this] { LoadDefault(); });
}

bool CKeyDefDlg::OnInitDialog()
{
    CenteredSettingsDialog::OnInitDialog();
    changed = 0;
    LimitText(GetDlgItem(IDC_KDEF_NAME), kKeyDefNameLimit);
    LimitText(GetDlgItem(IDC_KDEF_STRING), kValueLimit);
    Fill();
    SetFocus(GetDlgItem(IDC_KDEF_NAME));
    return false;
}

void CKeyDefDlg::SetString(const std::string& text)
{
    loading_ = true;
    SetItemText(IDC_KDEF_STRING, text);
    loading_ = false;
}

void CKeyDefDlg::Fill()
{
    HWND combo = GetDlgItem(IDC_KDEF_NAME);
    int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (selected < 0) selected = 0;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : KeyDefNames(table_))
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SelectionChanged();
}

void CKeyDefDlg::SelectionChanged()
{
    PendingCheck();
    HWND combo = GetDlgItem(IDC_KDEF_NAME);
    const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    ShowName(selected >= 0 ? ComboItem(combo, selected) : std::string());
}

void CKeyDefDlg::ShowName(const std::string& name)
{
    const KeyDefEntry* entry = name.empty() ? nullptr : table_.Lookup(name);
    SetString(entry ? entry->GetDefinition() : std::string());
    stringModified_ = false;
}

bool CKeyDefDlg::PendingCheck()
{
    if (!stringModified_) return true;
    stringModified_ = false;
    if (!AskYes(Handle(), MessageText(56))) return true;
    return Accept();
}

bool CKeyDefDlg::Accept()
{
    stringModified_ = false;
    std::string name;
    const KeyDefRefusal refusal = AcceptKeyDef(table_, GetItemText(IDC_KDEF_NAME), GetItemText(IDC_KDEF_STRING), &name);
    if (refusal != KeyDefRefusal::None) {
        Refuse(Handle(), static_cast<int>(refusal));
        stringModified_ = true;  // the typed string is still there, not accepted
        return false;
    }
    HWND combo = GetDlgItem(IDC_KDEF_NAME);
    const int old = ComboExact(combo, name);
    if (old >= 0) SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(old), 0);
    const LRESULT added = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(added), 0);
    changed = 1;
    ShowName(name);
    return true;
}

void CKeyDefDlg::DeletePressed()
{
    stringModified_ = false;
    const std::string text = GetItemText(IDC_KDEF_NAME);
    if (text.empty()) {
        Refuse(Handle(), 8);
        return;
    }
    const std::string name = KeyNameFromText(text);
    HWND combo = GetDlgItem(IDC_KDEF_NAME);
    const int item = ComboExact(combo, name);
    if (item < 0) {
        Refuse(Handle(), 9);
        return;
    }
    if (table_.RemoveKey(name)) changed = 1;
    const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(item), 0);
    if (selected == item || selected < 0) {
        const int count = ComboCount(combo);
        const int next = item < count ? item : item - 1;
        if (next >= 0) {
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(next), 0);
        } else {
            SetItemText(IDC_KDEF_NAME, "");
            SetString("");
        }
    }
    SelectionChanged();
}

void CKeyDefDlg::LoadDefault()
{
    if (!AskYes(Handle(), QuestionText(60, files_.DefaultKeyDefFile()))) return;
    stringModified_ = false;
    KeyDefTable fresh;
    if (!files_.LoadDefaultKeyDefs(fresh)) return;
    table_.RemoveAllDefs();
    table_.CopyFrom(fresh);
    Fill();
    changed = 1;
}

void CKeyDefDlg::OnOK()
{
    if (!PendingCheck()) return;
    CenteredSettingsDialog::OnOK();
}

void CKeyDefDlg::OnCancel()
{
    if (changed && !AskYes(Handle(), MessageText(51))) return;
    CenteredSettingsDialog::OnCancel();
}

// ---------------------------------------------------------------- Translate Tables

CTranslateTablesDlg::CTranslateTablesDlg(HWND owner, uint8_t* outbound, uint8_t* inbound, KeyTableFiles& files)
    : CenteredSettingsDialog(IDD_TRANSLATE_TABLES, owner),
      outboundTarget_(outbound),
      inboundTarget_(inbound),
      files_(files),
      currentEdit_(IDC_XLT_NEW_OUTBOUND)
{
    std::memcpy(outbound_, outbound, sizeof outbound_);
    std::memcpy(inbound_, inbound, sizeof inbound_);
    for (int list : {IDC_XLT_OUTBOUND, IDC_XLT_INBOUND}) {
        OnCommand(list, [this, list] { SelectionChanged(list); }, LBN_SELCHANGE);
        OnCommand(list, [this, list] { ListFocused(list); }, LBN_SETFOCUS);
        OnCommand(list, [this, list] {
            const bool outboundList = list == IDC_XLT_OUTBOUND;
            EnableItem(IDC_XLT_NEW_OUTBOUND, outboundList);
            EnableItem(IDC_XLT_NEW_INBOUND, !outboundList);
            currentEdit_ = outboundList ? IDC_XLT_NEW_OUTBOUND : IDC_XLT_NEW_INBOUND;
            pending_ = false;
        }, LBN_DBLCLK);
    }
    for (int edit : {IDC_XLT_NEW_OUTBOUND, IDC_XLT_NEW_INBOUND}) {
        OnCommand(edit, [this] {
            if (loading_) return;
            pending_ = true;
            EnableItem(IDC_XLT_ACCEPT, true);
        }, EN_CHANGE);
    }
    OnCommand(IDC_XLT_ACCEPT, [this] { Accept(); });
    for (int format : {IDC_XLT_HEX, IDC_XLT_CHARACTER}) {
        OnCommand(format, [this] {
            UpdateData(true);
            Fill();
        });
    }
    for (int mode : {IDC_XLT_MIRROR, IDC_XLT_INDIVIDUAL}) OnCommand(mode, [this] { UpdateData(true); });
    OnCommand(IDC_XLT_DEFAULT, [this] { LoadDefault(); });
}

void CTranslateTablesDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Radio(dx, IDC_XLT_HEX, displayFormat);
    DDX_Radio(dx, IDC_XLT_MIRROR, mirrorMode);
}

bool CTranslateTablesDlg::OnInitDialog()
{
    CenteredSettingsDialog::OnInitDialog();
    currentEdit_ = IDC_XLT_NEW_OUTBOUND;
    pending_ = false;
    currentIndex_ = 0;
    changed = 0;
    LimitText(GetDlgItem(IDC_XLT_NEW_OUTBOUND), 3);
    LimitText(GetDlgItem(IDC_XLT_NEW_INBOUND), 3);
    Fill();
    inFocusHandler_ = true;  // the start's own focus is no switch of tables
    SetFocus(GetDlgItem(IDC_XLT_OUTBOUND));
    inFocusHandler_ = false;
    return false;
}

void CTranslateTablesDlg::Fill()
{
    for (int id : {IDC_XLT_OUTBOUND, IDC_XLT_INBOUND}) {
        HWND list = GetDlgItem(id);
        const uint8_t* table = id == IDC_XLT_OUTBOUND ? outbound_ : inbound_;
        const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < 256; ++i) {
            const std::string text = TranslateEntryText(i, table[i], Hex());
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

void CTranslateTablesDlg::SetEntry(int id, int index)
{
    HWND list = GetDlgItem(id);
    const uint8_t* table = id == IDC_XLT_OUTBOUND ? outbound_ : inbound_;
    const std::string text = TranslateEntryText(index, table[index], Hex());
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CTranslateTablesDlg::ClearNewValues()
{
    loading_ = true;
    SetItemText(IDC_XLT_NEW_OUTBOUND, "");
    SetItemText(IDC_XLT_NEW_INBOUND, "");
    loading_ = false;
    EnableItem(IDC_XLT_ACCEPT, false);
    pending_ = false;
}

bool CTranslateTablesDlg::PendingCheck()
{
    if (!pending_) return true;
    const std::string typed = GetItemText(currentEdit_);
    const int value = ParseTranslateValue(typed);
    // An invalid value shows as typed (Accept then says why it is refused).
    std::string entry = TranslateEntryText(currentIndex_, static_cast<uint8_t>(value < 0 ? 0 : value), Hex());
    if (value < 0) entry = entry.substr(0, entry.find(" -> ") + 4) + typed;
    if (AskYes(Handle(), QuestionText(57, entry)) && !Accept()) return false;  // the typed value stays
    ClearNewValues();
    return true;
}

bool CTranslateTablesDlg::Accept()
{
    const int value = ParseTranslateValue(GetItemText(currentEdit_));
    if (value < 0) {
        SetFocus(GetDlgItem(currentEdit_));
        Refuse(Handle(), 3);
        return false;
    }
    const bool outboundActive = currentEdit_ == IDC_XLT_NEW_OUTBOUND;
    const TranslateEdit edit = AcceptTranslateValue(outbound_, inbound_, outboundActive, currentIndex_, value, mirrorMode == 0);
    SetEntry(outboundActive ? IDC_XLT_OUTBOUND : IDC_XLT_INBOUND, edit.changedIndex);
    if (edit.mirroredIndex >= 0) SetEntry(outboundActive ? IDC_XLT_INBOUND : IDC_XLT_OUTBOUND, edit.mirroredIndex);
    ClearNewValues();
    changed = 1;
    return true;
}

void CTranslateTablesDlg::SelectionChanged(int id)
{
    PendingCheck();
    const int selected = static_cast<int>(SendMessageA(GetDlgItem(id), LB_GETCURSEL, 0, 0));
    if (selected < 0) return;
    currentIndex_ = selected;
    if (mirrorMode == 0) {
        const bool outboundList = id == IDC_XLT_OUTBOUND;
        const uint8_t value = outboundList ? outbound_[selected] : inbound_[selected];
        SendMessageA(GetDlgItem(outboundList ? IDC_XLT_INBOUND : IDC_XLT_OUTBOUND), LB_SETCURSEL, value, 0);
    }
}

void CTranslateTablesDlg::ListFocused(int id)
{
    if (inFocusHandler_) return;
    inFocusHandler_ = true;
    PendingCheck();
    Activate(id);
    SetFocus(GetDlgItem(id));
    inFocusHandler_ = false;
}

void CTranslateTablesDlg::Activate(int id)
{
    const bool outboundList = id == IDC_XLT_OUTBOUND;
    EnableItem(IDC_XLT_NEW_OUTBOUND, outboundList);
    EnableItem(IDC_XLT_NEW_INBOUND, !outboundList);
    currentEdit_ = outboundList ? IDC_XLT_NEW_OUTBOUND : IDC_XLT_NEW_INBOUND;
    pending_ = false;
    EnableItem(IDC_XLT_ACCEPT, false);
    ShowItem(IDC_XLT_OUTBOUND_FRAME, outboundList);
    ShowItem(IDC_XLT_INBOUND_FRAME, !outboundList);
}

void CTranslateTablesDlg::LoadDefault()
{
    if (!AskYes(Handle(), QuestionText(58, files_.DefaultTranslateFile()))) return;
    uint8_t outbound[256], inbound[256];
    if (!files_.LoadDefaultTranslate(outbound, inbound)) return;
    std::memcpy(outbound_, outbound, sizeof outbound_);
    std::memcpy(inbound_, inbound, sizeof inbound_);
    Fill();
    changed = 1;
}

void CTranslateTablesDlg::OnOK()
{
    if (!PendingCheck() || !UpdateData(true)) return;
    if (changed) {
        std::memcpy(outboundTarget_, outbound_, sizeof outbound_);
        std::memcpy(inboundTarget_, inbound_, sizeof inbound_);
    }
    EndDialog(IDOK);
}

void CTranslateTablesDlg::OnCancel()
{
    if (changed && !AskYes(Handle(), MessageText(51))) return;
    CenteredSettingsDialog::OnCancel();
}

// ---------------------------------------------------------------- Keyboard Mapping

CKeyboardMapDlg::CKeyboardMapDlg(HWND owner, KeyMap& keyMap, KeyDefTable& keyDefs, uint8_t* outbound,
                                 uint8_t* inbound, KeyTableFiles& files, int32_t& displayMirror,
                                 int32_t& displayFormat)
    : CenteredSettingsDialog(IDD_KEYBOARD_MAP, owner),
      keyMap_(keyMap),
      keyDefs_(keyDefs),
      outbound_(outbound),
      inbound_(inbound),
      files_(files),
      displayMirror_(displayMirror),
      displayFormat_(displayFormat),
      currentEdit_(IDC_KMAP_VALUE_FIRST)
{
    for (const KeyButton& b : FixedKeyButtons()) OnCommand(b.id, [this, b] { SelectKey(b.code); });
    for (const KeypadButton& b : KeypadButtons())
        OnCommand(b.id, [this, b] { SelectKey(numLockCaptions_ ? b.codeOn : b.codeOff); });
    OnCommand(IDC_KMAP_KEY_NAME, [this] {
        HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
        const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        if (selected >= 0) SelectKey(static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, selected, 0)));
    }, CBN_SELCHANGE);
    OnCommand(IDC_KMAP_KEY_NAME, [this] { PendingCheck(); }, CBN_SETFOCUS);
    OnCommand(IDC_KMAP_KEY_CODE, [this] { CodeFocused(); }, EN_SETFOCUS);
    OnCommand(IDC_KMAP_KEY_CODE, [this] { CodeLeft(); }, EN_KILLFOCUS);
    OnCommand(IDC_KMAP_KEY_CODE, [this] {
        if (!loading_) codeModified_ = true;
    }, EN_CHANGE);
    for (int id = IDC_KMAP_VALUE_FIRST; id <= IDC_KMAP_VALUE_LAST; ++id) {
        OnCommand(id, [this, id] { ValueFocused(id); }, EN_SETFOCUS);
        OnCommand(id, [this] {
            if (!loading_) ValueChanged();
        }, EN_CHANGE);
    }
    OnCommand(IDC_KMAP_ACCEPT, [this] { Accept(); });
    OnCommand(IDC_KMAP_DELETE, [this] { DeletePressed(); });
    OnCommand(IDC_KMAP_USE_PREDEFINED, [this] { UsePredefined(); });
    OnCommand(IDC_KMAP_PREDEFINED_LIST, [this] { PredefinedSelected(); }, LBN_SELCHANGE);
    OnCommand(IDC_KMAP_PREDEFINED_LIST, [this] { PredefinedChosen(); }, LBN_DBLCLK);
    OnCommand(IDC_KMAP_PREDEFINED_LIST, [this] { HidePredefined(); }, LBN_KILLFOCUS);
    OnCommand(IDC_KMAP_NUMLOCK, [this] { ToggleNumLock(); });
    OnCommand(IDC_KMAP_NUMLOCK_SHIFT, [this] { ToggleNumLock(); });
    OnCommand(IDC_KMAP_TERMINAL_KEYS, [this] { TerminalKeys(); });
    OnCommand(IDC_KMAP_TRANSLATE, [this] { TranslateTables(); });
    OnCommand(IDC_KMAP_DEFAULT_MAP, [this] { LoadDefaultMap(); });
    OnCommand(IDC_KMAP_DEFAULT_BUTTONS, [this] { LoadDefaultButtons(); });
}

bool CKeyboardMapDlg::OnInitDialog()
{
    keyMapChanged = keyDefsChanged = translateChanged = buttonsReloaded = 0;
    numLock_.Attach(Handle(), IDC_KMAP_NUMLOCK);
    LimitText(GetDlgItem(IDC_KMAP_KEY_NAME), kKeyMapNameLimit);
    LimitText(GetDlgItem(IDC_KMAP_KEY_CODE), 3);
    for (int id = IDC_KMAP_VALUE_FIRST; id <= IDC_KMAP_VALUE_LAST; ++id) LimitText(GetDlgItem(id), kValueLimit);
    FillNames();
    FillPredefined();
    CenteredSettingsDialog::OnInitDialog();
    if (GetKeyState(VK_NUMLOCK) & 1) ToggleNumLock();
    SelectKey(0x70);
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    const LRESULT current = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (current >= 0) SelectKey(static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, current, 0)));
    SetFocus(combo);
    return false;
}

void CKeyboardMapDlg::OnDestroy() { numLock_.Detach(); }

void CKeyboardMapDlg::SetText(int id, const std::string& text)
{
    const bool was = loading_;
    loading_ = true;
    SetItemText(id, text);
    loading_ = was;
}

void CKeyboardMapDlg::SetAccept(bool pending)
{
    pending_ = pending;
    EnableItem(IDC_KMAP_ACCEPT, pending);
    if (pending) EnableItem(IDC_KMAP_DELETE, false);
}

int CKeyboardMapDlg::ComboIndexOfCode(int code) const
{
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    for (int i = 0, n = ComboCount(combo); i < n; ++i) {
        if (static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == (code & kKeyBits)) return i;
    }
    return -1;
}

int CKeyboardMapDlg::ComboIndexOfName(const std::string& name) const
{
    return ComboExact(GetDlgItem(IDC_KMAP_KEY_NAME), name);
}

void CKeyboardMapDlg::FillNames()
{
    names_ = KeyNamesOf(keyMap_);
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const KeyNameItem& item : names_) {
        const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.name.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(item.code));
    }
    if (!names_.empty()) SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void CKeyboardMapDlg::FillPredefined()
{
    HWND list = GetDlgItem(IDC_KMAP_PREDEFINED_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const auto& item : keyDefs_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.first.c_str()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void CKeyboardMapDlg::SelectListedName(int code)
{
    SendMessageA(GetDlgItem(IDC_KMAP_KEY_NAME), CB_SETCURSEL, static_cast<WPARAM>(ComboIndexOfCode(code)), 0);
}

void CKeyboardMapDlg::SelectKey(int code)
{
    PendingCheck();
    code &= kKeyBits;
    const int item = ComboIndexOfCode(code);
    SelectListedName(code);
    for (int id = IDC_KMAP_VALUE_FIRST; id <= IDC_KMAP_VALUE_LAST; ++id) SetText(id, "");
    SetText(IDC_KMAP_KEY_CODE, KeyCodeText(code));
    codeModified_ = false;
    EnableItem(IDC_KMAP_DELETE, item >= 0);
    if (item >= 0) {
        const KeyValues values = ValuesOfKey(keyMap_, code);
        for (int m = 0; m < kModifierCombinations; ++m) SetText(IDC_KMAP_VALUE_FIRST + m, values[m]);
    }
    SetAccept(false);
}

bool CKeyboardMapDlg::PendingCheck()
{
    if (accepting_) return true;  // the focus moved by a refusal inside Accept
    bool accepted = true;
    if (pending_) {
        pending_ = false;
        if (AskYes(Handle(), MessageText(56)) && !Accept()) {
            SetAccept(true);  // refused: the values are still pending
            accepted = false;
        }
    }
    ShowItem(IDC_KMAP_USE_PREDEFINED, false);
    return accepted;
}

bool CKeyboardMapDlg::Accept()
{
    accepting_ = true;
    const bool accepted = AcceptValues();
    accepting_ = false;
    return accepted;
}

bool CKeyboardMapDlg::AcceptValues()
{
    const int code = ParseKeyCodeText(GetItemText(IDC_KMAP_KEY_CODE));
    if (code < 0) {
        Refuse(Handle(), 3);
        return false;
    }
    const std::string typed = GetItemText(IDC_KMAP_KEY_NAME);
    if (typed.empty()) {
        SetFocus(GetDlgItem(IDC_KMAP_KEY_NAME));
        Refuse(Handle(), 4);
        return false;
    }
    const std::string name = KeyNameFromText(typed);
    const int owner = FindKeyName(names_, name);
    if (owner >= 0 && names_[owner].code != code) {
        const int oldCode = names_[owner].code;
        if (!AskYes(Handle(), QuestionText(7, name, KeyCodeText(oldCode)))) return false;
        if (DeleteKeyCode(keyMap_, names_, oldCode)) keyMapChanged = 1;
    }
    KeyValues values;
    for (int m = 0; m < kModifierCombinations; ++m) values[m] = GetItemText(IDC_KMAP_VALUE_FIRST + m);
    if (AcceptKey(keyMap_, names_, code, name, values)) keyMapChanged = 1;

    // The combo shows the list.
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const KeyNameItem& item : names_) {
        const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.name.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(item.code));
    }
    SetAccept(false);
    SelectKey(code);
    return true;
}

void CKeyboardMapDlg::DeletePressed()
{
    const std::string typed = GetItemText(IDC_KMAP_KEY_NAME);
    if (typed.empty()) {
        SetFocus(GetDlgItem(IDC_KMAP_KEY_NAME));
        Refuse(Handle(), 4);
        return;
    }
    const int item = FindKeyName(names_, KeyNameFromText(typed));
    if (item < 0) {
        Refuse(Handle(), 5);
        return;
    }
    const int code = ParseKeyCodeText(GetItemText(IDC_KMAP_KEY_CODE));
    if (code < 0) {
        Refuse(Handle(), 3);
        return;
    }
    if (names_[item].code != code) {
        Refuse(Handle(), 6);
        return;
    }
    if (DeleteKeyCode(keyMap_, names_, code)) keyMapChanged = 1;
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    for (int i = ComboCount(combo) - 1; i >= 0; --i) {
        if (static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == code)
            SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    for (int id = IDC_KMAP_VALUE_FIRST; id <= IDC_KMAP_VALUE_LAST; ++id) SetText(id, "");
    SetText(IDC_KMAP_KEY_CODE, "");
    SetText(IDC_KMAP_KEY_NAME, "");
    EnableItem(IDC_KMAP_DELETE, false);
    SetAccept(false);
}

void CKeyboardMapDlg::ValueFocused(int id)
{
    if (GetItemText(IDC_KMAP_KEY_NAME).empty()) {
        SetFocus(GetDlgItem(IDC_KMAP_KEY_NAME));
        Refuse(Handle(), 4);
        return;
    }
    currentEdit_ = id;
    ShowItem(IDC_KMAP_USE_PREDEFINED, true);
}

void CKeyboardMapDlg::ValueChanged() { SetAccept(true); }

void CKeyboardMapDlg::CodeFocused()
{
    codeModified_ = false;
    PendingCheck();
}

void CKeyboardMapDlg::CodeLeft()
{
    if (!codeModified_) return;
    codeModified_ = false;
    const int code = ParseKeyCodeText(GetItemText(IDC_KMAP_KEY_CODE));
    if (code < 0) {
        Refuse(Handle(), 3);
        return;
    }
    if (ComboIndexOfCode(code) >= 0) {
        PendingCheck();
        SelectListedName(code);
        EnableItem(IDC_KMAP_DELETE, true);
        SetAccept(false);
        return;
    }
    bool anyValue = false;
    for (int id = IDC_KMAP_VALUE_FIRST; id <= IDC_KMAP_VALUE_LAST; ++id) anyValue = anyValue || !GetItemText(id).empty();
    if (anyValue && !GetItemText(IDC_KMAP_KEY_NAME).empty()) SetAccept(true);
}

void CKeyboardMapDlg::UsePredefined()
{
    ShowItem(IDC_KMAP_PREDEFINED_LIST, true);
    EnableItem(IDC_KMAP_PREDEFINED_LIST, true);
    ShowItem(IDC_KMAP_PREDEFINED_PREVIEW, true);
    SetFocus(GetDlgItem(IDC_KMAP_PREDEFINED_LIST));
    PredefinedSelected();
}

void CKeyboardMapDlg::PredefinedSelected()
{
    HWND list = GetDlgItem(IDC_KMAP_PREDEFINED_LIST);
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) {
        Refuse(Handle(), 24);
        return;
    }
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    const KeyDefEntry* entry = selected >= 0 ? keyDefs_.Lookup(ListItem(list, static_cast<int>(selected))) : nullptr;
    SetText(IDC_KMAP_PREDEFINED_PREVIEW, entry ? entry->GetDefinition() : std::string());
}

void CKeyboardMapDlg::PredefinedChosen()
{
    HWND list = GetDlgItem(IDC_KMAP_PREDEFINED_LIST);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    SetItemText(currentEdit_, ListItem(list, static_cast<int>(selected)));  // marks the key pending
    EnableItem(IDC_KMAP_PREDEFINED_LIST, false);
    SetFocus(GetDlgItem(currentEdit_));
    HidePredefined();
}

void CKeyboardMapDlg::HidePredefined()
{
    ShowItem(IDC_KMAP_PREDEFINED_LIST, false);
    ShowItem(IDC_KMAP_PREDEFINED_PREVIEW, false);
}

void CKeyboardMapDlg::ToggleNumLock()
{
    numLockCaptions_ = !numLockCaptions_;
    if (numLock_.Attached()) {
        if (numLockCaptions_) numLock_.LoadBitmaps("NUM_OND", "NUM_ONU");
        else numLock_.LoadBitmaps("NUM_ONU", "NUM_OND");
        InvalidateRect(numLock_.Handle(), nullptr, TRUE);
    }
    for (const KeypadButton& b : KeypadButtons()) SetItemText(b.id, numLockCaptions_ ? b.captionOn : b.captionOff);
}

void CKeyboardMapDlg::TerminalKeys()
{
    KeyDefTable copy;
    copy.CopyFrom(keyDefs_);
    CKeyDefDlg dialog(Handle(), copy, files_);
    if (dialog.DoModal() != IDOK || !dialog.changed) return;
    keyDefsChanged = 1;
    keyDefs_.RemoveAllDefs();
    keyDefs_.CopyFrom(copy);
    FillPredefined();
}

void CKeyboardMapDlg::TranslateTables()
{
    CTranslateTablesDlg dialog(Handle(), outbound_, inbound_, files_);
    dialog.mirrorMode = displayMirror_;
    dialog.displayFormat = displayFormat_;
    if (dialog.DoModal() != IDOK) return;
    if (dialog.changed) translateChanged = 1;
    displayFormat_ = dialog.displayFormat;
    displayMirror_ = dialog.mirrorMode;
}

void CKeyboardMapDlg::LoadDefaultMap()
{
    if (!AskYes(Handle(), QuestionText(59, files_.DefaultKeyMapFile()))) return;
    KeyMap fresh;
    if (!files_.LoadDefaultKeyMap(fresh)) return;
    ReplaceKeyMap(keyMap_, fresh);
    SetAccept(false);
    FillNames();
    keyMapChanged = 1;
    HWND combo = GetDlgItem(IDC_KMAP_KEY_NAME);
    const LRESULT current = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (current >= 0) SelectKey(static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, current, 0)));
}

void CKeyboardMapDlg::LoadDefaultButtons()
{
    if (!AskYes(Handle(), QuestionText(79, files_.DefaultButtonFile()))) return;
    if (files_.InstallDefaultButtons()) buttonsReloaded = 1;
}

void CKeyboardMapDlg::OnOK()
{
    if (!PendingCheck()) return;
    CenteredSettingsDialog::OnOK();
}

void CKeyboardMapDlg::OnCancel()
{
    if (keyMapChanged && !AskYes(Handle(), MessageText(51))) return;
    CenteredSettingsDialog::OnCancel();
}
