// Host bytes arrived over Telnet, in one receive order for the WinSock transport, the terminal
// ring of file transfers and replay alike:
//   1. the receive consumers (recording, log-on, DDE tap, ...) take their share (transport reads);
//   2. the rest goes into the network input ring and through the tn3270 record layer (3270
//      mode) or the Telnet receiver;
//   3. the replies the receiver wrote go out;
//   4. the terminal output ring goes to the emulation.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Steps 1-4 for one read of a transport; sendReplies writes the network output ring out.
void HostBytesArrived(ViewWindow window, const uint8_t* bytes, int n, void (*sendReplies)(ViewWindow));

// Steps 2-4 for bytes already in the network input ring: sendReplies (when given) runs when the
// network output ring holds replies; toEmulation false leaves the terminal output ring to the
// caller (the file transfers' terminal ring). Returns non-zero when the receiver took bytes.
int ReceiveNetworkInput(ViewWindow window, void (*sendReplies)(ViewWindow), bool toEmulation);

// Hands everything in the terminal output ring to FeedEmulation and releases it.
void FeedTerminalRing(ViewWindow window);

// Recorded host bytes, processed as if received: into the network input ring in pieces, through
// the Telnet receiver and on to the emulation. In 3270 mode the first replay starts the record
// layer and the 3270 screen and the bytes go through the record layer. Returns 1.
int ReplayHostData(ViewWindow window, const uint8_t* bytes, int n);
