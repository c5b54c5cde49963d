// Our sender against our receiver over the in-memory loop: batches in every frame format and
// option, a line that damages what it carries, a line that dies, the send options that change
// what lands (text, resume, protect, unlink), and the start and abort calls.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_facts.h"
#include "halvet_loop.h"

using namespace xytest;
using namespace hvtest;
namespace fs = std::filesystem;

namespace {

struct BatchCase {
    const char* name;
    std::vector<size_t> sizes;
    SendArgs args;
};

SendArgs With(int flags, int subpacket = 512, int ack = 1024, int window = 2048) {
    SendArgs a;
    a.flags = kHvBatch | flags;
    a.subpacket = subpacket;
    a.ackLength = ack;
    a.window = window;
    return a;
}

struct Batch {
    fs::path src, dst;
    std::string list;
    std::vector<std::vector<uint8_t>> data;
};

Batch MakeBatch(const std::string& name, const std::vector<size_t>& sizes) {
    // Out of the last folder first: a current folder cannot be removed on Windows.
    fs::current_path(fs::temp_directory_path());
    Batch b;
    b.src = FreshDir("hv-src-" + name);
    b.dst = FreshDir("hv-dst-" + name);
    for (size_t i = 0; i < sizes.size(); ++i) {
        b.data.push_back(Pattern(sizes[i], static_cast<uint32_t>(i + 3)));
        fs::path p = b.src / ("f" + std::to_string(i) + ".bin");
        WriteFile(p, b.data.back());
        pexla::SetUnixTime(p.string().c_str(), 1614834367);  // the protocol carries whole seconds
        b.list += p.string() + " ";
    }
    fs::current_path(b.dst);
    return b;
}

void ExpectArrived(const Batch& b) {
    for (size_t i = 0; i < b.data.size(); ++i) {
        const std::string n = "f" + std::to_string(i) + ".bin";
        EXPECT_EQ(ReadFile(b.dst / n), b.data[i]) << n;
        int64_t size = 0, ours = 0, theirs = 0;
        EXPECT_TRUE(pexla::SizeAndTime((b.dst / n).string().c_str(), &size, &ours));
        EXPECT_TRUE(pexla::SizeAndTime((b.src / n).string().c_str(), &size, &theirs));
        EXPECT_EQ(ours, theirs) << n;
    }
}

// Starts both sides and steps them to their ends; a start that fails shows as kHvFailed.
HvResults Transfer(const std::string& files, const SendArgs& a = SendArgs()) {
    HvResults r;
    r.send = StartSend(kPortA, files, a) == kHvStarted ? kHvGoOn : kHvFailed;
    r.receive = HvRecvStart(kPortB, kHvZmodem, 30) == kHvStarted ? kHvGoOn : kHvFailed;
    return r.send == kHvGoOn && r.receive == kHvGoOn ? RunPair() : r;
}

class HalvetBatch : public testing::TestWithParam<BatchCase> {};

}  // namespace

TEST_P(HalvetBatch, EveryFileArrivesWhole) {
    const BatchCase c = GetParam();
    Batch b = MakeBatch(c.name, c.sizes);
    LoopLine line;
    HvResults r = Transfer(b.list, c.args);
    EXPECT_EQ(r.send, kHvComplete);
    EXPECT_EQ(r.receive, kHvComplete);
    ExpectArrived(b);
    EXPECT_EQ(hvtest::FilesCompleted(kPortB), static_cast<int>(c.sizes.size()));
    EXPECT_EQ(PxRetries(kPortB), 0);
}

INSTANTIATE_TEST_SUITE_P(
    All, HalvetBatch,
    testing::Values(BatchCase{"defaults", {3000, 0, 1029, 70000, 512, 1}, SendArgs()},
                    BatchCase{"crc16", {5000, 0, 100000}, With(kHvNoCrc32)},
                    BatchCase{"escaped", {256 * 40, 7}, With(kHvEscapeControls)},
                    BatchCase{"escaped_crc16", {9000}, With(kHvEscapeControls | kHvNoCrc32)},
                    BatchCase{"stream_no_window", {300000, 10}, With(0, 1024, 0, 0)},
                    BatchCase{"ack_only", {50000}, With(0, 256, 4096, 0)},
                    BatchCase{"window_smaller_than_ack", {40000}, With(0, 1024, 8192, 1024)}),
    [](const testing::TestParamInfo<BatchCase>& i) { return std::string(i.param.name); });

TEST(HalvetTransfer, DamagedLineRecoversAndEveryFileIsWhole) {
    for (bool crc32 : {true, false}) {
        Batch b = MakeBatch(crc32 ? "noise32" : "noise16", {60000, 0, 5000, 90000});
        LoopLine line;
        // Both directions lose or damage bytes now and then.
        size_t sent = 0, answered = 0;
        line.SetTamper(kPortA, [&sent](std::vector<uint8_t>& bytes) {
            for (auto& x : bytes) if (++sent % 7919 == 0) x ^= 0x21;
        });
        line.SetTamper(kPortB, [&answered](std::vector<uint8_t>& bytes) {
            if (++answered % 5 == 0 && !bytes.empty()) bytes[bytes.size() / 2] ^= 0x40;
        });
        HvResults r = Transfer(b.list, With(crc32 ? 0 : kHvNoCrc32));
        EXPECT_EQ(r.send, kHvComplete);
        EXPECT_EQ(r.receive, kHvComplete);
        ExpectArrived(b);
        EXPECT_GT(PxRetries(kPortB), 0);
    }
}

TEST(HalvetTransfer, DeadLineEndsBothSidesInFailureNotCompletion) {
    Batch b = MakeBatch("dead", {200000});
    LoopLine line;
    size_t sent = 0;
    line.SetTamper(kPortA, [&sent](std::vector<uint8_t>& bytes) {
        sent += bytes.size();
        if (sent > 50000) bytes.clear();
    });
    HvResults r = Transfer(b.list, With(0));
    EXPECT_EQ(r.send, kHvFailed);
    EXPECT_EQ(r.receive, kHvFailed);
    EXPECT_EQ(PxLastError(kPortB), kHvErrTimeout);
    EXPECT_NE(PxLastError(kPortA), 0);
    EXPECT_EQ(hvtest::FilesCompleted(kPortB), 0);
    // Every further step repeats the end.
    EXPECT_EQ(HvRecvNext(kPortB), kHvFailed);
    EXPECT_EQ(HvSendNext(kPortA), kHvFailed);
}

TEST(HalvetTransfer, TextConversionEndsLinesWithCrLf) {
    Batch b = MakeBatch("text", {});
    const std::string text = "one\ntwo\r\nthree\n\n";
    WriteFile(b.src / "t.txt", std::vector<uint8_t>(text.begin(), text.end()));
    LoopLine line;
    SendArgs a;
    a.conversion = kHvConvText;
    HvResults r = Transfer((b.src / "t.txt").string(), a);
    EXPECT_EQ(r.receive, kHvComplete);
    const std::string want = "one\r\ntwo\r\nthree\r\n\r\n";
    EXPECT_EQ(ReadFile(b.dst / "t.txt"), std::vector<uint8_t>(want.begin(), want.end()));
}

TEST(HalvetTransfer, ResumeAsksOnlyForTheMissingPart) {
    Batch b = MakeBatch("resume", {100000});
    std::vector<uint8_t> head(b.data[0].begin(), b.data[0].begin() + 40000);
    WriteFile(b.dst / "f0.bin", head);
    LoopLine line;
    SendArgs a;
    a.conversion = kHvConvResume;
    HvResults r = Transfer(b.list, a);
    EXPECT_EQ(r.receive, kHvComplete);
    EXPECT_EQ(ReadFile(b.dst / "f0.bin"), b.data[0]);
    // Only the rest went over the line (with its framing).
    EXPECT_LT(line.Written(kPortA).size(), 70000u);
}

TEST(HalvetTransfer, ProtectSkipsAnExistingFileAndTheBatchGoesOn) {
    Batch b = MakeBatch("protect", {3000, 4000});
    const std::vector<uint8_t> mine = {'k', 'e', 'e', 'p'};
    WriteFile(b.dst / "f0.bin", mine);
    LoopLine line;
    SendArgs a;
    a.management = kHvManageProtect;
    HvResults r = Transfer(b.list, a);
    EXPECT_EQ(r.send, kHvComplete);
    EXPECT_EQ(r.receive, kHvComplete);
    EXPECT_EQ(ReadFile(b.dst / "f0.bin"), mine);
    EXPECT_EQ(ReadFile(b.dst / "f1.bin"), b.data[1]);
}

TEST(HalvetTransfer, UnlinkRemovesOnlyFilesSentWhole) {
    Batch b = MakeBatch("unlink", {3000, 0});
    LoopLine line;
    SendArgs a;
    a.flags |= kHvUnlink;
    HvResults r = Transfer(b.list, a);
    EXPECT_EQ(r.send, kHvComplete);
    EXPECT_FALSE(fs::exists(b.src / "f0.bin"));
    EXPECT_FALSE(fs::exists(b.src / "f1.bin"));
    EXPECT_EQ(ReadFile(b.dst / "f0.bin"), b.data[0]);
}

TEST(HalvetTransfer, SendOfAMissingFileFailsAtTheStart) {
    Batch b = MakeBatch("missing", {10});
    LoopLine line;
    EXPECT_EQ(StartSend(kPortA, b.list + " " + (b.src / "nothere.bin").string()), kHvFailed);
    EXPECT_EQ(PxLastError(kPortA), kHvErrSendOpen);
    // The driver then calls the abort: nothing goes out for a transfer that never began.
    EXPECT_EQ(HvRecvAbort(kPortA), kHvFailed);
    EXPECT_TRUE(line.Written(kPortA).empty());
    EXPECT_EQ(StartSend(kPortA, "  "), kHvFailed);
    EXPECT_EQ(HvRecvStart(kPortB, 2, 30), kHvFailed);
    EXPECT_EQ(HvRecvStart(55, kHvZmodem, 30), kHvFailed);  // a port that is not open
}

TEST(HalvetTransfer, AbortCancelsTheOtherSide) {
    for (bool abortReceiver : {true, false}) {
        Batch b = MakeBatch("abort", {500000});
        LoopLine line;
        ASSERT_EQ(StartSend(kPortA, b.list), kHvStarted);
        ASSERT_EQ(HvRecvStart(kPortB, kHvZmodem, 30), kHvStarted);
        for (int i = 0; i < 40; ++i) {
            HvSendNext(kPortA);
            HvRecvNext(kPortB);
        }
        if (abortReceiver) EXPECT_EQ(HvRecvAbort(kPortB), kHvFailed);
        else EXPECT_EQ(HvSendAbort(kPortA), kHvFailed);
        HvResults r = RunPair();
        EXPECT_EQ(r.send, kHvFailed);
        EXPECT_EQ(r.receive, kHvFailed);
        EXPECT_EQ(PxLastError(abortReceiver ? kPortB : kPortA), kHvErrAborted);
        EXPECT_EQ(PxLastError(abortReceiver ? kPortA : kPortB), kHvErrCancelled);
    }
}
