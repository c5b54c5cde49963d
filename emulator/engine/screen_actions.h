// The screen actions: the primitive operations every character-mode interpreter applies to the
// screen planes and terminal state of the session record.
//
// Every action takes the view window (used only by the requests to the view), the record and the
// interpreter's dirty rectangle, which it widens to cover what it changed (dirty_rect.h). Actions
// never fail: arguments beyond the screen are clamped, counts are clamped to the row or region.
// Cell runs are a count and an offset into the visible screen (row x MaxCols + column).
#pragma once

#include <cstdint>

#include "engine/dirty_rect.h"
#include "engine/engine_types.h"
#include "session/session_record.h"

// ---- Hooks to host printing, which is not built yet. Never null; the fallbacks do nothing.
struct HostPrintHooks {
    void (*startPrint)(int mode);  // StartPrint
    void (*endPrint)(int flag);    // EndPrint
};
extern HostPrintHooks PrintHooks;
HostPrintHooks DefaultHostPrintHooks();

// ---- The two fill routines.

// count cells from offset get the character and protection byte, colours NormalFg/NormalBg and
// flags 0. No protection test, no dirty rectangle.
void FillScreenCells(SettingsRecord& rec, int count, int offset, uint8_t character, uint8_t protection);
// The erase that honours protection: a whole-screen count first offers the screen to the history;
// cells protected (byte 1) while ProtectMode is on are skipped; the others get the character and,
// with keepAttributes, keep their colours and the flags 0x71, else take the blank colours and
// flags 0. The protection bytes stay. No dirty rectangle.
void EraseCells(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int count, int offset,
                bool keepAttributes, uint8_t character);

// ---- Cursor motion.
void CarriageReturn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void CursorLeft(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void CursorRight(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// Up n rows, stopping at the top margin (at row 0 when the cursor is already above it); the Wyse
// codes wrap around the screen instead.
void CursorUp(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n);
void CursorUpOne(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// 1-based row and column (0 counts as 1), clamped to the screen.
void CursorPosition(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int row, int column);
void CursorHome(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void TabForward(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void TabBackward(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// Down one row; at the bottom margin the region scrolls up (the top row enters the history).
void LineFeed(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// Up one row inside the region; at the top margin the region scrolls down.
void ReverseIndex(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// ---- Lines and characters.
void InsertLines(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n, int row);
void DeleteLines(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n, int row);
void InsertLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void DeleteLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void InsertBlanks(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n);
void InsertBlank(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void DeleteChars(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n);
void DeleteChar(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// ---- Erasing. The plain erases ignore protection; the Ex forms honour it.
void ClearScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ClearScreenAndHome(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void EraseToEndOfScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void EraseToEndOfScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                          uint8_t character);
void EraseFromStartOfScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty,
                              bool keepAttributes, uint8_t character);
void EraseScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                   uint8_t character);
// From the cursor through the end of its row (the cursor cell always included).
void EraseToEndOfLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                        uint8_t character);
// From column 0 through the cursor cell.
void EraseFromStartOfLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty,
                            bool keepAttributes, uint8_t character);
void EraseLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                 uint8_t character);

// ---- Screen size (ADDS and Wyse): switch, reset the region, clear, home and re-fit the frame.
void SetColumnsAndClear(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int columns);
void SetRowsAndClear(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int rows);

// ---- Tab stops.
// CZolexDoc::ParseTabStops on the record: rebuilds TabStopCount / TabStops from the
// first 255 characters of Tabs (1-based numbers separated by any non-digits). Numbers outside
// 1 .. 132 are ignored; a stop beyond the screen is clamped to MaxCols-1 (131 while MaxCols is not
// a valid width); at most kMaxTabStops stops are stored.
void ParseTabStops(SettingsRecord& rec);

void SetTabStop(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ClearTabStop(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ClearAllTabStops(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// ---- Rendition (SGR) setters; they follow the colour mode (UseHostColor).
void SetBold(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void SetReverse(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void SetUnderline(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void SetBlink(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void SetInvisible(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ResetRendition(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// The attribute character of the Wyse and ADDS terminals, added to the current rendition: codes
// '0'-'?' and 'p'-DEL combine 0x01 invisible, 0x02 blink, 0x04 reverse and 0x08 underline, the 'p'
// row adds bold; other codes set nothing.
void AddAttributeCode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code);

// ---- Cursor display and modes.
void HideCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ShowCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void BlockCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void UnderlineCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void AutoWrapOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void AutoWrapOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void InsertModeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void InsertModeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ProtectModeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ProtectModeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ProtectAttributeOn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void ProtectAttributeOff(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// KeyboardLocked and the "Keyboard locked" indicator.
void SetKeyboardLock(SettingsRecord& rec, int locked);
// The cursor-display codes of the Wyse and ADDS terminals (ESC ` x): 0 hidden, 1 shown, 2 and 5
// block, 3 and 4 underline (with showForStyle the style codes also show the cursor), : 80 and ;
// 132 columns; other codes nothing.
void CursorDisplayCode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code, bool showForStyle);

// ---- Requests to other parts of the program.
void StartHostPrint(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int mode);
void StopHostPrint(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
void RequestPrintScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);
// Shows a host's status-line text (NUL-terminated, changed in place: controls become blanks, the
// rest goes through TranslateChar) in status pane 1.
void ShowStatusText(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, char* text);
// Status pane 2: "Keyboard locked" in red, or empty.
void Set3270KeyboardIndicator(int locked);
