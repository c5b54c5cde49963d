// The files of a transfer in Drosk.dll: Win32 handles that others may read but not write
// while a transfer holds them.
#include <windows.h>

#include "kermit_files.h"

namespace drosk {

struct KmFile {
    HANDLE h;
};

namespace {

KmFile* Wrap(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : new KmFile{h}; }

}  // namespace

KmFile* OpenForRead(const char* path) {
    return Wrap(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

KmFile* CreateForWrite(const char* path) {
    return Wrap(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

int ReadFile(KmFile* f, void* buffer, int count) {
    DWORD done = 0;
    if (!::ReadFile(f->h, buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
    return static_cast<int>(done);
}

bool WriteFile(KmFile* f, const void* data, int count) {
    DWORD done = 0;
    return ::WriteFile(f->h, data, static_cast<DWORD>(count), &done, nullptr) &&
           done == static_cast<DWORD>(count);
}

int64_t FileSize(KmFile* f) {
    LARGE_INTEGER size;
    return GetFileSizeEx(f->h, &size) ? size.QuadPart : -1;
}

bool CloseFile(KmFile* f) {
    bool ok = CloseHandle(f->h) != 0;
    delete f;
    return ok;
}

void RemoveFile(const char* path) { DeleteFileA(path); }

}  // namespace drosk
