// The painter's view of the 3270 buffer; see cell_look.h.
#include "engine/ibm3270/cell_look.h"

#include "engine/colors.h"
#include "engine/ibm3270/field_model.h"

namespace {

constexpr uint8_t kLineCell = 0x08;
constexpr uint8_t kNonDisplay = 0x0C;
constexpr uint8_t kProtected = 0x20;

struct Field {
    uint8_t attribute, colour, highlight;
};

// The field of an address, its highlight with the cell's own line-drawing bit added.
Field FieldOf(int address)
{
    Field f{};
    Get3270FieldAttribute(address, f.attribute, f.colour, f.highlight);
    f.highlight = static_cast<uint8_t>(f.highlight | (Flags3270()[address] & kLineCell));
    return f;
}

bool Inside(int address) { return Planes3270Ready() && address >= 0 && address < Tn3270State.BufferSize; }

}  // namespace

Look3270 CellLook3270(int address)
{
    Look3270 look;
    if (!Inside(address)) return look;
    const Field f = FieldOf(address);
    // An attribute cell takes the protected colours. The protected bit is set, not added: an
    // already protected attribute would otherwise carry out of the byte and lose it.
    const int attribute = Is3270FieldAttribute(address) ? (f.attribute | kProtected) : f.attribute;
    int displayBits = 0;
    AttributeColors(attribute, f.colour, f.highlight, look.fg, look.bg, displayBits);
    look.flags = static_cast<uint8_t>(displayBits | (f.highlight & kLineCell));
    return look;
}

char CellText3270(int address)
{
    if (!Inside(address)) return ' ';
    const uint8_t c = Chars3270()[address];
    uint8_t attribute, colour, highlight;
    Get3270FieldAttribute(address, attribute, colour, highlight);
    if (c == 0 || (attribute & kNonDisplay) == kNonDisplay) return ' ';
    return static_cast<char>(c);
}

int RunLength3270(int address, int lastAddress)
{
    if (!Inside(address) || Is3270FieldAttribute(address)) return 1;
    if (lastAddress >= Tn3270State.BufferSize) lastAddress = Tn3270State.BufferSize - 1;
    const Field f = FieldOf(address);
    int next = address + 1;
    for (; next <= lastAddress; ++next) {
        if (Is3270FieldAttribute(next)) break;
        const uint8_t colour = Colour3270()[next];
        if (colour != 0 && colour != f.colour) break;
        const uint8_t highlight = Flags3270()[next];
        const bool same = highlight == f.highlight || (highlight == 0 && !(f.highlight & kLineCell));
        if (!same) break;
    }
    return next - address;
}
