#include "engine/win32/win32_view_port.h"

#include <commctrl.h>

namespace {

// The rectangle of a status-bar pane, or false when the bar has no such pane.
bool PaneRect(HWND bar, int pane, RECT& rect)
{
    if (pane < 0) return false;
    return SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&rect)) != 0;
}

void SetPaneText(HWND bar, int pane, const char* text)
{
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text ? text : ""));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    if (HBRUSH brush = CreateSolidBrush(color)) {
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
}

}  // namespace

HWND Win32ViewPort::StatusBar() const { return frame_ ? GetDlgItem(frame_, kStatusBarId) : nullptr; }

void Win32ViewPort::Invalidate(ViewWindow window, const DirtyRect& rect, bool erase)
{
    const RECT r = {rect.left, rect.top, rect.right, rect.bottom};
    InvalidateRect(ViewHandle(window), &r, erase ? TRUE : FALSE);
}

void Win32ViewPort::HideCaret(ViewWindow window) { ::HideCaret(ViewHandle(window)); }

void Win32ViewPort::ShowCaret(ViewWindow window) { ::ShowCaret(ViewHandle(window)); }

void Win32ViewPort::RequestPrintScreen(ViewWindow window)
{
    SendMessageA(ViewHandle(window), kPrintScreenMessage, 0, 0);
}

void Win32ViewPort::SendScaleViewToFont(ViewWindow window)
{
    SendMessageA(ViewHandle(window), WM_COMMAND, kScaleViewToFontCommand, 0);
}

void Win32ViewPort::SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor)
{
    HWND bar = StatusBar();
    if (!bar) return;
    SetPaneText(bar, pane, text);
    if (textColor == backColor) {
        UpdateWindow(bar);
        return;
    }
    // Own colours: the pane is painted by hand, inside its border.
    RECT rect;
    if (!PaneRect(bar, pane, rect)) return;
    UpdateWindow(bar);
    InflateRect(&rect, -1, -1);
    HDC dc = GetDC(bar);
    if (!dc) return;
    FillSolid(dc, rect, backColor);
    SetTextColor(dc, textColor);
    SetBkColor(dc, backColor);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    const char* t = text ? text : "";
    TextOutA(dc, rect.left, rect.top, t, lstrlenA(t));
    SelectObject(dc, oldFont);
    ReleaseDC(bar, dc);
}

void Win32ViewPort::ShowStatusProgress(int pane, int percent, const char* text, uint32_t color)
{
    HWND bar = StatusBar();
    if (!bar) return;
    if (text && pane > 0) SetPaneText(bar, pane - 1, text);
    RECT rect;
    if (!PaneRect(bar, pane, rect)) return;
    if (percent <= 0) {
        InvalidateRect(bar, &rect, TRUE);
        UpdateWindow(bar);
        return;
    }
    UpdateWindow(bar);
    InflateRect(&rect, -2, -1);
    if (percent > 100) percent = 100;
    rect.right = rect.left + (rect.right - rect.left) * percent / 100;
    HDC dc = GetDC(bar);
    if (!dc) return;
    FillSolid(dc, rect, color);
    ReleaseDC(bar, dc);
}
