// libFuzzer target: Halvet's receiver (and, when the first byte is odd, its sender) on a port
// whose incoming bytes are the fuzz input. Files live in memory; the clock advances only when
// the engine pauses, so time-outs cost nothing. The frame decoder is also fed the whole input
// at once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "halvet.h"
#include "hv_files.h"
#include "hv_frames.h"
#include "fuzz_port.h"

namespace {

// A file of 3000 pattern bytes to send; writes are counted and a full disk ends long inputs.
class MemFile : public halvet::HvFile {
public:
    int Read(void* buffer, int count) override {
        int n = at_ >= 3000 ? 0 : (count < 3000 - at_ ? count : 3000 - at_);
        std::memset(buffer, 'x', static_cast<size_t>(n));
        at_ += n;
        return n;
    }
    int Write(const void*, int count) override {
        written_ += static_cast<size_t>(count);
        return written_ > (1u << 20) ? 0 : count;
    }
    bool Seek(int64_t offset) override {
        if (offset < 0 || offset > 3000) return false;
        at_ = static_cast<int>(offset);
        return true;
    }

private:
    int at_ = 0;
    size_t written_ = 0;
};

class MemFiles : public halvet::HvFiles {
public:
    halvet::HvFile* OpenWrite(const char* path, halvet::WriteMode) override { return path && *path ? new MemFile : nullptr; }
    halvet::HvFile* OpenRead(const char*) override { return new MemFile; }
    bool Facts(const char* path, halvet::FileFacts* facts) override {
        if (std::strcmp(path, "send.bin") != 0) return false;
        facts->size = 3000;
        facts->modTime = 1600000000;
        return true;
    }
    bool SetModTime(const char*, int64_t) override { return true; }
    bool Remove(const char*) override { return true; }
};

MemFiles memFiles;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    halvet::SetFiles(&memFiles);

    halvet::Decoder decoder;
    for (size_t at = 0; at < size;) {
        halvet::Decoder::Event ev;
        at += decoder.Feed(data + at, size - at, ev);
    }

    const bool send = data[0] & 1;
    int port = fuzzport::OpenInputPort(data + 1, size - 1, 64);
    int r = send ? HvSendStart(port, data[0] >> 5, 7 + (data[0] >> 1) % 4, 0, kHvBatch | (data[0] & 0x0C), 512,
                               1024, (data[0] & 0x10) ? 2048 : 0, 100, kHvZmodem, "send.bin send.bin")
                 : HvRecvStart(port, kHvZmodem, 30);
    if (r == kHvStarted) {
        // Steps go on while input is left, and a little beyond for the time-outs' answers.
        int after = 0;
        for (int steps = 0; r == kHvGoOn || r == kHvStarted; ++steps) {
            if (steps > 200000 || (fuzzport::TheLine().left == 0 && ++after > 50)) {
                r = send ? HvSendAbort(port) : HvRecvAbort(port);
                break;
            }
            r = send ? HvSendNext(port) : HvRecvNext(port);
            fuzzport::TheLine().clock.now += 10;
        }
    }
    PxClosePort(port);
    return 0;
}
