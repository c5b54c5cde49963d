#include "fw_view_frame.h"

#include <algorithm>
#include <commctrl.h>

#include "fw_app.h"

FwViewFrame::FwViewFrame()
{
    frameCommands.OnCommand(kFwNextPane, [this] { ActivateNextPane(false); });
    frameCommands.OnCommand(kFwPrevPane, [this] { ActivateNextPane(true); });
}

void FwViewFrame::SetActiveView(FwView* view)
{
    if (view != activeView_) {
        FwView* old = activeView_;
        activeView_ = view;
        if (old)
            old->OnActivateView(false);
        if (view)
            view->OnActivateView(true);
    }
    // The active view takes the keyboard unless a child of it has it already.
    if (view && view->Handle()) {
        HWND focus = GetFocus();
        if (focus != view->Handle() && !IsChild(view->Handle(), focus))
            SetFocus(view->Handle());
    }
}

void FwViewFrame::ActivateNextPane(bool previous)
{
    if (paneOrder_.empty())
        return;
    auto at = std::find(paneOrder_.begin(), paneOrder_.end(), activeView_);
    std::size_t index = at == paneOrder_.end() ? 0 : static_cast<std::size_t>(at - paneOrder_.begin());
    const std::size_t n = paneOrder_.size();
    index = at == paneOrder_.end() ? 0 : (previous ? index + n - 1 : index + 1) % n;
    SetActiveView(paneOrder_[index]);
}

void FwViewFrame::LoadAcceleratorTable(int resourceId)
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    accelerators_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
}

bool FwViewFrame::PreTranslate(MSG& message)
{
    if (!accelerators_ || !Handle())
        return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))
        return false;
    return TranslateAcceleratorA(Handle(), accelerators_, &message) != 0;
}

void FwViewFrame::LayoutFrame()
{
    if (!Handle())
        return;
    RECT client;
    GetClientRect(Handle(), &client);
    int top = client.top, bottom = client.bottom;
    if (statusBar.Handle() && IsWindowVisible(statusBar.Handle())) {
        SendMessageA(statusBar.Handle(), WM_SIZE, 0, 0);
        statusBar.Relayout();
        RECT r;
        GetWindowRect(statusBar.Handle(), &r);
        bottom -= r.bottom - r.top;
    }
    if (toolbar.Handle() && IsWindowVisible(toolbar.Handle())) {
        SendMessageA(toolbar.Handle(), TB_AUTOSIZE, 0, 0);
        RECT r;
        GetWindowRect(toolbar.Handle(), &r);
        top += r.bottom - r.top;
    }
    if (topBar.Handle() && IsWindowVisible(topBar.Handle())) {
        // The bar at the top does not place itself: it is as high as the status bar (or, without
        // one, as a menu bar and its borders).
        int height = GetSystemMetrics(SM_CYMENU) + 4;
        if (statusBar.Handle()) {
            RECT r;
            GetWindowRect(statusBar.Handle(), &r);
            if (r.bottom > r.top)
                height = r.bottom - r.top;
        }
        MoveWindow(topBar.Handle(), client.left, top, client.right - client.left, height, TRUE);
        topBar.Relayout();
        top += height;
    }
    if (paneWindow_)
        MoveWindow(paneWindow_, client.left, top, client.right - client.left, bottom > top ? bottom - top : 0, TRUE);
}

bool FwViewFrame::RouteCommand(int id) { return RunCommand(id); }

bool FwViewFrame::RouteUpdate(int id, FwCmdUI& ui)
{
    for (FwCommandTarget* target : {static_cast<FwCommandTarget*>(activeView_),
                                    static_cast<FwCommandTarget*>(document_), &frameCommands, appTarget_})
        if (target && target->UpdateCommand(id, ui))
            return true;
    return false;
}

bool FwViewFrame::RouteRun(int id)
{
    for (FwCommandTarget* target : {static_cast<FwCommandTarget*>(activeView_),
                                    static_cast<FwCommandTarget*>(document_), &frameCommands, appTarget_})
        if (target && target->Handles(id)) {
            FwCmdUI ui;
            target->UpdateCommand(id, ui);
            if (!ui.enabled)
                return true;
            target->RunCommand(id);
            return true;
        }
    return false;
}

bool FwViewFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        LayoutFrame();
        result = 0;
        return true;
    case WM_SETFOCUS:
        if (activeView_)
            SetActiveView(activeView_);
        result = 0;
        return true;
    default:
        return false;
    }
}
