#include "kermit_encoding.h"

#include "kermit_chars.h"

namespace drosk {
namespace {

constexpr int kMaxRepeat = 94;

// The prefixed form of one byte (without a repeat count): at most four characters.
size_t EncodeByte(const Quoting& q, uint8_t b, uint8_t* out) {
    size_t n = 0;
    if (q.eighthBit && (b & 0x80)) {
        out[n++] = q.eighthBit;
        b &= 0x7F;
    }
    const uint8_t low = b & 0x7F;
    if (low < 32 || low == 127) {
        out[n++] = q.control;
        b = Ctl(b);
    } else if (low == q.control || (q.eighthBit && low == q.eighthBit) ||
               (q.repeat && low == q.repeat)) {
        out[n++] = q.control;
    }
    out[n++] = b;
    return n;
}

}  // namespace

size_t EncodeData(const Quoting& q, const uint8_t* data, size_t n, size_t limit,
                  std::vector<uint8_t>& out) {
    size_t used = 0;
    size_t taken = 0;
    while (taken < n) {
        size_t run = 1;
        if (q.repeat)
            while (taken + run < n && run < kMaxRepeat && data[taken + run] == data[taken]) ++run;
        uint8_t unit[6];
        size_t len = EncodeByte(q, data[taken], unit + 2);
        uint8_t* start = unit + 2;
        // A repeat count pays from three equal bytes on (or two that each need two prefixes).
        if (run >= 3 || (run == 2 && len > 2)) {
            unit[0] = q.repeat;
            unit[1] = ToChar(static_cast<int>(run));
            start = unit;
            len += 2;
        } else {
            run = 1;
        }
        if (used + len > limit) break;
        out.insert(out.end(), start, start + len);
        used += len;
        taken += run;
    }
    return taken;
}

bool DecodeData(const Quoting& q, const uint8_t* field, size_t n, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < n) {
        uint8_t c = field[i++];
        int count = 1;
        if (q.repeat && c == q.repeat) {
            if (i + 1 >= n) return false;
            count = UnChar(field[i++]);
            if (count < 0 || count > kMaxRepeat) return false;
            c = field[i++];
        }
        uint8_t high = 0;
        if (q.eighthBit && c == q.eighthBit) {
            if (i >= n) return false;
            high = 0x80;
            c = field[i++];
        }
        if (c == q.control) {
            if (i >= n) return false;
            c = field[i++];
            const uint8_t low = c & 0x7F;
            if (low >= 63 && low <= 95) c = Ctl(c);
        }
        c |= high;
        out.insert(out.end(), static_cast<size_t>(count), c);
    }
    return true;
}

}  // namespace drosk
