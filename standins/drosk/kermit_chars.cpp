#include "kermit_chars.h"

namespace drosk {

uint16_t Crc16(const uint8_t* data, size_t n) {
    // CCITT polynomial taken from the low bit up, a nibble at a time, starting from 0.
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = data[i];
        uint32_t q = (crc ^ c) & 0x0F;
        crc = (crc >> 4) ^ (q * 0x1081);
        q = (crc ^ (c >> 4)) & 0x0F;
        crc = (crc >> 4) ^ (q * 0x1081);
    }
    return static_cast<uint16_t>(crc);
}

uint8_t OneCharCheck(const uint8_t* data, size_t n) {
    uint32_t s = 0;
    for (size_t i = 0; i < n; ++i) s += data[i];
    // The two top bits of the low byte are folded into the six that travel.
    return ToChar(static_cast<int>((s + ((s & 0xC0) >> 6)) & 0x3F));
}

void MakeCheck(const uint8_t* data, size_t n, int type, uint8_t* out) {
    if (type == 2) {
        uint32_t s = 0;
        for (size_t i = 0; i < n; ++i) s += data[i];
        s &= 0x0FFF;
        out[0] = ToChar(static_cast<int>(s >> 6));
        out[1] = ToChar(static_cast<int>(s & 0x3F));
    } else if (type == 3) {
        uint16_t crc = Crc16(data, n);
        out[0] = ToChar((crc >> 12) & 0x0F);
        out[1] = ToChar((crc >> 6) & 0x3F);
        out[2] = ToChar(crc & 0x3F);
    } else {
        out[0] = OneCharCheck(data, n);
    }
}

}  // namespace drosk
