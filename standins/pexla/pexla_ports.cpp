// Opening and closing ports, and the byte stream: sends, reads with and without a time-out,
// purge, pauses that end early when input arrives, and the abort key.
#include <algorithm>
#include <cstring>

#include "port_table.h"
#include "tick_clock.h"

namespace pexla {
namespace {

Port ports[kPexlaMaxPort];
std::mutex tableLock;

constexpr int kAbortKey = 0x1B;
constexpr int kVirtualBase = 90;  // virtual port index 1..9 is port 91..99
// Long waits are cut into slices so that an abort request is seen in good time.
constexpr int kWaitSlice = 50;

int TakePending(Port& p, uint8_t* out, int count) {
    int n = std::min<int>(count, static_cast<int>(p.pending.size()));
    if (n > 0) {
        std::memcpy(out, p.pending.data(), n);
        p.pending.erase(p.pending.begin(), p.pending.begin() + n);
    }
    return n;
}

}  // namespace

Port* PortSlot(int number) {
    if (number < 1 || number > kPexlaMaxPort) return nullptr;
    return &ports[number - 1];
}

Port* OpenPort(int number) {
    Port* p = PortSlot(number);
    return p && p->open ? p : nullptr;
}

int AttachPort(int number, std::unique_ptr<PortLine> line, bool isVirtual) {
    std::lock_guard<std::mutex> hold(tableLock);
    Port* p = PortSlot(number);
    if (!p || p->open) return -1;
    p->line = std::move(line);
    p->isVirtual = isVirtual;
    p->pending.clear();
    p->status = PexlaPortStatus{};
    p->info = PexlaPortInfo{};
    p->shownName[0] = 0;
    p->fileOpen = false;
    p->abortRequested = 0;
    {
        std::lock_guard<std::mutex> codes(p->statusLock);
        p->threadCodes.clear();
    }
    // The open tick tells one opening of the port from the next, even within one millisecond.
    uint32_t now = Clock().Now();
    p->openTick = now == p->openTick ? now + 1 : now;
    p->open = true;
    return number;
}

void RequestAbort(int number) {
    if (Port* p = OpenPort(number)) p->abortRequested = 1;
}

}  // namespace pexla

using namespace pexla;

PEXLA_API int PEXLA_CALL PxOpenVirtual(int index, int inSize, int outSize) {
    if (index < 1 || index > 9) return -1;
    int number = kVirtualBase + index;
    return AttachPort(number, std::make_unique<VirtualLine>(number), true);
}

PEXLA_API int PEXLA_CALL PxClosePort(int number) {
    std::lock_guard<std::mutex> hold(tableLock);
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->open = false;
    if (p->log) {
        std::fclose(p->log);
        p->log = nullptr;
    }
    p->line.reset();
    p->pending.clear();
    return 1;
}

PEXLA_API int PEXLA_CALL PxCloseVirtual(int number) {
    Port* p = OpenPort(number);
    if (!p || !p->isVirtual) return -1;
    return PxClosePort(number);
}

namespace {

VirtualLine* VirtualOf(int number) {
    Port* p = OpenPort(number);
    return p && p->isVirtual ? static_cast<VirtualLine*>(p->line.get()) : nullptr;
}

template <typename Fn>
int Install(int number, Fn VirtualLine::*member, Fn fn) {
    VirtualLine* v = VirtualOf(number);
    if (!v) return -1;
    v->*member = fn;
    return 1;
}

}  // namespace

PEXLA_API int PEXLA_CALL PxSetReadFn(int port, PexlaReadFn fn) { return Install(port, &VirtualLine::read_, fn); }
PEXLA_API int PEXLA_CALL PxSetWriteFn(int port, PexlaWriteFn fn) { return Install(port, &VirtualLine::write_, fn); }
PEXLA_API int PEXLA_CALL PxSetInCountFn(int port, PexlaCountFn fn) { return Install(port, &VirtualLine::inCount_, fn); }
PEXLA_API int PEXLA_CALL PxSetOutCountFn(int port, PexlaCountFn fn) { return Install(port, &VirtualLine::outCount_, fn); }
PEXLA_API int PEXLA_CALL PxSetFlushInFn(int port, PexlaFlushFn fn) { return Install(port, &VirtualLine::flushIn_, fn); }
PEXLA_API int PEXLA_CALL PxSetFlushOutFn(int port, PexlaFlushFn fn) { return Install(port, &VirtualLine::flushOut_, fn); }

PEXLA_API int PEXLA_CALL PxPurge(int number) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->pending.clear();
    p->line->DiscardInput();
    p->line->DiscardOutput();
    return 1;
}

PEXLA_API int PEXLA_CALL PxSendBlock(int number, const void* data, int length) {
    Port* p = OpenPort(number);
    if (!p || length < 0) return -1;
    int sent = p->line->Send(static_cast<const uint8_t*>(data), length);
    return sent == length ? length : -1;
}

PEXLA_API int PEXLA_CALL PxSendByte(int number, int byte) {
    uint8_t b = static_cast<uint8_t>(byte);
    return PxSendBlock(number, &b, 1) == 1 ? 1 : -1;
}

PEXLA_API int PEXLA_CALL PxSendText(int number, const char* text) {
    if (!text) return -1;
    return PxSendBlock(number, text, static_cast<int>(std::strlen(text)));
}

PEXLA_API int PEXLA_CALL PxReadAvailable(int number, void* buffer, int count) {
    Port* p = OpenPort(number);
    if (!p || count <= 0) return 0;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int n = TakePending(*p, out, count);
    if (n < count) {
        int got = p->line->Receive(out + n, count - n, 0);
        if (got > 0) n += got;
    }
    return n;
}

PEXLA_API int PEXLA_CALL PxReadTimed(int number, void* buffer, int count, int milliseconds) {
    Port* p = OpenPort(number);
    if (!p || count <= 0) return 0;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    TickClock& clock = Clock();
    const uint32_t until = clock.Now() + static_cast<uint32_t>(std::max(milliseconds, 0));
    int n = TakePending(*p, out, count);
    while (n < count) {
        if (p->abortRequested) {
            p->abortRequested = 0;
            return count > 1 ? kPexlaAbortedRest : kPexlaAborted;
        }
        int32_t left = static_cast<int32_t>(until - clock.Now());
        int got = p->line->Receive(out + n, count - n, std::clamp<int32_t>(left, 0, kWaitSlice));
        if (got < 0) break;
        n += got;
        if (got == 0 && left <= 0) break;
        if (!p->open) break;
    }
    return n;
}

PEXLA_API int PEXLA_CALL PxInCount(int number) {
    Port* p = OpenPort(number);
    if (!p) return 0;
    return static_cast<int>(p->pending.size()) + std::max(p->line->InQueue(), 0);
}

PEXLA_API int PEXLA_CALL PxBaudRate(int number) {
    Port* p = OpenPort(number);
    return p ? p->line->Baud() : 0;
}

PEXLA_API int PEXLA_CALL PxPause(int number, int milliseconds) {
    // A pause is how the engines wait for the other side; it ends as soon as input arrives.
    Port* p = OpenPort(number);
    if (!p) {
        Clock().Sleep(milliseconds);
        return 1;
    }
    if (!p->pending.empty() || p->line->InQueue() > 0) return 1;
    uint8_t chunk[256];
    int got = p->line->Receive(chunk, sizeof chunk, milliseconds);
    if (got > 0) p->pending.insert(p->pending.end(), chunk, chunk + got);
    return 1;
}

PEXLA_API int PEXLA_CALL PxLineRecovery(int number, int how) {
    // After a damaged block: wait until the sender has stopped (the line is quiet for a while,
    // at most two seconds in all), then drop everything received.
    Port* p = OpenPort(number);
    if (!p) return -1;
    TickClock& clock = Clock();
    const int quiet = how == 3 ? 100 : 50;
    const uint32_t limit = clock.Now() + 2000;
    uint8_t sink[512];
    p->pending.clear();
    while (TickBefore(clock.Now(), limit)) {
        if (p->line->Receive(sink, sizeof sink, quiet) <= 0) break;
    }
    p->line->DiscardInput();
    return 1;
}

PEXLA_API int PEXLA_CALL PxBeginReceive(int number, int startByte) {
    return PxSendByte(number, startByte);
}

PEXLA_API int PEXLA_CALL PxPollKey(int number) {
    Port* p = OpenPort(number);
    return p && p->abortRequested ? kAbortKey : 0;
}

PEXLA_API int PEXLA_CALL PxIsAbortKey(int number, int key) {
    Port* p = OpenPort(number);
    if (!p || (key & 0xFF) != kAbortKey) return 0;
    p->abortRequested = 0;
    return 1;
}

PEXLA_API uint32_t PEXLA_CALL PxOpenTick(int number) {
    Port* p = OpenPort(number);
    return p ? p->openTick : 0;
}

PEXLA_API PexlaPortInfo* PEXLA_CALL PxPortInfo(int number) {
    Port* p = OpenPort(number);
    return p ? &p->info : nullptr;
}
