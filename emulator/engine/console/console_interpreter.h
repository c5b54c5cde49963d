// The receive interpreter of the PC-console emulations: codes 4 (SCO console ansi), 5 (AT386
// console) and 6 (uterm), which behave alike.
//
// A reduced sibling of VtInterpret: the same control-sequence executors (called as the console,
// fromVt 0) and host commands, but its own buffers, no 8-bit controls, no character-set
// designation, no status-line capture, no double-width lines, no insert mode and an immediate
// wrap. It adds the console's display of control characters (SGR 11 and 12, CSI p g) and skips
// the ESC Q function-key definitions. All state lives in the session record and the console's
// own buffers, so a stream split anywhere gives the same screen.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Feeds one block. With raw non-zero every byte, ESC and controls included, is shown as a
// character. Returns 2.
int AnsiReceive(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec, int raw);

// CSI p g: shows the character of code `code` at the cursor (the code-page conversion of the
// alternate font for this one character) and advances.
void DisplayConsoleCharacter(ViewWindow window, SettingsRecord& rec, uint8_t code, DirtyRect& dirty);
