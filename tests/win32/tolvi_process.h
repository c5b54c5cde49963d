// Runs Tolvi.exe as a real process for the tests: its main window and title, its message boxes,
// and a clean end (the process is ended by its handle if it outlives the test).
#pragma once

#include <windows.h>

#include <string>

class TolviProcess {
public:
    TolviProcess() = default;
    ~TolviProcess();
    TolviProcess(const TolviProcess&) = delete;
    TolviProcess& operator=(const TolviProcess&) = delete;

    // The folder of the build's programs (Tolvi.exe, screengrab.exe), with a trailing backslash.
    static std::string BinFolder();

    bool Start(const std::string& arguments, const std::string& folder);
    // The main frame of this process, waited for up to timeoutMs; null when none appeared.
    HWND MainWindow(int timeoutMs = 15000);
    // A message box of this process, waited for; null when none appeared.
    HWND MessageBox(int timeoutMs = 15000);
    // A dialog of this process with the caption, waited for; null when none appeared.
    HWND Dialog(const std::string& caption, int timeoutMs = 15000);
    static std::string MessageText(HWND box);
    static void Press(HWND box, int button);
    // Waits for the end; the exit code, or -1 when it still runs after timeoutMs.
    int WaitExit(int timeoutMs = 15000);
    // Asks the main window to close and waits for the end.
    int Close();
    // The same, answering its questions: Yes to disconnecting, No to saving the changed settings.
    int CloseDiscardingChanges();
    DWORD Id() const { return info_.dwProcessId; }

    static std::string Title(HWND window);
    // Waits until the window's title holds `part`; the last title read is kept in `last`.
    static bool TitleShows(HWND window, const std::string& part, int timeoutMs, std::string* last = nullptr);

private:
    HWND FindWindowOf(const char* className, int timeoutMs, const char* caption = nullptr);
    PROCESS_INFORMATION info_{};
    bool running_ = false;
};

// Writes text into a file (binary).
void WriteFileText(const std::string& path, const std::string& text);
// A fresh folder under the temporary folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};
