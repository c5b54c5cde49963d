// The engine's ViewPort in the Windows program: the view window's invalidation, caret and
// messages, and the panes of the frame's status bar (the child window with id 0xE801).
#pragma once

#include <windows.h>

#include "engine/view_port.h"

class Win32ViewPort : public ViewPort {
public:
    // The status bar is looked up under `frame` (none: the status calls do nothing).
    explicit Win32ViewPort(HWND frame = nullptr) : frame_(frame) {}
    void SetFrame(HWND frame) { frame_ = frame; }

    void Invalidate(ViewWindow window, const DirtyRect& rect, bool erase) override;
    void HideCaret(ViewWindow window) override;
    void ShowCaret(ViewWindow window) override;
    void RequestPrintScreen(ViewWindow window) override;
    void SendScaleViewToFont(ViewWindow window) override;
    void SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor) override;
    void ShowStatusProgress(int pane, int percent, const char* text, uint32_t color) override;

    // The frame's status-bar control id.
    static constexpr int kStatusBarId = 0xE801;

private:
    HWND StatusBar() const;
    HWND frame_;
};

// The view window handle an engine ViewWindow stands for, and back.
inline HWND ViewHandle(ViewWindow window) { return reinterpret_cast<HWND>(window); }
inline ViewWindow EngineWindow(HWND window) { return reinterpret_cast<ViewWindow>(window); }
