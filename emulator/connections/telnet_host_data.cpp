#include "connections/telnet_host_data.h"

#include "connections/connection_dispatch.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "engine/ibm3270/field_model.h"
#include "session/session_record.h"

void FeedTerminalRing(ViewWindow window) {
    while (!ring_is_empty(TermOutRing)) {
        uint32_t n = ring_data_contiguous(TermOutRing);
        if (n == 0) break;
        const uint64_t lastTaken = TermOutRing.consumeTime;
        FeedEmulation(window, TermOutRing.consume, static_cast<int>(n));
        // A transfer started by these bytes (a host command, a detected protocol start) has read
        // the ring itself; the ring's position is then its, and the rest of the block is gone.
        if (TermOutRing.consumeTime != lastTaken) continue;
        ring_advance_consume(TermOutRing, n);
    }
}

int ReceiveNetworkInput(ViewWindow window, void (*sendReplies)(ViewWindow), bool toEmulation) {
    const bool consumed = (Rec->TerminalFamily3270 ? Tn3270Receive(window) : TelnetReceive(window)) != 0;
    if (sendReplies && !ring_is_empty(NetOutRing)) sendReplies(window);
    if (toEmulation) FeedTerminalRing(window);
    return consumed ? 1 : 0;
}

void HostBytesArrived(ViewWindow window, const uint8_t* bytes, int n, void (*sendReplies)(ViewWindow)) {
    int rest = RunReceiveConsumers(window, ReceiveSource::Telnet, bytes, n);
    ring_put_bytes(NetInRing, bytes + (n - rest), static_cast<uint32_t>(rest));
    ReceiveNetworkInput(window, sendReplies, true);
}

int ReplayHostData(ViewWindow window, const uint8_t* bytes, int n) {
    bool records = Rec->TerminalFamily3270 != 0;
    if (records && !TelnetState().tn3270Mode) {
        // Recorded 3270 data: the record layer starts as after a negotiation.
        if (!Rec->Connected) TelnetInit();
        Tn3270Reset();
        Init3270Screen();
        TelnetState().tn3270Mode = 1;
    }
    int at = 0;
    while (at < n) {
        uint32_t room = ring_free_count(NetInRing);
        uint32_t piece = static_cast<uint32_t>(n - at) < room ? static_cast<uint32_t>(n - at) : room;
        at += static_cast<int>(ring_put_bytes(NetInRing, bytes + at, piece));
        bool consumed = ReceiveNetworkInput(window, nullptr, true) != 0;
        if (piece == 0 && !consumed) break;
    }
    return 1;
}
