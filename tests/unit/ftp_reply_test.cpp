// The reply reader over replies of every shape, delivered in chunks of several sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ftp_api.h"
#include "ftp_engine.h"
#include "ftp_log.h"
#include "ftp_scripted_net.h"
#include "ftp_test_host.h"

namespace {

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

struct Case {
    const char* what;
    std::string bytes;
    int replyClass;
    int code;
    std::string text;    // the last line read
    std::string unread;  // what must be left for the next reply
};

std::vector<Case> Cases()
{
    return {
        {"multi-line greeting with uncoded lines", "220-Hello\r\nno code here\r\n  indented\r\n220 Ready\r\nNEXT",
         kReplyComplete, 220, "220 Ready", "NEXT"},
        {"a hyphen in the fourth place is never final", "226-one\r\n226-two\r\n226 three\r\n", kReplyComplete, 226,
         "226 three", ""},
        {"bare LF line ends", "331 Password\n500 next\n", kReplyContinue, 331, "331 Password", "500 next\n"},
        {"trailing blanks and CR removed", "200 OK   \r\r\n", kReplyComplete, 200, "200 OK", ""},
        {"a NUL ends a read, not the line", std::string("250 a\0b\r\n", 9), kReplyComplete, 250, "250 ab", ""},
        {"a long line is read whole and kept bounded",
         "257 \"" + std::string(5000, 'x') + "\"\r\n200 next\r\n", kReplyComplete, 257,
         "257 \"" + std::string(kMaxReplyLine - 5, 'x'), "200 next\r\n"},
        {"server closes inside a reply", "257-partial\r\n", kReplyAborted, 421, "", ""},
        {"server closes at once", "", kReplyAborted, 421, "", ""},
        {"printf directives are plain text", "200 %s%n%d%%\r\n", kReplyComplete, 200, "200 %s%n%d%%", ""},
        {"code outside 100..599", "600 odd\r\n099 odd\r\n421 closing\r\n", kReplyRetry, 421, "421 closing", ""},
        {"four digits are text, not a code", "2300 logged in\r\n530 Login incorrect.\r\n", kReplyError, 530,
         "530 Login incorrect.", ""},
        {"a code alone is a reply", "230\r\n200 next\r\n", kReplyComplete, 230, "230", "200 next\r\n"},
        {"a reply without end is cut off", "220-welcome\r\n" + Repeat("more\r\n", 999) + "220-x\r\n220 end\r\n",
         kReplyAborted, 421, "more", "220-x\r\n220 end\r\n"},
    };
}

class ReplyReader : public testing::TestWithParam<std::size_t> {};

TEST_P(ReplyReader, EveryShape)
{
    for (const Case& c : Cases()) {
        ResetFtpSession();
        ScriptedNet net(c.bytes, GetParam());
        ASSERT_EQ(FtpInit(nullptr, &net), 0);
        Ftp().control = ScriptedNet::kSocket;
        Ftp().loggedIn = 1;
        Ftp().verbose = 1;  // every line goes through the log
        Ftp().debug = 1;
        EXPECT_EQ(ftp_read_reply(ScriptedNet::kSocket), c.replyClass) << c.what;
        EXPECT_EQ(Ftp().lastCode, c.code) << c.what;
        EXPECT_EQ(Ftp().replyText, c.text) << c.what;
        EXPECT_EQ(net.Unread(), c.unread) << c.what;
        if (c.replyClass == kReplyAborted) {
            EXPECT_EQ(Ftp().control, kNoSocket) << c.what << ": the session ends";
            EXPECT_EQ(Ftp().loggedIn, 0) << c.what;
        }
        EXPECT_EQ(Ftp().busy, 0) << c.what;
        ResetFtpSession();
    }
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, ReplyReader, testing::Values(1, 3, 82, 100000));

TEST(ReplyReader, GreetingPrecededByPreliminaryRepliesAndPasswordNeverLogged)
{
    ResetFtpSession();
    // A server that does not know FEAT refuses it; the log-on stands.
    ScriptedNet net("120 wait\r\n220 ready\r\n331 pass\r\n230 in\r\n500 FEAT not understood\r\n", 5);
    ASSERT_EQ(FtpInit(nullptr, &net), 0);
    EXPECT_EQ(FtpLogin("host", "me", "secret"), 0);
    EXPECT_EQ(net.sent, "USER me\r\nPASS secret\r\nFEAT\r\n");
    ResetFtpSession();
}

TEST(ReplyReader, ReplySizes)
{
    EXPECT_EQ(ftp_reply_size("150 Opening BINARY mode data connection for f (1234 bytes)."), 1234);
    EXPECT_EQ(ftp_reply_size("150 Opening data connection (1234bytes"), 0);
    EXPECT_EQ(ftp_reply_size("150 ok (77   Bytes)"), 77);
    EXPECT_EQ(ftp_reply_size("150 File status okay."), 0);
    EXPECT_EQ(ftp_reply_size("150 (6000000000 bytes)"), 6000000000LL) << "64-bit sizes";
    EXPECT_EQ(ftp_reply_size("150 (99999999999999999999999 bytes)"), 0);
    EXPECT_EQ(ftp_reply_size("150 Opening data connection for f (-1 bytes)"), 0) << "no size, not 1";
    EXPECT_EQ(ftp_reply_size("150 (-2000 bytes)"), 0);
}

TEST(ReplyReader, ReplyCodes)
{
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"230 in", 230}, {"230-more", 230}, {"230", 230},   {"230\r\n", 230}, {"2300 logged in", 0},
        {"230x", 0},     {"23 x", 0},       {" 230 x", 0}, {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ftp_reply_code(c.line), c.code) << c.line;
}

TEST(ReplyReader, AReplyWithoutEndReportsTheServerAsBroken)
{
    ResetFtpSession();
    RecordingFtpHost host;
    ScriptedNet net("220-x\r\n" + Repeat("220-again\r\n", 5000), 1000);
    ASSERT_EQ(FtpInit(&host, &net), 0);
    Ftp().control = ScriptedNet::kSocket;
    Ftp().verbose = 1;
    Ftp().debug = 1;
    EXPECT_EQ(ftp_read_reply(ScriptedNet::kSocket), kReplyAborted);
    EXPECT_EQ(Ftp().transferError, kFtpBadAnswer) << "not an abort of the user";
    EXPECT_TRUE(RecordingFtpHost::Has(host.error, "without end (more than 1000 lines)"));
    EXPECT_EQ(Ftp().control, kNoSocket);
    // Each line is logged once, also with the debug trace on.
    std::vector<std::string> all = host.info;
    all.insert(all.end(), host.debug.begin(), host.debug.end());
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& l) { return l.find("again") != std::string::npos; }),
              999);
    ResetFtpSession();
}

TEST(ReplyReader, WinsockErrorTexts)
{
    EXPECT_EQ(winsock_error_text(10061), "connection refused");
    EXPECT_EQ(winsock_error_text(11001), "Authoritive: Host not found");
    EXPECT_EQ(winsock_error_text(12345), "error 12345");
    EXPECT_STREQ(FtpErrorText(1003), "User is not connected to a server");
    EXPECT_STREQ(FtpErrorText(42), "Unknown");
}

}  // namespace

namespace {

TEST(FtpApiWithoutConnection, ArgumentsAndStateAreChecked)
{
    ResetFtpSession();
    EXPECT_EQ(FtpLogin("127.0.0.1", "u", "p"), kFtpNotStarted);
    ScriptedNet net("", 1);
    ASSERT_EQ(FtpInit(nullptr, &net), 0);
    EXPECT_EQ(FtpCd(nullptr), kFtpBadParameters);
    EXPECT_EQ(FtpMkdir(nullptr, nullptr, 0), kFtpBadParameters);
    EXPECT_EQ(FtpChmod("644", nullptr), kFtpBadParameters);
    EXPECT_EQ(FtpPut(nullptr, "r", 'I', 0, 0, 0, 0), kFtpBadParameters);
    EXPECT_EQ(FtpGet("", "l", 'I', 0, 0, 0, 0), kFtpBadParameters);
    EXPECT_EQ(FtpLogin("", "u", "p"), kFtpBadParameters);
    Ftp().loggedIn = 1;
    Ftp().control = ScriptedNet::kSocket;
    const std::string longName(100000, 'n');
    EXPECT_EQ(FtpGet(longName.c_str(), "local", 'I', 0, 0, 0, 0), kFtpBadParameters) << "refused here, not by the host";
    Ftp().loggedIn = 0;
    Ftp().control = kNoSocket;
    EXPECT_EQ(FtpCd("/"), kFtpNotConnected);
    EXPECT_EQ(FtpRawCommand("NOOP"), kFtpNotConnected);
    EXPECT_EQ(FtpPwd(nullptr, 0), kFtpNotConnected);
    EXPECT_EQ(FtpClose(), kFtpOk);
    EXPECT_EQ(net.sent, "") << "nothing went out";
    EXPECT_EQ(FtpRelease(), kFtpOk);
    ResetFtpSession();
}

}  // namespace
