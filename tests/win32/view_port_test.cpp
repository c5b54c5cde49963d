// The engine's view port on real windows: the print-screen and re-fit messages reach the view,
// invalidation marks exactly the rectangle, and the status panes get their texts and colours.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen_actions.h"
#include "engine/view_port.h"
#include "engine/win32/win32_view_port.h"

namespace {

std::vector<std::pair<UINT, WPARAM>> received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kPrintScreenMessage || message == WM_COMMAND) received.emplace_back(message, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class ViewPortWindows : public testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TolviViewPortTest";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, wc.lpszClassName, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                480, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(frame, nullptr);
        view = CreateWindowExA(0, wc.lpszClassName, "view", WS_CHILD | WS_VISIBLE, 0, 0, 600, 300, frame,
                               nullptr, wc.hInstance, nullptr);
        bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(Win32ViewPort::kStatusBarId)),
                              wc.hInstance, nullptr);
        ASSERT_NE(bar, nullptr);
        int parts[3] = {200, 400, -1};
        SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        Pump();
        port.SetFrame(frame);
        SetViewPort(&port);
        received.clear();
    }
    void TearDown() override
    {
        SetViewPort(nullptr);
        DestroyWindow(frame);
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    std::string PaneText(int pane) const
    {
        char text[128] = {};
        SendMessageA(bar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
        return text;
    }

    COLORREF PanePixel(int pane, int percentAcross) const
    {
        RECT r;
        SendMessageA(bar, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&r));
        HDC dc = GetDC(bar);
        const COLORREF c = GetPixel(dc, r.left + 2 + (r.right - r.left - 4) * percentAcross / 100, r.bottom - 3);
        ReleaseDC(bar, dc);
        return c;
    }

    Win32ViewPort port;
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND bar = nullptr;
};

TEST_F(ViewPortWindows, RequestsArriveAsMessagesToTheView)
{
    SettingsRecord rec{};
    DirtyRect dirty = kEmptyDirtyRect;
    RequestPrintScreen(EngineWindow(view), rec, dirty);
    View().SendScaleViewToFont(EngineWindow(view));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].first, static_cast<UINT>(WM_USER + 110));
    EXPECT_EQ(received[1].first, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(received[1].second, 32768u);
}

TEST_F(ViewPortWindows, InvalidateMarksTheRectangle)
{
    Pump();
    ValidateRect(view, nullptr);
    View().Invalidate(EngineWindow(view), DirtyRect{16, 32, 80, 64}, false);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(view, &update, FALSE));
    EXPECT_EQ(update.left, 16);
    EXPECT_EQ(update.top, 32);
    EXPECT_EQ(update.right, 80);
    EXPECT_EQ(update.bottom, 64);

    // Caret calls on a view with a caret do not disturb it.
    ASSERT_TRUE(CreateCaret(view, nullptr, 8, 16));
    View().HideCaret(EngineWindow(view));
    View().ShowCaret(EngineWindow(view));
    DestroyCaret();
}

TEST_F(ViewPortWindows, StatusTextAndKeyboardIndicator)
{
    SettingsRecord rec{};
    rec.Charset = 3;
    DirtyRect dirty = kEmptyDirtyRect;
    char text[] = "Host\tready";
    ShowStatusText(EngineWindow(view), rec, dirty, text);
    EXPECT_EQ(PaneText(1), "Host ready");
    EXPECT_EQ(PanePixel(1, 90), RGB(0xC0, 0xC0, 0xC0));  // painted in its own background

    Set3270KeyboardIndicator(1);
    EXPECT_EQ(PaneText(1), "Keyboard locked");
    EXPECT_EQ(PanePixel(2, 50), RGB(255, 0, 0));

    View().SetStatusPane("plain", 0, 0, 0);
    EXPECT_EQ(PaneText(0), "plain");

    View().ShowStatusProgress(2, 50, nullptr, RGB(0, 0, 255));
    EXPECT_EQ(PanePixel(2, 25), RGB(0, 0, 255));
}

TEST_F(ViewPortWindows, NoStatusBarNoHarm)
{
    Win32ViewPort lonely;
    lonely.SetStatusPane("x", 1, 1, 2);
    lonely.ShowStatusProgress(2, 100, "y", 255);
    EXPECT_EQ(PaneText(1), "");
}

}  // namespace
