// The files of a transfer through the C library.
#include <cstdio>

#include "kermit_files.h"

namespace drosk {

struct KmFile {
    std::FILE* f;
};

KmFile* OpenForRead(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    return f ? new KmFile{f} : nullptr;
}

KmFile* CreateForWrite(const char* path) {
    std::FILE* f = std::fopen(path, "wb");
    return f ? new KmFile{f} : nullptr;
}

int ReadFile(KmFile* f, void* buffer, int count) {
    size_t n = std::fread(buffer, 1, static_cast<size_t>(count), f->f);
    if (n == 0 && std::ferror(f->f)) return -1;
    return static_cast<int>(n);
}

bool WriteFile(KmFile* f, const void* data, int count) {
    return std::fwrite(data, 1, static_cast<size_t>(count), f->f) == static_cast<size_t>(count);
}

int64_t FileSize(KmFile* f) {
    long here = std::ftell(f->f);
    if (here < 0 || std::fseek(f->f, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(f->f);
    std::fseek(f->f, here, SEEK_SET);
    return size;
}

bool CloseFile(KmFile* f) {
    bool ok = std::fclose(f->f) == 0;
    delete f;
    return ok;
}

void RemoveFile(const char* path) { std::remove(path); }

}  // namespace drosk
