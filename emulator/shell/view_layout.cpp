// The terminal view's window-free arithmetic; see view_layout.h.
#include "shell/view_layout.h"

#include <algorithm>

#include "session/session_record.h"

namespace {

constexpr int kEditBoxBackground = 19;
constexpr int kReadableFallback = 13;

// Rows: code, glyph, fill, then segments (x1, y1, x2, y2 in tenths).
#define SEG(a, b, c, d) {a, b, c, d}
#define END SEG(-1, 0, 0, 0)
const LineGlyph kLineGlyphs[] = {
    {'q', ' ', 0, {SEG(0, 5, 10, 5), END, END}},
    {'x', ' ', 0, {SEG(5, 0, 5, 10), END, END}},
    {'j', ' ', 0, {SEG(0, 5, 5, 5), SEG(5, 0, 5, 5), END}},
    {'k', ' ', 0, {SEG(0, 5, 5, 5), SEG(5, 5, 5, 10), END}},
    {'l', ' ', 0, {SEG(5, 5, 10, 5), SEG(5, 5, 5, 10), END}},
    {'m', ' ', 0, {SEG(5, 5, 10, 5), SEG(5, 0, 5, 5), END}},
    {'n', ' ', 0, {SEG(0, 5, 10, 5), SEG(5, 0, 5, 10), END}},
    {'t', ' ', 0, {SEG(5, 5, 10, 5), SEG(5, 0, 5, 10), END}},
    {'u', ' ', 0, {SEG(0, 5, 5, 5), SEG(5, 0, 5, 10), END}},
    {'v', ' ', 0, {SEG(0, 5, 10, 5), SEG(5, 0, 5, 5), END}},
    {'w', ' ', 0, {SEG(0, 5, 10, 5), SEG(5, 5, 5, 10), END}},
    {'a', ' ', 1, {SEG(0, 0, 10, 10), END, END}},
    {0xB0, ' ', 1, {SEG(0, 0, 10, 10), END, END}},
    {0xB1, ' ', 1, {SEG(0, 0, 10, 10), END, END}},
    {0xB2, ' ', 1, {SEG(0, 0, 10, 10), END, END}},
    {0xDB, ' ', 1, {SEG(0, 0, 10, 10), END, END}},
    {0xDC, ' ', 1, {SEG(0, 5, 10, 10), END, END}},
    {0xDD, ' ', 1, {SEG(0, 0, 5, 10), END, END}},
    {0xDE, ' ', 1, {SEG(5, 0, 10, 10), END, END}},
    {0xDF, ' ', 1, {SEG(0, 0, 10, 5), END, END}},
    {'o', ' ', 0, {SEG(0, 0, 10, 0), END, END}},
    {'p', ' ', 0, {SEG(0, 3, 10, 3), END, END}},
    {'r', ' ', 0, {SEG(0, 7, 10, 7), END, END}},
    {'s', ' ', 0, {SEG(0, 10, 10, 10), END, END}},
    {'g', '+', 0, {SEG(0, 10, 10, 10), END, END}},
    {'y', '<', 0, {SEG(0, 9, 9, 9), END, END}},
    {'z', '>', 0, {SEG(0, 9, 9, 9), END, END}},
    {'|', '=', 0, {SEG(2, 7, 8, 2), END, END}},
    {'_', ' ', 0, {SEG(0, 9, 10, 9), END, END}},
    {'-', ' ', 0, {SEG(0, 5, 10, 5), END, END}},
    {'`', ' ', 1, {SEG(1, 3, 9, 7), SEG(3, 1, 7, 9), END}},
    {'0', '?', 0, {END, END, END}},  // ends the table; serves every other character
};
#undef SEG
#undef END

int Truncate(int numerator, int denominator) { return denominator ? numerator / denominator : 0; }

int KindOf(const int32_t* map, int index) { return (index >= 0 && index < kColorIndices) ? (map[index] & 0xFFFF) : 0; }

}  // namespace

CellSpan CellsInClip(int clipLeft, int clipTop, int clipRight, int clipBottom, int rows, int cols,
                     const GridMargins& m, int cellWidth, int cellHeight)
{
    CellSpan span;
    span.firstRow = std::clamp(Truncate(clipTop - m.top, cellHeight), 0, std::max(rows - 1, 0));
    span.lastRow = std::min(rows - 1, Truncate(clipBottom - m.top - 1, cellHeight));
    span.firstCol = std::clamp(Truncate(clipLeft - m.left, cellWidth), 0, std::max(cols - 1, 0));
    span.lastCol = std::min(cols - 1, Truncate(clipRight - m.left - 1, cellWidth));
    return span;
}

int CellRunLength(const uint8_t* fg, const uint8_t* bg, const uint8_t* flags, int col, int lastCol)
{
    int next = col + 1;
    while (next <= lastCol && fg[next] == fg[col] && bg[next] == bg[col] && flags[next] == flags[col]) ++next;
    return next - col;
}

RunColors ColorsOfCell(int fg, int bg, const int32_t* boxMapFg, const int32_t* boxMapBg, int normalBg)
{
    RunColors c;
    c.fg = fg;
    c.bg = bg;
    if (!boxMapFg || !boxMapBg) return c;
    c.boxKind = KindOf(boxMapFg, fg);
    c.kindFromFg = c.boxKind != 0;
    if (!c.boxKind) c.boxKind = KindOf(boxMapBg, bg);
    if (!c.boxKind) return c;
    const int boxBg = c.boxKind == 3 ? kEditBoxBackground : normalBg;
    c.bg = boxBg;
    c.fg = fg != boxBg ? fg : (bg != boxBg ? bg : kReadableFallback);
    return c;
}

int BoxKindOf(int fg, int bg, const int32_t* boxMapFg, const int32_t* boxMapBg, bool fromFg)
{
    return fromFg ? KindOf(boxMapFg, fg) : KindOf(boxMapBg, bg);
}

const LineGlyph& FindLineGlyph(uint8_t code)
{
    for (const LineGlyph& row : kLineGlyphs)
        if (row.code == code || row.code == '0') return row;
    return kLineGlyphs[sizeof kLineGlyphs / sizeof kLineGlyphs[0] - 1];
}

int FittingFontHeight(const uint32_t* sizes, int count, int columns, int rows, int roomWidth, int roomHeight)
{
    int height = 0;
    for (int i = 0; i < count; ++i)
        if (PackedFontWidth(sizes[i]) * columns <= roomWidth && PackedFontHeight(sizes[i]) * rows <= roomHeight)
            height = -(i + 1);
    return height;
}

void DeriveViewColors(SettingsRecord& rec)
{
    auto index = [](int value) { return std::clamp(value, 0, kColorIndices - 1); };
    const int normalFg = index(rec.AttrColors[kAttrNormal][kAttrFg]);
    const int normalBg = index(rec.AttrColors[kAttrNormal][kAttrBg]);
    // Both colours are read before either entry is written: index 0 may be the background.
    const uint32_t fgColor = rec.ColorPalette[normalFg], bgColor = rec.ColorPalette[normalBg];
    rec.ColorPalette[0] = fgColor;
    rec.ColorPalette[1] = bgColor;
    const int step = normalFg < 10 ? 10 : -10;
    auto bold = [&](int value) {
        int i = value + step;
        if (i < 0 || i >= kColorIndices) i = value - step;  // stay within the 20 colours
        return index(i);
    };
    rec.ColorPalette[10] = rec.ColorPalette[bold(rec.AttrColors[1][kAttrFg])];
    rec.ColorPalette[11] = rec.ColorPalette[bold(rec.AttrColors[1][kAttrBg])];
}

namespace {

// The margin before the grid in one direction by the alignment's position (0 start, 1 centre,
// 2 end); the margin after it is what is left of the spare.
int LeadingMargin(int position, int spare, int frameSize)
{
    switch (position) {
    case 0: return std::min(frameSize, spare);
    case 1: return spare / 2;
    default: return spare - frameSize;
    }
}

}  // namespace

FrameGeometry ComputeFrameGeometry(const SettingsRecord& rec, const FrameMetrics& m, bool keepSize)
{
    FrameGeometry g;
    const int frame = rec.FrameSize;
    const bool history = rec.HistoryView != 0;
    if (m.maximised) {
        const int rows = rec.MaxRows + (history ? rec.HistoryRowsAlloc : 0);
        int spareY = m.fullScreenHeight - rows * rec.CellHeight;
        if (m.hasMenu) spareY -= m.menuHeight;
        if (!m.hasCaption) spareY += m.captionHeight;
        spareY -= m.barsHeight;
        if (history) spareY = std::max(spareY, 2 * frame);
        spareY = std::max(spareY, 0);
        const int align = std::clamp(rec.AlignDisplay, 0, 8);
        g.top = LeadingMargin(align / 3, spareY, frame);
        g.bottom = spareY - g.top;
        g.halfSpareY = spareY / 2;
        int spareX = m.fullScreenWidth - rec.MaxCols * rec.CellWidth;
        if (history && spareX >= m.vscrollWidth) spareX -= m.vscrollWidth;
        spareX = std::max(spareX, 0);
        g.left = LeadingMargin(align % 3, spareX, frame);
        g.right = spareX - g.left;
        g.halfSpareX = spareX / 2;
    } else {
        g.halfSpareX = g.halfSpareY = g.left = g.top = g.right = g.bottom = frame;
    }
    if (!keepSize) {
        for (int* v : {&g.halfSpareX, &g.halfSpareY, &g.left, &g.top, &g.right, &g.bottom}) *v = std::max(*v, 0);
        g.docWidth = rec.MaxCols * rec.CellWidth + 2 * g.halfSpareX;
        g.docHeight = rec.MaxRows * rec.CellHeight + 2 * g.halfSpareY;
    }
    return g;
}

void ApplyFrameGeometry(SettingsRecord& rec, const FrameGeometry& g)
{
    rec.HalfSpareX = g.halfSpareX;
    rec.HalfSpareY = g.halfSpareY;
    rec.LeftMargin = g.left;
    rec.TopMargin = g.top;
    rec.RightMargin = g.right;
    rec.BottomMargin = g.bottom;
}
