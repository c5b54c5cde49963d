// The terminal view's window-free arithmetic: which cells a clip box covers, how a row splits
// into runs of equal cells, the colours and 3-D box kind of a run, the glyphs of line-drawing
// cells, and the colours the view derives from the attribute colours.
#pragma once

#include <cstdint>

struct SettingsRecord;

// Cell flags (flags plane).
enum CellFlag : uint8_t {
    kCellUnderline = 0x01,
    kCellBold = 0x02,
    kCellLineDrawing = 0x08,
    kCellDoubleWidth = 0x10,
    kCellDoubleTop = 0x20,
    kCellDoubleBottom = 0x40,
    kCellHotspot = 0x80,
};

// Pixel margins of the grid in the document.
struct GridMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Inclusive cell rectangle.
struct CellSpan {
    int firstRow = 0, lastRow = -1, firstCol = 0, lastCol = -1;
};

// The cells a clip box (document pixels, right and bottom exclusive) covers; divisions truncate
// toward zero, so a box inside the top margin still covers row 0.
CellSpan CellsInClip(int clipLeft, int clipTop, int clipRight, int clipBottom, int rows, int cols,
                     const GridMargins& margins, int cellWidth, int cellHeight);

// The length of the run of cells starting at `col` (at most to `lastCol`) that share foreground,
// background and flags; the three pointers address the row's first cell.
int CellRunLength(const uint8_t* fg, const uint8_t* bg, const uint8_t* flags, int col, int lastCol);

// The colours a run is drawn in.
struct RunColors {
    int fg = 0, bg = 0;
    int boxKind = 0;          // 0 none, 1 in, 2 out, 3 edit box
    bool kindFromFg = false;  // the kind came from the foreground map
};
// Without box maps (null) the cell's own colours; with them, box cells get the box background
// (19 for edit boxes, else the normal background) and a foreground that stays readable on it.
RunColors ColorsOfCell(int fg, int bg, const int32_t* boxMapFg, const int32_t* boxMapBg, int normalBg);
// The box kind of a neighbour cell from the map the run's own kind came from.
int BoxKindOf(int fg, int bg, const int32_t* boxMapFg, const int32_t* boxMapBg, bool fromFg);

// One row of the line-drawing glyph table: the character drawn, the fill (0 lines, 1-9 solid,
// 10 and above hatched) and up to three segments in tenths of the cell (x1 < 0 ends the list).
struct LineGlyph {
    uint8_t code;
    uint8_t glyph;
    uint8_t fill;
    int32_t segments[3][4];
};
// The row of a character; characters the table does not hold get the end row ('?', no segments).
const LineGlyph& FindLineGlyph(uint8_t code);

// Font sizes measured for the view's font scaling: entry i holds (height << 16) | width of the
// font made with height -(i + 1).
inline int PackedFontWidth(uint32_t entry) { return static_cast<int>(entry & 0xFFFF); }
inline int PackedFontHeight(uint32_t entry) { return static_cast<int>(entry >> 16); }
// The height of the largest measured font whose cells fit `columns` x `rows` into a room of
// `roomWidth` x `roomHeight` pixels: -(i + 1) for the largest such entry i; 0 (the face's default
// height) when not even entry 0 fits.
int FittingFontHeight(const uint32_t* sizes, int count, int columns, int rows, int roomWidth, int roomHeight);

// What the margins of the grid are computed from: the frame's state and the system's metrics
// (pixels).
struct FrameMetrics {
    bool maximised = false;
    int fullScreenWidth = 0, fullScreenHeight = 0;  // the client area of a full-screen window
    bool hasMenu = false, hasCaption = true;
    int menuHeight = 0, captionHeight = 0;
    int barsHeight = 0;    // the visible toolbar and status bar together
    int vscrollWidth = 0;  // a vertical scroll bar
};
// Spares and margins of the grid: a maximised frame places the grid in the full screen by
// AlignDisplay (rows 0-2 top, 3-5 middle, 6-8 bottom; columns 0, 3, 6 left, 1, 4, 7 centre, 2, 5, 8
// right); any other frame has FrameSize on every side. Without keepSize negative values become 0
// and `docWidth`/`docHeight` get the document size.
struct FrameGeometry {
    int halfSpareX = 0, halfSpareY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int docWidth = -1, docHeight = -1;  // -1: unchanged (keepSize)
};
FrameGeometry ComputeFrameGeometry(const SettingsRecord& rec, const FrameMetrics& metrics, bool keepSize);
// Stores the spares and margins in the record.
void ApplyFrameGeometry(SettingsRecord& rec, const FrameGeometry& geometry);

// The palette indices of the dark and the light edge of 3-D lines (underlines, boxes, frames,
// buttons), chosen to differ from the colour `avoid` they are drawn on.
inline int DarkEdgeIndex(int avoid) { return avoid == 12 ? 2 : 12; }
inline int LightEdgeIndex(int avoid) { return avoid == 19 ? 9 : 19; }

// Palette entries 0, 1, 10 and 11 from the attribute colours of entries 0 and 1 (the bold
// colours 10 and 11 are ten steps away from entry 1's, stepping back when that would leave the
// 20 colours).
void DeriveViewColors(SettingsRecord& rec);
