#include "fw_list_fill_win32.h"

#include <vector>

#include "fw_app.h"
#include "fw_list_fill.h"

namespace {

bool IsListBox(HWND control)
{
    char name[32] = {};
    GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "ListBox") == 0;
}

struct ListMessages {
    UINT reset, add, setData, getData, getText, getTextLength, count, getSel, setSel;
};

const ListMessages& MessagesOf(HWND control)
{
    static const ListMessages list{LB_RESETCONTENT, LB_ADDSTRING, LB_SETITEMDATA, LB_GETITEMDATA, LB_GETTEXT,
                                   LB_GETTEXTLEN, LB_GETCOUNT, LB_GETCURSEL, LB_SETCURSEL};
    static const ListMessages combo{CB_RESETCONTENT, CB_ADDSTRING, CB_SETITEMDATA, CB_GETITEMDATA, CB_GETLBTEXT,
                                    CB_GETLBTEXTLEN, CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL};
    return IsListBox(control) ? list : combo;
}

}  // namespace

std::string FwLoadString(int id)
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    char text[1024] = {};
    const int length = LoadStringA(instance, static_cast<UINT>(id), text, sizeof text);
    return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

int FwFillList(HWND control, int baseId, const long* values, std::size_t count, long setting)
{
    if (!control) return -1;
    SendMessageA(control, MessagesOf(control).reset, 0, 0);
    const std::vector<FwListEntry> entries = FwListEntries(baseId, values, count, FwLoadString);
    for (const FwListEntry& entry : entries) FwAddListEntry(control, entry.text, entry.value);
    const int selected = FwListSelection(entries, setting);
    FwListSetCurSel(control, selected);
    return selected;
}

int FwAddListEntry(HWND control, const std::string& text, long value)
{
    const ListMessages& m = MessagesOf(control);
    const LRESULT index = SendMessageA(control, m.add, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendMessageA(control, m.setData, static_cast<WPARAM>(index), static_cast<LPARAM>(value));
    return static_cast<int>(index);
}

int FwListCount(HWND control) { return control ? static_cast<int>(SendMessageA(control, MessagesOf(control).count, 0, 0)) : 0; }

long FwListItemData(HWND control, int index)
{
    return control ? static_cast<long>(SendMessageA(control, MessagesOf(control).getData, static_cast<WPARAM>(index), 0)) : -1;
}

std::string FwListItemText(HWND control, int index)
{
    if (!control) return {};
    // Read as UTF-16 and converted here: the wide messages also reach a list of another process
    // whole (a test driver's), where the narrow ones may come back cut.
    const ListMessages& m = MessagesOf(control);
    const LRESULT length = SendMessageW(control, m.getTextLength, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(control, m.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
    if (got <= 0) return {};
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(got), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(got), &text[0], bytes, nullptr, nullptr);
    return text;
}

int FwListCurSel(HWND control) { return control ? static_cast<int>(SendMessageA(control, MessagesOf(control).getSel, 0, 0)) : -1; }

void FwListSetCurSel(HWND control, int index)
{
    if (control) SendMessageA(control, MessagesOf(control).setSel, static_cast<WPARAM>(index), 0);
}

int FwSelectListValue(HWND control, long value)
{
    const int count = FwListCount(control);
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i)
        if (FwListItemData(control, i) == value) found = i;
    FwListSetCurSel(control, found);
    return found;
}

void DDX_ListValue(FwDataExchange& dx, int id, long& value)
{
    if (!dx.Begin(id)) return;
    HWND control = GetDlgItem(dx.dialog, id);
    if (!control) return;
    if (!dx.saving) {
        FwSelectListValue(control, value);
        return;
    }
    const int selected = FwListCurSel(control);
    if (selected >= 0) value = FwListItemData(control, selected);
}

void DDX_ListValue(FwDataExchange& dx, int id, int& value)
{
    long wide = value;
    DDX_ListValue(dx, id, wide);
    value = static_cast<int>(wide);
}
