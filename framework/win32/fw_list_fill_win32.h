// Lists and combo boxes filled from the string table and a value table (fw_list_fill.h): each
// entry carries its value as item data, the first entry with the setting's value is selected, and
// a list without a selection keeps its setting when the dialog is saved.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "fw_data_exchange.h"

// The string of the program's string table, empty when there is none.
std::string FwLoadString(int id);

// Empties the list or combo box `control` and fills it with strings baseId ... baseId+count-1
// paired with values; selects the first entry whose value is `setting` (none when no entry has
// it). Returns the selected index, -1 for none.
int FwFillList(HWND control, int baseId, const long* values, std::size_t count, long setting);

// List or combo box helpers, whichever class the control is.
int FwAddListEntry(HWND control, const std::string& text, long value);
int FwListCount(HWND control);
long FwListItemData(HWND control, int index);
std::string FwListItemText(HWND control, int index);
int FwListCurSel(HWND control);
void FwListSetCurSel(HWND control, int index);
// Selects the first entry carrying `value`; none when no entry does. Returns the index or -1.
int FwSelectListValue(HWND control, long value);

// Data exchange of the value of a list filled so: loading selects the first entry with the value
// (none when no entry has it); saving takes the selected entry's value and keeps `value` when
// nothing is selected.
void DDX_ListValue(FwDataExchange& dx, int id, long& value);
void DDX_ListValue(FwDataExchange& dx, int id, int& value);
