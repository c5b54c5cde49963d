// The NetBIOS transport over the platform's Netbios call against a session-service host
// (tests/peers/netbios_host.py) that run_netbios_tests.sh starts in a private network namespace.
// The peer fixture's hidden host window takes WM_USER+100 as the terminal view does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/netbios_session.h"
#include "connections/win32/netbios_platform.h"
#include "peer_fixture.h"
#include "session/session_record.h"

namespace {

// Where Wine's NetBIOS differs from the platform it stands for, the test plays the platform:
// Wine registers no names (ADD GROUP NAME is an illegal command there), so that command is
// answered as a name the adapter already holds, which the session accepts; and Wine answers
// ADAPTER STATUS on an adapter this process has not reset, where the platform answers "environment
// not defined" (0x34), which makes the session reset it (Wine's CALL needs that reset). Every
// other command goes to the platform's Netbios call.
class WineNameShim : public NetbiosPlatform {
public:
    uint8_t Submit(Ncb* ncb) override {
        if (ncb->command == kNcbAddGroupName) {
            ++addedNames;
            ncb->retcode = kNrcDuplicateName;
            return kNrcDuplicateName;
        }
        if (ncb->command == kNcbReset) resetLanas |= 1u << (ncb->lanaNum & 31);
        if (ncb->command == kNcbAdapterStatus && !(resetLanas & (1u << (ncb->lanaNum & 31)))) {
            ncb->retcode = kNrcEnvironmentNotDefined;
            return kNrcEnvironmentNotDefined;
        }
        return Win32Netbios().Submit(ncb);
    }
    void PostCompletion(ViewWindow window, unsigned message, unsigned command, Ncb* ncb) override {
        Win32Netbios().PostCompletion(window, message, command, ncb);
    }
    void ComputerName(char name[16]) override { Win32Netbios().ComputerName(name); }
    bool ScrollLockOn() override { return Win32Netbios().ScrollLockOn(); }
    bool AskOkCancel(const char* text) override { return false; }
    int addedNames = 0;
    unsigned resetLanas = 0;
};

WineNameShim shim;

std::vector<std::string> PeerLines(const char* name) {
    std::vector<std::string> lines;
    const std::string text = ReadWholeFile(PeerPath("TOLVI_NETBIOS_DIR", name));
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

class NetbiosPeerTest : public PeerTest {
protected:
    void SetUp() override {
        PeerTest::SetUp();
        Rec->ComType = 1;
        Rec->Terminal = 7;
        Rec->Charset = 3;
        Rec->Lana = 10;
        Rec->NetWork = 4;
        Rec->SendTimeout = 60;
        Rec->MaxTxBlock = 5;
        const char* host = std::getenv("TOLVI_NETBIOS_HOST");
        std::strcpy(Rec->HostName, host ? host : "");
        InstallNetbiosTransport(shim);
    }
    // Sessions end from the host's side: Wine's NetBIOS faults now and then when a HANG UP meets
    // an outstanding RECEIVE (the user's disconnect is tested against the simulated submitter).
    void TearDown() override {
        if (Rec->Connected) {
            Send("bye\r");
            PumpUntil([] { return !Rec->Connected; }, 5000);
        }
        PumpUntil([] { return !IsTransportBusy(); }, 3000);
        PeerTest::TearDown();
    }
    int Send(const std::string& text) {
        return SendToHost(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    }
    std::string Messages() const {
        std::string all;
        for (const FakePlatform::Message& m : platform.messages) all += m.text + "|";
        return all;
    }

};

TEST_F(NetbiosPeerTest, SessionCarriesDataBothWaysInSendsOfMaxTxBlock) {
    ConnectDisconnectCommand(nullptr);
    ASSERT_EQ(Rec->Connected, 1) << Messages();
    EXPECT_EQ(Rec->Connecting, 0);
    ASSERT_TRUE(PumpUntil([] { return received == "login: "; }, 5000)) << received;
    EXPECT_FALSE(PeerLines("called.log").empty());  // the host took a session request

    std::size_t before = PeerLines("messages.log").size();
    EXPECT_EQ(Send("hello world\r"), 12);
    ASSERT_TRUE(PumpUntil([] { return received.find("host:hello world\r\n") != std::string::npos; }, 5000))
        << received;
    std::vector<std::string> messages = PeerLines("messages.log");
    std::vector<std::string> sizes;
    for (std::size_t i = before; i < messages.size(); ++i) sizes.push_back(messages[i].substr(0, messages[i].find(' ')));
    EXPECT_EQ(sizes, (std::vector<std::string>{"5", "5", "2"}));
    EXPECT_TRUE(platform.messages.empty()) << Messages();
}

TEST_F(NetbiosPeerTest, HostClosingTheSessionDisconnectsQuietly) {
    ConnectDisconnectCommand(nullptr);
    ASSERT_EQ(Rec->Connected, 1) << Messages();
    ASSERT_TRUE(PumpUntil([] { return received == "login: "; }, 5000)) << received;
    Send("bye\r");
    EXPECT_TRUE(PumpUntil([] { return !Rec->Connected; }, 5000));
    EXPECT_TRUE(PumpUntil([] { return !IsTransportBusy(); }, 3000));
    EXPECT_TRUE(platform.messages.empty()) << Messages();
}

TEST_F(NetbiosPeerTest, UnknownHostIsReportedInWords) {
    std::strcpy(Rec->HostName, "10.99.0.77");
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(Rec->Connected, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.find("Cannot find host \"10.99.0.77\" on lana "), 0u) << Messages();
}

}  // namespace
