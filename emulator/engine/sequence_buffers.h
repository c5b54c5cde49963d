// The buffers of an interpreter's parser: the open escape sequence from its ESC, or the text of
// a string command, with one spare byte for the terminating NUL; the parameters of the last
// parsed sequence (a string's introducer included); the final byte of a DCS introducer; and the
// held bytes of a partly matched printer-off string. Each interpreter has its own instance; the
// fill levels live in the session record (SequenceLength, StringCommandLength, PrinterOffMatch7),
// which ResetTerminal clears.
#pragma once

#include <cstdint>

#include "engine/screen_planes.h"
#include "engine/string_command.h"

template <int Size>
struct SequenceBuffers {
    static constexpr int kSize = Size;
    uint8_t sequence[Size + 1];
    int params[kCsiMaxParams];
    int paramCount;
    uint8_t dcsFinal;
    uint8_t printerMatch[8];

    // The buffer as the string-command collector sees it.
    StringCommandBuffer StringText() { return StringCommandBuffer{sequence, Size, params, paramCount, dcsFinal}; }
};
