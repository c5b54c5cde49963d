// See win32_bell.h.
#include "win32_bell.h"

#include <windows.h>

#include "engine/vt/vt_hooks.h"

namespace {

BellSound bellSound = nullptr;

void RingBell(int soundType)
{
    if (bellSound) bellSound(static_cast<unsigned>(soundType));
    else MessageBeep(static_cast<UINT>(soundType));
}

}  // namespace

void InstallTerminalBellWin32(BellSound sound)
{
    bellSound = sound;
    VtHooks.beep = &RingBell;
}
