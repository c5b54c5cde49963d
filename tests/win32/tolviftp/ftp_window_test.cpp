// TolviFTP's window run inside the test program: the start-up with its settings file, the log
// (ring, colours, scrolling, log file), the progress bar, the Swedish texts, the exit clean-up,
// the about box, the prompt dialog and the port override. Each test writes TOLVIFTP.INI into the
// Windows folder, so these tests run one at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fw_dialog_test_hook.h"
#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_install.h"
#include "ftp_keyin_dialog.h"
#include "ftp_main_frame.h"
#include "ftp_translation_dialogs.h"
#include "ftp_views.h"
#include "tolviftp_ids.h"

namespace fs = std::filesystem;

namespace {

void Pump(int milliseconds = 50)
{
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The client started in this process on a settings file of the test's own.
class FtpWindow : public ::testing::Test {
protected:
    FtpWindow()
    {
        scratch_ = fs::temp_directory_path() / ("tolviftp-test-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
        ini_ = WindowsFolder() + "\\TOLVIFTP.INI";
        char country[16] = "";
        GetProfileStringA("intl", "iCountry", "", country, sizeof country);
        savedCountry_ = country;
        previous_ = fs::current_path();
        fs::current_path(scratch_);
    }
    ~FtpWindow() override
    {
        Stop();
        fs::current_path(previous_);
        DeleteFileA(ini_.c_str());
        WriteProfileStringA("intl", "iCountry", savedCountry_.empty() ? nullptr : savedCountry_.c_str());
        FwSetDialogTestHook(nullptr);
        std::error_code ignored;
        fs::remove_all(scratch_, ignored);
    }

    // Writes TOLVIFTP.INI ([TolviFTP] keys; none: no file) and starts the client.
    void Start(const std::map<std::string, std::string>& settings, int country = 1)
    {
        std::string text = "[TolviFTP]\r\n";
        for (const auto& [key, value] : settings)
            text += key + "=" + value + "\r\n";
        if (settings.empty())
            DeleteFileA(ini_.c_str());
        else
            std::ofstream(ini_, std::ios::binary) << text;
        WriteProfileStringA("intl", "iCountry", std::to_string(country).c_str());
        app_ = std::make_unique<FtpApp>();
        FwSetApp(app_.get());
        app_->instance = GetModuleHandleA(nullptr);
        app_->showCommand = SW_SHOWNORMAL;
        ASSERT_TRUE(app_->InitInstance());
        Pump(200);
    }

    void Stop()
    {
        if (app_ && app_->Frame() && app_->Frame()->Handle())
            DestroyWindow(app_->Frame()->Handle());
        Pump(20);
        app_.reset();
        FwSetApp(nullptr);
    }

    FtpMainFrame& Frame() { return *app_->Frame(); }
    FtpMainView& View() { return *Frame().MainView(); }
    HWND ViewWindow() { return View().Handle(); }

    // The log lines in the ring, oldest first.
    std::vector<std::string> Lines()
    {
        const FtpLogRing& ring = View().LogRing();
        std::vector<std::string> lines;
        for (int i = 0; i < FtpLogRing::kLines; ++i) {
            const std::string& line = ring.Slot((ring.Next() + i) % FtpLogRing::kLines);
            if (!line.empty())
                lines.push_back(line.substr(10));  // without the time stamp
        }
        return lines;
    }

    // Whether row `row` of the log box shows a pixel of `colour`.
    bool RowHasColour(int row, COLORREF colour)
    {
        const MainViewLayout& l = View().Rects();
        const int y0 = l.firstLineY + row * View().LineHeight();
        HDC dc = GetDC(ViewWindow());
        bool found = false;
        for (int y = y0; y < y0 + View().LineHeight() && !found; ++y)
            for (int x = l.lineX; x < l.lineX + 400 && x < l.logText.right && !found; ++x)
                found = GetPixel(dc, x, y) == colour;
        ReleaseDC(ViewWindow(), dc);
        return found;
    }

    fs::path scratch_;
    fs::path previous_;
    std::string ini_;
    std::string savedCountry_;
    std::unique_ptr<FtpApp> app_;
};

TEST_F(FtpWindow, StartsWithTheWelcomeLineAndDefaultsWithoutASettingsFile)
{
    Start({});
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(Lines()[0], "Welcome to Mervo's FTP client");
    EXPECT_TRUE(View().Settings().autoSizeWindow);
    EXPECT_FALSE(View().Settings().enableLog);
    EXPECT_EQ(View().Settings().defaultSite, "DefaultSite");
    // The directory bar: the current folder on the left, the remote side not connected.
    char text[MAX_PATH + 10] = "";
    SendMessageA(Frame().topBar.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(fs::path(text), fs::current_path());
    SendMessageA(Frame().topBar.Handle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Not connected");
    EXPECT_EQ(Frame().ActiveView(), &View());
}

TEST_F(FtpWindow, LogKeepsTheLast200LinesColouredByContentAndScrolls)
{
    Start({});
    static std::vector<std::string> texts;
    texts.clear();
    for (int i = 1; i <= 201; ++i)
        texts.push_back("line " + std::to_string(i));
    const UINT kinds[] = {WM_FTP_INFO, WM_FTP_DEBUG, WM_FTP_ERROR};
    for (int i = 0; i < 201; ++i)
        PostMessageA(ViewWindow(), kinds[i % 3], 0, reinterpret_cast<LPARAM>(texts[static_cast<std::size_t>(i)].c_str()));
    Pump(300);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.front(), "Dbg: line 2");  // the welcome line and line 1 are gone
    EXPECT_EQ(lines.back(), "Error: line 201");

    const int rows = View().Rects().rows;
    ASSERT_GE(rows, 3);
    // The bottom rows: ..., line 199 (Ftp:, grey), line 200 (Dbg:, white), line 201 (Error:, red).
    InvalidateRect(ViewWindow(), nullptr, TRUE);
    UpdateWindow(ViewWindow());
    EXPECT_TRUE(RowHasColour(rows - 1, RGB(255, 0, 0)));
    EXPECT_TRUE(RowHasColour(rows - 2, RGB(255, 255, 255)));
    EXPECT_TRUE(RowHasColour(rows - 3, RGB(100, 100, 100)));
    EXPECT_FALSE(RowHasColour(rows - 3, RGB(255, 0, 0)));

    // Lines added one by one scroll the box: the newest is drawn at the bottom at once.
    SendMessageA(ViewWindow(), WM_FTP_ERROR, 0, reinterpret_cast<LPARAM>("late"));
    EXPECT_TRUE(RowHasColour(rows - 1, RGB(255, 0, 0)));
    EXPECT_TRUE(RowHasColour(rows - 2, RGB(255, 0, 0)));  // line 201 moved up a row

    SendMessageA(ViewWindow(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(View().ScrollPosition(), FtpLogRing::kLines - rows);
    SendMessageA(ViewWindow(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(View().ScrollPosition(), rows);
    EXPECT_EQ(GetScrollPos(GetDlgItem(ViewWindow(), 101), SB_CTL), rows);
    SendMessageA(ViewWindow(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(View().ScrollPosition(), rows + 1);
    SendMessageA(ViewWindow(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(View().ScrollPosition(), FtpLogRing::kLines);
    SendMessageA(ViewWindow(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), 0);
    EXPECT_EQ(View().ScrollPosition(), 50);
}

// The log box as a fresh paint on an erased background would show it. Lines added while a paint
// was due and a repaint without erasing leave the same pixels: no line twice, none drawn over
// itself.
TEST_F(FtpWindow, LogBoxLooksTheSameAsAFreshPaint)
{
    Start({});
    const RECT box{View().Rects().logBox.left, View().Rects().logBox.top, View().Rects().logBox.right,
                   View().Rects().logBox.bottom};
    const int w = box.right - box.left, h = box.bottom - box.top;
    auto capture = [&] {
        HDC dc = GetDC(ViewWindow());
        HDC memory = CreateCompatibleDC(dc);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, dc, box.left, box.top, SRCCOPY);
        GdiFlush();
        const std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(ViewWindow(), dc);
        return pixels;
    };
    static const char* const texts[] = {"Error: first", "Ftp: 226 Transfer complete", "Info: third line", "plain"};
    for (int round = 0; round < 3; ++round) {
        for (const char* text : texts)
            SendMessageA(ViewWindow(), WM_FTP_INFO, 0, reinterpret_cast<LPARAM>(text));
        // A paint is due while more lines come.
        InvalidateRect(ViewWindow(), nullptr, FALSE);
        for (const char* text : texts)
            SendMessageA(ViewWindow(), WM_FTP_ERROR, 0, reinterpret_cast<LPARAM>(text));
        Pump(50);
    }
    InvalidateRect(ViewWindow(), &box, FALSE);  // painted again over what it shows
    UpdateWindow(ViewWindow());
    const std::vector<DWORD> shown = capture();
    InvalidateRect(ViewWindow(), nullptr, TRUE);
    UpdateWindow(ViewWindow());
    EXPECT_TRUE(shown == capture());
}

// Connect and Disconnect stand in the menu bar itself: each is greyed while it cannot act.
TEST_F(FtpWindow, ConnectAndDisconnectInTheMenuBarFollowTheConnection)
{
    Start({});
    HMENU menu = GetMenu(Frame().Handle());
    auto grey = [&](int id) { return (GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) != 0; };
    EXPECT_FALSE(grey(ID_FTP_CONNECT));
    EXPECT_TRUE(grey(ID_FTP_DISCONNECT));
    View().SetConnected(true);
    EXPECT_TRUE(grey(ID_FTP_CONNECT));
    EXPECT_FALSE(grey(ID_FTP_DISCONNECT));
    View().SetConnected(false);
    EXPECT_FALSE(grey(ID_FTP_CONNECT));
    EXPECT_TRUE(grey(ID_FTP_DISCONNECT));
}

TEST_F(FtpWindow, ProgressMessagesDrawTheBarOnlyForAnAnnouncedSize)
{
    Start({});
    const MainViewLayout& l = View().Rects();
    const int y = (l.progressBox.top + l.progressBox.bottom) / 2;
    const int right = l.progressBox.right - 6;
    HDC dc = GetDC(ViewWindow());
    EXPECT_EQ(GetPixel(dc, right, y), RGB(255, 255, 255));  // empty at start
    ReleaseDC(ViewWindow(), dc);
    // No size announced: bytes and rate, no percentage, the bar stays empty.
    FtpSetProgressTotal(0);
    PostMessageA(ViewWindow(), WM_FTP_PROGRESS, 0, 4096);
    Pump(100);
    EXPECT_EQ(View().Progress().Percent(), 0);
    EXPECT_NE(View().Progress().BarText().find("4096 bytes"), std::string::npos) << View().Progress().BarText();
    dc = GetDC(ViewWindow());
    EXPECT_EQ(GetPixel(dc, right, y), RGB(255, 255, 255));
    ReleaseDC(ViewWindow(), dc);
    // The announced size fills the bar.
    FtpSetProgressTotal(8192);
    PostMessageA(ViewWindow(), WM_FTP_PROGRESS, 0, 8192);
    Pump(100);
    EXPECT_EQ(View().Progress().Percent(), 100);
    dc = GetDC(ViewWindow());
    const COLORREF end = GetPixel(dc, right, y), start = GetPixel(dc, l.progressBox.left + 6, y);
    ReleaseDC(ViewWindow(), dc);
    for (COLORREF c : {end, start})
        EXPECT_TRUE(c == RGB(0, 0, 128) || c == RGB(0, 0, 255)) << std::hex << c;
    // The end of a transfer and a failed one are logged.
    SendMessageA(ViewWindow(), WM_FTP_PROGRESS, 1, 0);
    SendMessageA(ViewWindow(), WM_FTP_PROGRESS, 1, 0x10000 | kFtpNotConnected);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[lines.size() - 2], "Transfer complete");
    EXPECT_EQ(lines.back().rfind("Error 1003 On Recv: ", 0), 0u) << lines.back();
}

TEST_F(FtpWindow, LogFileGetsItsHeaderAndEveryLine)
{
    const fs::path log = scratch_ / "client.log";
    std::ofstream(log) << "old contents\n";
    const std::string temp = (scratch_ / "ftptmp").string();  // missing: created
    Start({{"EnableLog", "on"}, {"LogFile", log.string()}, {"TempDir", temp}});
    EXPECT_TRUE(fs::is_directory(temp));
    // Created before the log file opens: in the window only.
    EXPECT_EQ(Lines()[1], "Created local dirctory " + temp);
    SendMessageA(ViewWindow(), WM_FTP_INFO, 0, reinterpret_cast<LPARAM>("220 ready\r\n"));
    Stop();
    const std::string text = ReadFile(log);
    EXPECT_EQ(text.find("old contents"), std::string::npos);
    const std::string header = "  Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *. Logfile created ";
    ASSERT_EQ(text.find(header), 8u) << text;
    EXPECT_NE(text.find("  Ftp: 220 ready\r\n"), std::string::npos) << text;
}

TEST_F(FtpWindow, ImpossibleTempDirAndLogFileAreLoggedAndTheProgramRunsOn)
{
    Start({{"EnableLog", "on"}, {"LogFile", "Q:\\no\\such\\client.log"}, {"TempDir", "Q:\\no\\such"}});
    const std::vector<std::string> lines = Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("Error: Create local directory Q:\\no\\such failed. Error # ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("Error: Cannot create log file Q:\\no\\such\\client.log", 0), 0u) << lines[2];
    EXPECT_TRUE(IsWindowVisible(Frame().Handle()));
}

TEST_F(FtpWindow, SwedishMenuAndTextsWithCountry46)
{
    Start({}, 46);
    HMENU menu = GetMenu(Frame().Handle());
    char text[128] = "";
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Avsluta");
    GetMenuStringA(menu, ID_FTP_LOCAL_DELETE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Ta bort markerade kataloger && filer");
    GetMenuStringA(menu, 4, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Lokalt");
    EXPECT_EQ(Lines()[0], LoadPlainString(4005));
    EXPECT_EQ(LoadLocalString(3005), LoadPlainString(4005));
    // A text without a Swedish twin stays English.
    EXPECT_EQ(LoadLocalString(IDS_FTP_APP_TITLE), "Tolvi - FTP Client");
    SendMessageA(Frame().topBar.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(fs::path(text), fs::current_path());
}

TEST_F(FtpWindow, ExitDeletesListingFilesUnlessRetained)
{
    for (const char* retain : {"off", "on"}) {
        const fs::path temp = scratch_ / (std::string("t-") + retain);
        fs::create_directories(temp);
        for (const char* name : {"tvftp000.dir", "tvftp017.dir", "TolviFTP.ftp", "keep.txt"})
            std::ofstream(temp / name) << "x";
        Start({{"TempDir", temp.string()}, {"Retain", retain}});
        SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_APP_EXIT, 0);
        Pump(200);
        EXPECT_FALSE(IsWindow(Frame().Handle()));
        const bool kept = std::string(retain) == "on";
        EXPECT_EQ(fs::exists(temp / "tvftp000.dir"), kept);
        EXPECT_EQ(fs::exists(temp / "tvftp017.dir"), kept);
        EXPECT_EQ(fs::exists(temp / "TolviFTP.ftp"), kept);
        EXPECT_TRUE(fs::exists(temp / "keep.txt"));
        Stop();
    }
}

TEST_F(FtpWindow, AboutShowsTheVersionLine)
{
    Start({});
    FwDialogTestHook hook;
    std::string version;
    hook.Expect(IDD_FTP_ABOUT, [&](FwDialogDriver& d) {
        version = d.Text(IDC_FTP_ABOUT_VERSION);
        d.Press(IDOK);
    });
    FwSetDialogTestHook(&hook);
    SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_APP_ABOUT, 0);
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(version, "Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *");
    EXPECT_EQ(hook.unexpectedDialogs, 0);
}

TEST_F(FtpWindow, MenuCommandsFollowTheSessionAndTheActiveViewRoutes)
{
    Start({});
    FwCmdUI ui;
    HMENU menu = GetMenu(Frame().Handle());
    SendMessageA(Frame().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int id : {ID_FTP_DISCONNECT, ID_FTP_LOCAL_SEND, ID_FTP_ABORT})
        EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    for (int id : {ID_FTP_APP_EXIT, ID_FTP_APP_ABOUT, ID_FTP_HELP, ID_FTP_LOCAL_REFRESH, ID_FTP_REMOTE_REFRESH,
                   ID_FTP_CONNECT, ID_FTP_SCRIPTS, ID_FTP_SITE_SETTINGS, ID_FTP_GENERAL_SETTINGS})
        EXPECT_FALSE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    // F6 and Shift+F6 go round the panes.
    SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_NEXT_PANE, 0);
    EXPECT_EQ(Frame().ActiveView(), static_cast<FwView*>(Frame().LocalView()));
    SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_NEXT_PANE, 0);
    EXPECT_EQ(Frame().ActiveView(), static_cast<FwView*>(Frame().RemoteView()));
    SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_PREV_PANE, 0);
    EXPECT_EQ(Frame().ActiveView(), static_cast<FwView*>(Frame().LocalView()));
    EXPECT_EQ(GetFocus(), Frame().LocalView()->List());
}

// A script run from the command of `limited` greys the settings and Help; Abort is enabled while a
// script runs (it also stops a script that never talks to the host, whichever pane is active).
TEST_F(FtpWindow, ScriptsGreyTheSettingsInLimitedModeAndEnableAbortWhileRunning)
{
    Start({{"TempDir", (scratch_ / "tmp").string()}});
    std::ofstream("limited.ftp", std::ios::binary) << "limited\r\nwait=30\r\ncheckcasemask never *\r\n";
    View().Scripts().scriptPath = (scratch_ / "limited.ftp").string();
    View().StartScript();
    EXPECT_TRUE(View().Scripts().Running());
    HMENU menu = GetMenu(Frame().Handle());
    SendMessageA(Frame().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int id : {ID_FTP_SITE_SETTINGS, ID_FTP_GENERAL_SETTINGS, ID_FTP_HELP})
        EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    // Abort reaches the waiting script from a list pane too.
    Frame().SetActiveView(Frame().LocalView());
    SendMessageA(Frame().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int id : {ID_FTP_SCRIPTS, ID_FTP_ABORT})
        EXPECT_FALSE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    SendMessageA(Frame().Handle(), WM_COMMAND, ID_FTP_ABORT, 0);
    EXPECT_FALSE(View().Scripts().Running());
    const std::vector<std::string> lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Info: Waiting 30 seconds"), lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("never") != l.npos; }),
              0);
    LimitedMode = 0;
}

TEST_F(FtpWindow, PanesKeepTheirShareOfAGrowingWindowAndTheBarsDrag)
{
    Start({});
    auto height = [](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    HWND local = Frame().LocalView()->Handle();
    HWND outer = GetParent(GetParent(local));
    const int before = height(local), whole = height(outer);
    // A larger window: the lists grow with the log.
    SetWindowPos(Frame().Handle(), nullptr, 0, 0, 1000, 900, SWP_NOZORDER | SWP_NOMOVE);
    Pump(100);
    EXPECT_GT(height(local), before + (height(outer) - whole) / 3) << before << " of " << whole;
    // Dragging the bar under the lists 60 pixels down.
    RECT pane;
    GetWindowRect(local, &pane);
    POINT bar{pane.left + 20, pane.bottom + FwSplitter::kBar / 2};
    ScreenToClient(outer, &bar);
    const int lists = height(local);
    SendMessageA(outer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.x, bar.y));
    SendMessageA(outer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar.x, bar.y + 60));
    SendMessageA(outer, WM_LBUTTONUP, 0, MAKELPARAM(bar.x, bar.y + 60));
    EXPECT_EQ(height(local), lists + 60);
}

TEST_F(FtpWindow, RemoveListEntryTakesTheWholeNameAndKeepsTheWalk)
{
    for (const char* name : {"abc.txt", "abc.txt.bak", "b.txt"})
        std::ofstream(scratch_ / name) << "x";
    Start({});
    HWND list = Frame().LocalView()->List();
    FtpDocument& doc = *app_->Document();
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    SendMessageA(list, LB_SETSEL, TRUE, -1);
    doc.localWalk = count;
    SendMessageA(Frame().LocalView()->Handle(), WM_REMOVE_LIST_ENTRY, 0, reinterpret_cast<LPARAM>("abc.txt"));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), count - 1);
    EXPECT_EQ(doc.localWalk, count - 1);
    std::vector<std::string> names;
    for (int i = 0; i < count - 1; ++i)
        names.push_back(EntryName(ListBoxText(list, i)));
    EXPECT_NE(std::find(names.begin(), names.end(), "abc.txt.bak"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "abc.txt"), names.end());
}

// The translation rules go to a new file that then replaces TOLVIFTP.INI: the other sections stay,
// and a file that cannot be replaced (held open by another program) is left whole, the failure
// told and no temporary file left behind.
TEST(FtpTranslationStore, ReplacesTheSettingsFileWholeOrNotAtAll)
{
    const fs::path folder = fs::temp_directory_path() / ("tolviftp-store-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path ini = folder / "TOLVIFTP.INI";
    std::ofstream(ini, std::ios::binary) << "[TolviFTP]\r\nDefaultSite=vs\r\n[Site:1]\r\nSite=vs\r\n";
    IniFileTranslationStore store(ini.string());
    ASSERT_TRUE(store.WriteLines({"html htm 3"}));
    const std::string written = ReadFile(ini);
    EXPECT_NE(written.find("[TolviFTP]\r\nDefaultSite=vs\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("[Site:1]\r\nSite=vs\r\n"), std::string::npos) << written;
    EXPECT_EQ(store.ReadLines(), std::vector<std::string>{"html htm 3"});

    HANDLE held = CreateFileA(ini.string().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store.WriteLines({"c cc 3"}));
    CloseHandle(held);
    EXPECT_EQ(ReadFile(ini), written);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

// A long fill hands out the window's messages as it goes; a refresh among them starts the list
// anew and the fill it overtook stops, so every file is listed once, in order.
TEST_F(FtpWindow, RefreshDuringALongFillListsEveryFileOnce)
{
    constexpr int kFiles = 6000;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.txt", i);
        std::ofstream(scratch_ / name) << "x";
    }
    Start({});
    FtpLocalView& local = *Frame().LocalView();
    HWND list = local.List();
    for (int refresh = 0; refresh < 3; ++refresh)
        PostMessageA(local.Handle(), WM_KEYDOWN, VK_F5, 0);
    local.FillLocalList(false);
    Pump(200);
    std::vector<std::string> files;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (RecordedKind(list, i) == FileEntryKind::kFile)
            files.push_back(EntryName(ListBoxText(list, i)));
    ASSERT_EQ(files.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.txt", i);
        ASSERT_EQ(files[static_cast<std::size_t>(i)], name);
    }
}

TEST(FtpPromptDialog, MasksByTheCallersFlag)
{
    FwDialogTestHook hook;
    TCHAR mask[2] = {};
    std::string shown;
    hook.Expect(IDD_FTP_KEYIN, [&](FwDialogDriver& d) {
        mask[0] = static_cast<TCHAR>(SendMessageA(GetDlgItem(d.Handle(), IDC_FTP_KEYIN_VALUE), EM_GETPASSWORDCHAR, 0, 0));
        shown = d.Text(IDC_FTP_KEYIN_PROMPT);
        d.SetText(IDC_FTP_KEYIN_VALUE, "hemligt");
        d.Press(IDOK);
    });
    hook.Expect(IDD_FTP_KEYIN, [&](FwDialogDriver& d) {
        mask[1] = static_cast<TCHAR>(SendMessageA(GetDlgItem(d.Handle(), IDC_FTP_KEYIN_VALUE), EM_GETPASSWORDCHAR, 0, 0));
        d.SetText(IDC_FTP_KEYIN_VALUE, "typed");
        d.Press(IDCANCEL);
    });
    FwSetDialogTestHook(&hook);
    std::string prompt = "roots lösenord", value;
    EXPECT_EQ(PromptForValue(nullptr, prompt, value, true), IDOK);
    EXPECT_EQ(value, "hemligt");
    std::string host = "Host", hostValue = "before";
    EXPECT_EQ(PromptForValue(nullptr, host, hostValue, false), IDCANCEL);
    EXPECT_EQ(hostValue, "before");
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(mask[0], '*');
    EXPECT_EQ(mask[1], 0);
    EXPECT_EQ(shown, "roots lösenord");
}

// The install's Parameters dialog: Browse starts in the local file's folder with its name, takes
// the chosen path in lower case and proposes the remote name from it; OK refuses a missing file.
TEST(FtpInstallDialog, BrowseProposesTheRemoteNameAndOkChecksTheFile)
{
    const fs::path folder = fs::temp_directory_path() / "tolviftp_install_dialog";
    fs::create_directories(folder);
    std::ofstream(folder / "pkg.tar") << "archive";
    const std::string local = (folder / "pkg.tar").string();
    FwDialogTestHook hook;
    hook.fileAnswers.push_back("C:\\Kits\\NEW.TAZ");
    std::string afterBrowse[2];
    hook.Expect(IDD_FTP_INSTALL_PARAMS, [&](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_INST_REMOTE), "/tmp/pkg.tar");
        d.Press(IDC_INST_BROWSE);
        afterBrowse[0] = d.Text(IDC_INST_LOCAL);
        afterBrowse[1] = d.Text(IDC_INST_REMOTE);
        d.Press(IDOK);  // c:\kits\new.taz does not exist
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_INST_LOCAL, local);
        d.Press(IDOK);
    });
    FwSetDialogTestHook(&hook);
    FtpInstallDialog dialog(nullptr);
    dialog.host = "host";
    dialog.user = "root";
    dialog.password = "pw";
    dialog.localFile = local;
    dialog.remoteFile = "/tmp/old.tar";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(afterBrowse[0], "c:\\kits\\new.taz");
    EXPECT_EQ(afterBrowse[1], "/tmp/new.tar.Z");
    ASSERT_EQ(hook.fileDialogNames.size(), 1u);
    EXPECT_EQ(hook.fileDialogNames[0], "pkg.tar");
    EXPECT_EQ(fs::path(hook.fileDialogFolders[0]), folder / "");
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Local File not found!");
    EXPECT_EQ(dialog.localFile, local);
    fs::remove_all(folder);
}

TEST(FtpFormatMessageBox, StringThenFormattedArgumentsAnsweredThroughTheFramework)
{
    FwDialogTestHook hook;
    hook.messageAnswers = {IDNO, IDYES};
    FwSetDialogTestHook(&hook);
    SetFtpCountry(46);
    EXPECT_EQ(FormatMessageBox(IDS_FTP_LOCAL_DIRECTORY, MB_YESNO, ": %s (%d)", "C:\\100%", 3), IDNO);
    SetFtpCountry(1);
    EXPECT_EQ(FormatMessageBox(0, MB_YESNO, "OK to delete file %s?", "a.txt"), IDYES);
    FwSetDialogTestHook(nullptr);
    ASSERT_EQ(hook.messages.size(), 2u);
    // The string comes without the language offset, whatever the country.
    EXPECT_EQ(hook.messages[0].text, "Local Directory: C:\\100% (3)");
    EXPECT_EQ(hook.messages[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(hook.messages[1].text, "OK to delete file a.txt?");
}

TEST(FtpPortOverride, RegistryFirstProfileOnlyWithoutTheKey)
{
    const std::string ini = (fs::temp_directory_path() / "port-override.ini").string();
    WritePrivateProfileStringA("Medrix", "option1", "2121", ini.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Medrix\\FTP");
    EXPECT_EQ(ReadPortOverride(ini.c_str()), 2121);
    WritePrivateProfileStringA("Medrix", "option1", "70000", ini.c_str());
    EXPECT_EQ(ReadPortOverride(ini.c_str()), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Medrix\\FTP", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    WritePrivateProfileStringA("Medrix", "option1", "2121", ini.c_str());
    EXPECT_EQ(ReadPortOverride(ini.c_str()), 0);  // the key opened: no profile fallback
    RegSetValueExA(key, "Option1", 0, REG_SZ, reinterpret_cast<const BYTE*>("2200"), 5);
    EXPECT_EQ(ReadPortOverride(ini.c_str()), 0);
    struct Case {
        DWORD value;
        int expected;
    } cases[] = {{2200, 2200}, {65535, 65535}, {65536, 0}, {0x10015, 0}};
    for (const Case& c : cases) {
        RegSetValueExA(key, "Option1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.value), sizeof c.value);
        EXPECT_EQ(ReadPortOverride(ini.c_str()), c.expected) << c.value;
    }
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Medrix\\FTP");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Medrix");
    DeleteFileA(ini.c_str());
}

}  // namespace
