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
#include "connections/dde/dde_commands.h"
#include "connections/netbios_session.h"
#include "connections/session_services.h"
#include "connections/session_trace.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "connections/telnet_trace.h"
#include "connections/win32/netbios_platform.h"
#include "connections/win32/serial_transport.h"
#include "connections/transfer_driver.h"
#include "connections/transfer_libraries.h"
#include "connections/win32/transfer_bindings.h"
#include "connections/win32/win32_transfer_host.h"
#include "connections/win32/winsock_transport.h"
#include "engine/colors.h"
#include "engine/dirty_rect.h"
#include "engine/ibm3270/cell_look.h"
#include "engine/ibm3270/tn3270_state.h"
#include "engine/view_port.h"
#include "engine/win32/win32_3270_hooks.h"
#include "engine/win32/win32_bell.h"
#include "engine/ibm3270/private_command.h"
#include "engine/win32/win32_view_port.h"
#include "host_platform.h"
#include "shell/session_document.h"
#include "shell/session_services.h"
#include "shell/session_record.h"
#include "shell/startup_state.h"
#include "shell/view_selection.h"
#include "connections/capture_file.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/capture_printer.h"
#include "shell/win32/dyn_button_paint.h"
#include "shell/win32/host_name_prompt.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/view_automation.h"
#include "view_resource_ids.h"
#include "shell/win32/transfer_dialog_calls.h"

namespace {

constexpr UINT_PTR kPlaybackTimer = 2022;
constexpr UINT kSocketMessage = WM_USER + 102;
constexpr int kCmdScaleViewToFont = 32768;
constexpr int kCmdPlayRecording = 32800;
constexpr int kCmdDisconnect = 257;
constexpr int kCmdNetTraceOn = 32808;
constexpr int kCmdCapture = 32786;
constexpr int kCmdNetTraceFile = 32842;
constexpr int kCmdRecordAtStartup = 32783;
constexpr int kCmdHistoryScrollback = 32837;
constexpr int kCmdKermitSettings = 32827;
constexpr int kCmdXYModemSettings = 32828;
constexpr int kCmdZModemSettings = 32830;
constexpr int kCmdTransferSettings = 32833;
constexpr int kSerialComType = 0;

CZolexView* activeView = nullptr;

// The view's logical palette, made once per process on displays of 256 colours or fewer (a
// display of more colours needs none).
HPALETTE ScreenPalette = nullptr;

void MakeScreenPalette(HDC dc)
{
    const int bits = (GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES)) % 32;
    if ((1u << bits) <= 16) return;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } palette{0x300, 256, {}};
    int red = 0, green = 0, blue = 0;
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY& p = palette.entries[i];
        if (i < 10) {
            p.peRed = p.peGreen = p.peBlue = static_cast<BYTE>(i * 25);
            continue;
        }
        p.peRed = static_cast<BYTE>(red);
        p.peGreen = static_cast<BYTE>(green);
        p.peBlue = static_cast<BYTE>(blue);
        red += 32;
        if (red > 224) {
            red = 0;
            green += 32;
            if (green > 224) {
                green = 0;
                blue = (blue + 80) % 320;
            }
        }
    }
    ScreenPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
}

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

// "tohostx" of the DDE server: the text runs as the action string of a key without a code.
int RunDdeAction(const char* text) { return activeView ? activeView->RunActionString(text) : 0; }

COLORREF PaletteColor(int index) { return static_cast<COLORREF>(Rec->ColorPalette[std::clamp(index, 0, kColorIndices - 1)]); }

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The two edge colours of underlines and boxes, which avoid the colour of `avoid`.
COLORREF DarkEdge(int avoid) { return PaletteColor(DarkEdgeIndex(avoid)); }
COLORREF LightEdge(int avoid) { return PaletteColor(LightEdgeIndex(avoid)); }

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
        if (ActiveButtonView() == this) SetButtonView(nullptr);
        RemoveViewAutomation();
        SetDdeActionRunner(nullptr);
        SetTransferHost(nullptr);
        SetWin32TransferHost(nullptr);
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
    case WM_SIZE: OnSize(); return 0;
    case WM_DESTROY: CloseTransferPortAtExit(); break;
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
    case 256:
        if (Rec->ComType == kSerialComType && !Rec->Connected) PreloadTransferLibraries();
        ConnectDisconnectCommand(EngineWindow(window_));
        return true;
    case kCmdDisconnect: DisconnectCommand(EngineWindow(window_)); return true;
    case kCmdNetTraceOn: SetNetTraceOn(true); return true;
    case kCmdCapture: CaptureToFileCommand(EngineWindow(window_)); return true;
    case kCmdNetTraceFile: SetNetTraceFile(1); return true;
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
    AllocTelnetRings();
    InstallSerialTransport();
    InstallWin32NetbiosTransport();
    InstallWinsockTransport();
    terminalPort.SetFrame(GetParent(window_));
    SetViewPort(&terminalPort);
    SetConnectionView(this);
    SetPlaybackHost(this);
    SetSessionServices(&recordingServices);
    SetButtonView(this);
    InstallViewAutomation(doc_, this);
    InstallVtInterpreter();
    Install3270ViewHooksWin32();
    InstallTerminalBellWin32();
    InstallCapturePrinterWin32();
    InstallSessionServiceHooks();
    InstallHostCommandHooks();
    InstallWin32HostCommands(GetParent(window_), window_);
    SetDdeActionRunner(RunDdeAction);
    transferHost_ = std::make_unique<Win32TransferHost>(GetParent(window_), [this] {
        return doc_ ? doc_->strings.AxDirectory : std::string();
    });
    SetTransferHost(transferHost_.get());
    SetWin32TransferHost(transferHost_.get());
    InstallTransferLibraries(&BoundTransferLibraries());
    BuildPaletteColors();
    LoadLogo();
    if (!ScreenPalette) {
        HDC dc = GetDC(window_);
        MakeScreenPalette(dc);
        ReleaseDC(window_, dc);
    }
    if (Rec->TerminalFamily3270) {
        TelnetInit();
        Tn3270Reset();
    }
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
    if (Rec->ScaleFontToView && frame && !IsZoomed(frame)) ScaleFontToView(dc);
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

void CZolexView::RecalcFramesize(bool keepSize)
{
    HWND frame = window_ ? GetParent(window_) : nullptr;
    FrameMetrics m;
    m.maximised = frame && IsZoomed(frame);
    if (m.maximised) {
        m.fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
        m.fullScreenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
        m.hasMenu = GetMenu(frame) != nullptr;
        m.menuHeight = GetSystemMetrics(SM_CYMENU);
        m.hasCaption = (GetWindowLongA(frame, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
        m.vscrollWidth = GetSystemMetrics(SM_CXVSCROLL);
        for (int id : {0xE800, 0xE801}) {
            HWND bar = GetDlgItem(frame, id);
            RECT r;
            if (bar && IsWindowVisible(bar) && GetWindowRect(bar, &r)) m.barsHeight += r.bottom - r.top;
        }
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

// The planes a paint reads: the visible screen or, in history view, the history rows followed by
// the screen; in 3270 mode the buffer through the field model.
struct CZolexView::RowPlanes {
    bool mode3270 = false;
    int cols = 0;  // columns painted per row
    const uint8_t *chars = nullptr, *fg = nullptr, *bg = nullptr, *flags = nullptr;
};

int CZolexView::PaintScreen(HDC dc)
{
    const bool mode3270 = Rec->TerminalFamily3270 != 0;
    const bool history = Rec->HistoryView != 0 && !mode3270;
    RowPlanes planes;
    planes.mode3270 = mode3270;
    planes.cols = Rec->MaxCols;
    planes.chars = history ? Rec->CharsBase : Rec->CharsScreen;
    planes.fg = history ? Rec->FgBase : Rec->FgScreen;
    planes.bg = history ? Rec->BgBase : Rec->BgScreen;
    planes.flags = history ? Rec->FlagsBase : Rec->FlagsScreen;
    int rows = history ? Rec->HistoryCells / std::max(planes.cols, 1) + Rec->MaxRows : Rec->MaxRows;
    if (mode3270) {
        // The 3270 buffer may be smaller than the screen (and never larger is painted).
        rows = std::min(rows, Tn3270State.Rows3270);
        planes.cols = std::min(planes.cols, Tn3270State.Columns3270);
    }
    const int rowOffset = history ? Rec->HistoryRowsAlloc : 0;
    if (Rec->UsePalette && ScreenPalette) {
        SelectPalette(dc, ScreenPalette, FALSE);
        RealizePalette(dc);
    }
    if (Rec->ScreenFrozen || !planes.chars || planes.cols <= 0) return 1;

    HGDIOBJ oldFont = screenFont_ ? SelectObject(dc, screenFont_) : nullptr;
    fontBeforeBold_ = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    lastRunFlags_ = -1;
    RECT clip;
    GetClipBox(dc, &clip);
    const CellSpan span = CellsInClip(clip.left, clip.top, clip.right, clip.bottom, std::max(rows, 0), planes.cols,
                                      Margins(), Rec->CellWidth, Rec->CellHeight);
    bool boxInvalidated = false;
    for (int row = span.firstRow; row <= span.lastRow; ++row) PaintRow(dc, row, rowOffset, span, planes, boxInvalidated);
    boxRepaintPending_ = boxInvalidated;

    const GridMargins m = Margins();
    const int gridRight = m.left + Rec->MaxCols * Rec->CellWidth;
    const int gridBottom = m.top + Rec->MaxRows * Rec->CellHeight;
    if (clip.left < m.left || clip.top < m.top || clip.right > gridRight || clip.bottom > gridBottom) {
        const RECT document = {0, 0, std::max(docSize_.cx, static_cast<LONG>(gridRight + m.right)),
                               std::max(docSize_.cy, static_cast<LONG>(gridBottom + m.bottom))};
        DrawFrame(dc, document);
        if (logo_ && ShowLogoImage && m.top >= logo_->Height())
            logo_->DrawTransparent(dc, document.right / 2 - logo_->Width() / 2, 0, RGB(255, 255, 255));
    }
    paintDc_ = dc;
    if (!history) PaintButtons(dc, clip);
    if (!history && Rec->EnableDynamicHotspots)
        for (const HotspotWord& word : FindHotspotWords(*Rec, span)) CreateDynamicHotspot(word);
    paintDc_ = nullptr;
    PaintSelection(dc);

    if (oldFont) SelectObject(dc, oldFont);
    else SelectObject(dc, fontBeforeBold_);
    UpdateCaretPos();
    if (boldFont_) {
        DeleteObject(boldFont_);
        boldFont_ = nullptr;
    }
    return 1;
}

void CZolexView::PaintRow(HDC dc, int row, int rowOffset, const CellSpan& span, const RowPlanes& planes,
                          bool& boxInvalidated)
{
    const bool boxes = Rec->BoxEnable != 0;
    const int32_t* fgMap = boxes ? (planes.mode3270 ? Rec->BoxMap3270Fg : Rec->BoxMapFg) : nullptr;
    const int32_t* bgMap = boxes ? (planes.mode3270 ? Rec->BoxMap3270Bg : Rec->BoxMapBg) : nullptr;
    const int normalBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    const int lastCol = std::min(span.lastCol, planes.cols - 1);
    const std::size_t at = static_cast<std::size_t>(row) * planes.cols;
    const int address = static_cast<int>(at);  // 3270: the buffer address of column 0
    const uint8_t* fg = planes.fg + at;
    const uint8_t* bg = planes.bg + at;
    const uint8_t* flags = planes.flags + at;
    // The colours of a cell before box colours (used for the box neighbours).
    auto cellColors = [&](int c, int& f, int& b) {
        if (planes.mode3270) {
            const Look3270 look = CellLook3270(std::max(address + c, 0));
            f = look.fg;
            b = look.bg;
        } else {
            f = fg[c];
            b = bg[c];
        }
    };
    char text[kScreenCells];
    for (int col = span.firstCol; col <= lastCol;) {
        int length = 0, cellFg = 0, cellBg = 0;
        uint8_t cellFlags = 0;
        if (planes.mode3270) {
            const Look3270 look = CellLook3270(address + col);
            length = RunLength3270(address + col, address + lastCol);
            cellFg = look.fg;
            cellBg = look.bg;
            cellFlags = look.flags;
            for (int i = 0; i < length; ++i) text[i] = CellText3270(address + col + i);
        } else {
            length = CellRunLength(fg, bg, flags, col, lastCol);
            cellFg = fg[col];
            cellBg = bg[col];
            cellFlags = flags[col];
            std::memcpy(text, planes.chars + at + col, static_cast<std::size_t>(length));
        }
        const int last = col + length - 1;
        const RunColors colors = ColorsOfCell(cellFg, cellBg, fgMap, bgMap, normalBg);
        SetBkColor(dc, PaletteColor(colors.bg));
        SetTextColor(dc, PaletteColor(colors.fg));
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
        if (cellFlags & kCellLineDrawing) {
            for (int c = col; c <= last; ++c)
                DrawLineGraphics(dc, CellsToPixels(c, c, row), static_cast<uint8_t>(text[c - col]));
        } else {
            DrawRunText(dc, cellFlags, col, row, text, length);
        }
        if (cellFlags & kCellUnderline) DrawTrueUnderline(dc, cells);
        if (colors.boxKind) {
            int nf = 0, nb = 0;
            int leftKind = 255, rightKind = 255;
            if (col > 0) {
                cellColors(col - 1, nf, nb);
                leftKind = BoxKindOf(nf, nb, fgMap, bgMap, colors.kindFromFg);
            }
            if (last < planes.cols - 1) {
                cellColors(last + 1, nf, nb);
                rightKind = BoxKindOf(nf, nb, fgMap, bgMap, colors.kindFromFg);
            }
            DrawBoxEdges(dc, cells, leftKind != colors.boxKind, rightKind != colors.boxKind, colors.boxKind);
            // A box continued from the left is painted once more whole, unless the previous paint
            // already asked for that.
            if (leftKind == colors.boxKind && !boxRepaintPending_ && window_) {
                RECT again = cells;
                OffsetRect(&again, -scrollX_, -scrollY_);
                again.left += 1;
                again.bottom += 1;
                InvalidateRect(window_, &again, FALSE);
                boxInvalidated = true;
            }
        }
        col = last + 1;
    }
    (void)rowOffset;
}

void CZolexView::DrawRunText(HDC dc, uint8_t cellFlags, int col, int row, const char* text, int length)
{
    const int x = col * Rec->CellWidth + Rec->LeftMargin;
    const int y = row * Rec->CellHeight + Rec->TopMargin;
    if (cellFlags & kCellBold) {
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
    // The strips beyond the frame's band (a maximised frame's spare) in the frame background.
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
    // The band around the grid in the frame colour.
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
    if (a > b && a > c) return;

    // 3-D edges: raised at the band's outer edge, sunk at its inner edge.
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(frameFg));
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(frameFg));
    HGDIOBJ oldPen = SelectObject(dc, black);
    RECT o = r;
    o.top += c - a;
    o.bottom += a - e;
    o.left += b - a;
    o.right += a - d;
    const bool right = d >= a, bottom = e >= a, left = b >= a, top = c >= a;
    if (right) Line(dc, o.right - 1, o.top, o.right - 1, o.bottom);
    if (bottom) Line(dc, o.left, o.bottom - 1, o.right, o.bottom - 1);
    SelectObject(dc, light);
    if (left) Line(dc, o.left, o.top, o.left, o.bottom - 1);
    if (top) Line(dc, o.left, o.top, o.right - 1, o.top);
    SelectObject(dc, dark);
    if (right) Line(dc, o.right - 2, o.top + 1, o.right - 2, o.bottom - 1);
    if (bottom) Line(dc, o.left + 1, o.bottom - 2, o.right - 1, o.bottom - 2);
    RECT in = o;
    const int lead = a > 0 ? a - 1 : a;
    in.top += lead;
    in.left += lead;
    in.bottom -= a;
    in.right -= a;
    SelectObject(dc, light);
    if (right) Line(dc, in.right, in.top, in.right, in.bottom + 1);
    if (bottom) Line(dc, in.left, in.bottom, in.right + 1, in.bottom);
    SelectObject(dc, dark);
    if (left) Line(dc, in.left, in.top, in.left, in.bottom);
    if (top) Line(dc, in.left, in.top, in.right, in.top);
    SelectObject(dc, oldPen);
    DeleteObject(black);
    DeleteObject(light);
    DeleteObject(dark);
}

void CZolexView::DrawSelectionFrame(HDC dc, RECT r)
{
    HPEN grey = CreatePen(PS_DOT, 1, 0x02808080);
    HPEN lightGrey = CreatePen(PS_DOT, 1, 0x02C0C0C0);
    const int oldMode = SetBkMode(dc, OPAQUE);
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, grey);
    Line(dc, r.right, r.top, r.right, r.bottom);
    Line(dc, r.right, r.bottom, r.left, r.bottom);
    SetBkColor(dc, PaletteColor(19));
    SelectObject(dc, lightGrey);
    Line(dc, r.left, r.bottom, r.left, r.top);
    Line(dc, r.left, r.top, r.right, r.top);
    SelectObject(dc, oldPen);
    SetBkColor(dc, oldBack);
    SetBkMode(dc, oldMode);
    DeleteObject(grey);
    DeleteObject(lightGrey);
}

void CZolexView::PaintSelection(HDC dc)
{
    if (Selection.IsEmpty()) return;
    const int rowOffset = Rec->HistoryView && !Rec->TerminalFamily3270 ? Rec->HistoryRowsAlloc : 0;
    const PixelRect p = CellRectToPixels(Selection, rowOffset, Margins(), Rec->CellWidth, Rec->CellHeight);
    DrawSelectionFrame(dc, RECT{p.left, p.top, p.right - 1, p.bottom});
    PaintedSelection = Selection;
    if (window_) SetStatusPane(SelectionStatusText(Selection).c_str(), 2, 0x800000, 0xC0C0C0);
}

// ---------------------------------------------------------------------------------------------
// Screen buttons and dynamic hotspots.

ButtonGeometry CZolexView::Geometry()
{
    ButtonGeometry g;
    g.cellWidth = Rec->CellWidth;
    g.cellHeight = Rec->CellHeight;
    g.viewWidth = docSize_.cx;
    g.viewHeight = docSize_.cy;
    g.left = Rec->LeftMargin;
    g.top = Rec->TopMargin;
    g.right = Rec->RightMargin;
    g.bottom = Rec->BottomMargin;
    g.frameSize = Rec->FrameSize;
    g.scrollX = scrollX_;
    g.scrollY = scrollY_;
    return g;
}

void CZolexView::InvalidateButton(const ButtonRect& r)
{
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    if (window_) InvalidateRect(window_, &rect, TRUE);
}

void CZolexView::PaintButton(const DynButton& button)
{
    ButtonRect r = button.GetScreenRect(Geometry());
    if (paintDc_) {
        // The paint's DC is in document coordinates.
        r = {r.left + scrollX_, r.top + scrollY_, r.right + scrollX_, r.bottom + scrollY_};
        PaintDynButton(paintDc_, button, r);
        return;
    }
    if (!window_) return;
    HDC dc = GetDC(window_);
    PaintDynButton(dc, button, r);
    ReleaseDC(window_, dc);
}

void CZolexView::SetButtonsShown(int lowestMode, int kind)
{
    for (auto& entry : DynButtonMap)
        if (entry.second->placement >= lowestMode) entry.second->SetState(kind, *this);
}

// Buttons under the clip box: hotspot buttons go (the word scan makes them again where their word
// still is), the others are painted.
void CZolexView::PaintButtons(HDC dc, const RECT& clip)
{
    if (!Rec->EnableHotspots && !Rec->EnableDynamicHotspots) return;
    const ButtonGeometry g = Geometry();
    const ButtonRect area = {clip.left, clip.top, clip.right, clip.bottom};
    for (auto it = DynButtonMap.begin(); it != DynButtonMap.end();) {
        ButtonRect r = it->second->GetScreenRect(g);
        r = {r.left + scrollX_, r.top + scrollY_, r.right + scrollX_, r.bottom + scrollY_};
        // The frame's last pixels lie on the right and bottom coordinates.
        const ButtonRect drawn = {r.left, r.top, r.right + 1, r.bottom + 1};
        if (!drawn.Meets(area)) {
            ++it;
        } else if (it->second->isHotspot) {
            it = DynButtonMap.erase(it);
        } else {
            PaintDynButton(dc, *it->second, r);
            ++it;
        }
    }
}

void CZolexView::CreateDynamicHotspot(const HotspotWord& word)
{
    static int hotspotCount = 0;
    uint8_t& mark = Rec->FlagsScreen[word.row * Rec->MaxCols + word.first];
    const std::string action = HotspotEffectiveString(word.text);
    if (action.empty()) {
        // The word is no longer a hotspot: its button goes and its area is repainted.
        if (!(mark & kCellHotspot)) return;
        for (auto it = DynButtonMap.begin(); it != DynButtonMap.end();) {
            DynButton& b = *it->second;
            if (b.isHotspot && b.cellRect.col == word.first + 1 && b.cellRect.row == word.row + 1) {
                b.hotspotChanged = 1;
                it = DynButtonMap.erase(it);
            } else {
                ++it;
            }
        }
        return;
    }
    const HotspotButtonDefinition d = HotspotButton(*Rec, word, "MgX" + std::to_string(++hotspotCount), action);
    if (CreateDynButton(Window(), d.numbers, 12, d.text.c_str(), 1)) mark |= kCellHotspot;
}

// ---------------------------------------------------------------------------------------------
// The connection layer's view.

ViewWindow CZolexView::Window() { return EngineWindow(window_); }

void CZolexView::RefreshTitle()
{
    if (doc_) doc_->SetTitle(nullptr);
}

void CZolexView::IdlePass()
{
    // The title and the bars show the new state before a long step (a connect, a question).
    if (HWND frame = GetParent(window_))
        RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool CZolexView::ConfirmAbortConnect()
{
    return MessageBoxA(GetParent(window_), "Connection in progress.   Abort?", "Tolvi",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CZolexView::SetBusyCursor(bool on) { ::SetBusyCursor(on); }

// Timer 2021 counts the dial time-out down, shown in the title; at its end the PC side gives up.
void CZolexView::OnDialCountdown()
{
    if (--Rec->DialCountdown > 0) {
        RefreshTitle();
        return;
    }
    Rec->DialCountdown = 0;
    ::KillTimer(window_, kDialTimer);
    Rec->HangupReason = 1;
    CloseConnection(Window());
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
// A 3270 replay's DATA: texts are the host's private commands (programs, sounds, buttons).
void CZolexView::PrivateCommand3270(const uint8_t* bytes, int count) { Do3270PrivateCommand(Window(), doc_, bytes, count); }

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
    if (!Rec->HistoryView) PostCommand(kCmdHistoryScrollback);
}

void CZolexView::ToggleScreen()
{
    HWND frame = GetParent(window_);
    if (frame) SendFrameSysCommand(IsZoomed(frame) ? SC_RESTORE : SC_MAXIMIZE);
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

int CZolexView::RunActionString(const char* text) { return keyboard_.RunActionString(text, 0, nullptr, nullptr); }

const KeyMap* CZolexView::Keys() { return doc_ ? &doc_->keyMap : nullptr; }

const KeyDefTable* CZolexView::KeyDefinitions() { return doc_ ? &doc_->keyDefs : nullptr; }
