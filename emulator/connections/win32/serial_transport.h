// The serial transport of connection type 0: a COM port opened for overlapped input and output,
// a reader thread that waits for received characters and posts WM_USER+101 to the terminal view,
// modem initialisation, dialling with its countdown (the view's timer 2021), break (timer 2023)
// and hang-up with its guard times.
#pragma once

#include "engine/engine_types.h"

constexpr unsigned kSerialDataMessage = 0x0400 + 101;  // WM_USER+101
constexpr unsigned kDialTimer = 2021;
constexpr unsigned kBreakTimer = 2023;

// Installs the transport as the serial entry of the dispatch.
void InstallSerialTransport();

// The WM_USER+101 handler's work: drains the port through the receive path. Returns 1.
int SerialDataArrived(ViewWindow window);

// How often the reader's wait ended without an event (a driver without modem lines aborts its
// waits); read by the tests to see that the reader does not spin.
long SerialAbortedWaits();
