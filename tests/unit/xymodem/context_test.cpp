// Port contexts, parameters, the calls that end a transfer, whole transfers and sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "loop_line.h"
#include "pexla.h"
#include "port_table.h"

using namespace xytest;
namespace fs = std::filesystem;

namespace {

void ExpectDefaults(int port) {
    XYModemParms p{};
    ASSERT_EQ(ComGetXYModemParms(port, &p), 1);
    EXPECT_EQ(+p.xmodemTime, 20);
    EXPECT_EQ(+p.maxErrors, 10);
    EXPECT_EQ(+p.padChar, 0);
    EXPECT_EQ(+p.retries, 10);
    EXPECT_EQ(+p.forceLow, 0);
}

}  // namespace

TEST(XyContext, PortThatIsNotOpenHasNoContext) {
    XYModemParms p{};
    EXPECT_EQ(ComGetXYModemParms(17, &p), -1);
    EXPECT_EQ(ComSetXYMaxerrors(17, 3), -1);
    EXPECT_EQ(ComGetXYPadchar(17), 0xFF);
    EXPECT_STREQ(ComGetXYDebugFile(17), "");
    EXPECT_EQ(ComGetXYMaxerrors(0), -1);
    EXPECT_EQ(ComGetXYMaxerrors(101), -1);
    EXPECT_EQ(CRecvX(17, "x"), -1);
}

TEST(XyContext, ParametersStartFromDefaultsAndDoNotOutliveATransfer) {
    auto dir = FreshDir("ctx-params");
    fs::current_path(dir);
    WriteFile(dir / "f.bin", Pattern(300));
    LoopLine line;
    ExpectDefaults(kPortA);
    XYModemParms set{40, 5, 0x1A, 3, 1};
    ASSERT_EQ(ComSetXYModemParms(kPortA, &set), 1);
    EXPECT_EQ(ComGetXYModemParmXmodemTime(kPortA), 40);
    EXPECT_EQ(ComGetXYMaxerrors(kPortA), 5);
    EXPECT_EQ(ComGetXYPadchar(kPortA), 0x1A);
    EXPECT_EQ(ComGetXYRetries(kPortA), 3);
    EXPECT_EQ(ComSetXYPadchar(kPortA, 0x141), 1);
    EXPECT_EQ(ComGetXYPadchar(kPortA), 0x41);

    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "C"), 1);
    ASSERT_EQ(ComRXY_Start(kPortB, (dir / "g.bin").string().c_str(), "C"), 1);
    Results r = RunPair("C");
    ASSERT_EQ(r.send, kXYComplete);
    ASSERT_EQ(r.receive, kXYComplete);
    ExpectDefaults(kPortA);
    ExpectDefaults(kPortB);
}

TEST(XyContext, ReopenedPortGetsAFreshContext) {
    {
        LoopLine line;
        ComSetXYMaxerrors(kPortA, 2);
        EXPECT_EQ(ComGetXYMaxerrors(kPortA), 2);
    }
    LoopLine line;
    line.clock.now_ += 5;
    ExpectDefaults(kPortA);
}

TEST(XyContext, DebugFileNameOutlivesTheContext) {
    auto dir = FreshDir("ctx-debug");
    LoopLine line;
    const std::string log = (dir / "xy.log").string();
    ASSERT_EQ(ComSetXYDebugFile(kPortB, log.c_str()), 1);
    const char* kept = ComGetXYDebugFile(kPortB);
    EXPECT_EQ(kept, log);
    ASSERT_EQ(ComRXY_Start(kPortB, (dir / "x.bin").string().c_str(), "X"), 1);
    EXPECT_EQ(ComRXY_Abort(kPortB), 1);
    EXPECT_GE(std::strlen(kept), 0u);  // still readable storage (ASan checks)
    auto text = ReadFile(log);
    EXPECT_NE(std::string(text.begin(), text.end()).find("Start receive XMODEM file:"), std::string::npos);
}

TEST(XyContext, AbortSendsTwoCansAndReleasesTheContext) {
    auto dir = FreshDir("ctx-abort");
    LoopLine line;
    ComSetXYMaxerrors(kPortB, 4);
    ASSERT_EQ(ComRXY_Start(kPortB, (dir / "x.bin").string().c_str(), "C"), 1);
    line.Take(kPortA);
    EXPECT_EQ(ComRXY_Abort(kPortB), 1);
    EXPECT_EQ(line.Take(kPortA), (std::vector<uint8_t>{0x18, 0x18}));
    EXPECT_EQ(ComRXY_Next(kPortB, "C"), -1);
    EXPECT_EQ(ComRXY_Abort(kPortB), -1);
    ExpectDefaults(kPortB);  // a fresh one
    EXPECT_EQ(ComRXY_Cancel(kPortB), 1);
    EXPECT_EQ(CTermXYPkt(kPortB), -1);
}

TEST(XyContext, StepWithAnUnknownLetterLeavesTheTransferAsItWas) {
    auto dir = FreshDir("ctx-letter");
    fs::current_path(dir);
    WriteFile(dir / "f.bin", Pattern(200));
    LoopLine line;
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "C"), 1);
    ASSERT_EQ(ComRXY_Start(kPortB, (dir / "g.bin").string().c_str(), "C"), 1);
    EXPECT_EQ(ComRXY_Next(kPortB, "Q"), -1);
    EXPECT_EQ(ComRXY_Next(kPortB, "CC"), -1);
    EXPECT_EQ(ComSXY_Next(kPortA, "c"), -1);
    Results r = RunPair("C");
    EXPECT_EQ(r.send, kXYComplete);
    EXPECT_EQ(r.receive, kXYComplete);
}

TEST(XyContext, WholeTransferNeedsAnOpenContextForTheCForms) {
    auto dir = FreshDir("ctx-whole");
    LoopLine line;
    const std::string target = (dir / "w.bin").string();
    EXPECT_EQ(CRecvX(kPortB, target.c_str()), -1);
    ComSetXYMaxerrors(kPortB, 2);
    // No sender: the receive runs and fails after two time-outs.
    Ticker ticker(line.clock);
    EXPECT_EQ(CRecvX(kPortB, target.c_str()), -1);
    EXPECT_GT(line.Written(kPortB).size(), 1u);
}

TEST(XyContext, WholeTransferStopsOnTheAbortKey) {
    auto dir = FreshDir("ctx-whole-abort");
    LoopLine line;
    const std::string target = (dir / "w.bin").string();
    ComSetXYMaxerrors(kPortB, 100000);  // the silent line never ends it first
    Ticker ticker(line.clock);
    std::thread presser([] {
        // The whole transfer runs on the fake clock; the key is pressed from outside.
        for (int i = 0; i < 1000 && !PxPortStatus(kPortB); ++i) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pexla::RequestAbort(kPortB);
    });
    int r = ComRecvXC(kPortB, target.c_str());
    presser.join();
    EXPECT_EQ(r, kXYCancelled);
}

TEST(XyContext, SizesInBlocks) {
    auto dir = FreshDir("ctx-sizes");
    struct Case {
        size_t bytes;
        int x, y;
    };
    for (Case c : {Case{0, 0, 0}, Case{1, 1, 1}, Case{128, 1, 1}, Case{129, 2, 1}, Case{1025, 9, 2}}) {
        auto f = dir / ("s" + std::to_string(c.bytes));
        WriteFile(f, Pattern(c.bytes));
        EXPECT_EQ(ComSizeX(f.string().c_str()), c.x) << c.bytes;
        EXPECT_EQ(ComSizeY(f.string().c_str()), c.y) << c.bytes;
        EXPECT_EQ(ComSizeA(f.string().c_str(), 128), c.x) << c.bytes;
    }
    EXPECT_EQ(ComSizeX((dir / "none").string().c_str()), -1);
}
