// The host commands that act on the main frame, on the real Tolvi.exe: the test program is the
// Telnet host on loopback, Tolvi.exe connects to it, and each command sequence the host sends is
// checked against the frame window's real state through Win32 calls.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "loopback_listener.h"
#include "tolvi_process.h"

namespace {

constexpr int kToolbarId = 0xE800;
constexpr int kStatusBarId = 0xE801;

// One Tolvi.exe for the whole program, connected to the listening socket of the test.
class FrameSession : public ::testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        unsigned short port = 0;
        SOCKET listener = ListenOnLoopback(1, port);
        ASSERT_NE(listener, INVALID_SOCKET);

        WriteFileText(folder.File("frame.wcf"),
                      "[Tolvi]\r\nVersion=4.5.6.3\r\nComType=2\r\nHostName=\"127.0.0.1\"\r\nTelnetPort=" +
                          std::to_string(port) +
                          "\r\nPromptForHost=No\r\nAutonameFiles=No\r\nToolbar=Yes\r\nStatusbar=Yes\r\n");
        ASSERT_TRUE(tolvi.Start("frame.wcf /c", folder.Path()));
        frame = tolvi.MainWindow();
        ASSERT_NE(frame, nullptr);
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener, &ready);
        timeval wait{30, 0};
        ASSERT_EQ(select(0, &ready, nullptr, nullptr, &wait), 1) << "Tolvi did not connect";
        host = accept(listener, nullptr, nullptr);
        closesocket(listener);
        ASSERT_NE(host, INVALID_SOCKET);
    }
    void TearDown() override
    {
        if (host != INVALID_SOCKET) closesocket(host);
        if (frame) {
            EXPECT_EQ(tolvi.Close(), 0);
        }
        WSACleanup();
    }

    ScratchFolder folder;
    TolviProcess tolvi;
    HWND frame = nullptr;
    SOCKET host = INVALID_SOCKET;
};

FrameSession* session = static_cast<FrameSession*>(testing::AddGlobalTestEnvironment(new FrameSession));

void HostSends(const std::string& bytes)
{
    ASSERT_EQ(send(session->host, bytes.data(), static_cast<int>(bytes.size()), 0), static_cast<int>(bytes.size()));
}

// Waits for the frame to reach a state (the commands run in Tolvi's own time).
bool FrameBecomes(const std::function<bool(HWND)>& state, int timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    while (!state(session->frame)) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        Sleep(50);
    }
    return true;
}

bool HasStyle(HWND frame, LONG bits) { return (GetWindowLongA(frame, GWL_STYLE) & bits) == bits; }
bool LacksStyle(HWND frame, LONG bits) { return (GetWindowLongA(frame, GWL_STYLE) & bits) == 0; }
bool BarShown(HWND frame, int id) { return IsWindowVisible(GetDlgItem(frame, id)) != FALSE; }
bool Restored(HWND frame) { return IsWindowVisible(frame) && !IsIconic(frame) && !IsZoomed(frame); }

std::string WindowState(HWND frame)
{
    return std::string(IsWindowVisible(frame) ? "visible" : "hidden") + (IsIconic(frame) ? " minimised" : "") +
           (IsZoomed(frame) ? " maximised" : "");
}

// The top edge of the terminal view on the screen (it moves with the tool bar).
LONG ViewTop(HWND frame)
{
    HWND view = GetWindow(frame, GW_CHILD);
    while (view && (GetDlgCtrlID(view) == kToolbarId || GetDlgCtrlID(view) == kStatusBarId))
        view = GetWindow(view, GW_HWNDNEXT);
    RECT r{};
    if (view) GetWindowRect(view, &r);
    return r.top;
}

TEST(FrameCommands, StyleCommandsTakeAwayAndGiveBackTheirFrameParts)
{
    struct Case {
        const char* off;
        const char* on;
        LONG bits;
    };
    const Case cases[] = {
        {"\x1b[15;0y", "\x1b[15y", WS_CAPTION},
        {"\x1b[19;0y", "\x1b[19;1y", WS_SYSMENU},
        {"\x1b[20;0y", "\x1b[20y", WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.off + 1);
        ASSERT_TRUE(HasStyle(session->frame, c.bits));
        HostSends(c.off);
        EXPECT_TRUE(FrameBecomes([&](HWND f) { return LacksStyle(f, c.bits); }));
        HostSends(c.on);
        EXPECT_TRUE(FrameBecomes([&](HWND f) { return HasStyle(f, c.bits); }));
    }
}

TEST(FrameCommands, ControlBarsHideAndShowAndTheViewFollows)
{
    const LONG top = ViewTop(session->frame);
    HostSends("\x1b[17;0y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return !BarShown(f, kToolbarId); }));
    EXPECT_TRUE(FrameBecomes([&](HWND f) { return ViewTop(f) < top; })) << "the view takes the tool bar's room";
    HostSends("\x1b[17y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return BarShown(f, kToolbarId); }));
    EXPECT_TRUE(FrameBecomes([&](HWND f) { return ViewTop(f) == top; }));

    HostSends("\x1b[18;0y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return !BarShown(f, kStatusBarId); }));
    HostSends("\x1b[18;1y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return BarShown(f, kStatusBarId); }));
}

TEST(FrameCommands, MenuBarTogglesWhateverTheParameter)
{
    ASSERT_NE(GetMenu(session->frame), nullptr);
    HostSends("\x1b[16;1y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return GetMenu(f) == nullptr; }));
    HostSends("\x1b[16;0y");
    EXPECT_TRUE(FrameBecomes([](HWND f) { return GetMenu(f) != nullptr; }));
}

// System commands (21) and the show command (25), each followed by the frame's state. A restore
// goes back to the state before the minimise, so the frame starts restored (Tolvi may have come up
// maximised from the placement a session before left).
TEST(FrameCommands, SystemAndShowCommandsChangeTheWindowState)
{
    struct Case {
        const char* sequence;
        std::function<bool(HWND)> state;
        const char* what;
    };
    const Case cases[] = {
        {"\x1b[21;288y", Restored, "0xF120 restores"},
        {"\x1b[21;32y", [](HWND f) { return IsIconic(f) != FALSE; }, "0xF020 minimises"},
        {"\x1b[21;288y", Restored, "restored from minimised"},
        {"\x1b[21y", [](HWND f) { return IsZoomed(f) != FALSE; }, "no parameter maximises"},
        {"\x1b[21;288y", Restored, "restored from maximised"},
        {"\x1b[25;0y", [](HWND f) { return !IsWindowVisible(f); }, "show mode 0 hides"},
        {"\x1b[25y", [](HWND f) { return IsWindowVisible(f) && !IsIconic(f); }, "no parameter shows normally"},
        {"\x1b[25;6y", [](HWND f) { return IsIconic(f) != FALSE; }, "show mode 6 minimises"},
        {"\x1b[25;9y", Restored, "show mode 9 restores"},
    };
    for (const Case& c : cases) {
        HostSends(c.sequence);
        EXPECT_TRUE(FrameBecomes(c.state)) << c.what << ": " << WindowState(session->frame);
    }
}

TEST(FrameCommands, TitleCommandSetsTheTitleWithControlsAsBlanks)
{
    HostSends("\x1b[22yRemote\x01title\x1b\\");
    char title[512] = {};
    EXPECT_TRUE(FrameBecomes([&](HWND f) {
        GetWindowTextA(f, title, sizeof title);
        return std::string(title).find("Remote title") != std::string::npos;
    })) << title;
}

TEST(FrameCommands, FullScreenTakesTheFrameApartAndLeavingItPutsItBack)
{
    HostSends("\x1b[14y");
    EXPECT_TRUE(FrameBecomes([](HWND f) {
        return IsZoomed(f) && LacksStyle(f, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) &&
               GetMenu(f) == nullptr && !BarShown(f, kToolbarId);
    }));
    HostSends("\x1b[14;0y");
    EXPECT_TRUE(FrameBecomes([](HWND f) {
        return HasStyle(f, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) && GetMenu(f) != nullptr &&
               BarShown(f, kToolbarId);
    }));
    HostSends("\x1b[21;288y");
    EXPECT_TRUE(FrameBecomes(Restored));
}

}  // namespace
