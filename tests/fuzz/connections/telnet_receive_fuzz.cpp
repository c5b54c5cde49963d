// Host bytes into the Telnet receiver, in reads of varying size, with the negotiation settings
// taken from the first bytes. The rings are drained between reads as the socket layer does.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "session/session_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        AllocTelnetRings();
        ready = true;
    }
    if (size < 3) return 0;
    std::memset(Rec, 0, sizeof(SettingsRecord));
    Rec->DoNAWS = data[0] & 1;
    Rec->UnixEnvEnable = (data[0] >> 1) & 1;
    Rec->NAWSX = (data[0] & 4) ? -1 : 255;
    Rec->NAWSY = (data[0] & 8) ? -1 : 0x1ff;
    Rec->MaxCols = 80;
    Rec->MaxRows = 24;
    Rec->Terminal = 2;
    Rec->Connected = 1;
    SetNetTraceOn((data[0] & 16) != 0);
    std::strcpy(Rec->UnixEnv, "TERM=%terminal% USER=joe DISPLAY=:0 X=1 LONGNAME=abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnop");
    std::size_t piece = 1 + data[1] % 64;
    data += 2;
    size -= 2;
    ring_discard(NetInRing);
    ring_discard(TermOutRing);
    ring_discard(NetOutRing);
    TelnetInit();
    uint8_t sink[4096];
    while (size > 0) {
        std::size_t n = size < piece ? size : piece;
        uint32_t room = ring_free_count(NetInRing);
        if (n > room) n = room;
        ring_put_bytes(NetInRing, data, static_cast<uint32_t>(n));
        data += n;
        size -= n;
        TelnetReceive(nullptr);
        ring_get_bytes(TermOutRing, sink, sizeof(sink));
        ring_get_bytes(NetOutRing, sink, sizeof(sink));
    }
    // Sends of the same bytes: never more than the ring takes.
    uint8_t text[] = {'a', '\r', 255, '\n', 0};
    TelnetSend(nullptr, text, sizeof(text));
    return 0;
}
