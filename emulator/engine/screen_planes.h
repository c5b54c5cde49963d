// Screen planes and terminal state.
//
// The four heap planes of the session record (characters, foreground, background, flags), each a
// window of HistoryBytes + kScreenCells bytes: history rows first (oldest at the start), then the
// visible screen. The record's "...Base" pointers are the window starts, the "...Screen" pointers
// base + HistoryCells. The window lies in a larger block and moves on by one row when the whole
// screen scrolls, so a line feed does not copy the history and the screen; readers always go
// through the record's pointers, which stay valid until the next screen action. Plus the full terminal reset, the control-sequence parameter parser and
// the screen-text extractor that the interpreters, copy and DDE share.
//
// Functions named without a record argument work on the process-wide record
// (*Rec); each also has an overload that takes the record, used by the tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// ---- Hooks to other components. Each starts as the default named; the owner (or a test)
// ---- installs its own by assigning the member. Never null.
struct ScreenPlaneHooks {
    // AllocScreenBuffers step 1, and SetColumns when the width changes: empty the view's
    // selection rectangle and its painted copy. Fallback: nothing.
    void (*clearSelection)();
    // ResetTerminal step 7: G0-G3. Default: SetDefaultCharsets (charsets.h).
    void (*setDefaultCharsets)(SettingsRecord& rec);
    // ResetTerminal step 10: the "Keyboard locked" indicator. Default: Set3270KeyboardIndicator
    // (screen_actions.h).
    void (*setKeyboardIndicator)(int locked);
    // GetScreenText in 3270 mode: the field attribute of the field that holds a buffer address
    // (Get3270FieldAttribute). Fallback: 0.
    int (*fieldAttribute)(const SettingsRecord& rec, int address);
};

extern ScreenPlaneHooks PlaneHooks;
// The hooks as they are at load (for tests that restore them).
ScreenPlaneHooks DefaultScreenPlaneHooks();

// ---- Counters.

// The value of PrintedCount when the whole screen was last offered to the history (0 at start).
extern int HistorySavedCount;

// ---- Planes.

// Frees and allocates the four planes for HistoryRows x MaxCols history cells, halving the history
// while memory is short (HistoryRows keeps the asked value). Returns 1, or 0 when not even a
// screen without history could be had (message 83, all pointers null) or when MaxRows x MaxCols
// is not a valid screen (ValidScreenGeometry; no message, all pointers null).
int AllocScreenBuffers(SettingsRecord& rec);
inline int AllocScreenBuffers() { return AllocScreenBuffers(*Rec); }

// Frees the four planes; every plane pointer becomes null.
void FreeScreenBuffers(SettingsRecord& rec);
inline void FreeScreenBuffers() { FreeScreenBuffers(*Rec); }

// Switches the screen width to 80 or 132. Returns the width; 0 when the width is not 80 or 132 or
// the screen would not fit the planes (MaxRows x width > kScreenCells): nothing changes then.
// When the planes are not allocated MaxCols is set and 0 returned. Nothing is moved or cleared.
int SetColumns(SettingsRecord& rec, int columns);
inline int SetColumns(int columns) { return SetColumns(*Rec, columns); }

// Moves the top `rows` screen rows into the history (when HistoryView or UpdateHiddenHistory is
// on) and sets the dirty rectangle to the whole screen (and the history rows in history view).
void ScrollIntoHistory(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int rows);

// The line feed at the bottom of a region that is the whole screen: what ScrollIntoHistory(1)
// (when rows of history exist) and DeleteLines(1, 0) do together, done by moving the planes'
// window on by one row instead of moving the history and the screen. False, with nothing
// changed, when the planes cannot do it that way (no room to move, a region smaller than the
// screen, a history that is not being collected).
bool SlideScreenUp(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// To be called by code that writes plane bytes past the visible screen (whole-plane fills and
// copies): the store learns their contents again before the next slide.
void PlanesRewritten(SettingsRecord& rec);

// Offers the whole visible screen to the history once per change of PrintedCount.
void SaveScreenToHistory(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty);

// ---- Terminal reset.

// The full terminal reset (ESC c, Special/Reset Emulator, connect).
void ResetTerminal(SettingsRecord& rec);
inline void ResetTerminal() { ResetTerminal(*Rec); }

// ---- Control-sequence parameters.

constexpr int kCsiMaxParams = 20;
// A parameter saturates here instead of overflowing.
constexpr int kCsiParamLimit = 32767;

// Parses the parameters of the collected escape sequence `sequence` (starting with ESC, `length`
// bytes; bytes past the length read as NUL, which stops the parse). Stores up to kCsiMaxParams
// values in params and their number in count (always at least 1). Returns the marker: 0, 'P',
// '=', '?' or '"'.
int ParseCsiParams(const uint8_t* sequence, std::size_t length, int& count,
                   int (&params)[kCsiMaxParams], int finalByte);

// ---- Screen text.

struct ScreenTextRequest {
    int tableMode;              // 0 plain, 1 table
    int left;                   // first column
    int top;                    // first screen row (negative rows reach history in history view)
    int width;                  // columns
    int height;                 // rows
    uint8_t separator;          // table mode separator byte (0: runs stay blanks)
    bool removeLeading;         // table mode: drop leading blank cells
    bool removeTrailing;        // table mode: drop trailing blank cells
    bool separatorBetweenRows;  // table mode: rows joined by the separator instead of CR LF
    int singleBlankRule;        // table mode: 0 before '-' or a digit, 1 always, 2 never
};

// Copies a rectangle of screen text into buffer (capacity bytes, always NUL-terminated when
// capacity > 0; text that does not fit is cut). Returns the characters written before the NUL.
// Plain mode needs height x (width + 2) - 1 bytes. Cells outside the planes read as NUL.
std::size_t GetScreenText(const SettingsRecord& rec, char* buffer, std::size_t capacity,
                          const ScreenTextRequest& request);
