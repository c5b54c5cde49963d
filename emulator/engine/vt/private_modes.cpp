// CSI ? sequences (selective erase, DEC private modes, private status requests) and character
// protection (CSI p " q).
#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

void SelectiveEraseInDisplay(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int p)
{
    switch (p) {
    case 0: EraseToEndOfScreenEx(window, rec, dirty, false, ' '); break;
    case 1: EraseFromStartOfScreenEx(window, rec, dirty, false, ' '); break;
    case 2: EraseScreenEx(window, rec, dirty, false, ' '); break;
    default: break;
    }
}

void SelectiveEraseInLine(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int p)
{
    switch (p) {
    case 0: EraseToEndOfLineEx(window, rec, dirty, false, ' '); break;
    case 1: EraseFromStartOfLineEx(window, rec, dirty, false, ' '); break;
    case 2: EraseLineEx(window, rec, dirty, false, ' '); break;
    default: break;
    }
}

// DECCOLM: the width changes (when the planes hold it), the region, screen and cursor reset.
void ColumnMode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int columns)
{
    SetColumns(rec, columns);
    rec.ScrollTop = 0;
    rec.ScrollBottom = static_cast<uint8_t>(rec.MaxRows > 0 && rec.MaxRows <= 256 ? rec.MaxRows - 1 : 0);
    ClearScreen(window, rec, dirty);
    rec.CursorRow = 0;
    rec.CursorCol = 0;
    rec.WrapPending = 0;
    VtHooks.frameRefit();
    View().SendScaleViewToFont(window);
}

void PrivateMode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int mode, bool set)
{
    switch (mode) {
    case 1: rec.AppCursorKeys = set ? 1 : 2; break;
    case 3: ColumnMode(window, rec, dirty, set ? 132 : 80); break;
    case 6: rec.OriginMode = set ? 1 : 0; break;
    case 7: rec.AutoWrapNow = set ? 1 : 0; break;
    case 25:
        if (set)
            rec.CursorFlags |= kCursorShown | kCaretRecreate;
        else
            rec.CursorFlags = (rec.CursorFlags & ~kCursorShown) | kCaretRecreate;
        CursorCellDirty(rec, dirty);
        break;
    case 42: VtHooks.setCharsetMode(rec, set ? 1 : 2); break;
    case 67: VtHooks.defineTerminalKey("BACKSPACE", set ? "<08>" : "<del>"); break;
    default: break;
    }
}

}  // namespace

void DecPrivateDispatch(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                        DirtyRect& dirty, int fromVt)
{
    switch (finalByte) {
    case 'J': SelectiveEraseInDisplay(window, rec, dirty, params[0]); break;
    case 'K': SelectiveEraseInLine(window, rec, dirty, params[0]); break;
    case 'h':
    case 'l':
        for (int i = 0; i < count; ++i) PrivateMode(window, rec, dirty, params[i], finalByte == 'h');
        break;
    case 'n':
        if (fromVt && count == 1) SendPrivateStatusReport(window, rec, params[0]);
        break;
    default: break;
    }
}

void SetCharacterProtection(ViewWindow window, SettingsRecord& rec, int finalByte, int count, const int* params,
                            DirtyRect& dirty, int fromVt)
{
    if (finalByte != 'q') return;
    rec.ProtectAttribute = params[0] == 1 ? 1 : 0;
}
