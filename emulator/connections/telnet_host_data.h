// Host data after the Telnet receiver: to the emulation, and recorded host data played back.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Hands everything in the terminal output ring to FeedEmulation and releases it.
void FeedTerminalRing(ViewWindow window);

// Recorded host bytes, processed as if received: into the network input ring in pieces, through
// the Telnet receiver and on to the emulation. Returns 1.
int ReplayHostData(ViewWindow window, const uint8_t* bytes, int n);
