#include "kermit_init.h"

#include <algorithm>

#include "kermit_chars.h"
#include "kermit_packet.h"

namespace drosk {
namespace {

bool IsPrefix(uint8_t c) { return (c >= 33 && c <= 62) || (c >= 96 && c <= 126); }

// The 8th-bit prefix both sides accept, or 0 for none.
uint8_t AgreeEighthBit(uint8_t ours, uint8_t theirs) {
    if (IsPrefix(ours) && (theirs == 'Y' || theirs == ours)) return ours;
    if (IsPrefix(theirs) && ours == 'Y') return theirs;
    return 0;
}

}  // namespace

InitFields OurFields(const DroskParms& p) {
    // The block is packed: its ints are copied out before they are passed by reference.
    const int packetLength = p.packetLength, timeout = p.timeout, padCount = p.padCount;
    const int longLength = p.longPacketLength;
    InitFields f;
    f.maxLength = std::clamp(packetLength, 20, 94);
    f.timeout = std::clamp(timeout, 1, 94);
    f.padCount = std::clamp(padCount, 0, 94);
    f.padChar = p.padChar;
    f.eol = p.eol;
    f.control = static_cast<uint8_t>(p.quoteChar);
    // "If parity": the port tells us nothing of parity, so we agree when the other side asks.
    f.eighthBit = p.quote8 == 2 ? static_cast<uint8_t>(p.quote8Char) : p.quote8 == 1 ? 'Y' : 'N';
    f.checkType = p.checkType + 1;
    f.repeat = p.repeatOn ? static_cast<uint8_t>(p.repeatChar) : ' ';
    f.capabilities = kCapAttributes | (longLength > 94 ? kCapLongPackets : 0);
    f.window = 1;
    f.longLength = longLength > 94 ? std::min(longLength, kMaxLongLength) : 0;
    return f;
}

std::vector<uint8_t> BuildInit(const InitFields& f) {
    std::vector<uint8_t> d = {
        ToChar(f.maxLength), ToChar(f.timeout), ToChar(f.padCount), Ctl(f.padChar), ToChar(f.eol),
        f.control, f.eighthBit, static_cast<uint8_t>('0' + f.checkType), f.repeat,
        ToChar(f.capabilities), ToChar(f.window),
    };
    if (f.longLength > 0) {
        d.push_back(ToChar(f.longLength / 95));
        d.push_back(ToChar(f.longLength % 95));
    }
    return d;
}

InitFields ParseInit(const uint8_t* d, size_t n) {
    InitFields f;
    auto num = [&](size_t i, int lo, int hi, int& to) {
        if (i < n && d[i] != ' ' && UnChar(d[i]) >= lo && UnChar(d[i]) <= hi) to = UnChar(d[i]);
    };
    num(0, 10, 94, f.maxLength);
    num(1, 0, 94, f.timeout);
    num(2, 0, 94, f.padCount);
    if (n > 3) f.padChar = Ctl(d[3]);
    int eol = f.eol;
    num(4, 1, 31, eol);
    f.eol = static_cast<uint8_t>(eol);
    if (n > 5 && IsPrefix(d[5])) f.control = d[5];
    if (n > 6) f.eighthBit = d[6];
    if (n > 7 && d[7] >= '1' && d[7] <= '3') f.checkType = d[7] - '0';
    if (n > 8) f.repeat = d[8];
    // CAPAS may run over several characters: each but the last has its low bit set.
    size_t i = 9;
    if (i < n) f.capabilities = UnChar(d[i]) & 0x3F;
    while (i < n && (UnChar(d[i]) & 1)) ++i;
    ++i;
    num(i, 0, 31, f.window);
    if (i + 2 < n) {
        const int x1 = UnChar(d[i + 1]), x2 = UnChar(d[i + 2]);
        if (x1 >= 0 && x1 < 95 && x2 >= 0 && x2 < 95) f.longLength = x1 * 95 + x2;
    }
    return f;
}

Agreement Agree(const InitFields& ours, const InitFields& theirs, const DroskParms& p) {
    Agreement a;
    a.checkType = ours.checkType == theirs.checkType ? ours.checkType : 1;
    const uint8_t eighth = AgreeEighthBit(ours.eighthBit, theirs.eighthBit);
    const uint8_t repeat =
        ours.repeat == theirs.repeat && IsPrefix(ours.repeat) ? ours.repeat : 0;
    a.out = Quoting{ours.control, eighth, repeat};
    a.in = Quoting{theirs.control, eighth, repeat};
    a.longPackets = (ours.capabilities & kCapLongPackets) && (theirs.capabilities & kCapLongPackets);
    a.attributes = (ours.capabilities & kCapAttributes) && (theirs.capabilities & kCapAttributes);
    if (a.longPackets) {
        // A side that takes long packets without saying how long takes 500.
        const int theirsLong = theirs.longLength > 0 ? theirs.longLength : 500;
        a.sendLimit = std::min(theirsLong, ours.longLength);
    } else {
        a.sendLimit = std::min(theirs.maxLength, 94);
    }
    const int ownTimeout = p.timeout;
    a.waitSeconds = theirs.timeout > 0 ? theirs.timeout : std::max(ownTimeout, 1);
    a.padCount = theirs.padCount;
    a.padChar = theirs.padChar;
    a.eol = theirs.eol;
    return a;
}

}  // namespace drosk
