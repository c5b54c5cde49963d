#include "shell/win32/app_helpers.h"

#include <commctrl.h>

#include "shell/win32/main_frame.h"
#include "shell/startup_state.h"

int FullScreenState = 0;
HMENU DetachedMenu = nullptr;
const char* const kViewClassName = "Tolvi";

namespace {
int busyFlag = 0;
}  // namespace

CMainFrame* GetMainFrame() { return CMainFrame::Instance(); }

HWND GetTerminalView()
{
    CMainFrame* frame = GetMainFrame();
    return frame && frame->Handle() ? frame->View() : nullptr;
}

void CloseMainWindow()
{
    if (CMainFrame* frame = GetMainFrame()) PostMessageA(frame->Handle(), WM_CLOSE, 0, 0);
}

int SetStatusPane(const char* text, int pane, COLORREF textColor, COLORREF backColor)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->statusBar.Handle()) return 0;
    HWND bar = frame->statusBar.Handle();
    if (textColor == backColor) {
        frame->statusBar.SetPaneText(pane, text);
        UpdateWindow(bar);
        return 1;
    }
    RECT rect;
    if (!frame->statusBar.PaneRect(pane, rect)) return 0;
    InflateRect(&rect, -1, -1);
    HDC dc = GetDC(bar);
    HBRUSH brush = CreateSolidBrush(backColor);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetTextColor(dc, textColor);
    SetBkColor(dc, backColor);
    TextOutA(dc, rect.left, rect.top, text ? text : "", text ? lstrlenA(text) : 0);
    SelectObject(dc, oldFont);
    ReleaseDC(bar, dc);
    return 1;
}

void ShowStatusProgress(int pane, int percent, const char* text, COLORREF color)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->statusBar.Handle()) return;
    if (text && pane > 0) frame->statusBar.SetPaneText(pane - 1, text);
    HWND bar = frame->statusBar.Handle();
    RECT rect;
    if (!frame->statusBar.PaneRect(pane, rect)) return;
    if (percent <= 0) {
        InvalidateRect(bar, &rect, TRUE);
        UpdateWindow(bar);
        return;
    }
    InflateRect(&rect, -2, -1);
    rect.right = rect.left + percent * (rect.right - rect.left) / 100;
    HDC dc = GetDC(bar);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(bar, dc);
}

void SetFrameStyleBits(bool on, LONG bits)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->Handle()) return;
    const LONG style = GetWindowLongA(frame->Handle(), GWL_STYLE);
    SetWindowLongA(frame->Handle(), GWL_STYLE, on ? (style | bits) : (style & ~bits));
    SetWindowPos(frame->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ShowCaption(bool on) { SetFrameStyleBits(on, WS_CAPTION); }
void ShowSystemMenu(bool on) { SetFrameStyleBits(on, WS_SYSMENU); }
void ShowMinMaxBoxes(bool on) { SetFrameStyleBits(on, WS_MINIMIZEBOX | WS_MAXIMIZEBOX); }

void ShowFrameControlBar(bool show, int barId)
{
    CMainFrame* frame = GetMainFrame();
    if (frame && frame->ShowControlBar(barId, show)) FrameRefitPending = 1;
}

void ToggleMenuBar(int)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->Handle()) return;
    if (DetachedMenu) {
        SetMenu(frame->Handle(), DetachedMenu);
        DetachedMenu = nullptr;
    } else {
        DetachedMenu = GetMenu(frame->Handle());
        SetMenu(frame->Handle(), nullptr);
    }
    DrawMenuBar(frame->Handle());
    FrameRefitPending = 1;
}

void SendFrameSysCommand(UINT command)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->Handle()) return;
    const int saved = FullScreenState;
    FullScreenState = 2;
    SendMessageA(frame->Handle(), WM_SYSCOMMAND, command & 0xFFF0, 0);
    FullScreenState = saved;
}

int SetFullScreen(int on)
{
    CMainFrame* frame = GetMainFrame();
    if (!GetTerminalView() || !frame) return 0;
    if (on && !IsZoomed(frame->Handle())) SendFrameSysCommand(SC_MAXIMIZE);
    ShowFrameControlBar(!on, 0xE800);
    ShowMinMaxBoxes(!on);
    ShowSystemMenu(!on);
    ShowCaption(!on);
    ToggleMenuBar(0);
    FullScreenState = on ? 1 : 0;
    return on;
}

void DelayMs(unsigned milliseconds)
{
    const DWORD wait = milliseconds & 0xFFFF;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < wait) Sleep(0);
}

void SetBusyCursor(bool on)
{
    busyFlag = on ? 1 : 0;
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
    if (on) {
        POINT at;
        if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
    }
}

namespace {

struct InstanceCount {
    int count = 0;
    HWND first = nullptr;
};

BOOL CALLBACK CountChild(HWND child, LPARAM data)
{
    auto* counter = reinterpret_cast<InstanceCount*>(data);
    char name[101] = {};
    GetClassNameA(child, name, sizeof name);
    // The child's class name compared over its own length, without case.
    if (name[0] && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, -1, kViewClassName, -1) == CSTR_EQUAL) {
        if (!counter->count) counter->first = child;
        ++counter->count;
    }
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data)
{
    EnumChildWindows(window, CountChild, data);
    return TRUE;
}

}  // namespace

int CountInstances(HWND* first)
{
    InstanceCount counter;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
    if (first) *first = counter.first;
    return counter.count;
}
