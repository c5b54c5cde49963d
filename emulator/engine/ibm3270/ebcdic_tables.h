// EBCDIC translation: the live display and typing tables, built from fixed defaults and one
// national variant.
#pragma once

#include <cstdint>

// Number of national variants (the 3270 character sets 5-23 of the character-set list).
constexpr int kEbcdicVariants = 19;
// The 14 EBCDIC codes every variant redefines, in table order.
extern const uint8_t kNationalCodes[14];
// Per variant and code: the character in the Windows ANSI code page and in the OEM code page.
struct NationalCell {
    uint8_t ansi;
    uint8_t oem;
};
extern const NationalCell kNationalCells[kEbcdicVariants][14];

// The live tables.
extern uint8_t EbcdicToAscii[256];
extern uint8_t AsciiToEbcdic[256];

// Copies the defaults into the live tables, then overlays variant 0-18 in column 1 (ANSI) or 2
// (OEM). Any other variant or column leaves the defaults.
void Build3270CodeTables(int variant, int column);

// The column for a terminal font's character set: 1 (ANSI) for 0, 238, 186, 204, 161 and 162,
// else 2 (OEM).
int CodeTableColumnForFont(int fontCharSet);
