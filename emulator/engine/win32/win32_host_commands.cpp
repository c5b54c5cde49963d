#include "engine/win32/win32_host_commands.h"

#include "engine/host_commands/host_print.h"
#include "engine/win32/win32_host_system.h"
#include "engine/win32/win32_print_device.h"

namespace {

Win32HostSystem hostSystem;
Win32PrintDevice printDevice;

}  // namespace

void InstallWin32HostCommands(HWND frame, HWND view)
{
    hostSystem.SetWindows(frame, view);
    SetHostSystem(&hostSystem);
    SetPrintDevice(&printDevice);
    InstallHostPrinting();
}
