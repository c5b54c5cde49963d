// The receive interpreter of the ADDS Viewpoint (emulation code 11).
//
// Controls move the cursor and switch protection, 0x10 and 0x0B are followed by a column and a
// row address byte, ESC sequences erase, edit, set the rendition and pass ESC [ ... y (host
// commands) and ESC [ ... i (media copy) on. State lives in the session record (SequenceLength:
// -1 column byte next, -2 row byte next, positive the collected ESC sequence) and in the
// interpreter's own buffer, so a stream split anywhere gives the same screen.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Feeds one block. Returns the automatic-transfer detector's code when it fires (the rest of the
// block is dropped, no repaint), else 2.
int AddsReceive(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec);

// A control byte below 0x20 (other than ESC).
void AddsControl(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);
// A byte of an open ESC sequence (SequenceLength positive).
void AddsEscape(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);
// The column (SequenceLength -1) or row (-2) address byte.
void AddsAddressByte(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);
