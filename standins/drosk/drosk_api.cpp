// The exported functions of Drosk: the per-port parameter blocks and transfers.
#include <memory>
#include <mutex>

#include "drosk.h"
#include "kermit_transfer.h"

using namespace drosk;

namespace {

struct PortState {
    DroskParms parms;
    bool parmsSet = false;
    std::unique_ptr<Transfer> transfer;
};

PortState ports[kPexlaMaxPort];
std::recursive_mutex locks[kPexlaMaxPort];

DroskParms Defaults() {
    DroskParms p{};
    p.initialRetries = 30;
    p.packetRetries = 10;
    p.imageMode = 1;
    p.quote8 = 0;
    p.repeatOn = 1;
    p.initialTimeout = 25;
    p.startOfPacket = 1;
    p.packetLength = 94;
    p.timeout = 10;
    p.padCount = 0;
    p.padChar = 0;
    p.eol = 13;
    p.quoteChar = '#';
    p.quote8Char = '&';
    p.checkType = 0;
    p.repeatChar = '~';
    p.longPacketLength = 0;
    p.windowSize = 0;
    return p;
}

bool Printable(char c) { return c > 32 && c < 127; }

// Values the protocol cannot work with are refused as a whole.
bool Acceptable(const DroskParms& p) {
    return p.initialRetries >= 1 && p.packetRetries >= 1 && p.initialTimeout >= 1 &&
           p.timeout >= 1 && p.packetLength >= 20 && p.packetLength <= 94 &&
           (p.longPacketLength == 0 || (p.longPacketLength > 94 && p.longPacketLength <= kMaxLongLength)) &&
           p.padCount >= 0 && p.startOfPacket < 32 && p.eol < 32 && p.checkType >= 0 &&
           p.checkType <= 2 && p.quote8 >= 0 && p.quote8 <= 2 && Printable(p.quoteChar) &&
           Printable(p.quote8Char) && Printable(p.repeatChar) && p.windowSize >= 0 &&
           p.windowSize <= 31;
}

PortState* State(int port) {
    if (port < 1 || port > kPexlaMaxPort) return nullptr;
    PortState& s = ports[port - 1];
    if (!s.parmsSet) {
        s.parms = Defaults();
        s.parmsSet = true;
    }
    return &s;
}

std::recursive_mutex& Lock(int port) { return locks[(port - 1) % kPexlaMaxPort]; }

// A new transfer on an open port, or null.
Transfer* Fresh(int port) {
    PortState* s = State(port);
    if (!s || !PxPortStatus(port)) return nullptr;
    s->transfer = std::make_unique<Transfer>();
    s->transfer->port = port;
    s->transfer->parms = s->parms;
    return s->transfer.get();
}

Transfer* Running(int port, bool sending) {
    PortState* s = State(port);
    if (!s || !s->transfer || s->transfer->sending != sending) return nullptr;
    return s->transfer.get();
}

}  // namespace

DROSK_API int KmSetDebugFile(int port, const char* name) {
    if (!State(port)) return -1;
    return PxDebugOpen(port, name ? name : "", "KERMIT") < 0 ? -1 : 1;
}

DROSK_API int KmGetParms(int port, DroskParms* block) {
    PortState* s = State(port);
    if (!s || !block) return -1;
    *block = s->parms;
    return 1;
}

DROSK_API int KmSetParms(int port, const DroskParms* block) {
    PortState* s = State(port);
    if (!s || !block || !Acceptable(*block)) return -1;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    s->parms = *block;
    return 1;
}

DROSK_API int KmReceiveStart(int port) {
    if (!State(port)) return kDroskFailed;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    Transfer* t = Fresh(port);
    return t ? StartReceive(*t, nullptr) : kDroskFailed;
}

DROSK_API int KmGetStart(int port, const char* remoteName) {
    if (!State(port) || !remoteName || !*remoteName) return kDroskFailed;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    Transfer* t = Fresh(port);
    return t ? StartReceive(*t, remoteName) : kDroskFailed;
}

DROSK_API int KmReceiveNext(int port) {
    if (!State(port)) return kDroskFailed;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    Transfer* t = Running(port, false);
    return t ? ReceiveStep(*t) : kDroskFailed;
}

DROSK_API int KmSendStart(int port, const char* fileNames) {
    if (!State(port)) return kDroskFailed;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    Transfer* t = Fresh(port);
    return t ? StartSend(*t, fileNames) : kDroskFailed;
}

DROSK_API int KmSendNext(int port) {
    if (!State(port)) return kDroskFailed;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    Transfer* t = Running(port, true);
    return t ? SendStep(*t) : kDroskFailed;
}

DROSK_API int KmAbort(int port) {
    PortState* s = State(port);
    if (!s) return kDroskCancelled;
    std::lock_guard<std::recursive_mutex> hold(Lock(port));
    if (!s->transfer || !PxPortStatus(port)) return kDroskCancelled;
    return CancelByCaller(*s->transfer);
}
