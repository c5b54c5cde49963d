// The send engine against a scripted receiver, and the faults of the source files.
#include <gtest/gtest.h>

#include <algorithm>

#include "loop_line.h"
#include "pexla.h"
#include "xy_host.h"

using namespace xytest;
namespace fs = std::filesystem;

namespace {

constexpr uint8_t kEot = 0x04, kAck = 0x06, kNak = 0x15, kCan = 0x18;

class XySend : public testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::current_path(dir_);
    }
    // Answers with one byte and steps the sender until it has sent something or ended.
    int Answer(uint8_t b, const char* mode) {
        line_.Take(kPortB);
        line_.Put(kPortA, {b});
        int r = kXYGoOn;
        for (int i = 0; i < 20 && r == kXYGoOn && line_.Take(kPortB).empty(); ++i) r = ComSXY_Next(kPortA, mode);
        return r;
    }
    std::vector<uint8_t> Sent() { return line_.Take(kPortB); }

    LoopLine line_;
    fs::path dir_;
};

// A host whose files fail to read after a number of bytes.
class FailingReads : public kestrix::XyHost {
public:
    explicit FailingReads(int goodBytes) : inner_(kestrix::Host()), good_(goodBytes) {}
    kestrix::XyFile* CreateForWrite(const char* p) override { return inner_.CreateForWrite(p); }
    kestrix::XyFile* OpenForRead(const char* p) override {
        kestrix::XyFile* f = inner_.OpenForRead(p);
        return f ? new File(f, good_, inner_) : nullptr;
    }
    void Close(kestrix::XyFile* f) override { delete f; }
    bool Facts(const char* p, kestrix::FileFacts* f) override { return inner_.Facts(p, f); }
    bool SetModTime(const char* p, int64_t t) override { return inner_.SetModTime(p, t); }
    int LastError() override { return 5; }
    void ShowOpenError(const char*, const char*) override {}
    void* StartWorker(kestrix::WorkerBody b, int p) override { return inner_.StartWorker(b, p); }
    void SetPriority(void* t, int l) override { inner_.SetPriority(t, l); }
    void ReleaseWorker(void* t) override { inner_.ReleaseWorker(t); }

private:
    struct File : kestrix::XyFile {
        File(kestrix::XyFile* f, int left, kestrix::XyHost& h) : f(f), left(left), host(h) {}
        ~File() override { host.Close(f); }
        int Read(void* b, int n) override {
            if (left <= 0) return -1;
            int got = f->Read(b, std::min(n, left));
            left -= got;
            return got;
        }
        int Write(const void* d, int n) override { return f->Write(d, n); }
        kestrix::XyFile* f;
        int left;
        kestrix::XyHost& host;
    };
    kestrix::XyHost& inner_;
    int good_;
};

}  // namespace

TEST_F(XySend, NakAfterEotResendsItWithoutCountingAnError) {
    WriteFile(dir_ / "f.bin", Pattern(100));
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "C"), 1);
    line_.Put(kPortA, {'C'});
    EXPECT_EQ(ComSXY_Next(kPortA, "C"), kXYGoOn);
    auto first = Sent();
    ASSERT_EQ(first.size(), 133u);
    EXPECT_EQ(first[1], 1);
    EXPECT_EQ(Answer(kAck, "C"), kXYGoOn);
    EXPECT_EQ(line_.Written(kPortA).back(), kEot);
    EXPECT_EQ(Answer(kNak, "C"), kXYGoOn);
    EXPECT_EQ(line_.Written(kPortA).back(), kEot);
    EXPECT_EQ(+PxPortStatus(kPortA)->errorsReported, 0);
    EXPECT_EQ(Answer(kAck, "C"), kXYComplete);
}

TEST_F(XySend, EmptyFileSendsOnlyTheEot) {
    WriteFile(dir_ / "empty", {});
    ASSERT_EQ(ComSXY_Start(kPortA, "empty", "X"), 1);
    line_.Put(kPortA, {kNak});
    EXPECT_EQ(ComSXY_Next(kPortA, "X"), kXYGoOn);
    EXPECT_EQ(Sent(), std::vector<uint8_t>{kEot});
    EXPECT_EQ(Answer(kAck, "X"), kXYComplete);
}

TEST_F(XySend, NakInTheMiddleCountsAnErrorAndResendsTheSameBlock) {
    WriteFile(dir_ / "f.bin", Pattern(300));
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "X"), 1);
    line_.Put(kPortA, {kNak});
    ComSXY_Next(kPortA, "X");
    Sent();
    EXPECT_EQ(Answer(kAck, "X"), kXYGoOn);
    auto second = line_.Written(kPortA);
    EXPECT_EQ(Answer(kNak, "X"), kXYGoOn);
    const auto& all = line_.Written(kPortA);
    ASSERT_EQ(all.size(), second.size() + 132);
    EXPECT_TRUE(std::equal(all.end() - 132, all.end(), second.end() - 132));
    EXPECT_EQ(+PxPortStatus(kPortA)->lastError, 11);
}

TEST_F(XySend, FailedReadOfTheSourceCancelsInsteadOfEndingTheFileEarly) {
    WriteFile(dir_ / "f.bin", std::vector<uint8_t>(5000, 'p'));
    FailingReads host(2048);
    kestrix::SetHost(&host);
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "Y"), 1);
    line_.Put(kPortA, {'C'});
    ComSXY_Next(kPortA, "Y");
    int r = Answer(kAck, "Y");  // block 2 goes out, block 3 cannot be read
    kestrix::SetHost(nullptr);
    EXPECT_EQ(r, kXYFailed);
    const auto& w = line_.Written(kPortA);
    EXPECT_EQ(std::count(w.begin(), w.end(), kEot), 0);
    EXPECT_EQ(std::vector<uint8_t>(w.end() - 4, w.end()), std::vector<uint8_t>(4, kCan));
}

TEST_F(XySend, BatchFileThatCannotBeOpenedCancels) {
    WriteFile(dir_ / "one.bin", Pattern(10));
    ASSERT_EQ(ComSXY_Start(kPortA, "one.bin missing.bin", "T"), 1);
    line_.Put(kPortA, {'C'});
    ComSXY_Next(kPortA, "T");
    EXPECT_EQ(Sent()[0], 0x01);                 // header
    EXPECT_EQ(Answer(kAck, "T"), kXYGoOn);      // header taken, data waits for 'C'
    EXPECT_EQ(Answer('C', "T"), kXYGoOn);       // data block
    EXPECT_EQ(Answer(kAck, "T"), kXYGoOn);      // EOT
    EXPECT_EQ(Answer(kAck, "T"), kXYFailed);    // the next file is missing
    const auto& w = line_.Written(kPortA);
    EXPECT_EQ(std::vector<uint8_t>(w.end() - 4, w.end()), std::vector<uint8_t>(4, kCan));
}

TEST_F(XySend, MissingFileOrNoListRefusesTheStart) {
    EXPECT_EQ(ComSXY_Start(kPortA, "nothere.bin", "X"), -1);
    EXPECT_EQ(ComSXY_Start(kPortA, "", "X"), -1);
    WriteFile(dir_ / "f.bin", Pattern(10));
    EXPECT_EQ(ComSXY_Start(kPortA, "f.bin", "Q"), -1);
    EXPECT_TRUE(line_.Written(kPortA).empty());
}

TEST_F(XySend, ReceiverCanCancelWithTwoCans) {
    WriteFile(dir_ / "f.bin", Pattern(1000));
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "C"), 1);
    line_.Put(kPortA, {'C'});
    ComSXY_Next(kPortA, "C");
    line_.Put(kPortA, {kCan, kAck});  // one CAN is forgotten with the next answer
    EXPECT_EQ(ComSXY_Next(kPortA, "C"), kXYGoOn);
    EXPECT_EQ(ComSXY_Next(kPortA, "C"), kXYGoOn);
    line_.Put(kPortA, {kCan, kCan});
    EXPECT_EQ(ComSXY_Next(kPortA, "C"), kXYCancelled);
}
