#include "shell/view_commands.h"

#include "session/session_record.h"
#include "shell/command_rules.h"

bool ViewCommandUpdate(int id, const SettingsRecord& rec, const ViewCommandInputs& in, ViewCommandUI& ui)
{
    ui = ViewCommandUI{};
    switch (id) {
    case kViewCopy:
    case kViewCopyTable: ui.enabled = in.selection; return true;
    case kViewPaste: ui.enabled = !in.pastePending; return true;
    case kViewHistoryScrollback:
        ui.checked = rec.HistoryView ? 1 : 0;
        ui.enabled = !rec.LockHistory && !rec.TerminalFamily3270;
        return true;
    case kViewScaleFontToView:
        ui.checked = rec.ScaleFontToView ? 1 : 0;
        ui.enabled = !rec.LockScaleFont;
        return true;
    case kViewDosBox: ui.enabled = rec.AllowDOS && !rec.LockDosBox; return true;
    case kViewShowImage: ui.checked = in.showImage ? 1 : 0; return true;
    case kViewTraceKeyboard: ui.checked = rec.TraceAllKeyboard ? 1 : 0; return true;
    case kViewTraceVirtualKeys: ui.checked = rec.TraceVirtualKeys ? 1 : 0; return true;
    case kViewTraceHotspots: ui.checked = in.hotspotsTrace ? 1 : 0; return true;
    case kViewTraceTelnet: ui.checked = in.telnetTrace ? 1 : 0; return true;
    case kViewTraceNetFile: ui.checked = in.netTraceToFile ? 1 : 0; return true;
    case kViewFontCurrent:
    case kViewFont132:
    case kViewFont80: ui.enabled = FontRule(rec, DocumentCommandState{}).enabled; return true;
    case kViewScaleViewToFont:
    case kViewResetEmulator:
    case kViewSetTitle:
    case kViewClearHotspots:
    case kViewFunctionButtons:
    case kViewSelectAll:
    case kViewClearSelection: return true;
    default: return false;
    }
}
