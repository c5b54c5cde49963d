// A small Windows program that drives Kestrix.dll through its exports on a COM port, for the
// tests against other X/YMODEM programs. Kestrix and Pexla are bound through delay-load import
// libraries that name ordinals only, so each function is found by its ordinal at its first call.
//
//   xy_peer recv  COMn MODE TARGET        whole receive (TARGET unused for T: current folder)
//   xy_peer send  COMn MODE FILES         whole send of the list text
//   xy_peer steps recv|send COMn MODE X   the same through start and step calls
//   xy_peer thread recv|send COMn MODE X  the same on a worker thread; prints the status codes
//   xy_peer abort COMn MODE TARGET        worker receive aborted after a second
// Prints "result N" and exits 0 when the transfer completed (abort: when it was aborted).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kestrix.h"

namespace {

int OpenPort(const char* com, HANDLE* handle) {
    std::string path = std::string("\\\\.\\") + com;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s: error %lu\n", com, GetLastError());
        return -1;
    }
    *handle = h;
    int number = std::atoi(com + 3);
    int port = PxOpenComPort("com", number, 115200, 8, NOPARITY, ONESTOPBIT, 0x3000, 0x3000, h);
    if (port < 0) std::printf("Pexla refused the port: %d\n", port);
    return port;
}

void Prepare(int port) {
    XYModemParms p{};
    ComGetXYModemParms(port, &p);
    p.padChar = 0x1A;
    if (std::getenv("XY_FORCE_LOW")) p.forceLow = 1;
    if (const char* t = std::getenv("XY_TIME")) p.xmodemTime = std::atoi(t);
    ComSetXYModemParms(port, &p);
    if (const char* log = std::getenv("XY_DEBUG_LOG")) ComSetXYDebugFile(port, log);
}

int Steps(bool receive, int port, const char* mode, const char* what);

int Whole(bool receive, int port, char mode, const char* what) {
    switch (mode) {
    case 'X': return receive ? ComRecvX(port, what) : ComSendX(port, what);
    case 'C': return receive ? ComRecvXC(port, what) : ComSendXC(port, what);
    case 'Y': return receive ? ComRecvY(port, what) : ComSendY(port, what);
    case 'T': return receive ? ComRecvYT(port, what) : ComSendYT(port, what);
    default: break;
    }
    // "S" has no whole-transfer call: start and step.
    const char letter[2] = {mode, 0};
    return Steps(receive, port, letter, what);
}

int Steps(bool receive, int port, const char* mode, const char* what) {
    int r = receive ? ComRXY_Start(port, what, mode) : ComSXY_Start(port, what, mode);
    if (r != 1) return r;
    do r = receive ? ComRXY_Next(port, mode) : ComSXY_Next(port, mode);
    while (r == kXYGoOn);
    return r;
}

void PrintStatus(int port) {
    int codes[16];
    int n = PxThreadStatusHistory(port, codes, 16);
    std::printf("status");
    for (int i = 0; i < n && i < 16; ++i) std::printf(" %d", codes[i]);
    std::printf("\n");
}

// Waits for the worker's final status code; returns it (0 when none came in time).
int WaitWorker(int port, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        int codes[16];
        int n = PxThreadStatusHistory(port, codes, 16);
        if (n > 1 && codes[n - 1] != kXYThreadStarted) return codes[n - 1];
        Sleep(50);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 5) {
        std::printf("usage: xy_peer recv|send|steps|thread|abort ...\n");
        return 2;
    }
    std::string verb = argv[1];
    bool receive = verb == "recv" || verb == "abort";
    int arg = 2;
    if (verb == "steps" || verb == "thread") {
        receive = std::string(argv[2]) == "recv";
        arg = 3;
    }
    if (argc < arg + 3) return 2;
    const char* com = argv[arg];
    const char* mode = argv[arg + 1];
    const char* what = argv[arg + 2];
    HANDLE h = nullptr;
    int port = OpenPort(com, &h);
    if (port < 0) return 3;
    Prepare(port);
    int result = 0;
    int expect = kXYComplete;
    DWORD started = GetTickCount();
    if (verb == "recv" || verb == "send") {
        result = Whole(receive, port, mode[0], what);
    } else if (verb == "steps") {
        result = Steps(receive, port, mode, what);
    } else if (verb == "thread") {
        result = receive ? ComRXY_Thread(port, what, mode) : ComSXY_Thread(port, what, mode);
        if (result == 1) result = WaitWorker(port, 120) == kXYThreadComplete ? kXYComplete : kXYFailed;
        PrintStatus(port);
    } else if (verb == "abort") {
        expect = kXYThreadFailed;
        result = ComRXY_Thread(port, what, mode);
        Sleep(1000);
        ComXY_Thread_ABORT(port);
        result = WaitWorker(port, 10);
        PrintStatus(port);
    }
    std::printf("result %d after %lu ms\n", result, GetTickCount() - started);
    PxClosePort(port);
    CloseHandle(h);
    return result == expect ? 0 : 1;
}
