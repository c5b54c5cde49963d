// The bell of the character emulations over Win32: a host's BEL sounds MessageBeep with the Beep
// setting as its sound type.
#pragma once

// Installs the bell into the interpreters' hooks; `sound` (for the tests) replaces MessageBeep.
using BellSound = void (*)(unsigned soundType);
void InstallTerminalBellWin32(BellSound sound = nullptr);
