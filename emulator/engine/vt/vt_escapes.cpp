// The two-byte escape sequences (ESC final) and the line attributes (ESC # n).
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_interpreter.h"

namespace {

void SaveCursor(SettingsRecord& rec)
{
    SavedCursorState& saved = rec.SavedCursor;
    saved.Col = rec.CursorCol;
    saved.Row = rec.CursorRow;
    saved.CurFg = rec.CurFg;
    saved.CurBg = rec.CurBg;
    saved.HostFg = rec.HostFg;
    saved.HostBg = rec.HostBg;
    saved.CellFlags = rec.CellFlags;
    for (int i = 0; i < kSgrFlagCount; ++i) saved.SgrFlags[i] = rec.SgrFlags[i];
}

void RestoreCursor(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const SavedCursorState& saved = rec.SavedCursor;
    if (saved.Row == -1) {
        rec.WrapPending = 0;
        CursorHome(window, rec, dirty);
        ResetRendition(window, rec, dirty);
        return;
    }
    // The screen may have changed size since the save.
    rec.WrapPending = 0;
    rec.CursorCol = ClampInt(saved.Col, 0, LastColumn(rec));
    rec.CursorRow = ClampInt(saved.Row, 0, LastRow(rec));
    rec.CurFg = saved.CurFg;
    rec.CurBg = saved.CurBg;
    rec.HostFg = saved.HostFg;
    rec.HostBg = saved.HostBg;
    rec.CellFlags = saved.CellFlags;
    for (int i = 0; i < kSgrFlagCount; ++i) rec.SgrFlags[i] = saved.SgrFlags[i];
}

// Only the bottom margin scrolls; anywhere else the cursor goes down one row and stops at the
// bottom of the screen.
void Index(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const ScrollRegion region = Region(rec);
    if (rec.CursorRow == region.bottom)
        DeleteLines(window, rec, dirty, 1, region.top);
    else
        rec.CursorRow = ClampInt(rec.CursorRow + 1, 0, LastRow(rec));
}

}  // namespace

void ExecuteEscape(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty, int fromVt)
{
    switch (byte) {
    case '&':
        rec.StringCommandNumber = 38;
        rec.StringCommandLength = 0;
        return;
    case '7': SaveCursor(rec); return;
    case '8': RestoreCursor(window, rec, dirty); return;
    case 'Q':  // the console's function-key skip; nothing for VT
        if (!fromVt) rec.FunctionKeySkip = 1;
        return;
    default: break;
    }
    if (!fromVt) return;
    switch (byte) {
    case '=': rec.AppKeypad = 1; break;
    case '>': rec.AppKeypad = 2; break;
    case 'D':
        rec.WrapPending = 0;
        Index(window, rec, dirty);
        break;
    case 'E':
        rec.WrapPending = 0;
        CarriageReturn(window, rec, dirty);
        LineFeed(window, rec, dirty);
        break;
    case 'H': SetTabStop(window, rec, dirty); break;
    case 'M':
        rec.WrapPending = 0;
        ReverseIndex(window, rec, dirty);
        break;
    case 'N': rec.CharsetDesignation[kCsSingleShift] = 2; break;
    case 'O': rec.CharsetDesignation[kCsSingleShift] = 3; break;
    case 'c': ResetTerminal(rec); break;
    case 'n': rec.CharsetDesignation[kCsGL] = 2; break;
    case 'o': rec.CharsetDesignation[kCsGL] = 3; break;
    case '~': rec.CharsetDesignation[kCsGR] = 1; break;
    case '}': rec.CharsetDesignation[kCsGR] = 2; break;
    case '|': rec.CharsetDesignation[kCsGR] = 3; break;
    default: break;
    }
}

void ExecuteLineAttribute(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    if (byte < '3' || byte > '6' || rec.MaxCols <= 0) return;
    uint8_t* flags = rec.FlagsScreen + ClampInt(rec.CursorRow, 0, LastRow(rec)) * rec.MaxCols;
    for (int c = 0; c < rec.MaxCols; ++c) {
        switch (byte) {
        case '3': flags[c] = static_cast<uint8_t>((flags[c] & ~0x60) | 0x20); break;
        case '4': flags[c] = static_cast<uint8_t>((flags[c] & ~0x60) | 0x40); break;
        case '5': flags[c] = static_cast<uint8_t>(flags[c] & ~0x70); break;
        case '6': flags[c] = static_cast<uint8_t>(flags[c] | 0x10); break;
        }
    }
}
