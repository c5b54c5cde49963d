// 3270 order codes, their names for messages, and the 12-bit buffer address code.
#pragma once

#include <cstdint>

enum Order3270 : uint8_t {
    kOrderPT = 0x05,
    kOrderGE = 0x08,
    kOrderSBA = 0x11,
    kOrderEUA = 0x12,
    kOrderIC = 0x13,
    kOrderSF = 0x1D,
    kOrderSA = 0x28,
    kOrderSFE = 0x29,
    kOrderFormat = 0x2B,
    kOrderMF = 0x2C,
    kOrderRA = 0x3C,
};

struct OrderName {
    uint8_t code;
    const char* shortName;
    const char* longName;
};

// The 11 orders in message order.
constexpr OrderName kOrderNames[11] = {
    {kOrderSF, "SF", "Start Field"},
    {kOrderSFE, "SFE", "Start Field Extended"},
    {kOrderSBA, "SBA", "Set Buffer Address"},
    {kOrderSA, "SA", "Set Attribute"},
    {kOrderMF, "MF", "Modify Field"},
    {kOrderIC, "IC", "Insert Cursor"},
    {kOrderPT, "PT", "Program Tab"},
    {kOrderRA, "RA", "Repeat to Address"},
    {kOrderEUA, "EUA", "Erase Unprotected to Address"},
    {kOrderGE, "GE", "Graphics Escape"},
    {kOrderFormat, "YALE", "Yale Order"},
};

// The name entry of a code; {code, "??", "(unknown)"} outside the table.
OrderName Find3270Order(uint8_t code);

// Buffer address from two address bytes: only the low six bits of each count.
inline int Decode3270Address(uint8_t high, uint8_t low) { return (high & 0x3F) * 64 + (low & 0x3F); }

// The 6-bit code table for addresses sent inbound.
extern const uint8_t kAddressCodes[64];
// Appends the two code bytes of an address (0-4095) to out.
inline void Encode3270Address(int address, uint8_t out[2])
{
    out[0] = kAddressCodes[(address >> 6) & 0x3F];
    out[1] = kAddressCodes[address & 0x3F];
}
