// The Send-Init exchange: the parameters each side announces in its S packet (or in the ACK to
// one), and what the two announcements agree on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "drosk.h"
#include "kermit_encoding.h"

namespace drosk {

// Capability bits of the first CAPAS character.
constexpr int kCapLongPackets = 2;
constexpr int kCapSlidingWindows = 4;
constexpr int kCapAttributes = 8;

// One side's announcement, field by field (defaults are those of a field left out).
struct InitFields {
    int maxLength = 80;       // longest normal packet it takes (the LEN value)
    int timeout = 5;          // seconds the other side should wait for it
    int padCount = 0;
    uint8_t padChar = 0;
    uint8_t eol = 13;
    uint8_t control = '#';
    uint8_t eighthBit = 'N';  // 'Y' willing, 'N' unwilling, or the prefix it asks for
    int checkType = 1;
    uint8_t repeat = ' ';     // the repeat prefix it offers, blank for none
    int capabilities = 0;
    int window = 1;
    int longLength = 0;       // longest long packet it takes (0: not given)
};

// Our announcement from the port's parameters.
InitFields OurFields(const DroskParms& p);

std::vector<uint8_t> BuildInit(const InitFields& f);
// Fields that are missing or out of range keep their defaults.
InitFields ParseInit(const uint8_t* data, size_t n);

// What both sides use after the exchange.
struct Agreement {
    Quoting out;            // prefixes of the data we send
    Quoting in;             // prefixes of the data we receive
    int checkType = 1;
    int sendLimit = 80;     // longest packet (counted as LEN, or LENX for long packets) we send
    bool longPackets = false;
    bool attributes = false;
    int waitSeconds = 5;    // how long we wait for the other side
    int padCount = 0;       // padding the other side needs before our packets
    uint8_t padChar = 0;
    uint8_t eol = 13;       // what ends our packets
};

Agreement Agree(const InitFields& ours, const InitFields& theirs, const DroskParms& p);

}  // namespace drosk
