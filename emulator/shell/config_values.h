// The text forms of the configuration file's value types, and the profile reads and writes of
// one value each (through Profiles()).
#pragma once

#include <cstdint>
#include <string>

// An unsigned C number with base prefix (0x hexadecimal, leading 0 octal, else decimal); a leading
// minus negates; overflow gives all bits set; no digits give 0.
uint32_t ParseProfileLong(const char* text);
// A byte: a number 0-255, ^X for X from '@' to '_', a backslash escape, or one character; any
// other text gives 0.
uint8_t ParseProfileChar(const char* text);
// 1 when the first three characters (at most) are a prefix of "yes" without case; "" gives 1.
int ParseProfileBool(const char* text);
// "%d" of the byte, or "0x%x" when bit 7 is set.
std::string FormatProfileChar(uint8_t value);

// The scrambled form: a double quote, two letters 'a'-'p' per character (the last character's
// pair first), a double quote.
std::string ScrambleProfileText(const std::string& text);
// The text of 2n letters (without quotes) unscrambled: at most n characters, stopping at a
// character 0, at the first pair with a letter outside 'a'-'p', or at limit characters. An odd
// trailing letter is ignored.
std::string UnscrambleProfileText(const std::string& letters, std::size_t limit);

// One value each; the current value is the default, so a missing key keeps it.
int32_t ReadProfileLong(const char* section, const char* key, int32_t current, const char* file);
uint8_t ReadProfileChar(const char* section, const char* key, uint8_t current, const char* file);
bool WriteProfileLong(const char* section, const char* key, int32_t value, const char* file);
bool WriteProfileColor(const char* section, const char* key, uint32_t value, const char* file);
bool WriteProfileChar(const char* section, const char* key, uint8_t value, const char* file);
