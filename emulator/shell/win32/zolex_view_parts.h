// What the terminal view's own source files (zolex_view*.cpp) share: the keyboard's command ids
// and the view's palette.
#pragma once

#include <windows.h>

constexpr int kCmdHistoryScrollback = 32837;
constexpr int kSerialComType = 0;

// The view's logical palette, made once per process on displays of 256 colours or fewer (a
// display of more colours needs none).
extern HPALETTE ScreenPalette;
void MakeScreenPalette(HDC dc);

// A ColorPalette entry as a GDI colour; an index outside the palette is clamped into it.
COLORREF PaletteColor(int index);
