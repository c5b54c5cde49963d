#include <gtest/gtest.h>

#include <cstring>

#include "session/session_record.h"
#include "shell/view_layout.h"
#include "shell/view_selection.h"

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
    // Cells 4x6, 5x8, 6x10, 8x13 pixels for heights -1 .. -4.
    const uint32_t sizes[] = {(6u << 16) | 4, (8u << 16) | 5, (10u << 16) | 6, (13u << 16) | 8};
    const struct { int columns, rows, roomWidth, roomHeight, height; } cases[] = {
        {80, 24, 300, 1000, 0},     // narrower than entry 0 x 80: the face's default height
        {80, 24, 400, 1000, -2},    // 5 x 80 = 400 fits exactly
        {80, 24, 470, 1000, -2},
        {132, 24, 800, 1000, -3},
        {80, 24, 2000, 1000, -4},   // everything fits: the largest measured
        {80, 24, 2000, 200, -2},    // the rows decide: 8 x 24 = 192, 10 x 24 = 240
        {80, 25, 2000, 200, -2},    // 8 x 25 = 200 just fits
        {80, 26, 2000, 200, -1},    // 8 x 26 = 208 does not
        {80, 24, 2000, 100, 0},     // not even entry 0's rows fit
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.height, FittingFontHeight(sizes, 4, c.columns, c.rows, c.roomWidth, c.roomHeight))
            << c.roomWidth << "x" << c.roomHeight;
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

namespace {

// A screen of `columns` x 24 cells of 8 x 16 pixels with a frame of 7, and a maximised frame.
struct GridFixture {
    explicit GridFixture(int columns)
    {
        rec.MaxCols = columns;
        rec.MaxRows = 24;
        rec.CellWidth = 8;
        rec.CellHeight = 16;
        rec.FrameSize = 7;
        m.maximised = true;
    }
    SettingsRecord rec{};
    FrameMetrics m;
};

// Margins of the grid: a maximised frame places it in the full screen by AlignDisplay; any other
// frame has FrameSize all round.
TEST(ViewLayout, FrameGeometryByAlignment)
{
    GridFixture grid(80);
    SettingsRecord& rec = grid.rec;
    FrameMetrics& m = grid.m;
    rec.HistoryRowsAlloc = 10;
    m.fullScreenWidth = 1000;   // spare 360
    m.fullScreenHeight = 700;   // spare 316 before menu and bars
    m.hasMenu = true;
    m.menuHeight = 20;
    m.captionHeight = 18;
    m.barsHeight = 40;          // spare 256
    m.vscrollWidth = 16;
    const struct { int align, history; bool caption; int left, top, right, bottom, halfX, halfY; } cases[] = {
        {0, 0, true, 7, 7, 353, 249, 180, 128},
        {4, 0, true, 180, 128, 180, 128, 180, 128},
        {8, 0, true, 353, 249, 7, 7, 180, 128},
        {5, 0, true, 353, 128, 7, 128, 180, 128},
        {0, 0, false, 7, 7, 353, 267, 180, 137},  // no caption: its height is spare too
        {4, 1, true, 172, 48, 172, 48, 172, 48},   // history rows above the screen; room for a scroll bar
    };
    for (const auto& c : cases) {
        rec.AlignDisplay = c.align;
        rec.HistoryView = c.history;
        m.hasCaption = c.caption;
        const FrameGeometry g = ComputeFrameGeometry(rec, m, false);
        SCOPED_TRACE(c.align);
        EXPECT_EQ(c.left, g.left);
        EXPECT_EQ(c.top, g.top);
        EXPECT_EQ(c.right, g.right);
        EXPECT_EQ(c.bottom, g.bottom);
        EXPECT_EQ(c.halfX, g.halfSpareX);
        EXPECT_EQ(c.halfY, g.halfSpareY);
        EXPECT_EQ(640 + 2 * c.halfX, g.docWidth);
        EXPECT_EQ(384 + 2 * c.halfY, g.docHeight);
    }
}

TEST(ViewLayout, FrameGeometryEdges)
{
    GridFixture grid(132);
    SettingsRecord& rec = grid.rec;
    FrameMetrics& m = grid.m;
    rec.AlignDisplay = 8;
    m.fullScreenWidth = 1000;  // narrower than the grid: no spare, the margins go to 0
    m.fullScreenHeight = 388;  // 4 pixels of spare: less than FrameSize
    FrameGeometry g = ComputeFrameGeometry(rec, m, true);
    EXPECT_EQ(-7, g.left);  // kept as computed with keepSize
    EXPECT_EQ(-1, g.docWidth);
    g = ComputeFrameGeometry(rec, m, false);
    EXPECT_EQ(0, g.left);
    EXPECT_EQ(7, g.right);
    EXPECT_EQ(0, g.top);
    EXPECT_EQ(1056, g.docWidth);
    m.maximised = false;
    g = ComputeFrameGeometry(rec, m, false);
    for (int v : {g.left, g.top, g.right, g.bottom, g.halfSpareX, g.halfSpareY}) EXPECT_EQ(7, v);
    EXPECT_EQ(1056 + 14, g.docWidth);
}

TEST(ViewLayout, SelectionPixelsAndStatus)
{
    const CellRect cells{2, -1, 6, 3};
    const PixelRect p = CellRectToPixels(cells, 5, GridMargins{4, 20, 4, 4}, 8, 16);
    EXPECT_EQ(20, p.left);
    EXPECT_EQ(52, p.right);
    EXPECT_EQ(4 * 16 + 20, p.top);
    EXPECT_EQ(8 * 16 + 20 - 1, p.bottom);
    EXPECT_EQ("3:0 4/4", SelectionStatusText(cells));
    EXPECT_TRUE((CellRect{3, 1, 3, 4}).IsEmpty());
    EXPECT_FALSE(cells.IsEmpty());
}

}  // namespace
