// Services of Pexla beside the byte stream: context memory, file lists, file facts, the
// checks of the X/YMODEM blocks, the debug log and the worker-thread status codes.
#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "port_table.h"
#include "tick_clock.h"

using namespace pexla;

PEXLA_API void* PEXLA_CALL PxAllocContext(int port, int size) {
    return size > 0 ? std::calloc(1, static_cast<size_t>(size)) : nullptr;
}

PEXLA_API int PEXLA_CALL PxFreeContext(int port, void* memory) {
    std::free(memory);
    return 1;
}

PEXLA_API PexlaFileList* PEXLA_CALL PxMakeFileList(int reserved, const char* text) {
    // Names are separated by blanks; a name with blanks is written in double quotes.
    if (!text) return nullptr;
    std::vector<std::string> names;
    const char* s = text;
    for (;;) {
        while (*s && std::isspace(static_cast<unsigned char>(*s))) ++s;
        if (!*s) break;
        std::string name;
        if (*s == '"') {
            ++s;
            while (*s && *s != '"') name += *s++;
            if (*s == '"') ++s;
        } else {
            while (*s && !std::isspace(static_cast<unsigned char>(*s))) name += *s++;
        }
        if (!name.empty()) names.push_back(std::move(name));
    }
    if (names.empty()) return nullptr;
    auto* list = static_cast<PexlaFileList*>(std::calloc(1, sizeof(PexlaFileList)));
    list->names = static_cast<char**>(std::calloc(names.size(), sizeof(char*)));
    list->count = static_cast<int>(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        list->names[i] = static_cast<char*>(std::malloc(names[i].size() + 1));
        std::memcpy(list->names[i], names[i].c_str(), names[i].size() + 1);
    }
    return list;
}

PEXLA_API int PEXLA_CALL PxFreeFileList(PexlaFileList* list) {
    if (!list) return -1;
    for (int i = 0; i < list->count; ++i) std::free(list->names[i]);
    std::free(list->names);
    std::free(list);
    return 1;
}

PEXLA_API int PEXLA_CALL PxFileExists(const char* path) {
    std::error_code ec;
    return path && std::filesystem::is_regular_file(path, ec) ? 1 : 0;
}

PEXLA_API int PEXLA_CALL PxFileSize(const char* path) {
    std::error_code ec;
    if (!path) return -1;
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size > 0x7FFFFFFF) return -1;
    return static_cast<int>(size);
}

PEXLA_API int PEXLA_CALL PxBlockCount(const char* path, int blockSize) {
    int size = PxFileSize(path);
    if (size < 0 || blockSize <= 0) return -1;
    return static_cast<int>((static_cast<int64_t>(size) + blockSize - 1) / blockSize);
}

namespace {

struct CrcTable {
    uint16_t v[256];
    CrcTable() {
        for (int i = 0; i < 256; ++i) {
            uint16_t c = static_cast<uint16_t>(i << 8);
            for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? static_cast<uint16_t>((c << 1) ^ 0x1021) : static_cast<uint16_t>(c << 1);
            v[i] = c;
        }
    }
};
const CrcTable crcTable;

}  // namespace

PEXLA_API uint16_t PEXLA_CALL PxCrc16(const void* data, int length) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint16_t crc = 0;
    for (int i = 0; i < length; ++i)
        crc = static_cast<uint16_t>((crc << 8) ^ crcTable.v[((crc >> 8) ^ p[i]) & 0xFF]);
    return crc;
}

PEXLA_API uint8_t PEXLA_CALL PxChecksum(const void* data, int length) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    unsigned sum = 0;
    for (int i = 0; i < length; ++i) sum += p[i];
    return static_cast<uint8_t>(sum);
}

PEXLA_API int PEXLA_CALL PxDebugOpen(int number, const char* file, const char* title) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    if (p->log) {
        std::fclose(p->log);
        p->log = nullptr;
    }
    if (!file || !*file) return 1;
    p->log = std::fopen(file, "a");
    if (!p->log) return -1;
    p->logStart = Clock().Now();
    std::fprintf(p->log, "---- %s, port %d (lines start with milliseconds since here) ----\n",
                 title ? title : "", number);
    std::fflush(p->log);
    return 1;
}

PEXLA_API int PEXLA_CALL PxDebugLine(int number, const char* text) {
    Port* p = OpenPort(number);
    if (!p || !p->log || !text) return 0;
    std::fprintf(p->log, "%8u ", static_cast<unsigned>(Clock().Now() - p->logStart));
    std::fputs(text, p->log);
    std::fputc('\n', p->log);
    std::fflush(p->log);
    return 1;
}

PEXLA_API int PEXLA_CALL PxThreadStatus(int number, int code) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    std::lock_guard<std::mutex> hold(p->statusLock);
    p->threadCodes.push_back(code);
    return 1;
}

PEXLA_API int PEXLA_CALL PxThreadStatusHistory(int number, int* codes, int max) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    std::lock_guard<std::mutex> hold(p->statusLock);
    int n = 0;
    for (int code : p->threadCodes) {
        if (n >= max) break;
        codes[n++] = code;
    }
    return static_cast<int>(p->threadCodes.size());
}
