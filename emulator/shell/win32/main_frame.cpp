#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view.h"

#include "fw_dialog.h"
#include "fw_recent_menu.h"
#include "shell/win32/transfer_settings_commands.h"
#include "shell/win32/color_settings_commands.h"
#include "shell/win32/session_settings_commands.h"
#include "shell/win32/document_commands.h"
#include "shell/win32/more_info_dlg.h"
#include "shell/win32/terminal_settings_commands.h"
#include "shell/win32/keyboard_map_command.h"
#include "shell/win32/display_settings_commands.h"
#include "shell/win32/config_command_site_win32.h"
#include "shell/win32/preference_commands.h"

#include <algorithm>
#include <cstdio>

#include <commdlg.h>

#include "resource_ids.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/zolex_app.h"
#include "shell/win32/zolex_view_parts.h"
#include "fw_app.h"
#include "engine/screen_planes.h"
#include "connections/telnet_rings.h"
#include "connections/connection_dispatch.h"
#include "connections/dde/win32/terminal_dde_server.h"
#include "connections/transfer_driver.h"
#include "connections/win32/win32_transfer_host.h"
#include "engine/wyse/wyse_interpreter.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

RECT DefaultFrameRect = {80, 50, 400, 300};
int ShowLogoImage = 1;
int HistoryAtStart = 0;

namespace {

CMainFrame* theFrame = nullptr;

constexpr const char* kPlacementSection = "Window size";
constexpr const char* kRectKey = "Rect";
constexpr const char* kShowKey = "Show";
constexpr const char* kLogoKey = "ShowTolviImage";
constexpr const char* kHistoryKey = "HistoryActive";
constexpr const char* kScaleKey = "ScaleFont";

constexpr UINT kToggleMenuMsg = WM_USER + 105;
constexpr UINT kCaptionOffMsg = WM_USER + 106;
constexpr UINT kLoadCountryMenuMsg = WM_USER + 107;
constexpr UINT kSysMenuOffMsg = WM_USER + 108;
constexpr UINT kSysMenuOnMsg = WM_USER + 109;

// Toolbar buttons and the positions whose images follow the session's state.
const std::vector<int> kToolbarCommands = {
    ID_FILE_OPEN, ID_FILE_SAVE, kSeparator, ID_EDIT_COPY, ID_EDIT_PASTE, kSeparator, ID_FILE_PRINT,
    ID_CAPTURE, kSeparator, ID_SCALE_VIEW_TO_FONT, ID_HISTORY_SCROLLBACK, ID_CONNECT_DISCONNECT, kSeparator,
    ID_CONFIG_COLORS, ID_CONFIG_BOXES, ID_CONFIG_FONT, ID_CONFIG_KEYBOARD_MAP, kSeparator, ID_CONTEXT_HELP,
    ID_DOS_BOX, kSeparator, ID_FILE_TRANSFER, ID_PLAY_RECORDING,
};
constexpr int kToolbarImages = 21;
constexpr int kCaptureButton = 7;
constexpr int kConnectButton = 11;
constexpr int kPlayButton = 22;

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        char text[96];
        std::snprintf(text, sizeof text, "%s - Version %d.%d.%d%s%s", "Tolvi", 4, 5, 6, ".3", " 32-bit");
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, text);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_ABOUT_MORE) {
            CMoreInfoDlg(dialog).DoModal();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}


// A Config command with this frame answering what its after-OK work asks of the program.
void RunConfigCommand(void (*command)(CZolexDoc&, HWND, ConfigCommandSite&), CZolexDoc& doc, HWND frame)
{
    Win32ConfigCommandSite site(frame);
    command(doc, frame, site);
}

}  // namespace

void RunAboutBox(HWND owner)
{
    DialogBoxParamA(FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX),
                    owner, AboutProc, 0);
}

CountryMenu CountryMenuFor(int country)
{
    switch (country) {
    case 1:
    case 44: return {IDR_MENU_ENGLISH, 1, 170, 171};
    case 2:
    case 32:
    case 33:
    case 352: return {IDR_MENU_FRENCH, 33, 172, 173};
    case 34: return {IDR_MENU_SPANISH, 34, 170, 171};
    case 39: return {IDR_MENU_ITALIAN, 39, 178, 179};
    case 41:
    case 43:
    case 49: return {IDR_MENU_GERMAN, 49, 174, 175};
    case 46: return {IDR_MENU_SWEDISH, 46, 176, 177};
    case 55:
    case 351: return {IDR_MENU_PORTUGUESE, 351, 182, 183};
    case 358: return {IDR_MENU_FINNISH, 358, 180, 181};
    default: return {IDR_MENU_ENGLISH, country, 170, 171};
    }
}

CMainFrame::CMainFrame(CZolexDoc& doc)
    : doc_(doc), shellOpen_("TOLVI", [this](const std::string& path) { return doc_.SaveModified() && doc_.OnOpenDocument(path); })
{
    theFrame = this;
    RegisterCommands();
    InstallSessionSettingsCommands(*this, doc_);
    InstallDocumentCommands(*this, doc_);
}

CMainFrame::~CMainFrame()
{
    if (theFrame == this) theFrame = nullptr;
}

CMainFrame* CMainFrame::Instance() { return theFrame; }

std::string CMainFrame::LoadText(int id) const
{
    char text[256] = {};
    LoadStringA(FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr), static_cast<UINT>(id), text,
                sizeof text);
    return text;
}

HWND CMainFrame::CreateView()
{
    terminalView_ = std::make_unique<CZolexView>(&doc_);
    HWND view = terminalView_->Create(Handle(), 0xE900);
    // The view's own commands, also when they come from the menu or the tool bar.
    for (int id : {256, 257, 32786, ID_FILE_PRINT, 32800, ID_XFER_KERMIT, ID_XFER_XYMODEM, ID_XFER_ZMODEM, ID_XFER_GENERAL,
                   32831, 32832})
        OnCommand(id, [view, id] { SendMessageA(view, WM_COMMAND, static_cast<WPARAM>(id), 0); });
    // The transfer dialog and "start receive" need a connection that carries transfers.
    for (int id : {32831, 32832})
        OnUpdate(id, [](FwCmdUI& ui) { ui.enabled = TransferCommandsEnabled(); });
    return view;
}

bool CMainFrame::RouteUpdate(int id, FwCmdUI& ui)
{
    return terminalView_ && terminalView_->UpdateViewCommand(id, ui);
}

bool CMainFrame::RouteRun(int id)
{
    FwCmdUI ui;
    if (!terminalView_ || !terminalView_->UpdateViewCommand(id, ui)) return false;
    SendMessageA(terminalView_->Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
    return true;
}

int CMainFrame::OnCreate()
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    if (!toolbar.Create(Handle(), instance, IDB_TOOLBAR, kToolbarImages, kToolbarCommands)) return -1;
    if (!statusBar.Create(Handle(), {0, 0, 0, kIndicatorCaps, kIndicatorNum, kIndicatorScroll})) return -1;
    statusBar.SetPaneWidth(1, statusBar.PaneWidth(1) * 15 / 10);
    statusBar.SetPaneWidth(2, statusBar.PaneWidth(2) / 3);
    OnLoadCountryMenu();
    return 0;
}

void CMainFrame::OnLoadCountryMenu()
{
    HelpFile = "Tolvi.hlp";
    int country = Rec->Language;
    if (country == 0) country = static_cast<int>(GetProfileIntA("intl", "iCountry", 1));
    MenuCountry = country;
    const CountryMenu choice = CountryMenuFor(country);

    HMENU current = DetachedMenu ? DetachedMenu : GetMenu(Handle());
    HMENU menu = LoadMenuA(FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr),
                           MAKEINTRESOURCEA(choice.menuId));
    if (!menu) return;
    if (Rec->TerminalFamily3270) {
        HMENU config = GetSubMenu(menu, 4);
        for (int i = 1; config && i < GetMenuItemCount(config); ++i) {
            if (GetMenuState(config, static_cast<UINT>(i - 1), MF_BYPOSITION) & MF_SEPARATOR) {
                if (HMENU preferences = GetSubMenu(config, i)) {
                    for (int j = GetMenuItemCount(preferences) - 1; j >= 0; --j) {
                        if (GetSubMenu(preferences, j)) DeleteMenu(preferences, static_cast<UINT>(j), MF_BYPOSITION);
                    }
                }
            }
        }
        for (UINT command : {ID_CONFIG_PHONE, ID_MODEM_TYPE, ID_AUTO_LOGIN, ID_CONFIG_MOUSE})
            DeleteMenu(menu, command, MF_BYCOMMAND);
    }
    if (DetachedMenu) {
        DetachedMenu = menu;  // the menu bar stays off; the new one is what comes back
    } else {
        SetMenu(Handle(), menu);
        DrawMenuBar(Handle());
    }
    if (current && current != DefaultMenu()) DestroyMenu(current);
    UpdateMenu(menu);
    RefreshRecentFileMenu();

    if (choice.helpCountry != 1) {
        char name[32];
        std::snprintf(name, sizeof name, "Tolvi%03d.hlp", choice.helpCountry);
        HelpFile = GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES ? name : "Tolvi.hlp";
    }
}

void CMainFrame::AddToRecentFiles(const std::string& path)
{
    FwApp* app = FwGetApp();
    if (!app) return;
    app->recentFiles.Add(path);
    app->SaveRecentFiles();
    RefreshRecentFileMenu();
}

void CMainFrame::RefreshRecentFileMenu()
{
    FwApp* app = FwGetApp();
    HMENU menu = DetachedMenu ? DetachedMenu : GetMenu(Handle());
    if (!app || !menu) return;
    FwUpdateRecentFileMenu(GetSubMenu(menu, 0), app->recentFiles, ID_FILE_MRU_FIRST, ID_APP_EXIT);
}

void CMainFrame::OpenRecentFile(std::size_t index)
{
    FwApp* app = FwGetApp();
    if (!app || index >= app->recentFiles.Files().size() || !doc_.SaveModified()) return;
    const std::string path = app->recentFiles.Files()[index];
    if (doc_.OnOpenDocument(path)) return;
    // A file that can no longer be opened leaves the list.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        app->recentFiles.Remove(index);
        app->SaveRecentFiles();
        RefreshRecentFileMenu();
    }
}

void CMainFrame::RegisterCommands()
{
    for (std::size_t i = 0; i < 4; ++i)
        OnCommand(ID_FILE_MRU_FIRST + static_cast<int>(i), [this, i] { OpenRecentFile(i); });
    OnCommand(ID_HELP_INDEX, [] {
        if (auto* app = dynamic_cast<CZolexApp*>(FwGetApp())) app->WinHelp(0, HELP_INDEX);
    });
    OnUpdate(ID_CONNECT_DISCONNECT, [this](FwCmdUI& ui) {
        const CountryMenu choice = CountryMenuFor(MenuCountry);
        ui.SetText(LoadText(Rec->Connected ? choice.disconnectLabel : choice.connectLabel));
        const int image = Rec->Connecting ? 20 : Rec->Connected ? 8 : 18;
        if (toolbar.Handle() && toolbar.ButtonImage(kConnectButton) != image) toolbar.SetButtonImage(kConnectButton, image);
        ui.SetCheck(Rec->Connecting || Rec->Connected);
        ui.Enable(true);
    });
    OnUpdate(ID_CAPTURE, [this](FwCmdUI& ui) {
        const int image = Rec->CaptureToFile ? 19 : 5;
        if (toolbar.Handle() && toolbar.ButtonImage(kCaptureButton) != image) toolbar.SetButtonImage(kCaptureButton, image);
        ui.SetCheck(Rec->CaptureRunning);
        ui.Enable(true);
    });
    OnUpdate(ID_PLAY_RECORDING, [this](FwCmdUI& ui) {
        const int image = Rec->PlaybackState ? 17 : 16;
        if (toolbar.Handle() && toolbar.ButtonImage(kPlayButton) != image) toolbar.SetButtonImage(kPlayButton, image);
        ui.SetCheck(Rec->PlaybackState == 1);
        ui.Enable(true);
    });
    OnCommand(ID_VIEW_TITLEBAR, [this] { ToggleCaption(); });
    OnUpdate(ID_VIEW_TITLEBAR, [this](FwCmdUI& ui) { ui.SetCheck((GetWindowLongA(Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION); });
    OnCommand(ID_VIEW_MENU, [] { ToggleMenuBar(0); });
    OnUpdate(ID_VIEW_MENU, [](FwCmdUI& ui) { ui.SetCheck(DetachedMenu == nullptr); });
    OnCommand(ID_VIEW_TOOLBAR, [this] { ShowFrameControlBar(!ControlBarVisible(kToolbarId), kToolbarId); });
    OnUpdate(ID_VIEW_TOOLBAR, [this](FwCmdUI& ui) { ui.SetCheck(ControlBarVisible(kToolbarId)); });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { ShowFrameControlBar(!ControlBarVisible(kStatusBarId), kStatusBarId); });
    OnUpdate(ID_VIEW_STATUS_BAR, [this](FwCmdUI& ui) { ui.SetCheck(ControlBarVisible(kStatusBarId)); });
    OnCommand(ID_FILE_SAVE, [this] { doc_.DoFileSave(); });
    OnCommand(ID_APP_EXIT, [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    OnCommand(ID_APP_ABOUT, [this] { RunAboutBox(Handle()); });
    OnCommand(ID_PREFS_DDE, [this] { DdeSettingsCommand(doc_, Handle()); });
    OnCommand(ID_CONFIG_COLORS, [this] {
        SetColorSamplePalette(ScreenPalette);
        RunConfigCommand(ColorsCommand, doc_, Handle());
    });
    OnCommand(ID_CONFIG_BOXES, [this] { RunConfigCommand(BoxesCommand, doc_, Handle()); });
    OnCommand(ID_CONFIG_GENERAL, [this] { RunConfigCommand(GeneralSettingsCommand, doc_, Handle()); });
    OnCommand(ID_CONFIG_TERMINAL, [this] { RunConfigCommand(TerminalEmulationCommand, doc_, Handle()); });
    // Connection and preference dialogs.
    OnCommand(ID_MODEM_TYPE, [this] { ModemCommand(doc_, Handle()); });
    OnCommand(ID_CONFIG_PHONE, [this] { PhoneNumberCommand(doc_, Handle()); });
    OnCommand(ID_CONFIG_MOUSE, [this] { MouseCommand(doc_, Handle()); });
    OnCommand(ID_PREFS_VIEW, [this] { RunConfigCommand(ViewPrefsCommand, doc_, Handle()); });
    OnCommand(ID_PREFS_FILES, [this] { FilePrefsCommand(doc_, Handle()); });
    OnCommand(ID_PREFS_TERMINAL_PRINTERS, [this] { TerminalPrintersCommand(doc_, Handle()); });
    OnCommand(ID_CONFIG_KEYBOARD_MAP, [this] { RunConfigCommand(KeyboardMapCommand, doc_, Handle()); });
    OnCommand(ID_PREFS_DYN_HOTSPOTS, [this] { RunConfigCommand(DynHotspotsCommand, doc_, Handle()); });
    OnCommand(ID_FILE_OPEN, [this] {
        if (!doc_.SaveModified()) return;
        const std::string path = ChooseConfigFile(false, std::string());
        if (!path.empty()) doc_.OnOpenDocument(path);
    });
    OnCommand(ID_FILE_SAVE_AS, [this] { doc_.DoSaveAs(); });
}

std::string CMainFrame::ChooseConfigFile(bool forSaving, const std::string& proposal)
{
    char path[MAX_PATH * 4] = {};
    std::snprintf(path, sizeof path, "%s", proposal.c_str());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "Tolvi config (*.wcf)\0*.wcf\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrDefExt = "wcf";
    dialog.Flags = OFN_HIDEREADONLY | (forSaving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = forSaving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    return chosen ? std::string(path) : std::string();
}

void CMainFrame::ToggleCaption()
{
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetFrameStyleBits((style & WS_CAPTION) != WS_CAPTION, WS_CAPTION);
    FrameRefitPending = 1;
}

void CMainFrame::ActivateFrame(int showCommand)
{
    if (firstActivation_) {
        firstActivation_ = false;
        FwApp* app = FwGetApp();
        RECT normal = DefaultFrameRect;
        const std::string rect = app->GetProfileString(kPlacementSection, kRectKey);
        if (!rect.empty()) {
            RECT stored{};
            if (std::sscanf(rect.c_str(), "%ld %ld %ld %ld", &stored.left, &stored.top, &stored.right,
                            &stored.bottom) == 4)
                normal = stored;
        }
        const std::string show = app->GetProfileString(kPlacementSection, kShowKey);
        if (show.empty()) showCommand = SW_SHOWMAXIMIZED;
        else if (std::atoi(show.c_str()) == SW_SHOWMAXIMIZED) showCommand = SW_SHOWMAXIMIZED;

        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        placement.flags = 0;
        placement.showCmd = static_cast<UINT>(showCommand);
        placement.ptMinPosition = {0, 0};
        placement.ptMaxPosition = {-GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER)};
        placement.rcNormalPosition = normal;
        ShowWindow(toolbar.Handle(), Rec->Toolbar ? SW_SHOW : SW_HIDE);
        ShowWindow(statusBar.Handle(), Rec->Statusbar ? SW_SHOW : SW_HIDE);
        const std::string logo = app->GetProfileString(kPlacementSection, kLogoKey);
        if (!logo.empty()) ShowLogoImage = std::atoi(logo.c_str());
        SetWindowPlacement(Handle(), &placement);
        RecalcLayout();
        const std::string history = app->GetProfileString(kPlacementSection, kHistoryKey);
        if (!history.empty()) HistoryAtStart = std::atoi(history.c_str());
        const std::string scale = app->GetProfileString(kPlacementSection, kScaleKey);
        Rec->ScaleFontToView = scale.empty() ? 1 : std::atoi(scale.c_str());
    }
    FwFrameWnd::ActivateFrame(showCommand);
}

void CMainFrame::OnDestroy()
{
    FwApp* app = FwGetApp();
    WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    char text[64];
    const RECT& r = placement.rcNormalPosition;
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    app->WriteProfileString(kPlacementSection, kRectKey, text);
    app->WriteProfileString(kPlacementSection, kShowKey, std::to_string(placement.showCmd));
    app->WriteProfileString(kPlacementSection, kHistoryKey, std::to_string(Rec->HistoryView));
    app->WriteProfileString(kPlacementSection, kScaleKey, std::to_string(Rec->ScaleFontToView));
    ShutdownDdeServer();
    FreeScreenBuffers();
    FreeWysePageBuffer();
    FreeTelnetRings();
    app->WriteProfileString(kPlacementSection, kLogoKey, std::to_string(ShowLogoImage));
    HMENU menu = GetMenu(Handle());
    if (menu && menu != DefaultMenu()) {
        SetMenu(Handle(), nullptr);
        DestroyMenu(menu);
    }
    if (DetachedMenu && DetachedMenu != DefaultMenu()) DestroyMenu(DetachedMenu);
    DetachedMenu = nullptr;
}

bool CMainFrame::OnSysCommand(WPARAM command)
{
    if (FullScreenState == 2) return false;
    const UINT id = static_cast<UINT>(command & 0xFFF0);
    const bool zoomed = IsZoomed(Handle()) != FALSE;
    if (zoomed && FullScreenState) return true;
    if (zoomed && (id == SC_MOVE || id == SC_SIZE)) return true;
    if (!(GetWindowLongA(Handle(), GWL_STYLE) & WS_MAXIMIZEBOX) &&
        (id == SC_MINIMIZE || id == SC_MAXIMIZE || id == SC_RESTORE))
        return true;
    return false;
}

bool CMainFrame::OnQueryEndSession()
{
    if (!doc_.SaveModified()) return false;
    if (!Rec->Connecting && !Rec->Connected) {
        if (Rec->HangupReason != 0) {
            Rec->ExitPending = 1;
            return false;
        }
        ShutdownTransport();
        return true;
    }
    if (!Rec->Connecting &&
        FwMessageBox(Handle(), "WINDOWS termination requested\nDo you want to disconnect this session and exit ?",
                     MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    Rec->ExitPending = 1;
    PostMessageA(Handle(), WM_COMMAND, ID_CONNECT_DISCONNECT, 0);
    return false;
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (shellOpen_.HandleMessage(Handle(), message, wParam, lParam, result)) return true;
    switch (message) {
    case WM_GETMINMAXINFO: {
        Default(message, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        // At most 2400 x 1800, and never more than the system's own maximised size: a maximised
        // frame larger than the screen would hide its status bar and caption buttons.
        info->ptMaxSize = {std::min<LONG>(2400, info->ptMaxSize.x), std::min<LONG>(1800, info->ptMaxSize.y)};
        info->ptMaxTrackSize = {3400, 2800};
        result = 0;
        return true;
    }
    case WM_SETFOCUS:
        // Keys go to the terminal view.
        if (View()) SetFocus(View());
        result = 0;
        return true;
    case WM_SIZE:
        RecalcLayout();
        if (wParam == SIZE_MAXIMIZED) FrameRefitPending = 1;
        result = 0;
        return true;
    case WM_SYSCOMMAND:
        if (!OnSysCommand(wParam)) return false;
        result = 0;
        return true;
    case WM_QUERYENDSESSION:
        result = OnQueryEndSession() ? TRUE : FALSE;
        return true;
    case WM_CLOSE:
        if (DeferCloseWhileTransferring() || !doc_.CanCloseFrame()) {
            result = 0;
            return true;
        }
        return false;
    case WM_DESTROY:
        OnDestroy();
        return false;
    case kToggleMenuMsg:
        ToggleMenuBar(0);
        result = 0;
        return true;
    case kCaptionOffMsg:
        if ((GetWindowLongA(Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION) ToggleCaption();
        result = 1;
        return true;
    case kLoadCountryMenuMsg:
        OnLoadCountryMenu();
        result = 0;
        return true;
    case kSysMenuOffMsg:
        if (GetWindowLongA(Handle(), GWL_STYLE) & WS_SYSMENU) SetFrameStyleBits(false, WS_SYSMENU);
        result = 1;
        return true;
    case kSysMenuOnMsg:
        if (!(GetWindowLongA(Handle(), GWL_STYLE) & WS_SYSMENU)) SetFrameStyleBits(true, WS_SYSMENU);
        result = 1;
        return true;
    default:
        return false;
    }
}

std::string CMainFrame::FrameTitle()
{
    char text[301] = {};
    GetWindowTextA(Handle(), text, sizeof text);
    return text;
}

void CMainFrame::SetFrameTitle(const std::string& text)
{
    if (Handle()) SetWindowTextA(Handle(), text.c_str());
}

void CMainFrame::UpdateAllViews()
{
    if (View()) InvalidateRect(View(), nullptr, TRUE);
}

void CMainFrame::SetStatusText(int pane, const std::string& text) { statusBar.SetPaneText(pane, text.c_str()); }

void CMainFrame::SetWaitCursor(bool on) { SetBusyCursor(on); }

std::string CMainFrame::AskSavePath(const std::string& proposal) { return ChooseConfigFile(true, proposal); }

int CMainFrame::AskSaveChanges(const std::string& title)
{
    const std::string text = "Save changes to " + title + "?";
    return FwMessageBox(Handle(), text, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
}

void CMainFrame::PostCommand(int command)
{
    if (Handle()) PostMessageA(Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
}
