// Engine operations the connection code calls that the engine's own headers do not declare yet.
#pragma once

#include "engine/engine_types.h"
#include "shell/session_record.h"

// Blanks the visible screen in the erase colours and widens dirty to the whole screen.
void ClearScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
