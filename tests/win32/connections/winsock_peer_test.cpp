// The WinSock transport against real peers on 127.0.0.1, driven from the peer fixture's hidden
// host window, which receives WM_USER+102 as the terminal view does. run_peer_tests.sh starts the
// peers and passes their ports in the environment.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "connections/connection_dispatch.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "peer_fixture.h"
#include "session/session_record.h"
#include "connections/win32/winsock_transport.h"

namespace {

class WinsockPeerTest : public PeerTest {
protected:
    void SetUp() override {
        PeerTest::SetUp();
        Rec->TelnetPort = 23;
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        Rec->NAWSX = -1;
        Rec->NAWSY = -1;
        Rec->UnixEnvEnable = 1;
        std::strcpy(Rec->UnixEnv, "TERM=%terminal%");
        Rec->ComType = 2;
        Rec->Terminal = 7;
        Rec->LocalEcho = 0;
        Rec->WhenHostHungup = 0;
        AllocTelnetRings();
        InstallWinsockTransport();
    }
    void TearDown() override {
        if (Rec->Connected || Rec->Connecting) DisconnectCommand(nullptr);
        ShutdownTransport();
        PeerTest::TearDown();
    }

    static std::string Pattern(std::size_t size, bool telnetSafe) {
        std::string data(size, '\0');
        uint32_t x = 12345;
        for (std::size_t i = 0; i < size; ++i) {
            x = x * 1103515245u + 12345u;
            uint8_t byte = static_cast<uint8_t>(x >> 16);
            if (telnetSafe && (byte == 255 || byte == '\r')) byte = 'x';
            data[i] = static_cast<char>(byte);
        }
        return data;
    }
};

TEST_F(WinsockPeerTest, RefusedPortIsReportedInWords) {
    int port = EnvPort("TOLVI_REFUSED_PORT");
    ASSERT_NE(port, 0);
    EXPECT_FALSE(ConnectTelnet(port));
    EXPECT_EQ(Rec->Connecting, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Cannot connect to 127.0.0.1:" + std::to_string(port) + "\n(Connection refused)");
}

TEST_F(WinsockPeerTest, UnknownHostIsReportedInWords) {
    std::strcpy(Rec->HostName, "no-such-host.invalid");
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(Rec->Connecting, 0);
    EXPECT_EQ(Rec->Connected, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.rfind("Unknown host no-such-host.invalid \n(", 0), 0u)
        << platform.messages[0].text;
}

// 4 MiB of every byte value, pasted through the dispatch: Telnet coding both ways, nothing lost.
TEST_F(WinsockPeerTest, EchoPeerReturnsFourMebibytesIntact) {
    int port = EnvPort("TOLVI_ECHO_PORT");
    ASSERT_NE(port, 0);
    ASSERT_TRUE(ConnectTelnet(port));
    std::string data = Pattern(4 << 20, false);
    ASSERT_TRUE(BeginPaste(nullptr, reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size())));
    EXPECT_TRUE(PumpUntil([&] { return received.size() >= data.size(); }, 60000)) << received.size();
    EXPECT_FALSE(PastePending());
    EXPECT_TRUE(received == data);
}

TEST_F(WinsockPeerTest, SlowReaderGetsTheRestWhenItIsReady) {
    int port = EnvPort("TOLVI_SLOW_PORT");
    ASSERT_NE(port, 0);
    ASSERT_TRUE(ConnectTelnet(port));
    std::string data = Pattern(8 << 20, true);  // more than both socket buffers hold
    // The peer reads nothing for a while: the socket fills (perhaps already inside BeginPaste),
    // and the rest goes out on send-ready.
    const int blockedBefore = SocketSendBlockedCount();
    ASSERT_TRUE(BeginPaste(nullptr, reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size())));
    EXPECT_TRUE(PumpUntil([&] { return received.size() >= data.size(); }, 120000)) << received.size();
    // Whether the socket refuses a write depends on how much Wine buffers at that moment; when it
    // does, the rest goes out on send-ready, and either way every byte arrives in order.
    if (SocketSendBlockedCount() == blockedBefore)
        std::printf("note: the socket took the whole paste without refusing a write this run\n");
    EXPECT_TRUE(received == data);
}

TEST_F(WinsockPeerTest, OutputBeforeTheHostClosesIsAllShown) {
    int port = EnvPort("TOLVI_CLOSING_PORT");
    ASSERT_NE(port, 0);
    std::string expected = ReadWholeFile(PeerPath("TOLVI_PEER_DIR", "final.bin"));
    ASSERT_FALSE(expected.empty());
    Rec->RefreshRate = 1;  // one read per event: the close arrives while data is still queued
    ConnectTelnet(port);         // the peer may be done before this returns
    EXPECT_TRUE(PumpUntil([] { return !Rec->Connected && !Rec->Connecting; }, 60000));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
    EXPECT_EQ(Rec->HangupReason, 0);
}

TEST_F(WinsockPeerTest, TelnetdReceivesTerminalWindowSizeAndEnvironment) {
    int port = EnvPort("TOLVI_TELNETD_PORT");
    ASSERT_NE(port, 0);
    Rec->DoNAWS = 1;
    Rec->NAWSX = 100;
    Rec->NAWSY = 30;
    Rec->UnixEnvEnable = 1;
    std::strcpy(Rec->UnixEnv, "TERM=%terminal% USER=tolvi TOLVIVAR=hello DISPLAY=tolvi:0 PRINTER=lp7");
    ASSERT_TRUE(ConnectTelnet(port));
    EXPECT_TRUE(PumpUntil([] { return received.find("END-OF-REPORT") != std::string::npos; }, 30000))
        << received;
    EXPECT_NE(received.find("TERM=dumb"), std::string::npos) << received;
    EXPECT_NE(received.find("SIZE=30 100"), std::string::npos) << received;
    EXPECT_NE(received.find("DISPLAY=tolvi:0"), std::string::npos) << received;  // X-DISPLAY-LOCATION
    EXPECT_NE(received.find("PRINTER=lp7"), std::string::npos) << received;      // a well-known VAR
    EXPECT_NE(received.find("TOLVIVAR=hello"), std::string::npos) << received;
    PumpUntil([] { return !Rec->Connected; }, 10000);
}

// The host sends faster than anything reads. Before the transfer takes the connection over, the
// terminal's reads post their own next read, so the message queue never runs empty.
TEST_F(WinsockPeerTest, TransferReadsAndFlushDoNotSpinOnAFloodingHost) {
    int port = EnvPort("TOLVI_FLOOD_PORT");
    ASSERT_NE(port, 0);
    ASSERT_TRUE(ConnectTelnet(port));
    // While a transfer owns the connection the terminal does not read: the socket fills.
    Rec->TransferActive = 1;
    const std::size_t shown = received.size();
    // (Wine's socket holds about 100 KiB at most, not always as much.)
    PumpUntil([] { return PendingInput(nullptr) > 32768; }, 10000);
    uint8_t buffer[64];
    int got = 0;
    PumpUntil([&] { got = ReceiveFromHost(nullptr, buffer, sizeof(buffer)); return got > 0; }, 5000);
    ASSERT_GT(got, 0);
    // The terminal may have read an odd number of bytes before: the transfer's bytes go on with
    // the host's "y\n" lines wherever they stand.
    std::string lines;
    for (std::size_t i = 0; i <= sizeof(buffer); ++i) lines += "y\n";
    EXPECT_NE(lines.find(std::string(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(got))), std::string::npos);
    EXPECT_EQ(received.size(), shown);
    DWORD start = GetTickCount();
    FlushConnection(0);
    EXPECT_LT(GetTickCount() - start, 20000u);
    Rec->TransferActive = 0;
}

TEST_F(WinsockPeerTest, AutodialValueIsPutBackAfterTheConnect) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Winsock\\Autodial",
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    auto setValue = [&](const char* text) {
        RegSetValueExA(key, "AutodialFcnName32", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(std::strlen(text) + 1));
    };
    auto value = [&] {
        char text[256] = {};
        DWORD size = sizeof(text) - 1;
        RegQueryValueExA(key, "AutodialFcnName32", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        return std::string(text);
    };
    Rec->TcpipAutodial = 2;
    for (const char* before : {"AutoDialFunc", "No_AutoDialFunc"}) {
        setValue(before);
        ConnectTelnet(EnvPort("TOLVI_REFUSED_PORT"));
        EXPECT_EQ(value(), before);
    }
    RegDeleteValueA(key, "AutodialFcnName32");
    RegCloseKey(key);
}

}  // namespace
