// Table-driven CRC-16 and CRC-32.
#include "hv_crc.h"

namespace halvet {
namespace {

struct Tables {
    uint16_t c16[256];
    uint32_t c32[256];
    Tables() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i << 8;
            for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1;
            c16[i] = static_cast<uint16_t>(c);
            uint32_t r = i;
            for (int b = 0; b < 8; ++b) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
            c32[i] = r;
        }
    }
};
const Tables tables;

}  // namespace

uint16_t Crc16Update(uint16_t crc, uint8_t byte) {
    return static_cast<uint16_t>((crc << 8) ^ tables.c16[((crc >> 8) ^ byte) & 0xFF]);
}

uint16_t Crc16(const uint8_t* data, size_t length, uint16_t crc) {
    for (size_t i = 0; i < length; ++i) crc = Crc16Update(crc, data[i]);
    return crc;
}

uint32_t Crc32Update(uint32_t crc, uint8_t byte) { return tables.c32[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

uint32_t Crc32Run(const uint8_t* data, size_t length, uint32_t crc) {
    for (size_t i = 0; i < length; ++i) crc = Crc32Update(crc, data[i]);
    return crc;
}

}  // namespace halvet
