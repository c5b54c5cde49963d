// The three rings of the Telnet connection: network output (to the socket), network input (from
// the socket, not yet interpreted) and terminal output (host data for the emulation).
#pragma once

#include "connections/ring_buffer.h"

constexpr uint32_t kNetOutRingSize = 4096;
constexpr uint32_t kNetInRingSize = 2048;
constexpr uint32_t kTermOutRingSize = 4096;

extern RingBuffer NetOutRing;
extern RingBuffer NetInRing;
extern RingBuffer TermOutRing;

// Allocates and sets up the rings once (returns 0; 1 when an allocation failed) and sends the net
// trace to the screen. A second call does nothing and returns 0.
int AllocTelnetRings();
// Frees the storages that exist and the 3270 record buffer. Returns 0.
int FreeTelnetRings();
