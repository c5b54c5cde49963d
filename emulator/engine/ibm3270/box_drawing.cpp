// Character-drawn boxes made line graphics: hosts draw them with 0x6A (vertical bar), 0x4E ('+'
// corners) and '-' runs; the cells become DEC line-drawing letters with the line bit.
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/status_view.h"

namespace {

constexpr uint8_t kEbcdicBar = 0x6A;
constexpr uint8_t kEbcdicPlus = 0x4E;

bool IsLine(int address, char ch)
{
    return (Flags3270()[address] & kCellLine) && Chars3270()[address] == ch;
}

// Where a vertical run may start or end: a corner or a horizontal or vertical line cell.
bool IsJoint(int address)
{
    return Ebcdic3270()[address] == kEbcdicPlus || IsLine(address, '-') || IsLine(address, 'x');
}

void DrawVerticalRuns()
{
    const int columns = Tn3270State.Columns3270;
    const int rows = Tn3270State.Rows3270;
    uint8_t* ebcdic = Ebcdic3270();
    for (int row = 1; row < rows - 1; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int start = row * columns + column;
            if (ebcdic[start] != kEbcdicBar || (Flags3270()[start] & kCellLine)) continue;
            if (!IsJoint(start - columns)) continue;
            int count = 0;
            int r = row;
            while (r < rows && ebcdic[r * columns + column] == kEbcdicBar) {
                ++count;
                ++r;
            }
            if (r >= rows || count < 2 || !IsJoint(r * columns + column)) continue;
            for (int k = 0; k < count; ++k) {
                const int a = (row + k) * columns + column;
                Chars3270()[a] = 'x';
                Flags3270()[a] |= kCellLine;
            }
        }
    }
}

void DrawCorners()
{
    static const char kCorner[16] = {0, 0, 0, 0, 0, 'j', 'k', 'u', 0, 'm', 'l', 't', 0, 'v', 'w', 'n'};
    const int columns = Tn3270State.Columns3270;
    const int size = Tn3270State.BufferSize;
    for (int a = 0; a < size; ++a) {
        if (Ebcdic3270()[a] != kEbcdicPlus) continue;
        const int column = a % columns;
        int index = 0;
        if (a >= columns && IsLine(a - columns, 'x')) index |= 1;
        if (a + columns < size && IsLine(a + columns, 'x')) index |= 2;
        if (column > 0 && IsLine(a - 1, '-')) index |= 4;
        if (column < columns - 1 && a + 1 < size && IsLine(a + 1, '-')) index |= 8;
        if (kCorner[index]) {
            Chars3270()[a] = static_cast<uint8_t>(kCorner[index]);
            Flags3270()[a] |= kCellLine;
        }
    }
}

}  // namespace

void Draw3270Boxes()
{
    if (!Planes3270Ready() || Tn3270State.Columns3270 <= 0) return;
    DrawVerticalRuns();
    DrawCorners();
}
