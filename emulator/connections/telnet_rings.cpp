#include "connections/telnet_rings.h"

#include <cstdlib>

#include "connections/telnet_trace.h"
#include "connections/tn3270_records.h"

RingBuffer NetOutRing;
RingBuffer NetInRing;
RingBuffer TermOutRing;

namespace {

uint8_t* netOutStorage = nullptr;
uint8_t* netInStorage = nullptr;
uint8_t* termOutStorage = nullptr;

bool SetUp(RingBuffer& ring, uint8_t*& storage, uint32_t size) {
    if (!storage) storage = static_cast<uint8_t*>(std::malloc(size));
    if (!storage) return false;
    return ring_setup(ring, storage, size) == 1;
}

void Release(RingBuffer& ring, uint8_t*& storage) {
    std::free(storage);
    storage = nullptr;
    ring = RingBuffer{};
}

}  // namespace

int AllocTelnetRings() {
    if (netOutStorage) return 0;
    bool ok = SetUp(NetOutRing, netOutStorage, kNetOutRingSize);
    ok = SetUp(NetInRing, netInStorage, kNetInRingSize) && ok;
    ok = SetUp(TermOutRing, termOutStorage, kTermOutRingSize) && ok;
    SetNetTraceFile(0);
    return ok ? 0 : 1;
}

int FreeTelnetRings() {
    Release(NetOutRing, netOutStorage);
    Release(NetInRing, netInStorage);
    Release(TermOutRing, termOutStorage);
    Tn3270FreeBuffer();
    return 0;
}
