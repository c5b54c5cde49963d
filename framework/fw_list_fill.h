// Filling a list from the string table: the entries are consecutive strings from a base id,
// paired one by one with a table of values that each entry carries as its item data. The first
// entry whose value equals the setting is selected; with no match nothing is selected, and a list
// without a selection leaves its setting unchanged when the dialog is saved. Window-free: the
// Win32 side (fw_list_fill_win32.h) loads the strings and works the control.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FwListEntry {
    std::string text;
    long value;
};

// The entries for `count` values: text i is strings(baseId + i).
std::vector<FwListEntry> FwListEntries(int baseId, const long* values, std::size_t count,
                                       const std::function<std::string(int)>& strings);
// The index of the first entry carrying `setting`, -1 when none does.
int FwListSelection(const std::vector<FwListEntry>& entries, long setting);
// The setting after the dialog: the selected entry's value, or the setting itself when nothing
// is selected (index -1 or out of range).
long FwListChosenValue(const std::vector<FwListEntry>& entries, int selected, long setting);
