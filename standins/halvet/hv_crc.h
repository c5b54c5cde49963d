// The two checks of ZMODEM frames: CRC-16 (polynomial 0x1021, start 0, as XMODEM's) and CRC-32
// (reflected polynomial 0xEDB88320, start and final inversion all ones).
#pragma once

#include <cstddef>
#include <cstdint>

namespace halvet {

uint16_t Crc16Update(uint16_t crc, uint8_t byte);
uint16_t Crc16(const uint8_t* data, size_t length, uint16_t crc = 0);

// Running value without the final inversion: start with 0xFFFFFFFF, invert at the end.
uint32_t Crc32Update(uint32_t crc, uint8_t byte);
uint32_t Crc32Run(const uint8_t* data, size_t length, uint32_t crc = 0xFFFFFFFFu);
// The finished CRC-32 of a whole block.
inline uint32_t Crc32(const uint8_t* data, size_t length) { return ~Crc32Run(data, length); }

}  // namespace halvet
