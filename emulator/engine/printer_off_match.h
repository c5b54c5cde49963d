// Watching the printed stream of transparent (printer-controller) printing for the strings that
// end it. Bytes that continue one of the strings are held back; a byte that breaks the match
// sends the held bytes on to the printer and may itself begin a new match.
#pragma once

#include <cstdint>

struct PrinterOffString {
    const uint8_t* bytes;
    int length;
};

enum class PrinterOffStep {
    Held,      // the byte continues a string and is held back
    Complete,  // the byte completes a string: printing ends (nothing is held any more)
    Print      // the byte is not part of a string: print it (held bytes were printed already)
};

// One byte against `count` strings. `held` (at least as long as the longest string) and
// `heldCount` are the caller's, kept between calls; `print` takes bytes for the printer.
PrinterOffStep MatchPrinterOff(const PrinterOffString* strings, int count, uint8_t* held, int32_t& heldCount,
                               uint8_t byte, void (*print)(uint8_t));
