// Collecting the text of a host string command (the number set by a host command sequence, 38
// for ESC &) or of a DCS string (number 80), byte by byte into an interpreter's buffer, and
// handing the finished text on. Command 38 ends at CR (fewer than 4 bytes: dropped); the others
// end with the byte after an ESC, the text running up to that ESC. A text that fills the buffer
// is dropped with the byte that found it full.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

constexpr int kDcsStringNumber = 80;
constexpr int kAclStringNumber = 38;

struct StringCommandBuffer {
    uint8_t* text;       // capacity + 1 bytes (room for the NUL)
    int capacity;
    const int* params;   // the introducer's parameters (the command number first)
    int paramCount;
    uint8_t dcsFinal;    // the DCS introducer's final byte
};

enum class StringFlow { Next, StopBlock };

// One byte of the string being collected (StringCommandNumber non-zero). StopBlock when the
// finished command asks for the rest of the block to be dropped.
StringFlow CollectStringByte(ViewWindow window, SettingsRecord& rec, uint8_t byte, const StringCommandBuffer& buffer,
                             DirtyRect& dirty);
