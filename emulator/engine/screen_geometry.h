// Small geometry helpers shared by the screen actions: the visible cell count, rows and columns
// kept inside the screen, and the scroll region as it can safely be used.
#pragma once

#include "session/session_record.h"

// Visible cells: MaxRows x MaxCols, never more than the planes hold.
inline int ScreenCellCount(const SettingsRecord& rec)
{
    if (rec.MaxRows <= 0 || rec.MaxCols <= 0) return 0;
    const long long cells = static_cast<long long>(rec.MaxRows) * rec.MaxCols;
    return cells > kScreenCells ? kScreenCells : static_cast<int>(cells);
}

// The rows the planes hold at a width: for the two screen widths a constant, so that the cursor
// moves and printable runs that ask for the last row pay no division.
inline int RowsThatFit(int cols)
{
    if (cols == kNarrowColumns) return kScreenCells / kNarrowColumns;
    if (cols == kWideColumns) return kScreenCells / kWideColumns;
    return kScreenCells / cols;
}

// The last row that both the screen and the planes have.
inline int LastRow(const SettingsRecord& rec)
{
    if (rec.MaxRows <= 0 || rec.MaxCols <= 0) return 0;
    const int fit = RowsThatFit(rec.MaxCols);
    return (rec.MaxRows < fit ? rec.MaxRows : fit) - 1;
}
inline int LastColumn(const SettingsRecord& rec) { return rec.MaxCols > 0 ? rec.MaxCols - 1 : 0; }

inline int ClampInt(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// The scroll region inside the screen (top <= bottom <= last row).
struct ScrollRegion {
    int top;
    int bottom;
};
inline ScrollRegion Region(const SettingsRecord& rec)
{
    const int bottom = ClampInt(rec.ScrollBottom, 0, LastRow(rec));
    const int top = ClampInt(rec.ScrollTop, 0, bottom);
    return ScrollRegion{top, bottom};
}

// The visible-screen offset of the cursor, kept inside the screen.
inline int CursorOffset(const SettingsRecord& rec)
{
    return ClampInt(rec.CursorRow, 0, LastRow(rec)) * rec.MaxCols + ClampInt(rec.CursorCol, 0, LastColumn(rec));
}

// True for the Wyse emulation codes 8, 9 and 12.
inline bool WyseEmulation(const SettingsRecord& rec)
{
    return rec.Terminal == 8 || rec.Terminal == 9 || rec.Terminal == 12;
}
