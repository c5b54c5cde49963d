// The terminal view's mouse and clipboard: the mouse messages go to the tracker (the view is its
// MouseHost); Copy, Copy Table and Paste move text between the selection, the clipboard and the
// host.
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "dialogs/win32/copy_table_dialog.h"
#include "engine/charsets.h"
#include "session/messages.h"
#include "session/session_record.h"
#include "shell/clipboard_text.h"
#include "shell/session_document.h"
#include "view_dialog_ids.h"

namespace {

constexpr UINT_PTR kAutoScrollTimer = 2024;
constexpr int kOutOfMemory = 65;
constexpr int kClipboardLocked = 66;

HCURSOR CursorOf(MouseCursor cursor)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    switch (cursor) {
    case MouseCursor::IBeam: return LoadCursor(nullptr, IDC_IBEAM);
    case MouseCursor::Cross: return LoadCursor(nullptr, IDC_CROSS);
    case MouseCursor::Button: return LoadCursor(instance, MAKEINTRESOURCE(IDC_CURSOR_BUTTON));
    case MouseCursor::Transfer: return LoadCursor(instance, MAKEINTRESOURCE(IDC_CURSOR_TRANSFER));
    case MouseCursor::Arrow: break;
    }
    return LoadCursor(nullptr, IDC_ARROW);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The tracker's host.

ViewExtent CZolexView::Extent()
{
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    const int rows = Rec->HistoryView ? Rec->HistoryRowsAlloc : 0;
    return ViewExtent{client.right, client.bottom, static_cast<int>(docSize_.cx),
                      static_cast<int>(docSize_.cy) + rows * Rec->CellHeight};
}

void CZolexView::InvalidateClient(const PixelRect& r)
{
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    if (window_) InvalidateRect(window_, &rect, FALSE);
}

void CZolexView::UpdateNow()
{
    if (window_) UpdateWindow(window_);
}

void CZolexView::CaptureMouse(bool on)
{
    if (on) SetCapture(window_);
    else if (GetCapture() == window_) ReleaseCapture();
}

void CZolexView::SetCursor(MouseCursor cursor)
{
    cursor_ = CursorOf(cursor);
    ::SetCursor(cursor_);
}

void CZolexView::StartAutoScroll() { SetTimer(window_, kAutoScrollTimer, 100, nullptr); }

void CZolexView::StopAutoScroll() { ::KillTimer(window_, kAutoScrollTimer); }

void CZolexView::SendMouseClick(CellPoint cell, int kind)
{
    const std::string none;
    ::SendMouseClick(Window(), cell, kind, doc_ ? doc_->strings.MouseClick : none,
                     doc_ ? doc_->strings.MouseDoubleClick : none);
}

// The mouse messages; false for the ones that go on to the default handling.
bool CZolexView::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        mouse_.LeftDown(x, y);
        return true;
    case WM_LBUTTONDBLCLK: mouse_.LeftDoubleClick(x, y); return true;
    case WM_LBUTTONUP: mouse_.LeftUp(x, y); return true;
    case WM_MOUSEMOVE: mouse_.Move(x, y, static_cast<unsigned>(wParam)); return true;
    case WM_RBUTTONDOWN: mouse_.RightDown(x, y); return true;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) return false;
        ::SetCursor(cursor_ ? cursor_ : CursorOf(MouseCursor::Arrow));
        return true;
    case WM_TIMER: {
        PixelPoint point;
        unsigned flags = 0;
        ::KillTimer(window_, kAutoScrollTimer);
        if (mouse_.AutoScrollTick(point, flags))
            PostMessageA(window_, WM_MOUSEMOVE, flags, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------
// The clipboard.

void CZolexView::CopySelection(bool table)
{
    if (Selection.IsEmpty()) return;
    const std::vector<char> block = SelectionClipboardBlock(*Rec, Selection, table, TableSettings);
    if (block.empty()) return;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, block.size());
    char* text = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (!text) {
        if (memory) GlobalFree(memory);
        ::ShowMessage(kOutOfMemory, kMsgOk | kMsgIconExclamation, "%s", "");
        return;
    }
    std::memcpy(text, block.data(), block.size());
    GlobalUnlock(memory);
    if (!OpenClipboard(window_)) {
        GlobalFree(memory);
        ::ShowMessage(kClipboardLocked, kMsgOk | kMsgIconExclamation, "%s", "");
        return;
    }
    EmptyClipboard();
    // A font of an OEM character set shows OEM bytes: the clipboard gets them as OEM text.
    const UINT format = AnsiTypeFont(*Rec) ? CF_TEXT : CF_OEMTEXT;
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
    CloseClipboard();
    mouse_.ClearSelection();
}

void CZolexView::OnCopyTable()
{
    if (Selection.IsEmpty()) return;
    CCopyTableDlg dialog(GetParent(window_));
    dialog.values = TableSettings;
    if (dialog.DoModal() != IDOK) return;
    TableSettings = dialog.values;
    CopySelection(true);
}

void CZolexView::OnEditPaste()
{
    if (PastePending()) return;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(window_)) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!text) {
        CloseClipboard();
        if (data) ::ShowMessage(kOutOfMemory, kMsgOk | kMsgIconExclamation, "%s", "");
        return;
    }
    const std::string bytes = PasteBytes(text, GlobalSize(data), *Rec);
    GlobalUnlock(data);
    CloseClipboard();
    if (!bytes.empty()) BeginPaste(Window(), reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}
