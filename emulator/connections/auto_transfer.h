// Automatic start of an incoming file transfer: the interpreters offer every received byte.
#pragma once

#include <cstdint>

// Command of the main frame that starts a receive.
constexpr unsigned kStartReceiveCommand = 32832;

// 1 when the byte completes the start of a Kermit send-init packet (SOH, length, sequence 0,
// type S) or of a ZMODEM ZRQINIT hex header (* * ZDLE B 0 0): the transfer protocol (AProtocol:
// Kermit 0, ZMODEM 5) is set and the start-receive command posted to the main frame. 0 otherwise,
// and always 0 while a transfer runs or an interpreter is inside a sequence or string.
int DetectAutoTransfer(uint8_t byte);
// Forgets a partial match.
void ResetAutoTransferMatch();
