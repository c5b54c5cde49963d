// The host commands' system in the Windows program: programs through WinExec and ShellExecute,
// the main frame's show state, the terminal view's timers and the multimedia control interface.
#pragma once

#include <windows.h>

#include "engine/host_commands/host_system.h"

class Win32HostSystem : public HostSystem {
public:
    // The main frame and its terminal view (either may be null until they exist).
    Win32HostSystem(HWND frame = nullptr, HWND view = nullptr) : frame_(frame), view_(view) {}
    void SetWindows(HWND frame, HWND view)
    {
        frame_ = frame;
        view_ = view;
    }

    int WinExec(const char* commandLine, int showMode) override;
    int ShellExecute(ViewWindow window, const char* verb, const char* file, const char* parameters,
                     const char* directory, int showMode) override;
    uint32_t WindowsVersion() override;
    void ShowMainWindow(int showMode) override;
    bool HasView() override;
    bool SetViewTimer(int id, int milliseconds) override;
    void KillViewTimer(int id) override;
    int MciSend(const char* command, char* reply, int replySize) override;
    bool MciErrorText(int code, char* text, int size) override;

private:
    HWND frame_;
    HWND view_;
};
