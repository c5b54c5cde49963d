// What every character-mode interpreter does the same way around its byte loop: the automatic
// transfer check, writing one character into the cell at the cursor, the immediate wrap of the
// non-DEC terminals, and the repaint report at the end of a block.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// One written cell of the visible screen: the character, its colours and flags, and the protection
// of the current attribute.
inline void StoreCell(SettingsRecord& rec, int index, uint8_t character, uint8_t fg, uint8_t bg, uint8_t flags)
{
    rec.CharsScreen[index] = character;
    rec.FgScreen[index] = fg;
    rec.BgScreen[index] = bg;
    rec.FlagsScreen[index] = flags;
    rec.ProtectionPlane[index] = rec.ProtectAttribute;
}

// The automatic file-transfer detector sees received bytes (serial line with transfer type 0, or
// transfer type 2, and AutoDetectReceive on).
bool AutoDetectOn(const SettingsRecord& rec);

// Writes one received byte into the cell at the cursor: PrintedCount + 1, TranslateChar, the
// character, ProtectAttribute, the colours of the rendition (or of the line- and special-graphics
// classes when their settings ask for it in the attribute model), flags := CellFlags plus the
// translation's flags (a blank loses true bold). The dirty rectangle grows by the cell; the cursor
// does not move.
void WriteCellAtCursor(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);

// The cursor after a written character: one column right; in the last column it stays, or with
// auto-wrap a carriage return and line feed follow at once (no pending-wrap state).
void AdvanceAfterCharacter(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// What a block remembers from its start: the cursor, the dirty rectangle (empty) and whether the
// transfer detector watches the bytes.
struct BlockStart {
    int oldCol;
    int oldRow;
    DirtyRect dirty;
    bool detect;
};
BlockStart BeginBlock(const SettingsRecord& rec);
// The detector's code when `detect` is on and it fires on the byte, else 0.
int DetectedTransfer(bool detect, uint8_t byte);

// A run of bytes 0x20-0x7E written as WriteCellAtCursor and AdvanceAfterCharacter would write
// them one by one (each byte value is translated once per run).
void WriteCharacterRun(ViewWindow window, SettingsRecord& rec, const uint8_t* bytes, int n, DirtyRect& dirty);

// The length of the run of bytes 0x20-0x7E at data[i] (at most length - i).
int PlainRunLength(const uint8_t* data, int i, int length);

// A printable byte of the ADDS and Wyse terminals: in insert mode a blank is inserted at the
// cursor first; then the cell is written and the cursor advances.
void WriteInsertedCharacter(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty);

// How the cursor cell is repainted when only the cursor moved.
enum class CursorRepaint {
    Cell,      // the old cursor cell, also when the caret is to be recreated (CursorFlags)
    CornerDot  // one pixel at the old cell's top-left corner; CursorFlags not consulted
};

// The end of a block: hides the caret, invalidates the dirty rectangle moved by the view's
// margins (or, when nothing changed but the cursor, the old cursor cell as `mode` says) and shows
// the caret again.
void ReportBlockRepaint(ViewWindow window, const SettingsRecord& rec, const DirtyRect& dirty, int oldCol, int oldRow,
                        CursorRepaint mode);
inline void EndBlock(ViewWindow window, const SettingsRecord& rec, const BlockStart& block, CursorRepaint mode)
{
    ReportBlockRepaint(window, rec, block.dirty, block.oldCol, block.oldRow, mode);
}
