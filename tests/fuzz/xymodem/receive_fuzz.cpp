// libFuzzer target: the receive engine on a port whose incoming bytes are the fuzz input.
// The first byte picks the mode; files go to memory, the clock advances only when the engine
// pauses, so time-outs cost nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_port.h"
#include "kestrix.h"
#include "xy_blocks.h"
#include "xy_host.h"

namespace {

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

MemHost memHost;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    kestrix::SetHost(&memHost);
    static const char* const modes[] = {"X", "C", "Y", "S", "T"};
    const char* mode = modes[data[0] % 5];

    // The header parser on its own, over both field sizes.
    kestrix::ParseHeader(data, static_cast<int>(size < 1024 ? size : 1024));

    int port = fuzzport::OpenInputPort(data + 1, size - 1, 7);
    ComSetXYModemParmXmodemTime(port, 1);
    ComSetXYMaxerrors(port, 3);
    ComSetXYPadchar(port, data[0] & 0x80 ? 0x1A : 0);
    if (ComRXY_Start(port, "fuzz.bin", mode) == 1) {
        int r = kXYGoOn;
        // Each call of the caller's loop takes a little time.
        for (int steps = 0; r == kXYGoOn && steps < 100000; ++steps) {
            r = ComRXY_Next(port, mode);
            fuzzport::TheLine().clock.now += 10;
        }
        if (r == kXYGoOn) ComRXY_Abort(port);
    }
    PxClosePort(port);
    return 0;
}
