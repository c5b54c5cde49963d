// The C0 controls of the VT family.
#include "engine/screen_actions.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_interpreter.h"

void ExecuteC0Control(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty, int fromVt)
{
    switch (byte) {
    case 0x05:  // ENQ
        VtHooks.sendExpanded(window, rec.AnswerBack);
        break;
    case 0x07:  // BEL
        VtHooks.beep(rec.Beep);
        break;
    case 0x08:  // BS; a wrap waiting at the last column is given up, not carried to the next character
        rec.WrapPending = 0;
        if (rec.CursorCol > 0) --rec.CursorCol;
        break;
    case 0x09:  // HT
        if (rec.WrapPending) {
            rec.WrapPending = 0;
            CarriageReturn(window, rec, dirty);
            LineFeed(window, rec, dirty);
        }
        TabForward(window, rec, dirty);
        break;
    case 0x0A:  // LF
        if (rec.WrapPending) {
            rec.WrapPending = 0;
            CarriageReturn(window, rec, dirty);
        }
        LineFeed(window, rec, dirty);
        break;
    case 0x0D:  // CR
        rec.WrapPending = 0;
        CarriageReturn(window, rec, dirty);
        if (rec.NewLineNow) LineFeed(window, rec, dirty);
        break;
    case 0x0E:  // SO
        rec.CharsetDesignation[kCsGL] = 1;
        break;
    case 0x0F:  // SI
        rec.CharsetDesignation[kCsGL] = 0;
        break;
    default:
        break;
    }
}
