// Filling a settings dialog's list from a value table of the session's list settings.
#pragma once

#include <windows.h>

#include "dialogs/settings_value_tables.h"

// Empties the list and fills it from the table's strings; selects the first entry carrying
// `setting` (none when no entry does).
void FillSettingsList(HWND list, const SettingsValueTable& table, long setting);
// Empties the list and fills it with the texts, whose item data is their index.
void FillIndexList(HWND list, const char* const* texts, int count);
