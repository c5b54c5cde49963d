// Painting a screen button: its face, its text and its 3-D frame (raised, sunken while pressed).
#pragma once

#include <windows.h>

#include "shell/dyn_buttons.h"

// Paints `button` at `r` (the button's rectangle in the DC's coordinates).
void PaintDynButton(HDC dc, const DynButton& button, const ButtonRect& r);
