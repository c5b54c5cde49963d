// Worker threads: a transfer started here is stepped in the background, and its end is
// reported through Pexla's thread status.
#include <cstring>
#include <mutex>

#include "tick_clock.h"
#include "xy_context.h"

using namespace kestrix;

namespace {

// The worker handles by port; the worker releases its own handle when it ends. The lock makes
// the worker's end wait until its starter has stored the handle.
std::mutex handleLock;
void* workerHandles[kPexlaMaxPort];

using StepFn = int (*)(int, const char*);

void RunWorker(int port, StepFn step, const char* firstLine, bool sendSide) {
    char mode[5] = {};
    if (XferPortContext* c = FindContext(port)) {
        std::memcpy(mode, c->workerMode, sizeof mode - 1);
        Log(*c, "%s", firstLine);
    }
    int status = kXYThreadFailed;
    for (;;) {
        pexla::Clock().Sleep(25);
        if (WorkerRunFlag(port) == 0) {
            ComRXY_Abort(port);
            break;
        }
        if (sendSide)
            if (XferPortContext* c = FindContext(port)) Log(*c, "Calling XYMODEM Send Next");
        int r = step(port, mode);
        if (r == kXYGoOn) continue;
        if (r == kXYComplete) status = kXYThreadComplete;
        else if (r == kXYCancelled) status = kXYThreadCancelled;
        else if (r != kXYFailed) ComRXY_Abort(port);
        break;
    }
    WorkerRunFlag(port) = 0;
    PxThreadStatus(port, status);
    void* own;
    {
        std::lock_guard<std::mutex> hold(handleLock);
        own = workerHandles[port - 1];
        workerHandles[port - 1] = nullptr;
    }
    Host().ReleaseWorker(own);
}

void ReceiveWorker(int port) { RunWorker(port, ComRXY_Next, "STARTING XYMODEM Receive THREAD", false); }
void SendWorker(int port) { RunWorker(port, ComSXY_Next, "STARTING XYMODEM SEND THREAD", true); }

template <typename Start>
int StartThread(int port, const char* mode, WorkerBody body, Start start) {
    XferPortContext* c = GetContext(port);
    PexlaPortInfo* info = PxPortInfo(port);
    if (!c || !info || info->noWorkerThreads == 1) return -1;
    if (start() == -1) {
        PxThreadStatus(port, kXYThreadFailed);
        return -1;
    }
    PxThreadStatus(port, kXYThreadStarted);
    WorkerRunFlag(port) = 1;
    c = FindContext(port);
    if (!c) return -1;
    std::strncpy(c->workerMode, mode ? mode : "", sizeof c->workerMode - 1);
    std::lock_guard<std::mutex> hold(handleLock);
    void* handle = Host().StartWorker(body, port);
    if (!handle) {
        WorkerRunFlag(port) = 0;
        ComRXY_Abort(port);
        PxThreadStatus(port, kXYThreadFailed);
        return -1;
    }
    workerHandles[port - 1] = handle;
    c->workerThread = handle;
    Host().SetPriority(handle, 1);
    return 1;
}

}  // namespace

KESTRIX_API int ComRXY_Thread(int port, const char* path, const char* mode) {
    return StartThread(port, mode, ReceiveWorker, [&] { return CInitRcvPktTxfr(port, path, mode); });
}

KESTRIX_API int ComSXY_Thread(int port, const char* files, const char* mode) {
    return StartThread(port, mode, SendWorker, [&] { return CInitSndPktTxfr(port, files, mode); });
}

KESTRIX_API int ComSXY_List_Thread(int port, PexlaFileList* list, const char* mode) {
    return StartThread(port, mode, SendWorker, [&] { return ComSXY_Start_List(port, list, mode); });
}

KESTRIX_API int ComXY_Thread_ABORT(int port) {
    WorkerRunFlag(port) = 0;
    pexla::Clock().Sleep(2000);
    return 1;
}

KESTRIX_API int ComXY_Thread_Priority(int port, int level) {
    XferPortContext* c = FindContext(port);
    PexlaPortInfo* info = PxPortInfo(port);
    if (!c || !info || info->noWorkerThreads == 1 || !c->workerThread) return -1;
    int portLevel = 1, workerLevel = 1;
    switch (level) {
    case 1: workerLevel = -2; break;
    case 4: workerLevel = -1; break;
    case 5: workerLevel = 0; break;
    case 9: portLevel = workerLevel = 2; break;
    case 10: portLevel = workerLevel = 15; break;
    default: break;
    }
    if (info->portThread) Host().SetPriority(info->portThread, portLevel);
    Host().SetPriority(c->workerThread, workerLevel);
    return 1;
}
