// The FtpHost of the client's window: the engine's texts go to the notification window as
// WM_FTP_INFO, WM_FTP_DEBUG and WM_FTP_ERROR, progress to the caller's window, and the pump
// dispatches the thread's messages while a socket call waits.
#pragma once

#include <windows.h>

#include <functional>

#include "ftp_host.h"

class WindowFtpHost : public FtpHost {
public:
    // `unattended` tells whether nobody is there to answer a box (a run of the command line):
    // a failed log-on is then only logged.
    explicit WindowFtpHost(HWND window, std::function<bool()> unattended = nullptr)
        : window_(window), unattended_(std::move(unattended))
    {
    }
    void Info(const char* text) override;
    void Debug(const char* text) override;
    void Error(const char* text) override;
    void Progress(std::uintptr_t window, unsigned message, std::int64_t bytes) override;
    void Beep(int kind) override;
    void LoginFailed(const char* text) override;
    void SetTitle(const char* text) override;
    void Pump() override;
    // Between UTF-8 and the Windows code page.
    bool NameFromServer(const std::string& server, std::string& local) override;
    bool NameToServer(const std::string& local, std::string& server) override;

private:
    HWND window_;
    std::function<bool()> unattended_;
};

// FtpInit with the window as notification window (none: the active window) and WinSock;
// `unattended` as for WindowFtpHost.
int FtpInitWindow(HWND window, std::function<bool()> unattended = nullptr);
