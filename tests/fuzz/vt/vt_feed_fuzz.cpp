// Host data of any content through FeedEmulation for one emulation code (EMULATION_CODE: one
// program per VT code 1, 2, 3, 10, and for the console 4, Wyse 60 8, Wyse 50 12, ADDS 11 and the
// dumb teletype 7), in random blocks.
//
// Input: byte 0 picks the character-set mode, 7/8-bit controls,
// the colour model, the width and the transfer detector; byte 1 seeds the block sizes; the rest
// is host data. After every block the cursor, the region and the parser's fill levels must be
// within the screen and the buffers; ASan watches the planes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "connections/connection_dispatch.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_buffers.h"
#include "random_blocks.h"
#include "term_feed.h"

#ifndef EMULATION_CODE
#error EMULATION_CODE names the emulation code
#endif
// The fill levels of the interpreter's sequence buffer; the ADDS interpreter keeps its address
// states (-1, -2) in the same field.
#ifndef SEQUENCE_LIMIT
#define SEQUENCE_LIMIT kSequenceBufferSize
#endif
#ifndef SEQUENCE_FLOOR
#define SEQUENCE_FLOOR 0
#endif

namespace {

void Check()
{
    const SettingsRecord& r = *Rec;
    const bool ok = (r.MaxCols == 80 || r.MaxCols == 132) && r.CursorRow >= 0 && r.CursorRow < r.MaxRows &&
                    r.CursorCol >= 0 && r.CursorCol < r.MaxCols && r.ScrollTop <= r.ScrollBottom &&
                    r.ScrollBottom < r.MaxRows && r.SequenceLength >= SEQUENCE_FLOOR &&
                    r.SequenceLength <= SEQUENCE_LIMIT && r.StringCommandLength >= 0 &&
                    r.StringCommandLength <= SEQUENCE_LIMIT && r.StatusLineCapture >= 0 &&
                    r.StatusLineCapture <= kSequenceBufferSize && r.TabStopCount >= 0 &&
                    r.TabStopCount <= kMaxTabStops;
    if (!ok) {
        std::fprintf(stderr, "cols %d rows %d cur %d,%d region %d-%d seq %d str %d cap %d tabs %d\n", r.MaxCols, r.MaxRows, r.CursorRow, r.CursorCol, r.ScrollTop, r.ScrollBottom, r.SequenceLength, r.StringCommandLength, r.StatusLineCapture, r.TabStopCount);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    TermFeedSetup setup;
    setup.emulation = EMULATION_CODE;
    setup.cols = (data[0] & 0x40) ? 132 : 80;
    if (!SetUpTerminal(setup)) std::abort();
    Rec->Charset = 1 + (data[0] & 3);
    Rec->PrintToScreenNow = (data[0] & 4) ? 1 : 0;
    Rec->ControlChar = (data[0] & 0x10) ? 2 : 1;
    Rec->UseHostColor = (data[0] & 0x20) ? 1 : 0;
    Rec->AutoDetectReceive = (data[0] & 0x80) ? 1 : 0;
    Rec->XferType = 2;

    FeedInRandomBlocks(data[1], data + 2, size - 2, Check);
    return 0;
}
