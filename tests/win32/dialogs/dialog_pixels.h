// Reading what a dialog painted, for the dialog tests: pixels of its client area after a full
// repaint, and a screenshot kept for a person to look at.
#pragma once

#include <windows.h>

#include <string>

// Repaints the dialog and its controls now.
void RepaintNow(HWND dialog);
// The colour (0x00BBGGRR) of a pixel of the dialog's client area.
COLORREF DialogPixel(HWND dialog, int x, int y);
// True when some pixel of the rectangle (client coordinates) has the colour.
bool AnyPixel(HWND dialog, const RECT& area, COLORREF colour);
// The rectangle of a control in the dialog's client coordinates.
RECT ItemRect(HWND dialog, int id);
// Writes the dialog window as a PNG to `name` in the current folder.
void KeepScreenshot(HWND dialog, const std::string& name);
