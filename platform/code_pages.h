// Fixed single-byte code-page pairs for the OEM <-> ANSI conversions.
//
// The Windows programs convert with the system's own functions (the code pages of the running
// system); the window-free default and the tests use one of these fixed pairs, so the results
// do not depend on the machine. Bytes below 0x80 are the same in every pair. A character that the
// other code page lacks becomes '?'.
#pragma once

#include <cstdint>

class CodePagePair {
public:
    // oemPage 437 or 850 (anything else is taken as 437); the ANSI page is always 1252.
    explicit CodePagePair(int oemPage);

    int OemPage() const { return oemPage_; }
    uint8_t ToOem(uint8_t c) const { return toOem_[c]; }
    uint8_t ToAnsi(uint8_t c) const { return toAnsi_[c]; }

private:
    int oemPage_;
    uint8_t toOem_[256];
    uint8_t toAnsi_[256];
};

// The Unicode code point of a byte of code page 437, 850 or 1252 (0 for any other page).
uint16_t CodePageCharacter(int page, uint8_t c);
