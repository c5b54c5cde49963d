#include "connections/win32/serial_transport.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/serial_line.h"
#include "connections/session_services.h"
#include "connections/transport.h"
#include "host_platform.h"
#include "session/session_record.h"

namespace {

// What one reader thread shares with the user-interface thread. Each open makes its own, so a
// reader that outlived its close never sees the flag of a later one.
struct ReaderShared {
    HANDLE port;
    HWND window;
    std::atomic<bool> stop{false};
};

HANDLE port = INVALID_HANDLE_VALUE;
COMMTIMEOUTS savedTimeouts = {};
HANDLE readerThread = nullptr;
std::shared_ptr<ReaderShared> reader;
DialReplyMatcher dialMatcher;
bool draining = false;
std::atomic<long> abortedWaits{0};

HWND Hwnd(ViewWindow window) { return reinterpret_cast<HWND>(window ? window : ConnView().Window()); }

void Show(int stringId, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    Platform().ShowMessage(stringId, text);
}

// The system's text for an error code, without its line end.
void SystemText(DWORD code, char* text, DWORD size) {
    text[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             text, size, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r')) text[--n] = '\0';
}

int SerialWrite(HANDLE handle, const uint8_t* bytes, int n) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) return 0;
    DWORD written = 0;
    if (!WriteFile(handle, bytes, static_cast<DWORD>(n), &written, &overlapped)) {
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            if (!GetOverlappedResult(handle, &overlapped, &written, TRUE)) written = 0;
        } else {
            Show(0, "WriteFile error %d", static_cast<int>(error));
            written = 0;
        }
    }
    CloseHandle(overlapped.hEvent);
    return static_cast<int>(written);
}

// Each character followed by its delay, then CR.
void WriteModemString(const char* text, int charDelay) {
    for (const char* p = text; *p; ++p) {
        SerialWrite(port, reinterpret_cast<const uint8_t*>(p), 1);
        ConnView().DelayMs(charDelay);
    }
}

void WriteModemLine(const char* text, int charDelay) {
    WriteModemString(text, charDelay);
    const uint8_t cr = '\r';
    SerialWrite(port, &cr, 1);
}

DWORD QueueBytes(bool input) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (port == INVALID_HANDLE_VALUE || !ClearCommError(port, &errors, &status)) return 0;
    return input ? status.cbInQue : status.cbOutQue;
}

// Reads at most n bytes, and never more than the driver has queued: a read of an empty port
// returns at once without waiting for the host (not every driver honours the read time-outs
// for overlapped reads).
int SerialRead(uint8_t* buffer, int n) {
    if (port == INVALID_HANDLE_VALUE || n <= 0) return 0;
    DWORD queued = QueueBytes(true);
    if (queued == 0) return 0;
    if (static_cast<DWORD>(n) > queued) n = static_cast<int>(queued);
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) return 0;
    DWORD got = 0;
    if (!ReadFile(port, buffer, static_cast<DWORD>(n), &got, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &overlapped, &got, TRUE)) got = 0;
    }
    CloseHandle(overlapped.hEvent);
    return static_cast<int>(got);
}

// Waits for received characters and tells the view. A wait that ends without an event (the
// driver aborted it, as one without modem lines does) pauses 100 ms and then reports bytes that
// are already queued, so none wait for the next character to be seen.
DWORD WINAPI SerialReaderThread(LPVOID argument) {
    std::shared_ptr<ReaderShared> shared(*static_cast<std::shared_ptr<ReaderShared>*>(argument));
    delete static_cast<std::shared_ptr<ReaderShared>*>(argument);
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent) {
        Show(0, "Thread: CreateEvent() error");
        shared->stop = true;
        return 1;
    }
    if (!SetCommMask(shared->port, EV_RXCHAR)) {
        Show(0, "SetCommMask (SignalProc)");
        shared->stop = true;
    }
    while (!shared->stop) {
        DWORD mask = 0;
        ResetEvent(overlapped.hEvent);
        if (!WaitCommEvent(shared->port, &mask, &overlapped)) {
            DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                if (shared->stop) break;
                char text[256];
                SystemText(error, text, sizeof(text));
                Show(0, "WaitCommEvent error %d\n%s", static_cast<int>(error), text);
                shared->stop = true;
                break;
            }
            WaitForSingleObject(overlapped.hEvent, INFINITE);
            DWORD ignored = 0;
            if (!GetOverlappedResult(shared->port, &overlapped, &ignored, FALSE)) {
                ++abortedWaits;
                Sleep(100);
                if (shared->stop) break;
                DWORD errors = 0;
                COMSTAT status = {};
                if (ClearCommError(shared->port, &errors, &status) && status.cbInQue > 0)
                    PostMessageA(shared->window, kSerialDataMessage, 0, 0);
                continue;
            }
        }
        if (shared->stop) break;
        if (mask & EV_RXCHAR) PostMessageA(shared->window, kSerialDataMessage, 0, 0);
    }
    CloseHandle(overlapped.hEvent);
    return 1;
}

int SerialSetLine() {
    DCB dcb = {};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port, &dcb)) return 0;
    SerialLineControl line = BuildLineControl(*Rec);
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = line.byteSize;
    dcb.Parity = line.parity;
    dcb.StopBits = line.stopBits;
    dcb.fBinary = line.binary;
    dcb.fParity = line.parityCheck;
    dcb.fDtrControl = line.dtrEnabled ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fOutxDsrFlow = line.dsrOutFlow;
    dcb.fRtsControl = line.rtsEnabled ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb.fOutxCtsFlow = line.ctsOutFlow;
    dcb.fOutX = line.xonXoffOut;
    dcb.fInX = line.xonXoffIn;
    dcb.XonChar = static_cast<char>(line.xonChar);
    dcb.XoffChar = static_cast<char>(line.xoffChar);
    dcb.XonLim = line.xonLimit;
    dcb.XoffLim = line.xoffLimit;
    return SetCommState(port, &dcb) ? 1 : 0;
}

void SendWakeup(HWND window) {
    if (!Rec->SendWakeup) return;
    ConnView().DelayMs(Rec->WakeupDelay);
    const uint8_t cr = '\r';
    SendToHost(reinterpret_cast<ViewWindow>(window), &cr, 1);
}

void StartDialling(HWND window) {
    if (!Rec->DialEnable) {
        Rec->DialCountdown = 0;
        SendWakeup(window);
        Rec->Connecting = 0;
        return;
    }
    Rec->DialCountdown = Rec->DialTimeout;
    if (Rec->DialCountdown && !SetTimer(window, kDialTimer, 1000, nullptr))
        Platform().ShowMessage(72, "Out of System Timers.\nUnable to run timer-dependant tasks.\n"
                                   "Quit one or more other applications and then retry.");
    WriteModemString(Rec->DialPrefix, Rec->ModemCharDelay);
    WriteModemString(Rec->PhoneNumber, Rec->ModemCharDelay);
    WriteModemLine(Rec->DialPostfix, Rec->ModemCharDelay);
}

// The modem's connect reply ends the connecting state; without dialling the first data does.
void DialReplyMatch(HWND window, const uint8_t* bytes, int n) {
    if (Rec->DialEnable) {
        if (dialMatcher.Feed(Rec->ModemConnect, bytes, n)) {
            Rec->Connecting = 0;
            Rec->DialCountdown = 0;
            KillTimer(window, kDialTimer);
            SendWakeup(window);
        }
    } else {
        Rec->Connecting = 0;
        SendWakeup(window);
        dialMatcher.Reset();
    }
    if (!Rec->Connecting) ConnView().RefreshTitle();
}

void ClosePort(HANDLE handle) {
    CloseHandle(handle);
    port = INVALID_HANDLE_VALUE;
    Rec->SerialHandle = nullptr;
}

int SerialOpen(ViewWindow view) {
    HWND window = Hwnd(view);
    Rec->HangupReason = 0;
    char name[16];
    SerialPortName(Rec->Port, name, sizeof(name));
    char path[24];
    std::snprintf(path, sizeof(path), "\\\\.\\%s", name);
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        char text[256];
        SystemText(GetLastError(), text, sizeof(text));
        Show(29, "Comm open error: %s\n%s", name, text);
        return 0;
    }
    port = handle;
    Rec->SerialHandle = handle;
    ConnView().RefreshTitle();
    ConnView().SetBusyCursor(true);
    SetupComm(port, 0x3000, 0x3000);
    if (!GetCommTimeouts(port, &savedTimeouts)) Show(101, "Comm GetTimeout error!\n'%s'", "");
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = WriteTimeoutPerByte(Rec->BaudRateLong);
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(Rec->WriteTotalTimeoutConstant);
    if (!SetCommTimeouts(port, &timeouts)) Show(0, "Set Timeout error: %d", static_cast<int>(GetLastError()));
    if (!SerialSetLine()) {
        Show(30, "Comm Setup error!\n'%s'", "");
        Rec->Connected = 0;
        ClosePort(handle);
        ConnView().SetBusyCursor(false);
        return 0;
    }
    Rec->Connected = 1;
    EscapeCommFunction(port, SETDTR);
    reader = std::make_shared<ReaderShared>();
    reader->port = port;
    reader->window = window;
    auto* argument = new std::shared_ptr<ReaderShared>(reader);
    readerThread = CreateThread(nullptr, 0, SerialReaderThread, argument, 0, nullptr);
    if (!readerThread) {
        delete argument;
        reader.reset();
        Show(0, "CreateThread() failed");
        Rec->Connected = 0;
        ClosePort(handle);
        ConnView().SetBusyCursor(false);
        return 0;
    }
    dialMatcher.Reset();
    if (Rec->ModemEnable) {
        WriteModemLine(Rec->ModemInit, Rec->ModemCharDelay);
        ConnView().DelayMs(500);
    }
    StartDialling(window);
    ConnView().SetViewFocus(true);
    ConnView().SetBusyCursor(false);
    return 1;
}

int SerialClose(ViewWindow view) {
    HWND window = Hwnd(view);
    Rec->Connecting = 0;
    Rec->DialCountdown = 0;
    KillTimer(window, kDialTimer);
    if (port == INVALID_HANDLE_VALUE) {
        Rec->Connected = 0;
        return 1;
    }
    if (Rec->ModemEnable) {
        ConnView().DelayMs(1200);
        WriteModemString(Rec->HangupPrefix, 200);
        ConnView().DelayMs(1200);
        WriteModemLine(Rec->HangupPostfix, Rec->ModemCharDelay);
        ConnView().DelayMs(1000);
    }
    if (reader) reader->stop = true;
    // The new mask wakes a pending wait (cancelling the I/O does not release it everywhere).
    if (!SetCommMask(port, EV_RXCHAR | EV_TXEMPTY)) Show(0, "SetCommMask() error: %d", static_cast<int>(GetLastError()));
    SetCommMask(port, 0);
    PurgeComm(port, PURGE_TXCLEAR);
    EscapeCommFunction(port, CLRDTR);
    if (readerThread) {
        for (int i = 0; i < 20 && WaitForSingleObject(readerThread, 100) == WAIT_TIMEOUT; ++i) {
        }
        CloseHandle(readerThread);
        readerThread = nullptr;
    }
    reader.reset();
    if (!SetCommTimeouts(port, &savedTimeouts)) Show(0, "Restore Timeout error: %d", static_cast<int>(GetLastError()));
    if (!CloseHandle(port)) Show(0, "CloseHandle error %d", static_cast<int>(GetLastError()));
    port = INVALID_HANDLE_VALUE;
    Rec->SerialHandle = nullptr;
    Rec->Connected = 0;
    ConnView().SetViewFocus(false);
    return 1;
}

int SerialSend(const uint8_t* bytes, int n) {
    if (!Rec->Connected || port == INVALID_HANDLE_VALUE) return 0;
    if (Rec->Recording) Services().RecordSend(bytes, n);
    return SerialWrite(port, bytes, n);
}

void SerialFlush(int which) {
    if (which != 0) return;
    uint8_t sink[10];
    while (QueueBytes(true) > 0)
        if (SerialRead(sink, sizeof(sink)) <= 0) break;
}

class SerialTransport final : public Transport {
public:
    int Open(ViewWindow window) override { return SerialOpen(window); }
    int Close(ViewWindow window) override { return SerialClose(window); }
    int Send(ViewWindow, const uint8_t* bytes, int n) override { return SerialSend(bytes, n); }
    int Receive(ViewWindow, uint8_t* buffer, int n) override { return SerialRead(buffer, n); }
    int PendingInput(ViewWindow) override { return static_cast<int>(QueueBytes(true)); }
    int PendingOutput(ViewWindow) override { return static_cast<int>(QueueBytes(false)); }
    int Flush(int which) override {
        SerialFlush(which);
        return 0;
    }
    int Break(ViewWindow window) override {
        if (port == INVALID_HANDLE_VALUE) return 0;
        SetCommBreak(port);
        if (!SetTimer(Hwnd(window), kBreakTimer, 300, nullptr))
            Platform().ShowMessage(72, "Out of System Timers.\nUnable to run timer-dependant tasks.\n"
                                       "Quit one or more other applications and then retry.");
        return 1;
    }
    int ClearBreak() override { return port != INVALID_HANDLE_VALUE && ClearCommBreak(port) ? 1 : 0; }
    int ApplyLineSettings(ViewWindow) override { return port != INVALID_HANDLE_VALUE ? SerialSetLine() : 0; }
};

SerialTransport transport;

}  // namespace

void InstallSerialTransport() { SetTransport(kSerial, &transport); }

long SerialAbortedWaits() { return abortedWaits; }

// Reads 80 bytes at a time until the port is empty. A modal loop inside a consumer may deliver
// the next WM_USER+101 meanwhile: that one returns at once and the running loop reads the new
// bytes after the block it holds, so no block is overwritten or reordered.
int SerialDataArrived(ViewWindow view) {
    if (draining) return 1;
    draining = true;
    HWND window = Hwnd(view);
    ViewWindow viewWindow = reinterpret_cast<ViewWindow>(window);
    uint8_t block[80];
    for (;;) {
        if (!reader || reader->stop) break;
        int n = SerialRead(block, sizeof(block));
        if (n <= 0) break;
        bool connecting = Rec->Connecting != 0;
        int rest = RunReceiveConsumers(viewWindow, ReceiveSource::Serial, block, n);
        if (connecting) DialReplyMatch(window, block, n);
        FeedEmulation(viewWindow, block + (n - rest), rest);
        ConnView().UpdateView();
    }
    draining = false;
    return 1;
}
