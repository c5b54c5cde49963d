// Temporary definitions of engine operations that are being built elsewhere, so that the
// connection code links on its own. Delete this file when the engine provides them.
#include "connections/engine_calls.h"

void ClearScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) {}
