#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <direct.h>
#include <io.h>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_main_frame.h"
#include "ftp_views.h"
#include "tolviftp_ids.h"
#include "transfer_walk.h"

namespace {

constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr int kScrollBarId = 101;

// The Windows side of the settings load.
class ProfileSettings : public FtpSettingsSource {
public:
    std::string Value(const char* section, const char* key, const char* fallback) override
    {
        std::vector<char> text(1024);
        for (;;) {
            const DWORD n = GetPrivateProfileStringA(section, key, fallback, text.data(), static_cast<DWORD>(text.size()),
                                                     kFtpIniFile);
            if (n + 1 < text.size() || text.size() >= 65536)
                return std::string(text.data(), n);
            text.resize(text.size() * 4);
        }
    }
    std::vector<std::string> Keys(const char* section) override
    {
        std::vector<char> names(32768);
        const DWORD n = GetPrivateProfileStringA(section, nullptr, "", names.data(), static_cast<DWORD>(names.size()),
                                                 kFtpIniFile);
        std::vector<std::string> keys;
        for (DWORD i = 0; i < n;) {
            const std::string key(&names[i]);
            if (key.empty())
                break;
            keys.push_back(key);
            i += static_cast<DWORD>(key.size()) + 1;
        }
        return keys;
    }
    std::vector<std::string> Environment() override
    {
        std::vector<std::string> entries;
        char* block = GetEnvironmentStringsA();
        for (const char* p = block; p && *p; p += std::strlen(p) + 1)
            entries.emplace_back(p);
        if (block)
            FreeEnvironmentStringsA(block);
        return entries;
    }
    bool IsDirectory(const std::string& path) override
    {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    int MakeDirectory(const std::string& path) override { return _mkdir(path.c_str()) == 0 ? 0 : errno; }
};

RECT ToRect(const FtpRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

std::unique_ptr<ScriptHost> MakeViewScriptHost(FtpMainView& view);

FtpMainView::FtpMainView() : scriptHost_(MakeViewScriptHost(*this)), scripts_(std::make_unique<ScriptRunner>(*scriptHost_))
{
    scripts_->scriptDirectory = FtpCurrentDirectory();
    OnCommand(ID_FTP_ABORT, [this] { AbortCommand(); });
    // Abort also reaches a script that does not talk to the host.
    OnUpdateCommand(ID_FTP_ABORT, [this](FwCmdUI& ui) { ui.Enable(FtpBusyCount() > 0 || scripts_->Running()); });
    OnCommand(ID_FTP_SCRIPTS, [this] { ScriptsCommand(); });
    for (int id : {ID_FTP_CONNECT, ID_FTP_SITE_SETTINGS, ID_FTP_TRANSFER_SETUP})
        OnCommand(id, [this] { SiteCommand(); });
    OnUpdateCommand(ID_FTP_CONNECT, [this](FwCmdUI& ui) { ui.Enable(!connected_); });
    OnUpdateCommand(ID_FTP_SITE_SETTINGS, [](FwCmdUI& ui) { ui.Enable(!LimitedMode && FtpBusyCount() == 0); });
    OnCommand(ID_FTP_DISCONNECT, [this] { DisconnectCommand(); });
    OnUpdateCommand(ID_FTP_DISCONNECT, [this](FwCmdUI& ui) { ui.Enable(connected_); });
    OnCommand(ID_FTP_GENERAL_SETTINGS, [this] { GeneralSettingsCommand(); });
    OnUpdateCommand(ID_FTP_GENERAL_SETTINGS, [](FwCmdUI& ui) { ui.Enable(!LimitedMode); });
    OnCommand(ID_FTP_DELETE_LOCAL_SELECTED, [this] { DeleteLocalSelected(); });
    OnCommand(ID_FTP_DELETE_REMOTE_SELECTED, [this] { DeleteRemoteSelected(); });
    OnCommand(ID_FTP_CREATE_LOCAL_DIR, [this] { CreateLocalDirectory(); });
    OnCommand(ID_FTP_CREATE_REMOTE_DIR, [this] { CreateRemoteDirectory(); });
    if (TheFtpApp().installMode)
        InstallSetUp();
}

FtpMainView::~FtpMainView()
{
    if (progressBitmap_)
        DeleteObject(progressBitmap_);
}

FtpDocument& FtpMainView::Doc() const { return *static_cast<FtpDocument*>(Document()); }

int FtpMainView::OnCreate()
{
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    charWidth_ = metrics.tmAveCharWidth;
    charHeight_ = metrics.tmHeight;
    lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
    progressBitmap_ = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_FTP_PROGRESS));

    // The translation settings live with the application; they report to this window.
    Xlate().programDir = TheFtpApp().startDirectory;
    scrollBar_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 16, 100, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kScrollBarId)), GetModuleHandleA(nullptr),
                                 nullptr);
    SetScrollRange(scrollBar_, SB_CTL, rows_, FtpLogRing::kLines, FALSE);
    SetScrollPos(scrollBar_, SB_CTL, FtpLogRing::kLines, TRUE);
    return 0;
}

void FtpMainView::Layout()
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (!LayoutMainView(client.right, client.bottom, charWidth_, charHeight_, lineHeight_, layout_))
        return;
    rows_ = layout_.rows;
    if (scrollBar_) {
        const FtpRect& r = layout_.scrollBar;
        MoveWindow(scrollBar_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        SetScrollRange(scrollBar_, SB_CTL, rows_, FtpLogRing::kLines, TRUE);
        if (position_ < rows_)
            ScrollTo(rows_);
    }
}

void FtpMainView::OnInitialUpdate()
{
    Layout();
    progress_.Reset(0, "");  // no size yet: nothing to show
    FtpApp& app = TheFtpApp();
    if (app.installMode) {
        InstallStartUp();
        return;
    }
    LogStringId(3005);
    ProfileSettings source;
    settings_ = LoadGeneralSettings(source);
    if (settings_.tempDirMessage == 3045)
        LogStringId(3045, settings_.tempDir.c_str(), settings_.tempDirError);
    else if (settings_.tempDirMessage == 3046)
        LogStringId(3046, settings_.tempDir.c_str());
    FtpSetTempDir(settings_.tempDir.c_str());
    Xlate().appendMode = settings_.appendMode;
    Xlate().avoidZero = settings_.avoidZero;
    app.autoSizeWindow = settings_.autoSizeWindow;

    if (logFile_ == INVALID_HANDLE_VALUE && !settings_.logFile.empty() && settings_.enableLog)
        OpenLogFile();
    FtpSetVerbose(settings_.verbose, reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_VERBOSE);
    FtpSetDebug(settings_.debug, reinterpret_cast<std::uintptr_t>(Handle()), WM_FTP_VERBOSE);
    FtpSetRetain(settings_.retain);
    // The site list is the same however the program starts: a script's site=NAME finds the
    // stored sites, and the site dialog adds to them instead of writing over site 1.
    sites_.SetNumbers(settings_.siteNumbers);
    SetConnected(false);
    if (!app.installMode && !app.commandLine.empty()) {
        // The command line runs as a script once the window shows: the timer is brought forward
        // by the first paint, and starts it anyway when the window is never painted.
        if (WriteCommandLineScript(app.commandLine)) {
            scriptArmed_ = SetTimer(Handle(), IDT_SCRIPT_START, 300, nullptr) != 0;
            if (!scriptArmed_)
                LogStringId(3007);
        }
        return;
    }
    if (!app.installMode && app.commandLine.empty()) {
        // The default site, else the first one listed.
        std::string first;
        if (SiteApply(settings_.defaultSite) < 0 && sites_.NameAt(0, first) > 0)
            SiteApply(first);
        if (!siteLoaded_)
            siteNumber_ = 1;
    }
}

void FtpMainView::OpenLogFile()
{
    logFile_ = CreateFileA(settings_.logFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile_ == INVALID_HANDLE_VALUE)
        LogMessage("Error: Cannot create log file %s. Error # %lu", settings_.logFile.c_str(), GetLastError());
}

void FtpMainView::OnUpdate(FwView* sender, long hint)
{
    if (hint == 0) {
        InvalidateRect(Handle(), nullptr, TRUE);
    } else if (hint == HINT_SEND_SELECTED) {
        remoteFile_.clear();
        SendSelectedFiles();
    } else if (hint == HINT_RECEIVE_SELECTED) {
        localFile_.clear();
        ReceiveSelectedFiles();
    }
}

int FtpMainView::LogMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatLogText(format, args);
    va_end(args);
    for (const std::string& line : SplitLogLines(text))
        AddLogLine(line);
    return 0;
}

int FtpMainView::LogStringId(int id, ...)
{
    const std::string format = LoadLocalString(id);
    va_list args;
    va_start(args, id);
    const std::string text = FormatLogText(format.c_str(), args);
    va_end(args);
    for (const std::string& line : SplitLogLines(text))
        AddLogLine(line);
    return 0;
}

void FtpMainView::WriteLogFile(const std::string& stamped, const SYSTEMTIME& now)
{
    if (logFile_ == INVALID_HANDLE_VALUE)
        return;
    std::string out;
    if (SetFilePointer(logFile_, 0, nullptr, FILE_CURRENT) == 0)
        out = LogFileHeader(now.wHour, now.wMinute, now.wSecond, FtpAppVersionText(), now.wYear, now.wMonth, now.wDay) +
              "\r\n";
    out += stamped + "\r\n";
    DWORD written = 0;
    WriteFile(logFile_, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

void FtpMainView::AddLogLine(const std::string& text)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line = LogStamp(now.wHour, now.wMinute, now.wSecond) + ShowControlBytes(text);
    WriteLogFile(line, now);
    const int slot = ring_.Next();
    ring_.Add(line);
    if (rows_ >= 1 && Handle() && IsWindowVisible(Handle())) {
        RECT area = ToRect(layout_.logText);
        RECT pending;
        if (GetUpdateRect(Handle(), &pending, FALSE)) {
            // A paint is due: scrolling now would move half-drawn lines; the paint draws the
            // whole log instead.
            RECT box = ToRect(layout_.logBox);
            InvalidateRect(Handle(), &box, TRUE);
            return;
        }
        int by = lineHeight_;
        if (rows_ == 1 && by > area.bottom - area.top)
            by = area.bottom - area.top;
        ScrollWindowEx(Handle(), 0, -by, &area, nullptr, nullptr, nullptr, 0);
        HDC dc = GetDC(Handle());
        const RECT clip = ToRect(layout_.newestLine);
        FillRect(dc, &clip, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        DrawLine(dc, ring_.Slot(slot), layout_.newestLineY, clip);
        ReleaseDC(Handle(), dc);
        ValidateRect(Handle(), &clip);
    }
}

void FtpMainView::DrawLine(HDC dc, const std::string& line, int y, const RECT& clip)
{
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, LogLineColour(line));
    ExtTextOutA(dc, layout_.lineX, y, ETO_CLIPPED, &clip, line.data(), static_cast<UINT>(line.size()), nullptr);
    SelectObject(dc, old);
}

void FtpMainView::Paint(HDC dc)
{
    auto sunken = [&](const FtpRect& r) {
        HPEN grey = CreatePen(PS_SOLID, 1, kShadow);
        HGDIOBJ old = SelectObject(dc, grey);
        MoveToEx(dc, r.left, r.bottom - 2, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right, r.top);
        SelectObject(dc, GetStockObject(WHITE_PEN));
        LineTo(dc, r.right, r.bottom - 2);
        LineTo(dc, r.left, r.bottom - 2);
        SelectObject(dc, old);
        DeleteObject(grey);
    };
    sunken(layout_.progressBox);
    sunken(layout_.logBox);
    int slot = ring_.FirstShown(position_, rows_);
    for (int i = 0; i < rows_; ++i) {
        const int y = layout_.firstLineY + i * lineHeight_;
        RECT clip{2 * charWidth_, y, layout_.logText.right, y + lineHeight_};
        // Each line on its own background: text drawn twice over itself would look bold.
        FillRect(dc, &clip, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        DrawLine(dc, ring_.Slot(slot), y, clip);
        slot = slot + 1 == FtpLogRing::kLines ? 0 : slot + 1;
    }
    DrawProgressBar(dc, true);
    DrawProgressBar(dc, false);
}

void FtpMainView::DrawProgressBar(HDC dc, bool clear)
{
    RECT bar = ToRect(layout_.progressBox);
    InflateRect(&bar, -4, -4);
    if (bar.right <= bar.left || bar.bottom <= bar.top)
        return;
    SetBrushOrgEx(dc, bar.left % 8, bar.top % 8, nullptr);
    RECT textLine = ToRect(layout_.progressText);
    if (clear || progress_.Done() == 0) {
        FillRect(dc, &bar, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FillRect(dc, &textLine, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        return;
    }
    // Without an announced size the bar stays empty; the text says what arrived and how fast.
    RECT filled = bar;
    filled.right = bar.left + progress_.FilledWidth(bar.right - bar.left);
    HBRUSH pattern = progressBitmap_ ? CreatePatternBrush(progressBitmap_) : CreateSolidBrush(kNavy);
    FillRect(dc, &filled, pattern);
    DeleteObject(pattern);
    const std::string text = progress_.BarText();
    FillRect(dc, &textLine, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kBackground);
    SetTextColor(dc, kNavy);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textLine, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    if (TheFtpApp().autoSizeWindow && Frame())
        static_cast<FtpMainFrame*>(Frame())->SetDocumentTitle(text);
}

void FtpMainView::UpdateProgress(std::int64_t done, std::int64_t total, const char* name)
{
    if (!progress_.Update(done, total, name, GetTickCount64()))
        return;
    if (!progress_.DrawThisTime() || !Handle())
        return;
    HDC dc = GetDC(Handle());
    DrawProgressBar(dc, progress_.Done() == 0);
    ReleaseDC(Handle(), dc);
}

void FtpMainView::ScrollTo(int position)
{
    if (position < rows_)
        position = rows_;
    if (position > FtpLogRing::kLines)
        position = FtpLogRing::kLines;
    if (position == position_)
        return;
    position_ = position;
    if (scrollBar_)
        SetScrollPos(scrollBar_, SB_CTL, position_, TRUE);
    RECT box = ToRect(layout_.logBox);
    InvalidateRect(Handle(), &box, TRUE);
    UpdateWindow(Handle());
}

bool FtpMainView::Idle() const { return FtpBusyCount() == 0 && !transferRunning_ && !WalkRunning(transferState_); }

void FtpMainView::ExitCommand()
{
    scripts_->StopAllScripts();
    if (!Idle()) {
        // A socket call blocks under us: cancel it, and nothing else now. The cancelled
        // operation cleans up after itself (a partial download is removed); a log-on that fails
        // while ExitRequested is set closes the window.
        ExitRequested = 1;
        FtpAbort();
        return;
    }
    ExitCleanup();
    if (Frame())
        PostMessageA(Frame()->Handle(), WM_CLOSE, 0, 0);
}

bool FtpMainView::CanCloseFrame()
{
    if (Idle())
        return true;
    ExitCommand();
    return false;
}

void FtpMainView::FinishWhenIdle()
{
    if (SetTimer(Handle(), IDT_FINISH_PENDING, 100, nullptr) == 0)
        LogStringId(3007);
}

void FtpMainView::FinishPending()
{
    if (!Idle())
        return;
    KillTimer(Handle(), IDT_FINISH_PENDING);
    if (disconnectPending_) {
        disconnectPending_ = false;
        DisconnectCommand();
    }
}

void FtpMainView::ConnectionLost()
{
    if (!connected_ || FtpLoggedOn())
        return;
    // The server closed the connection: the session is over and Connect starts a new one.
    FtpClose();
    SetConnected(false);
    if (Frame())
        static_cast<FtpMainFrame*>(Frame())->SetDocumentTitle(" ");
    RefreshView(FtpViewKind::kRemote, ID_FTP_REMOTE_REFRESH);
}

void FtpMainView::SetConnected(bool on)
{
    connected_ = on;
    // Connect and Disconnect stand in the menu bar itself, which no menu opening updates.
    if (Frame())
        static_cast<FtpMainFrame*>(Frame())->UpdateMenuBar();
}

void FtpMainView::ExitCleanup()
{
    if (connected_) {
        FtpClose();
        connected_ = false;
    }
    if (apiStarted_) {
        FtpRelease();
        apiStarted_ = false;
    }
    if (logFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(logFile_);
        logFile_ = INVALID_HANDLE_VALUE;
    }
    if (settings_.retain || settings_.tempDir.empty())
        return;
    std::string folder = settings_.tempDir;
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "tvftp???.dir").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    DeleteFileA((folder + "TolviFTP.ftp").c_str());
    if (!commandScript_.empty())
        DeleteFileA(commandScript_.c_str());
}

bool FtpMainView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT: {
        // The window's text is its log, oldest line first (for screen readers and tests).
        std::string text;
        for (int i = 0; i < FtpLogRing::kLines; ++i) {
            const std::string& line = ring_.Slot((ring_.Next() + i) % FtpLogRing::kLines);
            if (!line.empty())
                text += line + "\r\n";
        }
        if (message == WM_GETTEXTLENGTH) {
            result = static_cast<LRESULT>(text.size());
        } else if (wParam > 0) {
            const std::size_t n = std::min(text.size(), static_cast<std::size_t>(wParam) - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = '\0';
            result = static_cast<LRESULT>(n);
        }
        return true;
    }
    case WM_SIZE:
        Layout();
        InvalidateRect(Handle(), nullptr, TRUE);
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        EndPaint(Handle(), &paint);
        if (scriptArmed_) {
            // Painted: the script starts as soon as the messages queued behind the paint are handled.
            scriptArmed_ = false;
            SetTimer(Handle(), IDT_SCRIPT_START, USER_TIMER_MINIMUM, nullptr);
        }
        return true;
    }
    case WM_ERASEBKGND: {
        RECT area;
        GetClipBox(reinterpret_cast<HDC>(wParam), &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        result = 1;
        return true;
    }
    case WM_VSCROLL:
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(position_ - 1); return true;
        case SB_LINEDOWN: ScrollTo(position_ + 1); return true;
        case SB_PAGEUP: ScrollTo(position_ - rows_); return true;
        case SB_PAGEDOWN: ScrollTo(position_ + rows_); return true;
        case SB_TOP: ScrollTo(rows_); return true;
        case SB_BOTTOM: ScrollTo(FtpLogRing::kLines); return true;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: ScrollTo(static_cast<short>(HIWORD(wParam))); return true;
        case SB_ENDSCROLL: return true;
        default: return false;
        }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_PRIOR: ScrollTo(position_ - rows_); return true;
        case VK_NEXT: ScrollTo(position_ + rows_); return true;
        case VK_HOME: ScrollTo(rows_); return true;
        case VK_END: ScrollTo(FtpLogRing::kLines); return true;
        case VK_UP: ScrollTo(position_ - 1); return true;
        case VK_DOWN: ScrollTo(position_ + 1); return true;
        case VK_TAB:
            if (Frame())
                Frame()->SetActiveView(Doc().FindView(FtpViewKind::kLocal));
            return true;
        default: return false;
        }
    case WM_LBUTTONDOWN:
        if (Frame())
            Frame()->SetActiveView(this);
        return true;
    case WM_TIMER:
        if (wParam == IDT_SCRIPT_START) {
            KillTimer(Handle(), IDT_SCRIPT_START);
            scriptArmed_ = false;
            StartScript();
            return true;
        }
        if (wParam == IDT_SCRIPT_WAIT) {
            scripts_->WaitTick();
            return true;
        }
        if (wParam == IDT_FINISH_PENDING) {
            FinishPending();
            return true;
        }
        return false;
    case WM_DESTROY:
        ExitCleanup();
        return false;
    default:
        break;
    }
    if (message == WM_FTP_INFO || message == WM_FTP_DEBUG || message == WM_FTP_ERROR) {
        const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        LogMessage(message == WM_FTP_INFO ? "Ftp: %s" : message == WM_FTP_DEBUG ? "Dbg: %s" : "Error: %s", text);
        return true;
    }
    if (message == WM_FTP_VERBOSE) {
        if (wParam)
            LogMessage("Ftp: %s", lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
    }
    if (message == WM_FTP_PROGRESS) {
        if (wParam == 0) {
            UpdateProgress(static_cast<std::int64_t>(lParam), TransferBytesTotal(), nullptr);
        } else if (lParam != 0) {
            const int code = static_cast<int>(lParam & 0xFFFF);
            LogStringId(3009, code, FtpErrorText(code));
        } else {
            LogStringId(3011);
        }
        return true;
    }
    return false;
}
