// The receive interpreter of the Wyse terminals: codes 8 (WYSE 60, PC keyboard), 9 (WYSE 60,
// ASCII keyboard) and 12 (WYSE 50).
//
// Wyse controls and ESC sequences drive the screen actions; three display pages can be switched;
// the host may program the function keys (into the session's key definitions); ESC [ ... y and
// ESC [ ... i go to the control-sequence executor (host commands, media copy). The ESC state and
// the string-command state live in the session record and the interpreter's buffer, so a stream
// split anywhere gives the same screen.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Feeds one block. Returns the detector's code when an automatic transfer starts (the rest of the
// block is dropped, no repaint), else 2.
int WyseData(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec);

// A control byte below 0x20 (other than ESC).
void WyseControl(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);
// A byte of an open ESC sequence.
void WyseInterpret(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);

// ESC = row column: row and column bytes count from 0x20 (the first); a byte below 0x20 leaves
// the cursor. The cursor always stays inside the screen.
void WyseAddressCursor(SettingsRecord& rec, uint8_t row, uint8_t column);

// ---- Pages: three pages of screen planes, protection and cursor, allocated at the first page
// operation. Without memory for them the page operations do nothing.
int CurrentWysePage();
void WyseSelectPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int page);
void WyseNextPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void WysePreviousPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// All three pages fresh (blank, cursor home); the current page is shown again, blank.
void WyseResetPages(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// Frees the pages; the next page operation starts from page 0 with fresh pages.
void FreeWysePageBuffer();

// ---- Function keys. The key code is looked up in the keyboard's table (PC keyboard for code 8,
// ASCII keyboard for 9 and 12), then in the common one; an unknown code does nothing. An empty
// text restores the key's default; any other text becomes the key's definition in key-string
// notation, sending exactly these bytes.
void WyseProgramKey(const SettingsRecord& rec, uint8_t key, const uint8_t* text, int length);
// Every programmable key of the keyboard back to its default.
void WyseDefaultKeys(const SettingsRecord& rec);
