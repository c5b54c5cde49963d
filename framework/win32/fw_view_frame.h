// A frame window with several views of one document: a toolbar, an optional second status bar
// under it (a bar of panes such as the current folders), the status bar at the bottom, and a
// pane window (usually a splitter) that holds the views. One view is the active view: it has the
// keyboard focus, commands go to it first, then to the document, the frame and the application,
// and update handlers follow it. F6 and Shift+F6 move between the views; an accelerator table
// turns keys into commands.
#pragma once

#include <vector>

#include "fw_frame.h"
#include "fw_view.h"

// The framework's commands to move to the next and the previous pane.
constexpr int kFwNextPane = 0xE150;
constexpr int kFwPrevPane = 0xE151;

class FwViewFrame : public FwFrameWnd {
public:
    FwViewFrame();

    void SetDocument(FwViewDocument* document) { document_ = document; }
    FwViewDocument* Document() const { return document_; }
    // The application's link of the route (after the frame), or none.
    void SetAppTarget(FwCommandTarget* target) { appTarget_ = target; }

    FwView* ActiveView() const { return activeView_; }
    void SetActiveView(FwView* view);
    // The views in the order F6 visits them.
    void SetPaneOrder(std::vector<FwView*> views) { paneOrder_ = std::move(views); }
    void ActivateNextPane(bool previous);

    // Loads the accelerator table (translated before each message is dispatched).
    void LoadAcceleratorTable(int resourceId);
    bool PreTranslate(MSG& message) override;

    // The window between the bars (a splitter, or one view's window).
    void SetPaneWindow(HWND window) { paneWindow_ = window; }
    void LayoutFrame();

    // The command route: active view, document, frame, application.
    bool RouteCommand(int id);

    // The second status bar, at the top under the toolbar (not created by default).
    FwStatusBar topBar;

    // The frame's own link of the route (handlers of frame commands).
    FwCommandTarget frameCommands;

protected:
    bool RouteUpdate(int id, FwCmdUI& ui) override;
    bool RouteRun(int id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    FwViewDocument* document_ = nullptr;
    FwCommandTarget* appTarget_ = nullptr;
    FwView* activeView_ = nullptr;
    std::vector<FwView*> paneOrder_;
    HACCEL accelerators_ = nullptr;
    HWND paneWindow_ = nullptr;
};
