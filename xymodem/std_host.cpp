// The window-free host: files through the C library, threads through std::thread.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "file_facts.h"
#include "xy_host.h"

namespace kestrix {
namespace {

class StdFile : public XyFile {
public:
    explicit StdFile(std::FILE* f) : f_(f) {}
    ~StdFile() override { std::fclose(f_); }
    int Read(void* buffer, int count) override {
        size_t n = std::fread(buffer, 1, static_cast<size_t>(count), f_);
        if (n == 0 && std::ferror(f_)) return -1;
        return static_cast<int>(n);
    }
    int Write(const void* data, int count) override {
        return static_cast<int>(std::fwrite(data, 1, static_cast<size_t>(count), f_));
    }

private:
    std::FILE* f_;
};

class StdHost : public XyHost {
public:
    XyFile* CreateForWrite(const char* path) override { return Wrap(std::fopen(path, "wb")); }
    XyFile* OpenForRead(const char* path) override { return Wrap(std::fopen(path, "rb")); }
    void Close(XyFile* file) override { delete file; }
    bool Facts(const char* path, FileFacts* facts) override {
        return pexla::SizeAndTime(path, &facts->size, &facts->modTime);
    }
    bool SetModTime(const char* path, int64_t modTime) override { return pexla::SetUnixTime(path, modTime); }
    int LastError() override { return errno; }
    void ShowOpenError(const char*, const char*) override {}
    void* StartWorker(WorkerBody body, int port) override {
        std::thread t(body, port);
        t.detach();
        return reinterpret_cast<void*>(static_cast<intptr_t>(port));
    }
    void SetPriority(void*, int) override {}
    void ReleaseWorker(void*) override {}

private:
    static XyFile* Wrap(std::FILE* f) { return f ? new StdFile(f) : nullptr; }
};

StdHost stdHost;
XyHost* installed = &stdHost;

}  // namespace

XyHost& Host() { return *installed; }
void SetHost(XyHost* host) { installed = host ? host : &stdHost; }

}  // namespace kestrix
