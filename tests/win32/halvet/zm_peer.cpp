// A small Windows program that drives Halvet.dll through its ordinals on a COM port, as the
// transfer driver does, for the tests against other ZMODEM programs. Halvet and Pexla are bound
// through delay-load import libraries that name ordinals only.
//
//   zm_peer recv COMn [virtual] [abort]   receive into the current folder
//   zm_peer send COMn FLAGS FILES         send the list text; FLAGS adds to 0x800 (hex)
// "virtual" opens a Pexla virtual port whose six functions read and write the COM handle (the
// driver's way); otherwise Pexla opens the port on the handle. "abort" aborts the receive once
// some data has come. Prints "result N bytes B files F retries R error E" and exits 0 when
// the transfer completed (abort: when it ended in failure).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "halvet.h"

namespace {

HANDLE comHandle = INVALID_HANDLE_VALUE;

int ReadFn(int, char* buffer, int length) {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(comHandle, &errors, &stat) || stat.cbInQue == 0) return 0;
    DWORD want = stat.cbInQue < static_cast<DWORD>(length) ? stat.cbInQue : static_cast<DWORD>(length);
    DWORD got = 0;
    if (!ReadFile(comHandle, buffer, want, &got, nullptr)) return -1;
    return static_cast<int>(got);
}
int WriteFn(int, const char* bytes, int length) {
    DWORD done = 0;
    if (!WriteFile(comHandle, bytes, static_cast<DWORD>(length), &done, nullptr)) return -1;
    return static_cast<int>(done);
}
int InCountFn(int) {
    DWORD errors = 0;
    COMSTAT stat{};
    return ClearCommError(comHandle, &errors, &stat) ? static_cast<int>(stat.cbInQue) : 0;
}
int OutCountFn(int) { return 0; }
void FlushInFn(int) { PurgeComm(comHandle, PURGE_RXCLEAR); }
void FlushOutFn(int) { PurgeComm(comHandle, PURGE_TXCLEAR); }

int OpenPort(const char* com, bool isVirtual) {
    std::string path = std::string("\\\\.\\") + com;
    comHandle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (comHandle == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s: error %lu\n", com, GetLastError());
        return -1;
    }
    if (!isVirtual) {
        int port = PxOpenComPort("com", std::atoi(com + 3), 115200, 8, NOPARITY, ONESTOPBIT, 0x3000, 0x3000, comHandle);
        if (port < 0) std::printf("Pexla refused the port: %d\n", port);
        return port;
    }
    // Reads must not block: the virtual port's owner answers with what is there.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(comHandle, &t);
    int port = -1;
    for (int index = 1; index <= 9 && port < 0; ++index) port = PxOpenVirtual(index, 0x3000, 0x3000);
    if (port < 0) return -1;
    PxSetReadFn(port, ReadFn);
    PxSetWriteFn(port, WriteFn);
    PxSetInCountFn(port, InCountFn);
    PxSetOutCountFn(port, OutCountFn);
    PxSetFlushInFn(port, FlushInFn);
    PxSetFlushOutFn(port, FlushOutFn);
    return port;
}

bool HasWord(int argc, char** argv, const char* word) {
    for (int i = 3; i < argc; ++i)
        if (std::strcmp(argv[i], word) == 0) return true;
    return false;
}

// The driver's receive loop: start, then steps; 10 and 1 end it well, -1 and 4 in failure,
// anything else goes on.
int Receive(int port, bool abortSoon) {
    int r = HvRecvStart(port, kHvZmodem, 42);
    if (r != kHvStarted) {
        HvRecvAbort(port);
        return -1;
    }
    for (;;) {
        if (abortSoon && PxBytes(port) > 20000) r = HvRecvAbort(port);
        else r = HvRecvNext(port);
        if (r == 10 || r == 1 || r == -1 || r == 4) return r;
    }
}

int Send(int port, int flags, const char* files) {
    int r = HvSendStart(port, kHvManageOverwrite, kHvConvBinary, 0, kHvBatch | flags, 512, 1024, 2048, 100,
                        kHvZmodem, files);
    if (r == -1) {
        HvRecvAbort(port);
        return -1;
    }
    for (;;) {
        r = HvSendNext(port);
        if (r == 10 || r == 11 || r == -1 || r == 4) return r;
    }
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3) {
        std::printf("usage: zm_peer recv COMn [virtual] [abort] | send COMn FLAGS FILES\n");
        return 2;
    }
    const bool receive = std::strcmp(argv[1], "recv") == 0;
    if (!receive && argc < 5) return 2;
    int port = OpenPort(argv[2], HasWord(argc, argv, "virtual"));
    if (port < 0) return 3;
    const bool abortSoon = receive && HasWord(argc, argv, "abort");
    DWORD started = GetTickCount();
    int result = receive ? Receive(port, abortSoon) : Send(port, static_cast<int>(std::strtol(argv[3], nullptr, 16)), argv[4]);
    PexlaPortStatus* s = PxPortStatus(port);
    std::printf("result %d bytes %d files %d retries %d error %d after %lu ms\n", result, s ? s->totalBytes : 0,
                s ? s->filesCompleted : 0, PxRetries(port), PxLastError(port), GetTickCount() - started);
    if (PxPortStatus(port) && port > 90) PxCloseVirtual(port);
    else PxClosePort(port);
    CloseHandle(comHandle);
    bool ok = abortSoon ? result == -1 : (result == 10 || result == 1 || result == 11);
    return ok ? 0 : 1;
}
