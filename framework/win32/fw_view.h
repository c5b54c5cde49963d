// Views of our framework: child windows that show one document, several at once. The document
// keeps its views; UpdateAllViews tells each (but the sender) what changed by a hint. A view is a
// command target of its own and the frame routes commands to the active one first.
#pragma once

#include <windows.h>

#include <vector>

#include "fw_command_target.h"

class FwView;
class FwViewFrame;

// The document side of the views (beside the window-free FwDocument a program derives from).
class FwViewDocument : public FwCommandTarget {
public:
    virtual ~FwViewDocument() = default;
    void AddView(FwView* view);
    void RemoveView(FwView* view);
    const std::vector<FwView*>& Views() const { return views_; }
    // Each view but `sender` gets OnUpdate(sender, hint).
    void UpdateAllViews(FwView* sender, long hint = 0);

private:
    std::vector<FwView*> views_;
};

class FwView : public FwCommandTarget {
public:
    virtual ~FwView();
    FwView(const FwView&) = delete;
    FwView& operator=(const FwView&) = delete;

    // Creates the view window as a child of `parent` with the control id.
    bool Create(HWND parent, int id, FwViewDocument* document, FwViewFrame* frame);
    HWND Handle() const { return window_; }
    FwViewDocument* Document() const { return document_; }
    FwViewFrame* Frame() const { return frame_; }

    // After every view exists (before the frame shows).
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    // A change of the document: hint 0 repaints by default.
    virtual void OnUpdate(FwView* sender, long hint);
    // The view became the active view (true) or stopped being it.
    virtual void OnActivateView(bool active) {}

protected:
    FwView() = default;
    // WM_CREATE; -1 fails the creation.
    virtual int OnCreate() { return 0; }
    // Messages the view handles; true when handled (result in `result`).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // Window style bits beyond WS_CHILD | WS_VISIBLE.
    virtual DWORD ExtraStyle() const { return 0; }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    FwViewDocument* document_ = nullptr;
    FwViewFrame* frame_ = nullptr;
};
