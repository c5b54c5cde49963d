#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "connections/session_trace.h"
#include "session/session_record.h"
#include "shell/temp_folder.h"

namespace {

class StepClock : public TraceClock {
public:
    uint32_t TickMs() override { return tick; }
    void LocalTime(int& h, int& m, int& s) override { h = 14; m = 5; s = 9; }
    uint32_t tick = 1000;
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    // The golden files hold plain line ends; the Windows runtime writes CR LF in text mode.
    std::string plain;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) plain += s[i];
    return plain;
}

const uint8_t* U(const char* text) { return reinterpret_cast<const uint8_t*>(text); }

class SessionTraceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        SetTraceClock(&clock);
        file = folder.Path() / "session.trc";
        ASSERT_EQ(1, OpenTraceFile(file.string().c_str()));
    }
    void TearDown() override
    {
        CloseTraceFile();
        SetTraceClock(nullptr);
    }
    std::string Golden(const char* name) { return ReadFile(std::filesystem::path(TOLVI_TRACE_DATA_DIR) / name); }

    TempFolder folder;
    StepClock clock;
    std::filesystem::path file;
};

// Every kind of record and every kind of token, without and with the time headers.
TEST_F(SessionTraceTest, RecordsMatchTheGoldenFiles)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string hundred(100, 'x');
    for (int timestamps = 0; timestamps < 2; ++timestamps) {
        SCOPED_TRACE(timestamps);
        if (timestamps) {
            ASSERT_EQ(0, CloseTraceFile());
            ASSERT_EQ(1, OpenTraceFile(file.string().c_str()));
        }
        Rec->TraceTimestamp = timestamps;
        clock.tick = 1000;
        EXPECT_EQ(1, TraceData(U("ab\x1b[H"), 5, false));
        EXPECT_EQ(1, TraceKeyboard(0x241, U("a"), 1));
        clock.tick = 1250;
        EXPECT_EQ(1, TraceData(U("ls -l\r"), 6, true));
        EXPECT_EQ(1, TraceData(U(hundred.c_str()), 100, false));
        EXPECT_EQ(1, TraceData(U(all.data()), 256, false));
        EXPECT_EQ(1, TraceKeyboard(0, U(""), 0));
        EXPECT_EQ(1, TraceExit());
        Rec->TerminalFamily3270 = 1;
        EXPECT_EQ(1, TraceData(U("\xf5\xc3 A\r"), 5, false));
        EXPECT_EQ(1, TraceKeyboard(0x10D, U("\r"), 1));  // keyboard records are never hex only
        Rec->TerminalFamily3270 = 0;
        // The file is flushed after each record.
        EXPECT_EQ(Golden(timestamps ? "records_timed.trc" : "records.trc"), ReadFile(file));
    }
}

TEST_F(SessionTraceTest, RecordsInOneMillisecondCountTheirBitsPerOneSecond)
{
    Rec->TraceTimestamp = 1;
    TraceData(U("abc"), 3, false);
    TraceData(U("abcd"), 4, false);
    const std::string text = ReadFile(file);
    EXPECT_NE(std::string::npos, text.find("DELTA: 0.000 BLEN: 4 BITS/S: 32 COMM: a b c d \n"));
}

TEST_F(SessionTraceTest, NothingIsWrittenOnceClosed)
{
    EXPECT_EQ(0, CloseTraceFile());
    EXPECT_EQ(0, CloseTraceFile());  // nothing recording any more
    EXPECT_EQ(0, TraceData(U("x"), 1, false));
    EXPECT_EQ(0, TraceExit());
    EXPECT_EQ("", ReadFile(file));
}

TEST(SessionTraceOpen, AFolderThatCannotBeOpenedLeavesRecordingOff)
{
    std::memset(Rec, 0, sizeof(SettingsRecord));
    TempFolder folder;
    EXPECT_EQ(0, OpenTraceFile((folder.Path() / "no" / "such.trc").string().c_str()));
    EXPECT_EQ(0, TraceData(U("x"), 1, false));
}

}  // namespace
