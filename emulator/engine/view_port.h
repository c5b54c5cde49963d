// What the window-free engine asks of the terminal view and the status bar.
//
// The engine never touches a window itself: it calls the installed ViewPort. The Windows program
// installs the Win32 one (win32/win32_view_port.h); until then, and in the native tests, a port
// that does nothing stands in. Each call is one window operation, nothing more.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// The view's message for "print the screen" (WM_USER + 110).
constexpr unsigned kPrintScreenMessage = 0x0400 + 110;
// The view command that re-fits the frame to the font and screen size (Scale View to Font).
constexpr unsigned kScaleViewToFontCommand = 32768;

class ViewPort {
public:
    virtual ~ViewPort() = default;

    // Marks a rectangle of the view window (client pixels) for repainting.
    virtual void Invalidate(ViewWindow window, const DirtyRect& rect, bool erase) {}
    virtual void HideCaret(ViewWindow window) {}
    virtual void ShowCaret(ViewWindow window) {}
    // Sends the print-screen message to the view (it prints before the call returns).
    virtual void RequestPrintScreen(ViewWindow window) {}
    // The host changed the screen size: the frame re-fits (SendScaleViewToFont).
    virtual void SendScaleViewToFont(ViewWindow window) {}
    // Text in a status-bar pane; equal colours mean the bar's own colours.
    virtual void SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor) {}
    // Fills the left `percent` of a pane with the colour (0 empties it); a text goes into the pane
    // before it.
    virtual void ShowStatusProgress(int pane, int percent, const char* text, uint32_t color) {}
};

// The installed port (a do-nothing one until a program installs its own; not owned).
ViewPort& View();
void SetViewPort(ViewPort* port);
