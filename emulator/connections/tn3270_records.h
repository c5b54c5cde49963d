// The tn3270 record layer between the Telnet engine and the 3270 data-stream engine: received data
// bytes are collected into whole records and handed over at IAC EOR; the records the 3270 engine
// builds go into the network output ring with 0xFF doubled and IAC EOR; the terminal type and the
// screen sizes come from the `Terminal3270` model setting; tn3270 mode follows the negotiation.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// The record buffer starts at this size and grows (up to kRecordBufferLimit) for longer records.
constexpr int kRecordBufferSize = 4096;
constexpr int kRecordBufferLimit = 64 * 1024;

// Current and alternate size 24 x 80, terminal type not sent, record buffer allocated (once) and
// emptied, then the 3270 engine's reset.
void Tn3270Reset();

// The answer to TERMINAL-TYPE SEND in 3270 mode: the alternate size and the IBM-327x-m reply by
// the model setting, put into the network output ring. Returns 1.
int SetTn3270TerminalType();

// Run after every received WILL, WONT, DO, DONT and subnegotiation: tn3270 mode is on while the
// terminal type was sent and BINARY is wanted in both directions; it starts the 3270 screen each
// time it goes from off to on.
void Tn3270ModeCheck();

// The receive step in 3270 mode: makes room in the record buffer for what the network input ring
// holds and runs the Telnet receiver. Returns 1 when bytes of the ring were consumed, else 0.
int Tn3270Receive(ViewWindow window);

// Record collection, called by the Telnet receiver while tn3270 mode is on: data bytes of a
// record, and the end of a record (IAC EOR), which hands the collected bytes to the interpreter.
void Tn3270StoreData(ViewWindow window, const uint8_t* bytes, int n);
void Tn3270EndOfRecord(ViewWindow window);

// Copies an inbound data stream into the network output ring, 0xFF as IAC IAC, writing the ring to
// the socket when it is nearly full; with endOfRecord also IAC EOR, and the ring is written out.
// Returns the input bytes taken: fewer than n only when the socket takes no more for now.
int Send3270Record(const uint8_t* data, int n, int endOfRecord);

// Points the 3270 engine's record send at Send3270Record and its HotScreen call at the session's
// services (the program does it with the VT interpreter's hooks, InstallVtInterpreter).
void Install3270Hooks();

// Frees the record buffer (with the Telnet rings).
void Tn3270FreeBuffer();

// The record buffer's positions, for tests and the fuzz target.
struct Tn3270RecordView {
    const uint8_t* buffer;
    int capacity;
    int processed;  // first byte not yet consumed by the interpreter
    int fill;       // one past the last stored byte
    int terminalTypeSent;
};
Tn3270RecordView Tn3270Records();
