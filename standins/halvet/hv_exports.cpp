// Halvet's exported start, step and abort calls over a table of one session per port.
#include <memory>
#include <mutex>

#include "halvet.h"
#include "hv_receive.h"
#include "hv_send.h"

using namespace halvet;

namespace {

std::unique_ptr<Session> sessions[kPexlaMaxPort + 1];
std::mutex tableLock;

bool ValidPort(int port) { return port >= 1 && port <= kPexlaMaxPort && PxPortStatus(port); }

Session* Find(int port) { return port >= 1 && port <= kPexlaMaxPort ? sessions[port].get() : nullptr; }

int StepOf(int port) {
    Session* s = Find(port);
    if (!s) return kHvFailed;
    int r = s->Step();
    return r;
}

int AbortOf(int port) {
    Session* s = Find(port);
    return s ? s->Abort() : kHvFailed;
}

}  // namespace

HALVET_API int HvRecvStart(int port, int protocol, int options) {
    if (protocol != kHvZmodem || !ValidPort(port)) return kHvFailed;
    std::lock_guard<std::mutex> hold(tableLock);
    sessions[port] = std::make_unique<Receiver>(port, (options & kHvRecvDebugLog) != 0);
    return kHvStarted;
}

HALVET_API int HvRecvNext(int port) { return StepOf(port); }

HALVET_API int HvRecvAbort(int port) { return AbortOf(port); }

HALVET_API int HvSendStart(int port, int management, int conversion, int nameOption, int flags,
                           int subpacketLength, int ackLength, int windowSize, int timeout,
                           int protocol, const char* files) {
    if (protocol != kHvZmodem || !ValidPort(port) || !files) return kHvFailed;
    std::vector<std::string> names;
    if (PexlaFileList* list = PxMakeFileList(0, files)) {
        for (int i = 0; i < list->count; ++i) names.emplace_back(list->names[i]);
        PxFreeFileList(list);
    }
    SendOptions o;
    o.management = management;
    o.conversion = conversion;
    o.nameOption = nameOption;
    o.flags = flags;
    o.subpacketLength = subpacketLength;
    o.ackLength = ackLength;
    o.windowSize = windowSize;
    o.timeoutTenths = timeout;
    std::lock_guard<std::mutex> hold(tableLock);
    auto sender = std::make_unique<Sender>(port, o, std::move(names));
    bool ok = sender->CheckFiles();
    sessions[port] = std::move(sender);
    return ok ? kHvStarted : kHvFailed;
}

HALVET_API int HvSendNext(int port) { return StepOf(port); }

HALVET_API int HvSendAbort(int port) { return AbortOf(port); }
