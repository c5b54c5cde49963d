// The window-free host: files through the C library, threads through std::thread.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <thread>

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
        namespace fs = std::filesystem;
        std::error_code ec;
        auto size = fs::file_size(path, ec);
        if (ec) return false;
        auto when = fs::last_write_time(path, ec);
        if (ec) return false;
        facts->size = static_cast<int64_t>(size);
        facts->modTime = ToUnix(when);
        return true;
    }
    bool SetModTime(const char* path, int64_t modTime) override {
        namespace fs = std::filesystem;
        std::error_code ec;
        auto now = fs::file_time_type::clock::now();
        auto delta = std::chrono::seconds(modTime - ToUnix(now));
        fs::last_write_time(path, now + delta, ec);
        return !ec;
    }
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
    static int64_t ToUnix(std::filesystem::file_time_type when) {
        using namespace std::chrono;
        auto sys = time_point_cast<seconds>(when - std::filesystem::file_time_type::clock::now() +
                                            system_clock::now());
        return sys.time_since_epoch().count();
    }
};

StdHost stdHost;
XyHost* installed = &stdHost;

}  // namespace

XyHost& Host() { return *installed; }
void SetHost(XyHost* host) { installed = host ? host : &stdHost; }

}  // namespace kestrix
