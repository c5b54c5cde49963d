// The terminal view window; see zolex_view.h. Geometry: cell (c, r) starts at
// (c x CellWidth + LeftMargin, r x CellHeight + TopMargin) in document pixels.
#include "connections/automation_services.h"
#include "connections/vt_hookup.h"
#include "engine/host_commands/host_commands.h"
#include "win32_host_commands.h"
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/connection_dispatch.h"
#include "connections/session_services.h"
#include "connections/session_trace.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "connections/win32/winsock_transport.h"
#include "engine/colors.h"
#include "engine/dirty_rect.h"
#include "engine/view_port.h"
#include "engine/win32/win32_view_port.h"
#include "host_platform.h"
#include "shell/session_document.h"
#include "shell/session_services.h"
#include "shell/session_record.h"
#include "shell/startup_state.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"

namespace {

constexpr UINT_PTR kPlaybackTimer = 2022;
constexpr UINT kSocketMessage = WM_USER + 102;
constexpr int kCmdScaleViewToFont = 32768;
constexpr int kCmdPlayRecording = 32800;
constexpr int kCmdDisconnect = 257;
constexpr int kCmdNetTraceOn = 32808;
constexpr int kCmdNetTraceFile = 32842;
constexpr int kCmdRecordAtStartup = 32783;
constexpr int kSerialComType = 0;

CZolexView* activeView = nullptr;

// The engine's dirty rectangles count from the grid's corner; the view adds the margins.
class TerminalViewPort : public Win32ViewPort {
public:
    using Win32ViewPort::Win32ViewPort;
    void Invalidate(ViewWindow window, const DirtyRect& rect, bool erase) override
    {
        DirtyRect moved = rect;
        moved.left += Rec->LeftMargin;
        moved.right += Rec->LeftMargin;
        moved.top += Rec->TopMargin;
        moved.bottom += Rec->TopMargin;
        Win32ViewPort::Invalidate(window, moved, erase);
    }
};
TerminalViewPort terminalPort;

// The session services of the connection layer: automatic log-on, wait-for and capture, plus the
// comm recording of the blocks sent and received.
class RecordingServices : public AutomationServices {
public:
    void RecordComm(const uint8_t* bytes, int n) override { TraceData(bytes, n, false); }
    void RecordSend(const uint8_t* bytes, int n) override { TraceData(bytes, n, true); }
    void RecordExitAndClose() override
    {
        TraceExit();
        CloseTraceFile();
    }
};
RecordingServices recordingServices;

COLORREF PaletteColor(int index) { return static_cast<COLORREF>(Rec->ColorPalette[std::clamp(index, 0, kColorIndices - 1)]); }

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The two edge colours of underlines and boxes, which avoid the colour of `avoid`.
COLORREF DarkEdge(int avoid) { return PaletteColor(avoid == 12 ? 2 : 12); }
COLORREF LightEdge(int avoid) { return PaletteColor(avoid == 19 ? 9 : 19); }

}  // namespace

CZolexView::CZolexView(CZolexDoc* doc) : doc_(doc), keyboard_(*this)
{
    activeView = this;
}

CZolexView::~CZolexView()
{
    if (screenFont_) DeleteObject(screenFont_);
    if (activeView == this) {
        activeView = nullptr;
        SetViewPort(nullptr);
        SetConnectionView(nullptr);
        SetPlaybackHost(nullptr);
        SetSessionServices(nullptr);
    }
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

CZolexView* CZolexView::Active() { return activeView; }

HWND CZolexView::Create(HWND parent, int id)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kViewClassName, &existing)) {
        WNDCLASSA c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = WindowProc;
        c.hInstance = instance;
        c.hCursor = LoadCursor(nullptr, IDC_IBEAM);
        c.hIcon = LoadIcon(instance, MAKEINTRESOURCE(31234));
        c.lpszClassName = kViewClassName;
        if (!RegisterClassA(&c)) return nullptr;
    }
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, kViewClassName, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return window_;
}

LRESULT CALLBACK CZolexView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* view = static_cast<CZolexView*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        view->window_ = window;
    }
    auto* view = reinterpret_cast<CZolexView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return view ? view->Dispatch(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CZolexView::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const unsigned flags = HIWORD(lParam);
    const int repeat = LOWORD(lParam);
    switch (message) {
    case WM_PAINT: {
        if (FrameRefitPending) PostMessageA(window_, WM_COMMAND, kCmdScaleViewToFont, 0);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        SetViewportOrgEx(dc, -scrollX_, -scrollY_, nullptr);
        PaintScreen(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window_, &r);
        HBRUSH brush = CreateSolidBrush(PaletteColor(Rec->AttrColors[kAttrNormal][kAttrBg]));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (keyboard_.HandleKeyDown(static_cast<int>(wParam), repeat, flags)) break;
        return 0;
    case WM_CHAR:
        keyboard_.OnChar(static_cast<unsigned>(wParam), repeat, flags);
        return 0;
    case WM_SYSCHAR:
        if (keyboard_.OnSysChar(static_cast<unsigned>(wParam), repeat, flags)) break;
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        keyboard_.OnKeyUp(static_cast<int>(wParam), flags, message == WM_SYSKEYUP);
        break;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_LBUTTONDOWN: SetFocus(window_); return 0;
    case WM_TIMER:
        if (wParam == kPlaybackTimer) ::PlaybackStep(false);
        return 0;
    case kSocketMessage:
        SocketEvent(EngineWindow(window_), static_cast<uintptr_t>(wParam), HIWORD(lParam),
                    LOWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) return 0;
        // Everything else is the frame's.
        return SendMessageA(GetParent(window_), message, wParam, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        GetScrollInfo(window_, bar, &si);
        const int line = bar == SB_VERT ? Rec->CellHeight : Rec->CellWidth;
        int delta = 0;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: delta = -line; break;
        case SB_LINEDOWN: delta = line; break;
        case SB_PAGEUP: delta = -static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: delta = static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: delta = si.nTrackPos - si.nPos; break;
        default: break;
        }
        ScrollViewBy(bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0);
        return 0;
    }
    case WM_SIZE: UpdateScrollBars(); return 0;
    default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

bool CZolexView::OnCommand(int id)
{
    switch (id) {
    case kCmdScaleViewToFont:
        FrameRefitPending = 1;
        OnUpdate();
        if (Rec->ResizeParentNow) FitFrameToDocument();
        return true;
    case kCmdPlayRecording: OnPlayRecording(); return true;
    case kCmdRecordAtStartup:
        // The record option: the session is recorded into the named trace file from the start.
        if (doc_ && !Rec->Recording && !doc_->strings.TraceFile.empty()) OpenTraceFile(doc_->strings.TraceFile.c_str());
        return true;
    case 256: ConnectDisconnectCommand(EngineWindow(window_)); return true;
    case kCmdDisconnect: DisconnectCommand(EngineWindow(window_)); return true;
    case kCmdNetTraceOn: SetNetTraceOn(true); return true;
    case kCmdNetTraceFile: SetNetTraceFile(1); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Start-up, update and geometry.

void CZolexView::OnInitialUpdate()
{
    AllocTelnetRings();
    InstallWinsockTransport();
    terminalPort.SetFrame(GetParent(window_));
    SetViewPort(&terminalPort);
    SetConnectionView(this);
    SetPlaybackHost(this);
    SetSessionServices(&recordingServices);
    InstallVtInterpreter();
    InstallSessionServiceHooks();
    InstallHostCommandHooks();
    InstallWin32HostCommands(GetParent(window_), window_);
    BuildPaletteColors();
    FrameRefitPending = 1;
    OnUpdate();
    if (doc_) doc_->SetTitle(nullptr);
    // Fitting the frame waits until the frame's own start-up messages have run.
    PostCommand(kCmdScaleViewToFont);
    startupStep_ = 0;
    SetFocus(window_);
    RunStartupActions();
}

void CZolexView::OnUpdate()
{
    if (FrameRefitPending) {
        DeriveViewColors(*Rec);
        FrameRefitPending = 0;
        HDC dc = GetDC(window_);
        ResetTTYScreen(dc);
        ReleaseDC(window_, dc);
        UpdateScrollBars();
    }
    if (Rec->ViewHasFocus) {
        OnKillFocus();
        OnSetFocus();
    }
}

GridMargins CZolexView::Margins() const
{
    return {Rec->LeftMargin, Rec->TopMargin, Rec->RightMargin, Rec->BottomMargin};
}

int CZolexView::ResetTTYScreen(HDC dc)
{
    BuildPaletteColors();
    DeriveViewColors(*Rec);
    if (screenFont_) DeleteObject(screenFont_);
    Rec->CurrentFont = Rec->MaxCols == 80 ? Rec->Font80Cols : Rec->Font132Cols;
    HWND frame = window_ ? GetParent(window_) : nullptr;
    if (Rec->ScaleFontToView && frame && !IsZoomed(frame)) ScaleFontToView(dc);
    LOGFONTA lf;
    static_assert(sizeof lf == sizeof Rec->CurrentFont, "LogFont is a LOGFONTA");
    std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
    screenFont_ = CreateFontIndirectA(&lf);
    HGDIOBJ old = screenFont_ ? SelectObject(dc, screenFont_) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old) SelectObject(dc, old);
    Rec->CurrentFont.CharSet = tm.tmCharSet;
    Rec->CellWidth = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    Rec->CellHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    // Outside a maximised frame every margin is the frame size.
    Rec->LeftMargin = Rec->TopMargin = Rec->RightMargin = Rec->BottomMargin = Rec->FrameSize;
    Rec->HalfSpareX = Rec->HalfSpareY = Rec->FrameSize;
    docSize_.cx = Rec->MaxCols * Rec->CellWidth + 2 * Rec->HalfSpareX;
    docSize_.cy = Rec->MaxRows * Rec->CellHeight + 2 * Rec->HalfSpareY;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
    return 1;
}

// Chooses the height of CurrentFont that fills the view's width, measuring the heights once.
void CZolexView::ScaleFontToView(HDC dc)
{
    std::vector<uint32_t>& sizes = Rec->MaxCols == 80 ? fontSizes80_ : fontSizes132_;
    if (sizes.empty()) {
        const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
        LOGFONTA lf;
        std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
        for (int h = -1; h >= -29999; --h) {
            lf.lfHeight = h;
            Rec->CurrentFont.Height = h;
            HFONT font = CreateFontIndirectA(&lf);
            if (!font) break;
            HGDIOBJ old = SelectObject(dc, font);
            TEXTMETRICA tm{};
            GetTextMetricsA(dc, &tm);
            SelectObject(dc, old);
            DeleteObject(font);
            if (tm.tmAveCharWidth * Rec->MaxCols > screenWidth) break;
            sizes.push_back((static_cast<uint32_t>(tm.tmHeight + tm.tmExternalLeading) << 16) |
                            static_cast<uint32_t>(tm.tmAveCharWidth & 0xFFFF));
        }
    }
    RECT view;
    GetWindowRect(window_, &view);
    Rec->CurrentFont.Height = FittingFontHeight(sizes.data(), static_cast<int>(sizes.size()), Rec->MaxCols,
                                                view.right - view.left, Rec->CurrentFont.Height);
}

void CZolexView::FitFrameToDocument()
{
    HWND frame = GetParent(window_);
    if (!frame || IsZoomed(frame) || !CMainFrame::Instance()) return;
    RECT view, frameRect;
    GetClientRect(window_, &view);
    GetWindowRect(frame, &frameRect);
    const int dx = docSize_.cx - (view.right - view.left);
    const int dy = docSize_.cy - (view.bottom - view.top);
    if (dx == 0 && dy == 0) return;
    SetWindowPos(frame, nullptr, 0, 0, frameRect.right - frameRect.left + dx, frameRect.bottom - frameRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollBars();
}

void CZolexView::UpdateScrollBars()
{
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    const int rows = Rec->HistoryView ? Rec->HistoryRowsAlloc : 0;
    const int height = docSize_.cy + rows * Rec->CellHeight;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = docSize_.cx - 1;
    si.nPage = static_cast<UINT>(std::max(0L, client.right));
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, static_cast<int>(docSize_.cx - client.right)));
    si.nPos = scrollX_;
    SetScrollInfo(window_, SB_HORZ, &si, TRUE);
    si.nMax = height - 1;
    si.nPage = static_cast<UINT>(std::max(0L, client.bottom));
    scrollY_ = std::clamp(scrollY_, 0, std::max(0, static_cast<int>(height - client.bottom)));
    si.nPos = scrollY_;
    SetScrollInfo(window_, SB_VERT, &si, TRUE);
    ShowScrollBar(window_, SB_HORZ, docSize_.cx > client.right);
    ShowScrollBar(window_, SB_VERT, height > client.bottom);
}

void CZolexView::ScrollViewBy(int dx, int dy)
{
    RECT client;
    GetClientRect(window_, &client);
    const int rows = Rec->HistoryView ? Rec->HistoryRowsAlloc : 0;
    const int height = docSize_.cy + rows * Rec->CellHeight;
    if (height <= client.bottom && dx == 0) return;
    const int x = ScrolledPosition(scrollX_, dx, std::max(0, static_cast<int>(docSize_.cx - client.right)));
    const int y = ScrolledPosition(scrollY_, dy, std::max(0, static_cast<int>(height - client.bottom)));
    if (x == scrollX_ && y == scrollY_) return;
    scrollX_ = x;
    scrollY_ = y;
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, TRUE);
}

void CZolexView::RunStartupActions()
{
    const int s = startupStep_;
    if (s == 0) {
        startupStep_ = 1;
        if (doc_ && !doc_->strings.StartupFile.empty() && OpenPlayFile(doc_->strings.StartupFile.c_str(), 0)) {
            StartTimer(1);
            return;
        }
    }
    if (s != 0 && s != 1 && s != 2) return;
    startupStep_ = 0;
    if (Startup.PlayAtStartup) {
        Startup.RecordAtStartup = false;
        PostCommand(kCmdPlayRecording);
        return;
    }
    if (Startup.RecordAtStartup) PostCommand(kCmdRecordAtStartup);
    if (Rec->AutoConnect) PostCommand(256);
}

void CZolexView::ReplayEnded()
{
    if (startupStep_ != 0) RunStartupActions();
}

void CZolexView::OnPlayRecording()
{
    CloseTraceFile();
    if (Rec->PlaybackState) {
        ::CloseAllPlayFiles();
        return;
    }
    std::string name;
    if (Startup.PlayAtStartup) {
        // The play option names the file: no dialog.
        Startup.PlayAtStartup = false;
        name = doc_ ? doc_->strings.TraceFile : std::string();
    } else {
        name = !lastPlayFile_.empty() ? lastPlayFile_ : (doc_ ? doc_->strings.TraceFile : std::string());
        char file[MAX_PATH] = {};
        std::strncpy(file, name.c_str(), sizeof file - 1);
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = window_;
        ofn.lpstrFilter = "Play Files (*.trc)\0*.trc\0Text Files (*.txt; *.text)\0*.txt;*.text\0All Files (*.*)\0*.*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrTitle = "File to play";
        ofn.lpstrDefExt = "trc";
        ofn.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        if (!GetOpenFileNameA(&ofn)) return;
        name = file;
    }
    if (OpenPlayFile(name.c_str(), 0)) lastPlayFile_ = name;
    else ShowMessage(45, "Failed to play file: " + name);
    ::PlaybackStep(false);
}

// ---------------------------------------------------------------------------------------------
// Caret.

void CZolexView::OnSetFocus()
{
    Rec->ViewHasFocus = 1;
    if ((Rec->Connected || Rec->PlaybackState) && !(Rec->CursorFlags & kCaretExists) &&
        (Rec->CursorFlags & kCursorShown)) {
        Rec->CaretOffsetY = 0;
        if (Rec->CursorStyle == 0) CreateCaret(window_, nullptr, Rec->CellWidth - 1, Rec->CellHeight);
        else if (Rec->CursorStyle == 1) CreateCaret(window_, nullptr, 2, Rec->CellHeight);
        else {
            CreateCaret(window_, nullptr, Rec->CellWidth, 2);
            Rec->CaretOffsetY = Rec->CellHeight - 2;
        }
        ShowCaret(window_);
        Rec->CursorFlags |= kCaretExists;
    }
    UpdateCaretPos();
}

void CZolexView::OnKillFocus()
{
    Rec->ViewHasFocus = 0;
    if (Rec->CursorFlags & kCaretExists) {
        HideCaret(window_);
        DestroyCaret();
        Rec->CursorFlags &= ~kCaretExists;
    }
}

void CZolexView::UpdateCaretPos()
{
    if (!Rec->ViewHasFocus) return;
    if (Rec->CursorFlags & kCaretRecreate) {
        Rec->CursorFlags &= ~kCaretRecreate;
        OnKillFocus();
        OnSetFocus();
        return;
    }
    Rec->ScrollPosX = scrollX_;
    Rec->ScrollPosY = scrollY_ - (Rec->HistoryView ? Rec->HistoryRowsAlloc * Rec->CellHeight : 0);
    if (!Rec->PlaybackState && (!Rec->Connected || !(Rec->CursorFlags & kCaretExists))) return;
    int y = Rec->TopMargin + Rec->CaretOffsetY + Rec->CursorRow * Rec->CellHeight - scrollY_;
    if (Rec->HistoryView) y += Rec->HistoryRowsAlloc * Rec->CellHeight;
    SetCaretPos(Rec->CursorCol * Rec->CellWidth + Rec->LeftMargin - scrollX_, y);
}

// ---------------------------------------------------------------------------------------------
// Painting.

RECT CZolexView::CellsToPixels(int firstCol, int lastCol, int row) const
{
    RECT r;
    r.left = firstCol * Rec->CellWidth + Rec->LeftMargin;
    r.right = (lastCol + 1) * Rec->CellWidth + Rec->LeftMargin;
    r.top = row * Rec->CellHeight + Rec->TopMargin;
    r.bottom = r.top + Rec->CellHeight - 1;  // the last pixel row of the cell row
    return r;
}

int CZolexView::PaintScreen(HDC dc)
{
    const bool history = Rec->HistoryView != 0;
    const int cols = Rec->MaxCols;
    const uint8_t* chars = history ? Rec->CharsBase : Rec->CharsScreen;
    const uint8_t* fg = history ? Rec->FgBase : Rec->FgScreen;
    const uint8_t* bg = history ? Rec->BgBase : Rec->BgScreen;
    const uint8_t* flags = history ? Rec->FlagsBase : Rec->FlagsScreen;
    const int rows = history ? Rec->HistoryCells / std::max(cols, 1) + Rec->MaxRows : Rec->MaxRows;
    const int rowOffset = history ? Rec->HistoryRowsAlloc : 0;
    if (Rec->ScreenFrozen || !chars || cols <= 0) return 1;

    HGDIOBJ oldFont = screenFont_ ? SelectObject(dc, screenFont_) : nullptr;
    fontBeforeBold_ = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    lastRunFlags_ = -1;
    RECT clip;
    GetClipBox(dc, &clip);
    const CellSpan span = CellsInClip(clip.left, clip.top, clip.right, clip.bottom, rows, cols, Margins(),
                                      Rec->CellWidth, Rec->CellHeight);
    for (int row = span.firstRow; row <= span.lastRow; ++row) {
        const std::size_t at = static_cast<std::size_t>(row) * cols;
        PaintRow(dc, row, rowOffset, span, chars + at, fg + at, bg + at, flags + at);
    }

    const GridMargins m = Margins();
    const int gridRight = m.left + cols * Rec->CellWidth;
    const int gridBottom = m.top + rows * Rec->CellHeight;
    if (clip.left < m.left || clip.top < m.top || clip.right > gridRight || clip.bottom > gridBottom)
        DrawFrame(dc, RECT{0, 0, std::max(docSize_.cx, static_cast<LONG>(gridRight + m.right)),
                           std::max(docSize_.cy, static_cast<LONG>(gridBottom + m.bottom))});

    if (oldFont) SelectObject(dc, oldFont);
    else SelectObject(dc, fontBeforeBold_);
    UpdateCaretPos();
    if (boldFont_) {
        DeleteObject(boldFont_);
        boldFont_ = nullptr;
    }
    return 1;
}

void CZolexView::PaintRow(HDC dc, int row, int /*rowOffset*/, const CellSpan& span, const uint8_t* chars,
                          const uint8_t* fg, const uint8_t* bg, const uint8_t* flags)
{
    const bool boxes = Rec->BoxEnable != 0;
    const int32_t* fgMap = boxes ? (Rec->TerminalFamily3270 ? Rec->BoxMap3270Fg : Rec->BoxMapFg) : nullptr;
    const int32_t* bgMap = boxes ? (Rec->TerminalFamily3270 ? Rec->BoxMap3270Bg : Rec->BoxMapBg) : nullptr;
    const int normalBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    const int y = row * Rec->CellHeight + Rec->TopMargin;
    for (int col = span.firstCol; col <= span.lastCol;) {
        const int length = CellRunLength(fg, bg, flags, col, span.lastCol);
        const int last = col + length - 1;
        const uint8_t cellFlags = flags[col];
        const RunColors colors = ColorsOfCell(fg[col], bg[col], fgMap, bgMap, normalBg);
        SetBkColor(dc, PaletteColor(colors.bg));
        SetTextColor(dc, PaletteColor(colors.fg));
        const int x = col * Rec->CellWidth + Rec->LeftMargin;
        const RECT cells = CellsToPixels(col, last, row);

        // True bold: a bold copy of the screen font, made once per paint.
        if (cellFlags != lastRunFlags_) {
            if (cellFlags & kCellBold) {
                if (!boldFont_) {
                    LOGFONTA lf;
                    std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
                    lf.lfWeight = FW_BOLD;
                    lf.lfUnderline = 0;
                    boldFont_ = CreateFontIndirectA(&lf);
                }
                if (boldFont_) SelectObject(dc, boldFont_);
            } else {
                SelectObject(dc, screenFont_ ? screenFont_ : fontBeforeBold_);
            }
            lastRunFlags_ = cellFlags;
        }
        SetBkMode(dc, OPAQUE);
        const char* text = reinterpret_cast<const char*>(chars + col);
        if (cellFlags & kCellLineDrawing) {
            for (int c = col; c <= last; ++c) DrawLineGraphics(dc, CellsToPixels(c, c, row), chars[c]);
        } else if (cellFlags & kCellBold) {
            // Bold glyphs are wider: one output per cell keeps the grid.
            for (int i = 0; i < length; ++i) TextOutA(dc, x + i * Rec->CellWidth, y, text + i, 1);
        } else if (cellFlags & (kCellDoubleWidth | kCellDoubleTop)) {
            // Double-size lines are drawn as shadowed text, not enlarged.
            const COLORREF textColor = GetTextColor(dc);
            SetTextColor(dc, PaletteColor(19));
            TextOutA(dc, x, y, text, length);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, textColor);
            TextOutA(dc, x + 1, y + 1, text, length);
        } else {
            TextOutA(dc, x, y, text, length);
        }
        if (cellFlags & kCellUnderline) DrawTrueUnderline(dc, cells);
        if (colors.boxKind) {
            const int leftKind = col == 0 ? 255 : BoxKindOf(fg[col - 1], bg[col - 1], fgMap, bgMap, colors.kindFromFg);
            const int rightKind = last >= Rec->MaxCols - 1
                                      ? 255
                                      : BoxKindOf(fg[last + 1], bg[last + 1], fgMap, bgMap, colors.kindFromFg);
            DrawBoxEdges(dc, cells, leftKind != colors.boxKind, rightKind != colors.boxKind, colors.boxKind);
        }
        col = last + 1;
    }
}

void CZolexView::DrawLineGraphics(HDC dc, const RECT& cell, uint8_t character)
{
    const LineGlyph& g = FindLineGlyph(character);
    const COLORREF text = GetTextColor(dc);
    const char glyph = static_cast<char>(g.glyph);
    TextOutA(dc, cell.left, cell.top, &glyph, 1);
    HPEN textPen = CreatePen(PS_SOLID, 1, text);
    HPEN white = CreatePen(PS_SOLID, 1, 0x02FFFFFF);
    HPEN grey = CreatePen(PS_SOLID, 1, 0x02808080);
    HGDIOBJ oldPen = SelectObject(dc, textPen);
    const int w = Rec->CellWidth, h = Rec->CellHeight;
    for (const auto& s : g.segments) {
        if (s[0] < 0) break;
        const int x1 = s[0] * w / 10 + cell.left, y1 = s[1] * h / 10 + cell.top;
        const int x2 = s[2] * w / 10 + cell.left, y2 = s[3] * h / 10 + cell.top;
        if (g.fill == 0) {
            if (Rec->LineGraphics3D) {
                SelectObject(dc, white);
                Line(dc, x1, y1, x2, y2);
                SelectObject(dc, grey);
                Line(dc, x1 - 1, y1 - 1, x2 - 1, y2 - 1);
            } else {
                SelectObject(dc, textPen);
                Line(dc, x1, y1, x2, y2);
            }
        } else {
            HBRUSH brush = g.fill < 10 ? CreateSolidBrush(text) : CreateHatchBrush(g.fill - 10, text);
            const RECT r = {x1, y1, x2, y2};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(textPen);
    DeleteObject(white);
    DeleteObject(grey);
    SetTextColor(dc, text);
}

void CZolexView::DrawTrueUnderline(HDC dc, const RECT& cells)
{
    // The erase background colour is the normal background of the screen.
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(eraseBg));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(eraseBg));
    HGDIOBJ old = SelectObject(dc, dark);
    Line(dc, cells.left, cells.bottom, cells.right, cells.bottom);
    SelectObject(dc, light);
    Line(dc, cells.left, cells.bottom - 1, cells.right, cells.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

void CZolexView::DrawBoxEdges(HDC dc, RECT r, bool leftEdge, bool rightEdge, int kind)
{
    if (rightEdge) r.right -= 1;
    if (!leftEdge) r.left -= 1;
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(eraseBg));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(eraseBg));
    HPEN first = kind == 2 ? dark : light;
    HPEN second = kind == 2 ? light : dark;
    HGDIOBJ old = SelectObject(dc, first);
    if (rightEdge) Line(dc, r.right, r.top, r.right, r.bottom);
    Line(dc, r.right, r.bottom, r.left, r.bottom);
    SelectObject(dc, second);
    if (leftEdge) Line(dc, r.left, r.bottom, r.left, r.top);
    Line(dc, r.left, r.top, r.right, r.top);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

void CZolexView::DrawFrame(HDC dc, RECT r)
{
    const int a = Rec->FrameSize;
    const int b = Rec->LeftMargin, c = Rec->TopMargin, d = Rec->RightMargin, e = Rec->BottomMargin;
    const int frameFg = Rec->AttrColors[kAttrFrame][kAttrFg];
    const int frameBg = Rec->AttrColors[kAttrFrame][kAttrBg];
    if (b > a || c > a || d > a || e > a) {
        HBRUSH brush = CreateSolidBrush(PaletteColor(frameBg));
        const int top = std::max(0, c - a), bottom = std::max(0, e - a);
        const int left = std::max(0, b - a), right = std::max(0, d - a);
        RECT s = {r.left, r.top, r.right, r.top + top};
        FillRect(dc, &s, brush);
        s = {r.left, r.bottom - bottom, r.right, r.bottom};
        FillRect(dc, &s, brush);
        s = {r.left, r.top + top, r.left + left, r.bottom - bottom};
        FillRect(dc, &s, brush);
        s = {r.right - right, r.top + top, r.right, r.bottom - bottom};
        FillRect(dc, &s, brush);
        DeleteObject(brush);
    }
    if (b || c || d || e) {
        RECT band = {r.left + std::max(0, b - a), r.top + std::max(0, c - a), r.right - std::max(0, d - a),
                     r.bottom - std::max(0, e - a)};
        HBRUSH brush = CreateSolidBrush(PaletteColor(frameFg));
        const int across = std::min(b, a), down = std::min(c, a);
        RECT s = {band.left, band.top, band.right, band.top + down};
        FillRect(dc, &s, brush);
        s = {band.left, band.bottom - down, band.right, band.bottom};
        FillRect(dc, &s, brush);
        s = {band.left, band.top, band.left + across, band.bottom};
        FillRect(dc, &s, brush);
        s = {band.right - across, band.top, band.right, band.bottom};
        FillRect(dc, &s, brush);
        DeleteObject(brush);
    }
}

// ---------------------------------------------------------------------------------------------
// The connection layer's view.

ViewWindow CZolexView::Window() { return EngineWindow(window_); }

void CZolexView::RefreshTitle()
{
    if (doc_) doc_->SetTitle(nullptr);
}

void CZolexView::PostCloseMainWindow()
{
    if (HWND frame = GetParent(window_)) PostMessageA(frame, WM_CLOSE, 0, 0);
}

void CZolexView::InvalidateScreen() { InvalidateRect(window_, nullptr, FALSE); }

void CZolexView::UpdateView() { UpdateWindow(window_); }

void CZolexView::SetViewFocus(bool on) { SetFocus(on ? window_ : GetParent(window_)); }

void CZolexView::SetStatusPane(const char* text, int pane, unsigned textColor, unsigned backColor)
{
    HWND frame = GetParent(window_);
    Win32ViewPort(frame).SetStatusPane(text, pane, textColor, backColor);
}

// ---------------------------------------------------------------------------------------------
// The replay's host.

bool CZolexView::StartTimer(int milliseconds)
{
    return SetTimer(window_, kPlaybackTimer, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void CZolexView::KillTimer() { ::KillTimer(window_, kPlaybackTimer); }

void CZolexView::PlayBytes(const uint8_t* bytes, int count) { ::PlayBytes(Window(), bytes, count); }

// The 3270 private commands join Tolvi.exe with the host-command layer; until then a DATA: text
// of a 3270 replay is dropped.
void CZolexView::PrivateCommand3270(const uint8_t*, int) {}

void CZolexView::Repaint() { UpdateWindow(window_); }

void CZolexView::ShowMessage(int, const std::string& text)
{
    MessageBoxA(GetParent(window_), text.c_str(), "Tolvi", MB_OK | MB_ICONEXCLAMATION);
}

void CZolexView::SetStatusText(const std::string& text) { SetStatusPane(text.c_str(), 1, 0, 0); }

void CZolexView::SetProgress(int percent)
{
    Win32ViewPort(GetParent(window_)).ShowStatusProgress(2, percent < 0 ? 0 : percent, nullptr, 0x800000);
}

void CZolexView::SetPlayingFile(const std::string&) {}

// ---------------------------------------------------------------------------------------------
// The keyboard's system.

void CZolexView::PostCommand(int id) { PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool CZolexView::SendSerialBreak()
{
    if (Rec->ComType != kSerialComType) return false;
    SendBreak(Window());
    return true;
}

void CZolexView::ToggleScrollLock()
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SCROLL] ^= 1;
    SetKeyboardState(state);
}

bool CZolexView::ScrollLockOn() { return (GetKeyState(VK_SCROLL) & 1) != 0; }

void CZolexView::ToggleNumLock()
{
    // The injected key-downs come back to the view, which swallows them.
    keyboard_.ExpectNumLockEvent();
    if (GetKeyState(VK_NUMLOCK) & 0x8000) keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void CZolexView::RearmReceive() { ::RearmReceive(Window()); }

void CZolexView::ToggleMenuBar()
{
    if (HWND frame = GetParent(window_)) PostMessageA(frame, WM_USER + 105, 0, 0);
}

void CZolexView::HistoryOn()
{
    if (!Rec->HistoryView) PostCommand(32837);
}

void CZolexView::ToggleScreen()
{
    HWND frame = GetParent(window_);
    if (frame) PostMessageA(frame, WM_SYSCOMMAND, IsZoomed(frame) ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void CZolexView::Feed(const uint8_t* bytes, int n) { FeedEmulation(Window(), bytes, n); }

void CZolexView::Send(const uint8_t* bytes, int n) { SendToHost(Window(), bytes, n); }

ModifierKeys CZolexView::Modifiers()
{
    ModifierKeys keys;
    keys.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    keys.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    keys.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    keys.capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
    return keys;
}

bool CZolexView::KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

int CZolexView::CharOfKey(int virtualKey) { return static_cast<int>(MapVirtualKeyA(static_cast<UINT>(virtualKey), 2)); }

void CZolexView::RepaintAll() { InvalidateRect(window_, nullptr, TRUE); }

void CZolexView::PlaybackStep(bool singleStep) { ::PlaybackStep(singleStep); }

void CZolexView::CloseAllPlayFiles() { ::CloseAllPlayFiles(); }

uint8_t CZolexView::AnsiToOem(uint8_t byte)
{
    uint8_t out = byte;
    Platform().AnsiToOemBytes(&byte, &out, 1);
    return out;
}

const KeyMap* CZolexView::Keys() { return doc_ ? &doc_->keyMap : nullptr; }

const KeyDefTable* CZolexView::KeyDefinitions() { return doc_ ? &doc_->keyDefs : nullptr; }
