// Media copy (CSI p i): print screen, printer-controller mode to a printer or the capture file.
#include "engine/screen_actions.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

void MediaCopy(ViewWindow window, SettingsRecord& rec, int count, const int* params, DirtyRect& dirty)
{
    const int p = params[0];
    switch (p) {
    case 0: RequestPrintScreen(window, rec, dirty); break;
    case 3: {
        if (rec.PrinterControllerMode == 9) break;
        PrintHooks.endPrint(0);
        rec.PrinterControllerMode = 9;
        // A file that does not open is reported with its name by the opener.
        VtHooks.startPrintFile(count > 1 && params[1] == 1 ? "wb+" : "ab");
        break;
    }
    case 4:
        rec.PrinterControllerMode = 0;
        PrintHooks.endPrint(0);
        break;
    case 5:
    case 6:
    case 7:
        if (rec.PrinterControllerMode == p - 4) break;
        PrintHooks.endPrint(0);
        rec.PrinterControllerMode = p - 4;
        PrintHooks.startPrint(p - 4);
        break;
    default: break;
    }
}
