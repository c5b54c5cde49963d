#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "connection_fakes.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_codes.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_host_data.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "fake_platform.h"

namespace {

// Byte strings written as text: IAC and friends spelled out with these.
const std::string IAC = "\xff", WILL = "\xfb", WONT = "\xfc", DO = "\xfd", DONT = "\xfe",
                  SB = "\xfa", SE = "\xf0";
std::string B(int byte) { return std::string(1, static_cast<char>(byte)); }

class TelnetEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->Connected = 1;
        Rec->DoNAWS = 1;
        Rec->NAWSX = -1;
        Rec->NAWSY = -1;
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        Rec->Terminal = 2;
        Rec->UnixEnvEnable = 1;
        std::strcpy(Rec->UnixEnv, "TERM=%terminal%");
        AllocTelnetRings();
        ring_discard(NetInRing);
        ring_discard(NetOutRing);
        ring_discard(TermOutRing);
        std::memset(TelnetState().willWontPending, 0, sizeof(TelnetState().willWontPending));
        std::memset(TelnetState().doDontPending, 0, sizeof(TelnetState().doDontPending));
        TelnetState().echoSeen = 0;
        TelnetState().envOption = tn::NEW_ENVIRON;
        TelnetInit();
        SetNetTraceOn(false);
    }

    // The host sends bytes; returns our replies.
    std::string Host(const std::string& bytes) {
        ring_put_bytes(NetInRing, reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<uint32_t>(bytes.size()));
        TelnetReceive(nullptr);
        return Drain(NetOutRing);
    }
    static std::string Drain(RingBuffer& ring) {
        std::string out;
        uint8_t buffer[4096];
        while (uint32_t n = ring_get_bytes(ring, buffer, sizeof(buffer)))
            out.append(reinterpret_cast<char*>(buffer), n);
        return out;
    }
    std::string Terminal() { return Drain(TermOutRing); }
    std::string Send(const std::string& text) {
        TelnetSend(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
        return Drain(NetOutRing);
    }

    FakePlatform platform;
    ScopedPlatform scoped{platform};
};

TEST_F(TelnetEngineTest, AnswersEachRequestOnce) {
    struct Case {
        const char* what;
        std::string request;
        std::string reply;
    } cases[] = {
        {"DO ECHO refused", IAC + DO + B(1), IAC + WONT + B(1)},
        {"first WILL ECHO also asks for SGA", IAC + WILL + B(1), IAC + DO + B(3) + IAC + DO + B(1)},
        {"DO TIMING-MARK answered, option stays off", IAC + DO + B(6), IAC + WILL + B(6)},
        {"WILL TIMING-MARK not answered", IAC + WILL + B(6), ""},
        {"DO TTYPE accepted", IAC + DO + B(24), IAC + WILL + B(24)},
        {"WILL BINARY accepted", IAC + WILL + B(0), IAC + DO + B(0)},
        {"WILL of an unknown option refused", IAC + WILL + B(77), IAC + DONT + B(77)},
        {"DO LINEMODE refused", IAC + DO + B(34), IAC + WONT + B(34)},
        {"DO TTYPE twice: one reply", IAC + DO + B(24) + IAC + DO + B(24), IAC + WILL + B(24)},
        {"WILL SGA twice: one reply", IAC + WILL + B(3) + IAC + WILL + B(3), IAC + DO + B(3)},
        {"DONT for an option never agreed: silent", IAC + DONT + B(24), ""},
        {"DO X-DISPLAY-LOCATION without DISPLAY refused", IAC + DO + B(35), IAC + WONT + B(35)},
    };
    for (const Case& c : cases) {
        SetUp();
        EXPECT_EQ(Host(c.request), c.reply) << c.what;
    }
    SetUp();
    Host(IAC + DO + B(6));
    EXPECT_FALSE(TelnetState().options[6] & (kMyStateWill | kMyWantWill));
}

TEST_F(TelnetEngineTest, SecondWillEchoDoesNotAskForSgaAgain) {
    Host(IAC + WILL + B(1));
    Host(IAC + WONT + B(1));  // the host takes it back
    Host(IAC + WONT + B(3));
    EXPECT_EQ(Host(IAC + WILL + B(1)), IAC + DO + B(1));
}

TEST_F(TelnetEngineTest, EnvironmentOptionFollowsNegotiation) {
    EXPECT_EQ(Host(IAC + DO + B(36)), IAC + WILL + B(36));
    EXPECT_EQ(TelnetState().envOption, tn::OLD_ENVIRON);
    EXPECT_EQ(Host(IAC + DO + B(39)), IAC + WONT + B(36) + IAC + WILL + B(39));
    EXPECT_EQ(TelnetState().envOption, tn::NEW_ENVIRON);
    EXPECT_EQ(Host(IAC + DONT + B(39)), IAC + WILL + B(36) + IAC + WONT + B(39));
    EXPECT_EQ(TelnetState().envOption, tn::OLD_ENVIRON);
}

TEST_F(TelnetEngineTest, WindowSizeFollowsSettings) {
    EXPECT_EQ(Host(IAC + DO + B(31)), IAC + WILL + B(31) + IAC + SB + B(31) + B(0) + B(80) + B(0) + B(24) + IAC + SE);
    SetUp();
    Rec->NAWSX = 255;  // a 255 in the size is doubled
    Rec->NAWSY = 0x1ff;
    EXPECT_EQ(Host(IAC + DO + B(31)),
              IAC + WILL + B(31) + IAC + SB + B(31) + B(0) + IAC + IAC + B(1) + IAC + IAC + IAC + SE);
    SetUp();
    Rec->DoNAWS = 0;
    EXPECT_EQ(Host(IAC + DO + B(31)), IAC + WONT + B(31));
}

TEST_F(TelnetEngineTest, AnswersSubnegotiations) {
    Host(IAC + DO + B(24) + IAC + DO + B(32) + IAC + DO + B(33));
    EXPECT_EQ(Host(IAC + SB + B(24) + B(1) + IAC + SE), IAC + SB + B(24) + B(0) + "vt220" + IAC + SE);
    EXPECT_EQ(Host(IAC + SB + B(32) + B(1) + IAC + SE), IAC + SB + B(32) + B(0) + "38400,38400" + IAC + SE);
    EXPECT_EQ(TelnetState().localFlow, 1);
    Host(IAC + SB + B(33) + B(0) + IAC + SE);
    EXPECT_EQ(TelnetState().localFlow, 0);
    Host(IAC + SB + B(33) + B(2) + IAC + SE);
    EXPECT_EQ(TelnetState().restartAny, 1);
    // A request for an option we did not agree to goes unanswered.
    EXPECT_EQ(Host(IAC + SB + B(35) + B(1) + IAC + SE), "");
}

TEST_F(TelnetEngineTest, DisplayLocationComesFromTheEnvironment) {
    std::strcpy(Rec->UnixEnv, "TERM=%terminal% DISPLAY=pc:0");
    EXPECT_EQ(Host(IAC + DO + B(35)), IAC + WILL + B(35));
    EXPECT_EQ(Host(IAC + SB + B(35) + B(1) + IAC + SE), IAC + SB + B(35) + B(0) + "pc:0" + IAC + SE);
}

TEST_F(TelnetEngineTest, DecodesHostData) {
    struct Case {
        const char* what;
        std::string from;
        std::string to;
    } cases[] = {
        {"CR NUL", "a\r" + B(0) + "b", "a\rb"},
        {"CR LF", "a\r\nb", "a\r\nb"},
        {"bare CR", "a\rb", "a\rb"},
        {"IAC IAC", "x" + IAC + IAC + "y", "x\xffy"},
        {"NOP and GA vanish", IAC + "\xf1" + "a" + IAC + "\xf9", "a"},
        {"subnegotiation vanishes", "a" + IAC + SB + B(99) + "zz" + IAC + SE + "b", "ab"},
        {"LF alone is kept", "\n", "\n"},
    };
    for (const Case& c : cases) {
        SetUp();
        Host(c.from);
        EXPECT_EQ(Terminal(), c.to) << c.what;
    }
}

TEST_F(TelnetEngineTest, CrAtTheEndOfOneReadAndNulInTheNextIsOneCr) {
    Host("a\r");
    Host(B(0) + "b");
    EXPECT_EQ(Terminal(), "a\rb");
    Host("c\r");
    Host("\nd");
    EXPECT_EQ(Terminal(), "c\r\nd");
}

TEST_F(TelnetEngineTest, CommandSplitAcrossReadsIsStillACommand) {
    EXPECT_EQ(Host(IAC), "");
    EXPECT_EQ(Host(DO), "");
    EXPECT_EQ(Host(B(24)), IAC + WILL + B(24));
    EXPECT_EQ(Terminal(), "");
}

TEST_F(TelnetEngineTest, SubnegotiationCutShortRunsAndHandlesTheCommand) {
    Host(IAC + DO + B(24));
    // IAC WILL inside the subnegotiation: it ends it, then WILL ECHO is handled.
    EXPECT_EQ(Host(IAC + SB + B(24) + B(1) + IAC + WILL + B(1)),
              IAC + SB + B(24) + B(0) + "vt220" + IAC + SE + IAC + DO + B(3) + IAC + DO + B(1));
}

TEST_F(TelnetEngineTest, LongSubnegotiationIsCutAndStreamStaysInStep) {
    Host(IAC + SB + B(200) + std::string(600, 'x') + IAC + SE + "ok");
    EXPECT_EQ(TelnetState().subLength, kSubBufferSize);
    EXPECT_EQ(Terminal(), "ok");
}

TEST_F(TelnetEngineTest, StopsWhileTheTerminalRingIsFullAndResumesLater) {
    std::string big(kTermOutRingSize + 100, 'q');
    std::string got;
    std::size_t at = 0;
    while (at < big.size() || !ring_is_empty(NetInRing)) {
        uint32_t room = ring_free_count(NetInRing);
        std::string piece = big.substr(at, room);
        at += piece.size();
        Host(piece);
        got += Terminal();
    }
    EXPECT_EQ(got, big);
}

TEST_F(TelnetEngineTest, EncodesOutgoingData) {
    EXPECT_EQ(Send("ls\r"), std::string("ls\r") + B(0));
    EXPECT_EQ(Send("a\xff" "b"), "a" + IAC + IAC + "b");
    EXPECT_EQ(Send("plain"), "plain");
    // 255 is doubled whatever the emulation (an undoubled 255 would be a command to the host).
    Rec->Terminal = 7;
    EXPECT_EQ(Send("\xff"), IAC + IAC);
    // In binary mode CR goes out as it is.
    Rec->Terminal = 2;
    Host(IAC + DO + B(0));
    EXPECT_EQ(Send("x\r\xff"), "x\r" + IAC + IAC);
}

TEST_F(TelnetEngineTest, SendTakesOnlyWhatFitsWhole) {
    std::string filler(kNetOutRingSize - 3, 'f');
    ring_put_bytes(NetOutRing, reinterpret_cast<const uint8_t*>(filler.data()), static_cast<uint32_t>(filler.size()));
    std::string text = "a\r\rb";
    // 3 bytes free: "a" and the first CR NUL fit; the second CR NUL does not.
    EXPECT_EQ(TelnetSend(nullptr, reinterpret_cast<const uint8_t*>(text.data()), 4), 2);
    EXPECT_EQ(ring_free_count(NetOutRing), 0u);
}

TEST_F(TelnetEngineTest, NothingIsSentWhileDisconnected) {
    Rec->Connected = 0;
    EXPECT_EQ(TelnetSend(nullptr, reinterpret_cast<const uint8_t*>("abc"), 3), 3);
    EXPECT_EQ(ring_data_count(NetOutRing), 0u);
}

TEST_F(TelnetEngineTest, TerminalTypeThatDoesNotFitIsReported) {
    Host(IAC + DO + B(24));
    std::string filler(kNetOutRingSize - 5, 'f');
    ring_put_bytes(NetOutRing, reinterpret_cast<const uint8_t*>(filler.data()), static_cast<uint32_t>(filler.size()));
    Host(IAC + SB + B(24) + B(1) + IAC + SE);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "No room in buffer for terminal type.\n");
}

TEST_F(TelnetEngineTest, ReplayedHostDataLargerThanTheRingsReachesTheEmulation) {
    RegisterInterpreter(EmulationFamily::DecVt, CaptureInterpreter);
    EmulatedText().clear();
    std::string recorded;
    for (int i = 0; i < 2000; ++i) recorded += "line " + std::to_string(i) + "\r" + B(0) + IAC + IAC;
    ReplayHostData(nullptr, reinterpret_cast<const uint8_t*>(recorded.data()), static_cast<int>(recorded.size()));
    RegisterInterpreter(EmulationFamily::DecVt, nullptr);
    std::string expected;
    for (int i = 0; i < 2000; ++i) expected += "line " + std::to_string(i) + "\r\xff";
    EXPECT_EQ(EmulatedText(), expected);
}

}  // namespace
