#include "xy_blocks.h"

#include <cstdio>
#include <cstring>

namespace kestrix {
namespace {

constexpr uint8_t kSOH = 0x01, kSTX = 0x02;

// A field of at most maxLen characters from data[pos..length), ended by a stop byte; advances pos
// past the stop byte.
int Field(const uint8_t* data, int length, int& pos, int maxLen, bool stopAtSpace, char* out) {
    int n = 0;
    while (pos < length && data[pos] != 0 && !(stopAtSpace && data[pos] == ' ') && n < maxLen)
        out[n++] = static_cast<char>(data[pos++]);
    out[n] = 0;
    if (pos < length && (data[pos] == 0 || (stopAtSpace && data[pos] == ' '))) ++pos;
    return n;
}

// A non-negative number in base 8 or 10 made only of digits; false otherwise.
bool ParseNumber(const char* text, int base, int64_t* value) {
    if (!*text) return false;
    int64_t v = 0;
    for (const char* p = text; *p; ++p) {
        int d = *p - '0';
        if (d < 0 || d >= base) return false;
        if (v > (INT64_MAX - d) / base) return false;
        v = v * base + d;
    }
    *value = v;
    return true;
}

}  // namespace

HeaderInfo ParseHeader(const uint8_t* data, int length) {
    HeaderInfo h;
    int pos = 0;
    Field(data, length, pos, kPexlaPathSize - 1, false, h.name);
    if (!h.name[0]) {
        h.endOfBatch = true;
        return h;
    }
    char text[51];
    if (Field(data, length, pos, 50, true, text) == 0) return h;
    // Senders put size and date apart by one space, and some add more fields after the date.
    int64_t v;
    if (ParseNumber(text, 10, &v) && v <= INT32_MAX) {
        h.hasSize = true;
        h.size = v;
    }
    if (Field(data, length, pos, 50, true, text) > 0 && ParseNumber(text, 8, &v)) {
        h.hasDate = true;
        h.modTime = v;
    }
    return h;
}

bool LocalFileName(const char* sent, char* out, int outSize) {
    const char* name = sent;
    for (const char* p = sent; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':') name = p + 1;
    int n = static_cast<int>(std::strlen(name));
    if (n == 0 || n >= outSize || !std::strcmp(name, ".") || !std::strcmp(name, "..")) return false;
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(name[i]) < 0x20) return false;
    std::memcpy(out, name, static_cast<size_t>(n) + 1);
    return true;
}

int BuildHeader(uint8_t* packet, const char* name, int64_t size, int64_t modTime) {
    uint8_t* data = packet + 3;
    std::memset(data, 0, 1024);
    int used = 0;
    size_t nameLen = std::strlen(name);
    if (nameLen > kPexlaPathSize - 1) nameLen = kPexlaPathSize - 1;
    std::memcpy(data, name, nameLen);
    used = static_cast<int>(nameLen) + 1;
    if (nameLen > 0) {
        char facts[64];
        int f = std::snprintf(facts, sizeof facts, "%lld %llo", static_cast<long long>(size),
                              static_cast<unsigned long long>(modTime < 0 ? 0 : modTime));
        std::memcpy(data + used, facts, static_cast<size_t>(f));
        used += f + 1;
    }
    const int blockSize = used > 128 ? 1024 : 128;
    packet[0] = blockSize == 1024 ? kSTX : kSOH;
    packet[1] = 0;
    packet[2] = 0xFF;
    uint16_t crc = PxCrc16(data, blockSize);
    data[blockSize] = static_cast<uint8_t>(crc >> 8);
    data[blockSize + 1] = static_cast<uint8_t>(crc);
    return blockSize + 5;
}

int FinishBlock(uint8_t* packet, int blockSize, int got, uint8_t number, bool checksum, bool strip,
                uint8_t pad) {
    uint8_t* data = packet + 3;
    if (got < blockSize) {
        int fill = got;
        if (strip) data[fill++] = 0;
        std::memset(data + fill, pad, static_cast<size_t>(blockSize - fill));
    }
    packet[0] = blockSize == 1024 ? kSTX : kSOH;
    packet[1] = number;
    packet[2] = static_cast<uint8_t>(~number);
    if (checksum) {
        data[blockSize] = PxChecksum(data, blockSize);
        return blockSize + 4;
    }
    uint16_t crc = PxCrc16(data, blockSize);
    data[blockSize] = static_cast<uint8_t>(crc >> 8);
    data[blockSize + 1] = static_cast<uint8_t>(crc);
    return blockSize + 5;
}

int StripLength(const uint8_t* data, int length, uint8_t pad) {
    if (pad >= 0x80 || data[length - 1] != pad) return length;
    for (int i = length - 2; i >= 1; --i) {
        if (data[i] == 0) return i;
        if (data[i] != pad) return length;
    }
    return 0;
}

bool CheckBlock(const uint8_t* packet, int dataLength, bool checksum) {
    const uint8_t* data = packet + 3;
    if (checksum) return PxChecksum(data, dataLength) == data[dataLength];
    return PxCrc16(data, dataLength + 2) == 0;
}

}  // namespace kestrix
