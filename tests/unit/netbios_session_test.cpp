// The NetBIOS session against a simulated submitter: adapters with their status, the names and
// calls it sees, no-wait commands that the test completes, and completions delivered as the view
// would deliver WM_USER+100.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "connection_fakes.h"
#include "connections/connection_dispatch.h"
#include "connections/netbios_session.h"
#include "fake_platform.h"

namespace {

struct FakeAdapter {
    bool present = true;
    int statusCode = 0;
    bool needsReset = false;  // answers 0x34 until reset
    std::vector<uint8_t> status;  // what ADAPTER STATUS returns
};

std::vector<uint8_t> Status(unsigned packetSize, const std::vector<std::string>& names,
                            int nameCount = -1) {
    std::vector<uint8_t> status(60, 0);
    const uint8_t address[6] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::memcpy(status.data(), address, 6);
    status[56] = static_cast<uint8_t>(packetSize);
    status[57] = static_cast<uint8_t>(packetSize >> 8);
    status[58] = static_cast<uint8_t>(nameCount >= 0 ? nameCount : static_cast<int>(names.size()));
    for (const std::string& name : names) {
        uint8_t entry[18] = {};
        std::memcpy(entry, name.data(), name.size() < 16 ? name.size() : 16);
        status.insert(status.end(), entry, entry + 18);
    }
    return status;
}

std::string Padded(const std::string& name, uint8_t last) {
    std::string padded = name + std::string(15 - name.size(), ' ');
    return padded + static_cast<char>(last);
}

class FakeNetbios : public NetbiosPlatform {
public:
    uint8_t Submit(Ncb* ncb) override {
        uint8_t command = ncb->command;
        log.push_back(command);
        uint8_t code = 0;
        FakeAdapter* adapter = adapters.count(ncb->lanaNum) ? &adapters[ncb->lanaNum] : nullptr;
        switch (command) {
        case kNcbNoSuchCommand: code = adapter && adapter->present ? 3 : 0x23; break;
        case kNcbReset: if (adapter) adapter->needsReset = false; break;
        case kNcbAdapterStatus: {
            if (!adapter) { code = 0x23; break; }
            if (adapter->needsReset) { code = 0x34; break; }
            std::size_t n = adapter->status.size() < ncb->length ? adapter->status.size() : ncb->length;
            std::memcpy(ncb->buffer, adapter->status.data(), n);
            ncb->length = static_cast<uint16_t>(n);
            code = static_cast<uint8_t>(adapter->statusCode);
            break;
        }
        case kNcbAddName: case kNcbAddGroupName:
            addedName.assign(reinterpret_cast<char*>(ncb->name), 16);
            addedCommand = command;
            code = static_cast<uint8_t>(addNameCode);
            break;
        case kNcbCall:
            callName.assign(reinterpret_cast<char*>(ncb->callname), 16);
            callLocal.assign(reinterpret_cast<char*>(ncb->name), 16);
            callLana = ncb->lanaNum;
            callSto = ncb->sto;
            ncb->lsn = 7;
            code = static_cast<uint8_t>(callCode);
            break;
        case kNcbHangUp: ++hangUps; break;
        case kNcbSend | kNcbNoWait:
            if (refuseNoWait) { code = 0x22; break; }
            sends.push_back(std::string(reinterpret_cast<char*>(ncb->buffer), ncb->length));
            outstanding.push_back(ncb);
            break;
        case kNcbReceive | kNcbNoWait:
            if (refuseNoWait) { code = 0x22; break; }
            outstanding.push_back(ncb);
            break;
        }
        ncb->retcode = code;
        return code;
    }
    void PostCompletion(ViewWindow, unsigned message, unsigned command, Ncb* ncb) override {
        posted.push_back({command, ncb});
    }
    void ComputerName(char name[16]) override { std::strcpy(name, "WORKBENCH"); }
    bool ScrollLockOn() override { return scrollLock; }
    bool AskOkCancel(const char* text) override {
        questions.push_back(text);
        return answerOk;
    }

    // Completes the oldest outstanding no-wait command of that kind through its post routine.
    Ncb* Complete(uint8_t command, int code, const std::string& data = "") {
        for (auto it = outstanding.begin(); it != outstanding.end(); ++it) {
            Ncb* ncb = *it;
            if ((ncb->command & 0x7F) != command) continue;
            outstanding.erase(it);
            if (command == kNcbReceive) {
                std::memcpy(ncb->buffer, data.data(), data.size());
                ncb->length = static_cast<uint16_t>(data.size());
            }
            ncb->cmdCplt = static_cast<uint8_t>(code);
            ncb->post(ncb);
            return ncb;
        }
        return nullptr;
    }

    std::map<int, FakeAdapter> adapters;
    std::vector<uint8_t> log;
    std::string addedName, callName, callLocal;
    uint8_t addedCommand = 0;
    int addNameCode = 0, callCode = 0, callLana = -1, callSto = -1, hangUps = 0;
    bool refuseNoWait = false, scrollLock = false, answerOk = false;
    std::vector<std::string> sends, questions;
    std::deque<Ncb*> outstanding;
    struct Posted {
        unsigned command;
        Ncb* ncb;
    };
    std::deque<Posted> posted;
};

class NetbiosSessionTest : public ::testing::Test {
public:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = kNetbios;
        Rec->Terminal = 7;
        Rec->Charset = 3;  // typed characters go out unchanged
        Rec->Lana = 10;
        Rec->NetWork = 1;
        Rec->SendTimeout = 60;
        Rec->MaxTxBlock = 5;
        std::strcpy(Rec->HostName, "db");
        SetConnectionView(&view);
        SetSessionServices(&services);
        InstallNetbiosTransport(net);
        RegisterInterpreter(EmulationFamily::Teletype, CaptureInterpreter);
        EventLog().clear();
        EmulatedText().clear();
        net = FakeNetbios();
        net.adapters[0].status = Status(1496, {Padded("PC17", 0)});
    }
    void TearDown() override {
        DeliverAll();
        for (Ncb* ncb : net.outstanding) FreeNcb(ncb);
        net.outstanding.clear();
        DropPendingPaste();
        SetTransport(kNetbios, nullptr);  // the session's platform ends with the test
        SetConnectionView(nullptr);
        SetSessionServices(nullptr);
        RegisterInterpreter(EmulationFamily::Teletype, nullptr);
    }
    NetbiosSession& Session() { return *InstalledNetbiosSession(); }
    // Delivers the posted completions as the view's WM_USER+100 handler does.
    void DeliverAll() {
        while (!net.posted.empty()) {
            FakeNetbios::Posted p = net.posted.front();
            net.posted.pop_front();
            NetbiosNcbDone(nullptr, p.command, p.ncb);
        }
    }
    int SendText(const std::string& text) {
        return SendToHost(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    }
    void Receive(const std::string& data, int code = 0) {
        net.Complete(kNcbReceive, code, data);
        DeliverAll();
    }

    FakePlatform platform;
    ScopedPlatform scoped{platform};
    RecordingView view;
    RecordingServices services;
    FakeNetbios net;
};

TEST_F(NetbiosSessionTest, AutoSearchFindsTheOnlyAdapterAndCallsTheHost) {
    ASSERT_EQ(OpenConnection(nullptr), 1);
    EXPECT_EQ(Rec->Connected, 1);
    EXPECT_EQ(Rec->Connecting, 0);
    EXPECT_EQ(Session().Lana(), 0);
    // Adapters 10 down to 1 were asked whether they run NetBIOS.
    int presence = 0;
    for (uint8_t c : net.log) presence += c == kNcbNoSuchCommand;
    EXPECT_EQ(presence, 12);  // 11 in the search, one for the adapter in use
    EXPECT_EQ(net.callLana, 0);
    EXPECT_EQ(net.callName, "db_tty          ");
    EXPECT_EQ(net.callSto, 120);
    EXPECT_EQ(net.addedName, Padded("PC17", 0xE8));
    EXPECT_EQ(net.addedCommand, kNcbAddGroupName);
    EXPECT_EQ(Session().ReceiveState(), NetbiosSession::kOutstanding);
    EXPECT_EQ(Session().Ncbs().Outstanding(), 1);
}

TEST_F(NetbiosSessionTest, CallNameDependsOnTheNetwork) {
    struct Case {
        int network;
        const char* host;
        const char* call;
    } cases[] = {
        {1, "accountingsrv1", "accountingsr_tty"},
        {1, "db", "db_tty          "},
        {4, "db", "db              "},
        {2, "averyveryverylonghostname", "averyveryverylon"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Rec->NetWork = c.network;
        Rec->Lana = 0;
        std::strcpy(Rec->HostName, c.host);
        ASSERT_EQ(OpenConnection(nullptr), 1) << c.host;
        EXPECT_EQ(net.callName, c.call);
    }
}

TEST_F(NetbiosSessionTest, AdapterSearchFollowsThePacketSize) {
    net.adapters[3].status = Status(4096, {Padded("BIGNET", 0)});
    net.adapters[1].status = Status(512, {Padded("SMALL", 0)});
    ASSERT_EQ(OpenConnection(nullptr), 1);
    EXPECT_EQ(Session().Lana(), 1);  // 4096 does not suit network 1
    Rec->NetWork = 4;
    CloseConnection(nullptr);
    DeliverAll();
    Rec->Connected = 0;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    EXPECT_EQ(Session().Lana(), 3);
}

TEST_F(NetbiosSessionTest, AdapterWithoutEnvironmentIsResetAndAskedAgain) {
    net.adapters[0].needsReset = true;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    EXPECT_NE(std::find(net.log.begin(), net.log.end(), kNcbReset), net.log.end());
}

TEST_F(NetbiosSessionTest, LocalNameChoices) {
    struct Case {
        std::vector<uint8_t> status;
        int statusCode;
        std::string added;  // empty: no name was added
    } cases[] = {
        // A group name first (16th byte not 0), the workstation name second.
        {Status(1496, {Padded("GROUP", 0x1C), Padded("PC17", 0)}), 0, Padded("PC17", 0xE8)},
        // An empty name table: the computer's name.
        {Status(1496, {}), 0, Padded("WORKBENCH", 0xE8)},
        // No workstation name: the permanent node name, used without registration.
        {Status(1496, {Padded("GROUP", 0x1C)}), 0, ""},
        // A count larger than the returned entries is bounded by them.
        {Status(1496, {Padded("GROUP", 0x1C)}, 100), 0, ""},
        // A negative count counts as none.
        {Status(1496, {Padded("PC17", 0)}, 0xF0), 0, Padded("WORKBENCH", 0xE8)},
        // "Incomplete": the count comes from the returned length.
        {Status(1496, {Padded("PC17", 0)}, 0), 6, Padded("PC17", 0xE8)},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Rec->Lana = 0;
        net.adapters[0].status = c.status;
        net.adapters[0].statusCode = c.statusCode;
        ASSERT_EQ(OpenConnection(nullptr), 1);
        EXPECT_EQ(net.addedName, c.added);
        if (c.added.empty()) {
            const uint8_t node[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
            EXPECT_EQ(std::memcmp(Session().LocalName(), node, 16), 0);
            EXPECT_EQ(net.callLocal, std::string(reinterpret_cast<const char*>(node), 16));
        }
    }
}

TEST_F(NetbiosSessionTest, ConnectFailuresShowOneMessageAndStayDisconnected) {
    struct Case {
        const char* what;
        int expectedId;
        std::string text;
    } cases[] = {
        {"not-running", -1, ""},
        {"status", 40, "NetBIOS AdapterStatus error: x23"},
        {"add-name", 0, "Error Adding Name [PC17           \xE8] Error [22]"},
        {"call", 0, "Cannot find host \"db\" on lana 0, NetBios Error [0x14]"},
        {"receive", 0, "Error [22] posting a NetBIOS Receive"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Rec->Lana = 0;
        std::string what = c.what;
        if (what == "not-running") net.adapters[0].present = false;
        if (what == "status") {
            net.adapters.erase(0);
            net.answerOk = true;  // ignore the presence test and go on
        }
        if (what == "add-name") net.addNameCode = 0x22;
        if (what == "call") net.callCode = 0x14;
        if (what == "receive") net.refuseNoWait = true;
        platform.messages.clear();
        EXPECT_EQ(OpenConnection(nullptr), 0) << what;
        EXPECT_EQ(Rec->Connected, 0);
        EXPECT_EQ(Rec->Connecting, 0);
        if (what == "not-running") {
            ASSERT_EQ(net.questions.size(), 1u);
            EXPECT_EQ(net.questions[0],
                      "NetBIOS for LAN Adapter  0 detected to not be running\nIgnore error and continue?");
            EXPECT_TRUE(platform.messages.empty());
            continue;
        }
        ASSERT_EQ(platform.messages.size(), 1u) << what;
        EXPECT_EQ(platform.messages[0].id, c.expectedId);
        EXPECT_EQ(platform.messages[0].text, c.text);
    }
}

TEST_F(NetbiosSessionTest, DuplicateNameIsAccepted) {
    net.addNameCode = 0x0D;
    EXPECT_EQ(OpenConnection(nullptr), 1);
}

TEST_F(NetbiosSessionTest, SendsAreSplitAtMaxTxBlockWithTheDelayBetweenFullBlocks) {
    Rec->TxBlockDelay = 100;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    EventLog().clear();
    EXPECT_EQ(SendText("0123456789AB"), 12);
    ASSERT_EQ(net.sends.size(), 1u);
    net.Complete(kNcbSend, 0);
    DeliverAll();
    net.Complete(kNcbSend, 0);
    DeliverAll();
    net.Complete(kNcbSend, 0);
    DeliverAll();
    EXPECT_EQ(net.sends, (std::vector<std::string>{"01234", "56789", "AB"}));
    int delays = 0;
    for (const std::string& e : EventLog()) delays += e == "delay:100";
    EXPECT_EQ(delays, 2);
    EXPECT_EQ(Session().SendState(), NetbiosSession::kIdle);
}

TEST_F(NetbiosSessionTest, TypingWhileASendIsOutstandingQueues) {
    ASSERT_EQ(OpenConnection(nullptr), 1);
    SendText("ab");
    SendText("cd");
    EXPECT_EQ(net.sends, (std::vector<std::string>{"ab"}));
    net.Complete(kNcbSend, 0);
    DeliverAll();
    EXPECT_EQ(net.sends, (std::vector<std::string>{"ab", "cd"}));
}

TEST_F(NetbiosSessionTest, SendBufferTakesAtMostItsRoom) {
    Rec->MaxTxBlock = 1000;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    std::string big(1500, 'x');
    EXPECT_EQ(SendText(big), 1000);  // the first SEND took all 1000; the buffer is free again
    EXPECT_EQ(SendText(big), 1000);  // queued behind the outstanding SEND
    EXPECT_EQ(SendText(big), 0);     // full
}

TEST_F(NetbiosSessionTest, TypingWhileDisconnectedVanishes) {
    EXPECT_EQ(SendText("lost"), 4);
    EXPECT_TRUE(net.sends.empty());
}

TEST_F(NetbiosSessionTest, PasteContinuesFromTheSendCompletions) {
    ASSERT_EQ(OpenConnection(nullptr), 1);
    std::string text(2500, 'p');
    ASSERT_TRUE(BeginPaste(nullptr, reinterpret_cast<const uint8_t*>(text.data()), 2500));
    for (int i = 0; i < 1000 && !net.outstanding.empty(); ++i) {
        if (!net.Complete(kNcbSend, 0)) break;
        DeliverAll();
    }
    std::string all;
    for (const std::string& s : net.sends) all += s;
    EXPECT_EQ(all, text);
    EXPECT_FALSE(PastePending());
}

TEST_F(NetbiosSessionTest, ReceivedDataReachesTheEmulationAfterTheNextReceiveIsPosted) {
    ASSERT_EQ(OpenConnection(nullptr), 1);
    Receive("login: ");
    EXPECT_EQ(EmulatedText(), "login: ");
    EXPECT_EQ(Session().ReceiveState(), NetbiosSession::kOutstanding);
    Receive("more", 6);  // incomplete: more data waits, processed like good
    EXPECT_EQ(EmulatedText(), "login: more");
}

TEST_F(NetbiosSessionTest, HoldLeavesTheReceiveForTheRearm) {
    Rec->KeyMapHasHold = 1;
    net.scrollLock = true;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    Receive("held");
    EXPECT_EQ(EmulatedText(), "held");
    EXPECT_EQ(Session().ReceiveState(), NetbiosSession::kIdle);
    EXPECT_EQ(net.outstanding.size(), 0u);
    net.scrollLock = false;
    RearmReceive(nullptr);
    EXPECT_EQ(Session().ReceiveState(), NetbiosSession::kOutstanding);
}

// The hang-up ends the outstanding RECEIVE: normally as "session closed", but some adapters
// answer "invalid session number" or "aborted" for the session that is gone; none is an error.
TEST_F(NetbiosSessionTest, UserDisconnectWaitsForTheReceiveToComplete) {
    for (int code : {0x0A, 0x08, 0x18}) {
        TearDown();
        SetUp();
        ASSERT_EQ(OpenConnection(nullptr), 1);
        Rec->WhenPCHungup = 1;
        DisconnectCommand(nullptr);
        EXPECT_EQ(Rec->Connected, 0);
        EXPECT_EQ(net.hangUps, 1);
        EXPECT_EQ(IsTransportBusy(), 1);
        EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "post-close"), 0);
        Receive("", code);
        EXPECT_EQ(IsTransportBusy(), 0);
        EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "post-close"), 1) << code;
        EXPECT_TRUE(platform.messages.empty()) << code;
    }
}

TEST_F(NetbiosSessionTest, HostDisconnectClosesQuietly) {
    for (int code : {0x0A, 0x18}) {
        TearDown();
        SetUp();
        ASSERT_EQ(OpenConnection(nullptr), 1);
        Rec->WhenHostHungup = 1;
        platform.messages.clear();
        Receive("", code);
        EXPECT_EQ(Rec->Connected, 0);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(std::count(EventLog().begin(), EventLog().end(), "post-close"), 1);
    }
}

TEST_F(NetbiosSessionTest, ReceiveErrorsAndStrayCompletionsAreReported) {
    ASSERT_EQ(OpenConnection(nullptr), 1);
    Receive("", 0x3C);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Receive Error [3c]\nConnection closed");
    EXPECT_EQ(Rec->Connected, 0);
    Ncb stray = {};
    NetbiosNcbDone(nullptr, kNcbReceive | kNcbNoWait, &stray);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].id, 41);
    EXPECT_EQ(platform.messages[1].text, "Unexpected NetBIOS cmd: x95 complete");
}

// A modal loop inside the consumers delivers the next completion before the first block is done;
// each block keeps its own buffer.
TEST_F(NetbiosSessionTest, NestedCompletionDoesNotOverwriteTheBlockBeingFed) {
    class NestingServices : public RecordingServices {
    public:
        NetbiosSessionTest* test = nullptr;
        bool nested = false;
        void DdeTap(const uint8_t* b, int n) override {
            if (nested) return;
            nested = true;
            test->Receive("SECOND");
        }
    } nesting;
    nesting.test = this;
    SetSessionServices(&nesting);
    ASSERT_EQ(OpenConnection(nullptr), 1);
    Receive("FIRST!");
    EXPECT_EQ(EmulatedText(), "SECONDFIRST!");
    SetSessionServices(&services);
}

TEST_F(NetbiosSessionTest, OutstandingTableRefusesTheEleventhCommand) {
    Rec->Lana = 0;
    ASSERT_EQ(OpenConnection(nullptr), 1);
    NcbLayer& layer = Session().Ncbs();
    for (int i = 1; i < NcbLayer::kTableSize; ++i)
        EXPECT_EQ(layer.ReceiveNoWait(nullptr, 0, 16, 7, kNetbiosDoneMessage), 0);
    EXPECT_EQ(layer.Outstanding(), 10);
    EXPECT_EQ(layer.ReceiveNoWait(nullptr, 0, 16, 7, kNetbiosDoneMessage), 0x50);
    while (!net.outstanding.empty()) {
        Ncb* ncb = net.outstanding.front();
        net.outstanding.pop_front();
        ncb->cmdCplt = 0x0A;
        ncb->post(ncb);
    }
    EXPECT_EQ(layer.Outstanding(), 0);
    for (FakeNetbios::Posted& p : net.posted) FreeNcb(p.ncb);
    net.posted.clear();
}

TEST(NetbiosNameTest, PadNetbiosNameCutsAndPads) {
    char name[17];
    PadNetbiosName(name, "db_tty");
    EXPECT_STREQ(name, "db_tty          ");
    PadNetbiosName(name, "exactlysixteen!!extra");
    EXPECT_STREQ(name, "exactlysixteen!!");
}

}  // namespace
