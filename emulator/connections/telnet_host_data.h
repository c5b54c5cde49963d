// Host data after the Telnet receiver: to the emulation, and recorded host data played back.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Hands everything in the terminal output ring to FeedEmulation and releases it.
void FeedTerminalRing(ViewWindow window);

// Recorded host bytes, processed as if received: into the network input ring in pieces, through
// the Telnet receiver and on to the emulation. In 3270 mode the first replay starts the record
// layer and the 3270 screen and the bytes go through the record layer. Returns 1.
int ReplayHostData(ViewWindow window, const uint8_t* bytes, int n);
