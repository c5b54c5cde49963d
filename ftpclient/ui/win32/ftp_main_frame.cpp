#include "ftp_main_frame.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_views.h"
#include "tolviftp_ids.h"

namespace {
constexpr int kDirectoryBarId = 104;
constexpr int kOuterSplitterId = 0xE900;
constexpr int kInnerSplitterId = 0xE901;
}  // namespace

FtpMainFrame::FtpMainFrame(FtpDocument& document) : document_(document)
{
    SetDocument(&document);
    SetAppTarget(&TheFtpApp());
    frameCommands.OnCommand(ID_FTP_APP_EXIT, [this] {
        if (mainView_)
            mainView_->ExitCommand();
    });
    frameCommands.OnUpdateCommand(ID_FTP_TRANSFER_SETUP, [](FwCmdUI& ui) {
        ui.Enable(true);
        ui.SetText(TheFtpApp().installMode ? "&Install.." : "&Send && Recv..");
    });
}

FtpMainFrame::~FtpMainFrame() = default;

bool FtpMainFrame::CreateFrame()
{
    const std::string app = LoadPlainString(IDS_FTP_APP_TITLE);
    if (!Create("TolviFtpFrame", (document_.title + " - " + app).c_str(), IDR_FTP_MAIN, nullptr))
        return false;
    LoadAcceleratorTable(IDR_FTP_MAIN);
    return true;
}

void FtpMainFrame::SetDocumentTitle(const std::string& title)
{
    document_.title = title;
    SetWindowTextA(Handle(), (title + " - " + LoadPlainString(IDS_FTP_APP_TITLE)).c_str());
}

int FtpMainFrame::OnCreate()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::vector<int> buttons = {ID_FTP_APP_EXIT, kSeparator, ID_FTP_HELP, kSeparator, kSeparator,
                                      ID_FTP_LOCAL_SEND, kSeparator, ID_FTP_ABORT, kSeparator, ID_FTP_REMOTE_RECEIVE};
    if (!toolbar.Create(Handle(), instance, IDB_FTP_TOOLBAR, 5, buttons, SIZE{32, 31}))
        return -1;
    SendMessageA(toolbar.Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(39, 38));
    if (!statusBar.Create(Handle(), {0, kIndicatorCaps, kIndicatorNum, kIndicatorScroll}))
        return -1;

    // The directory bar: the local folder in a pane as wide as the local list, the remote one beside.
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, style & ~WS_THICKFRAME);
    const bool bar = topBar.Create(Handle(), {IDS_FTP_LOCAL_DIRECTORY, IDS_FTP_REMOTE_DIRECTORY}, true, kDirectoryBarId);
    SetWindowLongA(Handle(), GWL_STYLE, style);
    if (!bar)
        return -1;
    topBar.SetPaneWidth(0, 200);
    topBar.SetStretchPane(1);
    topBar.SetPaneText(0, LoadLocalString(IDS_FTP_LOCAL_DIRECTORY).c_str());
    topBar.SetPaneText(1, LoadLocalString(IDS_FTP_REMOTE_DIRECTORY).c_str());

    // Centre on the screen.
    RECT window;
    GetWindowRect(Handle(), &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    SetFtpCountry(static_cast<int>(GetProfileIntA("intl", "iCountry", 1)));
    if (FtpCountry() == 46) {
        HMENU swedish = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_FTP_MENU_SWEDISH));
        if (swedish) {
            HMENU old = GetMenu(Handle());
            SetMenu(Handle(), swedish);
            if (old)
                DestroyMenu(old);
        }
        topBar.SetPaneText(0, LoadLocalString(IDS_FTP_LOCAL_DIRECTORY).c_str());
        topBar.SetPaneText(1, LoadLocalString(IDS_FTP_REMOTE_DIRECTORY).c_str());
    }
    return CreateClient() ? 0 : -1;
}

bool FtpMainFrame::CreateClient()
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (!outer_.Create(Handle(), 2, 1, kOuterSplitterId))
        return false;
    mainView_ = std::make_unique<FtpMainView>();
    if (!mainView_->Create(outer_.Handle(), 0xE900 + 16, &document_, this))
        return false;
    outer_.SetPane(1, 0, mainView_->Handle());
    if (!inner_.Create(outer_.Handle(), 1, 2, kInnerSplitterId))
        return false;
    outer_.SetPane(0, 0, inner_.Handle());
    localView_ = std::make_unique<FtpLocalView>();
    remoteView_ = std::make_unique<FtpRemoteView>();
    if (!localView_->Create(inner_.Handle(), 0xE900, &document_, this) ||
        !remoteView_->Create(inner_.Handle(), 0xE901, &document_, this))
        return false;
    inner_.SetPane(0, 0, localView_->Handle());
    inner_.SetPane(0, 1, remoteView_->Handle());
    // The lists and the log share the window's height; the bar between them can be dragged.
    outer_.SetRowHeight(0, (client.bottom - client.top) / 2);
    inner_.SetColumnWidth(0, (client.right - client.left) / 2 - 50);
    SetPaneWindow(outer_.Handle());
    SetPaneOrder({localView_.get(), remoteView_.get(), mainView_.get()});
    LayoutFrame();
    return true;
}

void FtpMainFrame::InitialUpdate()
{
    for (FwView* view : std::vector<FwView*>{localView_.get(), remoteView_.get(), mainView_.get()})
        view->OnInitialUpdate();
    SetActiveView(mainView_.get());
}

namespace {

constexpr const char* kPlacementKey = "Window";

// The stored placement "left top right bottom show"; false when there is none or it is odd.
bool StoredPlacement(RECT& rect, int& show)
{
    char text[96] = "";
    GetPrivateProfileStringA("TolviFTP", kPlacementKey, "", text, sizeof text, kFtpIniFile);
    long l, t, r, b;
    if (std::sscanf(text, "%ld %ld %ld %ld %d", &l, &t, &r, &b, &show) != 5 || r - l < 200 || b - t < 150)
        return false;
    rect = RECT{l, t, r, b};
    return true;
}

std::string PlacementText(const RECT& r, int show)
{
    char text[96];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld %d", r.left, r.top, r.right, r.bottom, show);
    return text;
}

}  // namespace

void FtpMainFrame::ActivateFrame(int showCommand)
{
    FtpApp& app = TheFtpApp();
    RECT rect;
    int show = 0;
    if (firstActivation_ && !app.installMode && StoredPlacement(rect, show)) {
        // The size and place the window had when it was last closed.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(Handle(), &placement);
        placement.rcNormalPosition = rect;
        placement.showCmd = show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : static_cast<UINT>(showCommand);
        SetWindowPlacement(Handle(), &placement);
        if (show == SW_SHOWMAXIMIZED)
            showCommand = SW_SHOWMAXIMIZED;
    }
    firstActivation_ = false;
    FwViewFrame::ActivateFrame(showCommand);
    if (app.installMode)
        ShowWindow(Handle(), SW_MAXIMIZE);
}

void FtpMainFrame::UpdateMenuBar()
{
    HMENU menu = GetMenu(Handle());
    if (!menu)
        return;
    bool changed = false;
    for (int id : {ID_FTP_CONNECT, ID_FTP_DISCONNECT}) {
        const UINT want = CommandEnabled(id) ? MF_ENABLED : MF_GRAYED;
        const UINT before = EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | want);
        changed = changed || (before != static_cast<UINT>(-1) && (before & MF_GRAYED) != (want & MF_GRAYED));
    }
    if (changed)
        DrawMenuBar(Handle());
}

void FtpMainFrame::RememberPlacement()
{
    // An interactive start keeps its window's size; a script's or the install's start leaves the
    // settings file as it was. Nothing is written when nothing changed.
    const FtpApp& app = TheFtpApp();
    if (!app.commandLine.empty() || app.installMode)
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(Handle(), &placement))
        return;
    const int show = placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    const std::string text = PlacementText(placement.rcNormalPosition, show);
    char stored[96] = "";
    GetPrivateProfileStringA("TolviFTP", kPlacementKey, "", stored, sizeof stored, kFtpIniFile);
    if (text != stored)
        WritePrivateProfileStringA("TolviFTP", kPlacementKey, text.c_str(), kFtpIniFile);
}

bool FtpMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SET_STATUS_WIDTH: {
        RECT pane{};
        topBar.PaneRect(0, pane);
        int width = static_cast<int>(lParam) - (pane.left + 2);
        topBar.SetPaneWidth(0, width < 0 ? 0 : width);
        result = 0;
        return true;
    }
    case WM_SET_STATUS_TEXT:
        topBar.SetPaneText(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
        if (topBar.Handle())
            UpdateWindow(topBar.Handle());
        result = 0;
        return true;
    case WM_CLOSE:
        if (mainView_ && !mainView_->CanCloseFrame()) {
            result = 0;
            return true;
        }
        SetActiveView(mainView_.get());
        RememberPlacement();
        return false;
    default:
        return FwViewFrame::OnMessage(message, wParam, lParam, result);
    }
}
