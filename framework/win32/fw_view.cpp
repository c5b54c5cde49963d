#include "fw_view.h"

#include <algorithm>

#include "fw_app.h"
#include "fw_view_frame.h"

void FwViewDocument::AddView(FwView* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void FwViewDocument::RemoveView(FwView* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

void FwViewDocument::UpdateAllViews(FwView* sender, long hint)
{
    // A view may add or remove views while it updates: walk a copy.
    const std::vector<FwView*> views = views_;
    for (FwView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint);
}

FwView::~FwView()
{
    if (document_)
        document_->RemoveView(this);
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

namespace {
constexpr const char* kViewClass = "TolviFwView";
}

bool FwView::Create(HWND parent, int id, FwViewDocument* document, FwViewFrame* frame)
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kViewClass, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kViewClass;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    document_ = document;
    frame_ = frame;
    if (document_)
        document_->AddView(this);
    CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | ExtraStyle(), 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return window_ != nullptr;
}

void FwView::OnUpdate(FwView*, long hint)
{
    if (hint == 0 && window_)
        InvalidateRect(window_, nullptr, TRUE);
}

LRESULT FwView::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK FwView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FwView* view = reinterpret_cast<FwView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        view = static_cast<FwView*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        if (view)
            view->window_ = window;
    }
    if (!view)
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = view->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        view->window_ = nullptr;
    }
    return result;
}

LRESULT FwView::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate();
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click into a view makes it the active view.
        if (frame_)
            frame_->SetActiveView(this);
        break;
    case WM_COMMAND:
        // A command sent to the view runs its own handler; others take the frame's route.
        if (lParam == 0) {
            FwCmdUI ui;
            if (UpdateCommand(LOWORD(wParam), ui)) {
                if (ui.enabled)
                    RunCommand(LOWORD(wParam));
                return 0;
            }
            if (frame_ && frame_->RouteCommand(LOWORD(wParam)))
                return 0;
        }
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
