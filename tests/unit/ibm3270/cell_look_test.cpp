// How the painter sees the 3270 buffer: colours by field, blank non-display text and the runs
// drawn with one text output.
#include "engine/ibm3270/cell_look.h"
#include "tn3270_fixture.h"

namespace {

using CellLook = Tn3270Test;

TEST_F(CellLook, ColoursTextAndRuns)
{
    for (int e = 0; e < 58; ++e) {
        Rec->Attr3270Colors[e][0] = 2 + e % 18;
        Rec->Attr3270Colors[e][1] = 2 + (e + 5) % 18;
    }
    Rec->Attr3270Colors[51][0] = 17;
    // 0: protected field "AB", 5: hidden field "XY", 10: field with colour F3 whose data cells
    // carry colours 0, F3 and F4, 20: unprotected "C_D" with a line-drawing cell.
    Feed("F5 C3 11 40 40 1D F0 C1 C2 11 40 C5 1D CC E7 E8 11 40 4A 29 02 C0 C0 42 F3 C1 C1 C1 C1 "
         "11 40 D4 1D C0 C3 6D C4");
    Colour3270()[13] = 0xF3;
    Colour3270()[14] = 0xF4;
    const Look3270 attribute = CellLook3270(0);
    EXPECT_EQ(2 + 0x20 % 18, attribute.fg);  // protected colours, not carried past the byte
    EXPECT_EQ(CellLook3270(1).fg, attribute.fg);
    EXPECT_EQ(2 + (0x21 + 5) % 18, CellLook3270(5).bg);  // attribute cell of an intensified field: entry 0x21
    EXPECT_EQ(' ', CellText3270(6));  // non-display
    EXPECT_EQ('A', CellText3270(1));
    EXPECT_EQ(' ', CellText3270(70));  // empty cell
    EXPECT_EQ(17, CellLook3270(11).fg);  // the field's colour code
    EXPECT_EQ(0x08, CellLook3270(22).flags);
    const struct { int address, last, length; } runs[] = {
        {0, 79, 1},   // an attribute cell
        {1, 79, 4},   // "AB" and the empty cells up to the next attribute
        {1, 2, 2},    // the row's painted part ends it
        {11, 79, 3},  // colour 0 and the field's colour go on; F4 ends it
        {14, 79, 6},  // the first cell's colour is the field's; empty cells follow
        {21, 79, 1},  // the line-drawing cell ends the run
        {22, 79, 1},
        {23, 79, 57},
    };
    for (const auto& r : runs) EXPECT_EQ(r.length, RunLength3270(r.address, r.last)) << r.address;
    EXPECT_EQ(1, RunLength3270(5000, 5010));  // outside the buffer
}

}  // namespace
