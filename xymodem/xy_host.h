// What the transfer engines need of the system besides Pexla: files, one message box and worker
// threads. The window-free default uses the C++ library; Kestrix.dll installs the Win32 one.
#pragma once

#include <cstdint>

namespace kestrix {

class XyFile {
public:
    virtual ~XyFile() = default;
    // Bytes read (0 at the end of the file), or -1 when the read failed.
    virtual int Read(void* buffer, int count) = 0;
    // Bytes written; fewer than count when the write failed.
    virtual int Write(const void* data, int count) = 0;
};

struct FileFacts {
    int64_t size = 0;
    int64_t modTime = 0;  // seconds since 1970
};

using WorkerBody = void (*)(int port);

class XyHost {
public:
    virtual ~XyHost() = default;
    // The file created or truncated for writing, not shared with others; null on failure.
    virtual XyFile* CreateForWrite(const char* path) = 0;
    // An existing file opened for reading, not shared for writing; null on failure.
    virtual XyFile* OpenForRead(const char* path) = 0;
    virtual void Close(XyFile* file) = 0;
    virtual bool Facts(const char* path, FileFacts* facts) = 0;
    virtual bool SetModTime(const char* path, int64_t modTime) = 0;
    // Last system error code, for the log.
    virtual int LastError() = 0;
    // The message shown when a file to send cannot be opened.
    virtual void ShowOpenError(const char* text, const char* title) = 0;

    // A worker thread running body(port): its handle, or null when none could be started.
    virtual void* StartWorker(WorkerBody body, int port) = 0;
    // Thread priority in the platform's levels (-2 lowest .. 2 highest, 15 time critical).
    virtual void SetPriority(void* thread, int level) = 0;
    virtual void ReleaseWorker(void* thread) = 0;
};

XyHost& Host();
void SetHost(XyHost* host);

}  // namespace kestrix
