// The Win32 host of Kestrix.dll: unshared file handles, the open-failure message box on the
// window that has the focus, and worker threads with platform priorities.
#include <windows.h>

#include "xy_host.h"

namespace kestrix {
namespace {

constexpr int64_t kUnixEpochIn100ns = 116444736000000000LL;

class Win32File : public XyFile {
public:
    explicit Win32File(HANDLE h) : h_(h) {}
    ~Win32File() override { CloseHandle(h_); }
    int Read(void* buffer, int count) override {
        DWORD done = 0;
        if (!ReadFile(h_, buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
        return static_cast<int>(done);
    }
    int Write(const void* data, int count) override {
        DWORD done = 0;
        if (!WriteFile(h_, data, static_cast<DWORD>(count), &done, nullptr)) return 0;
        return static_cast<int>(done);
    }

private:
    HANDLE h_;
};

class Win32Host : public XyHost {
public:
    XyFile* CreateForWrite(const char* path) override {
        DWORD how = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? TRUNCATE_EXISTING : CREATE_NEW;
        return Wrap(CreateFileA(path, GENERIC_WRITE, 0, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    XyFile* OpenForRead(const char* path) override {
        return Wrap(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    }
    void Close(XyFile* file) override { delete file; }
    bool Facts(const char* path, FileFacts* facts) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
        facts->size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        int64_t t = (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
        facts->modTime = (t - kUnixEpochIn100ns) / 10000000;
        return true;
    }
    bool SetModTime(const char* path, int64_t modTime) override {
        HANDLE h = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        int64_t t = modTime * 10000000 + kUnixEpochIn100ns;
        FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
        BOOL ok = SetFileTime(h, nullptr, &ft, &ft);
        CloseHandle(h);
        return ok != 0;
    }
    int LastError() override { return static_cast<int>(GetLastError()); }
    void ShowOpenError(const char* text, const char* title) override {
        MessageBoxA(GetFocus(), text, title, MB_OK);
    }
    void* StartWorker(WorkerBody body, int port) override {
        auto* start = new Start{body, port};
        HANDLE h = CreateThread(nullptr, 5000, &Trampoline, start, 0, nullptr);
        if (!h) delete start;
        return h;
    }
    void SetPriority(void* thread, int level) override {
        if (thread) SetThreadPriority(static_cast<HANDLE>(thread), level);
    }
    void ReleaseWorker(void* thread) override {
        if (thread) CloseHandle(static_cast<HANDLE>(thread));
    }

private:
    struct Start {
        WorkerBody body;
        int port;
    };
    static DWORD WINAPI Trampoline(void* arg) {
        Start s = *static_cast<Start*>(arg);
        delete static_cast<Start*>(arg);
        s.body(s.port);
        return 0;
    }
    static XyFile* Wrap(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : new Win32File(h); }
};

Win32Host win32Host;

}  // namespace

// Kestrix.dll uses the Win32 host from the moment it is loaded.
struct InstallWin32Host {
    InstallWin32Host() { SetHost(&win32Host); }
};
static InstallWin32Host installWin32Host;

}  // namespace kestrix
