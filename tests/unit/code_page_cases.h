// Code-page expectations shared by the native tests (fixed pages) and the Windows tests (the
// system's own conversion functions): characters that both pages of a pair hold, so every
// conversion is exact, plus the ones that tell the OEM pages 437 and 850 apart.
#pragma once

#include <cstdint>

struct CodePageCase {
    int oemPage;   // 437 or 850; 0 for both
    uint8_t ansi;  // code page 1252
    uint8_t oem;
};

// Exact mappings, both directions (none in the OEM box range 0xB0-0xDF, which the line-drawing
// conversions claim).
inline constexpr CodePageCase kCodePageCases[] = {
    {0, 0xE9, 0x82},    // e acute
    {0, 0xC7, 0x80},    // C cedilla
    {0, 0xFC, 0x81},    // u diaeresis
    {0, 0xF1, 0xA4},    // n tilde
    {0, 0xA3, 0x9C},    // pound sign
    {0, 0xAB, 0xAE},    // left guillemet
    {0, 0xB0, 0xF8},    // degree sign
    {0, 0x41, 0x41},    // ASCII is the same in every page
    {437, 0xA5, 0x9D},  // yen sign
    {437, 0xDF, 0xE1},  // sharp s
    {850, 0xD8, 0x9D},  // O stroke
    {850, 0xDF, 0xE1},
    {437, 0xA2, 0x9B},  // cent sign
    {850, 0xF8, 0x9B},  // o stroke
};
