// libFuzzer target: Drosk's receiver on a port whose incoming bytes are the fuzz input. The
// first byte picks a plain receive or a Get and the parameters offered; files go to memory
// (this target supplies the file functions) and the clock advances only when the engine waits.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "drosk.h"
#include "kermit_files.h"
#include "tick_clock.h"

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

namespace {

class FakeClock : public pexla::TickClock {
public:
    uint32_t Now() override { return now; }
    void Sleep(int ms) override { now += static_cast<uint32_t>(ms); }
    uint32_t now = 5000;
};

FakeClock fakeClock;
const uint8_t* input = nullptr;
size_t inputLeft = 0;

int ReadFn(int, char* buffer, int length) {
    size_t n = inputLeft < static_cast<size_t>(length) ? inputLeft : static_cast<size_t>(length);
    // The line delivers in bursts of varying size, as a serial port does.
    if (n > 64) n = 1 + (input[0] % 64);
    std::memcpy(buffer, input, n);
    input += n;
    inputLeft -= n;
    return static_cast<int>(n);
}
int WriteFn(int, const char*, int length) { return length; }
int CountFn(int) { return 0; }
void FlushFn(int) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    pexla::SetClock(&fakeClock);
    const uint8_t mode = data[0];
    input = data + 1;
    inputLeft = size - 1;

    int port = PxOpenVirtual(1, 0x3000, 0x3000);
    PxSetReadFn(port, ReadFn);
    PxSetWriteFn(port, WriteFn);
    PxSetInCountFn(port, CountFn);
    PxSetOutCountFn(port, CountFn);
    PxSetFlushInFn(port, FlushFn);
    PxSetFlushOutFn(port, FlushFn);
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
        if (inputLeft == 0 && steps % 64 == 0) fakeClock.now += 500;
        r = KmReceiveNext(port);
        // The caller may impose a name whenever the library asks for one.
        if (PxNameWanted(port) && (mode & 0x80)) PxSetShownName(port, "imposed.bin");
    }
    if (r == kDroskGoOn) KmAbort(port);
    PxClosePort(port);
    return 0;
}
