// The receive interpreter of the DEC-style emulations (codes 1 vt100, 2 vt220, 3 tm220, 10 vt320).
//
// VtInterpret takes a block of received bytes and applies it to the session record and its
// screen planes. All parser state lives in the record (SequenceLength, PendingIntermediate,
// StringCommandNumber, ...) and in the single VtBuffers instance, so a stream split at any byte
// boundary gives the same screen as the whole stream.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Feeds one block. Returns 1 when the automatic file-transfer detector fired (the rest of the
// block is dropped, no repaint is done), else 2.
int VtInterpret(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec);

// One C0 control byte (below 0x20). fromVt is handed on to the line actions.
void ExecuteC0Control(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty, int fromVt);
// The byte after ESC. With fromVt 0 (the ANSI console) the VT-only entries do nothing.
void ExecuteEscape(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty, int fromVt);
// The byte after ESC #: line attributes of the cursor row (double width / height).
void ExecuteLineAttribute(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);

// Writes one printable byte at the cursor (translation, insert mode, colours, double-width
// lines, auto-wrap).
void WriteVtCharacter(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);
// The same for a run of bytes 0x20-0x7E in the ground state, byte by byte with the same result.
void WriteVtRun(ViewWindow window, SettingsRecord& rec, const uint8_t* bytes, int n, DirtyRect& dirty);

// Removes, in place, every escape sequence, every byte below 0x20, every blank followed by a
// blank, and leading and trailing blanks of a NUL-terminated text.
void StripSequences(char* text);
// The length of the escape sequence that starts (with ESC) at text[0]; text is NUL-terminated.
std::size_t SequenceSpan(const char* text);

// Forgets every half-parsed sequence, string, status-line capture and printer-off match (the
// modes themselves, printer controller and capture, end too).
void ResetParserState(SettingsRecord& rec);
