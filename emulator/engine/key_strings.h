// The key-string notation (KeyString): how byte strings are written as text in key definitions,
// keyboard maps, buttons, scripts, host commands and the configuration file.
//
//   \x        the character x itself (also < > ^ " and \)
//   "         ignored
//   ^x        x & 0x1F (the caret applies to the next plain character only)
//   <...>     one or more tokens, each a name (<esc>, <cr>, <ctrl-a>, ...) or two hexadecimal digits
//             (<1b>), separated by one character of any kind; a name wins over a hex pair
//   other     itself
//
// Plus the escaping of configuration-file strings (\n, \r, \\) and two formatters for the key
// mapping dialog. Nothing here reports errors: unknown tokens are skipped, excess output dropped,
// and every reader stops at the terminating NUL of its text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "session/session_record.h"
#include "session/translate_tables.h"

// One row of KeyStringNames. The table ends with a row of code 0xFF and a null name.
struct KeyStringName {
    const char* name;  // lower case; matched without regard to case
    int code;          // 0xFF for "ctrl-" (the byte is the next character & 0x1F) and the end row
};
extern const KeyStringName KeyStringNames[];
// The ctrl- row's code and the end row's code.
constexpr int kKeyNameCtrl = 0xFF;

// Decodes `text` (NUL-terminated) into at most `maximum` bytes of output; returns the number of
// bytes written (no terminator is added). eightBitControls: ESC followed by a byte below 0x80
// becomes the single C1 byte (byte & 0x1F) | 0x80. national: plain characters are converted for
// the host (CharsetMode 4: ANSI to OEM; 3: as they are; otherwise the outgoing translate table).
// The first form uses the process-wide record and translate tables.
int DecodeKeyString(const char* text, uint8_t* output, int maximum, bool eightBitControls, bool national);
int DecodeKeyString(const SettingsRecord& rec, const TranslateTables& tables, const char* text,
                    uint8_t* output, int maximum, bool eightBitControls, bool national);
inline int DecodeKeyString(const char* text, char* output, int maximum, bool eightBitControls, bool national)
{
    return DecodeKeyString(text, reinterpret_cast<uint8_t*>(output), maximum, eightBitControls, national);
}

// Reads one name token: leading '<' and blanks are passed over, then a run of letters and digits
// (with a following '-' and the character after it for "ctrl-"). Stores the byte and returns the
// characters consumed, or 0 when no name matches (also for "ctrl-" at the end of the text).
int ParseKeyName(const char* text, uint8_t& output);
// Two hexadecimal digits (either case): stores the byte and returns 2, else 0.
int ParseHexPair(const char* text, uint8_t& output);
// Writes two upper-case hexadecimal digits (no terminator); returns 2.
int FormatHexPair(uint8_t byte, char* output);
// Writes 0x00-0x0F as '^' and the byte + 0x40 (returns 2), any other byte as itself (returns 1).
// No terminator.
int FormatControlChar(uint8_t byte, char* output);

// Copies at most `maximum` characters of `source`, turning \n into LF, \r into CR and \ + any
// other character into that character, then a terminator (destination holds maximum + 1 bytes).
// A '\' that ends the source is kept as it is. Returns the characters written.
int UnescapeString(const char* source, char* destination, int maximum);
// Writes a double quote, the source with LF as \n, CR as \r and \ as \\, a closing quote and a
// terminator. Characters are taken while fewer than `limit` characters (the opening quote
// counted) were written, so the destination needs limit + 3 bytes. A limit below 2 writes
// nothing. Returns the length without the terminator.
int QuoteString(const char* source, char* destination, int limit);
