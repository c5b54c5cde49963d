#include "xy_context.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "tick_clock.h"

namespace kestrix {
namespace {

constexpr int32_t kLiveMarker = 9018;

struct PortSlot {
    XferPortContext* context = nullptr;
    int32_t marker = 0;
    uint32_t createdTick = 0;
    uint32_t portOpenTick = 0;  // the Pexla opening the context belongs to
    int32_t openState = 0;
    int runFlag = 0;
    char debugFile[kPexlaPathSize] = {};
};

PortSlot slots[kPexlaMaxPort];
std::recursive_mutex locks[kPexlaMaxPort];

bool ValidPort(int port) { return port >= 1 && port <= kPexlaMaxPort; }

void FreeContextMemory(int port, PortSlot& s) {
    XferPortContext* c = s.context;
    s.context = nullptr;
    s.marker = 0;
    s.openState = 0;
    if (!c) return;
    CloseFile(*c);
    if (c->sendList) PxFreeFileList(c->sendList);
    PxFreeContext(port, c);
}

}  // namespace

std::recursive_mutex& PortLock(int port) {
    static std::recursive_mutex outside;
    return ValidPort(port) ? locks[port - 1] : outside;
}

int& WorkerRunFlag(int port) {
    static int outside;
    return ValidPort(port) ? slots[port - 1].runFlag : outside;
}

XferPortContext* FindContext(int port) {
    if (!ValidPort(port)) return nullptr;
    PortSlot& s = slots[port - 1];
    if (s.marker != kLiveMarker || !s.context || !PxPortStatus(port)) return nullptr;
    if (s.portOpenTick != PxOpenTick(port)) return nullptr;
    return s.context;
}

XferPortContext* GetContext(int port) {
    if (!ValidPort(port)) return nullptr;
    PexlaPortStatus* status = PxPortStatus(port);
    if (!status) return nullptr;
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    PortSlot& s = slots[port - 1];
    const uint32_t openTick = PxOpenTick(port);
    if (s.marker != kLiveMarker || !s.context || s.portOpenTick != openTick) {
        // Nothing yet, or a context of an earlier opening of the port: start afresh.
        FreeContextMemory(port, s);
        void* memory = PxAllocContext(port, sizeof(XferPortContext));
        if (!memory) return nullptr;
        s.context = new (memory) XferPortContext{};
        s.marker = kLiveMarker;
        s.createdTick = pexla::Clock().Now();
        s.portOpenTick = openTick;
    }
    XferPortContext* c = s.context;
    if (c->defaultsSet != 1) {
        c->parms.xmodemTime = 20;
        c->parms.maxErrors = 10;
        c->parms.padChar = 0;
        c->parms.retries = 10;
        c->parms.forceLow = 0;
        c->port = port;
        c->status = status;
        s.debugFile[0] = 0;
        c->defaultsSet = 1;
        s.openState = 1;
    }
    return c;
}

bool PortInUse(int port) {
    return ValidPort(port) && FindContext(port) && slots[port - 1].openState == 1;
}

int ReleaseContext(int port) {
    if (!ValidPort(port)) return -1;
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    PortSlot& s = slots[port - 1];
    if (s.marker != kLiveMarker) return -1;
    FreeContextMemory(port, s);
    return 1;
}

const char* DebugFileName(int port) { return ValidPort(port) ? slots[port - 1].debugFile : ""; }

void SetDebugFileName(int port, const char* name) {
    if (!ValidPort(port)) return;
    CopyPath(slots[port - 1].debugFile, name);
}

void Log(const XferPortContext& c, const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    PxDebugLine(c.port, line);
}

void LogHexLines(const XferPortContext& c, const uint8_t* d) {
    for (int row = 0; row < 8; ++row, d += 16)
        Log(c, " %x %x %x %x %x %x %x %x %x %x %x %x %x %x %x %x", d[0], d[1], d[2], d[3], d[4], d[5],
            d[6], d[7], d[8], d[9], d[10], d[11], d[12], d[13], d[14], d[15]);
}

bool CountError(XferPortContext& c, int code) {
    ++c.totalErrors;
    Log(c, " Error %d Reported, Error Count:%d", code, c.totalErrors);
    ++c.errorsReported;
    if (c.status) {
        ++c.status->errorsReported;
        c.status->lastError = code;
    }
    ++c.consecutiveErrors;
    return c.consecutiveErrors >= c.parms.maxErrors;
}

void GoodBlock(XferPortContext& c) {
    if (c.consecutiveErrors > 0) --c.consecutiveErrors;
}

void CopyPath(char* to, const char* from) {
    size_t n = strnlen(from, kPexlaPathSize - 1);
    std::memcpy(to, from, n);
    to[n] = 0;
}

bool CloseFile(XferPortContext& c) {
    if (!c.file) return false;
    Host().Close(c.file);
    c.file = nullptr;
    return true;
}

void SetTimeouts(XferPortContext& c) {
    c.readTimeout = c.parms.xmodemTime * 200;
    if (c.parms.xmodemTime == 20) {
        int baud = PxBaudRate(c.port);
        if (baud < 2400) baud = 2400;
        if (baud > 57600) baud = 57600;
        c.blockTimeout = 4000000 / baud;
        if (c.blockTimeout < 300) c.blockTimeout = 300;
    } else {
        c.blockTimeout = c.parms.xmodemTime * 100;
    }
}

void SendCancel(XferPortContext& c) {
    static const uint8_t cancel[4] = {CAN, CAN, CAN, CAN};
    PxPurge(c.port);
    PxLineRecovery(c.port, 1);
    PxSendBlock(c.port, cancel, sizeof cancel);
}

}  // namespace kestrix
