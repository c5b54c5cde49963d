#include "tolvi_process.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

struct Search {
    DWORD process;
    const char* className;
    const char* caption;  // any when null
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    char caption[256] = {};
    if (search->caption) GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->process && lstrcmpA(name, search->className) == 0 && IsWindowVisible(window) &&
        (!search->caption || lstrcmpA(caption, search->caption) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data)
{
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(data) += text;
    }
    return TRUE;
}

}  // namespace

TolviProcess::~TolviProcess()
{
    if (running_ && WaitExit(0) == -1) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    if (info_.hProcess) CloseHandle(info_.hProcess);
    if (info_.hThread) CloseHandle(info_.hThread);
}

std::string TolviProcess::BinFolder()
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    // build\win64\tests\win32\<test>.exe -> build\win64\bin\ .
    std::string folder = path;
    for (int i = 0; i < 3; ++i) folder = folder.substr(0, folder.find_last_of('\\'));
    return folder + "\\bin\\";
}

bool TolviProcess::Start(const std::string& arguments, const std::string& folder)
{
    std::string line = "\"" + BinFolder() + "Tolvi.exe\"";
    if (!arguments.empty()) line += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    running_ = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &info_) != FALSE;
    return running_;
}

HWND TolviProcess::FindWindowOf(const char* className, int timeoutMs, const char* caption)
{
    for (int waited = 0;; waited += 50) {
        Search search{info_.dwProcessId, className, caption, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (waited >= timeoutMs || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
}

HWND TolviProcess::MainWindow(int timeoutMs) { return FindWindowOf("TolviFrame", timeoutMs); }
HWND TolviProcess::MessageBox(int timeoutMs) { return FindWindowOf("#32770", timeoutMs); }
HWND TolviProcess::Dialog(const std::string& caption, int timeoutMs)
{
    return FindWindowOf("#32770", timeoutMs, caption.c_str());
}

std::string TolviProcess::MessageText(HWND box)
{
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void TolviProcess::Press(HWND box, int button) { PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0); }

std::string TolviProcess::Title(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool TolviProcess::TitleShows(HWND window, const std::string& part, int timeoutMs, std::string* last)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const std::string title = Title(window);
        if (last) *last = title;
        if (title.find(part) != std::string::npos) return true;
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        Sleep(50);
    }
}

int TolviProcess::WaitExit(int timeoutMs)
{
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    running_ = false;
    return static_cast<int>(code);
}

int TolviProcess::Close()
{
    if (HWND window = MainWindow(0)) PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitExit();
}

int TolviProcess::CloseDiscardingChanges()
{
    if (HWND window = MainWindow(0)) PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 3; ++i) {
        HWND box = MessageBox(10000);
        if (!box) break;
        Press(box, MessageText(box).find("disconnect") != std::string::npos ? IDYES : IDNO);
        for (int waited = 0; waited < 3000 && IsWindow(box); waited += 50) Sleep(50);
    }
    return WaitExit(30000);
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

ScratchFolder::ScratchFolder()
{
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "tolvi-start-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}
