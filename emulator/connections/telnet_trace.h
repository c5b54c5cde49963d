// The negotiation trace: a line for every option sent or received and the decoded subnegotiations,
// written to the terminal screen (through the emulation, like host data) or to "nettrace.txt".
#pragma once

#include <cstdint>

// The net trace switch (Special / Trace / Telnet Options); off at start.
bool NetTraceOn();
void SetNetTraceOn(bool on);

// 1 opens "nettrace.txt" (emptied) as the trace output; 0 closes it and traces to the screen.
// When the file cannot be opened the trace has no target and writes nothing.
void SetNetTraceFile(int flag);
bool NetTraceToFile();

// One option line: verb IAC with a command, or WILL/WONT/DO/DONT with an option.
void TraceTelnetOption(const char* direction, int verb, int option);
// One decoded subnegotiation. direction '<' received, '>' sent; bytes start at the option and end
// with the two bytes that closed it (IAC SE when well formed).
void TraceTelnetSuboption(char direction, const uint8_t* bytes, int length);

// A diagnostic text for the screen (through the emulation), whatever the trace switch says.
void TraceScreenText(const char* text);
