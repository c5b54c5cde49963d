// The frame window of our framework: a top-level window with an optional toolbar and status bar
// around one view window, command routing with update handlers for menu items and toolbar buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "fw_bars.h"

// What an update handler may change about one command's menu item or toolbar button.
struct FwCmdUI {
    int id = 0;
    bool enabled = true;
    int checked = -1;  // -1 untouched, 0 or 1
    bool hasText = false;
    std::string text;
    void Enable(bool on) { enabled = on; }
    void SetCheck(int on) { checked = on ? 1 : 0; }
    void SetText(const std::string& t)
    {
        text = t;
        hasText = true;
    }
};

class FwFrameWnd {
public:
    virtual ~FwFrameWnd() = default;

    // Registers the class (once) and creates the window with the given menu resource.
    bool Create(const char* className, const char* title, int menuId, HICON icon);
    HWND Handle() const { return window_; }
    HWND View() const { return view_; }

    // Shows the window; the first call is where a program restores its placement.
    virtual void ActivateFrame(int showCommand);
    // Lays out the bars and the view in the client area.
    void RecalcLayout();
    // Shows or hides the bar of that id (a toolbar or status bar of this frame).
    bool ShowControlBar(int barId, bool show);
    bool ControlBarVisible(int barId) const;

    // Command routing: a handler per command id, and update handlers asked before a menu opens and
    // at idle time for the toolbar buttons.
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnUpdate(int id, std::function<void(FwCmdUI&)> handler) { updates_[id] = std::move(handler); }
    bool RunCommand(int id);
    // Whether the command's rule lets it run now; true for a command the frame knows nothing of.
    bool CommandEnabled(int id);
    bool HasCommandHandler(int id) const { return commands_.count(id) > 0; }
    void UpdateMenu(HMENU menu);
    void OnIdleUpdate();
    virtual bool PreTranslate(MSG&) { return false; }

    HMENU DefaultMenu() const { return defaultMenu_; }

    FwToolBar toolbar;
    FwStatusBar statusBar;

protected:
    // WM_CREATE after the window exists; -1 fails the creation.
    virtual int OnCreate() { return 0; }
    // Messages the program handles itself; return true when handled (result in result).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // Creates the view window, a child of the frame.
    virtual HWND CreateView() { return nullptr; }
    // Links of a command route asked before the frame's own handlers (frames with views).
    virtual bool RouteUpdate(int id, FwCmdUI& ui) { return false; }
    virtual bool RouteRun(int id) { return false; }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    FwCmdUI Update(int id);

    HWND window_ = nullptr;
    HWND view_ = nullptr;
    HMENU defaultMenu_ = nullptr;
    std::map<int, std::function<void()>> commands_;
    std::map<int, std::function<void(FwCmdUI&)>> updates_;
};
