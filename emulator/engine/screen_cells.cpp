// Filling, erasing, inserting and deleting cells in the five screen planes (characters,
// protection, foreground, background, flags). The history part of the planes is never touched.
#include <cstring>

#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"

namespace {

// The visible-screen planes that exist (the heap planes may be missing before allocation).
struct Planes {
    uint8_t* planes[5];
    int count = 0;
    explicit Planes(SettingsRecord& rec)
    {
        uint8_t* all[5] = {rec.CharsScreen, rec.ProtectionPlane, rec.FgScreen, rec.BgScreen, rec.FlagsScreen};
        for (uint8_t* p : all)
            if (p) planes[count++] = p;
    }
};

// Moves `count` cells from offset `from` to offset `to` in every plane (ranges may overlap).
void MoveCells(SettingsRecord& rec, int to, int from, int count)
{
    if (count <= 0) return;
    Planes planes(rec);
    for (int i = 0; i < planes.count; ++i) std::memmove(planes.planes[i] + to, planes.planes[i] + from, count);
}

// Clips a run to the visible screen; false when nothing is left.
bool ClipRun(const SettingsRecord& rec, int& count, int& offset)
{
    const int cells = ScreenCellCount(rec);
    if (offset < 0) {
        count += offset;
        offset = 0;
    }
    if (offset >= cells || count <= 0) return false;
    if (count > cells - offset) count = cells - offset;
    return true;
}

}  // namespace

void FillScreenCells(SettingsRecord& rec, int count, int offset, uint8_t character, uint8_t protection)
{
    if (!ClipRun(rec, count, offset)) return;
    std::memset(rec.ProtectionPlane + offset, protection, count);
    if (rec.CharsScreen) std::memset(rec.CharsScreen + offset, character, count);
    if (rec.FgScreen) std::memset(rec.FgScreen + offset, rec.NormalFg, count);
    if (rec.BgScreen) std::memset(rec.BgScreen + offset, HostBackground(rec), count);
    if (rec.FlagsScreen) std::memset(rec.FlagsScreen + offset, 0, count);
}

void EraseCells(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int count, int offset,
                bool keepAttributes, uint8_t character)
{
    if (count == rec.MaxCols * rec.MaxRows) SaveScreenToHistory(window, rec, dirty);
    if (!ClipRun(rec, count, offset) || !rec.CharsScreen) return;
    for (int i = offset; i < offset + count; ++i) {
        if (rec.ProtectMode && rec.ProtectionPlane[i] == 1) continue;
        rec.CharsScreen[i] = character;
        if (keepAttributes) {
            rec.FlagsScreen[i] &= 0x71;
        } else {
            rec.FgScreen[i] = rec.NormalFg;
            rec.BgScreen[i] = HostBackground(rec);
            rec.FlagsScreen[i] = 0;
        }
    }
}

void InsertLines(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n, int row)
{
    const ScrollRegion region = Region(rec);
    if (n <= 0 || row < 0 || row > region.bottom) return;
    const int k = region.bottom - row + 1;
    if (n >= k) {
        n = k;
    } else {
        MoveCells(rec, (row + n) * rec.MaxCols, row * rec.MaxCols, (k - n) * rec.MaxCols);
    }
    FillScreenCells(rec, n * rec.MaxCols, row * rec.MaxCols, ' ', 0);
    DirtyRows(rec, dirty, row, region.bottom);
}

void DeleteLines(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n, int row)
{
    const ScrollRegion region = Region(rec);
    if (n <= 0 || row < 0 || row > region.bottom) return;
    const int k = region.bottom - row + 1;
    if (n >= k) {
        n = k;
    } else {
        MoveCells(rec, row * rec.MaxCols, (row + n) * rec.MaxCols, (k - n) * rec.MaxCols);
    }
    FillScreenCells(rec, n * rec.MaxCols, (region.bottom - n + 1) * rec.MaxCols, ' ', 0);
    DirtyRows(rec, dirty, row, region.bottom);
}

void InsertLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const ScrollRegion region = Region(rec);
    if (rec.CursorRow >= region.top && rec.CursorRow <= region.bottom)
        InsertLines(window, rec, dirty, 1, rec.CursorRow);
}

void DeleteLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const ScrollRegion region = Region(rec);
    if (rec.CursorRow >= region.top && rec.CursorRow <= region.bottom)
        DeleteLines(window, rec, dirty, 1, rec.CursorRow);
}

void InsertBlanks(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n)
{
    if (n <= 0 || rec.MaxCols <= 0) return;
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int at = CursorOffset(rec);
    const int k = rec.MaxCols - col;
    if (n < k)
        MoveCells(rec, at + n, at, k - n);
    else
        n = k;
    FillScreenCells(rec, n, at, ' ', 0);
    DirtyRestOfRow(rec, dirty, ClampInt(rec.CursorRow, 0, LastRow(rec)), col);
}

void InsertBlank(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { InsertBlanks(window, rec, dirty, 1); }

void DeleteChars(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n)
{
    if (n <= 0 || rec.MaxCols <= 0) return;
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int at = CursorOffset(rec);
    const int k = rec.MaxCols - col;
    if (n < k)
        MoveCells(rec, at, at + n, k - n);
    else
        n = k;
    FillScreenCells(rec, n, at + k - n, ' ', 0);
    DirtyRestOfRow(rec, dirty, ClampInt(rec.CursorRow, 0, LastRow(rec)), col);
}

void DeleteChar(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty) { DeleteChars(window, rec, dirty, 1); }
