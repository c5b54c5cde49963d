// Worker threads on the real clock: a whole transfer reports its codes in order, and an abort
// puts the cancel on the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "loop_line.h"
#include "pexla.h"

using namespace xytest;
namespace fs = std::filesystem;

namespace {

std::vector<int> Codes(int port) {
    int codes[16];
    int n = PxThreadStatusHistory(port, codes, 16);
    return std::vector<int>(codes, codes + std::clamp(n, 0, 16));
}

// Waits until the worker has reported its end; returns all codes.
std::vector<int> WaitForEnd(int port, int seconds) {
    for (int i = 0; i < seconds * 100; ++i) {
        auto c = Codes(port);
        if (c.size() >= 2) return c;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return Codes(port);
}

}  // namespace

TEST(XyThreads, WorkerReceivesAWholeFileAndReportsStartAndCompletion) {
    auto dir = FreshDir("thread-recv");
    fs::current_path(dir);
    WriteFile(dir / "f.bin", Pattern(300));
    LoopLine line(false);
    ASSERT_EQ(ComSXY_Start(kPortA, "f.bin", "C"), 1);
    ASSERT_EQ(ComRXY_Thread(kPortB, (dir / "g.bin").string().c_str(), "C"), 1);
    EXPECT_EQ(ComXY_Thread_Priority(kPortB, 7), 1);
    int r = kXYGoOn;
    for (int i = 0; i < 100000 && r == kXYGoOn; ++i) r = ComSXY_Next(kPortA, "C");
    EXPECT_EQ(r, kXYComplete);
    EXPECT_EQ(WaitForEnd(kPortB, 10), (std::vector<int>{kXYThreadStarted, kXYThreadComplete}));
    auto want = Pattern(300);
    want.resize(384, 0);
    EXPECT_EQ(ReadFile(dir / "g.bin"), want);
    EXPECT_EQ(ComXY_Thread_Priority(kPortB, 7), -1);  // no worker any more
}

TEST(XyThreads, AbortEndsTheWorkerAndTheOtherSideSeesTheCancel) {
    auto dir = FreshDir("thread-abort");
    LoopLine line(false);
    ASSERT_EQ(ComRXY_Thread(kPortB, (dir / "g.bin").string().c_str(), "C"), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ComXY_Thread_ABORT(kPortB), 1);
    EXPECT_EQ(WaitForEnd(kPortB, 5), (std::vector<int>{kXYThreadStarted, kXYThreadFailed}));
    auto seen = line.Take(kPortA);
    EXPECT_GE(std::count(seen.begin(), seen.end(), 0x18), 2);
}

TEST(XyThreads, RefusedWhereThePortAllowsNoWorker) {
    auto dir = FreshDir("thread-refused");
    LoopLine line(false);
    PxPortInfo(kPortB)->noWorkerThreads = 1;
    EXPECT_EQ(ComRXY_Thread(kPortB, (dir / "g.bin").string().c_str(), "C"), -1);
    EXPECT_EQ(ComXY_Thread_Priority(kPortB, 5), -1);
    EXPECT_TRUE(Codes(kPortB).empty());
    PxPortInfo(kPortB)->noWorkerThreads = 0;
    // A start that fails reports the failure.
    EXPECT_EQ(ComSXY_Thread(kPortB, (dir / "none.bin").string().c_str(), "C"), -1);
    EXPECT_EQ(Codes(kPortB), std::vector<int>{kXYThreadFailed});
}
