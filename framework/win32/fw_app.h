// The application object of our framework: WinMain glue, the message loop with idle-time updates
// of the user interface, and the application profile (a private profile file of the program).
#pragma once

#include <windows.h>

#include <string>

#include "recent_files.h"

class FwFrameWnd;

class FwApp {
public:
    virtual ~FwApp() = default;

    // Creates the main window; false ends the program before the message loop.
    virtual bool InitInstance() = 0;
    // Runs after the message loop; returns the exit code.
    virtual int ExitInstance() { return exitCode; }
    // The program's help file at a context (HELP_CONTEXT) or its index; none by default.
    virtual void WinHelp(unsigned long data, unsigned command) {}

    std::string GetProfileString(const char* section, const char* key, const char* fallback = "") const;
    bool WriteProfileString(const char* section, const char* key, const std::string& value) const;

    // The recent-file list, kept in the profile section "Recent File List" (File1, File2, ...).
    void LoadRecentFiles(std::size_t count);
    void SaveRecentFiles() const;
    FwRecentFileList recentFiles{0};

    HINSTANCE instance = nullptr;
    std::string commandLine;   // without the program name
    int showCommand = SW_SHOWNORMAL;
    FwFrameWnd* mainFrame = nullptr;
    std::string profileFile = "Tolvi.ini";  // kept in the Windows folder, as the platform does
    int exitCode = 0;

    int Run();
};

FwApp* FwGetApp();
// Installs the application without running it (tests drive InitInstance themselves).
void FwSetApp(FwApp* app);

// The program's entry: installs the application, runs InitInstance, the loop and ExitInstance.
int FwWinMain(FwApp& app, HINSTANCE instance, const char* commandLine, int showCommand);
