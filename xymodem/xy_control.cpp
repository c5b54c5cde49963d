// The transfer exports: start and step by mode letter, the fixed-mode steps, the calls that end
// a transfer, whole transfers in one call, and the file sizes in blocks.
#include <cstring>

#include "xy_context.h"
#include "xy_receive.h"
#include "xy_send.h"

using namespace kestrix;

namespace {

bool Is(const char* mode, const char* letter) { return mode && !std::strcmp(mode, letter); }

bool AbortRequested(int port) { return PxIsAbortKey(port, PxPollKey(port) & 0xFF) != 0; }

using StartFn = int (*)(int, const char*, const char*);
using StepFn = int (*)(int, const char*);

// Runs a transfer to its end. The abort test runs only while a step is still going on, so a
// transfer that has just completed is never turned into a cancelled one.
int WholeTransfer(int port, const char* what, const char* letter, StartFn start, StepFn step) {
    if (start(port, what, letter) == -1) return kXYFailed;
    for (;;) {
        int r = step(port, letter);
        if (r != kXYGoOn) return r;
        if (AbortRequested(port)) {
            CTermXYPkt(port);
            return kXYCancelled;
        }
    }
}

int OpenOnly(int port) { return PortInUse(port) ? 1 : -1; }

}  // namespace

KESTRIX_API int CInitRcvPktTxfr(int port, const char* path, const char* mode) {
    return ReceiveStart(port, path, mode);
}

KESTRIX_API int ComSXY_Start_List(int port, PexlaFileList* list, const char* mode) {
    return SendStart(port, list, mode);
}

KESTRIX_API int CInitSndPktTxfr(int port, const char* files, const char* mode) {
    XferPortContext* c = GetContext(port);
    if (!c) return kXYFailed;
    Log(*c, " Send called with file string: %s", files ? files : "");
    PexlaFileList* list = PxMakeFileList(0, files);
    if (list) Log(*c, " List count is: %d", list->count);
    if (!list) {
        ReleaseContext(port);
        return kXYFailed;
    }
    return SendStart(port, list, mode);
}

KESTRIX_API int ComRXY_Next(int port, const char* mode) {
    if (Is(mode, "X") || Is(mode, "C")) return ReceiveStep(port, 128);
    if (Is(mode, "Y") || Is(mode, "T") || Is(mode, "S")) return ReceiveStep(port, 1028);
    return kXYFailed;
}

KESTRIX_API int ComSXY_Next(int port, const char* mode) {
    if (Is(mode, "X")) return SendStep(port, kSendX);
    if (Is(mode, "Y") || Is(mode, "S")) return SendStep(port, kSendY);
    if (Is(mode, "T")) return SendStep(port, kSendT);
    if (Is(mode, "C")) return SendStep(port, kSendXC);
    return kXYFailed;
}

KESTRIX_API int CRecvXPkt(int port) { return ReceiveStep(port, 128); }
KESTRIX_API int CRecvXCPkt(int port) { return ReceiveStep(port, 128); }
KESTRIX_API int CRecvYPkt(int port) { return ReceiveStep(port, 1028); }
KESTRIX_API int CRecvYTPkt(int port) { return ReceiveStep(port, 1028); }
KESTRIX_API int CSendXPkt(int port) { return SendStep(port, kSendX); }
KESTRIX_API int CSendXCPkt(int port) { return SendStep(port, kSendXC); }
KESTRIX_API int CSendYPkt(int port) { return SendStep(port, kSendY); }
KESTRIX_API int CSendYTPkt(int port) { return SendStep(port, kSendT); }

KESTRIX_API int CTermXYPkt(int port) {
    // Ends the exchange on the line: two CANs, after which the other side stops. The context is
    // released with it, so nothing of the ended transfer stays behind on the port. Pending
    // output is not purged after the CANs, which would take them off the line again.
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    XferPortContext* c = FindContext(port);
    if (!c || !PortInUse(port)) return -1;
    CloseFile(*c);
    PxPurge(port);
    PxSendText(port, "\x18");
    PxSendText(port, "\x18");
    PxSetFileOpen(port, 0);
    ReleaseContext(port);
    return 1;
}

KESTRIX_API int ComRXY_Abort(int port) {
    return PortInUse(port) ? CTermXYPkt(port) : -1;
}

KESTRIX_API int ComRXY_Cancel(int port) {
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    XferPortContext* c = FindContext(port);
    if (!c || !PortInUse(port)) return -1;
    CloseFile(*c);
    PxPurge(port);
    PxSetFileOpen(port, 0);
    ReleaseContext(port);
    return 1;
}

KESTRIX_API int ComRecvX(int port, const char* path) { return WholeTransfer(port, path, "X", CInitRcvPktTxfr, ComRXY_Next); }
KESTRIX_API int ComRecvXC(int port, const char* path) { return WholeTransfer(port, path, "C", CInitRcvPktTxfr, ComRXY_Next); }
KESTRIX_API int ComRecvY(int port, const char* path) { return WholeTransfer(port, path, "Y", CInitRcvPktTxfr, ComRXY_Next); }
KESTRIX_API int ComRecvYT(int port, const char* path) { return WholeTransfer(port, path, "T", CInitRcvPktTxfr, ComRXY_Next); }
KESTRIX_API int ComSendX(int port, const char* files) { return WholeTransfer(port, files, "X", CInitSndPktTxfr, ComSXY_Next); }
KESTRIX_API int ComSendXC(int port, const char* files) { return WholeTransfer(port, files, "C", CInitSndPktTxfr, ComSXY_Next); }
KESTRIX_API int ComSendY(int port, const char* files) { return WholeTransfer(port, files, "Y", CInitSndPktTxfr, ComSXY_Next); }
KESTRIX_API int ComSendYT(int port, const char* files) { return WholeTransfer(port, files, "T", CInitSndPktTxfr, ComSXY_Next); }

KESTRIX_API int CRecvX(int port, const char* path) { return OpenOnly(port) == 1 ? ComRecvX(port, path) : -1; }
KESTRIX_API int CRecvXC(int port, const char* path) { return OpenOnly(port) == 1 ? ComRecvXC(port, path) : -1; }
KESTRIX_API int CRecvY(int port, const char* path) { return OpenOnly(port) == 1 ? ComRecvY(port, path) : -1; }
KESTRIX_API int CRecvYT(int port, const char* path) { return OpenOnly(port) == 1 ? ComRecvYT(port, path) : -1; }
KESTRIX_API int CSendX(int port, const char* files) { return OpenOnly(port) == 1 ? ComSendX(port, files) : -1; }
KESTRIX_API int CSendXC(int port, const char* files) { return OpenOnly(port) == 1 ? ComSendXC(port, files) : -1; }
KESTRIX_API int CSendY(int port, const char* files) { return OpenOnly(port) == 1 ? ComSendY(port, files) : -1; }
KESTRIX_API int CSendYT(int port, const char* files) { return OpenOnly(port) == 1 ? ComSendYT(port, files) : -1; }

namespace {

int SizeIn(const char* path, int block) {
    FileFacts facts;
    XyFile* f = path ? Host().OpenForRead(path) : nullptr;
    if (!f) return -1;
    Host().Close(f);
    if (!Host().Facts(path, &facts)) return -1;
    return static_cast<int>((facts.size + block - 1) / block);
}

}  // namespace

KESTRIX_API int ComSizeX(const char* path) { return SizeIn(path, 128); }
KESTRIX_API int ComSizeY(const char* path) { return SizeIn(path, 1024); }
KESTRIX_API int ComSizeA(const char* path, int blockSize) { return PxBlockCount(path, blockSize); }
