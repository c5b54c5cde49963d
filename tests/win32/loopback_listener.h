// A TCP listener on 127.0.0.1 at a port the system picks, for the tests that play Tolvi's host
// (the socket library must be started).
#pragma once

#include <winsock2.h>

// The listening socket and its port, or INVALID_SOCKET.
SOCKET ListenOnLoopback(int backlog, unsigned short& port);
