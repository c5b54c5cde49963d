// libFuzzer target: Drosk's receiver on a port whose incoming bytes are the fuzz input. The
// first byte picks a plain receive or a Get and the parameters offered; files go to memory
// (this target supplies the file functions) and the clock advances only when the engine waits.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "drosk.h"
#include "kermit_files.h"
#include "fuzz_port.h"

namespace drosk {

struct KmFile {
    size_t written = 0;
};

KmFile* OpenForRead(const char*) { return nullptr; }
KmFile* CreateForWrite(const char* path) { return path && *path ? new KmFile : nullptr; }
int ReadFile(KmFile*, void*, int) { return -1; }
bool WriteFile(KmFile* f, const void*, int count) {
    f->written += static_cast<size_t>(count);
    return f->written <= (1u << 22);  // a full disk ends very long inputs
}
int64_t FileSize(KmFile* f) { return static_cast<int64_t>(f->written); }
bool CloseFile(KmFile* f) {
    delete f;
    return true;
}
void RemoveFile(const char*) {}

}  // namespace drosk

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t mode = data[0];
    int port = fuzzport::OpenInputPort(data + 1, size - 1, 64);
    DroskParms p{};
    KmGetParms(port, &p);
    p.checkType = static_cast<char>((mode >> 1) % 3);
    p.longPacketLength = mode & 0x08 ? 9024 : 0;
    p.quote8 = (mode >> 4) % 3;
    p.repeatOn = (mode >> 6) & 1;
    p.initialRetries = 3;
    p.packetRetries = 3;
    p.initialTimeout = 1;
    KmSetParms(port, &p);
    int r = mode & 1 ? KmGetStart(port, "remote.bin") : KmReceiveStart(port);
    // Each call of the caller's loop takes a little time; the loop ends with the input.
    for (int steps = 0; r == kDroskGoOn && steps < 200000; ++steps) {
        if (fuzzport::TheLine().left == 0 && steps % 64 == 0) fuzzport::TheLine().clock.now += 500;
        r = KmReceiveNext(port);
        // The caller may impose a name whenever the library asks for one.
        if (PxNameWanted(port) && (mode & 0x80)) PxSetShownName(port, "imposed.bin");
    }
    if (r == kDroskGoOn) KmAbort(port);
    PxClosePort(port);
    return 0;
}
