#include "fw_dialog_test_hook.h"

#include <commctrl.h>

#include <vector>

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

bool IsListView(HWND control) { return control && ClassOf(control) == WC_LISTVIEWA; }

// Memory in the process that owns a control: a list view's messages carry pointers, which must
// point into the list view's own process when the driver is another one (the end-to-end tests'
// dlgdrive.exe). In the driver's own process it is plain memory of the same kind.
class ControlMemory {
public:
    ControlMemory(HWND control, std::size_t size, bool keep = false) : size_(size), keep_(keep)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(control, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~ControlMemory()
    {
        if (address_ && !keep_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    ControlMemory(const ControlMemory&) = delete;
    ControlMemory& operator=(const ControlMemory&) = delete;

    bool Ok() const { return address_ != nullptr; }
    char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    LPARAM Param(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }
    bool Write(std::size_t offset, const void* data, std::size_t size) const
    {
        SIZE_T done = 0;
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const
    {
        SIZE_T done = 0;
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
    bool keep_;
};

// One cell of a list view row: column `column` of row `index`.
std::string ListViewCell(HWND list, int index, int column)
{
    constexpr std::size_t kChars = 1024;
    ControlMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!memory.Ok()) return {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kChars);
    item.pszText = reinterpret_cast<LPWSTR>(memory.At(sizeof(LVITEMW)));
    memory.Write(0, &item, sizeof item);
    const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), memory.Param());
    if (length <= 0) return {};
    std::vector<wchar_t> wide(static_cast<std::size_t>(length));
    if (!memory.Read(sizeof(LVITEMW), wide.data(), wide.size() * sizeof(wchar_t))) return {};
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), &text[0], bytes, nullptr, nullptr);
    return text;
}

int ListViewCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Selects and focuses a row as a click on it does (the list view tells its dialog LVN_ITEMCHANGED).
bool ListViewPick(HWND list, int index)
{
    if (index < 0 || index >= ListViewCount(list)) return false;
    ControlMemory memory(list, sizeof(LVITEMA));
    if (!memory.Ok()) return false;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    memory.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), memory.Param());
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    memory.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), memory.Param());
    return true;
}

// The double-click notification a list view sends its dialog for a row. Posted, the memory stays
// in the list view's process for the dialog to read later (a few bytes a double-click).
bool ListViewDoubleClick(HWND dialog, HWND list, int index, bool post)
{
    if (!ListViewPick(list, index)) return false;
    ControlMemory memory(list, sizeof(NMITEMACTIVATE), post);
    if (!memory.Ok()) return false;
    NMITEMACTIVATE note = {};
    note.hdr.hwndFrom = list;
    note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    note.hdr.code = NM_DBLCLK;
    note.iItem = index;
    note.iSubItem = 0;
    memory.Write(0, &note, sizeof note);
    if (post)
        return PostMessageA(dialog, WM_NOTIFY, note.hdr.idFrom, memory.Param()) != FALSE;
    SendMessageA(dialog, WM_NOTIFY, note.hdr.idFrom, memory.Param());
    return true;
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
    if (IsListView(control)) return ListViewPick(control, index);
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
    if (IsListView(control))
        return static_cast<int>(SendMessageA(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
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

bool FwDialogDriver::DoubleClick(int id, int index, bool post)
{
    HWND control = Usable(id);
    if (IsListView(control)) return ListViewDoubleClick(dialog_, control, index, post);
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

int FwDialogDriver::Count(int id) const
{
    HWND control = GetDlgItem(dialog_, id);
    return IsListView(control) ? ListViewCount(control) : FwListCount(control);
}

std::string FwDialogDriver::ItemText(int id, int index) const
{
    HWND control = GetDlgItem(dialog_, id);
    if (!IsListView(control)) return FwListItemText(control, index);
    if (index < 0 || index >= ListViewCount(control)) return {};
    HWND header = reinterpret_cast<HWND>(SendMessageA(control, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    std::string text;
    for (int column = 0; column < (columns > 0 ? columns : 1); ++column)
        text += (column ? "\t" : "") + ListViewCell(control, index, column);
    return text;
}

long FwDialogDriver::ItemData(int id, int index) const { return FwListItemData(GetDlgItem(dialog_, id), index); }

bool FwDialogDriver::Pressed(int id) const { return FwBitmapButtonPressed(GetDlgItem(dialog_, id)); }
