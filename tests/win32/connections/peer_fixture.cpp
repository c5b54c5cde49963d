#include "peer_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/emulation_hooks.h"
#include "connections/netbios_session.h"
#include "message_pump.h"
#include "connections/win32/serial_transport.h"
#include "session/session_record.h"
#include "connections/win32/winsock_transport.h"

std::string received;

namespace {

void CaptureHostData(ViewWindow, const uint8_t* bytes, int n, SettingsRecord&) {
    received.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
}

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ViewWindow window = reinterpret_cast<ViewWindow>(hwnd);
    switch (message) {
    case kSocketEventMessage:
        SocketEvent(window, wParam, HIWORD(lParam), LOWORD(lParam));
        return 0;
    case kSerialDataMessage:
        if (!Rec->TransferActive) SerialDataArrived(window);
        return 0;
    case kNetbiosDoneMessage:
        NetbiosNcbDone(window, static_cast<unsigned>(wParam), reinterpret_cast<Ncb*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kDialTimer && --Rec->DialCountdown <= 0) {
            Rec->HangupReason = 1;
            CloseConnection(window);
        } else if (wParam == kBreakTimer) {
            KillTimer(hwnd, kBreakTimer);
            ClearBreak();
        }
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void PeerTest::SetUp() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TolviPeerTestHost";
    RegisterClassA(&wc);
    hwnd = CreateWindowA("TolviPeerTestHost", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    view = new HostView(hwnd);
    SetConnectionView(view);
    SetPlatform(&platform);
    std::memset(Rec, 0, sizeof(SettingsRecord));
    RegisterInterpreter(EmulationFamily::Teletype, CaptureHostData);
    received.clear();
}

void PeerTest::TearDown() {
    RegisterInterpreter(EmulationFamily::Teletype, nullptr);
    SetConnectionView(nullptr);
    SetPlatform(nullptr);
    delete view;
    view = nullptr;
    if (hwnd) DestroyWindow(hwnd);
    hwnd = nullptr;
}

bool PeerTest::PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    return PumpMessagesUntil(done, milliseconds);
}

void PeerTest::Pump(DWORD milliseconds) { PumpMessages(milliseconds); }

bool PeerTest::ConnectTelnet(int port) {
    std::snprintf(Rec->HostName, sizeof(Rec->HostName), "127.0.0.1:%d", port);
    ConnectDisconnectCommand(nullptr);
    PumpUntil([] { return !Rec->Connecting; }, 10000);
    return Rec->Connected != 0;
}

int EnvPort(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

std::string PeerPath(const char* folderVariable, const char* name) {
    const char* folder = std::getenv(folderVariable);
    return folder ? std::string("Z:") + folder + "/" + name : std::string();
}

std::string ReadWholeFile(const std::string& path, const std::string& missing) {
    std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!f) return missing;
    std::string data;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof(buffer), f)) data.append(buffer, n);
    std::fclose(f);
    return data;
}
