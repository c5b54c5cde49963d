// The main frame run inside a test program on a configuration in a scratch folder (menus are
// read through the Win32 menu API, which reaches only the calling process's menus).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "shell/profile_store.h"
#include "shell/startup_state.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/win32_profile.h"
#include "shell/win32/zolex_app.h"
#include "tolvi_process.h"

inline std::string MenuText(HMENU menu, UINT item, UINT flags)
{
    char text[256] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

inline void Pump(int milliseconds)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

// Runs Tolvi's start-up in this process on a configuration in a scratch folder.
class FrameInProcess : public ::testing::Test {
protected:
    FrameInProcess()
    {
        previous_ = std::filesystem::current_path();
        SetProfiles(&profile_);
        WritePrivateProfileStringA("Window size", nullptr, nullptr, "Tolvi.ini");
    }
    ~FrameInProcess() override
    {
        if (started_) {
            if (CMainFrame* frame = CMainFrame::Instance(); frame && frame->Handle()) DestroyWindow(frame->Handle());
            Pump(50);
            app_.ExitInstance();
        }
        FwSetApp(nullptr);
        SetProfiles(nullptr);
        Startup = StartupState{};
        *Rec = SettingsRecord{};
        std::filesystem::current_path(previous_);
    }

    HWND Start(const std::string& lines)
    {
        // No connect at start-up: a network session would ask for the host name first.
        WriteFileText(folder_.File("menu.wcf"), "[Tolvi]\r\nVersion=4.5.6.3\r\nAutoConnect=No\r\n" + lines);
        std::filesystem::current_path(folder_.Path());
        Startup = StartupState{};
        *Rec = SettingsRecord{};
        app_.instance = GetModuleHandleA(nullptr);
        app_.commandLine = "menu";
        app_.showCommand = SW_SHOWNORMAL;
        FwSetApp(&app_);
        started_ = app_.InitInstance();
        Pump(200);  // the language menu arrives with a posted message
        CMainFrame* frame = CMainFrame::Instance();
        return started_ && frame ? frame->Handle() : nullptr;
    }

    CZolexApp app_;
    ScratchFolder folder_;

private:
    Win32Profile profile_;
    std::filesystem::path previous_;
    bool started_ = false;
};

// Copies the frame from the screen into a PNG beside the test programs, pumping messages meanwhile
// so that the frame paints.
inline void Screenshot(const std::string& name)
{
    const std::string shot = TolviProcess::BinFolder() + "..\\screens\\menu-" + name + ".png";
    CreateDirectoryA((TolviProcess::BinFolder() + "..\\screens").c_str(), nullptr);
    std::string line = "\"" + TolviProcess::BinFolder() + "screengrab.exe\" \"" + shot +
                       "\" --class TolviFrame --wait 3000 --delay 300";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    for (int i = 0; i < 300 && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0; ++i) Pump(20);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}
