// The receive interpreter of the dumb teletype (emulation code 7, and every code no other
// interpreter claims): a few controls move the cursor, every other byte (ESC included) is shown.
// Only the character plane is written; colours and flags stay where they are.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Feeds one block. Returns 2.
int DumbInterpret(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec);
