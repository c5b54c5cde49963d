#include "fw_dialog_test_hook.h"

#include "fw_bitmap_button.h"
#include "fw_list_fill_win32.h"

namespace {

FwDialogTestHook* theHook = nullptr;

bool IsRadio(HWND control)
{
    const LONG kind = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

std::string ClassOf(HWND control)
{
    char name[32] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

void Notify(HWND dialog, HWND control, int code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// The control's own visibility: a dialog not yet shown still has controls that will be.
bool Shown(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

void FwSetDialogTestHook(FwDialogTestHook* hook) { theHook = hook; }
FwDialogTestHook* FwGetDialogTestHook() { return theHook; }

std::function<void(FwDialogDriver&)> FwTakeDialogScript(int templateId)
{
    if (!theHook) return {};
    for (auto it = theHook->scripts.begin(); it != theHook->scripts.end(); ++it) {
        if (it->first != templateId) continue;
        auto script = std::move(it->second);
        theHook->scripts.erase(it);
        return script;
    }
    return {};
}

HWND FwDialogDriver::Usable(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    if (!control || !Shown(control) || !IsWindowEnabled(control)) return nullptr;
    return control;
}

bool FwDialogDriver::SetText(int id, const std::string& text)
{
    HWND control = Usable(id);
    if (!control) return false;
    // An edit control tells its dialog EN_CHANGE itself.
    SetWindowTextA(control, text.c_str());
    return true;
}

bool FwDialogDriver::Click(int id)
{
    HWND control = Usable(id);
    if (!control) return false;
    const LONG kind = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE) {
        const LRESULT state = SendMessageA(control, BM_GETCHECK, 0, 0);
        SendMessageA(control, BM_SETCHECK, state == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (kind == BS_AUTORADIOBUTTON) {
        // Checks it and unchecks the other buttons of its group, as a click does.
        HWND first = control;
        while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
            HWND previous = GetWindow(first, GW_HWNDPREV);
            if (!previous) break;
            first = previous;
        }
        HWND button = first;
        do {
            if (IsRadio(button)) SendMessageA(button, BM_SETCHECK, button == control ? BST_CHECKED : BST_UNCHECKED, 0);
            button = GetWindow(button, GW_HWNDNEXT);
        } while (button && !(GetWindowLongA(button, GWL_STYLE) & WS_GROUP));
    }
    Notify(dialog_, control, BN_CLICKED);
    return true;
}

bool FwDialogDriver::SetCheck(int id, bool on)
{
    if (!Usable(id)) return false;
    return Checked(id) == on || Click(id);
}

bool FwDialogDriver::Pick(int id, int index)
{
    HWND control = Usable(id);
    if (!control) return false;
    if (ClassOf(control) == "ListBox") {
        SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(dialog_, control, LBN_SELCHANGE);
    } else {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(dialog_, control, CBN_SELCHANGE);
    }
    return true;
}

bool FwDialogDriver::Exists(int id) const { return GetDlgItem(dialog_, id) != nullptr; }

bool FwDialogDriver::Visible(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    return control && Shown(control);
}

bool FwDialogDriver::Enabled(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    return control && IsWindowEnabled(control);
}

bool FwDialogDriver::Checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

std::string FwDialogDriver::Text(int id) const
{
    char text[1024] = {};
    GetDlgItemTextA(dialog_, id, text, sizeof text);
    return text;
}

std::string FwDialogDriver::Caption() const
{
    char text[256] = {};
    GetWindowTextA(dialog_, text, sizeof text);
    return text;
}

int FwDialogDriver::Selection(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    if (!control) return -1;
    const bool list = ClassOf(control) == "ListBox";
    return static_cast<int>(SendMessageA(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

bool FwDialogDriver::Focus(int id)
{
    HWND control = Usable(id);
    if (!control) return false;
    // Focus can only be set from the thread that owns the window: from another process the
    // driver's input is attached to that thread for the call.
    const DWORD owner = GetWindowThreadProcessId(control, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attach = owner != self && AttachThreadInput(self, owner, TRUE);
    if (owner != self) SetForegroundWindow(dialog_);
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    if (attach) AttachThreadInput(self, owner, FALSE);
    return GetFocusOf(control);
}

bool FwDialogDriver::GetFocusOf(HWND control) const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info)) return false;
    // A combo box's focus is on its edit part.
    return info.hwndFocus == control || GetParent(info.hwndFocus) == control;
}

bool FwDialogDriver::HasFocus(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    return control && GetFocusOf(control);
}

bool FwDialogDriver::DoubleClick(int id, int index)
{
    HWND control = Usable(id);
    if (!control || ClassOf(control) != "ListBox") return false;
    if (index < 0 || index >= FwListCount(control)) return false;
    SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(dialog_, control, LBN_SELCHANGE);
    Notify(dialog_, control, LBN_DBLCLK);
    return true;
}

bool FwDialogDriver::TypeInCombo(int id, const std::string& text)
{
    HWND control = Usable(id);
    if (!control || ClassOf(control) != "ComboBox") return false;
    // Typing changes the edit part and drops the list's selection; the combo box tells its dialog
    // CBN_EDITUPDATE before the new text shows and CBN_EDITCHANGE after.
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Notify(dialog_, control, CBN_EDITUPDATE);
    SetWindowTextA(control, text.c_str());
    Notify(dialog_, control, CBN_EDITCHANGE);
    return true;
}

char FwDialogDriver::PasswordChar(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    return control ? static_cast<char>(SendMessageA(control, EM_GETPASSWORDCHAR, 0, 0)) : 0;
}

int FwDialogDriver::Count(int id) const { return FwListCount(GetDlgItem(dialog_, id)); }

std::string FwDialogDriver::ItemText(int id, int index) const { return FwListItemText(GetDlgItem(dialog_, id), index); }

long FwDialogDriver::ItemData(int id, int index) const { return FwListItemData(GetDlgItem(dialog_, id), index); }

bool FwDialogDriver::Pressed(int id) const { return FwBitmapButtonPressed(GetDlgItem(dialog_, id)); }
