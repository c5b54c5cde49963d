// The screen selection in cells, and the arithmetic between the view's pixels and its cells.
// Rows count from the top of the visible screen; history rows above it are negative. Right and
// bottom are exclusive. Pixels are scroll-area pixels (a client point plus the scroll position).
#pragma once

#include <string>

#include "shell/view_layout.h"

struct SettingsRecord;

struct CellRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const CellRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CellRect& o) const { return !(*this == o); }
};

struct CellPoint {
    int col = 0, row = 0;
    bool operator==(const CellPoint& o) const { return col == o.col && row == o.row; }
};

// The program's selection and the selection as the view last painted it.
extern CellRect Selection;
extern CellRect PaintedSelection;
// Empties both (a change of the screen's width, rows or history makes a selection stale).
void ForgetSelection();

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
struct PixelPoint {
    int x = 0, y = 0;
};

// Document pixels of a cell rectangle; `rowOffset` is the number of history rows shown above the
// screen. The bottom is the last pixel row of the last cell row.
PixelRect CellRectToPixels(const CellRect& cells, int rowOffset, const GridMargins& margins, int cellWidth,
                           int cellHeight);

// The cell grid as the mouse meets it.
struct CellGrid {
    int cellWidth = 1, cellHeight = 1;
    int leftMargin = 0, topMargin = 0;
    int columns = 80;       // MaxCols
    int rows = 24;          // MaxRows
    int historyRows = 0;    // history rows shown above the screen (HistoryRowsAlloc in history view)
    int RowLimit() const { return historyRows + rows; }
};
// The grid of the record's geometry and history view.
CellGrid GridOf(const SettingsRecord& rec);

// The cell under a pixel, always a cell of the grid: rows 0 .. rows-1 (history rows negative),
// columns 0 .. columns-1; a point in a margin gives the nearest cell.
CellPoint PixelToCell(const CellGrid& grid, int x, int y);
// The cells a pixel rectangle covers more than half of (borders rounded to the nearest cell
// border), clamped to the grid.
CellRect PixelRectToCells(const CellGrid& grid, const PixelRect& pixels);
PixelRect CellRectToPixels(const CellGrid& grid, const CellRect& cells);
PixelPoint CellToPixel(const CellGrid& grid, CellPoint cell);
// Orders the corners: left <= right, top <= bottom.
PixelRect NormalizeRect(PixelRect r);
CellRect NormalizeRect(CellRect r);

// The client rectangle to repaint for a selection (scroll position subtracted): widened by one
// pixel at the top left and two at the bottom right, one and one while dragging.
PixelRect SelectionRepaintRect(const CellGrid& grid, const CellRect& cells, int scrollX, int scrollY, bool dragging);

// Select all: the whole screen, with the history rows in history view.
CellRect WholeScreen(const SettingsRecord& rec);
// The part of `cells` that lies in the planes (the screen, and the history rows in history view).
CellRect ClampToPlanes(const SettingsRecord& rec, const CellRect& cells);

// The status text of a selection: "left:top width/height", left and top 1-based.
std::string SelectionStatusText(const CellRect& cells);
