// The names "Pick a string" offers: the PC keys of the keyboard map or the terminal keys of the
// key definitions, window-free.
#pragma once

#include <string>
#include <vector>

#include "session/key_tables.h"

// pcKeys: the names of the keyboard map's keys pressed without Shift, Ctrl or Alt; otherwise the
// names of the terminal key definitions. Empty names are left out; a missing table gives none.
std::vector<std::string> PickStringChoices(const KeyMap* keyMap, const KeyDefTable* keyDefs, bool pcKeys);
