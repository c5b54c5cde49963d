#include "engine/win32/win32_host_system.h"

#include <mmsystem.h>
#include <shellapi.h>

// Our method names, not the system's A/W macros.
#undef ShellExecute

int Win32HostSystem::WinExec(const char* commandLine, int showMode)
{
    return static_cast<int>(::WinExec(commandLine ? commandLine : "", static_cast<UINT>(showMode)));
}

int Win32HostSystem::ShellExecute(ViewWindow window, const char* verb, const char* file, const char* parameters,
                                  const char* directory, int showMode)
{
    HWND owner = window ? reinterpret_cast<HWND>(window) : frame_;
    HINSTANCE result = ::ShellExecuteA(owner, verb, file, parameters, directory, showMode);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

uint32_t Win32HostSystem::WindowsVersion() { return static_cast<uint32_t>(::GetVersion()); }

void Win32HostSystem::ShowMainWindow(int showMode)
{
    if (frame_) ::ShowWindow(frame_, showMode);
}

bool Win32HostSystem::HasView() { return view_ && ::IsWindow(view_); }

bool Win32HostSystem::SetViewTimer(int id, int milliseconds)
{
    return HasView() && ::SetTimer(view_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr) != 0;
}

void Win32HostSystem::KillViewTimer(int id)
{
    if (HasView()) ::KillTimer(view_, static_cast<UINT_PTR>(id));
}

int Win32HostSystem::MciSend(const char* command, char* reply, int replySize)
{
    if (reply && replySize > 0) reply[0] = '\0';
    return static_cast<int>(::mciSendStringA(command, reply, static_cast<UINT>(replySize > 0 ? replySize : 0), nullptr));
}

bool Win32HostSystem::MciErrorText(int code, char* text, int size)
{
    return ::mciGetErrorStringA(static_cast<MCIERROR>(code), text, static_cast<UINT>(size)) != FALSE;
}
