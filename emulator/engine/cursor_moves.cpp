// Cursor motion, line feed and reverse index, and the moves to tab stops.
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"

namespace {

// The valid part of the tab-stop table.
int StopCount(const SettingsRecord& rec) { return ClampInt(rec.TabStopCount, 0, kMaxTabStops); }

}  // namespace

void CarriageReturn(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { rec.CursorCol = 0; }

void CursorLeft(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.CursorCol > 0) --rec.CursorCol;
}

void CursorRight(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorCol = ClampInt(rec.CursorCol + 1, 0, LastColumn(rec));
}

void CursorUp(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n)
{
    const bool wyse = WyseEmulation(rec);
    if (wyse && rec.MaxRows > 0) {
        if (n > rec.MaxRows) n %= rec.MaxRows;
        if (n == 0) n = rec.MaxRows;
    }
    const ScrollRegion region = Region(rec);
    int row = rec.CursorRow - n;
    if (row < region.top) {
        if (wyse)
            row += rec.MaxRows;
        else  // the top margin stops the cursor only from inside the region
            row = rec.CursorRow >= region.top ? region.top : 0;
    }
    rec.CursorRow = ClampInt(row, 0, LastRow(rec));
}

void CursorUpOne(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { CursorUp(window, rec, dirty, 1); }

void CursorPosition(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int row, int column)
{
    rec.CursorRow = ClampInt(row > 0 ? row - 1 : 0, 0, LastRow(rec));
    rec.CursorCol = ClampInt(column > 0 ? column - 1 : 0, 0, LastColumn(rec));
}

void CursorHome(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorRow = 0;
    rec.CursorCol = 0;
}

void TabForward(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    int target = LastColumn(rec);
    for (int i = 0; i < StopCount(rec); ++i) {
        if (rec.TabStops[i] > rec.CursorCol) {
            target = rec.TabStops[i];
            break;
        }
    }
    rec.CursorCol = ClampInt(target, 0, LastColumn(rec));
}

void TabBackward(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    int target = rec.TabStops[0];
    for (int i = StopCount(rec) - 1; i >= 0; --i) {
        if (rec.TabStops[i] < rec.CursorCol) {
            target = rec.TabStops[i];
            break;
        }
    }
    rec.CursorCol = ClampInt(target, 0, LastColumn(rec));
}

void LineFeed(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const ScrollRegion region = Region(rec);
    if (rec.CursorRow != region.bottom) {
        rec.CursorRow = ClampInt(rec.CursorRow + 1, 0, LastRow(rec));
        return;
    }
    if (SlideScreenUp(window, rec, dirty)) return;
    if (rec.HistoryRowsAlloc > 0) ScrollIntoHistory(window, rec, dirty, 1);
    DeleteLines(window, rec, dirty, 1, region.top);
}

void ReverseIndex(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    // Only the top margin scrolls; anywhere else, the region's rows below or above it included,
    // the cursor goes up one row and stops at the top of the screen.
    const ScrollRegion region = Region(rec);
    if (rec.CursorRow == region.top)
        InsertLines(window, rec, dirty, 1, region.top);
    else
        rec.CursorRow = ClampInt(rec.CursorRow - 1, 0, LastRow(rec));
}
