// The FTP client's Win32 parts: the notification window's messages and the message pump of the
// pseudo-blocking layer, and the OEM/ANSI conversion with its code pages named explicitly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_session.h"
#include "oem_ansi_win32.h"
#include "window_ftp_host.h"

namespace {

constexpr UINT kProgressMessage = WM_APP + 7;
constexpr UINT kPosted = WM_APP + 8;

struct Seen {
    UINT message;
    WPARAM wParam;
    std::string text;
    LPARAM lParam;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK RecordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_FTP_INFO:
    case WM_FTP_DEBUG:
    case WM_FTP_ERROR:
        g_seen.push_back({message, wParam, reinterpret_cast<const char*>(lParam), 0});
        return 0;
    case kProgressMessage:
    case kPosted:
        g_seen.push_back({message, wParam, std::string(), lParam});
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class FtpWindow : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TolviFtpTestWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowA("TolviFtpTestWindow", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        g_seen.clear();
        ResetFtpSession();
    }
    void TearDown() override
    {
        FtpRelease();
        ResetFtpSession();
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
};

TEST_F(FtpWindow, ChannelsAndProgressReachTheWindows)
{
    WindowFtpHost host(window_);
    host.Info("info line");
    host.Debug("debug line");
    host.Error("error line");
    host.Progress(reinterpret_cast<std::uintptr_t>(window_), kProgressMessage, 5000000000LL);
    ASSERT_EQ(g_seen.size(), 4u);
    EXPECT_EQ(g_seen[0].message, WM_FTP_INFO);
    EXPECT_EQ(g_seen[0].text, "info line");
    EXPECT_EQ(g_seen[0].wParam, 0u);
    EXPECT_EQ(g_seen[1].message, WM_FTP_DEBUG);
    EXPECT_EQ(g_seen[2].message, WM_FTP_ERROR);
    EXPECT_EQ(g_seen[3].message, kProgressMessage);
    EXPECT_EQ(g_seen[3].lParam, 5000000000LL) << "64-bit byte counts";
}

TEST_F(FtpWindow, PumpDispatchesWaitingMessages)
{
    WindowFtpHost host(window_);
    PostMessageA(window_, kPosted, 3, 4);
    PostMessageA(window_, kPosted, 5, 6);
    host.Pump();
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1].wParam, 5u);
    host.Pump();  // nothing waiting: returns at once
    EXPECT_EQ(g_seen.size(), 2u);
}

TEST_F(FtpWindow, PumpHandsAQuitBackToTheProgramsLoop)
{
    WindowFtpHost host(window_);
    PostQuitMessage(7);
    PostMessageA(window_, kPosted, 8, 9);
    host.Pump();
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    // The window's message went through once, before the quit (the system delivers a quit last).
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].wParam, 8u);
}

TEST_F(FtpWindow, InitLogsThroughTheWindow)
{
    ASSERT_EQ(FtpInitWindow(window_), 0);
    FtpSetVerbose(1);
    FtpSetDebug(1);
    // A connection refused on loopback: the engine's lines arrive as window messages.
    EXPECT_EQ(FtpLogin("127.0.0.1:1", "u", "p"), kFtpConnectFailed);
    bool refused = false;
    bool debug = false;
    for (const Seen& s : g_seen) {
        refused = refused || (s.message == WM_FTP_INFO && s.text == "Connection to 127.0.0.1:1 failed");
        debug = debug || s.message == WM_FTP_DEBUG;
    }
    EXPECT_TRUE(refused);
    EXPECT_TRUE(debug);
}

TEST(FtpOemAnsi, ExplicitCodePages)
{
    Win32OemAnsiConverter converter(1252, 437);
    // e acute, u umlaut, the pound sign, plain ASCII
    std::uint8_t ansi[] = {0xE9, 0xFC, 0xA3, 'A'};
    converter.ToOem(ansi, sizeof ansi);
    EXPECT_EQ(std::vector<std::uint8_t>(ansi, ansi + 4), (std::vector<std::uint8_t>{0x82, 0x81, 0x9C, 'A'}));
    converter.ToAnsi(ansi, sizeof ansi);
    EXPECT_EQ(std::vector<std::uint8_t>(ansi, ansi + 4), (std::vector<std::uint8_t>{0xE9, 0xFC, 0xA3, 'A'}));

    // Remote OEM, local ANSI: only the platform conversion runs.
    SetOemAnsiConverter(&converter);
    Xlate() = CharTranslationSettings();
    SetRemoteCharset(kCharsetOem);
    SetLocalCharset(kCharsetAnsi);
    std::uint8_t buffer[] = {0xE9, 'x'};
    ConvertOutgoing(buffer, sizeof buffer, 0);
    EXPECT_EQ(buffer[0], 0x82);
    ConvertIncoming(buffer, sizeof buffer, 0);
    EXPECT_EQ(buffer[0], 0xE9);
    SetOemAnsiConverter(nullptr);
}

}  // namespace
