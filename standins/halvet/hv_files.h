// What the engines need of the file system. The window-free default uses the C++ library;
// Halvet.dll installs the Win32 one.
#pragma once

#include <cstdint>

namespace halvet {

class HvFile {
public:
    virtual ~HvFile() = default;
    // Bytes read (0 at the end of the file), or -1 when the read failed.
    virtual int Read(void* buffer, int count) = 0;
    // Bytes written; fewer than count when the write failed.
    virtual int Write(const void* data, int count) = 0;
    // Moves to an offset from the start; false when that failed.
    virtual bool Seek(int64_t offset) = 0;
};

struct FileFacts {
    int64_t size = 0;
    int64_t modTime = 0;  // seconds since 1970
};

enum class WriteMode { Create, Append };

class HvFiles {
public:
    virtual ~HvFiles() = default;
    // Create (or truncate) for writing, or open for appending; null on failure.
    virtual HvFile* OpenWrite(const char* path, WriteMode mode) = 0;
    virtual HvFile* OpenRead(const char* path) = 0;
    // False when the path is no regular file.
    virtual bool Facts(const char* path, FileFacts* facts) = 0;
    virtual bool SetModTime(const char* path, int64_t modTime) = 0;
    virtual bool Remove(const char* path) = 0;
};

HvFiles& Files();
void SetFiles(HvFiles* files);

}  // namespace halvet
