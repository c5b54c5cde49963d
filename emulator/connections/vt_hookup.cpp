// The VT interpreter's outside calls that this layer answers.
#include "connections/vt_hookup.h"

#include <cstring>

#include "connections/auto_transfer.h"
#include "connections/connection_dispatch.h"
#include "connections/emulation_hooks.h"
#include "connections/tn3270_records.h"
#include "connections/variable_expander.h"
#include "engine/vt/vt_hooks.h"
#include "engine/adds/adds_interpreter.h"
#include "engine/console/console_interpreter.h"
#include "engine/teletype/dumb_interpreter.h"
#include "engine/vt/vt_interpreter.h"
#include "engine/wyse/wyse_interpreter.h"

namespace {

void RunVt(ViewWindow window, const uint8_t* bytes, int n, SettingsRecord& rec) { VtInterpret(window, bytes, n, rec); }
void RunConsole(ViewWindow window, const uint8_t* bytes, int n, SettingsRecord& rec)
{
    AnsiReceive(window, bytes, n, rec, 0);
}
void RunWyse(ViewWindow window, const uint8_t* bytes, int n, SettingsRecord& rec) { WyseData(window, bytes, n, rec); }
void RunAdds(ViewWindow window, const uint8_t* bytes, int n, SettingsRecord& rec) { AddsReceive(window, bytes, n, rec); }
void RunDumb(ViewWindow window, const uint8_t* bytes, int n, SettingsRecord& rec) { DumbInterpret(window, bytes, n, rec); }

// The answerback: variables expanded and key-string notation decoded, then sent.
void SendAnswerBack(ViewWindow window, const char* text)
{
    if (text && *text) SendExpanded(window, text, false);
}

}  // namespace

void InstallVtInterpreter()
{
    VtHooks.sendToHost = SendToHost;
    VtHooks.sendExpanded = SendAnswerBack;
    VtHooks.detectAutoTransfer = DetectAutoTransfer;
    Install3270Hooks();
    RegisterInterpreter(EmulationFamily::DecVt, RunVt);
    RegisterInterpreter(EmulationFamily::AnsiConsole, RunConsole);
    RegisterInterpreter(EmulationFamily::Wyse, RunWyse);
    RegisterInterpreter(EmulationFamily::Adds, RunAdds);
    RegisterInterpreter(EmulationFamily::Teletype, RunDumb);
}
