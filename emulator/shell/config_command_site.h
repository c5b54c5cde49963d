// What the Config menu's commands ask of the program around the session document once a settings
// dialog ended with OK: the main frame's posts, the main window's repaint, refit and closing, the
// busy cursor with the first status pane, and the view's selection. Tolvi's main frame answers
// them; the tests of the commands record them.
#pragma once

#include <string>

class ConfigCommandSite {
public:
    virtual ~ConfigCommandSite() = default;
    // WM_USER+107 to the main frame: the menu of the session's language and its help file.
    virtual void ReloadCountryMenu() = 0;
    // A command posted to the main window (Function Buttons once the button panel is enabled).
    virtual void PostFrameCommand(int command) = 0;
    virtual void RepaintMainWindow() = 0;
    // A maximised main window is laid out anew: its placement set once as normal and once as
    // maximised. Nothing for a window that is not maximised.
    virtual void RefitMaximisedWindow() = 0;
    virtual void CloseMainWindow() = 0;
    virtual void SetBusyCursor(bool on) = 0;
    virtual std::string StatusPaneText() = 0;
    virtual void SetStatusPaneText(const std::string& text) = 0;
    // The view's selection and a pending mouse click are dropped: the screen changed its size
    // or kind under them.
    virtual void DropSelection() = 0;
};
