#include "connections/win32/winsock_transport.h"

#include <winsock.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "connections/win32/autodial_registry.h"
#include "connections/autodial_store.h"
#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/ring_buffer.h"
#include "connections/session_services.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_host_data.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "connections/transport.h"
#include "connections/variable_expander.h"
#include "connections/winsock_errors.h"
#include "host_platform.h"
#include "session/session_record.h"

namespace {

enum SendState { kWouldBlock = 0, kWritable = 1, kSendFailed = 2 };

SOCKET sock = INVALID_SOCKET;
bool libraryStarted = false;
int sendState = kWouldBlock;
bool receiveBusy = false;
uint8_t readBuffer[2048];
char hostName[61];  // the expanded host, for messages
unsigned short hostPort = 0;  // the port connected to, for messages
int sendBlockedCount = 0;

HWND Hwnd(ViewWindow window) { return reinterpret_cast<HWND>(window ? window : ConnView().Window()); }

void Message(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    Platform().ShowMessage(0, text);
}

// Removes, translates and dispatches one pending window message, if any.
INT_PTR WINAPI BlockingHook() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return FALSE;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return TRUE;
}

void CleanupLibrary() {
    if (!libraryStarted) return;
    WSAUnhookBlockingHook();
    WSACleanup();
    libraryStarted = false;
}

void CloseSocket() {
    if (sock == INVALID_SOCKET) return;
    closesocket(sock);
    sock = INVALID_SOCKET;
}

void ConnectFailed(int error) {
    Message("Cannot connect to %s:%u\n(%s)", hostName, static_cast<unsigned>(hostPort), WinsockErrorText(error));
    Rec->Connected = 0;
    ConnView().SetBusyCursor(false);
}

void Rearm(ViewWindow window) {
    if (sock != INVALID_SOCKET)
        WSAAsyncSelect(sock, Hwnd(window), kSocketEventMessage, FD_READ | FD_WRITE | FD_CLOSE);
}

bool DisplayHeld() { return Rec->KeyMapHasHold && (GetKeyState(VK_SCROLL) & 1); }

bool KeyMessageWaiting(ViewWindow window) {
    MSG msg;
    return PeekMessageA(&msg, Hwnd(window), WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) != 0;
}

void SocketSend(ViewWindow window) {
    window = window ? window : ConnView().Window();
    while (sock != INVALID_SOCKET && !ring_is_empty(NetOutRing)) {
        uint32_t n = ring_data_contiguous(NetOutRing);
        int sent = send(sock, reinterpret_cast<const char*>(NetOutRing.consume), static_cast<int>(n), 0);
        if (sent == SOCKET_ERROR) {
            int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                sendState = kWouldBlock;
                ++sendBlockedCount;
                return;
            }
            sendState = kSendFailed;
            Message("Error [%x] Sending data to [%s]\n%s\n", error, hostName, WinsockErrorText(error));
            ring_discard(NetOutRing);
            CloseConnection(window);
            return;
        }
        if (Rec->Recording) Services().RecordSend(NetOutRing.consume, sent);
        ring_advance_consume(NetOutRing, static_cast<uint32_t>(sent));
    }
}

// Output put into the ring by a send goes out at once while the socket takes writes.
void OutputReady(ViewWindow window) {
    if (sendState == kWritable && sock != INVALID_SOCKET) SocketSend(window);
}

// One read's worth of host bytes: consumers, Telnet receiver, replies, emulation.
void ProcessBlock(ViewWindow window, const uint8_t* bytes, int n) { HostBytesArrived(window, bytes, n, SocketSend); }

// Reads the socket. Normally at most RefreshRate reads, stopping early for a waiting key; when
// draining (the host closed) until the socket is empty, so no final output is lost.
void SocketReceive(ViewWindow window, int error, bool draining) {
    if (error) {
        CloseConnection(window);
        return;
    }
    if (receiveBusy || (!draining && DisplayHeld())) return;
    receiveBusy = true;
    int limit = Rec->RefreshRate ? Rec->RefreshRate : 10;
    bool readAny = false;
    bool more = false;
    for (int pass = 0; draining || pass < limit; ++pass) {
        uint32_t room = ring_free_count(NetInRing);
        if (room > sizeof(readBuffer)) room = sizeof(readBuffer);
        if (room == 0 || sock == INVALID_SOCKET) break;
        int got = recv(sock, reinterpret_cast<char*>(readBuffer), static_cast<int>(room), 0);
        if (got == 0) break;
        if (got == SOCKET_ERROR) {
            int code = WSAGetLastError();
            if (code == WSAEWOULDBLOCK || code == WSANOTINITIALISED) break;
            Message("Error [%x] Receiving data from [%s]\n%s\n", code, hostName, WinsockErrorText(code));
            receiveBusy = false;
            CloseConnection(window);
            return;
        }
        readAny = true;
        ProcessBlock(window, readBuffer, got);
        if (!draining && KeyMessageWaiting(window)) {
            more = true;
            break;
        }
        if (!draining && pass + 1 == limit) more = true;
    }
    if (!draining && !DisplayHeld()) {
        Rearm(window);
        // Stopped before the socket was empty: read on after the messages already waiting. A
        // re-armed selection does not by itself report bytes that arrived before it.
        if (more) PostMessageA(Hwnd(window), kSocketEventMessage, sock, WSAMAKESELECTREPLY(FD_READ, 0));
    }
    receiveBusy = false;
    if (readAny) ConnView().UpdateView();
}

// The socket took all output without blocking, so no send-ready event will come: ask for the
// next part of a pending paste after the messages already waiting (reads go on meanwhile).
void ContinuePaste(ViewWindow window) {
    if (PastePending() && ring_is_empty(NetOutRing) && sendState == kWritable && sock != INVALID_SOCKET)
        PostMessageA(Hwnd(window), kSocketEventMessage, sock, WSAMAKESELECTREPLY(FD_WRITE, 0));
}

void ConnectCompletion(ViewWindow window, int error) {
    if (!Rec->Connecting) return;
    Rec->Connecting = 0;
    if (!error) {
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(sock, &writable);
        timeval now = {0, 0};
        int ready = select(0, nullptr, &writable, nullptr, &now);
        if (ready == SOCKET_ERROR) error = WSAGetLastError();
        else if (ready == 0) error = WSAETIMEDOUT;
    }
    if (error) {
        CloseSocket();
        ConnectFailed(error);
    } else {
        Rec->Connected = 1;
        BOOL on = TRUE;
        setsockopt(sock, SOL_SOCKET, SO_OOBINLINE, reinterpret_cast<const char*>(&on), sizeof(on));
        if (Rec->KeepAlive)
            setsockopt(sock, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof(on));
        TelnetInit();
        if (Rec->TerminalFamily3270) Tn3270Reset();
    }
    ConnView().SetViewFocus(true);
    ConnView().SetBusyCursor(false);
    ConnView().RefreshTitle();
}

int TelnetConnect(ViewWindow window) {
    ConnView().SetBusyCursor(true);
    Rec->HangupReason = 0;
    ring_discard(NetOutRing);
    ExpandVariables(Rec->HostName, hostName, sizeof(hostName));
    if (!libraryStarted) {
        WSADATA data;
        int code = WSAStartup(MAKEWORD(1, 1), &data);
        if (code) {
            Message("Cannot initialize socket library, error %d: %s", code, WinsockErrorText(code));
            ConnView().SetBusyCursor(false);
            return 0;
        }
        libraryStarted = true;
        WSASetBlockingHook(BlockingHook);
        if (LOBYTE(data.wVersion) < 1 || (LOBYTE(data.wVersion) == 1 && HIBYTE(data.wVersion) < 1)) {
            Message("WINSOCK version %02X.%02X, need at least %02X.%02X", LOBYTE(data.wVersion),
                    HIBYTE(data.wVersion), 1, 1);
            CleanupLibrary();
            Rec->Connected = 0;
            ConnView().SetBusyCursor(false);
            return 0;
        }
    }
    unsigned short port = static_cast<unsigned short>(Rec->TelnetPort);
    if (char* colon = std::strchr(hostName, ':')) {
        short suffix = 0;
        if (std::sscanf(colon + 1, "%hd", &suffix) == 1) port = static_cast<unsigned short>(suffix);
        *colon = '\0';
    }
    hostPort = port;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr(hostName);
    if (address.sin_addr.s_addr == INADDR_NONE) {
        hostent* entry = gethostbyname(hostName);
        if (!entry || !entry->h_addr_list[0]) {
            Message("Unknown host %s \n(%s)\n", hostName, WinsockErrorText(WSAGetLastError()));
            CleanupLibrary();
            Rec->Connected = 0;
            ConnView().SetBusyCursor(false);
            return 0;
        }
        std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof(address.sin_addr));
    }
    CloseSocket();
    sendState = kWouldBlock;
    sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock == INVALID_SOCKET) {
        ConnectFailed(WSAGetLastError());
        return 0;
    }
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    if (bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof(local)) == SOCKET_ERROR) {
        int error = WSAGetLastError();
        CloseSocket();
        ConnectFailed(error);
        return 0;
    }
    if (WSAAsyncSelect(sock, Hwnd(window), kSocketEventMessage,
                       FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) == SOCKET_ERROR) {
        int error = WSAGetLastError();
        CloseSocket();
        Message("Cannot do WSAAsynSelect() %s, error %d: %s", hostName, error, WinsockErrorText(error));
        Rec->Connected = 0;
        ConnView().SetBusyCursor(false);
        return 0;
    }
    if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        int error = WSAGetLastError();
        CloseSocket();
        ConnectFailed(error);
        return 0;
    }
    Rec->Connecting = 1;
    return 1;
}

int TelnetClose(ViewWindow window) {
    if (WSAIsBlocking()) {
        WSACancelBlockingCall();
        return 0;
    }
    Rec->Connecting = 0;
    Rec->Connected = 0;
    ConnView().RefreshTitle();
    if (libraryStarted) {
        if (sock != INVALID_SOCKET) {
            linger hard = {1, 0};
            setsockopt(sock, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof(hard));
        }
        CloseSocket();
        CleanupLibrary();
    }
    ConnView().SetViewFocus(false);
    return 1;
}

int SocketPendingBytes() {
    u_long pending = 0;
    if (sock == INVALID_SOCKET || ioctlsocket(sock, FIONREAD, &pending) == SOCKET_ERROR) return 0;
    return static_cast<int>(pending);
}

// Drops received input. Only what the socket held when the flush began is read, so a host
// that keeps sending cannot keep the flush spinning.
void TelnetFlush(int which) {
    if (which == 1) {
        ring_discard(NetOutRing);
        return;
    }
    ring_discard(NetInRing);
    ring_discard(TermOutRing);
    int left = SocketPendingBytes();
    char sink[10];
    while (left > 0) {
        int got = recv(sock, sink, left < 10 ? left : 10, 0);
        if (got <= 0) break;
        left -= got;
    }
}

class WinsockTransport final : public Transport {
public:
    int Open(ViewWindow window) override { return TelnetConnect(window); }
    int Close(ViewWindow window) override { return TelnetClose(window); }
    int Send(ViewWindow window, const uint8_t* bytes, int n) override { return TelnetSend(window, bytes, n); }
    int Receive(ViewWindow window, uint8_t* buffer, int n) override { return TerminalRingRead(window, buffer, n); }
    int PendingInput(ViewWindow) override {
        return SocketPendingBytes() + static_cast<int>(ring_data_count(TermOutRing));
    }
    int PendingOutput(ViewWindow) override { return static_cast<int>(ring_data_count(NetOutRing)); }
    int Flush(int which) override {
        TelnetFlush(which);
        return 0;
    }
    // A re-armed selection does not report bytes that arrived before it, so the read is asked
    // for as well (the display hold was released or a transfer handed the connection back).
    void Rearm(ViewWindow window) override {
        ::Rearm(window);
        if (sock != INVALID_SOCKET)
            PostMessageA(Hwnd(window), kSocketEventMessage, sock, WSAMAKESELECTREPLY(FD_READ, 0));
    }
    void PasteQueued(ViewWindow window) override { ContinuePaste(window); }
    int Shutdown() override {
        CleanupLibrary();
        return 1;
    }
};

WinsockTransport transport;
AutodialRegistry autodialRegistry;

}  // namespace

int SocketSendBlockedCount() { return sendBlockedCount; }

void InstallWinsockTransport() {
    SetTransport(kTelnet, &transport);
    SetTelnetOutputHook(OutputReady);
    SetAutodialStore(&autodialRegistry);
}

void SocketEvent(ViewWindow window, uintptr_t socket, int error, int event) {
    if (socket != static_cast<uintptr_t>(sock)) return;  // a socket closed since
    if (event & FD_CLOSE) {
        if (error || Rec->TransferActive) SocketReceive(window, WSAENOTCONN, false);
        else {
            SocketReceive(window, 0, true);
            if (Rec->Connected) CloseConnection(window);
        }
        return;
    }
    if (event & FD_WRITE) {
        sendState = kWritable;
        if (error) {
            sendState = kSendFailed;
            CloseConnection(window);
            return;
        }
        if (!ring_is_empty(NetOutRing)) SocketSend(window);
        if (ring_is_empty(NetOutRing) && sendState == kWritable && PastePending()) {
            SendPasteChunk(window);
            ContinuePaste(window);
        }
        return;
    }
    if (event & FD_CONNECT) {
        ConnectCompletion(window, error);
        return;
    }
    if (!(event & FD_READ)) {
        char text[64];
        std::snprintf(text, sizeof(text), "Unexpected WINSOCK event: x%.02X", event);
        ConnView().SetStatusPane(text, 0, RGB(0, 0, 128), RGB(192, 192, 192));
    }
    if (!Rec->TransferActive) SocketReceive(window, error, false);
}

int TerminalRingRead(ViewWindow window, uint8_t* buffer, int n) {
    if (ring_is_empty(NetInRing) && ring_is_empty(TermOutRing) && sock != INVALID_SOCKET) {
        uint32_t room = ring_free_contiguous(NetInRing);
        int got = recv(sock, reinterpret_cast<char*>(NetInRing.supply), static_cast<int>(room), 0);
        if (got == SOCKET_ERROR) {
            int code = WSAGetLastError();
            if (code == WSAEWOULDBLOCK || code == WSANOTINITIALISED) return 0;
            Message("Error [%x] Receiving data from [%s]\n%s\n", code, hostName, WinsockErrorText(code));
            CloseConnection(window);
            return 0;
        }
        if (got > 0) {
            if (Rec->Recording) Services().RecordComm(NetInRing.supply, got);
            ring_advance_supply(NetInRing, static_cast<uint32_t>(got));
            ReceiveNetworkInput(window, SocketSend, false);
        }
    }
    return static_cast<int>(ring_get_bytes(TermOutRing, buffer, static_cast<uint32_t>(n > 0 ? n : 0)));
}
