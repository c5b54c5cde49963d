#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "connection_fakes.h"
#include "connections/autodial_store.h"
#include "connections/connection_dispatch.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_host_data.h"
#include "connections/telnet_rings.h"
#include "fake_platform.h"

namespace {

using Events = std::vector<std::string>;

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = kTelnet;
        Rec->Terminal = 7;
        std::strcpy(Rec->HostName, "host");
        SetConnectionView(&view);
        SetSessionServices(&services);
        SetTransport(kTelnet, &transport);
        SetTransport(kSerial, &transport);
        RegisterInterpreter(EmulationFamily::Teletype, CaptureInterpreter);
        EventLog().clear();
        EmulatedText().clear();
    }
    void TearDown() override {
        DropPendingPaste();
        SetConnectionView(nullptr);
        SetSessionServices(nullptr);
        SetTransport(kTelnet, nullptr);
        SetTransport(kSerial, nullptr);
        RegisterInterpreter(EmulationFamily::Teletype, nullptr);
    }
    int Consume(ReceiveSource source, const std::string& block) {
        return RunReceiveConsumers(nullptr, source, reinterpret_cast<const uint8_t*>(block.data()),
                                   static_cast<int>(block.size()));
    }

    FakePlatform platform;
    ScopedPlatform scoped{platform};
    RecordingView view;
    RecordingServices services;
    RecordingTransport transport;
};

TEST_F(DispatchTest, ReceivedBlockPassesTheConsumersInOrder) {
    Rec->Recording = 1;
    Rec->ScreenFrozen = 1;
    Rec->UnixEnvEnable = 1;
    services.armed = true;
    services.unixEnvClaims = 2;
    services.loginClaims = 3;
    services.displayMatches = true;
    EXPECT_EQ(Consume(ReceiveSource::Netbios, "ab" "cde" "fgh"), 3);
    EXPECT_EQ(EventLog(), (Events{"record:abcdefgh", "unixenv:abcdefgh", "login:cdefgh",
                                  "display-enable:fgh", "invalidate", "dde:fgh"}));
    EXPECT_EQ(Rec->ScreenFrozen, 0);
}

TEST_F(DispatchTest, ConsumersDependOnTheSourceAndState) {
    struct Case {
        const char* what;
        ReceiveSource source;
        int connecting;
        Events events;
    } cases[] = {
        // Telnet sees no UNIX-environment answer; the blank screen matcher only while frozen.
        {"telnet", ReceiveSource::Telnet, 0, {"login:xy", "dde:xy"}},
        // A serial block while dialling goes to the dial matcher and then straight on.
        {"serial dialling", ReceiveSource::Serial, 1, {"dial:xy"}},
        {"serial connected", ReceiveSource::Serial, 0, {"login:xy", "dde:xy"}},
    };
    for (const Case& c : cases) {
        EventLog().clear();
        Rec->UnixEnvEnable = 1;
        Rec->Connecting = c.connecting;
        services.armed = true;
        EXPECT_EQ(Consume(c.source, "xy"), 2) << c.what;
        EXPECT_EQ(EventLog(), c.events) << c.what;
    }
}

TEST_F(DispatchTest, FeedEmulationCapturesInterpretsThenEvaluatesHotScreen) {
    Rec->CaptureRunning = 1;
    FeedEmulation(nullptr, reinterpret_cast<const uint8_t*>("hi"), 2);
    EXPECT_EQ(EventLog(), (Events{"capture:hi", "emulation:hi", "hotscreen"}));
    // An emulation whose interpreter is not installed ignores the data.
    EventLog().clear();
    Rec->Terminal = 2;
    Rec->CaptureRunning = 0;
    FeedEmulation(nullptr, reinterpret_cast<const uint8_t*>("hi"), 2);
    EXPECT_EQ(EventLog(), (Events{"hotscreen"}));
}

// An interpreter that meets a transfer start ('T') and, like the transfer, reads the rest of the
// terminal ring itself; it stops its block there.
void TransferStartingInterpreter(ViewWindow, const uint8_t* bytes, int n, SettingsRecord&) {
    const std::string block = Bytes(bytes, n);
    LogEvent("emulation:" + block);
    if (block.find('T') == std::string::npos) return;
    uint8_t taken[64];
    const uint32_t got = ring_get_bytes(TermOutRing, taken, sizeof taken);
    LogEvent("transfer read:" + Bytes(taken, static_cast<int>(got)));
}

TEST_F(DispatchTest, ATransferStartedFromTheRingKeepsTheRingPositionItLeft) {
    ASSERT_EQ(AllocTelnetRings(), 0);
    RegisterInterpreter(EmulationFamily::Teletype, TransferStartingInterpreter);
    // Old bytes left in the storage must never come back to the interpreter.
    ring_put_bytes(TermOutRing, reinterpret_cast<const uint8_t*>("old bytes of a file"), 19);
    uint8_t sink[32];
    ring_get_bytes(TermOutRing, sink, sizeof sink);
    ring_put_bytes(TermOutRing, reinterpret_cast<const uint8_t*>("aTzz"), 4);
    FeedTerminalRing(nullptr);
    EXPECT_EQ(EventLog(), (Events{"emulation:aTzz", "transfer read:aTzz", "hotscreen"}));
    EXPECT_TRUE(ring_is_empty(TermOutRing));
    // After the transfer the ring works as before.
    EventLog().clear();
    ring_put_bytes(TermOutRing, reinterpret_cast<const uint8_t*>("next"), 4);
    FeedTerminalRing(nullptr);
    EXPECT_EQ(EventLog(), (Events{"emulation:next", "hotscreen"}));
    EXPECT_TRUE(ring_is_empty(TermOutRing));
}

TEST_F(DispatchTest, EmulationCodesPickTheirInterpreter) {
    const std::pair<int, EmulationFamily> table[] = {
        {1, EmulationFamily::DecVt},       {2, EmulationFamily::DecVt},    {3, EmulationFamily::DecVt},
        {10, EmulationFamily::DecVt},      {4, EmulationFamily::AnsiConsole}, {5, EmulationFamily::AnsiConsole},
        {6, EmulationFamily::AnsiConsole}, {8, EmulationFamily::Wyse},     {9, EmulationFamily::Wyse},
        {12, EmulationFamily::Wyse},       {11, EmulationFamily::Adds},    {7, EmulationFamily::Teletype},
        {0, EmulationFamily::Teletype},    {99, EmulationFamily::Teletype},
    };
    for (const auto& [code, family] : table) EXPECT_EQ(FamilyOfEmulation(code), family) << code;
}

TEST_F(DispatchTest, LocalEchoShowsWhatWasSentButNotTransfersOr3270) {
    Rec->LocalEcho = 1;  // the setting alone does not echo: the live mode does
    SendToHost(nullptr, reinterpret_cast<const uint8_t*>("q"), 1);
    EXPECT_EQ(EmulatedText(), "");
    transport.sent.clear();
    Rec->LocalEchoNow = 1;
    transport.acceptPerSend = 2;
    EXPECT_EQ(SendToHost(nullptr, reinterpret_cast<const uint8_t*>("abc"), 3), 2);
    EXPECT_EQ(EmulatedText(), "ab");
    Rec->TransferActive = 1;
    SendToHost(nullptr, reinterpret_cast<const uint8_t*>("zz"), 2);
    Rec->TransferActive = 0;
    Rec->TerminalFamily3270 = 1;
    SendToHost(nullptr, reinterpret_cast<const uint8_t*>("yy"), 2);
    EXPECT_EQ(EmulatedText(), "ab");
    EXPECT_EQ(transport.sent, "abzzyy");
}

TEST_F(DispatchTest, UnknownConnectionTypeDoesNothing) {
    Rec->ComType = 7;
    EXPECT_EQ(SendToHost(nullptr, reinterpret_cast<const uint8_t*>("a"), 1), -1);
    EXPECT_EQ(OpenConnection(nullptr), 0);
    EXPECT_EQ(PendingInput(nullptr), 0);
    EXPECT_EQ(Rec->Connecting, 0);
}

TEST_F(DispatchTest, OpeningAConnectionForgetsTheHalfParsedSequenceButNotTheScreen) {
    // The last connection ended inside a CSI sequence, inside a DCS string and in printer mode.
    Rec->SequenceLength = 5;
    Rec->StringCommandNumber = 80;
    Rec->StringCommandLength = 12;
    Rec->PendingIntermediate = '(';
    Rec->PrinterControllerMode = 1;
    Rec->CursorRow = 3;
    Rec->CursorCol = 7;
    OpenConnection(nullptr);
    EXPECT_EQ(Rec->SequenceLength, 0);
    EXPECT_EQ(Rec->StringCommandNumber, 0);
    EXPECT_EQ(Rec->StringCommandLength, 0);
    EXPECT_EQ(Rec->PendingIntermediate, 0);
    EXPECT_EQ(Rec->PrinterControllerMode, 0);
    EXPECT_EQ(Rec->CursorRow, 3);
    EXPECT_EQ(Rec->CursorCol, 7);
}

TEST_F(DispatchTest, TransportsNotBuiltYetSayso) {
    Rec->ComType = kNetbios;
    EXPECT_EQ(OpenConnection(nullptr), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "The NetBIOS connection is not available yet.");
    EXPECT_EQ(Rec->Connecting, 0);
}

TEST_F(DispatchTest, ConnectCommandAsksForTheHostOnlyWhenItShould) {
    struct Case {
        const char* what;
        int comType, prompt, missing;
        const char* answer;
        bool asks, opens;
        const char* host;  // the host name and Telnet port after the answer
        int port;
    } cases[] = {
        {"telnet, prompt, OK", kTelnet, 1, 0, "other", true, true, "other", 23},
        {"telnet, address and port", kTelnet, 1, 0, "127.0.0.1:2363", true, true, "127.0.0.1", 2363},
        {"netbios keeps a colon", kNetbios, 1, 0, "name:2363", true, false, "name:2363", 23},
        {"telnet, host missing, cancel", kTelnet, 0, 1, nullptr, true, false, nullptr, 23},
        {"telnet, known host", kTelnet, 0, 0, nullptr, false, true, nullptr, 23},
        {"serial never asks", kSerial, 1, 1, nullptr, false, true, nullptr, 23},
    };
    for (const Case& c : cases) {
        SetUp();
        Rec->TelnetPort = 23;
        Rec->ComType = c.comType;
        Rec->PromptForHost = c.prompt;
        Rec->HostNameMissing = c.missing;
        view.hostAnswer = c.answer;
        ConnectDisconnectCommand(nullptr);
        const Events& log = EventLog();
        bool asked = std::find(log.begin(), log.end(), "ask-host") != log.end();
        bool opened = std::find(log.begin(), log.end(), "open") != log.end();
        EXPECT_EQ(asked, c.asks) << c.what;
        EXPECT_EQ(opened, c.opens) << c.what;
        if (c.host) {
            EXPECT_STREQ(Rec->HostName, c.host) << c.what;
        }
        EXPECT_EQ(Rec->TelnetPort, c.port) << c.what;
    }
}

TEST_F(DispatchTest, ConnectArmsTheLogOnAndBlanksTheScreen) {
    Rec->AutoLogin = 1;
    Rec->BlankAutoLogin = 1;
    std::strcpy(Rec->EnableDisplay, "<esc>[y");
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(EventLog(), (Events{"idle", "title", "open", "title", "reset-match", "arm", "title",
                                  "reset-count"}));
    EXPECT_EQ(Rec->ScreenFrozen, 1);
    EXPECT_EQ(Rec->Connecting, 1);  // the transport reports the end of the connect
}

TEST_F(DispatchTest, AnEmptyEnableTextLeavesTheScreenShown) {
    Rec->AutoLogin = 1;
    Rec->BlankAutoLogin = 1;
    ConnectDisconnectCommand(nullptr);
    EXPECT_TRUE(services.armed);
    EXPECT_EQ(Rec->ScreenFrozen, 0);
}

TEST_F(DispatchTest, FailedConnectEndsConnecting) {
    transport.openResult = 0;
    Rec->AutoLogin = 1;
    Rec->ExitPending = 1;
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(Rec->Connecting, 0);
    EXPECT_EQ(Rec->ScreenFrozen, 0);
    EXPECT_FALSE(services.armed);
    EXPECT_NE(std::find(EventLog().begin(), EventLog().end(), "post-close"), EventLog().end());
}

TEST_F(DispatchTest, ConnectWhileConnectingAnsweredNoCancelsAPendingExit) {
    Rec->Connecting = 1;
    Rec->ExitPending = 1;
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(EventLog(), (Events{"idle", "ask-abort"}));
    EXPECT_EQ(Rec->ExitPending, 0);
    EXPECT_EQ(Rec->Connecting, 1);
}

TEST_F(DispatchTest, AfterDisconnectFollowsTheHangupChoices) {
    struct Case {
        const char* what;
        int reason, whenHost, whenPc, exitPending, clearHost, clearPc;
        Events events;
    } cases[] = {
        {"user, reconnect", 1, 0, 2, 0, 0, 0, {"title", "open", "title", "reset-match", "reset-count"}},
        {"user, close", 1, 2, 1, 0, 0, 0, {"post-close"}},
        {"host, reconnect", 2, 2, 1, 0, 0, 0, {"title", "open", "title", "reset-match", "reset-count"}},
        {"exit pending wins", 1, 2, 2, 1, 0, 0, {"post-close"}},
        {"host, clear screen only", 2, 0, 0, 0, 1, 0, {"invalidate"}},
        {"user, host's clear choice does not apply", 1, 0, 0, 0, 1, 0, {}},
    };
    for (const Case& c : cases) {
        SetUp();
        Rec->HangupReason = c.reason;
        Rec->WhenHostHungup = c.whenHost;
        Rec->WhenPCHungup = c.whenPc;
        Rec->ExitPending = c.exitPending;
        Rec->HostHangupClearScreen = c.clearHost;
        Rec->PCHangupClearScreen = c.clearPc;
        AfterDisconnect(nullptr);
        EXPECT_EQ(EventLog(), c.events) << c.what;
        EXPECT_EQ(Rec->HangupReason, 0) << c.what;
    }
}

TEST_F(DispatchTest, CloseRecordsTheHostAsTheSideThatHungUp) {
    Rec->Connected = 1;
    Rec->Recording = 1;
    Rec->WhenHostHungup = 1;
    services.armed = true;
    Rec->ScreenFrozen = 1;
    CloseConnection(nullptr);
    EXPECT_EQ(EventLog(), (Events{"record-exit", "close", "title", "post-close"}));
    EXPECT_FALSE(services.armed);
    EXPECT_EQ(Rec->ScreenFrozen, 0);
}

TEST_F(DispatchTest, DisconnectCommandWhileTransportBusyWaitsForIt) {
    Rec->Connected = 1;
    Rec->WhenPCHungup = 1;
    transport.busy = 1;
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(EventLog(), (Events{"close", "title"}));
    EXPECT_EQ(Rec->HangupReason, 1);
}

TEST_F(DispatchTest, PasteIsSentInPartsAndDroppedAtDisconnect) {
    Rec->TxBlockDelay = 5;
    transport.acceptPerSend = 4;
    transport.queued = 1;  // the transport holds output: the rest waits for send-ready events
    std::string text = "0123456789";
    ASSERT_TRUE(BeginPaste(nullptr, reinterpret_cast<const uint8_t*>(text.data()), 10));
    EXPECT_FALSE(BeginPaste(nullptr, reinterpret_cast<const uint8_t*>("x"), 1));
    EXPECT_EQ(transport.sent, "0123");
    SendPasteChunk(nullptr);
    EXPECT_EQ(transport.sent, "01234567");
    EXPECT_NE(std::find(EventLog().begin(), EventLog().end(), "delay:5"), EventLog().end());
    CloseConnection(nullptr);
    EXPECT_FALSE(PastePending());
    SendPasteChunk(nullptr);
    EXPECT_EQ(transport.sent, "01234567");
}

TEST_F(DispatchTest, PasteGoesOnWhileTheTransportKeepsNothingQueued) {
    transport.acceptPerSend = 3;
    std::string text = "0123456789";
    BeginPaste(nullptr, reinterpret_cast<const uint8_t*>(text.data()), 10);
    EXPECT_EQ(transport.sent, text);
    EXPECT_FALSE(PastePending());
}

// ---- Automatic dial suppression.

class FakeAutodial : public AutodialStore {
public:
    bool Open() override { return opens; }
    bool Read(char* value, std::size_t size) override {
        if (!reads) return false;
        std::strncpy(value, stored.c_str(), size - 1);
        value[size - 1] = '\0';
        return true;
    }
    bool Write(const char* value) override {
        writes.push_back(value);
        stored = value;
        return true;
    }
    void Close() override { closed = true; }

    bool opens = true, reads = true, closed = false;
    std::string stored;
    std::vector<std::string> writes;
};

TEST(AutodialSuppressorTest, RenamesForTheConnectAndRestores) {
    FakeAutodial store;
    store.stored = std::string(1023, 'x');  // the longest value still gets its prefix
    {
        AutodialSuppressor suppress(&store);
        EXPECT_EQ(store.stored, "No_" + std::string(1023, 'x'));
    }
    EXPECT_EQ(store.stored, std::string(1023, 'x'));
    EXPECT_TRUE(store.closed);
}

TEST(AutodialSuppressorTest, LeavesTheValueAloneWhenItShould) {
    FakeAutodial already;
    already.stored = "No_dial";
    { AutodialSuppressor suppress(&already); }
    EXPECT_TRUE(already.writes.empty());

    FakeAutodial unreadable;
    unreadable.reads = false;
    { AutodialSuppressor suppress(&unreadable); }
    EXPECT_TRUE(unreadable.writes.empty());
    EXPECT_TRUE(unreadable.closed);
}

}  // namespace
