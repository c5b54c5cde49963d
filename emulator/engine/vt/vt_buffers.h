// The VT interpreter's buffers: single instances, used by nothing else. Their fill levels live in
// the session record (SequenceLength, StringCommandLength, StatusLineCapture, PrinterOffMatch7/8),
// which ResetTerminal clears.
#pragma once

#include <cstdint>

#include "engine/screen_planes.h"

constexpr int kSequenceBufferSize = 400;

struct VtBuffers {
    // The open escape sequence from its ESC, a string command's or DCS string's text, or the
    // captured status-line text. One spare byte for the terminating NUL.
    uint8_t sequence[kSequenceBufferSize + 1];
    int params[kCsiMaxParams];  // of the last parsed sequence (a string's introducer included)
    int paramCount;
    uint8_t dcsFinal;           // the final byte of the DCS introducer while its string is collected
    uint8_t printerMatch[8];    // bytes of a partly matched printer-off sequence, held back
};

extern VtBuffers VtBuffer;
