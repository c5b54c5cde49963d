#include "engine/dirty_rect.h"

#include <algorithm>

namespace {

int X(const SettingsRecord& rec, int c) { return c * rec.CellWidth - rec.ScrollPosX; }
int Y(const SettingsRecord& rec, int r) { return r * rec.CellHeight - rec.ScrollPosY; }

void Grow(DirtyRect& dirty, int left, int top, int right, int bottom)
{
    dirty.left = std::min(dirty.left, left);
    dirty.top = std::min(dirty.top, top);
    dirty.right = std::max(dirty.right, right);
    dirty.bottom = std::max(dirty.bottom, bottom);
}

}  // namespace

void DirtyCell(const SettingsRecord& rec, DirtyRect& dirty, int r, int c)
{
    Grow(dirty, X(rec, c), Y(rec, r), X(rec, c + 1), Y(rec, r + 1));
}

void DirtyRows(const SettingsRecord& rec, DirtyRect& dirty, int a, int b)
{
    Grow(dirty, X(rec, 0), Y(rec, a), X(rec, rec.MaxCols), Y(rec, b + 1));
}

void DirtyRestOfRow(const SettingsRecord& rec, DirtyRect& dirty, int r, int c)
{
    Grow(dirty, X(rec, c), Y(rec, r), X(rec, rec.MaxCols), Y(rec, r + 1));
}

void DirtyRowUpTo(const SettingsRecord& rec, DirtyRect& dirty, int r, int c)
{
    Grow(dirty, X(rec, 0), Y(rec, r), X(rec, c + 1), Y(rec, r + 1));
}

void DirtyScreen(const SettingsRecord& rec, DirtyRect& dirty)
{
    Grow(dirty, X(rec, 0), Y(rec, 0), X(rec, rec.MaxCols), Y(rec, rec.MaxRows));
}

void CursorCellDirty(const SettingsRecord& rec, DirtyRect& dirty)
{
    if (dirty.right != 0) return;
    dirty.left = X(rec, rec.CursorCol);
    dirty.top = Y(rec, rec.CursorRow);
    dirty.right = X(rec, rec.CursorCol + 1);
    dirty.bottom = Y(rec, rec.CursorRow + 1);
}
