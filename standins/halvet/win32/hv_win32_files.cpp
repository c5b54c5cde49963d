// The file system of Halvet.dll: Win32 handles. A file being received is opened without
// sharing, so that no other program reads it half written; a file being sent may be read by
// others but not written meanwhile. Dates go through FILETIME (100 ns since 1601).
#include <windows.h>

#include "hv_files.h"

namespace halvet {
namespace {

constexpr int64_t k1601To1970 = 116444736000000000LL;

class HandleFile : public HvFile {
public:
    explicit HandleFile(HANDLE h) : h_(h) {}
    ~HandleFile() override { CloseHandle(h_); }
    int Read(void* buffer, int count) override {
        DWORD got = 0;
        return ReadFile(h_, buffer, static_cast<DWORD>(count), &got, nullptr) ? static_cast<int>(got) : -1;
    }
    int Write(const void* data, int count) override {
        DWORD put = 0;
        return WriteFile(h_, data, static_cast<DWORD>(count), &put, nullptr) ? static_cast<int>(put) : 0;
    }
    bool Seek(int64_t offset) override {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return SetFilePointerEx(h_, to, nullptr, FILE_BEGIN) != 0;
    }

private:
    HANDLE h_;
};

HvFile* Adopt(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : new HandleFile(h); }

class Win32Files : public HvFiles {
public:
    HvFile* OpenWrite(const char* path, WriteMode mode) override {
        if (mode == WriteMode::Create)
            return Adopt(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        HANDLE h = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return Adopt(h);
    }
    HvFile* OpenRead(const char* path) override {
        return Adopt(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    }
    bool Facts(const char* path, FileFacts* facts) override {
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (!GetFileAttributesExA(path, GetFileExInfoStandard, &a) || (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        ULARGE_INTEGER size{{a.nFileSizeLow, a.nFileSizeHigh}};
        ULARGE_INTEGER when{{a.ftLastWriteTime.dwLowDateTime, a.ftLastWriteTime.dwHighDateTime}};
        facts->size = static_cast<int64_t>(size.QuadPart);
        facts->modTime = (static_cast<int64_t>(when.QuadPart) - k1601To1970) / 10000000;
        return true;
    }
    bool SetModTime(const char* path, int64_t modTime) override {
        HANDLE h = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        ULARGE_INTEGER when;
        when.QuadPart = static_cast<uint64_t>(modTime * 10000000 + k1601To1970);
        FILETIME ft{when.LowPart, when.HighPart};
        bool ok = SetFileTime(h, nullptr, nullptr, &ft) != 0;
        CloseHandle(h);
        return ok;
    }
    bool Remove(const char* path) override { return DeleteFileA(path) != 0; }
};

Win32Files win32Files;

// Halvet.dll uses the Win32 file system from the moment it is loaded.
struct Install {
    Install() { SetFiles(&win32Files); }
};
Install install;

}  // namespace
}  // namespace halvet
