// Multimedia commands: the device name, the replies to the host, the busy retries and their
// bounds, the wait for a playing device and the reply conversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host_commands/multimedia.h"
#include "host_command_fakes.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

using Log = std::vector<std::string>;

class MultimediaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Rec->Charset = 3;
        Rec->MciShowError = 1;
        fakes.system.mciErrorTexts[263] = "The specified device is not open.";
    }
    std::vector<std::string> MciCalls() const
    {
        std::vector<std::string> calls;
        for (const std::string& entry : HostLog())
            if (entry.rfind("mci ", 0) == 0) calls.push_back(entry);
        return calls;
    }

    HostFakes fakes;
};

TEST_F(MultimediaTest, DeviceNameFollowsAliasOpenOrPlay)
{
    const struct {
        const char* command;
        const char* device;
    } cases[] = {
        {"open c:\\a.wav alias snd", "snd"},
        {"open c:\\a.wav", "c:\\a.wav"},
        {"play snd", "snd"},
        {"play   snd from 0", "snd from 0"},
        {"status snd mode", ""},
        {"close snd", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(MciDeviceName(c.command), c.device) << c.command;
}

TEST_F(MultimediaTest, LastDeviceFollowsTheCommands)
{
    RunMciCommand("OPEN c:\\a.wav ALIAS snd");
    EXPECT_EQ(LastMciDevice(), "snd");
    RunMciCommand("play snd");
    EXPECT_EQ(LastMciDevice(), "snd");
    RunMciCommand("close snd");
    EXPECT_EQ(LastMciDevice(), "");
    // Upper-case input is sent in lower case, with a 249-byte reply buffer.
    EXPECT_EQ(MciCalls().front(), "mci open c:\\a.wav alias snd /249");
}

TEST_F(MultimediaTest, RepliesFollowTheSettings)
{
    const struct {
        int ok, data, error;
        FakeHostSystem::MciAnswer answer;
        const char* command;
        std::string sent;
    } cases[] = {
        {1, 0, 0, {0, ""}, "play snd", "OK\r"},
        {0, 0, 0, {0, ""}, "play snd", ""},
        {0, 1, 0, {0, "stopped"}, "status snd mode", "stopped\r"},
        {1, 0, 0, {0, "stopped"}, "status snd mode", ""},
        {0, 0, 1, {263, ""}, "bogus snd",
         "MCI error: The specified device is not open.\nMCI command: bogus snd\r"},
        {0, 0, 1, {999, ""}, "bogus", "MCI error: Unknown MCI Error\nMCI command: bogus\r"},
        {1, 1, 0, {263, ""}, "bogus", ""},
    };
    for (const auto& c : cases) {
        Rec->MciOkReply = c.ok;
        Rec->MciDataReply = c.data;
        Rec->MciErrorReply = c.error;
        fakes.system.mciAnswers = {c.answer};
        fakes.system.mciCalls = 0;
        fakes.host.sent.clear();
        EXPECT_EQ(RunMciCommand(c.command), c.answer.error) << c.command;
        EXPECT_EQ(fakes.host.sent, c.sent) << c.command;
    }
}

TEST_F(MultimediaTest, ErrorsAreShownOnceWithoutRetryWhenNotWaiting)
{
    Rec->MciErrorReply = 1;
    fakes.system.mciAnswers = {{320, ""}};
    RunMciCommand("play snd");
    EXPECT_EQ(fakes.system.mciCalls, 1u);
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].text, "MCI error: Unknown MCI Error\nMCI command: play snd");
    Rec->MciShowError = 0;
    RunMciCommand("play snd");
    EXPECT_EQ(fakes.platform.messages.size(), 1u);
}

TEST_F(MultimediaTest, BusyOutputsAreRetriedWithinTheBudget)
{
    Rec->MciWaitIfBusy = 2;
    fakes.system.mciAnswers = {{320, ""}, {320, ""}, {320, ""}, {0, ""}};
    EXPECT_EQ(RunMciCommand("play snd"), 320);
    EXPECT_EQ(HostLog(), (Log{"mci play snd /249", "DelayMs 1000", "mci play snd /249", "DelayMs 1000",
                              "mci play snd /249"}));
}

TEST_F(MultimediaTest, DuplicateAliasClosesTheDeviceABoundedNumberOfTimes)
{
    Rec->MciWaitIfBusy = 30;
    fakes.system.mciAnswers = {{289, ""}};
    EXPECT_EQ(RunMciCommand("open a.wav alias snd"), 289);
    const std::vector<std::string> calls = MciCalls();
    ASSERT_EQ(calls.size(), 1u + 2u * kMciDuplicateAliasRetries);
    EXPECT_EQ(calls[1], "mci close snd wait /249");

    fakes.system.mciAnswers = {{289, ""}, {0, ""}, {0, ""}};
    fakes.system.mciCalls = 0;
    EXPECT_EQ(RunMciCommand("open a.wav alias snd"), 0);
}

TEST_F(MultimediaTest, CloseErrorsAreQuietWhileWaiting)
{
    Rec->MciWaitIfBusy = 1;
    Rec->MciErrorReply = 1;
    fakes.system.mciAnswers = {{263, ""}};
    RunMciCommand("close snd");
    EXPECT_TRUE(fakes.host.sent.empty());
    EXPECT_TRUE(fakes.platform.messages.empty());
}

TEST_F(MultimediaTest, VideoPlayWaitsForThePlayingDevice)
{
    Rec->MciWaitIfBusy = 3;
    RunMciCommand("open a.wav alias snd");
    fakes.system.mciAnswers = {{0, "playing"}};  // the device never stops
    fakes.system.mciCalls = 0;
    HostLog().clear();
    RunMciCommand("play movie.avi");
    EXPECT_EQ(HostLog(), (Log{"mci status snd mode wait /49", "DelayMs 1000", "mci status snd mode wait /49",
                              "DelayMs 1000", "mci status snd mode wait /49", "DelayMs 1000",
                              "mci status snd mode wait /49", "mci play movie.avi /249"}));

    fakes.system.mciAnswers = {{0, "stopped"}};
    HostLog().clear();
    RunMciCommand("open a.wav alias snd");
    RunMciCommand("play movie.avi");
    EXPECT_EQ(MciCalls().size(), 3u);
}

TEST_F(MultimediaTest, RepliesAreConvertedForTheHostAndTraced)
{
    Rec->MciDataReply = 1;
    fakes.system.mciAnswers = {{0, "abc"}};
    Rec->Charset = 1;
    SessionTranslateTables.Outgoing[static_cast<uint8_t>('b')] = 'B';
    RunMciCommand("status snd mode");
    EXPECT_EQ(fakes.host.sent, "aBc\r");

    fakes.host.sent.clear();
    Rec->Charset = 4;
    Rec->Recording = 1;
    fakes.system.mciAnswers = {{0, "caf\xe9"}};
    RunMciCommand("status snd mode");
    EXPECT_EQ(fakes.host.sent, "caf\x82\r");  // 0xE9 in the ANSI page is 0x82 in the OEM page
    EXPECT_EQ(HostLog().back(), "TraceKeyboard 0 caf\x82\r");
}

TEST_F(MultimediaTest, LongErrorRepliesAreCutTo250BytesPlusCr)
{
    Rec->MciErrorReply = 1;
    fakes.system.mciErrorTexts[263] = std::string(200, 'e');
    fakes.system.mciAnswers = {{263, ""}};
    RunMciCommand(std::string(150, 'x').c_str());
    ASSERT_EQ(fakes.host.sent.size(), 251u);
    EXPECT_EQ(fakes.host.sent.back(), '\r');
}

}  // namespace
