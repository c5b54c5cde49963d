// Millisecond ticks and pauses for the serial layer and the transfer engines.
//
// The real clock counts from an arbitrary start, like the platform's tick count, and wraps at
// 2^32. Native tests install a clock whose pauses advance time at once, so that time-outs of
// several seconds run in microseconds.
#pragma once

#include <cstdint>

namespace pexla {

class TickClock {
public:
    virtual ~TickClock() = default;
    virtual uint32_t Now() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// The installed clock; the steady system clock until a test installs another (not owned).
TickClock& Clock();
void SetClock(TickClock* clock);

// True when tick a lies before tick b, across the wrap.
inline bool TickBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

}  // namespace pexla
