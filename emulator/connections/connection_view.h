// What the connection code needs of the terminal view and the application around it. The Win32
// view implements it; until one is installed a quiet default does nothing (and answers "no").
#pragma once

#include <cstddef>

#include "engine/engine_types.h"

class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    // The active terminal view's window (used when an operation gets no window).
    virtual ViewWindow Window() { return nullptr; }
    // Rebuilds the window title from the session state (connecting, disconnected, ...).
    virtual void RefreshTitle() {}
    // One idle pass of the application, so title and tool bar show the new state.
    virtual void IdlePass() {}
    // "Connection in progress.   Abort?" with Yes/No; true for Yes.
    virtual bool ConfirmAbortConnect() { return false; }
    // The Host Name dialog preset with host; true on OK with the new name in host.
    virtual bool AskHostName(char* host, std::size_t size) { return false; }
    // Posts WM_CLOSE to the main window.
    virtual void PostCloseMainWindow() {}
    // Posts a WM_COMMAND to the main window (runs after the current receive processing).
    virtual void PostFrameCommand(unsigned command) {}
    // Invalidates the screen area (without erase) / the whole view; updates the view window.
    virtual void InvalidateScreen() {}
    virtual void UpdateView() {}
    // The hourglass cursor on or off.
    virtual void SetBusyCursor(bool on) {}
    // Gives the view the keyboard focus, or takes it away.
    virtual void SetViewFocus(bool on) {}
    // Busy wait on the calling thread; no messages are processed meanwhile.
    virtual void DelayMs(int milliseconds) {}
    // A status-bar pane text in colours (RGB values).
    virtual void SetStatusPane(const char* text, int pane, unsigned textColor, unsigned backColor) {}
};

ConnectionView& ConnView();
// Installs the view (not owned); null puts the quiet default back.
void SetConnectionView(ConnectionView* view);
