// The receive engine against a scripted sender: what it answers, writes and refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "loop_line.h"
#include <functional>

#include "pexla.h"
#include "port_table.h"

using namespace xytest;
namespace fs = std::filesystem;

namespace {

constexpr uint8_t kEot = 0x04, kAck = 0x06, kNak = 0x15, kCan = 0x18;

std::vector<uint8_t> Header(const std::string& fields) {
    std::vector<uint8_t> data(fields.begin(), fields.end());
    data.resize(128, 0);
    uint8_t packet[1100] = {};
    std::copy(data.begin(), data.end(), packet + 3);
    uint16_t crc = PxCrc16(packet + 3, 128);
    std::vector<uint8_t> b = {0x01, 0x00, 0xFF};
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(static_cast<uint8_t>(crc >> 8));
    b.push_back(static_cast<uint8_t>(crc));
    return b;
}

std::vector<uint8_t> Fill(size_t n, uint8_t v) { return std::vector<uint8_t>(n, v); }

class XyReceive : public testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_ / "in");
        fs::current_path(dir_ / "in");
    }
    // Steps the receiver until it ends or has nothing more to do; each step takes 1 ms.
    int Run(const char* mode, int steps = 2000) {
        int r = kXYGoOn;
        for (int i = 0; i < steps && r == kXYGoOn; ++i) {
            r = ComRXY_Next(kPortB, mode);
            line_.clock.now_ += 1;
        }
        return r;
    }
    int Count(uint8_t b) {
        const auto& w = line_.Written(kPortB);
        return static_cast<int>(std::count(w.begin(), w.end(), b));
    }
    std::string Target() { return (dir_ / "in" / "got.bin").string(); }

    LoopLine line_;
    fs::path dir_;
};

}  // namespace

TEST_F(XyReceive, RepeatedBlockIsAcknowledgedAndNotWrittenAgain) {
    ASSERT_EQ(ComRXY_Start(kPortB, Target().c_str(), "C"), 1);
    auto b1 = Block(1, Fill(128, 'a'), false), b2 = Block(2, Fill(128, 'b'), false);
    line_.Put(kPortB, b1);
    EXPECT_EQ(Run("C", 5), kXYGoOn);
    line_.Put(kPortB, b1);
    EXPECT_EQ(Run("C", 5), kXYGoOn);
    line_.Put(kPortB, b2);
    line_.Put(kPortB, {kEot});
    EXPECT_EQ(Run("C"), kXYComplete);
    auto want = Fill(128, 'a');
    auto b = Fill(128, 'b');
    want.insert(want.end(), b.begin(), b.end());
    EXPECT_EQ(ReadFile(Target()), want);
    EXPECT_EQ(Count(kAck), 4);  // two blocks, the repeat, the EOT
}

TEST_F(XyReceive, DamagedBlocksAreRefusedAndAskedForAgain) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
    };
    const Case cases[] = {
        {"crc", [](std::vector<uint8_t>& b) { b[50] ^= 1; }},
        {"complement", [](std::vector<uint8_t>& b) { b[2] ^= 0x40; }},
        {"short", [](std::vector<uint8_t>& b) { b.resize(100); }},
        {"wrong number", [](std::vector<uint8_t>& b) { b = Block(9, Fill(128, 'x'), false); }},
        {"bad start", [](std::vector<uint8_t>& b) { b[0] = 0x55; }},
    };
    for (const Case& c : cases) {
        fs::remove(Target());
        ASSERT_EQ(ComRXY_Start(kPortB, Target().c_str(), "C"), 1) << c.name;
        auto bad = Block(1, Fill(128, 'a'), false);
        c.damage(bad);
        line_.Put(kPortB, bad);
        const int naksBefore = Count(kNak) + Count('C');
        EXPECT_EQ(Run("C", 50), kXYGoOn) << c.name;
        EXPECT_GT(Count(kNak) + Count('C'), naksBefore) << c.name;
        EXPECT_GE(+PxPortStatus(kPortB)->errorsReported, 1) << c.name;
        line_.Take(kPortB);
        line_.Put(kPortB, Block(1, Fill(128, 'a'), false));
        line_.Put(kPortB, {kEot});
        EXPECT_EQ(Run("C"), kXYComplete) << c.name;
        EXPECT_EQ(ReadFile(Target()), Fill(128, 'a')) << c.name;
    }
}

TEST_F(XyReceive, CrcReceiveTakes1KBlocksAndChecksumReceiveTakesBoth) {
    for (const char* mode : {"C", "X"}) {
        const bool checksum = std::string(mode) == "X";
        ASSERT_EQ(ComRXY_Start(kPortB, Target().c_str(), mode), 1);
        line_.Put(kPortB, Block(1, Fill(1024, 'k'), checksum));
        line_.Put(kPortB, Block(2, Fill(128, 's'), checksum));
        line_.Put(kPortB, {kEot});
        EXPECT_EQ(Run(mode), kXYComplete) << mode;
        auto want = Fill(1024, 'k');
        want.resize(1152, 's');
        EXPECT_EQ(ReadFile(Target()), want) << mode;
    }
}

TEST_F(XyReceive, CancelNeedsTwoCans) {
    ASSERT_EQ(ComRXY_Start(kPortB, Target().c_str(), "C"), 1);
    line_.Put(kPortB, {kCan});
    line_.Put(kPortB, Block(1, Fill(128, 'a'), false));
    EXPECT_EQ(Run("C", 10), kXYGoOn);
    line_.Put(kPortB, {kCan, kCan});
    EXPECT_EQ(Run("C"), kXYCancelled);
    EXPECT_EQ(ReadFile(Target()), Fill(128, 'a'));
}

TEST_F(XyReceive, SilentSenderIsAskedEveryThreeSecondsThenGivenUp) {
    ComSetXYMaxerrors(kPortB, 4);
    const uint32_t t0 = line_.clock.now_;
    ASSERT_EQ(ComRXY_Start(kPortB, "", "T"), 1);
    EXPECT_EQ(Run("T", 100000), kXYFailed);
    EXPECT_EQ(Count('C'), 4);  // the first and one for each time-out below the threshold
    EXPECT_EQ(Count(kCan), 4);
    const uint32_t took = line_.clock.now_ - t0;
    EXPECT_GE(took, 12000u);
    EXPECT_LT(took, 20000u);
}

TEST_F(XyReceive, BatchNamesStayInsideTheFolderAndSizesCutTheLastBlock) {
    struct Case {
        std::string header;
        const char* file;  // where it lands, null: refused
        size_t size;
    };
    const Case cases[] = {
        {std::string("../escape.txt\0" "100", 17), "escape.txt", 100},
        {std::string("/etc/abs.txt\0" "0", 14), "abs.txt", 0},
        {std::string("plain.txt\0" "12x", 13), "plain.txt", 256},  // no usable size: whole blocks
        {std::string("..\0" "5", 4), nullptr, 0},
    };
    for (const Case& c : cases) {
        ComSetXYMaxerrors(kPortB, 3);
        ASSERT_EQ(ComRXY_Start(kPortB, "", "T"), 1);
        line_.Put(kPortB, Header(c.header));
        int r = Run("T", 20);
        if (!c.file) {
            line_.Put(kPortB, Header(c.header));
            line_.Put(kPortB, Header(c.header));
            EXPECT_EQ(Run("T", 100000), kXYFailed);
            continue;
        }
        ASSERT_EQ(r, kXYGoOn) << c.file;
        line_.Put(kPortB, Block(1, Fill(128, 'd'), false));
        line_.Put(kPortB, Block(2, Fill(128, 'e'), false));
        line_.Put(kPortB, {kEot});
        EXPECT_EQ(Run("T", 50), kXYGoOn);
        line_.Put(kPortB, Header(""));
        EXPECT_EQ(Run("T"), kXYComplete) << c.file;
        auto got = ReadFile(dir_ / "in" / c.file);
        EXPECT_EQ(got.size(), c.size) << c.file;
    }
    for (auto& e : fs::directory_iterator(dir_))
        EXPECT_EQ(e.path().filename(), "in") << "a file landed outside the folder";
}

TEST_F(XyReceive, HeaderWithBadCrcIsNotAccepted) {
    ASSERT_EQ(ComRXY_Start(kPortB, "", "T"), 1);
    auto h = Header(std::string("bad.txt\0" "5", 9));
    h[10] ^= 0x20;
    line_.Put(kPortB, h);
    EXPECT_EQ(Run("T", 20), kXYGoOn);
    EXPECT_FALSE(fs::exists(dir_ / "in" / "bad.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "in" / "bbd.txt"));
    EXPECT_EQ(+PxPortStatus(kPortB)->lastError, 6);
}

TEST_F(XyReceive, AbortAtThePortCancelsAndSendsCans) {
    ASSERT_EQ(ComRXY_Start(kPortB, Target().c_str(), "C"), 1);
    pexla::RequestAbort(kPortB);
    EXPECT_EQ(Run("C"), kXYCancelled);
    EXPECT_EQ(Count(kCan), 4);
}
