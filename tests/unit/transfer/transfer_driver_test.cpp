// The transfer driver against scripted libraries: the order of the library calls, the step codes,
// the early exits and what they leave behind, aborts, and the status texts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "connections/transfer_driver.h"
#include "connections/transfer_steps.h"
#include "session/session_record.h"
#include "../connection_fakes.h"
#include "transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

class TransferDriver : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        Rec->AProtocol = kXmodem;
    }
    std::vector<std::string> LibraryCalls(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const auto& c : Calls())
            if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
        return out;
    }

};

TEST_F(TransferDriver, XmodemReceiveStepsUntilDoneAndEndsWithTheCompleteLine)
{
    Rec->AProtocol = kXmodemCrc;
    Transfer().receiveFile = "got.bin";
    libs.fileName = "got.bin";
    libs.Script("xy-recv", {1});  // a start of 1 goes on
    libs.Script("xy-recv-next", {5, 5, 1});
    libs.bytes = 2048;
    libs.size = 4096;
    RunTransfer(kTransferReceive);

    EXPECT_EQ(Calls().front(), "open:1");
    EXPECT_TRUE(Called("callbacks:3"));
    EXPECT_TRUE(Called("xy-debug:"));
    EXPECT_TRUE(Called("xy-recv:got.bin:C"));
    EXPECT_EQ(LibraryCalls("xy-recv-next").size(), 3u);
    EXPECT_EQ(Calls().back(), "close-virtual:3");
    EXPECT_EQ(host.panes[1], "got.bin 50% Bytes:2048 Size:4096");
    EXPECT_EQ(host.panes[102], "50");
    EXPECT_NE(host.panes[0].find(" Complete"), std::string::npos) << host.panes[0];
    EXPECT_EQ(host.statusHistory.front(), "X-Modem CRC Receive starting. (ESC to Abort)");
    EXPECT_EQ(Transfer().lastError, 0);
    EXPECT_EQ(Rec->TransferActive, 0);
    EXPECT_EQ(Transfer().port, -1);
    EXPECT_FALSE(Transfer().portOpen);
    EXPECT_EQ(host.endedCount, 1);
}

TEST_F(TransferDriver, EveryEarlyExitLeavesAnErrorAndNoActiveTransfer)
{
    struct Case {
        const char* name;
        void (*arrange)(ScriptedLibraries&, ScriptedHost&);
        const char* message;  // the start of the message shown, or ""
        bool portClosed;
    };
    const Case cases[] = {
        {"nested", [](ScriptedLibraries&, ScriptedHost&) { Rec->TransferActive = 1; }, "", false},
        {"no port", [](ScriptedLibraries& l, ScriptedHost&) { l.Script("open", {-1}); }, "0:Com Open failed, error -1", false},
        {"parameters", [](ScriptedLibraries& l, ScriptedHost&) { l.Script("xy-parms", {-1}); },
         "0:Internal problem: Failed to set Parameters", true},
        {"netbios", [](ScriptedLibraries&, ScriptedHost&) { Rec->ComType = kNetbios; }, "0:File transfers need", false},
        {"folder", [](ScriptedLibraries&, ScriptedHost& h) { h.directory = "no-such-folder-here"; },
         "82:Working directory not found: no-such-folder-here", true},
    };
    for (const Case& c : cases) {
        SetUp();
        c.arrange(libs, host);
        const bool wasActive = Rec->TransferActive != 0;
        const fs::path before = fs::current_path();
        RunTransfer(kTransferSend);
        EXPECT_EQ(Transfer().lastError, -1) << c.name;
        EXPECT_TRUE(LibraryCalls("xy-send").empty()) << c.name;
        EXPECT_EQ(fs::current_path(), before) << c.name;
        if (*c.message) {
            ASSERT_EQ(host.messages.size(), 1u) << c.name;
            EXPECT_EQ(host.messages[0].compare(0, std::strlen(c.message), c.message), 0) << host.messages[0];
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.name;
        }
        EXPECT_EQ(Called("close-virtual:3"), c.portClosed) << c.name;
        EXPECT_EQ(Rec->TransferActive != 0, wasActive) << c.name;
        EXPECT_EQ(Transfer().port, -1) << c.name;
    }
}

TEST_F(TransferDriver, TheTransferFolderIsCurrentDuringTheLoopAndRestoredAfter)
{
    const fs::path before = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / ("tolvi-xfer-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    host.directory = folder.string();
    fs::path during;
    libs.Script("xy-send", {5});
    libs.Script("xy-send-next", {11});
    struct Watch : ScriptedHost {
        fs::path* seen;
        TransferPump PumpMessages(bool stop) override
        {
            *seen = fs::current_path();
            return ScriptedHost::PumpMessages(stop);
        }
    } watch;
    watch.seen = &during;
    watch.directory = host.directory;
    SetTransferHost(&watch);
    RunTransfer(kTransferSend);
    EXPECT_EQ(during, fs::canonical(folder));
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(Transfer().lastError, 0);
    fs::remove_all(folder);
}

TEST_F(TransferDriver, EscapeAndClosingAbortByProtocol)
{
    struct Case {
        int protocol;
        int operation;
        TransferPump pump;
        const char* abortCall;
    };
    const Case cases[] = {
        {kZmodem, kTransferReceive, TransferPump::kEscape, "z-recv-abort"},
        {kZmodem, kTransferSend, TransferPump::kClosing, "z-send-abort"},
        {kKermit, kTransferReceive, TransferPump::kClosing, "k-abort"},
        {kYmodem, kTransferSend, TransferPump::kEscape, "xy-abort"},
    };
    for (const Case& c : cases) {
        SetUp();
        Rec->AProtocol = c.protocol;
        libs.Script("z-recv", {12});
        libs.Script("z-send", {0});
        libs.Script("k-recv", {5});
        libs.Script("k-recv-next", {5});
        libs.Script("xy-send", {5});
        host.pumps = {TransferPump::kGoOn, c.pump};
        RunTransfer(c.operation);
        EXPECT_TRUE(Called(c.abortCall)) << c.abortCall;
        ASSERT_GE(host.statusHistory.size(), 2u);
        const std::vector<std::string> tail(host.statusHistory.end() - 2, host.statusHistory.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"Aborting ...", "Aborted"}));
        EXPECT_EQ(Transfer().lastError, -1) << c.abortCall;
        EXPECT_EQ(Rec->TransferActive, 0);
        EXPECT_EQ(host.endedCount, 1);
    }
}

TEST_F(TransferDriver, TheDialogsAbortRequestEndsTheLoopAsAFailure)
{
    Rec->AProtocol = kYmodem;
    libs.Script("xy-recv", {5});
    libs.Script("xy-abort", {5});  // even an abort that says "go on" ends the loop
    struct Requesting : ScriptedHost {
        TransferPump PumpMessages(bool) override
        {
            Transfer().abortRequested = true;
            return TransferPump::kGoOn;
        }
    } requesting;
    SetTransferHost(&requesting);
    RunTransfer(kTransferReceive);
    EXPECT_TRUE(Called("xy-abort"));
    EXPECT_TRUE(LibraryCalls("xy-recv-next").empty());
    EXPECT_EQ(Transfer().lastError, -1);
    EXPECT_FALSE(Transfer().abortRequested);
}

TEST_F(TransferDriver, OnlyTheFirstErrorOpensAMessageBox)
{
    Transfer().receiveFile = "in.dat";
    TransferError(3, 77, nullptr);
    TransferError(3, 12, nullptr);
    EXPECT_EQ(host.messages, std::vector<std::string>{"0:File transfer error: 77"});
    EXPECT_EQ(host.panes[0], "Receive open error: in.dat");
    EXPECT_EQ(Transfer().lastError, 77);
    // A failure without a code is still a failure.
    Transfer().lastError = 0;
    TransferError(3, 0, nullptr);
    EXPECT_EQ(Transfer().lastError, -1);
    // Without a status bar nothing is shown, but the error stays.
    Transfer().lastError = 0;
    host.statusBar = false;
    TransferError(3, 5, nullptr);
    EXPECT_EQ(Transfer().lastError, 5);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(TransferDriver, AnUnknownReceiveCodeFailsAndStepCodesMapAsTheLoopsReadThem)
{
    Rec->AProtocol = kKermit;
    libs.Script("k-recv", {5});
    libs.Script("k-recv-next", {7});
    libs.lastError = 9;
    RunTransfer(kTransferReceive);
    EXPECT_EQ(LibraryCalls("k-recv-next").size(), 1u);
    EXPECT_EQ(Transfer().lastError, 9);

    EXPECT_EQ(SendOutcome(7), StepOutcome::kGoOn);
    EXPECT_EQ(SendOutcome(11), StepOutcome::kDone);
    EXPECT_EQ(ReceiveOutcome(11), StepOutcome::kFailed);
    EXPECT_EQ(ReceiveOutcome(12), StepOutcome::kGoOn);
    EXPECT_EQ(ReceiveOutcome(4), StepOutcome::kFailed);
}

TEST_F(TransferDriver, ZmodemStartsWithItsOptionsAndHalvetCodesAreMapped)
{
    Rec->AProtocol = kZmodem;
    Rec->Manag = 6;
    Rec->Conv = 1;
    Rec->FnManag = 0;
    Rec->EscCtl = 1;
    Rec->Unlink = 1;
    Rec->Splen = 1024;
    Rec->ZTimeout = 100;
    Transfer().sendFiles = "a.bin b.bin";
    libs.Script("z-send", {3});  // anything but -1 is a start
    libs.Script("z-send-next", {2, 10});
    RunTransfer(kTransferSend);
    EXPECT_TRUE(Called("z-send:6,8,0,0x809,1024,0,0,100:a.bin b.bin"));
    EXPECT_EQ(LibraryCalls("z-send-next").size(), 2u);
    EXPECT_EQ(Transfer().lastError, 0);

    SetUp();
    Rec->AProtocol = kZmodem;
    Rec->FnManag = 2;
    Transfer().debugLog = true;
    libs.Script("z-send", {-1});
    RunTransfer(kTransferSend);
    EXPECT_TRUE(Called("z-send:0,7,13,0x840,0,0,0,0:"));
    EXPECT_TRUE(Called("z-recv-abort"));
    EXPECT_EQ(Transfer().lastError, -1);

    SetUp();
    Rec->AProtocol = kZmodem;
    libs.Script("z-recv", {5});  // not 12: the receive did not start
    RunTransfer(kTransferReceive);
    EXPECT_TRUE(Called("z-recv:1:30"));
    EXPECT_TRUE(Called("z-recv-abort"));
    EXPECT_EQ(host.panes[0], "Receive open error: ");
}

TEST_F(TransferDriver, KermitBlockCarriesLongPacketsAndAFailedSendTellsTheHost)
{
    Rec->AProtocol = kKermit;
    Rec->KermitParms.PacketLength = 500;
    Rec->KermitParms.Timeout = 10;
    Transfer().sendFiles = "missing.txt";
    libs.Script("k-send", {-1});
    RunTransfer(kTransferSend);
    ASSERT_EQ(libs.kermitBlock.size(), 66u);
    int32_t shortLength, longLength, timeout;
    std::memcpy(&shortLength, &libs.kermitBlock[25], 4);
    std::memcpy(&longLength, &libs.kermitBlock[43], 4);
    std::memcpy(&timeout, &libs.kermitBlock[29], 4);
    EXPECT_EQ(shortLength, 94);
    EXPECT_EQ(longLength, 500);
    EXPECT_EQ(timeout, 10);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&libs.kermitBlock[51]), 8), std::string("\x01$ GF4\r\0", 8));
    EXPECT_EQ(sink.sent, "\x01+!Aborting*\r");
    EXPECT_EQ(host.panes[0], "Send open error: missing.txt");
    EXPECT_EQ(host.messages, std::vector<std::string>{"0:Send open error: missing.txt"});
}

TEST_F(TransferDriver, AReceiveImposesTheLocalNameOnlyWhenOneIsGiven)
{
    Rec->AProtocol = kYmodem;
    libs.nameWanted = 1;
    libs.Script("xy-recv", {5});
    libs.Script("xy-recv-next", {5, 10});
    RunTransfer(kTransferReceive);
    EXPECT_TRUE(LibraryCalls("impose").empty());

    SetUp();
    Rec->AProtocol = kYmodem;
    libs.nameWanted = 1;
    Transfer().receiveFile = "local.bin";
    libs.Script("xy-recv", {5});
    libs.Script("xy-recv-next", {5, 10});
    RunTransfer(kTransferReceive);
    EXPECT_FALSE(LibraryCalls("impose:local.bin").empty());
}

TEST_F(TransferDriver, TheKermitPacketsOfTheDriverNeverReachTheScreenThroughLocalEcho)
{
    Rec->AProtocol = kKermit;
    Rec->LocalEcho = 1;
    Rec->Terminal = 7;
    EmulatedText().clear();
    RegisterInterpreter(EmulationFamily::Teletype, CaptureInterpreter);
    RunTransfer(kTransferFinishServer);
    libs.Script("k-send", {-1});
    RunTransfer(kTransferSend);
    RegisterInterpreter(EmulationFamily::Teletype, nullptr);
    EXPECT_EQ(sink.sent, std::string("\x01$ GF4\r") + "\x01+!Aborting*\r");
    EXPECT_EQ(EmulatedText(), "");
    EXPECT_EQ(host.statusHistory.front(), "Kermit Stopping Server");
    EXPECT_TRUE(Called("k-debug:"));
}

TEST_F(TransferDriver, PortCallbacksGoThroughTheDispatchAndAreQuietWithoutAView)
{
    Rec->AProtocol = kXmodem;
    libs.Script("xy-send", {1});
    libs.Script("xy-send-next", {1});
    RunTransfer(kTransferSend);
    ASSERT_NE(libs.callbacks.write, nullptr);
    Rec->TransferActive = 1;
    Rec->LocalEcho = 1;
    EXPECT_EQ(libs.callbacks.write(3, "abc", 3), 3);
    EXPECT_EQ(sink.sent, "abc");
    SetConnectionView(nullptr);
    EXPECT_EQ(libs.callbacks.write(3, "xyz", 3), 0);
    char buffer[4];
    EXPECT_EQ(libs.callbacks.read(3, buffer, 4), 0);
    EXPECT_EQ(sink.sent, "abc");
}

}  // namespace
