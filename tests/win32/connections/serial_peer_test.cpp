// The serial transport on Wine COM ports that run_serial_tests.sh maps to pty pairs: COM10 is
// the modem simulator (tests/peers/modem_sim.py), COM11 a plain echoing host. The peer fixture's
// hidden host window takes WM_USER+101 and the timers 2021 and 2023 as the terminal view does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "connections/connection_dispatch.h"
#include "peer_fixture.h"
#include "connections/win32/serial_transport.h"
#include "session/session_record.h"

namespace {

std::string StateFile(const char* name) { return PeerPath("TOLVI_MODEM_DIR", name); }

// The simulator's log: every byte it received with its time in seconds.
struct Received {
    double time;
    int byte;
};
std::vector<Received> ModemLog() {
    std::vector<Received> log;
    std::FILE* f = std::fopen(StateFile("received.log").c_str(), "r");
    if (!f) return log;
    char line[128];
    while (std::fgets(line, sizeof(line), f)) {
        double t = 0;
        unsigned byte = 0;
        if (std::sscanf(line, "%lf %x", &t, &byte) == 2 && !std::strstr(line, "DTR") && !std::strstr(line, "BREAK")) log.push_back({t, static_cast<int>(byte)});
    }
    std::fclose(f);
    return log;
}

// The DTR changes that the modem-line fixture reported to the simulator, as "0" and "1".
std::string DtrLog() {
    std::string changes;
    std::FILE* f = std::fopen(StateFile("received.log").c_str(), "r");
    if (!f) return changes;
    char line[128];
    while (std::fgets(line, sizeof(line), f))
        if (const char* dtr = std::strstr(line, "DTR ")) changes += dtr[4];
    std::fclose(f);
    return changes;
}

char LastDtr() {
    std::string changes = DtrLog();
    return changes.empty() ? '?' : changes.back();
}

std::string LogText(const std::vector<Received>& log) {
    std::string text;
    for (const Received& r : log) text += static_cast<char>(r.byte);
    return text;
}

class SerialPeerTest : public PeerTest {
protected:
    void SetUp() override {
        PeerTest::SetUp();
        Rec->ComType = 0;
        Rec->Terminal = 7;
        Rec->Port = 10;
        Rec->BaudRateLong = 9600;
        Rec->ByteSize = 8;
        Rec->FlowCtrl = 0;
        Rec->WriteTotalTimeoutConstant = 3000;
        Rec->ModemEnable = 1;
        std::strcpy(Rec->ModemInit, "ATQ0V1E1S0=0");
        Rec->DialEnable = 1;
        std::strcpy(Rec->DialPrefix, "ATDT");
        std::strcpy(Rec->ModemConnect, "CONNECT");
        std::strcpy(Rec->HangupPrefix, "+++");
        std::strcpy(Rec->HangupPostfix, "ATH");
        Rec->DialTimeout = 20;
        Rec->ModemCharDelay = 10;
        InstallSerialTransport();
        logStart = ModemLog().size();
    }
    void TearDown() override {
        if (Rec->Connected || Rec->Connecting) {
            Rec->ModemEnable = 0;  // no hang-up guard times after the test proper
            DisconnectCommand(nullptr);
        }
        PeerTest::TearDown();
    }

    // What the simulator received since the test began.
    std::vector<Received> NewModemLog() {
        std::vector<Received> log = ModemLog();
        return std::vector<Received>(log.begin() + static_cast<long>(logStart < log.size() ? logStart : log.size()), log.end());
    }
    bool Dial(const char* number) {
        std::strcpy(Rec->PhoneNumber, number);
        ConnectDisconnectCommand(nullptr);
        return Rec->Connected != 0;
    }

    std::size_t logStart = 0;
};

TEST_F(SerialPeerTest, InitialisesDialsAndSeesTheSplitConnectReply) {
    ASSERT_TRUE(Dial("555")) << (platform.messages.empty() ? "" : platform.messages[0].text);
    EXPECT_EQ(Rec->Connecting, 1);
    EXPECT_EQ(Rec->DialCountdown, 20);
    ASSERT_TRUE(PumpUntil([] { return !Rec->Connecting; }, 5000)) << received;
    EXPECT_EQ(Rec->DialCountdown, 0);
    EXPECT_EQ(Rec->Connected, 1);
    // The modem's echo and replies reach the screen as well.
    EXPECT_NE(received.find("CONNECT 9600"), std::string::npos) << received;
    std::string sent = LogText(NewModemLog());
    EXPECT_EQ(sent.find("ATQ0V1E1S0=0\rATDT555\r"), 0u) << sent;

    // Data mode: what we send reaches the host, its answer reaches the emulation.
    received.clear();
    const char* line = "hello modem\r";
    EXPECT_EQ(SendToHost(nullptr, reinterpret_cast<const uint8_t*>(line), 12), 12);
    EXPECT_TRUE(PumpUntil([] { return received.find("host:hello modem") != std::string::npos; }, 3000)) << received;
}

TEST_F(SerialPeerTest, BusyKeepsConnectingUntilTheCountdownEnds) {
    // The countdown leaves the simulator's BUSY (half a second after the dial) time to arrive even
    // on a loaded machine; the countdown, not the reply, ends the attempt.
    Rec->DialTimeout = 5;
    Rec->ModemEnable = 0;
    ASSERT_TRUE(Dial("666"));
    EXPECT_TRUE(PumpUntil([] { return received.find("BUSY") != std::string::npos; }, 4500)) << received;
    EXPECT_EQ(Rec->Connecting, 1);
    DWORD start = GetTickCount();
    EXPECT_TRUE(PumpUntil([] { return !Rec->Connecting; }, 8000));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(Rec->Connecting, 0);
    EXPECT_EQ(Rec->DialCountdown, 0);
    EXPECT_LT(elapsed, 6000u);
    EXPECT_EQ(Rec->HangupReason, 0);  // spent by the after-disconnect policy
}

TEST_F(SerialPeerTest, NoCountdownWithoutTimeoutOnlyTheReplyEndsConnecting) {
    Rec->DialTimeout = 0;
    Rec->ModemEnable = 0;
    ASSERT_TRUE(Dial("888"));
    Pump(2500);
    EXPECT_EQ(Rec->Connecting, 1);
    EXPECT_EQ(Rec->Connected, 1);
}

// Hang-up: 1.2 s silence, "+" every 200 ms, 1.2 s silence, "ATH" and CR; the whole close takes
// at least 3.4 s plus the character delays.
TEST_F(SerialPeerTest, HangUpKeepsTheGuardTimes) {
    ASSERT_TRUE(Dial("555"));
    ASSERT_TRUE(PumpUntil([] { return !Rec->Connecting; }, 5000));
    Pump(300);
    std::size_t before = ModemLog().size();
    DWORD start = GetTickCount();
    DisconnectCommand(nullptr);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(Rec->Connected, 0);
    EXPECT_GE(elapsed, 3400u);
    Sleep(300);
    std::vector<Received> log = ModemLog();
    std::vector<Received> hangup(log.begin() + static_cast<long>(before), log.end());
    ASSERT_GE(hangup.size(), 7u) << LogText(hangup);
    EXPECT_EQ(LogText(hangup).substr(0, 7), "+++ATH\r");
    EXPECT_GE(hangup[1].time - hangup[0].time, 0.15);
    EXPECT_GE(hangup[2].time - hangup[1].time, 0.15);
    EXPECT_GE(hangup[3].time - hangup[2].time, 1.1);
}

// Closing without the modem's hang-up strings still hangs up: DTR drops, and the modem (set to
// hang up on DTR) goes back to command mode.
TEST_F(SerialPeerTest, DtrDropHangsUpTheModem) {
    ASSERT_TRUE(Dial("555"));
    ASSERT_TRUE(PumpUntil([] { return !Rec->Connecting; }, 5000));
    Sleep(200);
    ASSERT_EQ(LastDtr(), '1');
    Rec->ModemEnable = 0;
    DisconnectCommand(nullptr);
    EXPECT_EQ(Rec->Connected, 0);
    DWORD start = GetTickCount();
    while (LastDtr() != '0' && GetTickCount() - start < 3000) Sleep(50);
    EXPECT_EQ(LastDtr(), '0');
    std::string log = LogText(NewModemLog());
    EXPECT_EQ(log.find("+++"), std::string::npos) << log;
}

// A pty has no modem lines: the reader's waits end without an event every few milliseconds. It
// must neither spin nor lose data.
TEST_F(SerialPeerTest, PlainHostDataBothWaysWithoutLossOrSpinning) {
    Rec->Port = 11;
    Rec->ModemEnable = 0;
    Rec->DialEnable = 0;
    Rec->SendWakeup = 1;
    Rec->WakeupDelay = 100;
    ASSERT_TRUE(Dial(""));
    EXPECT_EQ(Rec->Connecting, 0);
    // The wake-up CR comes back from the echoing host.
    EXPECT_TRUE(PumpUntil([] { return received == "\r"; }, 3000)) << received;
    received.clear();
    std::string data;
    for (int i = 0; i < 6000; ++i) data += static_cast<char>('a' + i % 26);
    long abortedBefore = SerialAbortedWaits();
    DWORD start = GetTickCount();
    for (std::size_t at = 0; at < data.size(); at += 500)
        SendToHost(nullptr, reinterpret_cast<const uint8_t*>(data.data() + at), 500);
    EXPECT_TRUE(PumpUntil([&] { return received.size() >= data.size(); }, 10000)) << received.size();
    EXPECT_EQ(received, data);
    Pump(1000);
    double seconds = (GetTickCount() - start) / 1000.0;
    EXPECT_LT(SerialAbortedWaits() - abortedBefore, static_cast<long>(seconds * 12 + 5));
}

TEST_F(SerialPeerTest, MissingPortIsReportedInWords) {
    Rec->Port = 14;
    Rec->ModemEnable = 0;
    EXPECT_FALSE(Dial("555"));
    EXPECT_EQ(Rec->Connecting, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].id, 29);
    EXPECT_EQ(platform.messages[0].text.find("Comm open error: COM14\n"), 0u) << platform.messages[0].text;
}

TEST_F(SerialPeerTest, BreakEndsAfterItsTimer) {
    Rec->Port = 11;
    Rec->ModemEnable = 0;
    Rec->DialEnable = 0;
    ASSERT_TRUE(Dial(""));
    EXPECT_EQ(SendBreak(nullptr), 1);
    Pump(500);
    EXPECT_EQ(Rec->Connected, 1);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
