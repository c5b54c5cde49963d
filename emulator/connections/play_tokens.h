// Reading play files: blank-separated tokens, the texts after DATA:, CALL: and RUN:, and the bytes
// that tokens stand for. A play file is a comm recording (session_trace.h) or a hand-written
// script in the same notation.
#pragma once

#include <cstdint>
#include <cstdio>

// Longest token kept; longer runs of non-blank characters are split into several tokens.
constexpr int kPlayTokenMax = 97;
// Longest text after DATA:, CALL: and RUN: (and of its decoded bytes).
constexpr int kPlayTextMax = 2048;

// Reads the next token (at most kPlayTokenMax characters) into `token` (kPlayTokenMax + 1 bytes).
// Returns its length, 0 at the end of the file.
int ReadPlayToken(std::FILE* file, char* token);

// Reads the text that follows DATA:, CALL: or RUN:: leading blanks and control characters are
// passed over; a text starting with '"' runs to the next '"' that no backslash escapes (quotes
// kept), any other text to the end of the line. CR and LF are dropped. At most kPlayTextMax
// characters are kept in `text` (kPlayTextMax + 1 bytes); the rest of the text is passed over.
// Returns the length kept.
int ReadPlayText(std::FILE* file, char* text);

// The bytes a token stands for in comm mode: CR LF SP ESC HT by name, a single character as
// itself, ESC followed by two hexadecimal digits as those two bytes, anything else as a
// hexadecimal number (its low byte; 0 when it has no digits). Returns the count (1 or 2).
int PlayTokenBytes(const char* token, uint8_t* bytes);

// The play-file keywords.
enum class PlayKeyword { None, Comm, Data, Send, Keyb, Time, Delta, Return, Exit, Quit, Wait,
                         Pause, Loop, Call, Run };
PlayKeyword PlayKeywordOf(const char* token);
