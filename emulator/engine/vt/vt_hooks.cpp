// The quiet defaults of the VT interpreter's outside calls.
#include "engine/vt/vt_hooks.h"

namespace {

int NoSend(ViewWindow, const uint8_t*, int length) { return length; }
void NoSendExpanded(ViewWindow, const char*) {}
int NoDetect(uint8_t) { return 0; }
void NoBeep(int) {}
void NoPrintData(uint8_t) {}
int NoPrintFile(const char*) { return 0; }
int NoKeyDefinition(const char*, const char*) { return 0; }
int StoreCharsetMode(SettingsRecord& rec, int mode)
{
    rec.Charset = mode;
    return 1;
}
void NoHostCommand(ViewWindow, SettingsRecord&, int, const int*, DirtyRect&) {}
void NoRefit() {}
int NoMargin(ViewWindow) { return 0; }
int NoPrivateCommand(ViewWindow, int, int, const int*, const char*) { return 0; }

}  // namespace

VtOutsideHooks DefaultVtHooks()
{
    return VtOutsideHooks{NoSend,          NoSendExpanded,   NoDetect,      NoBeep, NoPrintData, NoPrintFile,
                          NoKeyDefinition, StoreCharsetMode, NoHostCommand, NoPrivateCommand, NoMargin, NoMargin, NoRefit};
}

VtOutsideHooks VtHooks = DefaultVtHooks();
