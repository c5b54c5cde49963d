// Test support of the FTP engine tests: an FtpHost that records what the engine reports and runs
// a test's hook from its message pump and progress reports, plus local-file helpers.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ftp_host.h"

class RecordingFtpHost : public FtpHost {
public:
    void Info(const char* text) override { info.emplace_back(text); }
    void Debug(const char* text) override { debug.emplace_back(text); }
    void Error(const char* text) override { error.emplace_back(text); }
    void Progress(std::uintptr_t window, unsigned message, std::int64_t bytes) override
    {
        progress.push_back(bytes);
        lastProgressWindow = window;
        lastProgressMessage = message;
        if (onProgress)
            onProgress(bytes);
    }
    void Beep(int kind) override { beeps.push_back(kind); }
    void LoginFailed(const char* text) override { loginFailed.emplace_back(text); }
    void SetTitle(const char* text) override { title = text; }
    void Pump() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    // The tests' own character set is Latin-1.
    bool NameFromServer(const std::string& server, std::string& local) override
    {
        local.clear();
        for (std::size_t i = 0; i < server.size(); ++i) {
            const auto c = static_cast<unsigned char>(server[i]);
            if (c < 0x80) {
                local += static_cast<char>(c);
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < server.size() &&
                       (static_cast<unsigned char>(server[i + 1]) & 0xC0) == 0x80) {
                local += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(server[++i]) & 0x3F));
            } else {
                return false;
            }
        }
        return true;
    }
    bool NameToServer(const std::string& local, std::string& server) override
    {
        server.clear();
        for (char ch : local) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                server += ch;
            } else {
                server += static_cast<char>(0xC0 | (c >> 6));
                server += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return true;
    }

    // True when some line of the channel contains `what`.
    static bool Has(const std::vector<std::string>& lines, const std::string& what)
    {
        for (const std::string& line : lines)
            if (line.find(what) != std::string::npos)
                return true;
        return false;
    }
    // Commands sent, as the debug channel shows them ("SEND: ...").
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> sent;
        for (const std::string& line : debug)
            if (line.rfind("SEND: ", 0) == 0)
                sent.push_back(line.substr(6));
        return sent;
    }

    std::vector<std::string> info, debug, error, loginFailed;
    std::vector<std::int64_t> progress;
    std::vector<int> beeps;
    std::string title;
    std::uintptr_t lastProgressWindow = 0;
    unsigned lastProgressMessage = 0;
    long pumps = 0;
    std::function<void(std::int64_t)> onProgress;
    std::function<void()> onPump;
};

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

// Deterministic bytes of every value.
inline std::string PatternBytes(std::size_t size, unsigned seed = 1)
{
    std::string bytes(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : bytes) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}
