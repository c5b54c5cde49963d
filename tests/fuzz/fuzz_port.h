// What the transfer engines' fuzz targets share: a clock that advances only when an engine
// pauses (so time-outs cost nothing) and a Pexla virtual port whose incoming bytes are the fuzz
// input, delivered in bursts as a serial port delivers them; what the engine writes is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pexla.h"
#include "tick_clock.h"

namespace fuzzport {

class FakeClock : public pexla::TickClock {
public:
    uint32_t Now() override { return now; }
    void Sleep(int ms) override { now += static_cast<uint32_t>(ms); }
    uint32_t now = 5000;
};

struct Line {
    FakeClock clock;
    const uint8_t* input = nullptr;
    size_t left = 0;
    size_t burst = 7;  // bytes per read at most; each read takes 1 + (next byte % burst)
};

inline Line& TheLine() {
    static Line line;
    return line;
}

inline int ReadFn(int, char* buffer, int length) {
    Line& l = TheLine();
    size_t n = l.left < static_cast<size_t>(length) ? l.left : static_cast<size_t>(length);
    if (n > l.burst) n = 1 + (l.input[0] % l.burst);
    std::memcpy(buffer, l.input, n);
    l.input += n;
    l.left -= n;
    return static_cast<int>(n);
}
inline int WriteFn(int, const char*, int length) { return length; }
inline int InCountFn(int) {
    Line& l = TheLine();
    return static_cast<int>(l.left < l.burst ? l.left : l.burst);
}
inline int ZeroFn(int) { return 0; }
inline void FlushFn(int) {}

// Installs the clock, opens virtual port 1 on the input and returns its number.
inline int OpenInputPort(const uint8_t* input, size_t size, size_t burst) {
    Line& l = TheLine();
    pexla::SetClock(&l.clock);
    l.input = input;
    l.left = size;
    l.burst = burst;
    int port = PxOpenVirtual(1, 0x3000, 0x3000);
    PxSetReadFn(port, ReadFn);
    PxSetWriteFn(port, WriteFn);
    PxSetInCountFn(port, InCountFn);
    PxSetOutCountFn(port, ZeroFn);
    PxSetFlushInFn(port, FlushFn);
    PxSetFlushOutFn(port, FlushFn);
    return port;
}

}  // namespace fuzzport
