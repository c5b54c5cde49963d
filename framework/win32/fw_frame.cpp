#include "fw_frame.h"

#include <commctrl.h>

#include "fw_app.h"

bool FwFrameWnd::Create(const char* className, const char* title, int menuId, HICON icon)
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon ? icon : LoadIcon(nullptr, IDI_APPLICATION);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = className;
        if (!RegisterClassA(&windowClass)) return false;
    }
    defaultMenu_ = menuId ? LoadMenuA(instance, MAKEINTRESOURCEA(menuId)) : nullptr;
    window_ = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, defaultMenu_, instance, this);
    return window_ != nullptr;
}

void FwFrameWnd::ActivateFrame(int showCommand)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

namespace {

// A bar the frame shows: its own visible style, whether or not the frame is shown yet.
bool BarShown(HWND bar) { return bar && (GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

void FwFrameWnd::RecalcLayout()
{
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    int top = client.top, bottom = client.bottom;
    if (BarShown(toolbar.Handle())) {
        SendMessageA(toolbar.Handle(), TB_AUTOSIZE, 0, 0);
        RECT r;
        GetWindowRect(toolbar.Handle(), &r);
        top += r.bottom - r.top;
    }
    if (BarShown(statusBar.Handle())) {
        SendMessageA(statusBar.Handle(), WM_SIZE, 0, 0);
        statusBar.Relayout();
        RECT r;
        GetWindowRect(statusBar.Handle(), &r);
        bottom -= r.bottom - r.top;
    }
    if (view_) MoveWindow(view_, client.left, top, client.right - client.left, bottom > top ? bottom - top : 0, TRUE);
}

bool FwFrameWnd::ShowControlBar(int barId, bool show)
{
    HWND bar = barId == kToolbarId ? toolbar.Handle() : barId == kStatusBarId ? statusBar.Handle() : nullptr;
    if (!bar) return false;
    ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
    return true;
}

bool FwFrameWnd::ControlBarVisible(int barId) const
{
    HWND bar = barId == kToolbarId ? toolbar.Handle() : barId == kStatusBarId ? statusBar.Handle() : nullptr;
    return BarShown(bar);
}

bool FwFrameWnd::RunCommand(int id)
{
    if (RouteRun(id)) return true;
    const auto found = commands_.find(id);
    if (found == commands_.end()) return false;
    if (!Update(id).enabled) return true;
    found->second();
    return true;
}

bool FwFrameWnd::CommandEnabled(int id)
{
    FwCmdUI ui;
    ui.id = id;
    if (RouteUpdate(id, ui)) return ui.enabled;
    if (!updates_.count(id) && !commands_.count(id)) return true;
    return Update(id).enabled;
}

FwCmdUI FwFrameWnd::Update(int id)
{
    FwCmdUI ui;
    ui.id = id;
    if (RouteUpdate(id, ui)) return ui;
    const auto found = updates_.find(id);
    if (found != updates_.end()) found->second(ui);
    else ui.enabled = commands_.count(id) > 0;
    return ui;
}

void FwFrameWnd::UpdateMenu(HMENU menu)
{
    if (!menu) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu) {
            UpdateMenu(info.hSubMenu);
            continue;
        }
        if (info.fType & MFT_SEPARATOR) continue;
        const FwCmdUI ui = Update(static_cast<int>(info.wID));
        EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
        if (ui.checked >= 0)
            CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (ui.checked ? MF_CHECKED : MF_UNCHECKED));
        if (ui.hasText) {
            MENUITEMINFOA text{};
            text.cbSize = sizeof text;
            text.fMask = MIIM_STRING;
            text.dwTypeData = const_cast<char*>(ui.text.c_str());
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &text);
        }
    }
}

void FwFrameWnd::OnIdleUpdate()
{
    if (toolbar.Handle()) {
        for (int i = 0, n = toolbar.ButtonCount(); i < n; ++i) {
            const int command = toolbar.CommandAt(i);
            if (command <= 0) continue;
            const FwCmdUI ui = Update(command);
            toolbar.SetButtonState(command, ui.enabled, ui.checked == 1);
        }
    }
    if (statusBar.Handle()) statusBar.UpdateIndicators();
}

LRESULT FwFrameWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK FwFrameWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FwFrameWnd* frame = reinterpret_cast<FwFrameWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        frame = static_cast<FwFrameWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
        if (frame) frame->window_ = window;
    }
    if (!frame) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = frame->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        frame->window_ = nullptr;
    }
    return result;
}

LRESULT FwFrameWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (message == WM_CREATE) {
        view_ = CreateView();
        if (OnCreate() == -1) return -1;
        RecalcLayout();
        return 0;
    }
    if (OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_INITMENUPOPUP:
        UpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_COMMAND:
        if (RunCommand(LOWORD(wParam))) return 0;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOA) {
            // Tool tips show the command's menu text.
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            static char text[80];
            text[0] = '\0';
            GetMenuStringA(GetMenu(window_), static_cast<UINT>(header->idFrom), text, sizeof text, MF_BYCOMMAND);
            info->lpszText = text;
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
