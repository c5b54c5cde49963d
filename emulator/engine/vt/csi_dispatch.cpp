// CSI sequences without a marker, by final byte, for both interpreter families.
#include "engine/console/console_interpreter.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

// Down n rows: the bottom margin stops the cursor only from inside the region (or above it);
// below the region the bottom of the screen does.
void MoveDown(SettingsRecord& rec, int n)
{
    const int stop = rec.CursorRow <= rec.ScrollBottom ? rec.ScrollBottom : LastRow(rec);
    const int row = rec.CursorRow + n;
    rec.CursorRow = ClampInt(row > stop ? stop : row, 0, LastRow(rec));
}

void CursorPositionSequence(SettingsRecord& rec, int count, const int* params, int fromVt)
{
    int row = 1;
    int col = 1;
    if (count == 1) {
        row = params[0];
    } else if (count == 2) {
        row = params[0];
        col = params[1];
    }
    row = row > 0 ? row - 1 : 0;
    col = col > 0 ? col - 1 : 0;
    if (fromVt) rec.WrapPending = 0;
    if (rec.OriginMode) {
        row += rec.ScrollTop;
        if (row > rec.ScrollBottom) row = rec.ScrollBottom;
    }
    rec.CursorRow = ClampInt(row, 0, LastRow(rec));
    rec.CursorCol = ClampInt(col, 0, LastColumn(rec));
}

void EraseInDisplay(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int p, int fromVt)
{
    switch (p) {
    case 0: EraseToEndOfScreen(window, rec, dirty); break;
    case 1:
        FillScreenCells(rec, CursorOffset(rec) + 1, 0, ' ', 0);
        DirtyRows(rec, dirty, 0, ClampInt(rec.CursorRow, 0, LastRow(rec)));
        break;
    case 2:
        if (fromVt)
            ClearScreen(window, rec, dirty);
        else
            ClearScreenAndHome(window, rec, dirty);
        break;
    default: break;
    }
}

void EraseInLine(SettingsRecord& rec, DirtyRect& dirty, int p)
{
    const int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int start = row * rec.MaxCols;
    switch (p) {
    case 0:
        FillScreenCells(rec, rec.MaxCols - col, start + col, ' ', 0);
        DirtyRestOfRow(rec, dirty, row, col);
        break;
    case 1:
        FillScreenCells(rec, col + 1, start, ' ', 0);
        DirtyRowUpTo(rec, dirty, row, col);
        break;
    case 2:
        FillScreenCells(rec, rec.MaxCols, start, ' ', 0);
        DirtyRows(rec, dirty, row, row);
        break;
    default: break;
    }
}

bool InsideRegion(const SettingsRecord& rec) { return rec.CursorRow >= rec.ScrollTop && rec.CursorRow <= rec.ScrollBottom; }

void EraseCharacters(SettingsRecord& rec, DirtyRect& dirty, int n)
{
    const int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int room = rec.MaxCols - col;
    FillScreenCells(rec, n < room ? n : room, row * rec.MaxCols + col, ' ', 0);
    DirtyRestOfRow(rec, dirty, row, col);
}

// Console S and T: the whole screen (not the region) up or down n rows.
void ScrollWholeScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int n, bool up)
{
    const uint8_t top = rec.ScrollTop;
    const uint8_t bottom = rec.ScrollBottom;
    rec.ScrollTop = 0;
    rec.ScrollBottom = static_cast<uint8_t>(ClampInt(LastRow(rec), 0, 255));
    if (up)
        DeleteLines(window, rec, dirty, n, 0);
    else
        InsertLines(window, rec, dirty, n, 0);
    rec.ScrollTop = top;
    rec.ScrollBottom = bottom;
}

void BackTab(SettingsRecord& rec, int n)
{
    const int stops = ClampInt(rec.TabStopCount, 0, kMaxTabStops);
    int i = 0;
    while (i < stops && rec.TabStops[i] < rec.CursorCol) ++i;
    i = n > i ? 0 : i - n;
    rec.CursorCol = ClampInt(rec.TabStops[i < kMaxTabStops ? i : kMaxTabStops - 1], 0, LastColumn(rec));
}

void SetModes(ViewWindow window, SettingsRecord& rec, int count, const int* params, bool set, int fromVt)
{
    for (int i = 0; i < count; ++i) {
        switch (params[i]) {
        case 2:
            rec.KeyboardLocked = set ? 1 : 0;
            if (set)
                View().ShowStatusProgress(2, 100, "Keyboard locked", 255);
            else
                View().ShowStatusProgress(2, 0, "", 0);
            break;
        case 4:
            if (fromVt) rec.InsertMode = set ? 1 : 0;
            break;
        case 12: rec.LocalEchoNow = set ? 0 : 1; break;
        case 20:
            if (fromVt) rec.NewLineNow = set ? 1 : 0;
            break;
        default: break;
        }
    }
}

void ScrollRegionSequence(SettingsRecord& rec, int count, const int* params)
{
    const int rows = LastRow(rec) + 1;
    int top = 1;
    int bottom = rows;
    if (count == 1 || count == 2) {
        top = params[0] == 0 ? 1 : params[0];
        bottom = (count == 1 || params[1] == 0) ? rows : params[1];
        if (bottom > rows) bottom = rows;  // a bottom below the screen stops at its last row
        if (bottom <= top) {
            top = 1;
            bottom = rows;
        }
    }
    rec.ScrollTop = static_cast<uint8_t>(ClampInt(top - 1, 0, 255));
    rec.ScrollBottom = static_cast<uint8_t>(ClampInt(bottom - 1, 0, 255));
    rec.WrapPending = 0;
    rec.CursorCol = 0;
    rec.CursorRow = rec.OriginMode ? rec.ScrollTop : 0;
}

}  // namespace

void CsiDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params, DirtyRect& dirty,
                 int fromVt)
{
    const int n = SingleCount(count, params);
    const int p = params[0];
    const bool vt = fromVt != 0;
    switch (finalByte) {
    case '@': InsertBlanks(window, rec, dirty, n); break;
    case 'A':
        rec.WrapPending = 0;
        CursorUp(window, rec, dirty, n);
        break;
    case 'B':
        rec.WrapPending = 0;
        MoveDown(rec, n);
        break;
    case 'C':
        if (vt && rec.WrapPending) {
            CarriageReturn(window, rec, dirty);
            LineFeed(window, rec, dirty);
            rec.WrapPending = 0;
        }
        rec.CursorCol = ClampInt(rec.CursorCol + n, 0, LastColumn(rec));
        break;
    case 'D':
        if (vt && rec.WrapPending) {
            rec.WrapPending = 0;
            ++rec.CursorCol;
        }
        rec.CursorCol = ClampInt(rec.CursorCol - n, 0, LastColumn(rec));
        break;
    case 'E':
        if (vt) break;
        rec.CursorCol = 0;
        rec.CursorRow = ClampInt(rec.CursorRow + n, 0, LastRow(rec));
        break;
    case 'F':
        if (vt) break;
        rec.CursorCol = 0;
        rec.CursorRow = ClampInt(rec.CursorRow - n, 0, LastRow(rec));
        break;
    case 'H':
    case 'f': CursorPositionSequence(rec, count, params, fromVt); break;
    case 'J': EraseInDisplay(window, rec, dirty, p, fromVt); break;
    case 'K': EraseInLine(rec, dirty, p); break;
    case 'L':
        if (InsideRegion(rec)) InsertLines(window, rec, dirty, n, rec.CursorRow);
        break;
    case 'M':
        if (InsideRegion(rec)) DeleteLines(window, rec, dirty, n, rec.CursorRow);
        break;
    case 'P': DeleteChars(window, rec, dirty, n); break;
    case 'S':
        if (!vt) ScrollWholeScreen(window, rec, dirty, n, true);
        break;
    case 'T':
        if (!vt) ScrollWholeScreen(window, rec, dirty, n, false);
        break;
    case 'X': EraseCharacters(rec, dirty, n); break;
    case 'Z':
        if (!vt) BackTab(rec, n);
        break;
    case '`':
        if (!vt) rec.CursorCol = ClampInt(n - 1, 0, LastColumn(rec));
        break;
    case 'a':
        if (!vt) rec.CursorCol = ClampInt(rec.CursorCol + n, 0, LastColumn(rec));
        break;
    case 'c':
        if (vt) SendDeviceAttributes(window, rec);
        break;
    case 'd':
        if (!vt) rec.CursorRow = ClampInt(n - 1, 0, LastRow(rec));
        break;
    case 'e':
        if (!vt) rec.CursorRow = ClampInt(rec.CursorRow + n, 0, LastRow(rec));
        break;
    case 'g':
        if (!vt) {  // the console shows the character of code p ('?' for any other count)
            DisplayConsoleCharacter(window, rec, static_cast<uint8_t>(count == 1 ? p : '?'), dirty);
            break;
        }
        if (p == 3)
            ClearAllTabStops(window, rec, dirty);
        else
            ClearTabStop(window, rec, dirty);
        break;
    case 'h': SetModes(window, rec, count, params, true, fromVt); break;
    case 'l': SetModes(window, rec, count, params, false, fromVt); break;
    case 'i': MediaCopy(window, rec, count, params, dirty); break;
    case 'm': SelectGraphicRendition(rec, count, params, fromVt); break;
    case 'n':
        if (vt) SendStatusReport(window, rec, p);
        break;
    case 'r':
        if (vt) ScrollRegionSequence(rec, count, params);
        break;
    case 'y': VtHooks.hostCommand(window, rec, count, params, dirty); break;
    case '}':
        if (vt && params[count - 1] == '$') rec.StatusLineCapture = p == 1 ? 1 : 0;
        break;
    default: break;
    }
}
