// The selection rectangle's arithmetic; see view_selection.h.
#include "shell/view_selection.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "session/session_record.h"

CellRect Selection;
CellRect PaintedSelection;

void ForgetSelection()
{
    Selection = CellRect{};
    PaintedSelection = CellRect{};
}

PixelRect CellRectToPixels(const CellRect& c, int rowOffset, const GridMargins& m, int cellWidth, int cellHeight)
{
    PixelRect p;
    p.top = (rowOffset + c.top) * cellHeight + m.top;
    p.bottom = (rowOffset + c.bottom) * cellHeight + m.top - 1;
    p.left = c.left * cellWidth + m.left;
    p.right = c.right * cellWidth + m.left;
    return p;
}

CellGrid GridOf(const SettingsRecord& rec)
{
    CellGrid g;
    g.cellWidth = std::max(1, static_cast<int>(rec.CellWidth));
    g.cellHeight = std::max(1, static_cast<int>(rec.CellHeight));
    g.leftMargin = rec.LeftMargin;
    g.topMargin = rec.TopMargin;
    g.columns = std::max(1, static_cast<int>(rec.MaxCols));
    g.rows = std::max(1, static_cast<int>(rec.MaxRows));
    g.historyRows = rec.HistoryView ? std::max(0, static_cast<int>(rec.HistoryRowsAlloc)) : 0;
    return g;
}

CellPoint PixelToCell(const CellGrid& g, int x, int y)
{
    CellPoint p;
    p.row = std::clamp((y - g.topMargin) / g.cellHeight, 0, g.RowLimit() - 1) - g.historyRows;
    p.col = std::clamp((x - g.leftMargin) / g.cellWidth, 0, g.columns - 1);
    return p;
}

CellRect PixelRectToCells(const CellGrid& g, const PixelRect& r)
{
    const int limit = g.RowLimit();
    CellRect c;
    c.top = std::clamp((r.top + g.cellHeight / 2 - g.topMargin) / g.cellHeight, 0, limit);
    c.bottom = std::min((r.bottom + g.cellHeight / 2 - g.topMargin - 1) / g.cellHeight, limit);
    c.left = std::clamp((r.left + g.cellWidth / 2 - g.leftMargin) / g.cellWidth, 0, g.columns);
    c.right = std::min((r.right + g.cellWidth / 2 - g.leftMargin - 1) / g.cellWidth, g.columns);
    c.top -= g.historyRows;
    c.bottom -= g.historyRows;
    return c;
}

PixelRect CellRectToPixels(const CellGrid& g, const CellRect& cells)
{
    return CellRectToPixels(cells, g.historyRows, GridMargins{g.leftMargin, g.topMargin, 0, 0}, g.cellWidth,
                            g.cellHeight);
}

PixelPoint CellToPixel(const CellGrid& g, CellPoint cell)
{
    return PixelPoint{cell.col * g.cellWidth + g.leftMargin, (g.historyRows + cell.row) * g.cellHeight + g.topMargin};
}

PixelRect NormalizeRect(PixelRect r)
{
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

CellRect NormalizeRect(CellRect r)
{
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

PixelRect SelectionRepaintRect(const CellGrid& g, const CellRect& cells, int scrollX, int scrollY, bool dragging)
{
    PixelRect p = CellRectToPixels(g, cells);
    const int grow = dragging ? 1 : 2;
    return PixelRect{p.left - scrollX - 1, p.top - scrollY - 1, p.right - scrollX + grow, p.bottom - scrollY + grow};
}

CellRect WholeScreen(const SettingsRecord& rec)
{
    return CellRect{0, rec.HistoryView ? -static_cast<int>(rec.HistoryRowsAlloc) : 0, rec.MaxCols, rec.MaxRows};
}

CellRect ClampToPlanes(const SettingsRecord& rec, const CellRect& c)
{
    const CellRect all = WholeScreen(rec);
    CellRect r;
    r.left = std::clamp(c.left, all.left, all.right);
    r.right = std::clamp(c.right, all.left, all.right);
    r.top = std::clamp(c.top, all.top, all.bottom);
    r.bottom = std::clamp(c.bottom, all.top, all.bottom);
    return r;
}

std::string SelectionStatusText(const CellRect& c)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d:%d %d/%d", c.left + 1, c.top + 1, c.right - c.left, c.bottom - c.top);
    return text;
}
