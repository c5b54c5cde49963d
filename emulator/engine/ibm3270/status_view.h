// The 3270 engine's face toward the view and the status bar: status texts, the keyboard
// indicator, repainting the dirty range, and moving the cursor by mouse.
#pragma once

#include "engine/engine_types.h"

// Status pane 1 in blue on light grey; a null text empties it. With beep also MessageBeep.
void Show3270Status(const char* text, int beep);
// Clears a 3270 message from the status pane when one is shown.
void Clear3270Status();
// Status pane 2: "Keyboard locked" on a full bar, or empty.
void Set3270KeyboardIndicator(int locked);  // with the screen actions (terminal_modes.cpp)
// MessageBeep with the Beep setting.
void Beep3270();
// Invalidates the dirty range (or the old cursor cell), moves the caret, empties the range.
void Flush3270Repaint(ViewWindow window);
// Mouse positioning on (row, column) with the diagnostic text of the clicked cell.
void Move3270Cursor(ViewWindow window, int row, int column);
// Draws character boxes (0x6A, 0x4E, '-') as line graphics.
void Draw3270Boxes();
