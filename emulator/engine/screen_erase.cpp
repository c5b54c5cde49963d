// Clearing and erasing the screen, and the screen-size switches that clear it.
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"

namespace {

int CursorRowOf(const SettingsRecord& rec) { return ClampInt(rec.CursorRow, 0, LastRow(rec)); }
int CursorColOf(const SettingsRecord& rec) { return ClampInt(rec.CursorCol, 0, LastColumn(rec)); }

// After a size change: full region, clear screen, home, and the frame re-fits.
void ResetRegionClearAndRefit(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.ScrollTop = 0;
    rec.ScrollBottom = static_cast<uint8_t>(ClampInt(LastRow(rec), 0, 255));
    ClearScreen(window, rec, dirty);
    rec.CursorRow = 0;
    rec.CursorCol = 0;
    View().SendScaleViewToFont(window);
}

}  // namespace

void ClearScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    SaveScreenToHistory(window, rec, dirty);
    FillScreenCells(rec, ScreenCellCount(rec), 0, ' ', 0);
    DirtyScreen(rec, dirty);
}

void ClearScreenAndHome(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    ClearScreen(window, rec, dirty);
    CursorHome(window, rec, dirty);
}

void EraseToEndOfScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.CursorRow == 0 && rec.CursorCol == 0) {
        ClearScreenAndHome(window, rec, dirty);
        return;
    }
    const int at = CursorOffset(rec);
    FillScreenCells(rec, ScreenCellCount(rec) - at, at, ' ', 0);
    DirtyRows(rec, dirty, CursorRowOf(rec), LastRow(rec));
}

void EraseToEndOfScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                          uint8_t character)
{
    const int at = CursorOffset(rec);
    EraseCells(window, rec, dirty, ScreenCellCount(rec) - at, at, keepAttributes, character);
    DirtyRows(rec, dirty, CursorRowOf(rec), LastRow(rec));
}

void EraseFromStartOfScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty,
                              bool keepAttributes, uint8_t character)
{
    EraseCells(window, rec, dirty, CursorOffset(rec) + 1, 0, keepAttributes, character);
    DirtyRows(rec, dirty, 0, CursorRowOf(rec));
}

void EraseScreenEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                   uint8_t character)
{
    EraseCells(window, rec, dirty, rec.MaxCols * rec.MaxRows, 0, keepAttributes, character);
    DirtyRows(rec, dirty, 0, LastRow(rec));
}

void EraseToEndOfLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                        uint8_t character)
{
    const int col = CursorColOf(rec);
    EraseCells(window, rec, dirty, rec.MaxCols - col, CursorOffset(rec), keepAttributes, character);
    DirtyRestOfRow(rec, dirty, CursorRowOf(rec), col);
}

void EraseFromStartOfLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty,
                            bool keepAttributes, uint8_t character)
{
    const int row = CursorRowOf(rec);
    const int col = CursorColOf(rec);
    EraseCells(window, rec, dirty, col + 1, row * rec.MaxCols, keepAttributes, character);
    DirtyRowUpTo(rec, dirty, row, col);
}

void EraseLineEx(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool keepAttributes,
                 uint8_t character)
{
    const int row = CursorRowOf(rec);
    EraseCells(window, rec, dirty, rec.MaxCols, row * rec.MaxCols, keepAttributes, character);
    DirtyRows(rec, dirty, row, row);
}

void SetColumnsAndClear(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int columns)
{
    SetColumns(rec, columns);
    ResetRegionClearAndRefit(window, rec, dirty);
}

void SetRowsAndClear(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int rows)
{
    // A row count the planes cannot hold is refused; the clear still happens.
    if (ValidScreenGeometry(rows, rec.MaxCols)) rec.MaxRows = rows;
    ResetRegionClearAndRefit(window, rec, dirty);
}
