// Installs host commands, multimedia and host printing in the Windows program: the Win32 system
// (programs, the main frame, the view's timers, MCI) and printer devices, and host printing in the
// screen actions' print hooks. Called once the main frame and its view exist; again with new
// windows when they change.
#pragma once

#include <windows.h>

void InstallWin32HostCommands(HWND frame, HWND view);
