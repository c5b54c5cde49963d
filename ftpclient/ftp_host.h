// What the FTP engine needs of the program around it: the notification window's channels, the
// caller's progress target, sounds, the log-on failure box, the window title, and the message pump
// that runs while a socket call waits.
#pragma once

#include <cstdint>
#include <string>

enum FtpBeep : int { kBeepDefault = 0, kBeepExclamation = 1 };

class FtpHost {
public:
    virtual ~FtpHost() = default;
    virtual void Info(const char* text) = 0;
    virtual void Debug(const char* text) = 0;
    virtual void Error(const char* text) = 0;
    // The caller's progress message with the bytes done so far.
    virtual void Progress(std::uintptr_t window, unsigned message, std::int64_t bytes) = 0;
    virtual void Beep(int kind) = 0;
    // The log-on failure box ("Login Failed") with the server's text.
    virtual void LoginFailed(const char* text) = 0;
    virtual void SetTitle(const char* text) = 0;
    // Dispatches the window messages that are waiting; returns at once when there are none.
    virtual void Pump() = 0;
    // File names of a server that speaks UTF-8, to and from the program's own character set;
    // false when the name has no form there (it is then neither shown nor used). The program
    // that has no character set of its own keeps the bytes.
    virtual bool NameFromServer(const std::string& server, std::string& local)
    {
        local = server;
        return true;
    }
    virtual bool NameToServer(const std::string& local, std::string& server)
    {
        server = local;
        return true;
    }
};

// A host that drops everything (in use until FtpInit names one).
FtpHost& QuietFtpHost();
