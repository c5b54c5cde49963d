#include "connections/telnet_host_data.h"

#include "connections/connection_dispatch.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"

void FeedTerminalRing(ViewWindow window) {
    while (!ring_is_empty(TermOutRing)) {
        uint32_t n = ring_data_contiguous(TermOutRing);
        if (n == 0) break;
        FeedEmulation(window, TermOutRing.consume, static_cast<int>(n));
        ring_advance_consume(TermOutRing, n);
    }
}

int ReplayHostData(ViewWindow window, const uint8_t* bytes, int n) {
    int at = 0;
    while (at < n) {
        uint32_t room = ring_free_count(NetInRing);
        uint32_t piece = static_cast<uint32_t>(n - at) < room ? static_cast<uint32_t>(n - at) : room;
        at += static_cast<int>(ring_put_bytes(NetInRing, bytes + at, piece));
        bool consumed = TelnetReceive(window) != 0;
        FeedTerminalRing(window);
        if (piece == 0 && !consumed) break;
    }
    return 1;
}
