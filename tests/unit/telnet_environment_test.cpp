#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "connections/ring_buffer.h"
#include "connections/telnet_codes.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_environment.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "session/session_record.h"

namespace {

const std::string IAC = "\xff", SB = "\xfa", SE = "\xf0", DO = "\xfd";
std::string B(int byte) { return std::string(1, static_cast<char>(byte)); }

class TelnetEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->Connected = 1;
        Rec->Terminal = 2;
        Rec->UnixEnvEnable = 1;
        AllocTelnetRings();
        ring_discard(NetInRing);
        ring_discard(NetOutRing);
        ring_discard(TermOutRing);
        std::memset(TelnetState().willWontPending, 0, sizeof(TelnetState().willWontPending));
        TelnetState().envOption = tn::NEW_ENVIRON;
        TelnetInit();
        SetNetTraceOn(false);
    }
    std::string Host(const std::string& bytes) {
        ring_put_bytes(NetInRing, reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<uint32_t>(bytes.size()));
        TelnetReceive(nullptr);
        std::string out;
        uint8_t buffer[4096];
        while (uint32_t n = ring_get_bytes(NetOutRing, buffer, sizeof(buffer)))
            out.append(reinterpret_cast<char*>(buffer), n);
        return out;
    }
    std::string Value(const char* name) {
        const char* v = EnvValue(name);
        return v ? v : "<none>";
    }
};

TEST_F(TelnetEnvironmentTest, ValuesComeFromTheSettingAtTheStartOfAnEntry) {
    std::strcpy(Rec->UnixEnv, "XTERM=bad TERM=%terminal% USER=joe MYUSER=x PRINTER= LONG=" "0123456789012345678901234567890123456789XYZ");
    EXPECT_EQ(Value("TERM"), "vt220");
    EXPECT_EQ(Value("USER"), "joe");          // not the tail of MYUSER
    EXPECT_EQ(Value("PRINTER"), "<none>");    // empty value: none
    EXPECT_EQ(Value("LONG").size(), 40u);     // cut to the expander's limit
    EXPECT_EQ(Value("DISPLAY"), "<none>");
    std::strcpy(Rec->UnixEnv, "TERM=ansi");
    EXPECT_EQ(std::string(TerminalName()), "ansi");
}

TEST_F(TelnetEnvironmentTest, WithTheSettingOffOnlyTermHasAValue) {
    std::strcpy(Rec->UnixEnv, "TERM=xterm USER=joe DISPLAY=pc:0");
    Rec->UnixEnvEnable = 0;
    EXPECT_EQ(Value("TERM"), "vt220");
    EXPECT_EQ(Value("USER"), "<none>");
    EXPECT_EQ(std::string(TerminalName()), "vt220");
    EXPECT_EQ(Host(IAC + DO + B(35)), IAC + "\xfc" + B(35));  // X display refused
}

TEST_F(TelnetEnvironmentTest, WalksUserNamesThenWellKnownOnes) {
    std::strcpy(Rec->UnixEnv, "A=1 TERM=x USER=joe =odd LANG=en DISPLAY=d:0");
    std::string users, known;
    EnvNextName(true, false);
    while (const char* n = EnvNextName(false, false)) users += std::string(n) + ",";
    EnvNextName(true, true);
    while (const char* n = EnvNextName(false, true)) known += std::string(n) + ",";
    EXPECT_EQ(users, "TERM,LANG,");
    EXPECT_EQ(known, "USER,DISPLAY,");
}

TEST_F(TelnetEnvironmentTest, SendWithoutNamesListsEveryVariable) {
    std::strcpy(Rec->UnixEnv, "TERM=%terminal% USER=joe");
    Host(IAC + DO + B(39));
    EXPECT_EQ(Host(IAC + SB + B(39) + B(1) + IAC + SE),
              IAC + SB + B(39) + B(0) + B(3) + "TERM" + B(1) + "vt220" + B(0) + "USER" + B(1) + "joe" + IAC + SE);
}

TEST_F(TelnetEnvironmentTest, OldEnvironSwapsTheWellKnownCodes) {
    std::strcpy(Rec->UnixEnv, "USER=joe");
    Host(IAC + DO + B(36));
    EXPECT_EQ(Host(IAC + SB + B(36) + B(1) + B(0) + "USER" + IAC + SE),
              IAC + SB + B(36) + B(0) + B(1) + "USER" + B(0) + "joe" + IAC + SE);
}

TEST_F(TelnetEnvironmentTest, NamedRequestsEscapeOddBytes) {
    std::strcpy(Rec->UnixEnv, "USER=joe");
    Host(IAC + DO + B(39));
    // USERVAR "A<2>B" (escaped by the host), then VAR USER.
    EXPECT_EQ(Host(IAC + SB + B(39) + B(1) + B(3) + "A" + B(2) + B(2) + "B" + B(0) + "USER" + IAC + SE),
              IAC + SB + B(39) + B(0) + B(3) + "A" + B(2) + B(2) + "B" + B(0) + "USER" + B(1) + "joe" + IAC + SE);
}

TEST_F(TelnetEnvironmentTest, HostNamesAreBounded) {
    Host(IAC + DO + B(39));
    std::string longName(200, 'N');
    std::string reply = Host(IAC + SB + B(39) + B(1) + B(3) + longName + IAC + SE);
    EXPECT_EQ(reply, IAC + SB + B(39) + B(0) + B(3) + std::string(kEnvNameMax, 'N') + IAC + SE);
}

TEST_F(TelnetEnvironmentTest, RequestForAnOptionNotAgreedIsIgnored) {
    std::strcpy(Rec->UnixEnv, "USER=joe");
    EXPECT_EQ(Host(IAC + SB + B(39) + B(1) + IAC + SE), "");
}

TEST_F(TelnetEnvironmentTest, ManyVariablesGrowTheReply) {
    // Twelve values of ten 255s: each is doubled, so the reply passes its first 256 bytes.
    std::string env;
    for (int i = 0; i < 12; ++i) env += "V" + std::to_string(i) + "=" + std::string(10, '\xff') + " ";
    ASSERT_LT(env.size(), sizeof(Rec->UnixEnv));
    std::strcpy(Rec->UnixEnv, env.c_str());
    Host(IAC + DO + B(39));
    std::string reply = Host(IAC + SB + B(39) + B(1) + IAC + SE);
    ASSERT_GT(reply.size(), 256u);
    EXPECT_EQ(reply.substr(reply.size() - 2), IAC + SE);
    EXPECT_NE(reply.find(B(3) + "V11" + B(1) + std::string(20, '\xff') + IAC + SE), std::string::npos);
}

}  // namespace
