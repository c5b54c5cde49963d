// What a transfer shares with its caller through the port: the status block and its counters,
// the shown and target file names, and the file-open flag.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "port_table.h"

using namespace pexla;

namespace {

void CopyName(char* to, const char* from) {
    if (!from) from = "";
    size_t n = strnlen(from, kPexlaPathSize - 1);
    std::memcpy(to, from, n);
    to[n] = 0;
}

}  // namespace

PEXLA_API PexlaPortStatus* PEXLA_CALL PxPortStatus(int number) {
    Port* p = OpenPort(number);
    return p ? &p->status : nullptr;
}

PEXLA_API int PEXLA_CALL PxCurrentPath(int number, char* buffer) {
    Port* p = OpenPort(number);
    if (!p || !buffer) return -1;
    CopyName(buffer, p->status.fullPath);
    return 1;
}

PEXLA_API int PEXLA_CALL PxResetPort(int number) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->abortRequested = 0;
    return 1;
}

PEXLA_API int PEXLA_CALL PxResetCounters(int number, int how) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->status.fileBytes = p->status.fileBlocks = 0;
    p->status.errorsReported = 0;
    p->status.lastError = 0;
    return 1;
}

PEXLA_API int PEXLA_CALL PxTransferStarting(int number) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->shownName[0] = 0;
    p->status.spare = 0;
    return 1;
}

PEXLA_API int PEXLA_CALL PxSetShownName(int number, const char* name) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    CopyName(p->shownName, name);
    return 1;
}

PEXLA_API int PEXLA_CALL PxTargetPath(int number, char* buffer) {
    // On a receive the target is the shown name in the current folder; it is kept as the
    // status block's full path, where the file's date is applied once it is complete. Without a
    // shown name the full path stands (a send keeps its source path there).
    Port* p = OpenPort(number);
    if (!p || !buffer) return -1;
    if (p->shownName[0]) {
        std::error_code ec;
        std::filesystem::path dir = std::filesystem::current_path(ec);
        std::string full = (dir / p->shownName).string();
        if (full.size() >= static_cast<size_t>(kPexlaPathSize)) return -1;
        CopyName(p->status.fullPath, full.c_str());
    }
    CopyName(buffer, p->status.fullPath);
    return 1;
}

PEXLA_API int PEXLA_CALL PxSetFileOpen(int number, int open) {
    Port* p = OpenPort(number);
    if (!p) return -1;
    p->fileOpen = open != 0;
    return 1;
}

PEXLA_API int PEXLA_CALL PxNameWanted(int number) {
    Port* p = OpenPort(number);
    return p && p->fileOpen ? 1 : 0;
}

PEXLA_API int PEXLA_CALL PxFileNameShort(int number, char* buffer) {
    Port* p = OpenPort(number);
    if (!p || !buffer) return -1;
    const char* name = p->status.fileName;
    const char* slash = std::max(std::strrchr(name, '/'), std::strrchr(name, '\\'));
    if (slash) name = slash + 1;
    std::strncpy(buffer, name, 19);
    buffer[19] = 0;
    return 1;
}

PEXLA_API int PEXLA_CALL PxBytes(int number) { Port* p = OpenPort(number); return p ? p->status.fileBytes : 0; }
PEXLA_API int PEXLA_CALL PxBlocks(int number) { Port* p = OpenPort(number); return p ? p->status.fileBlocks : 0; }
PEXLA_API int PEXLA_CALL PxRetries(int number) { Port* p = OpenPort(number); return p ? p->status.errorsReported : 0; }
PEXLA_API int PEXLA_CALL PxLastError(int number) { Port* p = OpenPort(number); return p ? p->status.lastError : 0; }
PEXLA_API int PEXLA_CALL PxFileSizeGiven(int number) { Port* p = OpenPort(number); return p ? p->status.fileSize : 0; }
