// Our sender against our receiver over the in-memory line: batches under the parameter
// combinations that change what goes on the line, damage on the line, and aborts.
#include <gtest/gtest.h>

#include <random>

#include "kermit_harness.h"

using namespace kmtest;
namespace fs = std::filesystem;

namespace {

struct Batch {
    std::vector<std::string> names{"a.bin", "empty.txt", "big.bin", "runs.dat"};
    std::vector<std::vector<uint8_t>> data;
    Batch() {
        data.push_back(looptest::Pattern(3000, 1));
        data.push_back({});
        data.push_back(looptest::Pattern(70000, 2));
        std::vector<uint8_t> runs(5000, 0);
        for (size_t i = 0; i < runs.size(); i += 700) runs[i] = 0xFF;
        data.push_back(runs);
    }
    // Writes the files into out/ and returns the list text for a send.
    std::string Write(const fs::path& dir) const {
        fs::create_directories(dir / "out");
        std::string list;
        for (size_t i = 0; i < names.size(); ++i) {
            looptest::WriteFile(dir / "out" / names[i], data[i]);
            list += (list.empty() ? "" : " ") + (dir / "out" / names[i]).string();
        }
        return list;
    }
};

void SetBoth(const DroskParms& p) {
    ASSERT_EQ(KmSetParms(kPortA, &p), 1);
    ASSERT_EQ(KmSetParms(kPortB, &p), 1);
}

}  // namespace

TEST(KermitTransfer, BatchArrivesWholeUnderEachSetting) {
    struct Case {
        const char* what;
        int check, longLength, quote8, repeat, packetLength;
    };
    const Case cases[] = {
        {"defaults", 0, 0, 0, 1, 94},         {"two-char check, 8-bit prefix", 1, 0, 2, 1, 94},
        {"crc, long packets", 2, 1024, 1, 0, 94}, {"short packets, no repeat", 0, 0, 0, 0, 40},
        {"long packets, 8-bit prefix, crc", 2, 3000, 2, 1, 94},
    };
    Batch batch;
    for (const Case& c : cases) {
        looptest::LoopLine line;
        InFolder folder("batch");
        DroskParms p = DefaultParms();
        p.checkType = static_cast<char>(c.check);
        p.longPacketLength = c.longLength;
        p.quote8 = c.quote8;
        p.repeatOn = c.repeat;
        p.packetLength = c.packetLength;
        SetBoth(p);
        std::string list = batch.Write(folder.path());
        ASSERT_EQ(KmSendStart(kPortA, list.c_str()), kDroskGoOn);
        ASSERT_EQ(KmReceiveStart(kPortB), kDroskGoOn);
        Results r = RunPair();
        EXPECT_EQ(r.send, kDroskComplete) << c.what;
        EXPECT_EQ(r.receive, kDroskComplete) << c.what;
        for (size_t i = 0; i < batch.names.size(); ++i)
            EXPECT_EQ(looptest::ReadFile(folder.path() / batch.names[i]), batch.data[i])
                << c.what << " " << batch.names[i];
        // The receiver's status block tells of the last file, with its size from the attributes.
        PexlaPortStatus* st = PxPortStatus(kPortB);
        EXPECT_STREQ(st->fileName, "runs.dat");
        EXPECT_EQ(PxFileSizeGiven(kPortB), 5000);
        EXPECT_EQ(PxBytes(kPortB), 5000);
        EXPECT_EQ(static_cast<int>(st->filesCompleted), 4);  // packed: copied out
        EXPECT_EQ(static_cast<int>(PxPortStatus(kPortA)->filesCompleted), 4);
        if (c.longLength) {
            // Long packets did go over the line.
            const auto& w = line.Written(kPortA);
            int longOnes = 0;
            for (size_t i = 0; i + 1 < w.size(); ++i) longOnes += w[i] == 1 && w[i + 1] == ' ';
            EXPECT_GT(longOnes, 10) << c.what;
        }
    }
}

// With the CRC. The one- and two-character checks are sums, which miss some damage to two
// bytes of one packet; those are the protocol's own limits, not tested here.
TEST(KermitTransfer, DamagedLineRecoversOrFailsButNeverCompletesWrong) {
    Batch batch;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        looptest::LoopLine line;
        InFolder folder("noise");
        DroskParms p = DefaultParms();
        p.checkType = 2;
        p.longPacketLength = seed % 2 ? 500 : 0;
        SetBoth(p);
        std::mt19937 rng(seed);
        auto damage = [&rng](std::vector<uint8_t>& bytes) {
            for (auto& b : bytes)
                if (rng() % 1500 == 0) b ^= static_cast<uint8_t>(1 + rng() % 255);
            if (!bytes.empty() && rng() % 40 == 0) bytes.erase(bytes.begin() + rng() % bytes.size());
        };
        line.SetTamper(kPortA, damage);
        line.SetTamper(kPortB, damage);
        std::string list = batch.Write(folder.path());
        ASSERT_EQ(KmSendStart(kPortA, list.c_str()), kDroskGoOn);
        ASSERT_EQ(KmReceiveStart(kPortB), kDroskGoOn);
        Results r = RunPair();
        EXPECT_NE(r.receive, kDroskGoOn) << seed;
        if (r.receive == kDroskComplete) {
            for (size_t i = 0; i < batch.names.size(); ++i)
                EXPECT_EQ(looptest::ReadFile(folder.path() / batch.names[i]), batch.data[i]) << seed;
            EXPECT_GT(PxRetries(kPortB) + PxRetries(kPortA), 0) << seed;
        } else {
            EXPECT_EQ(r.receive, kDroskFailed);
        }
    }
}

TEST(KermitTransfer, AbortTellsTheOtherSideAndDropsThePartialFile) {
    Batch batch;
    for (bool abortReceiver : {true, false}) {
        looptest::LoopLine line;
        InFolder folder("abort");
        SetBoth(DefaultParms());
        std::string list = batch.Write(folder.path());
        ASSERT_EQ(KmSendStart(kPortA, list.c_str()), kDroskGoOn);
        ASSERT_EQ(KmReceiveStart(kPortB), kDroskGoOn);
        // Into the big file.
        int send = kDroskGoOn, receive = kDroskGoOn;
        for (int i = 0; i < 100000 && PxBytes(kPortB) < 20000; ++i) {
            send = KmSendNext(kPortA);
            receive = KmReceiveNext(kPortB);
        }
        ASSERT_STREQ(PxPortStatus(kPortB)->fileName, "big.bin");
        EXPECT_EQ(KmAbort(abortReceiver ? kPortB : kPortA), kDroskCancelled);
        Results r = abortReceiver ? Results{send, kDroskCancelled} : Results{kDroskCancelled, receive};
        for (int i = 0; i < 1000 && (r.send == kDroskGoOn || r.receive == kDroskGoOn); ++i) {
            if (r.send == kDroskGoOn) r.send = KmSendNext(kPortA);
            if (r.receive == kDroskGoOn) r.receive = KmReceiveNext(kPortB);
        }
        // The other side read our error packet and ended too.
        EXPECT_EQ(abortReceiver ? r.send : r.receive, kDroskFailed);
        EXPECT_EQ(PxLastError(abortReceiver ? kPortA : kPortB), kDroskErrRemote);
        EXPECT_EQ(PxLastError(abortReceiver ? kPortB : kPortA), kDroskErrAborted);
        EXPECT_FALSE(fs::exists(folder.path() / "big.bin"));
        EXPECT_EQ(looptest::ReadFile(folder.path() / "a.bin"), batch.data[0]);
        // Further steps keep the ending.
        EXPECT_EQ(KmReceiveNext(kPortB), abortReceiver ? kDroskCancelled : kDroskFailed);
    }
}

TEST(KermitTransfer, SendOfAMissingFileFailsAtTheStart) {
    looptest::LoopLine line;
    InFolder folder("missing");
    looptest::WriteFile(folder.path() / "here.txt", {1, 2, 3});
    EXPECT_EQ(KmSendStart(kPortA, "here.txt not-here.txt"), kDroskFailed);
    EXPECT_EQ(PxLastError(kPortA), kDroskErrSendOpen);
    EXPECT_EQ(KmSendStart(kPortA, ""), kDroskFailed);
    EXPECT_TRUE(line.Written(kPortA).empty());  // nothing went on the line
    EXPECT_EQ(KmSendNext(kPortA), kDroskFailed);
}

TEST(KermitTransfer, CallsOnAClosedPortFail) {
    EXPECT_EQ(KmReceiveStart(kPortA), kDroskFailed);
    EXPECT_EQ(KmSendStart(kPortA, "x"), kDroskFailed);
    EXPECT_EQ(KmGetStart(kPortA, "x"), kDroskFailed);
    EXPECT_EQ(KmReceiveStart(0), kDroskFailed);
    EXPECT_EQ(KmReceiveNext(101), kDroskFailed);
}
