// A small Windows program that drives Drosk.dll through its ordinals as the terminal's transfer
// driver does, on a COM port, for the tests against other Kermit programs. Drosk and Pexla are
// bound through delay-load import libraries that name ordinals only. The Pexla port is a
// virtual one whose six functions read and write the COM handle, as the driver's port is.
//
//   km_peer recv COMn              receive into the current folder
//   km_peer send COMn "FILES"      send the list text
//   km_peer get COMn REMOTE        ask a server for a file
//   km_peer finish COMn            send the Finish packet the driver sends to stop a server
//   km_peer abort COMn BYTES       receive, abort once BYTES have arrived
//
// Settings from the environment: KM_PACKET (packet length, above 94 for long packets),
// KM_CHECK (0-2), KM_QUOTE8 (0-2), KM_DEBUG_LOG. Prints each file as it starts and
// "result N error E" at the end; exits 0 when the transfer completed (abort: when cancelled).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "drosk.h"

namespace {

HANDLE line = INVALID_HANDLE_VALUE;

int LineRead(int, char* buffer, int length) {
    DWORD got = 0;
    if (!ReadFile(line, buffer, static_cast<DWORD>(length), &got, nullptr)) return -1;
    return static_cast<int>(got);
}

int LineWrite(int, const char* bytes, int length) {
    DWORD done = 0;
    if (!WriteFile(line, bytes, static_cast<DWORD>(length), &done, nullptr)) return -1;
    return static_cast<int>(done);
}

int LineInCount(int) {
    COMSTAT st{};
    DWORD errors = 0;
    return ClearCommError(line, &errors, &st) ? static_cast<int>(st.cbInQue) : 0;
}

int LineOutCount(int) { return 0; }
void LineFlushIn(int) { PurgeComm(line, PURGE_RXCLEAR); }
void LineFlushOut(int) { PurgeComm(line, PURGE_TXCLEAR); }

int OpenPort(const char* com) {
    std::string path = std::string("\\\\.\\") + com;
    line = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s: error %lu\n", com, GetLastError());
        return -1;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(line, &dcb);
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    SetCommState(line, &dcb);
    COMMTIMEOUTS to{};
    to.ReadIntervalTimeout = MAXDWORD;  // reads return at once with what is there
    SetCommTimeouts(line, &to);
    int port = -1;
    for (int index = 1; index <= 9 && port < 0; ++index) port = PxOpenVirtual(index, 0x3000, 0x3000);
    if (port < 0) return -1;
    PxSetReadFn(port, LineRead);
    PxSetWriteFn(port, LineWrite);
    PxSetInCountFn(port, LineInCount);
    PxSetOutCountFn(port, LineOutCount);
    PxSetFlushInFn(port, LineFlushIn);
    PxSetFlushOutFn(port, LineFlushOut);
    return port;
}

int EnvInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

// The parameter block as the driver fills it: the library's block, our settings over it, the
// packet length split into its short and long fields.
bool Prepare(int port) {
    const char* log = std::getenv("KM_DEBUG_LOG");
    KmSetDebugFile(port, log ? log : "");
    DroskParms p{};
    KmGetParms(port, &p);
    const int length = EnvInt("KM_PACKET", 94);
    p.packetLength = length < 94 ? length : 94;
    p.longPacketLength = length > 94 ? length : 0;
    p.checkType = static_cast<char>(EnvInt("KM_CHECK", 0));
    p.quote8 = EnvInt("KM_QUOTE8", 0);
    static const uint8_t finish[8] = {0x01, '$', ' ', 'G', 'F', '4', 0x0D, 0};
    std::memcpy(p.callerData, finish, sizeof finish);
    return KmSetParms(port, &p) == 1;
}

// Start and step calls, printing each file as it appears; stops early for an abort.
int Run(int port, int start, bool receive, int abortAt) {
    int r = start == 1 ? kDroskGoOn : start;
    std::string shown;
    while (r == kDroskGoOn) {
        if (!receive) Sleep(1);
        const char* name = PxPortStatus(port)->fileName;
        if (shown != name && *name) {
            shown = name;
            std::printf("file %s\n", name);
        }
        if (abortAt > 0 && PxBytes(port) >= abortAt) return KmAbort(port);
        r = receive ? KmReceiveNext(port) : KmSendNext(port);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3) {
        std::printf("usage: km_peer recv|send|get|finish|abort COMn [ARG]\n");
        return 2;
    }
    const std::string verb = argv[1];
    const char* arg = argc > 3 ? argv[3] : "";
    int port = OpenPort(argv[2]);
    if (port < 0 || !Prepare(port)) return 3;
    DWORD started = GetTickCount();
    int result = kDroskFailed;
    int expect = kDroskComplete;
    if (verb == "recv") {
        result = Run(port, KmReceiveStart(port), true, 0);
    } else if (verb == "send") {
        result = Run(port, KmSendStart(port, arg), false, 0);
    } else if (verb == "get") {
        result = Run(port, KmGetStart(port, arg), true, 0);
    } else if (verb == "abort") {
        expect = kDroskCancelled;
        result = Run(port, KmReceiveStart(port), true, std::atoi(arg));
    } else if (verb == "finish") {
        static const char finish[7] = {0x01, '$', ' ', 'G', 'F', '4', 0x0D};
        result = LineWrite(port, finish, sizeof finish) == 7 ? kDroskComplete : kDroskFailed;
        Sleep(500);
    }
    std::printf("result %d error %d bytes %d after %lu ms\n", result, PxLastError(port), PxBytes(port),
                GetTickCount() - started);
    PxCloseVirtual(port);
    CloseHandle(line);
    return result == expect ? 0 : 1;
}
