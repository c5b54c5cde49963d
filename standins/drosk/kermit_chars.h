// The character mappings of Kermit packets and the three block checks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace drosk {

// Small numbers travel as printable characters: tochar adds a blank, unchar takes it away.
inline uint8_t ToChar(int x) { return static_cast<uint8_t>(x + 32); }
inline int UnChar(uint8_t c) { return static_cast<int>(c) - 32; }
// A control character travels as its printable twin (bit 6 flipped) behind the control prefix.
inline uint8_t Ctl(uint8_t c) { return static_cast<uint8_t>(c ^ 64); }

// Characters of the block check of the given type (1: one, 2: two, 3: three).
inline int CheckLength(int type) { return type == 2 ? 2 : type == 3 ? 3 : 1; }

// Writes the block check of data as CheckLength(type) printable characters at out.
void MakeCheck(const uint8_t* data, size_t n, int type, uint8_t* out);
// The one-character check that also guards a long packet's header.
uint8_t OneCharCheck(const uint8_t* data, size_t n);
// The 16-bit CRC of the third check type.
uint16_t Crc16(const uint8_t* data, size_t n);

}  // namespace drosk
