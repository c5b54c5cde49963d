// The Telnet connection's TCP socket over WinSock 1.1: non-blocking, with every socket event
// delivered to the terminal view as WM_USER+102.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

constexpr unsigned kSocketEventMessage = 0x0400 + 102;  // WM_USER+102

// Installs the transport as the Telnet entry of the dispatch and hooks the engine's output to it.
void InstallWinsockTransport();

// The WM_USER+102 handler: socket, error and event from the message.
void SocketEvent(ViewWindow window, uintptr_t socket, int error, int event);

// Reads at most n bytes of interpreted host data for the file-transfer library.
int TerminalRingRead(ViewWindow window, uint8_t* buffer, int n);

// How often the socket refused a write (it would have blocked) since the program started; the
// output then waits in the ring for the send-ready event. Read by the tests.
int SocketSendBlockedCount();
