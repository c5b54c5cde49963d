#include "dialogs/pick_string_values.h"

std::vector<std::string> PickStringChoices(const KeyMap* keyMap, const KeyDefTable* keyDefs, bool pcKeys)
{
    std::vector<std::string> names;
    if (pcKeys && keyMap) {
        for (const auto& [code, entry] : *keyMap)
            if (!(code & kModifierBits) && entry && !entry->GetName().empty()) names.push_back(entry->GetName());
    } else if (!pcKeys && keyDefs) {
        for (const auto& [name, entry] : *keyDefs)
            if (!name.empty()) names.push_back(name);
    }
    return names;
}
