// libFuzzer target: the receive engine on a port whose incoming bytes are the fuzz input.
// The first byte picks the mode; files go to memory, the clock advances only when the engine
// pauses, so time-outs cost nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "kestrix.h"
#include "tick_clock.h"
#include "xy_blocks.h"
#include "xy_host.h"

namespace {

class FakeClock : public pexla::TickClock {
public:
    uint32_t Now() override { return now; }
    void Sleep(int ms) override { now += static_cast<uint32_t>(ms); }
    uint32_t now = 5000;
};

class MemFile : public kestrix::XyFile {
public:
    int Read(void*, int) override { return 0; }
    int Write(const void*, int count) override {
        written += static_cast<size_t>(count);
        return written > (1u << 20) ? 0 : count;  // a full disk ends very long inputs
    }
    size_t written = 0;
};

class MemHost : public kestrix::XyHost {
public:
    kestrix::XyFile* CreateForWrite(const char* path) override { return path && *path ? new MemFile : nullptr; }
    kestrix::XyFile* OpenForRead(const char*) override { return nullptr; }
    void Close(kestrix::XyFile* f) override { delete f; }
    bool Facts(const char*, kestrix::FileFacts*) override { return false; }
    bool SetModTime(const char*, int64_t) override { return true; }
    int LastError() override { return 0; }
    void ShowOpenError(const char*, const char*) override {}
    void* StartWorker(kestrix::WorkerBody, int) override { return nullptr; }
    void SetPriority(void*, int) override {}
    void ReleaseWorker(void*) override {}
};

FakeClock fakeClock;
MemHost memHost;
const uint8_t* input = nullptr;
size_t inputLeft = 0;

int ReadFn(int, char* buffer, int length) {
    size_t n = inputLeft < static_cast<size_t>(length) ? inputLeft : static_cast<size_t>(length);
    // The line delivers in small bursts, as a serial port does.
    if (n > 7) n = 1 + (input[0] % 7);
    std::memcpy(buffer, input, n);
    input += n;
    inputLeft -= n;
    return static_cast<int>(n);
}
int WriteFn(int, const char*, int length) { return length; }
int InCountFn(int) { return static_cast<int>(inputLeft < 7 ? inputLeft : 7); }
int ZeroFn(int) { return 0; }
void FlushFn(int) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    pexla::SetClock(&fakeClock);
    kestrix::SetHost(&memHost);
    static const char* const modes[] = {"X", "C", "Y", "S", "T"};
    const char* mode = modes[data[0] % 5];
    input = data + 1;
    inputLeft = size - 1;

    // The header parser on its own, over both field sizes.
    kestrix::ParseHeader(data, static_cast<int>(size < 1024 ? size : 1024));

    int port = PxOpenVirtual(1, 0x3000, 0x3000);
    PxSetReadFn(port, ReadFn);
    PxSetWriteFn(port, WriteFn);
    PxSetInCountFn(port, InCountFn);
    PxSetOutCountFn(port, ZeroFn);
    PxSetFlushInFn(port, FlushFn);
    PxSetFlushOutFn(port, FlushFn);
    ComSetXYModemParmXmodemTime(port, 1);
    ComSetXYMaxerrors(port, 3);
    ComSetXYPadchar(port, data[0] & 0x80 ? 0x1A : 0);
    if (ComRXY_Start(port, "fuzz.bin", mode) == 1) {
        int r = kXYGoOn;
        // Each call of the caller's loop takes a little time.
        for (int steps = 0; r == kXYGoOn && steps < 100000; ++steps) {
            r = ComRXY_Next(port, mode);
            fakeClock.now += 10;
        }
        if (r == kXYGoOn) ComRXY_Abort(port);
    }
    PxClosePort(port);
    return 0;
}
