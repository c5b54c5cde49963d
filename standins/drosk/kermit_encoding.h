// The data field of Kermit packets: control prefixing, 8th-bit prefixing and repeat counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drosk {

// The prefixes in effect for one direction; 0 for an 8th-bit or repeat prefix not in use.
struct Quoting {
    uint8_t control = '#';
    uint8_t eighthBit = 0;
    uint8_t repeat = 0;
};

// Encodes bytes from data while the encoded field stays within limit characters; appends to
// out and returns how many bytes of data were taken (at least one when limit allows any unit).
size_t EncodeData(const Quoting& q, const uint8_t* data, size_t n, size_t limit,
                  std::vector<uint8_t>& out);

// Decodes a packet's data field into out; false when it ends inside a prefixed unit or
// carries an impossible repeat count.
bool DecodeData(const Quoting& q, const uint8_t* field, size_t n, std::vector<uint8_t>& out);

}  // namespace drosk
