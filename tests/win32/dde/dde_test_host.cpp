// The server side of the two-process DDE tests: a hidden window with a session over a real Telnet
// connection (to the loopback peer whose port is in TOLVI_DDE_HOST_PORT), a screen filled with
// the test pattern, and the real DDE layer with server and client enabled. Host data goes through
// the receive path into the DDE recorder. Action strings are answered by sending
// "ACTION:" + text to the host. The host ends when its window is closed (exit code 0) or after
// two minutes (exit code 2).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/dde/dde_commands.h"
#include "connections/telnet_rings.h"
#include "connections/transport.h"
#include "connections/dde/win32/dde_layer.h"
#include "engine/screen_planes.h"
#include "screen_pattern.h"
#include "session/session_record.h"
#include "connections/dde/win32/terminal_dde_server.h"
#include "win32_platform.h"
#include "connections/win32/winsock_transport.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
int exitCode = 0;

class HostView : public ConnectionView {
public:
    ViewWindow Window() override { return reinterpret_cast<ViewWindow>(hwnd); }
    HWND hwnd = nullptr;
};

int SendAction(const char* text) {
    std::string line = std::string("ACTION:") + text;
    return SendToHost(nullptr, reinterpret_cast<const uint8_t*>(line.data()), static_cast<int>(line.size()));
}

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kSocketEventMessage:
        SocketEvent(reinterpret_cast<ViewWindow>(hwnd), wParam, HIWORD(lParam), LOWORD(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kGiveUpTimer) {
            exitCode = 2;
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_DESTROY:
        // As the main window does: the server goes with the window.
        ShutdownDdeServer();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void SetUpSession(int port) {
    std::memset(Rec, 0, sizeof(SettingsRecord));
    Rec->ComType = kTelnet;
    Rec->Terminal = 7;
    Rec->Charset = 3;
    Rec->MaxCols = kPatternCols;
    Rec->MaxRows = kPatternRows;
    Rec->NAWSX = -1;
    Rec->NAWSY = -1;
    std::snprintf(Rec->HostName, sizeof(Rec->HostName), "127.0.0.1:%d", port);

    Rec->DdeServerEnable = 1;
    std::strcpy(Rec->DdeServerServiceName, "TOLVI");
    std::strcpy(Rec->DdeServerTopicName, "TOLVITOP");
    Rec->DdeClientEnable = 1;
    std::strcpy(Rec->DdeClientServiceName, "RODIREVI");
    std::strcpy(Rec->DdeClientStartRecordOn, "|FROMHOST|");
    std::strcpy(Rec->DdeClientStopRecordOn, "|END|");
    std::strcpy(Rec->DdeDelimiter, "|");
}

bool FillScreen() {
    if (!AllocScreenBuffers(*Rec)) return false;
    for (int r = 0; r < kPatternRows; ++r)
        for (int c = 0; c < kPatternCols; ++c)
            Rec->CharsScreen[r * kPatternCols + c] = static_cast<uint8_t>(PatternCell(r, c));
    return true;
}

void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace

int main() {
    const char* portText = std::getenv("TOLVI_DDE_HOST_PORT");
    int port = portText ? std::atoi(portText) : 0;
    if (port <= 0) {
        std::fprintf(stderr, "dde_test_host: TOLVI_DDE_HOST_PORT is not set\n");
        return 3;
    }
    static Win32Platform platform;
    SetPlatform(&platform);
    SetUpSession(port);
    if (!FillScreen()) return 4;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TolviDdeTestHost";
    RegisterClassA(&wc);
    static HostView view;
    view.hwnd = CreateWindowA(wc.lpszClassName, "Tolvi DDE test host", 0, 0, 0, 10, 10, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!view.hwnd) return 5;
    SetConnectionView(&view);
    SetDdeActionRunner(SendAction);

    AllocTelnetRings();
    InstallWinsockTransport();
    ConnectDisconnectCommand(nullptr);
    for (int i = 0; i < 500 && Rec->Connecting; ++i) Pump(20);
    if (!Rec->Connected) {
        std::fprintf(stderr, "dde_test_host: no connection to the peer\n");
        return 6;
    }
    if (!DdeStartup()) {
        std::fprintf(stderr, "dde_test_host: DDE did not start\n");
        return 7;
    }
    // Tests wait for this line before they start a client of the DDE server.
    std::printf("dde_test_host: serving\n");
    std::fflush(stdout);
    SetTimer(view.hwnd, kGiveUpTimer, 120000, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DdeShutdown();
    if (Rec->Connected) DisconnectCommand(nullptr);
    ShutdownTransport();
    FreeScreenBuffers(*Rec);
    return exitCode;
}
