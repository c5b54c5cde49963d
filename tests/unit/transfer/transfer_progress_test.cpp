// Progress line and speed text of a transfer.
#include <gtest/gtest.h>

#include "connections/transfer_progress.h"

namespace {

TEST(TransferProgress, LineByKnownSizeRetriesAndLength)
{
    struct Case {
        TransferCounts counts;
        const char* line;
        int percent;
    };
    const Case cases[] = {
        {{"a.bin", 1024, 8, 0, 0}, "a.bin, Pack: 8 Bytes: 1024", 0},
        {{"a.bin", 1024, 8, 4096, 2}, "a.bin 25% Bytes:1024 Size:4096 retry: 2", 25},
        // 64-bit: beyond 2 GB, and bytes x 100 beyond 32 bits.
        {{"big.iso", 3000000000LL, 1, 4000000000LL, 0}, "big.iso 75% Bytes:3000000000 Size:4000000000", 75},
        {{"grown", 5000, 1, 4000, 0}, "grown 125% Bytes:5000 Size:4000", 100},
        {{"x", 1, 1, 0, 1234567}, "x, Pack: 1 Bytes: 1 retry: 1234567", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressLine(c.counts), c.line);
        EXPECT_EQ(ProgressPercent(c.counts), c.percent) << c.line;
    }
    TransferCounts longName{std::string(90, 'n'), 1, 1, 0, 0};
    EXPECT_EQ(ProgressLine(longName).size(), 80u);
}

TEST(TransferProgress, SpeedTimeLeftAndCompletion)
{
    // 10000 bytes in 2 s: 50 Kbit/s at ten bits a byte, 30000 left at 5000 a second.
    EXPECT_EQ(SpeedText({"f", 10000, 10, 40000, 0}, 2000, false), "50.0 Kbit/s  0:06");
    // Nothing left: the time spent.
    EXPECT_EQ(SpeedText({"f", 40000, 10, 40000, 3}, 125000, true), "3.2 Kbit/s  2:05 Complete, (retries: 3)");
    EXPECT_EQ(SpeedText({"f", 0, 0, 0, 0}, 0, false), "0.0 Kbit/s  0:00");
    EXPECT_EQ(TimeText(3 * 3600 + 5 * 60 + 7), "3:5:07");
    EXPECT_EQ(TimeText(59), "0:59");
}

}  // namespace
