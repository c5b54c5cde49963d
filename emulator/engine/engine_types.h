// Small types shared by the engine's screen actions and the view.
#pragma once

// The dirty rectangle of a received block, in view pixels. An interpreter starts it as
// left 32000, top 32000, right 0, bottom 0 (empty while right is 0); actions widen it.
struct DirtyRect {
    int left;
    int top;
    int right;
    int bottom;
};

// The empty dirty rectangle an interpreter starts each block with.
constexpr DirtyRect kEmptyDirtyRect = {32000, 32000, 0, 0};

// The view window, opaque to the engine (the Win32 view passes its HWND cast to this type; the
// engine only hands it on).
struct ViewWindowTag;
using ViewWindow = ViewWindowTag*;
