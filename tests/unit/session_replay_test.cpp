#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "connections/file_offsets.h"
#include "connections/play_tokens.h"
#include "connections/session_replay.h"
#include "connections/session_trace.h"
#include "session/session_record.h"
#include "shell/temp_folder.h"

namespace {

// Records what the replay asks of the view; timers are run by the test.
class FakeHost : public PlaybackHost {
public:
    bool StartTimer(int ms) override { timers.push_back(ms); return timersLeft; }
    void KillTimer() override {}
    void PlayBytes(const uint8_t* b, int n) override { played.append(reinterpret_cast<const char*>(b), n); ++plays; }
    void PrivateCommand3270(const uint8_t* b, int n) override { private3270.append(reinterpret_cast<const char*>(b), n); }
    void Repaint() override {}
    void ShowMessage(int id, const std::string& text) override { messages.push_back(std::to_string(id) + " " + text); }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetProgress(int percent) override { progress = percent; }
    void SetPlayingFile(const std::string&) override {}
    void CloseMainWindow() override { closed = true; }
    void ReplayEnded() override { ++ended; }

    std::vector<int> timers;
    bool timersLeft = true;
    std::string played, private3270, status;
    std::vector<std::string> messages;
    int plays = 0, progress = -1, ended = 0;
    bool closed = false;
};

class SessionReplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->PlayDelay = 1;
        Rec->PlayKeyDelay = 100;
        Rec->PlayEnterDelay = 1000;
        Rec->PlayDelayIntervall = 10;
        SetPlaybackHost(&host);
    }
    void TearDown() override
    {
        CloseAllPlayFiles();
        SetPlaybackHost(nullptr);
    }
    // Names in play files are key-string texts, where a backslash escapes: the tests use '/'.
    std::string Name(const std::string& name) { return std::filesystem::path(folder.File(name)).generic_string(); }
    std::string File(const std::string& name, const std::string& text)
    {
        const std::string path = Name(name);
        TempFolder::Write(path, text);
        return path;
    }
    // Plays a file to its end (or until `ticks` timer ticks have run).
    void Play(const std::string& path, int ticks = 1000)
    {
        ASSERT_EQ(1, OpenPlayFile(path.c_str(), 0));
        for (int i = 0; i < ticks && Rec->PlaybackState == 1; ++i) PlaybackStep(false);
    }

    TempFolder folder;
    FakeHost host;
};

TEST(PlayTokens, BytesOfTokens)
{
    const struct { const char* token; std::string bytes; } cases[] = {
        {"CR", "\r"}, {"LF", "\n"}, {"SP", " "}, {"ESC", "\x1b"}, {"HT", "\t"}, {"x", "x"},
        {"%", "%"}, {"1B", "\x1b"}, {"7f", "\x7f"}, {"1FF", "\xff"}, {"ESC5B", "\x1b["},
        {"BLEN:", "\x0b"}, {"zz", std::string(1, '\0')}, {"0x41", std::string(1, '\0')}};
    for (const auto& c : cases) {
        uint8_t bytes[2];
        const int n = PlayTokenBytes(c.token, bytes);
        EXPECT_EQ(c.bytes, std::string(reinterpret_cast<char*>(bytes), n)) << c.token;
    }
}

TEST_F(SessionReplayTest, LongTokensAndTextsAreReadInBoundedPieces)
{
    const std::string longToken(250, 'A');
    const std::string longText(3000, 'b');
    std::FILE* f = std::fopen(File("long.trc", longToken + " DATA: " + longText + "\nX").c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char token[kPlayTokenMax + 1];
    EXPECT_EQ(kPlayTokenMax, ReadPlayToken(f, token));
    EXPECT_EQ(kPlayTokenMax, ReadPlayToken(f, token));
    EXPECT_EQ(250 - 2 * kPlayTokenMax, ReadPlayToken(f, token));
    ASSERT_EQ(5, ReadPlayToken(f, token));
    char text[kPlayTextMax + 1];
    EXPECT_EQ(kPlayTextMax, ReadPlayText(f, text));
    EXPECT_EQ(1, ReadPlayToken(f, token));  // the rest of the long text was passed over
    EXPECT_STREQ("X", token);
    std::fclose(f);
}

TEST_F(SessionReplayTest, TextsAfterData)
{
    const struct { const char* file; std::string played; } cases[] = {
        {"DATA: \"\\\"\"", "\""},                          // quote, backslash, quote, quote
        {"DATA: \"a\\\\\" b", "a\\b"},                    // an escaped backslash escapes nothing
        {"DATA:   hello<cr>\r\nLF", "hello\r\n"},          // to the line end, then a byte token
        {"DATA: \"two\r\nlines\"", "twolines"},            // CR and LF inside are dropped
        {"x DATA: y", "xy"},                               // bytes before the text play first
    };
    for (const auto& c : cases) {
        host.played.clear();
        Play(File("data.trc", c.file));
        EXPECT_EQ(c.played, host.played) << c.file;
    }
}

// A recording made with and without time headers plays the same bytes into the emulation.
TEST_F(SessionReplayTest, RecordedBlocksPlayBackIdentically)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::vector<std::string> blocks = {"login: ", all, "\x1b[1;1H\x1b[2J$ ", std::string(3000, 'q')};
    for (int timestamps = 0; timestamps < 2; ++timestamps) {
        Rec->TraceTimestamp = timestamps;
        const std::string path = Name("round" + std::to_string(timestamps) + ".trc");
        ASSERT_EQ(1, OpenTraceFile(path.c_str()));
        std::string expected;
        for (const auto& block : blocks) {
            TraceData(reinterpret_cast<const uint8_t*>(block.data()), static_cast<int>(block.size()), false);
            TraceKeyboard(0x0D, reinterpret_cast<const uint8_t*>("\r"), 1);
            TraceData(reinterpret_cast<const uint8_t*>("ls\r"), 3, true);
            expected += block;
        }
        TraceExit();
        CloseTraceFile();
        host.played.clear();
        Play(path);
        EXPECT_EQ(expected, host.played) << timestamps;
        EXPECT_EQ(0, Rec->PlaybackState);
    }
}

// The delays asked for by the tokens after SEND:, with the key and enter delays.
TEST_F(SessionReplayTest, SkippedTokensArePacedByTheKeyDelays)
{
    const std::string path = File("keys.trc", "SEND: l s CR COMM: a");
    const struct { int key, enter; std::vector<int> timers; } cases[] = {
        {100, 1000, {100, 100, 100, 1}},
        {0, 1000, {1000, 1}},
        {0, 0, {1}},
    };
    for (const auto& c : cases) {
        Rec->PlayKeyDelay = c.key;
        Rec->PlayEnterDelay = c.enter;
        Rec->PlayDelayIntervall = 0;  // one step per tick: every delay is asked for
        host.timers.clear();
        host.played.clear();
        Play(path);
        EXPECT_EQ(c.timers, host.timers) << c.key << " " << c.enter;
        EXPECT_EQ("a", host.played);
    }
}

TEST_F(SessionReplayTest, TenStepsRunPerTick)
{
    std::string text;
    for (int i = 0; i < 15; ++i) text += std::string(1, static_cast<char>('a' + i)) + " COMM: ";
    ASSERT_EQ(1, OpenPlayFile(File("steps.trc", text).c_str(), 0));
    PlaybackStep(false);
    EXPECT_EQ(10, host.plays);
    EXPECT_EQ("abcdefghij", host.played);
}

TEST_F(SessionReplayTest, CallReturnsAfterTheCall)
{
    const std::string inner = File("inner.trc", "COMM: b RETURN: x");
    Play(File("outer.trc", "COMM: a CALL: " + inner + "\nc CALL: \"" + inner + "\" d"));
    EXPECT_EQ("abcbd", host.played);
    EXPECT_TRUE(PlayFileStack().empty());
    EXPECT_EQ(1, host.ended);
}

TEST_F(SessionReplayTest, CallOfAMissingFileIsReportedAndTheCallerGoesOn)
{
    const std::string missing = Name("missing.trc");
    Play(File("outer.trc", "a CALL: " + missing + "\nb"));
    EXPECT_EQ("ab", host.played);
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ("45 Failed to play file: " + missing, host.messages[0]);
}

TEST_F(SessionReplayTest, RunReplacesTheFile)
{
    const std::string other = File("other.trc", "r");
    Play(File("first.trc", "a RUN: " + other + "\nnot-played"));
    EXPECT_EQ("ar", host.played);
}

// A file that calls itself stops at the nesting limit with a message, then unwinds.
TEST_F(SessionReplayTest, CallNestingHasALimit)
{
    const std::string self = Name("self.trc");
    TempFolder::Write(self, "a CALL: " + self + "\nb");
    Play(self);
    EXPECT_EQ(std::string(kMaxPlayFileNesting, 'a') + std::string(kMaxPlayFileNesting, 'b'), host.played);
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_NE(std::string::npos, host.messages[0].find("nested too deeply"));
    EXPECT_EQ(0, Rec->PlaybackState);
}

TEST_F(SessionReplayTest, ExitEndsEveryFileAndQuitClosesTheWindow)
{
    const std::string exits = File("exit.trc", "b EXIT: c");
    Play(File("outer.trc", "a CALL: " + exits + "\nd"));
    EXPECT_EQ("ab", host.played);
    EXPECT_FALSE(host.closed);
    EXPECT_TRUE(PlayFileStack().empty());
    host.played.clear();
    Play(File("quit.trc", "a QUIT: b"));
    EXPECT_EQ("a", host.played);
    EXPECT_TRUE(host.closed);
}

TEST_F(SessionReplayTest, PauseWaitAndResume)
{
    Rec->PlayDelayIntervall = 0;  // one step per tick, so the wait is not run through
    Play(File("pause.trc", "a PAUSE: b WAIT: c"));
    EXPECT_EQ(1 | kPlaybackPaused, Rec->PlaybackState);
    EXPECT_EQ("a", host.played);
    EXPECT_EQ("Paused: " + Name("pause.trc"), host.status);
    PlaybackStep(false);  // paused: nothing is read, the timer is re-armed
    EXPECT_EQ("a", host.played);
    EXPECT_EQ(1, host.timers.back());
    Rec->PlaybackState = 1;
    PlaybackStep(false);
    EXPECT_EQ("ab", host.played);
    EXPECT_EQ(5000, host.timers.back());
    PlaybackStep(false);
    EXPECT_EQ("abc", host.played);
    EXPECT_EQ(0, Rec->PlaybackState);
    EXPECT_EQ("", host.status);
}

TEST_F(SessionReplayTest, LoopPlaysAgainUntilStopped)
{
    Play(File("loop.trc", "COMM: a b LOOP:"), 5);
    EXPECT_EQ(1, Rec->PlaybackState);
    EXPECT_GE(host.played.size(), 6u);
    EXPECT_EQ(0u, host.played.find("ababab"));
    CloseAllPlayFiles();
    EXPECT_EQ(0, Rec->PlaybackState);
}

// Nothing in these files ends a step: each goes round once a tick instead of holding the program.
TEST_F(SessionReplayTest, AFileThatOnlyLoopsGoesRoundOnceATick)
{
    Rec->PlayKeyDelay = 0;
    Rec->PlayEnterDelay = 0;
    Rec->PlayDelayIntervall = 0;  // one step per tick
    const struct { const char* text; const char* played; } cases[] = {
        {"LOOP:", ""},
        {"x y CR LOOP:", "xy\r"},  // played once: after the loop the tokens are keys
        {"SEND: a TIME: 1 DELTA: 2 LOOP:", ""},
    };
    for (const auto& c : cases) {
        host.timers.clear();
        host.played.clear();
        Play(File("only.trc", c.text), 3);
        EXPECT_EQ(1, Rec->PlaybackState) << c.text;
        EXPECT_EQ(std::vector<int>({1, 1, 1}), host.timers) << c.text;
        EXPECT_EQ(c.played, host.played) << c.text;
        CloseAllPlayFiles();
    }
}

TEST_F(SessionReplayTest, AStepPlaysAtMost2048Bytes)
{
    std::string text = "COMM:";
    for (int i = 0; i < 5000; ++i) text += " ESC";
    Play(File("long.trc", text));
    EXPECT_EQ(std::string(5000, '\x1b'), host.played);
    EXPECT_EQ(3, host.plays);
}

TEST_F(SessionReplayTest, WithoutATimerTheReplayStops)
{
    host.timersLeft = false;
    Play(File("t.trc", "a WAIT: b"));
    EXPECT_EQ("a", host.played);
    EXPECT_EQ(0, Rec->PlaybackState);
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ(0u, host.messages[0].find("72 Out of System Timers."));
}

TEST_F(SessionReplayTest, DataTextGoesToThe3270CommandsIn3270Mode)
{
    Rec->TerminalFamily3270 = 1;
    Play(File("p.trc", "a DATA: \"<1b>x\""));
    EXPECT_EQ("a", host.played);
    EXPECT_EQ("\x1bx", host.private3270);
}

TEST_F(SessionReplayTest, ProgressFollowsTheFilePosition)
{
    Rec->PlayDelayIntervall = 0;
    ASSERT_EQ(1, OpenPlayFile(File("p.trc", "a WAIT: bbbbbbbbbbbbbbbbbbbb").c_str(), 0));
    PlaybackStep(false);
    EXPECT_EQ(8 * 100 / 28, host.progress);  // behind "a WAIT: " of 28 bytes
}

// A recording past 2 GB (sparse here): positions and the percentage are computed in 64 bits.
TEST_F(SessionReplayTest, ProgressOfAFileLargerThanTwoGigabytes)
{
    const int64_t start = int64_t{3} << 30;
    const std::string path = Name("big.trc");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(0, SeekFile64(file, start, SEEK_SET));
    std::fputs("a WAIT: bbbbbbbbbbbbbbbbbbbb", file);
    ASSERT_EQ(0, std::fclose(file));
    Rec->PlayDelayIntervall = 0;
    ASSERT_EQ(1, OpenPlayFile(path.c_str(), start));
    PlaybackStep(false);
    EXPECT_EQ(host.played, "a");
    EXPECT_EQ((start + 8) * 100 / (start + 28), host.progress);
    ASSERT_EQ(1, PushPlayFile());
    EXPECT_EQ(start + 8, PlayFileStack()[0].position);
    CloseAllPlayFiles();
    std::remove(path.c_str());
}

}  // namespace

namespace {

// A file of another kind (a picture, an empty file) is not opened as a recording, and a CALL: of
// it says so once; a hand-written script without any keyword still plays.
TEST_F(SessionReplayTest, AFileThatIsNotARecordingIsRefusedWithItsReason)
{
    const struct {
        const char* name;
        std::string text;
    } others[] = {
        {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"empty.trc", ""},
        {"blanks.trc", " \r\n\t "},
    };
    for (const auto& other : others) {
        SCOPED_TRACE(other.name);
        EXPECT_EQ(0, OpenPlayFile(File(other.name, other.text).c_str(), 0));
        EXPECT_STREQ(" (not a recording)", PlayOpenFailureNote());
        EXPECT_EQ(nullptr, Rec->PlaybackFile);
    }
    EXPECT_EQ(0, OpenPlayFile(Name("missing.trc").c_str(), 0));
    EXPECT_STREQ("", PlayOpenFailureNote());

    const std::string picture = Name("picture.png");
    Play(File("outer.trc", "COMM: a CALL: " + picture + "\nb"));
    EXPECT_EQ("ab", host.played);
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ("45 Failed to play file: " + picture + " (not a recording)", host.messages[0]);

    host.played.clear();
    Play(File("script.trc", "a b c"));
    EXPECT_EQ("abc", host.played);
}

}  // namespace
