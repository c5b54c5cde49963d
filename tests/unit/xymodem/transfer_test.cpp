// Our sender against our receiver over an in-memory line: every mode, the sizes around the
// block boundaries, batches, and a line that damages what it carries.
#include <gtest/gtest.h>

#include <random>

#include "kestrix.h"
#include "loop_line.h"
#include "xy_blocks.h"

using namespace xytest;
namespace fs = std::filesystem;

namespace {

// What the receiver must hold after a one-file transfer of data in a mode.
std::vector<uint8_t> Expected(const std::vector<uint8_t>& data, const std::string& mode, uint8_t pad) {
    if (mode == "T") return data;
    const size_t block = (mode == "X" || mode == "C") ? 128 : 1024;
    std::vector<uint8_t> out = data;
    size_t rest = data.size() % block;
    if (rest == 0) return out;
    out.resize(data.size() + block - rest, pad);
    if (mode == "S") {
        // The sender ends the data with one NUL before the pad; the receiver's strip rule
        // decides how much of the last block stays.
        out[data.size()] = 0;
        size_t last = out.size() - block;
        out.resize(last + kestrix::StripLength(out.data() + last, static_cast<int>(block), pad));
    }
    return out;
}

struct OneFile {
    std::string mode;
    size_t size;
};

class XyTransfer : public testing::TestWithParam<OneFile> {};

}  // namespace

TEST_P(XyTransfer, FileArrivesAsTheProtocolSays) {
    const OneFile p = GetParam();
    auto dir = FreshDir("one-" + p.mode + std::to_string(p.size));
    auto dst = FreshDir("one-dst-" + p.mode + std::to_string(p.size));
    fs::current_path(dst);
    const auto data = Pattern(p.size, static_cast<uint32_t>(p.size));
    WriteFile(dir / "source.bin", data);
    LoopLine line;
    ComSetXYPadchar(kPortA, 0x1A);
    ComSetXYPadchar(kPortB, 0x1A);
    ASSERT_EQ(ComSXY_Start(kPortA, (dir / "source.bin").string().c_str(), p.mode.c_str()), 1);
    const std::string target = p.mode == "T" ? "" : (dst / "target.bin").string();
    ASSERT_EQ(ComRXY_Start(kPortB, target.c_str(), p.mode.c_str()), 1);
    Results r = RunPair(p.mode.c_str());
    EXPECT_EQ(r.send, kXYComplete);
    EXPECT_EQ(r.receive, kXYComplete);
    const auto got = ReadFile(dst / (p.mode == "T" ? "source.bin" : "target.bin"));
    EXPECT_EQ(got, Expected(data, p.mode, 0x1A));
    if (p.mode != "T") {
        // YMODEM/STRIP only keeps the data exactly when it does not end in the pad.
        EXPECT_EQ(+PxPortStatus(kPortB)->totalBytes, static_cast<int32_t>(got.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, XyTransfer,
    testing::ValuesIn([] {
        std::vector<OneFile> v;
        for (const char* m : {"X", "C", "Y", "S", "T"})
            for (size_t n : {0, 1, 127, 128, 129, 1023, 1024, 1025, 5000, 70000}) v.push_back({m, n});
        return v;
    }()),
    [](const testing::TestParamInfo<OneFile>& i) { return i.param.mode + std::to_string(i.param.size); });

TEST(XyBatch, SeveralFilesWithSizeAndDateAndTheEmptyOne) {
    auto src = FreshDir("batch-src");
    auto dst = FreshDir("batch-dst");
    const std::vector<std::pair<std::string, size_t>> files = {
        {"first.bin", 3000}, {"empty.txt", 0}, {"odd.dat", 1029}, {"one.txt", 1}};
    std::string list;
    for (auto& [name, size] : files) {
        WriteFile(src / name, Pattern(size, static_cast<uint32_t>(size + 7)));
        fs::last_write_time(src / name, fs::last_write_time(src / name) - std::chrono::hours(48));
        list += (src / name).string() + " ";
    }
    fs::current_path(dst);
    LoopLine line;
    ASSERT_EQ(ComSXY_Start(kPortA, list.c_str(), "T"), 1);
    ASSERT_EQ(ComRXY_Start(kPortB, "", "T"), 1);
    Results r = RunPair("T");
    EXPECT_EQ(r.send, kXYComplete);
    EXPECT_EQ(r.receive, kXYComplete);
    for (auto& [name, size] : files) {
        EXPECT_EQ(ReadFile(dst / name), ReadFile(src / name)) << name;
        auto diff = fs::last_write_time(dst / name) - fs::last_write_time(src / name);
        EXPECT_LT(std::chrono::abs(std::chrono::duration_cast<std::chrono::seconds>(diff)).count(), 2) << name;
    }
    EXPECT_EQ(+PxPortStatus(kPortB)->filesCompleted, 4);
}

TEST(XyBatch, ForceLowSendsOnly128ByteBlocks) {
    auto dir = FreshDir("forcelow");
    auto dst = FreshDir("forcelow-dst");
    WriteFile(dir / "f.bin", Pattern(700));
    fs::current_path(dst);
    LoopLine line;
    ComSetXYForceLow(kPortA, 1);
    ASSERT_EQ(ComSXY_Start(kPortA, (dir / "f.bin").string().c_str(), "T"), 1);
    ASSERT_EQ(ComRXY_Start(kPortB, "", "T"), 1);
    Results r = RunPair("T");
    EXPECT_EQ(r.receive, kXYComplete);
    EXPECT_EQ(ReadFile(dst / "f.bin"), Pattern(700));
    // Every block on the line is SOH (header, 6 data blocks, final header) between the EOTs.
    const auto& w = line.Written(kPortA);
    int soh = 0, stx = 0;
    for (size_t i = 0; i < w.size();) {
        if (w[i] == 0x01) { ++soh; i += 133; }
        else if (w[i] == 0x02) { ++stx; i += 1029; }
        else ++i;
    }
    EXPECT_EQ(stx, 0);
    EXPECT_EQ(soh, 1 + 6 + 1);
}

TEST(XyNoise, DamagedLineRetriesAndEndsIdenticalOrFailsCleanly) {
    // Seeded damage on the data direction: flipped bits and dropped bytes. Each run either
    // completes with an identical file or fails on both sides; never a complete bad file.
    int completed = 0, retried = 0;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        auto dir = FreshDir("noise" + std::to_string(seed));
        auto dst = FreshDir("noise-dst" + std::to_string(seed));
        fs::current_path(dst);
        const auto data = Pattern(20000, seed);
        WriteFile(dir / "src.bin", data);
        LoopLine line;
        std::mt19937 rng(seed);
        line.SetTamper(kPortA, [&rng](std::vector<uint8_t>& bytes) {
            std::vector<uint8_t> out;
            for (uint8_t b : bytes) {
                uint32_t roll = rng() % 4000;
                if (roll == 0) continue;               // dropped
                if (roll == 1) b ^= 1u << (rng() % 8);  // flipped
                out.push_back(b);
            }
            bytes.swap(out);
        });
        const char* mode = seed % 2 ? "T" : "C";
        ASSERT_EQ(ComSXY_Start(kPortA, (dir / "src.bin").string().c_str(), mode), 1);
        ASSERT_EQ(ComRXY_Start(kPortB, seed % 2 ? "" : (dst / "dst.bin").string().c_str(), mode), 1);
        Results r = RunPair(mode, 2000000);
        auto got = ReadFile(dst / (seed % 2 ? "src.bin" : "dst.bin"));
        if (r.receive == kXYComplete) {
            EXPECT_EQ(got, Expected(data, mode, 0)) << seed;
            ++completed;
        } else {
            EXPECT_TRUE(r.receive == kXYFailed || r.receive == kXYCancelled) << seed;
        }
        EXPECT_NE(r.send, kXYGoOn);
        retried += PxPortStatus(kPortB)->errorsReported > 0;
    }
    EXPECT_GE(completed, 4);
    EXPECT_GE(retried, 4);
}
