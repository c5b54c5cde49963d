// The window-free file system of the engines: file streams and std::filesystem.
#include <filesystem>
#include <fstream>

#include "file_facts.h"
#include "hv_files.h"

namespace halvet {
namespace {

namespace fs = std::filesystem;

// A file stream opened for one direction; the stream's failure state tells a failed read.
class StreamFile : public HvFile {
public:
    explicit StreamFile(std::fstream stream) : stream_(std::move(stream)) {}
    int Read(void* buffer, int count) override {
        stream_.read(static_cast<char*>(buffer), count);
        if (stream_.bad()) return -1;
        int got = static_cast<int>(stream_.gcount());
        if (stream_.eof()) stream_.clear();
        return got;
    }
    int Write(const void* data, int count) override {
        stream_.write(static_cast<const char*>(data), count);
        return stream_ ? count : 0;
    }
    bool Seek(int64_t offset) override {
        stream_.clear();
        stream_.seekg(offset);
        return static_cast<bool>(stream_);
    }

private:
    std::fstream stream_;
};

class StdFiles : public HvFiles {
public:
    HvFile* OpenWrite(const char* path, WriteMode mode) override {
        auto how = std::ios::binary | std::ios::out | (mode == WriteMode::Append ? std::ios::app : std::ios::trunc);
        return Open(path, how);
    }
    HvFile* OpenRead(const char* path) override { return Open(path, std::ios::binary | std::ios::in); }
    bool Facts(const char* path, FileFacts* facts) override {
        std::error_code ec;
        return fs::is_regular_file(path, ec) && pexla::SizeAndTime(path, &facts->size, &facts->modTime);
    }
    bool SetModTime(const char* path, int64_t modTime) override { return pexla::SetUnixTime(path, modTime); }
    bool Remove(const char* path) override {
        std::error_code ec;
        return fs::remove(path, ec);
    }

private:
    static HvFile* Open(const char* path, std::ios::openmode how) {
        std::fstream stream(path, how);
        return stream.is_open() ? new StreamFile(std::move(stream)) : nullptr;
    }
};

StdFiles stdFiles;
HvFiles* installed = &stdFiles;

}  // namespace

HvFiles& Files() { return *installed; }
void SetFiles(HvFiles* files) { installed = files ? files : &stdFiles; }

}  // namespace halvet
