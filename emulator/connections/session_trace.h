// The comm recording (".trc"): every block received from the host (COMM), sent to it (SEND), every
// keystroke sent (KEYB) and the end of the connection (EXIT), each as one record of tokens that the
// replay (session_replay.h) reads back. A record is an optional time header, the tag, then one
// token per byte followed by a blank: CR LF HT SP by name, ESC on a fresh indented line, other
// controls and bytes from 0x80 as two hexadecimal digits, printable bytes as themselves. Lines end
// once 72 characters of tokens stand on them; continuation lines start with six blanks.
#pragma once

#include <cstdint>

// Time source of the headers; the default reads the system clock.
class TraceClock {
public:
    virtual ~TraceClock() = default;
    virtual uint32_t TickMs() = 0;                                   // a millisecond counter
    virtual void LocalTime(int& hours, int& minutes, int& seconds) = 0;
};
// Installs a clock (not owned); null puts the system clock back.
void SetTraceClock(TraceClock* clock);

// Opens (creates or truncates) the recording; returns Rec->Recording.
int OpenTraceFile(const char* name);
// Closes it: 0 when nothing was recording, else the close result (0 on success, EOF on failure).
int CloseTraceFile();
// The time header for a record of `count` bytes, when Rec->TraceTimestamp is on.
void TraceHeader(int count);
// One record each; they return Rec->Recording (0 once a write failed and closed the file).
int TraceKeyboard(int keyCode, const uint8_t* bytes, int length);
int TraceData(const uint8_t* bytes, int length, bool send);
int TraceExit();
// The byte tokens of a record and its line end; `hex` writes every byte as two digits.
int TraceBytes(const uint8_t* bytes, int length, bool hex);
