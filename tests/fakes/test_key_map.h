// Keyboard-map entries for tests: a PC key with its name, modifiers and value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "session/key_tables.h"

inline void AddTestKey(KeyMap& map, uint16_t code, uint16_t modifiers, const std::string& name, const std::string& value)
{
    auto key = std::make_unique<KeyMapEntry>();
    key->SetName(name);
    key->SetValue(value);
    key->SetModifiers(modifiers);
    map.SetEntry(static_cast<uint16_t>(code | modifiers), std::move(key));
}
