// The ADDS control bytes.
#include "engine/adds/adds_buffers.h"
#include "engine/adds/adds_interpreter.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/vt/vt_hooks.h"

void AddsControl(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    switch (byte) {
    case 0x01:
        rec.CursorCol = 0;
        rec.CursorRow = LastRow(rec);
        break;
    case 0x02: SetKeyboardLock(rec, 0); break;
    case 0x04: SetKeyboardLock(rec, 1); break;
    case 0x05: VtHooks.sendExpanded(window, rec.AnswerBack); break;
    case 0x06: CursorRight(window, rec, dirty); break;
    case 0x07: VtHooks.beep(rec.Beep); break;
    case 0x08:
    case 0x15: CursorLeft(window, rec, dirty); break;
    case 0x09: TabForward(window, rec, dirty); break;
    case 0x0A: LineFeed(window, rec, dirty); break;
    case 0x0B: rec.SequenceLength = kAddsRowAddress; break;
    case 0x0C:
        ClearScreenAndHome(window, rec, dirty);
        rec.SequenceLength = 0;
        rec.ProtectAttribute = 0;
        break;
    case 0x0D: CarriageReturn(window, rec, dirty); break;
    case 0x0E:
        if (rec.ProtectedReversed) {
            ResetRendition(window, rec, dirty);
            SetReverse(window, rec, dirty);
        }
        rec.ProtectAttribute = 1;
        break;
    case 0x0F:
        if (rec.ProtectedReversed) ResetRendition(window, rec, dirty);
        rec.ProtectAttribute = 0;
        break;
    case 0x10: rec.SequenceLength = kAddsColumnAddress; break;
    case 0x17: HideCursor(window, rec, dirty); break;
    case 0x18: ShowCursor(window, rec, dirty); break;
    case 0x1A:
        if (rec.CursorRow > rec.ScrollTop) --rec.CursorRow;
        rec.CursorRow = ClampInt(rec.CursorRow, 0, LastRow(rec));
        break;
    default: break;
    }
}
