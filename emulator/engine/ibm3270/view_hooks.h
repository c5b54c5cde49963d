// What the 3270 engine needs of the terminal view and the system: invalidating cells, the caret,
// the beep and starting programs. The Win32 view installs its own; the defaults do nothing
// (WinExec fallback reports failure code 2, "file not found").
#pragma once

#include "engine/engine_types.h"

struct Tn3270ViewHooks {
    // Invalidates a rectangle of the view in client pixels (right and bottom exclusive).
    void (*invalidate)(ViewWindow window, int left, int top, int right, int bottom);
    void (*hideCaret)(ViewWindow window);
    void (*showCaret)(ViewWindow window);
    // The view's margins around the cell area, in pixels.
    int (*leftMargin)(ViewWindow window);
    int (*topMargin)(ViewWindow window);
    // MessageBeep with a sound type.
    void (*beep)(int soundType);
    // WinExec: starts a command line with a show mode; returns the code (< 32 is a failure).
    int (*winExec)(const char* commandLine, int showMode);
};

extern Tn3270ViewHooks ViewHooks3270;
Tn3270ViewHooks Default3270ViewHooks();
