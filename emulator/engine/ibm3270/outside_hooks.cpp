#include "engine/ibm3270/outside_hooks.h"

#include "engine/vt/vt_sequences.h"

namespace {

// Nothing goes out; the record counts as taken so the engine does not hold it back.
int NoSend(const uint8_t*, int length, int) { return length; }
void NoHotScreen() {}
int NoPrivateCommand(ViewWindow, int, int, const int*, const char*) { return 0; }
int NoMci(const char*) { return 0; }

}  // namespace

Tn3270OutsideHooks Default3270OutsideHooks()
{
    return Tn3270OutsideHooks{NoSend, NoHotScreen, NoPrivateCommand, NoMci, CsiDispatch};
}

Tn3270OutsideHooks Tn3270Hooks = Default3270OutsideHooks();
