// The Telnet protocol engine: option negotiation with loop prevention, the receive state machine
// between the network input ring and the terminal output ring, the subnegotiation replies and the
// encoding of outgoing terminal data into the network output ring.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Per-option flag bits.
enum TelnetOptionBits : uint8_t {
    kMyStateWill = 0x01,
    kMyWantWill = 0x02,
    kHisStateDo = 0x04,
    kMyWantDo = 0x08,
};

enum TelnetRxState { RxData, RxIac, RxWill, RxWont, RxDo, RxDont, RxCr, RxSub, RxSubIac };

constexpr int kSubBufferSize = 256;

struct TelnetEngineState {
    uint8_t options[256];
    int8_t willWontPending[256];
    int8_t doDontPending[256];
    int rxState;
    uint8_t sub[kSubBufferSize];
    int subLength;
    uint8_t envOption;   // NEW-ENVIRON or OLD-ENVIRON, as negotiated
    int localFlow;
    int restartAny;
    int echoSeen;        // the host offered ECHO once; kept for the life of the program
    int tn3270Mode;
};

// The one connection's engine state (read by tests and the environment replies).
TelnetEngineState& TelnetState();

// Clears the option flags, the subnegotiation buffer and the flow and 3270 flags; the pending
// counters are kept.
void TelnetInit();

// Runs the receive state machine over the network input ring; nonzero when bytes were consumed.
int TelnetReceive(ViewWindow window);

// Encodes terminal data into the network output ring; returns the input bytes taken (fewer than n
// when the ring filled; the caller keeps the rest).
int TelnetSend(ViewWindow window, const uint8_t* bytes, int n);

// Negotiation senders. With initiate they check and update the wanted state first.
void TelnetSendDo(int option, bool initiate);
void TelnetSendDont(int option, bool initiate);
void TelnetSendWill(int option, bool initiate);
void TelnetSendWont(int option, bool initiate);

// Sends the window size (NAWS) when it was agreed and `DoNAWS` is on.
void TelnetSendWindowSize();

// Called after protocol output was put into the network output ring by a send: the socket layer
// writes it at once when the socket is known to be writable. Null: nothing is called.
void SetTelnetOutputHook(void (*hook)(ViewWindow window));
// Calls the output hook when the network output ring holds data.
void FlushTelnetOutput(ViewWindow window);
