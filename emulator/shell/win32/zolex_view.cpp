// The terminal view window; see zolex_view.h. Geometry: cell (c, r) starts at
// (c x CellWidth + LeftMargin, r x CellHeight + TopMargin) in document pixels.
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/connection_dispatch.h"
#include "connections/dde/dde_commands.h"
#include "connections/netbios_session.h"
#include "connections/session_trace.h"
#include "connections/telnet_engine.h"
#include "connections/tn3270_records.h"
#include "connections/telnet_trace.h"
#include "connections/win32/serial_transport.h"
#include "connections/transfer_driver.h"
#include "connections/transfer_libraries.h"
#include "connections/win32/transfer_bindings.h"
#include "connections/win32/win32_transfer_host.h"
#include "connections/win32/winsock_transport.h"
#include "engine/colors.h"
#include "engine/host_commands/command_helpers.h"
#include "engine/host_commands/host_print.h"
#include "engine/host_commands/host_system.h"
#include "engine/win32/win32_view_port.h"
#include "host_platform.h"
#include "shell/session_document.h"
#include "session/session_record.h"
#include "shell/startup_state.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/host_name_prompt.h"
#include "shell/screen_dump.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/view_automation.h"
#include "view_resource_ids.h"
#include "dialogs/win32/transfer_dialog_calls.h"
#include "dialogs/win32/keyin_dlg.h"
#include "fw_list_fill_win32.h"
#include "session_dialog_ids.h"
#include "shell/win32/program_wiring.h"
#include "shell/win32/terminal_settings_commands.h"
#include "connections/capture_file.h"
#include "shell/win32/zolex_view_parts.h"

namespace {

constexpr UINT_PTR kAutoScrollTimer = 2024;
constexpr UINT kSocketMessage = WM_USER + 102;
// The view's own refit after a size, font or mode change: the font follows the view (Scale Font
// to View) or the document the font; the frame is left as the user sized it.
constexpr UINT kRefitMessage = WM_USER + 111;
constexpr int kCmdScaleViewToFont = 32768;
constexpr int kCmdPlayRecording = 32800;
constexpr int kCmdDisconnect = 257;
constexpr int kCmdCapture = 32786;
constexpr int kCmdRecordAtStartup = 32783;
constexpr int kCmdKermitSettings = 32827;
constexpr int kCmdXYModemSettings = 32828;
constexpr int kCmdZModemSettings = 32830;
constexpr int kCmdTransferSettings = 32833;

CZolexView* activeView = nullptr;

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
        UnwireProgram(*this);
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
        c.hCursor = nullptr;  // the mouse tracker's cursor (WM_SETCURSOR)
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
        if (FrameRefitPending) PostMessageA(window_, kRefitMessage, 0, 0);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        lastPaintTick_ = GetTickCount();
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
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_SETCURSOR:
        if (OnMouseMessage(message, wParam, lParam)) return message == WM_SETCURSOR ? TRUE : 0;
        break;
    case WM_TIMER:
        if (wParam == kAutoScrollTimer) OnMouseMessage(message, wParam, lParam);
        else if (wParam == kPrintCloseTimer) {
            ::KillTimer(window_, kPrintCloseTimer);
            EndPrint(1);
        } else if (wParam == kPlaybackTimer) ::PlaybackStep(false);
        else if (wParam == kDialTimer) OnDialCountdown();
        else if (wParam == kBreakTimer) {
            ::KillTimer(window_, kBreakTimer);
            ClearBreak();
        }
        return 0;
    case kSerialDataMessage:
        // A running file transfer reads the port itself.
        if (!Rec->TransferActive) SerialDataArrived(Window());
        return 0;
    case kNetbiosDoneMessage:
        NetbiosNcbDone(Window(), static_cast<unsigned>(wParam), reinterpret_cast<Ncb*>(lParam));
        return 0;
    case kPrintScreenMessage:
        // A host's request: the default printer, no dialog.
        PrintScreen(EngineWindow(window_), true);
        return 1;
    case kSocketMessage:
        SocketEvent(EngineWindow(window_), static_cast<uintptr_t>(wParam), HIWORD(lParam),
                    LOWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (RunViewCommand(LOWORD(wParam))) return 0;
        // The view's other commands (an action string or a host may post them) pass the rule
        // the frame shows them with, so a lock holds here too.
        if (CMainFrame* frame = CMainFrame::Instance()) {
            if (!frame->CommandEnabled(LOWORD(wParam))) return 0;
        }
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
    case WM_SIZE: OnSize(); return 0;
    case kRefitMessage: Refit(); return 0;
    case WM_DESTROY: OnDestroy(); break;
    default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

bool CZolexView::OnCommand(int id)
{
    switch (id) {
    case kCmdTransferSettings: OnTransferSettings(); return true;
    case kCmdKermitSettings: OnKermitSettings(); return true;
    case kCmdXYModemSettings: OnXYModemSettings(); return true;
    case kCmdZModemSettings: OnZModemSettings(); return true;
    case kCmdPlayRecording: OnPlayRecording(); return true;
    case kCmdRecordAtStartup:
        // The record option: the session is recorded into the named trace file from the start.
        if (doc_ && !Rec->Recording && !doc_->strings.TraceFile.empty()) OpenTraceFile(doc_->strings.TraceFile.c_str());
        return true;
    case 256:
        if (Rec->ComType == kSerialComType && !Rec->Connected) PreloadTransferLibraries();
        ConnectDisconnectCommand(EngineWindow(window_));
        return true;
    case kCmdDisconnect: DisconnectCommand(EngineWindow(window_)); return true;
    case kCmdCapture: CaptureToFileCommand(EngineWindow(window_)); return true;
    case kCmdPrintScreen: PrintScreen(EngineWindow(window_), false); return true;
    case kStartReceiveCommandId: RunTransfer(kTransferReceive); return true;
    case kKermitTransferCommandId: OnKermitTransfer(); return true;
    default: return false;
    }
}

void CZolexView::PostFrameCommand(unsigned command)
{
    if (HWND frame = GetParent(window_)) PostMessageA(frame, WM_COMMAND, command, 0);
}

// The transfer dialog's end code: the names come back on the codes that start or confirm, and a
// transfer starts on its code. Abort only marks the running transfer.
void CZolexView::OnKermitTransfer()
{
    TransferState& transfer = Transfer();
    StartTransferFields fields;
    fields.sendPath = transfer.sendFiles;
    fields.receivePath = transfer.receiveFile;
    fields.remoteFile = transfer.remoteFile;
    fields.workingDirectory = doc_ ? doc_->strings.AxDirectory : "";
    fields.traceFile = transfer.debugLog;
    const int code = RunStartTransferDialog(GetParent(window_), fields, Rec->TransferActive != 0);
    if (fields.settingsChanged && doc_) doc_->SetModifiedFlag(true);
    if (code == kTransferAbort) {
        if (Rec->TransferActive) transfer.abortRequested = true;
        return;
    }
    if (code == IDOK || code == kTransferSend || code == kTransferReceive || code == kTransferGet) {
        transfer.sendFiles = fields.sendPath;
        transfer.receiveFile = fields.receivePath;
        transfer.remoteFile = fields.remoteFile;
        if (doc_) doc_->strings.AxDirectory = fields.workingDirectory;
        transfer.debugLog = fields.traceFile;
    }
    if (code == kTransferSend || code == kTransferReceive || code == kTransferGet || code == kTransferFinishServer)
        RunTransfer(code);
}

// ---------------------------------------------------------------------------------------------
// Start-up, update and geometry.

void CZolexView::OnInitialUpdate()
{
    WireProgram(*this, doc_);
    BuildPaletteColors();
    LoadLogo();
    if (!ScreenPalette) {
        HDC dc = GetDC(window_);
        MakeScreenPalette(dc);
        ReleaseDC(window_, dc);
    }
    // A configuration that start-up had to create: the first-time setup asks for the essentials.
    if (Startup.NewConfiguration[0] && doc_) RunFirstTimeSetup(*doc_, GetParent(window_));
    if (Rec->TerminalFamily3270) {
        TelnetInit();
        Tn3270Reset();
    }
    FrameRefitPending = 1;
    OnUpdate();
    if (doc_) doc_->SetTitle(nullptr);
    // Fitting the font waits until the frame's own start-up messages have run.
    PostMessageA(window_, kRefitMessage, 0, 0);
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
        if (Rec->HistoryView) {
            scrollX_ = historyScrollX_;
            scrollY_ = historyScrollY_;
            UpdateScrollBars();
            InvalidateRect(window_, nullptr, TRUE);
        }
        SetButtonsShown(0, 2);
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
    if (Rec->ScaleFontToView && frame) ScaleFontToView(dc);
    LOGFONTA lf;
    static_assert(sizeof lf == sizeof Rec->CurrentFont, "LogFont is a LOGFONTA");
    std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
    screenFont_ = CreateFontIndirectA(&lf);
    HGDIOBJ old = screenFont_ ? SelectObject(dc, screenFont_) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old) SelectObject(dc, old);
    const int oldWidth = Rec->CellWidth, oldHeight = Rec->CellHeight;
    Rec->CurrentFont.CharSet = tm.tmCharSet;
    Rec->CellWidth = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    Rec->CellHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    // A maximised frame places the grid by the new cell size.
    if ((oldWidth != Rec->CellWidth || oldHeight != Rec->CellHeight) && frame && IsZoomed(frame)) RecalcFramesize(true);
    docSize_.cx = Rec->MaxCols * Rec->CellWidth + 2 * Rec->HalfSpareX;
    docSize_.cy = Rec->MaxRows * Rec->CellHeight + 2 * Rec->HalfSpareY;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
    return 1;
}

// The cell size of a font: its average character width and its line height.
SIZE CZolexView::CellSizeOf(HDC dc, const LOGFONTA& font)
{
    HFONT made = CreateFontIndirectA(&font);
    HGDIOBJ old = made ? SelectObject(dc, made) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old) SelectObject(dc, old);
    if (made) DeleteObject(made);
    return {std::max(1L, tm.tmAveCharWidth), std::max(1L, tm.tmHeight + tm.tmExternalLeading)};
}

// The pixels the grid may take in the view: the client area without scroll bars (less one for
// history scroll-back), less the frame band of a window that is not maximised.
SIZE CZolexView::ViewRoom(bool maximised) const
{
    RECT client;
    GetClientRect(window_, &client);
    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    SIZE room = {client.right, client.bottom};
    if (style & WS_VSCROLL) room.cx += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) room.cy += GetSystemMetrics(SM_CYHSCROLL);
    if (!maximised) {
        room.cx -= 2 * Rec->FrameSize;
        room.cy -= 2 * Rec->FrameSize;
    }
    return room;
}

// The measured sizes of CurrentFont's face for the column count, measured once: entry i holds the
// cell of height -(i + 1), up to the first height whose columns are wider than the screen.
const std::vector<uint32_t>& CZolexView::FontSizes(HDC dc)
{
    std::vector<uint32_t>& sizes = Rec->MaxCols == 80 ? fontSizes80_ : fontSizes132_;
    if (sizes.empty()) {
        const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
        LOGFONTA lf;
        std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
        for (int h = -1; h >= -29999; --h) {
            lf.lfHeight = h;
            const SIZE cell = CellSizeOf(dc, lf);
            if (cell.cx * Rec->MaxCols > screenWidth) break;
            sizes.push_back((static_cast<uint32_t>(cell.cy) << 16) | static_cast<uint32_t>(cell.cx & 0xFFFF));
        }
    }
    return sizes;
}

// Chooses the height of CurrentFont whose cells fit the whole screen (MaxCols x MaxRows) into the
// view.
void CZolexView::ScaleFontToView(HDC dc)
{
    const std::vector<uint32_t>& sizes = FontSizes(dc);
    HWND frame = GetParent(window_);
    SIZE room = ViewRoom(frame && IsZoomed(frame));
    if (Rec->HistoryView) room.cx -= GetSystemMetrics(SM_CXVSCROLL);
    Rec->CurrentFont.Height = FittingFontHeight(sizes.data(), static_cast<int>(sizes.size()), Rec->MaxCols,
                                                Rec->MaxRows, room.cx, room.cy);
}

// Sizes a frame that is not maximised so that the screen in its configured font (Font80Cols or
// Font132Cols) fits the view exactly; when that is larger than the work area, in the largest
// font that fits there. Scale Font to View then fits the font to that view again.
void CZolexView::FitFrameToFont()
{
    HWND frame = GetParent(window_);
    if (!frame || IsZoomed(frame) || IsIconic(frame) || !CMainFrame::Instance()) return;
    RECT frameRect, work;
    GetWindowRect(frame, &frameRect);
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // What the frame adds around the view's room: borders, caption, menu and bars.
    const SIZE room = ViewRoom(true);
    const SIZE chrome = {frameRect.right - frameRect.left - room.cx, frameRect.bottom - frameRect.top - room.cy};
    const int extraX = 2 * Rec->FrameSize + (Rec->HistoryView ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int extraY = 2 * Rec->FrameSize;
    LOGFONTA lf;
    std::memcpy(&lf, Rec->MaxCols == 80 ? &Rec->Font80Cols : &Rec->Font132Cols, sizeof lf);
    HDC dc = GetDC(window_);
    SIZE cell = CellSizeOf(dc, lf);
    const int roomX = work.right - work.left - chrome.cx - extraX;
    const int roomY = work.bottom - work.top - chrome.cy - extraY;
    if (Rec->MaxCols * cell.cx > roomX || Rec->MaxRows * cell.cy > roomY) {
        const std::vector<uint32_t>& sizes = FontSizes(dc);
        const int height = FittingFontHeight(sizes.data(), static_cast<int>(sizes.size()), Rec->MaxCols,
                                             Rec->MaxRows, roomX, roomY);
        if (height < 0) {
            const uint32_t entry = sizes[static_cast<std::size_t>(-height - 1)];
            cell = {PackedFontWidth(entry), PackedFontHeight(entry)};
        }
    }
    ReleaseDC(window_, dc);
    const int width = std::min(static_cast<int>(Rec->MaxCols * cell.cx + extraX + chrome.cx),
                               static_cast<int>(work.right - work.left));
    const int height = std::min(static_cast<int>(Rec->MaxRows * cell.cy + extraY + chrome.cy),
                                static_cast<int>(work.bottom - work.top));
    const int left = std::clamp(static_cast<int>(frameRect.left), static_cast<int>(work.left),
                                static_cast<int>(work.right) - width);
    const int top = std::clamp(static_cast<int>(frameRect.top), static_cast<int>(work.top),
                               static_cast<int>(work.bottom) - height);
    SetWindowPos(frame, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZolexView::FitFrameToDocument()
{
    HWND frame = GetParent(window_);
    if (!frame || IsZoomed(frame) || !CMainFrame::Instance()) return;
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    const SIZE room = ViewRoom(true);
    const int dx = docSize_.cx + (Rec->HistoryView ? GetSystemMetrics(SM_CXVSCROLL) : 0) - room.cx;
    const int dy = docSize_.cy - room.cy;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(frame, nullptr, 0, 0, frameRect.right - frameRect.left + dx, frameRect.bottom - frameRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollBars();
}

void CZolexView::RecalcFramesize(bool keepSize)
{
    HWND frame = window_ ? GetParent(window_) : nullptr;
    FrameMetrics m;
    m.maximised = frame && IsZoomed(frame);
    if (m.maximised) {
        // The grid is placed in the view as it is, whatever bars and borders the frame shows.
        const SIZE room = ViewRoom(true);
        m.fullScreenWidth = room.cx;
        m.fullScreenHeight = room.cy;
        m.vscrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    }
    const FrameGeometry g = ComputeFrameGeometry(*Rec, m, keepSize);
    ApplyFrameGeometry(*Rec, g);
    if (!keepSize) docSize_ = {g.docWidth, g.docHeight};
    // The bands around the text exist only in a maximised frame outside history view.
    SetButtonsShown(3, m.maximised && !Rec->HistoryView ? 0 : 1);
}

void CZolexView::OnSize()
{
    HWND frame = GetParent(window_);
    const bool minimised = frame && IsIconic(frame);
    RecalcFramesize(minimised);
    if (minimised) return;
    if (docSize_.cx > 0 && docSize_.cy > 0) UpdateScrollBars();
    if (Rec->ScaleFontToView) FrameRefitPending = 1;
    // A frame restored from maximised takes the size of its font rather than its old normal
    // rectangle (which may be far too small to read anything in).
    const bool maximised = frame && IsZoomed(frame);
    if (wasMaximised_ && !maximised) PostMessageA(window_, WM_COMMAND, kCmdScaleViewToFont, 0);
    wasMaximised_ = maximised;
}

void CZolexView::Refit()
{
    RefitAndUpdate();
    RefitAndUpdate();
    if (Rec->ResizeParentNow) FitFrameToDocument();
}

// The view goes: its font, the ordinary screen buttons, the logo, a running playback, the
// port of a file transfer, and a screen dump held open for appending (its page is printed).
void CZolexView::OnDestroy()
{
    FlushScreenDump();
    if (screenFont_) DeleteObject(screenFont_);
    screenFont_ = nullptr;
    DeleteDynButtonsById(0);
    logo_.reset();
    if (Rec->PlaybackState) ::CloseAllPlayFiles();
    CloseTransferPortAtExit();
}

void CZolexView::LoadLogo()
{
    if (logo_) return;
    auto logo = std::make_unique<CMaskedBitmap>();
    const bool alternate = lstrcmpiA(Rec->Logo, "TARNE") == 0;
    if (logo->LoadBitmap(alternate ? IDB_LOGO_ALT : IDB_LOGO)) logo_ = std::move(logo);
}

bool CZolexView::AskHostName(char* host, std::size_t size)
{
    return AskHostNameDialog(window_ ? GetParent(window_) : nullptr, host, size);
}

void CZolexView::UpdateScrollBars()
{
    if (!window_) return;
    // Whether a bar is needed is decided on the view without bars: a bar shown for an earlier,
    // larger document must not keep itself in place.
    const SIZE room = ViewRoom(true);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int rows = Rec->HistoryView ? Rec->HistoryRowsAlloc : 0;
    const int height = docSize_.cy + rows * Rec->CellHeight;
    bool vertical = height > room.cy;
    const bool horizontal = docSize_.cx > room.cx - (vertical ? barWidth : 0);
    if (horizontal && !vertical) vertical = height > room.cy - barHeight;
    const int pageX = std::max(0, static_cast<int>(room.cx) - (vertical ? barWidth : 0));
    const int pageY = std::max(0, static_cast<int>(room.cy) - (horizontal ? barHeight : 0));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = docSize_.cx - 1;
    si.nPage = static_cast<UINT>(pageX);
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, static_cast<int>(docSize_.cx) - pageX));
    si.nPos = scrollX_;
    SetScrollInfo(window_, SB_HORZ, &si, TRUE);
    si.nMax = height - 1;
    si.nPage = static_cast<UINT>(pageY);
    scrollY_ = std::clamp(scrollY_, 0, std::max(0, height - pageY));
    si.nPos = scrollY_;
    SetScrollInfo(window_, SB_VERT, &si, TRUE);
    ShowScrollBar(window_, SB_HORZ, horizontal);
    ShowScrollBar(window_, SB_VERT, vertical);
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
    if (Rec->HistoryView) {
        historyScrollX_ = x;
        historyScrollY_ = y;
    }
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
    if (HistoryAtStart) PostCommand(kCmdHistoryScrollback);
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
        CKeyinDlg prompt(window_ ? GetParent(window_) : nullptr);
        prompt.prompt = FwLoadString(IDS_PLAY_PROMPT);
        prompt.answer = name;
        prompt.browse = true;
        prompt.defaultExtension = FwLoadString(IDS_PLAY_EXTENSION);
        prompt.filter = FwLoadString(IDS_PLAY_FILTER);
        if (prompt.DoModal() != IDOK) return;
        name = prompt.answer;
    }
    if (OpenPlayFile(name.c_str(), 0)) lastPlayFile_ = name;
    else ShowMessage(45, "Failed to play file: " + name + PlayOpenFailureNote());
    ::PlaybackStep(false);
}
