// The Wyse control bytes.
#include "engine/screen_actions.h"
#include "engine/vt/vt_hooks.h"
#include "engine/wyse/wyse_buffers.h"
#include "engine/wyse/wyse_interpreter.h"

namespace {

void StartTransparentPrint(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, bool display)
{
    WysePrintAndDisplay = display;
    StartHostPrint(window, rec, dirty, 1);
}

}  // namespace

void WyseControl(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    switch (byte) {
    case 0x05: VtHooks.sendExpanded(window, rec.AnswerBack); break;
    case 0x07: VtHooks.beep(rec.Beep); break;
    case 0x08: CursorLeft(window, rec, dirty); break;
    case 0x09: TabForward(window, rec, dirty); break;
    case 0x0A: LineFeed(window, rec, dirty); break;
    case 0x0B: CursorUpOne(window, rec, dirty); break;
    case 0x0C: CursorRight(window, rec, dirty); break;
    case 0x0D: CarriageReturn(window, rec, dirty); break;
    case 0x0E: SetKeyboardLock(rec, 0); break;
    case 0x0F: SetKeyboardLock(rec, 1); break;
    case 0x12: StartTransparentPrint(window, rec, dirty, true); break;
    case 0x14:
        WysePrintAndDisplay = false;
        rec.PrinterOffMatch7 = 0;
        StopHostPrint(window, rec, dirty);
        break;
    case 0x18: StartTransparentPrint(window, rec, dirty, false); break;
    case 0x1A:
        EraseScreenEx(window, rec, dirty, false, ' ');
        CursorHome(window, rec, dirty);
        break;
    case 0x1E: CursorHome(window, rec, dirty); break;
    default: break;
    }
}
