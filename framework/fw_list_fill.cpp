#include "fw_list_fill.h"

std::vector<FwListEntry> FwListEntries(int baseId, const long* values, std::size_t count,
                                       const std::function<std::string(int)>& strings)
{
    std::vector<FwListEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) entries.push_back({strings(baseId + static_cast<int>(i)), values[i]});
    return entries;
}

int FwListSelection(const std::vector<FwListEntry>& entries, long setting)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].value == setting) return static_cast<int>(i);
    return -1;
}

long FwListChosenValue(const std::vector<FwListEntry>& entries, int selected, long setting)
{
    if (selected < 0 || static_cast<std::size_t>(selected) >= entries.size()) return setting;
    return entries[static_cast<std::size_t>(selected)].value;
}
