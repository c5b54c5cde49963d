// The main frame in this process (menus are read through the Win32 menu API, which reaches only
// the calling process's menus): the language menus, the Connect label, the 3270 menu, the bars.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dde.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>
#include <vector>
#include <string>

#include "engine/screen_planes.h"
#include "shell/win32/app_helpers.h"
#include "fw_dialog_test_hook.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/more_info_dlg.h"
#include "resource_ids.h"
#include "session_dialog_ids.h"
#include "session/messages.h"
#include "shell/profile_store.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"
#include "frame_in_process.h"
#include "tolvi_process.h"
#include "shell/win32/win32_profile.h"
#include "shell/win32/win32_prompts.h"
#include "shell/win32/zolex_app.h"
#include "shell/win32/zolex_view.h"

namespace {

struct LanguageCase {
    int language;
    const char* file;
    const char* config;
    const char* connect;
    const char* disconnect;
};

class LanguageMenus : public FrameInProcess, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageMenus, MenuAndConnectLabelFollowTheLanguage)
{
    const LanguageCase& c = GetParam();
    HWND window = Start("Language=" + std::to_string(c.language) + "\r\n");
    ASSERT_NE(window, nullptr);
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), c.file);
    EXPECT_EQ(MenuText(menu, 4, MF_BYPOSITION), c.config);
    EXPECT_EQ(MenuText(menu, 256, MF_BYCOMMAND), c.connect);
    Rec->Connected = 1;
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 3)), 3);
    EXPECT_EQ(MenuText(menu, 256, MF_BYCOMMAND), c.disconnect);
    EXPECT_EQ(GetMenuState(menu, 256, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    Rec->Connected = 0;
    Screenshot(std::to_string(c.language));
}

// Whether the menu or one of its popups holds the command.
bool MenuHolds(HMENU menu, int command)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (static_cast<int>(GetMenuItemID(menu, i)) == command) return true;
        if (HMENU popup = GetSubMenu(menu, i); popup && MenuHolds(popup, command)) return true;
    }
    return false;
}

std::string WithoutMnemonic(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

// The settings commands of the Config menu, each with its English text (mnemonics aside).
constexpr struct {
    int id;
    const char* text;
} kConfigCommands[] = {
    {ID_AUTO_LOGIN, "Auto Login..."},
    {ID_CONFIG_COLORS, "Colors and Attributes..."},
    {ID_CONFIG_BOXES, "Boxes"},
    {ID_CONFIG_GENERAL, "General Settings..."},
    {ID_CONFIG_TERMINAL, "Terminal Emulation..."},
    {ID_CONFIG_PHONE, "Phone Number / Autodial ..."},
    {ID_UNIX_ENV, "UNIX ENV setup..."},
    {ID_MODEM_TYPE, "Modem type..."},
    {ID_CONFIG_KEYBOARD_MAP, "Keyboard Map..."},
    {ID_PREFS_FILES, "Files..."},
    {ID_PREFS_VIEW, "View..."},
    {ID_CONFIG_MOUSE, "Mouse..."},
    {ID_FILE_TRANSFER_CMD, "File transfer command..."},
    {ID_PREFS_TERMINAL_PRINTERS, "Terminal Printers..."},
    {ID_PREFS_DDE, "DDE..."},
    {ID_PREFS_DYN_HOTSPOTS, "Dynamic Hotspots..."},
    {ID_PREFS_MULTIMEDIA, "Multimedia ..."},
};

TEST_P(LanguageMenus, ConfigMenuHoldsEverySettingsCommand)
{
    const LanguageCase& c = GetParam();
    HWND window = Start("Language=" + std::to_string(c.language) + "\r\n");
    ASSERT_NE(window, nullptr);
    HMENU config = GetSubMenu(GetMenu(window), 4);
    ASSERT_NE(config, nullptr);
    const bool english = std::string(c.file) == "&File" && std::string(c.config) == "&Config";
    for (const auto& command : kConfigCommands) {
        EXPECT_TRUE(MenuHolds(config, command.id)) << command.text << " in language " << c.language;
        if (english) {
            EXPECT_EQ(WithoutMnemonic(MenuText(config, command.id, MF_BYCOMMAND)), command.text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tolvi, LanguageMenus,
    ::testing::Values(LanguageCase{1, "&File", "&Config", "&Connect", "&Disconnect"},
                      LanguageCase{44, "&File", "&Config", "&Connect", "&Disconnect"},
                      LanguageCase{33, "&Fichier", "&Configuration", "Se &connecter", "Se &d\xE9" "connecter"},
                      LanguageCase{352, "&Fichier", "&Configuration", "Se &connecter", "Se &d\xE9" "connecter"},
                      LanguageCase{34, "&Archivo", "&Configurar", "&Connect", "&Disconnect"},
                      LanguageCase{39, "&File", "&Configura", "&Connessione", "&Disconnetti"},
                      LanguageCase{41, "&Datei", "&Konfiguration", "&Verbinden", "&Trennen"},
                      LanguageCase{49, "&Datei", "&Konfiguration", "&Verbinden", "&Trennen"},
                      LanguageCase{46, "&Arkiv", "&Konfigurera", "&Koppla upp", "Koppla &ned"},
                      LanguageCase{55, "&Arquivo", "&Configurar", "&Conectar", "&Desconectar"},
                      LanguageCase{358, "&Tiedosto", "&Asetukset", "&Avaa yhteys", "&Sulje yhteys"},
                      LanguageCase{81, "&File", "&Config", "&Connect", "&Disconnect"}));

TEST_F(FrameInProcess, LanguageZeroTakesTheWindowsCountry)
{
    char saved[16] = {};
    GetProfileStringA("intl", "iCountry", "", saved, sizeof saved);
    WriteProfileStringA("intl", "iCountry", "41");
    HWND window = Start("Language=0\r\n");
    WriteProfileStringA("intl", "iCountry", saved[0] ? saved : nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MenuText(GetMenu(window), 0, MF_BYPOSITION), "&Datei");
    EXPECT_EQ(MenuText(GetMenu(window), 256, MF_BYCOMMAND), "&Verbinden");
    EXPECT_EQ(CMainFrame::Instance()->MenuCountry, 41);
    EXPECT_EQ(CMainFrame::Instance()->HelpFile, "Tolvi.hlp");  // no Tolvi049.hlp beside it
}

TEST_F(FrameInProcess, SystemCommandsAndTheEndOfTheWindowsSession)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    ShowMinMaxBoxes(false);
    SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(IsZoomed(window));  // no maximise box: ignored
    ShowMinMaxBoxes(true);
    SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(window));

    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);  // idle: may end
    Rec->Connecting = 1;
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(Rec->ExitPending, 1);
    // Restoring the window has posted its refit (32768) too; the disconnect must be among them.
    MSG posted;
    bool disconnectPosted = false;
    while (PeekMessageA(&posted, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        disconnectPosted = disconnectPosted || LOWORD(posted.wParam) == 256;
    EXPECT_TRUE(disconnectPosted);
    Rec->Connecting = 0;
    Rec->ExitPending = 0;
}

TEST(CountryMenu, MapsCountriesToMenusAndHelpFiles)
{
    EXPECT_EQ(CountryMenuFor(41).helpCountry, 49);
    EXPECT_EQ(CountryMenuFor(352).menuId, 139);
    EXPECT_EQ(CountryMenuFor(55).helpCountry, 351);
    EXPECT_EQ(CountryMenuFor(81).helpCountry, 81);
    EXPECT_EQ(CountryMenuFor(81).menuId, 2);
}

TEST_F(FrameInProcess, The3270ModeMenuLacksTheCharacterModeCommands)
{
    HWND window = Start("[3270]\r\nTerminalFamily3270=1\r\n");
    ASSERT_NE(window, nullptr);
    HMENU menu = GetMenu(window);
    for (UINT command : {32776u, 118u, 119u, 32820u, 32827u, 32828u, 32833u})
        EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    EXPECT_NE(GetMenuState(menu, 32770, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, 32818, MF_BYCOMMAND), static_cast<UINT>(-1));  // Preferences stays
}

TEST_F(FrameInProcess, TransferAndDdeSettingsCommandsOpenTheirDialogsFromEveryMenu)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    const struct {
        int command, dialog;
    } commands[] = {
        {ID_XFER_GENERAL, IDD_ASYNC_TRANSFER}, {ID_XFER_KERMIT, IDD_KERMIT_SETTINGS},
        {ID_XFER_XYMODEM, IDD_XYMODEM_SETTINGS}, {ID_XFER_ZMODEM, IDD_ZMODEM_SETTINGS},
        {ID_PREFS_DDE, IDD_DDE_SETTINGS}, {ID_PREFS_DYN_HOTSPOTS, IDD_DYN_HOTSPOTS},
    };
    for (int menuId : {IDR_MENU_ENGLISH, IDR_MENU_SWEDISH, IDR_MENU_GERMAN, IDR_MENU_FRENCH, IDR_MENU_ITALIAN,
                       IDR_MENU_SPANISH, IDR_MENU_FINNISH, IDR_MENU_PORTUGUESE}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        for (const auto& c : commands)
            EXPECT_NE(GetMenuState(menu, static_cast<UINT>(c.command), MF_BYCOMMAND), static_cast<UINT>(-1))
                << menuId << " " << c.command;
        DestroyMenu(menu);
    }
    FwDialogTestHook hook;
    FwSetDialogTestHook(&hook);
    int opened = 0;
    for (const auto& c : commands) {
        hook.Expect(c.dialog, [&opened](FwDialogDriver& d) {
            ++opened;
            d.Press(IDCANCEL);
        });
        EXPECT_TRUE(CMainFrame::Instance()->RunCommand(c.command)) << c.command;
    }
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(opened, static_cast<int>(std::size(commands)));
    EXPECT_EQ(hook.unexpectedDialogs, 0);
    EXPECT_TRUE(hook.scripts.empty());
}

TEST_F(FrameInProcess, BarsAndFrameStylesFollowTheSettings)
{
    HWND window = Start("Toolbar=No\r\nShowMenu=No\r\nShowTitlebar=No\r\n");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    EXPECT_FALSE(IsWindowVisible(frame->toolbar.Handle()));
    EXPECT_TRUE(IsWindowVisible(frame->statusBar.Handle()));
    EXPECT_EQ(frame->statusBar.PaneCount(), 6);
    EXPECT_EQ(GetMenu(window), nullptr);                       // WM_USER+105 took the menu off
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);  // WM_USER+106
    frame->RunCommand(32813);                                  // View/Menu brings it back
    EXPECT_NE(GetMenu(window), nullptr);
    frame->RunCommand(59392);                                  // View/Toolbar
    EXPECT_TRUE(IsWindowVisible(frame->toolbar.Handle()));
    EXPECT_EQ(frame->toolbar.ButtonCount(), 23);
}

// What the toolbar shows: every button a picture of its own (no two buttons look alike, and none
// is a plain face).
TEST_F(FrameInProcess, EveryToolbarButtonShowsAPictureOfItsOwn)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    ShowWindow(window, SW_SHOWNORMAL);
    frame->OnIdleUpdate();
    HWND toolbar = frame->toolbar.Handle();
    ASSERT_TRUE(IsWindowVisible(toolbar));
    RedrawWindow(toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    Pump(100);
    RECT client;
    GetClientRect(toolbar, &client);
    const int width = client.right, height = client.bottom;
    HDC source = GetDC(toolbar);
    HDC copy = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(copy, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(copy, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(toolbar, source);

    std::vector<std::vector<uint32_t>> pictures;
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP) continue;
        RECT r;
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        std::vector<uint32_t> picture;
        for (int y = r.top + 3; y < r.bottom - 3; ++y)
            for (int x = r.left + 3; x < r.right - 3; ++x) picture.push_back(pixels[y * width + x] & 0xFFFFFF);
        std::set<uint32_t> colours(picture.begin(), picture.end());
        EXPECT_GT(colours.size(), 1u) << "button " << i << " shows no picture";
        for (std::size_t j = 0; j < pictures.size(); ++j) EXPECT_NE(pictures[j], picture) << "button " << i;
        pictures.push_back(picture);
    }
    EXPECT_EQ(pictures.size(), 17u);
}

// The status bar of View/Status Bar is shown below the terminal view, whatever the order in which
// the frame and its bars were shown.
TEST_F(FrameInProcess, TheStatusBarShowsBelowTheView)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    ShowWindow(window, SW_SHOWNORMAL);
    Pump(100);
    HWND bar = frame->statusBar.Handle();
    ASSERT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(frame->ControlBarVisible(kStatusBarId));
    RECT barRect, viewRect, client;
    GetWindowRect(bar, &barRect);
    GetWindowRect(frame->View(), &viewRect);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_GT(barRect.bottom - barRect.top, 0);
    EXPECT_LE(viewRect.bottom, barRect.top);
    EXPECT_LE(barRect.bottom, client.bottom);

    // Maximised (as at the first start), the frame stays on the screen with its bar.
    ShowWindow(window, SW_SHOWMAXIMIZED);
    Pump(100);
    GetWindowRect(bar, &barRect);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_LE(barRect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_LE(barRect.right, GetSystemMetrics(SM_CXSCREEN) + 2);
    ShowWindow(window, SW_SHOWNORMAL);
}

TEST_F(FrameInProcess, ToolbarImagesFollowTheSessionState)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    frame->OnIdleUpdate();
    EXPECT_EQ(frame->toolbar.ButtonImage(11), 18);
    EXPECT_EQ(frame->toolbar.ButtonImage(7), 5);
    EXPECT_EQ(frame->toolbar.ButtonImage(22), 16);
    Rec->Connecting = 1;
    Rec->CaptureToFile = 1;
    Rec->PlaybackState = 2;
    frame->OnIdleUpdate();
    EXPECT_EQ(frame->toolbar.ButtonImage(11), 20);
    EXPECT_EQ(frame->toolbar.ButtonImage(7), 19);
    EXPECT_EQ(frame->toolbar.ButtonImage(22), 17);
    Rec->Connecting = 0;
    Rec->Connected = 1;
    frame->OnIdleUpdate();
    EXPECT_EQ(frame->toolbar.ButtonImage(11), 8);
    Rec->Connected = 0;
}

TEST_F(FrameInProcess, HelpersReachTheFrameAndItsBars)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    ASSERT_EQ(GetMainFrame(), frame);
    EXPECT_EQ(GetTerminalView(), frame->View());

    HWND first = nullptr;
    EXPECT_EQ(CountInstances(&first), 1);
    EXPECT_EQ(first, frame->View());

    EXPECT_EQ(SetStatusPane("ready", 1, RGB(0, 0, 0), RGB(0, 0, 0)), 1);
    char text[32] = {};
    SendMessageA(frame->statusBar.Handle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "ready");

    ShowWindow(window, SW_SHOWNORMAL);
    Pump(50);
    SetFullScreen(1);
    Pump(50);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(IsWindowVisible(frame->toolbar.Handle()));
    EXPECT_EQ(FullScreenState, 1);
    SetFullScreen(1);  // the menu toggle always toggles: the menu bar comes back
    EXPECT_NE(GetMenu(window), nullptr);
    SetFullScreen(0);
    EXPECT_EQ(GetMenu(window), nullptr);
    ToggleMenuBar();
    EXPECT_NE(GetMenu(window), nullptr);
    EXPECT_EQ(FullScreenState, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

// The key action %togglescreen% goes through the frame's own system-command door, which the
// full-screen frame lets pass: it restores a full-screen frame and maximises it again.
TEST_F(FrameInProcess, TheToggleScreenActionReachesTheFullScreenFrame)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    ShowWindow(window, SW_SHOWNORMAL);
    Pump(50);
    SetFullScreen(1);
    Pump(50);
    ASSERT_TRUE(IsZoomed(window));
    frame->TerminalView()->RunActionString("%togglescreen%");
    Pump(50);
    EXPECT_FALSE(IsZoomed(window));
    frame->TerminalView()->RunActionString("%togglescreen%");
    Pump(50);
    EXPECT_TRUE(IsZoomed(window));
    SetFullScreen(0);
}

}  // namespace

namespace {

TEST_F(FrameInProcess, RecentFilesStandBeforeExitAndInTheProfile)
{
    WritePrivateProfileStringA("Recent File List", nullptr, nullptr, "Tolvi.ini");
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    CMainFrame* frame = CMainFrame::Instance();
    frame->AddToRecentFiles("C:\\sessions\\one.wcf");
    frame->AddToRecentFiles("C:\\sessions\\two.wcf");
    frame->AddToRecentFiles("C:\\SESSIONS\\ONE.WCF");  // the same file moves up

    HMENU file = GetSubMenu(GetMenu(window), 0);
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FIRST, MF_BYCOMMAND), "&1 C:\\SESSIONS\\ONE.WCF");
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FIRST + 1, MF_BYCOMMAND), "&2 C:\\sessions\\two.wcf");
    // The configuration opened at start-up came first, so it is third now.
    const std::string opened = MenuText(file, ID_FILE_MRU_FIRST + 2, MF_BYCOMMAND);
    EXPECT_EQ(opened.substr(opened.size() - 8), "menu.wcf");
    EXPECT_EQ(GetMenuState(file, ID_FILE_MRU_FIRST + 3, MF_BYCOMMAND), static_cast<UINT>(-1));
    int exitAt = -1;
    for (int i = 0; i < GetMenuItemCount(file); ++i)
        if (GetMenuItemID(file, i) == ID_APP_EXIT) exitAt = i;
    ASSERT_GE(exitAt, 2);
    EXPECT_NE(GetMenuState(file, static_cast<UINT>(exitAt - 1), MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(file, exitAt - 2), static_cast<UINT>(ID_FILE_MRU_FIRST + 2));
    EXPECT_EQ(app_.GetProfileString("Recent File List", "File1"), "C:\\SESSIONS\\ONE.WCF");
    EXPECT_EQ(app_.GetProfileString("Recent File List", "File2"), "C:\\sessions\\two.wcf");

    // A language change brings a new menu bar; the entries come along, once.
    SendMessageA(window, WM_USER + 107, 0, 0);
    file = GetSubMenu(GetMenu(window), 0);
    EXPECT_EQ(MenuText(file, ID_FILE_MRU_FIRST + 1, MF_BYCOMMAND), "&2 C:\\sessions\\two.wcf");
    int entries = 0;
    for (int i = 0; i < GetMenuItemCount(file); ++i)
        if (GetMenuItemID(file, i) >= ID_FILE_MRU_FIRST && GetMenuItemID(file, i) < ID_FILE_MRU_FIRST + 4) ++entries;
    EXPECT_EQ(entries, 3);
    WritePrivateProfileStringA("Recent File List", nullptr, nullptr, "Tolvi.ini");
}

std::string ClassesValue(const std::string& subKey)
{
    char value[MAX_PATH * 2] = {};
    LONG size = sizeof value;
    const std::string path = "Software\\Classes\\" + subKey;
    if (RegQueryValueA(HKEY_CURRENT_USER, path.c_str(), value, &size) != ERROR_SUCCESS) return "<none>";
    return value;
}

TEST_F(FrameInProcess, TheSessionFileTypeIsRegisteredWithTheShell)
{
    ASSERT_NE(Start(""), nullptr);
    ASSERT_FALSE(Startup.ProgramPath.empty());
    EXPECT_EQ(ClassesValue(".wcf"), "TolviSession");
    EXPECT_EQ(ClassesValue("TolviSession"), "Tolvi session");
    EXPECT_EQ(ClassesValue("TolviSession\\shell\\open\\command"), "\"" + Startup.ProgramPath + "\" \"%1\"");
    EXPECT_EQ(ClassesValue("TolviSession\\shell\\print\\command"), "<none>");
}

TEST(TolviHelp, OnlyTheFramesOwnContextHelpIsDropped)
{
    EXPECT_FALSE(CZolexApp::PassesHelpRequest(0x20002, 1));
    EXPECT_TRUE(CZolexApp::PassesHelpRequest(0x20002, 2));
    EXPECT_TRUE(CZolexApp::PassesHelpRequest(0, HELP_INDEX));
}

// A DDE client window that records the acknowledgements it gets.
struct DdeClient {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DDE_ACK) {
            Acks.push_back(lParam);
            Server = reinterpret_cast<HWND>(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    DdeClient()
    {
        WNDCLASSA c{};
        c.lpfnWndProc = Proc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "TolviTestDdeClient";
        RegisterClassA(&c);
        Window = CreateWindowA(c.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, c.hInstance, nullptr);
        Acks.clear();
        Server = nullptr;
    }
    ~DdeClient() { DestroyWindow(Window); }
    HWND Window;
    static inline std::vector<LPARAM> Acks;
    static inline HWND Server;
};

TEST_F(FrameInProcess, TheShellOpensADocumentInTheRunningSessionByDde)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    WriteFileText(folder_.File("other.wcf"), "[Tolvi]\r\nVersion=4.5.6.3\r\n");
    DdeClient client;

    SendMessageA(window, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(client.Window),
                 MAKELPARAM(GlobalAddAtomA("OTHERAPP"), GlobalAddAtomA("System")));
    EXPECT_TRUE(DdeClient::Acks.empty());  // not our application: no answer
    SendMessageA(window, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(client.Window),
                 MAKELPARAM(GlobalAddAtomA("tolvi"), GlobalAddAtomA("SYSTEM")));
    ASSERT_EQ(DdeClient::Acks.size(), 1u);
    EXPECT_EQ(DdeClient::Server, window);

    const std::string other = folder_.File("other.wcf");
    for (const std::string& command : {std::string("[print(\"x\")]"), "[open(\"" + other + "\")]"}) {
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, command.size() + 1);
        std::memcpy(GlobalLock(text), command.c_str(), command.size() + 1);
        GlobalUnlock(text);
        PostMessageA(window, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(client.Window),
                     PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(text)));
        Pump(200);
    }
    ASSERT_EQ(DdeClient::Acks.size(), 3u);
    UINT_PTR status = 0, handle = 0;
    UnpackDDElParam(WM_DDE_ACK, DdeClient::Acks[1], &status, &handle);
    EXPECT_EQ(status & 0x8000, 0u);  // the print command is refused
    UnpackDDElParam(WM_DDE_ACK, DdeClient::Acks[2], &status, &handle);
    EXPECT_NE(status & 0x8000, 0u);
    EXPECT_EQ(GetSessionDoc()->GetPathName(), other);
    SendMessageA(window, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(client.Window), 0);
}

}  // namespace

// ---- The small session dialogs, lock administration and the product-information page.

namespace {

TEST_F(FrameInProcess, SessionSettingsCommandsAreInEveryMenuAndFollowTheirLocks)
{
    HWND window = Start("[LockSettings]\r\nLockColors=Yes\r\nLockEnv=Yes\r\n");
    ASSERT_NE(window, nullptr);
    for (int menuId : {IDR_MENU_ENGLISH, IDR_MENU_SWEDISH, IDR_MENU_GERMAN, IDR_MENU_FRENCH, IDR_MENU_ITALIAN,
                       IDR_MENU_SPANISH, IDR_MENU_FINNISH, IDR_MENU_PORTUGUESE}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        for (int command : {ID_AUTO_LOGIN, ID_UNIX_ENV, ID_FILE_TRANSFER_CMD, ID_PREFS_MULTIMEDIA, ID_LOCK_SETTINGS})
            EXPECT_NE(GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND), static_cast<UINT>(-1))
                << menuId << " " << command;
        DestroyMenu(menu);
    }
    FwDialogTestHook hook;
    FwSetDialogTestHook(&hook);
    std::vector<int> opened;
    for (int dialog : {IDD_AUTO_LOGIN, IDD_FILE_TRANSFER_CMD, IDD_MULTIMEDIA, IDD_LOCK_ADMIN})
        hook.Expect(dialog, [&opened, dialog](FwDialogDriver& d) {
            opened.push_back(dialog);
            d.Press(IDCANCEL);
        });
    CMainFrame* frame = CMainFrame::Instance();
    // Locked: a run of the command opens nothing.
    for (int command : {ID_CONFIG_COLORS, ID_UNIX_ENV, ID_AUTO_LOGIN, ID_FILE_TRANSFER_CMD, ID_PREFS_MULTIMEDIA,
                        ID_LOCK_SETTINGS})
        frame->RunCommand(command);
    EXPECT_EQ(opened, (std::vector<int>{IDD_AUTO_LOGIN, IDD_FILE_TRANSFER_CMD, IDD_MULTIMEDIA, IDD_LOCK_ADMIN}));

    // With the configuration locked throughout, the settings commands are off and Lock settings
    // is the way back in; loading and saving follow their own settings.
    HMENU menu = GetMenu(window);
    Rec->AllowCfg = 0;
    Rec->AllowWriteCfg = 0;
    frame->UpdateMenu(GetSubMenu(menu, 0));
    frame->UpdateMenu(GetSubMenu(menu, 4));
    for (int command : {ID_AUTO_LOGIN, ID_UNIX_ENV, ID_CONFIG_BOXES, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_GRAYED) << command;
    EXPECT_FALSE(GetMenuState(menu, ID_LOCK_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, ID_FILE_OPEN, MF_BYCOMMAND) & MF_GRAYED);
    Rec->AllowCfg = 1;
    Rec->AutoLogin = 1;
    frame->UpdateMenu(GetSubMenu(menu, 4));
    EXPECT_FALSE(GetMenuState(menu, ID_AUTO_LOGIN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, ID_AUTO_LOGIN, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, ID_CONFIG_COLORS, MF_BYCOMMAND) & MF_GRAYED);
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(hook.unexpectedDialogs, 0);
}

// More on TCP/IP: the placeholders are hidden and the two pictures drawn 30 pixels below the top,
// white left transparent.
TEST_F(FrameInProcess, MoreInfoPageDrawsItsTwoPictures)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    FwDialogTestHook hook;
    FwSetDialogTestHook(&hook);
    bool looked = false;
    hook.Expect(IDD_MORE_INFO, [&looked](FwDialogDriver& d) {
        looked = true;
        EXPECT_EQ(d.Caption(), "More on TCP/IP");
        EXPECT_FALSE(d.Visible(IDC_MORE_INFO_PICTURE1));
        EXPECT_FALSE(d.Visible(IDC_MORE_INFO_PICTURE2));
        RedrawWindow(d.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT second{};
        GetWindowRect(GetDlgItem(d.Handle(), IDC_MORE_INFO_PICTURE2), &second);
        MapWindowPoints(nullptr, d.Handle(), reinterpret_cast<POINT*>(&second), 2);
        RECT first{};
        GetWindowRect(GetDlgItem(d.Handle(), IDC_MORE_INFO_PICTURE1), &first);
        MapWindowPoints(nullptr, d.Handle(), reinterpret_cast<POINT*>(&first), 2);
        HDC dc = GetDC(d.Handle());
        EXPECT_EQ(GetPixel(dc, first.left + 5, 30 + 5), RGB(0, 0, 128));      // the logo's ground
        EXPECT_EQ(GetPixel(dc, first.left, 30), GetSysColor(COLOR_BTNFACE));  // its white corner is not drawn
        EXPECT_EQ(GetPixel(dc, second.left + 10, 30 + 15), RGB(0, 128, 128));  // a screen of the picture
        EXPECT_EQ(GetPixel(dc, second.left + 1, 31), GetSysColor(COLOR_BTNFACE));  // nor the picture's white
        ReleaseDC(d.Handle(), dc);
        const std::string shot = TolviProcess::BinFolder() + "..\\screens\\dialog-126-more-info.png";
        std::string line = "\"" + TolviProcess::BinFolder() + "screengrab.exe\" \"" + shot +
                           "\" --window \"More on TCP/IP\" --wait 3000 --delay 300";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            for (int i = 0; i < 300 && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0; ++i) Pump(20);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
        d.Press(IDOK);
    });
    CMoreInfoDlg(window).DoModal();
    FwSetDialogTestHook(nullptr);
    EXPECT_TRUE(looked);
}

}  // namespace

namespace {

std::wstring ConfigItemText(HWND window, UINT command)
{
    wchar_t text[128] = {};
    GetMenuStringW(GetMenu(window), command, text, 128, MF_BYCOMMAND);
    return text;
}

}  // namespace

TEST_F(FrameInProcess, GeneralAndTerminalEmulationOpenTheirDialogsFromEveryMenu)
{
    HWND window = Start("");
    ASSERT_NE(window, nullptr);
    for (int menuId : {IDR_MENU_ENGLISH, IDR_MENU_SWEDISH, IDR_MENU_GERMAN, IDR_MENU_FRENCH, IDR_MENU_ITALIAN,
                       IDR_MENU_SPANISH, IDR_MENU_FINNISH, IDR_MENU_PORTUGUESE}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        for (UINT command : {32775u, 32772u})
            EXPECT_NE(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << menuId << " " << command;
        EXPECT_EQ(GetMenuState(menu, 32769, MF_BYCOMMAND), static_cast<UINT>(-1)) << menuId;
        DestroyMenu(menu);
    }
    EXPECT_EQ(ConfigItemText(window, 32775), L"&General Settings...");
    EXPECT_EQ(ConfigItemText(window, 32772), L"&Terminal Emulation...");
    CMainFrame::Instance()->UpdateMenu(GetMenu(window));
    EXPECT_EQ(GetMenuState(GetMenu(window), 32775, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(GetMenu(window), 32772, MF_BYCOMMAND) & MF_GRAYED, 0u);

    FwDialogTestHook hook;
    FwSetDialogTestHook(&hook);
    hook.Expect(IDD_TERMINAL_SETTINGS, [](FwDialogDriver& d) { d.Press(IDCANCEL); });
    EXPECT_TRUE(CMainFrame::Instance()->RunCommand(32772));
    // A language chosen in General Settings gives the menu of that language.
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        for (int i = 0; i < d.Count(IDC_GEN_LANGUAGE); ++i)
            if (d.ItemText(IDC_GEN_LANGUAGE, i) == "Deutsch") d.Pick(IDC_GEN_LANGUAGE, i);
        d.Press(IDOK);
    });
    EXPECT_TRUE(CMainFrame::Instance()->RunCommand(32775));
    Pump(100);
    EXPECT_EQ(Rec->Language, 49);
    EXPECT_EQ(ConfigItemText(window, 32775), L"&Allgemeine Einstellungen...");
    EXPECT_EQ(ConfigItemText(window, 32772), L"&Terminalemulation...");
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        for (int i = 0; i < d.Count(IDC_GEN_LANGUAGE); ++i)
            if (d.ItemText(IDC_GEN_LANGUAGE, i) == "Svenska") d.Pick(IDC_GEN_LANGUAGE, i);
        d.Press(IDOK);
    });
    EXPECT_TRUE(CMainFrame::Instance()->RunCommand(32775));
    Pump(100);
    EXPECT_EQ(ConfigItemText(window, 32775), L"&Allmänna inställningar...");
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(hook.unexpectedDialogs, 0);
    EXPECT_TRUE(hook.scripts.empty());
}

// The session, transfer and help commands: in every menu; the greying of the lock table; Record
// Comm's file and check mark; Reset to Default; File transfer on a serial connection; a missing
// help document; a locked command posted to the view.
TEST_F(FrameInProcess, DocumentCommandsAreInEveryMenuAndFollowTheirRules)
{
    HWND window = Start("SingleInstance=Yes\r\nMaxInstance=1\r\nComType=0\r\nAllowWriteCfg=No\r\n[LockSettings]\r\n"
                        "LockGeneral=Yes\r\nLockDosBox=Yes\r\nLockKermit=Yes\r\n");
    ASSERT_NE(window, nullptr);
    for (int menuId : {IDR_MENU_ENGLISH, IDR_MENU_SWEDISH, IDR_MENU_GERMAN, IDR_MENU_FRENCH, IDR_MENU_ITALIAN,
                       IDR_MENU_SPANISH, IDR_MENU_FINNISH, IDR_MENU_PORTUGUESE}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
        for (int command : {ID_ONE_MORE, ID_RECORD_COMM, ID_HELP_PROGREF, ID_HELP_README, ID_CONFIG_RESET, ID_FILE_TRANSFER})
            EXPECT_NE(GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND), static_cast<UINT>(-1))
                << menuId << " " << command;
        EXPECT_EQ(GetMenuState(menu, 32779, MF_BYCOMMAND), static_cast<UINT>(-1)) << menuId;
        DestroyMenu(menu);
    }
    CMainFrame* frame = CMainFrame::Instance();
    // The menu is made anew when the language may have changed (after Reset to Default).
    auto grayed = [&](int command) {
        HMENU menu = GetMenu(window);
        for (int i = 0; i < GetMenuItemCount(menu); ++i) frame->UpdateMenu(GetSubMenu(menu, i));
        return (GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    auto checked = [&](int command) {
        grayed(command);
        return (GetMenuState(GetMenu(window), static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    for (int command : {ID_CONFIG_GENERAL, ID_DOS_BOX, ID_XFER_KERMIT, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_ONE_MORE})
        EXPECT_TRUE(grayed(command)) << command;
    for (int command : {ID_CONFIG_TERMINAL, ID_CONFIG_COLORS, ID_FONT_80, ID_CONFIG_RESET, ID_LOCK_SETTINGS, ID_FILE_OPEN,
                        ID_FILE_TRANSFER, ID_RECORD_COMM, ID_HELP_PROGREF, ID_HELP_README})
        EXPECT_FALSE(grayed(command)) << command;
    // The toolbar follows the same rules.
    frame->OnIdleUpdate();
    EXPECT_FALSE(SendMessageA(frame->toolbar.Handle(), TB_ISBUTTONENABLED, ID_DOS_BOX, 0));
    EXPECT_TRUE(SendMessageA(frame->toolbar.Handle(), TB_ISBUTTONENABLED, ID_FILE_TRANSFER, 0));
    // Two sessions may run: One More comes back.
    Rec->MaxInstance = 2;
    EXPECT_FALSE(grayed(ID_ONE_MORE));

    FwDialogTestHook hook;
    FwSetDialogTestHook(&hook);
    struct PromptsInstalled {
        Win32Prompts prompts;
        PromptsInstalled() { SetPrompts(&prompts); }
        ~PromptsInstalled() { SetPrompts(nullptr); }
    } messageBoxes;
    // A locked command that an action string posts to the view opens nothing either.
    hook.Expect(IDD_KERMIT_SETTINGS, [](FwDialogDriver& d) { d.Press(IDCANCEL); });
    SendMessageA(frame->View(), WM_COMMAND, ID_XFER_KERMIT, 0);
    EXPECT_EQ(hook.scripts.size(), 1u);
    Rec->LockKermit = 0;
    SendMessageA(frame->View(), WM_COMMAND, ID_XFER_KERMIT, 0);
    EXPECT_TRUE(hook.scripts.empty());

    // Record Comm twice: the trace file is made, then closed; the check mark follows.
    CZolexDoc* doc = GetSessionDoc();
    ASSERT_NE(doc, nullptr);
    doc->strings.TraceFile = folder_.File("comm.trc");
    EXPECT_FALSE(checked(ID_RECORD_COMM));
    frame->RunCommand(ID_RECORD_COMM);
    EXPECT_EQ(Rec->Recording, 1);
    EXPECT_TRUE(checked(ID_RECORD_COMM));
    EXPECT_TRUE(std::filesystem::exists(folder_.File("comm.trc")));
    frame->RunCommand(ID_RECORD_COMM);
    EXPECT_EQ(Rec->Recording, 0);
    EXPECT_FALSE(checked(ID_RECORD_COMM));
    // A trace file that cannot be made: message 27 with its name.
    doc->strings.TraceFile = folder_.File("no such folder\\comm.trc");
    hook.messageAnswers.push_back(IDOK);
    frame->RunCommand(ID_RECORD_COMM);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Failed to create Trace file: " + doc->strings.TraceFile);
    EXPECT_EQ(Rec->Recording, 0);

    // A help document that is not in the program folder.
    const std::string programPath = Startup.ProgramPath;
    Startup.ProgramPath = folder_.File("Tolvi.exe");
    hook.messageAnswers.push_back(IDOK);
    frame->RunCommand(ID_HELP_README);
    Startup.ProgramPath = programPath;
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[1].text, "ShellExecute() error: 2");

    // File transfer on a serial connection opens the protocol transfer.
    Rec->Connected = 1;
    hook.Expect(IDD_START_TRANSFER, [](FwDialogDriver& d) { d.Press(IDCANCEL); });
    frame->RunCommand(ID_FILE_TRANSFER);
    Pump(200);
    EXPECT_TRUE(hook.scripts.empty());

    // Reset to Default: not while connected; No keeps the settings, Yes gives the defaults.
    hook.messageAnswers.push_back(IDYES);
    frame->RunCommand(ID_CONFIG_RESET);
    Pump(200);
    EXPECT_EQ(Rec->SingleInstance, 1);  // the new configuration is refused while connected
    Rec->Connected = 0;
    hook.messageAnswers.push_back(IDNO);
    frame->RunCommand(ID_CONFIG_RESET);
    Pump(200);
    EXPECT_EQ(Rec->SingleInstance, 1);
    hook.messageAnswers.push_back(IDYES);
    frame->RunCommand(ID_CONFIG_RESET);
    Pump(200);
    EXPECT_EQ(Rec->SingleInstance, 0);
    EXPECT_EQ(Rec->AllowWriteCfg, 1);
    EXPECT_FALSE(grayed(ID_FILE_SAVE_AS));
    // The administrator's locks are no settings of the user's: they hold after a reset.
    EXPECT_EQ(Rec->LockGeneral, 1);
    EXPECT_TRUE(grayed(ID_CONFIG_GENERAL));
    // Three questions; after them only the default data files this test folder lacks.
    ASSERT_GE(hook.messages.size(), 5u);
    for (std::size_t i = 2; i < hook.messages.size(); ++i)
        EXPECT_EQ(hook.messages[i].text.rfind(i < 5 ? "This will change all your settings" : "Failed to open ", 0), 0u)
            << hook.messages[i].text;
    FwSetDialogTestHook(nullptr);
    EXPECT_EQ(hook.unexpectedDialogs, 0);
}
