#include <gtest/gtest.h>

#include <cstring>

#include "shell/session_record.h"
#include "shell/view_layout.h"

namespace {

TEST(ViewLayout, ClipBoxesToCells)
{
    const GridMargins m{4, 20, 4, 4};
    const struct { int l, t, r, b; CellSpan span; } cases[] = {
        {0, 0, 100, 10, {0, 0, 0, 11}},         // inside the top margin: still row 0
        {4, 20, 12, 36, {0, 0, 0, 0}},          // exactly one cell
        {0, 0, 10000, 10000, {0, 23, 0, 79}},   // more than the screen
        {44, 52, 53, 69, {2, 3, 5, 6}},
    };
    for (const auto& c : cases) {
        const CellSpan s = CellsInClip(c.l, c.t, c.r, c.b, 24, 80, m, 8, 16);
        EXPECT_EQ(c.span.firstRow, s.firstRow);
        EXPECT_EQ(c.span.lastRow, s.lastRow);
        EXPECT_EQ(c.span.firstCol, s.firstCol);
        EXPECT_EQ(c.span.lastCol, s.lastCol);
    }
}

TEST(ViewLayout, RunsEndWhereColoursOrFlagsChange)
{
    const uint8_t fg[] = {7, 7, 7, 2, 2, 2, 2};
    const uint8_t bg[] = {0, 0, 0, 0, 0, 0, 0};
    const uint8_t fl[] = {0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(2, CellRunLength(fg, bg, fl, 0, 6));
    EXPECT_EQ(1, CellRunLength(fg, bg, fl, 2, 6));
    EXPECT_EQ(4, CellRunLength(fg, bg, fl, 3, 6));
    EXPECT_EQ(2, CellRunLength(fg, bg, fl, 3, 4));  // the clip's last column ends it
}

TEST(ViewLayout, BoxColours)
{
    int32_t fgMap[kColorIndices] = {}, bgMap[kColorIndices] = {};
    fgMap[5] = 2;
    bgMap[6] = 3;
    const struct { int fg, bg; int outFg, outBg, kind; bool fromFg; } cases[] = {
        {5, 1, 5, 0, 2, true},     // out box on the normal background
        {0, 5, 0, 5, 0, false},    // no box: own colours
        {19, 6, 6, 19, 3, false},  // edit box: fg equals the box background, bg is taken
        {5, 0, 5, 0, 2, true},
    };
    for (const auto& c : cases) {
        const RunColors r = ColorsOfCell(c.fg, c.bg, fgMap, bgMap, 0);
        EXPECT_EQ(c.outFg, r.fg);
        EXPECT_EQ(c.outBg, r.bg);
        EXPECT_EQ(c.kind, r.boxKind);
        EXPECT_EQ(c.fromFg, r.kindFromFg);
    }
    fgMap[0] = 1;  // fg and bg both equal the box background: colour 13
    const RunColors r = ColorsOfCell(0, 0, fgMap, bgMap, 0);
    EXPECT_EQ(13, r.fg);
    EXPECT_EQ(0, r.bg);
    EXPECT_EQ(7, ColorsOfCell(7, 2, nullptr, nullptr, 0).fg);
}

TEST(ViewLayout, LineGlyphs)
{
    EXPECT_EQ(' ', FindLineGlyph('q').glyph);
    EXPECT_EQ(5, FindLineGlyph('x').segments[0][0]);
    EXPECT_EQ(-1, FindLineGlyph('x').segments[1][0]);
    EXPECT_EQ('+', FindLineGlyph('g').glyph);
    EXPECT_EQ(1, FindLineGlyph(0xDB).fill);
    EXPECT_EQ('?', FindLineGlyph('Q').glyph);  // not in the table
    EXPECT_EQ(-1, FindLineGlyph('Q').segments[0][0]);
}

TEST(ViewLayout, FontHeightThatFitsTheView)
{
    // Widths 4, 5, 6, 8 pixels for heights -1 .. -4.
    const uint32_t sizes[] = {(6u << 16) | 4, (8u << 16) | 5, (10u << 16) | 6, (13u << 16) | 8};
    const struct { int columns, viewWidth, height; } cases[] = {
        {80, 300, 0},    // narrower than entry 0 x 80: the face's default height
        {80, 400, -1},   // 5 x 80 = 400 reaches it: the height of entry 0
        {80, 470, -2},
        {132, 700, -2},
        {80, 2000, -9},  // nothing reaches it: the height stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.height, FittingFontHeight(sizes, 4, c.columns, c.viewWidth, -9)) << c.viewWidth;
}

TEST(ViewLayout, BoldColoursStayWithinTheTable)
{
    std::memset(Rec, 0, sizeof(SettingsRecord));
    for (int i = 0; i < kColorIndices; ++i) Rec->ColorPalette[i] = 0x100u + i;
    Rec->AttrColors[0][kAttrFg] = 7;
    Rec->AttrColors[0][kAttrBg] = 0;
    Rec->AttrColors[1][kAttrFg] = 13;  // 13 + 10 would be past the table: 13 - 10
    Rec->AttrColors[1][kAttrBg] = 9;
    DeriveViewColors(*Rec);
    EXPECT_EQ(0x107u, Rec->ColorPalette[0]);
    EXPECT_EQ(0x100u, Rec->ColorPalette[1]);
    EXPECT_EQ(0x103u, Rec->ColorPalette[10]);
    EXPECT_EQ(0x113u, Rec->ColorPalette[11]);
}

}  // namespace
