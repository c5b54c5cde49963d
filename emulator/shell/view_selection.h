// The screen selection in cells and its pixel rectangle. Rows count from the top of the visible
// screen; history rows above it are negative. Right and bottom are exclusive.
#pragma once

#include <string>

#include "shell/view_layout.h"

struct CellRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CellRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The program's selection and the selection as the view last painted it.
extern CellRect Selection;
extern CellRect PaintedSelection;

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// Document pixels of a cell rectangle; `rowOffset` is the number of history rows shown above the
// screen. The bottom is the last pixel row of the last cell row.
PixelRect CellRectToPixels(const CellRect& cells, int rowOffset, const GridMargins& margins, int cellWidth,
                           int cellHeight);

// The status text of a selection: "left:top width/height", left and top 1-based.
std::string SelectionStatusText(const CellRect& cells);
