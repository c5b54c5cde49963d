#include "port_table.h"
#include "tick_clock.h"

namespace pexla {

int VirtualLine::Receive(uint8_t* buffer, int max, int waitMs) {
    if (!read_ || max <= 0) return 0;
    TickClock& clock = Clock();
    const uint32_t until = clock.Now() + static_cast<uint32_t>(waitMs);
    for (;;) {
        int got = read_(port_, reinterpret_cast<char*>(buffer), max);
        if (got < 0) return -1;
        if (got > 0) return got > max ? max : got;
        if (!TickBefore(clock.Now(), until)) return 0;
        clock.Sleep(1);
    }
}

int VirtualLine::Send(const uint8_t* data, int length) {
    if (!write_) return 0;
    // The owner may take a block a little at a time; a line that takes nothing for 10 s has failed.
    TickClock& clock = Clock();
    int sent = 0;
    uint32_t stalledSince = clock.Now();
    while (sent < length) {
        int took = write_(port_, reinterpret_cast<const char*>(data + sent), length - sent);
        if (took < 0) break;
        if (took > 0) {
            sent += took;
            stalledSince = clock.Now();
            continue;
        }
        if (clock.Now() - stalledSince > 10000) break;
        clock.Sleep(1);
    }
    return sent;
}

}  // namespace pexla
