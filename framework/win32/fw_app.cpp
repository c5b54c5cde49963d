#include "fw_app.h"

#include <commctrl.h>

#include "fw_frame.h"

namespace {
FwApp* theApp = nullptr;
}  // namespace

FwApp* FwGetApp() { return theApp; }
void FwSetApp(FwApp* app) { theApp = app; }

std::string FwApp::GetProfileString(const char* section, const char* key, const char* fallback) const
{
    char value[512];
    GetPrivateProfileStringA(section, key, fallback, value, sizeof value, profileFile.c_str());
    return value;
}

bool FwApp::WriteProfileString(const char* section, const char* key, const std::string& value) const
{
    return WritePrivateProfileStringA(section, key, value.c_str(), profileFile.c_str()) != FALSE;
}

namespace {
constexpr const char* kRecentSection = "Recent File List";
std::string RecentKey(std::size_t index) { return "File" + std::to_string(index + 1); }
}  // namespace

void FwApp::LoadRecentFiles(std::size_t count)
{
    recentFiles = FwRecentFileList(count);
    // Read oldest first so that Add leaves them in the stored order.
    for (std::size_t i = count; i-- > 0;) recentFiles.Add(GetProfileString(kRecentSection, RecentKey(i).c_str()));
}

void FwApp::SaveRecentFiles() const
{
    WritePrivateProfileStringA(kRecentSection, nullptr, nullptr, profileFile.c_str());
    const auto& files = recentFiles.Files();
    for (std::size_t i = 0; i < files.size(); ++i) WriteProfileString(kRecentSection, RecentKey(i).c_str(), files[i]);
}

int FwApp::Run()
{
    MSG message;
    for (;;) {
        // Idle time: bring toolbar buttons and indicators up to date once the queue is empty.
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && mainFrame) mainFrame->OnIdleUpdate();
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) break;
        if (mainFrame && mainFrame->PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int FwWinMain(FwApp& app, HINSTANCE instance, const char* commandLine, int showCommand)
{
    theApp = &app;
    app.instance = instance;
    app.commandLine = commandLine ? commandLine : "";
    app.showCommand = showCommand;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    int code = 0;
    if (app.InitInstance()) {
        code = app.Run();
        app.exitCode = code;
    }
    code = app.ExitInstance();
    theApp = nullptr;
    return code;
}
