// Widening the dirty rectangle of a received block (view pixels) to cover changed cells.
//
// A cell (column c, row r) starts at x(c) = c x CellWidth - ScrollPosX, y(r) = r x CellHeight -
// ScrollPosY. Every form only ever grows the rectangle, so what an earlier action marked (the
// history rows after a scroll, for instance) stays marked.
#pragma once

#include "engine/engine_types.h"
#include "session/session_record.h"

// The cell of row r, column c.
void DirtyCell(const SettingsRecord& rec, DirtyRect& dirty, int r, int c);
// Whole rows a through b.
void DirtyRows(const SettingsRecord& rec, DirtyRect& dirty, int a, int b);
// Row r from column c to its end.
void DirtyRestOfRow(const SettingsRecord& rec, DirtyRect& dirty, int r, int c);
// Row r from its start through column c.
void DirtyRowUpTo(const SettingsRecord& rec, DirtyRect& dirty, int r, int c);
// The whole visible screen.
void DirtyScreen(const SettingsRecord& rec, DirtyRect& dirty);
// Only when the rectangle is still empty (right 0): exactly the cursor's cell.
void CursorCellDirty(const SettingsRecord& rec, DirtyRect& dirty);
