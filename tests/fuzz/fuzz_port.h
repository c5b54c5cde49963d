// For the fuzz targets of the transfer libraries: a clock that moves only when told, and a
// Pexla virtual port whose incoming bytes are the fuzz input, delivered in small bursts as a
// serial port delivers them; what the engine writes is thrown away.
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

inline FakeClock fakeClock;
inline const uint8_t* input = nullptr;
inline size_t inputLeft = 0;
inline size_t maxBurst = 7;

inline int ReadFn(int, char* buffer, int length) {
    size_t n = inputLeft < static_cast<size_t>(length) ? inputLeft : static_cast<size_t>(length);
    if (n > maxBurst) n = 1 + (input[0] % maxBurst);
    std::memcpy(buffer, input, n);
    input += n;
    inputLeft -= n;
    return static_cast<int>(n);
}
inline int WriteFn(int, const char*, int length) { return length; }
inline int InCountFn(int) { return static_cast<int>(inputLeft < maxBurst ? inputLeft : maxBurst); }
inline int ZeroFn(int) { return 0; }
inline void FlushFn(int) {}

// Installs the fake clock and opens virtual port 1 on the input; returns the port.
inline int OpenInputPort(const uint8_t* data, size_t size, size_t burst) {
    pexla::SetClock(&fakeClock);
    input = data;
    inputLeft = size;
    maxBurst = burst;
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
