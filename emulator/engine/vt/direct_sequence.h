// The fast path of the VT and console interpreters for whole control sequences inside a block.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

// Where the sequence's parameters go and how the interpreter reads sequences.
struct DirectSequenceTarget {
    int fromVt;       // 1 for the VT interpreter, 0 for the console
    int bufferSize;   // the interpreter's sequence buffer: longer sequences take the byte path
    int* params;      // kCsiMaxParams ints, kept for a string command the sequence may start
    int& paramCount;
    bool graveFinal;  // the grave accent ends a sequence too (the console)
};

// A whole CSI sequence (or CSI ? sequence) of digits and semicolons inside the block, starting at
// data[i] with its ESC: executed at once, with the parameters ParseCsiParams would give, without
// going through the sequence buffer. Returns the index of its final byte, or -1 when the
// sequence needs the byte-by-byte path (split by the block, other bytes, too many parameters).
int DirectControlSequence(ViewWindow window, SettingsRecord& rec, const uint8_t* data, int i, int length,
                          DirtyRect& dirty, const DirectSequenceTarget& target);
