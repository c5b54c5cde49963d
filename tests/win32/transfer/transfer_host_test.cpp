// The Windows transfer host's message pump under Wine: Esc aborts, other keys never reach a
// window, and a close or quit that comes during a transfer aborts it and is carried out after.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "session/session_record.h"
#include "connections/win32/win32_transfer_host.h"

namespace {

int dispatchedKeys = 0;
int closes = 0;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_CHAR) ++dispatchedKeys;
    if (message == WM_CLOSE) {
        if (DeferCloseWhileTransferring()) return 0;
        ++closes;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class TransferHostPump : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TolviTransferFrame";
        RegisterClassA(&wc);
        frame = CreateWindowA("TolviTransferFrame", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(frame, nullptr);
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->TransferActive = 1;
        dispatchedKeys = closes = 0;
        SetWin32TransferHost(&host);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    }
    void TearDown() override
    {
        SetWin32TransferHost(nullptr);
        DestroyWindow(frame);
    }
    void Key(WPARAM key, WPARAM character)
    {
        PostMessageA(frame, WM_KEYDOWN, key, 1);
        PostMessageA(frame, WM_CHAR, character, 1);
    }

    HWND frame = nullptr;
    Win32TransferHost host{nullptr, nullptr};
};

TEST_F(TransferHostPump, EscAbortsAndOtherKeysAreDropped)
{
    host = Win32TransferHost(frame, nullptr);
    Key('A', 'a');
    EXPECT_EQ(host.PumpMessages(false), TransferPump::kGoOn);
    Key('B', 'b');
    Key(VK_ESCAPE, 27);
    EXPECT_EQ(host.PumpMessages(true), TransferPump::kGoOn);  // the receive loop stops at a key
    EXPECT_EQ(host.PumpMessages(true), TransferPump::kEscape);
    EXPECT_EQ(dispatchedKeys, 0);
}

TEST_F(TransferHostPump, ACloseDuringATransferWaitsForItsEnd)
{
    host = Win32TransferHost(frame, nullptr);
    SendMessageA(frame, WM_CLOSE, 0, 0);  // the close button: sent, not posted
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(host.PumpMessages(false), TransferPump::kClosing);
    PostMessageA(frame, WM_CLOSE, 0, 0);  // a posted close is kept as well
    EXPECT_EQ(host.PumpMessages(false), TransferPump::kClosing);
    Rec->TransferActive = 0;
    host.TransferEnded();
    MSG msg;
    int posted = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
        ++posted;
    }
    EXPECT_EQ(closes, 1);
    EXPECT_GE(posted, 1);
    EXPECT_EQ(host.PumpMessages(false), TransferPump::kGoOn);
}

TEST_F(TransferHostPump, AQuitDuringATransferIsPostedAgainAfterIt)
{
    host = Win32TransferHost(frame, nullptr);
    PostQuitMessage(7);
    EXPECT_EQ(host.PumpMessages(false), TransferPump::kClosing);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    host.TransferEnded();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(TransferHostPump, NoTransferNoDeferredClose)
{
    Rec->TransferActive = 0;
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
}

}  // namespace
