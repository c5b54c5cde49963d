#include "dialogs/win32/settings_lists.h"

#include "fw_list_fill_win32.h"

void FillSettingsList(HWND list, const SettingsValueTable& table, long setting)
{
    FwFillList(list, table.baseId, table.values, table.count, setting);
}

void FillIndexList(HWND list, const char* const* texts, int count)
{
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) FwAddListEntry(list, texts[i], i);
}
