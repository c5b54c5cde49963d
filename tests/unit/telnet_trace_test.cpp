#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "connection_fakes.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"

namespace {

const std::string IAC = "\xff", SB = "\xfa", SE = "\xf0";
std::string B(int byte) { return std::string(1, static_cast<char>(byte)); }

class TelnetTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->Connected = 1;
        Rec->Terminal = 7;
        Rec->UnixEnvEnable = 1;
        std::strcpy(Rec->UnixEnv, "TERM=%terminal%");
        RegisterInterpreter(EmulationFamily::Teletype, CaptureInterpreter);
        EmulatedText().clear();
        AllocTelnetRings();
        ring_discard(NetInRing);
        ring_discard(NetOutRing);
        TelnetInit();
        SetNetTraceOn(true);
    }
    void TearDown() override {
        SetNetTraceOn(false);
        SetNetTraceFile(0);
        RegisterInterpreter(EmulationFamily::Teletype, nullptr);
    }
    void Host(const std::string& bytes) {
        ring_put_bytes(NetInRing, reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<uint32_t>(bytes.size()));
        TelnetReceive(nullptr);
        ring_discard(TermOutRing);
    }
};

TEST_F(TelnetTraceTest, OptionLinesGoToTheScreen) {
    Host(IAC + "\xfd" + B(24) + IAC + "\xf1" + IAC + "\xfb" + B(200));
    EXPECT_EQ(EmulatedText(),
              "RCVD DO TERMINAL TYPE\r\nSENT WILL TERMINAL TYPE\r\n"
              "RCVD IAC NOP\r\n"
              "RCVD WILL 200\r\nSENT DONT 200\r\n");
}

TEST_F(TelnetTraceTest, SubnegotiationsAreDecoded) {
    struct Case {
        std::string bytes;  // from the option to the closing two bytes
        char direction;
        const char* line;
    } cases[] = {
        {B(24) + B(0) + "vt220" + IAC + SE, '>', "SENT IAC SB TERMINAL-TYPE IS \"vt220\"\r\n"},
        {B(24) + B(1) + IAC + SE, '<', "RCVD IAC SB TERMINAL-TYPE SEND\r\n"},
        {B(32) + B(0) + "38400,38400" + IAC + SE, '>', "SENT IAC SB TERMINAL-SPEED IS 38400,38400\r\n"},
        {B(33) + B(3) + IAC + SE, '<', "RCVD IAC SB TOGGLE-FLOW-CONTROL RESTART-XON\r\n"},
        {B(31) + B(0) + B(80) + B(0) + B(24) + IAC + SE, '>', "SENT IAC SB NAWS 0 80 (80) 0 24 (24)\r\n"},
        {B(39) + B(0) + B(3) + "TERM" + B(1) + "vt\x05" + IAC + SE, '>',
         "SENT IAC SB NEW-ENVIRON ISUSERVAR \"TERM\" VALUE \"vt\" 005 \r\n"},
        {B(39) + B(1) + IAC + SE, '<', "RCVD IAC SB NEW-ENVIRON SEND \r\n"},
        {B(24) + B(9) + IAC + SE, '<', "RCVD IAC SB TERMINAL-TYPE - unknown qualifier 9 (0x9).\r\n"},
        {B(150) + IAC + SE, '<', "RCVD IAC SB 150 (unknown)\r\n"},
        {IAC + SE, '<', "RCVD IAC SB (Empty suboption?\?\?)\r\n"},
        {B(24) + B(1) + IAC + "\xfb", '<', "RCVD IAC SB (terminated by IAC WILL, not IAC SE!) TERMINAL-TYPE SEND\r\n"},
    };
    for (const auto& c : cases) {
        EmulatedText().clear();
        TraceTelnetSuboption(c.direction, reinterpret_cast<const uint8_t*>(c.bytes.data()),
                             static_cast<int>(c.bytes.size()));
        EXPECT_EQ(EmulatedText(), c.line);
    }
}

TEST_F(TelnetTraceTest, FileTraceEndsLinesWithNewlineAndStartsEmpty) {
    SetNetTraceFile(1);
    TraceTelnetOption("SENT", 0xfd, 1);
    SetNetTraceFile(1);  // opening again empties it
    TraceTelnetOption("RCVD", 0xfb, 255);
    SetNetTraceFile(0);
    std::FILE* f = std::fopen("nettrace.txt", "r");
    ASSERT_NE(f, nullptr);
    char text[128] = {};
    std::size_t n = std::fread(text, 1, sizeof(text) - 1, f);
    std::fclose(f);
    std::remove("nettrace.txt");
    EXPECT_EQ(std::string(text, n), "RCVD WILL EXOPL\n");
    EXPECT_EQ(EmulatedText(), "");
}

TEST_F(TelnetTraceTest, NothingIsTracedWhileTheSwitchIsOff) {
    SetNetTraceOn(false);
    Host(IAC + "\xfd" + B(24) + IAC + SB + B(24) + B(1) + IAC + SE);
    EXPECT_EQ(EmulatedText(), "");
}

}  // namespace
