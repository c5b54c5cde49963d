#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation_fakes.h"

namespace {

using Events = std::vector<std::string>;

class AutoLoginTest : public AutomationTest {
protected:
    void SetUp() override {
        AutomationTest::SetUp();
        Rec->AutoLogin = 1;
        automationView.strings["AutoUser2"] = "secret";
    }
    // Only the pairs given; the others empty.
    void Pairs(std::vector<std::pair<std::string, std::string>> pairs) {
        for (int i = 0; i < kAutoLoginPairs; ++i) {
            std::string host = "AutoHost" + std::to_string(i), user = "AutoUser" + std::to_string(i);
            automationView.strings[host] = i < static_cast<int>(pairs.size()) ? pairs[i].first : "";
            automationView.strings[user] = i < static_cast<int>(pairs.size()) ? pairs[i].second : "";
        }
    }
    // Runs a fresh log-on over the blocks; returns what went to the host.
    std::string Run(const std::vector<std::string>& blocks) {
        transport.sent.clear();
        EmulatedText().clear();
        StartLogOn();
        for (const std::string& block : blocks) Receive(block);
        return transport.sent;
    }
};

// The default pairs against a host's greeting, in every cut of the stream into blocks.
TEST_F(AutoLoginTest, DefaultPairsLogOnInAnyBlocking) {
    const std::string stream = "\xff\xfd\x18Welcome\r\nlogin: Password: $ ";
    for (const auto& blocks : BlockSplits(stream)) {
        EXPECT_EQ(Run(blocks), "alice\rsecret\r") << blocks.size() << " " << blocks[0];
        EXPECT_EQ(AutoLoginPair, 0);
        EXPECT_EQ(EmulatedText(), stream);  // the bytes still reach the terminal
    }
}

TEST_F(AutoLoginTest, ReplyThenCrAfterTheDelay) {
    Run({"x", "login:"});
    Events sends;
    for (const std::string& e : EventLog())
        if (e.rfind("send:", 0) == 0 || e.rfind("delay:", 0) == 0) sends.push_back(e);
    EXPECT_EQ(sends, (Events{"send:alice", "delay:300", "send:\r"}));
    EXPECT_EQ(AutoLoginPair, 3);
}

TEST_F(AutoLoginTest, PromptMatching) {
    struct Case {
        const char* prompt;
        const char* stream;
        bool answered;
    } cases[] = {
        {"ogin:", "login:", true},
        {"ogin:", "oogin:", true},   // the prompt preceded by its own first letter
        {"ogin:", "ogogin:", true},
        {"ogin:", "ogin", false},
        {"aab", "aaab", false},      // a prompt that begins inside a partial match of itself
        {"", "x", true},             // an empty prompt answers the first byte
        {"ord:", "Password:", true},
    };
    for (const Case& c : cases) {
        Pairs({{c.prompt, "R"}});
        Rec->AutoLoginCR = 0;
        for (const auto& blocks : BlockSplits(c.stream))
            EXPECT_EQ(Run(blocks), c.answered ? "R" : "") << c.prompt << " in " << c.stream;
    }
}

TEST_F(AutoLoginTest, EmptyPairsAreSkippedAndTheLastEndsTheLogOn) {
    Pairs({{"", ""}, {"a:", "1"}, {"", ""}, {"", ""}, {"b:", ""}, {"", "3"}});
    Rec->AutoLoginCR = 0;
    EXPECT_EQ(Run({"-", "b:a:", "b:", "c", "a:b:"}), "13");
    EXPECT_EQ(AutoLoginPair, 0);
}

TEST_F(AutoLoginTest, EmptyReplySendsALoneCr) {
    automationView.strings["AutoUser2"] = "";
    EXPECT_EQ(Run({"-login:Password:"}), "alice\r\r");
}

TEST_F(AutoLoginTest, SettingsOfTheReply) {
    Rec->AutoLoginCR = 0;
    EXPECT_EQ(Run({"-login:"}), "alice");
    Rec->AutoLoginCR = 1;
    Rec->AutoCRDelay = 0x10000 + 250;  // 16 bits used
    Rec->Platform = 1;
    EventLog().clear();
    Run({"-login:Password:"});
    Events sends;
    for (const std::string& e : EventLog())
        if (e.rfind("send:", 0) == 0 || e.rfind("delay:", 0) == 0) sends.push_back(e);
    EXPECT_EQ(sends, (Events{"delay:500", "send:alice", "delay:250", "send:\r", "send:secret",
                             "delay:250", "send:\r"}));
}

TEST_F(AutoLoginTest, ConnectArmsAndDisconnectDisarms) {
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(AutoLoginPair, 1);
    DisconnectCommand(nullptr);
    EXPECT_EQ(AutoLoginPair, 0);
    Rec->Connecting = 0;
    Rec->TerminalFamily3270 = 1;
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(AutoLoginPair, 0);
}

TEST_F(AutoLoginTest, WaitForStringCarriesItsCountAcrossBlocks) {
    struct Case {
        const char* text;
        const char* stream;
        int endsAt;  // position after the text in the stream, 0 when not found
    } cases[] = {
        {"<esc>[y", "abc\x1b[y tail", 6},
        {"<esc>[y", "\x1b\x1b[y", 4},
        {"<esc>[y", "\x1b[x\x1b[", 0},
        {"ab", "aab", 3},
    };
    for (const Case& c : cases) {
        std::string stream = c.stream;
        for (const auto& blocks : BlockSplits(stream)) {
            int count = 0, offset = 0, found = 0;
            for (const std::string& block : blocks) {
                int at = WaitForString(nullptr, reinterpret_cast<const uint8_t*>(block.data()),
                                       static_cast<int>(block.size()), c.text, count);
                if (at && !found) found = offset + at;
                offset += static_cast<int>(block.size());
            }
            EXPECT_EQ(found, c.endsAt) << c.text << " in " << c.stream;
        }
    }
    int count = 0;
    EXPECT_EQ(WaitForString(nullptr, reinterpret_cast<const uint8_t*>("ab"), 2, "", count), 0);
}

TEST_F(AutoLoginTest, NulInWaitedTextIsMatched) {
    const std::string stream("q\0x", 3);
    int count = 0;
    EXPECT_EQ(WaitForString(nullptr, reinterpret_cast<const uint8_t*>(stream.data()), 3, "<00>x", count), 3);
}

// The blank log-on screen ends with the block that completes the enable text.
TEST_F(AutoLoginTest, FrozenScreenEndsAtTheEnableText) {
    const std::string stream = "login: \x1b[1m\x1b[ytext";
    const std::size_t enableEnd = stream.find("\x1b[y") + 3;
    for (const auto& blocks : BlockSplits(stream)) {
        Rec->ScreenFrozen = 1;
        StartLogOn();
        std::size_t received = 0;
        for (const std::string& block : blocks) {
            Receive(block);
            received += block.size();
            EXPECT_EQ(Rec->ScreenFrozen, received >= enableEnd ? 0 : 1) << received;
        }
    }
    std::strcpy(Rec->EnableDisplay, "\"\"");  // decodes to nothing
    Rec->ScreenFrozen = 1;
    Receive("x");
    EXPECT_EQ(Rec->ScreenFrozen, 0);
}

TEST_F(AutoLoginTest, UnixEnvironmentRequest) {
    struct Case {
        int displayed;
        int enabled;
        const char* block;
        const char* sent;
        int shown;  // bytes left to the terminal
    } cases[] = {
        {0, 1, "ab\x01" "cd", "TERM=vt220\x04", 2},
        {499, 1, "\x01\x01", "TERM=vt220\x04", 1},
        {500, 1, "ab\x01" "cd", "", 5},
        {0, 0, "ab\x01" "cd", "", 5},
        {0, 1, "abcd", "", 4},
    };
    for (const Case& c : cases) {
        transport.sent.clear();
        DisplayedCharCount = c.displayed;
        Rec->UnixEnvEnable = c.enabled;
        std::string block = c.block;
        EXPECT_EQ(RunReceiveConsumers(nullptr, ReceiveSource::Netbios,
                                      reinterpret_cast<const uint8_t*>(block.data()),
                                      static_cast<int>(block.size())), c.shown) << c.block;
        EXPECT_EQ(transport.sent, c.sent) << c.block;
    }
    Rec->UnixEnvEnable = 1;
    std::strcpy(Rec->UnixEnv, "");
    DisplayedCharCount = 0;
    transport.sent.clear();
    Receive("\x01", ReceiveSource::Netbios);
    EXPECT_EQ(transport.sent, "\x04");
}

}  // namespace
