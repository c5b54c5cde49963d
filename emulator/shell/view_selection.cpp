// The selection rectangle's arithmetic; see view_selection.h.
#include "shell/view_selection.h"

#include <cstdio>

CellRect Selection;
CellRect PaintedSelection;

PixelRect CellRectToPixels(const CellRect& c, int rowOffset, const GridMargins& m, int cellWidth, int cellHeight)
{
    PixelRect p;
    p.top = (rowOffset + c.top) * cellHeight + m.top;
    p.bottom = (rowOffset + c.bottom) * cellHeight + m.top - 1;
    p.left = c.left * cellWidth + m.left;
    p.right = c.right * cellWidth + m.left;
    return p;
}

std::string SelectionStatusText(const CellRect& c)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d:%d %d/%d", c.left + 1, c.top + 1, c.right - c.left, c.bottom - c.top);
    return text;
}
