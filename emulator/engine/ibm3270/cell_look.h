// How the 3270 buffer is drawn: the colours, font flags and text of a buffer address taken from
// its field (attribute, colour and highlight of the field's attribute cell), and the runs of
// cells that are drawn with one text output. Used by the terminal view's painter.
#pragma once

#include <cstdint>

struct Look3270 {
    int fg = 0, bg = 0;  // colour indices (AttributeColors)
    uint8_t flags = 0;   // 0x01 true underline, 0x02 true bold, 0x08 line-drawing cell
};

// The look of one buffer address. An attribute cell shows in the protected colours.
Look3270 CellLook3270(int address);

// The character drawn at an address: blank for an empty cell (0) and in a non-display field.
char CellText3270(int address);

// The length of the run that starts at `address` (a column of some row) and may grow to
// `lastAddress` of the same row: an attribute cell is a run of one; otherwise the run grows over
// data cells of the same field whose colour byte is 0 or the field's colour and whose highlight
// byte equals the run's (0 counts as equal while the run is no line-drawing run).
int RunLength3270(int address, int lastAddress);
