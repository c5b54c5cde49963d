// The automatic log-on and the capture file for real: the WinSock transport, the dispatch and the
// automation services against telnetd with a log-in script and a host of numbered lines, on
// 127.0.0.1, driven from the peer fixture's hidden host window, which receives WM_USER+102 as the
// terminal view does.
// run_logon_peer_tests.sh starts the peers and passes their ports in the environment.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "connections/auto_login.h"
#include "connections/automation_services.h"
#include "connections/automation_view.h"
#include "connections/capture_file.h"
#include "connections/connection_dispatch.h"
#include "connections/emulation_hooks.h"
#include "connections/telnet_rings.h"
#include "connections/variable_expander.h"
#include "peer_fixture.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "connections/win32/win32_pc_names.h"
#include "connections/win32/winsock_transport.h"

namespace {

// Blocks that reached the terminal while the screen was in the wrong state: frozen after the
// display-enable text, or shown before it.
int frozenWrong = 0;
bool watchFrozen = false;

void TerminalHook(ViewWindow, const uint8_t* bytes, int n, SettingsRecord& rec) {
    received.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    if (!watchFrozen) return;
    bool enabled = received.find("\x1b[y") != std::string::npos;
    if (rec.ScreenFrozen != (enabled ? 0 : 1)) ++frozenWrong;
}

class DocumentStrings : public AutomationView {
public:
    const char* DocumentString(const char* member) override {
        auto found = strings.find(member);
        return found != strings.end() ? found->second.c_str() : AutomationView::DocumentString(member);
    }
    std::map<std::string, std::string> strings;
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The number after "key=" in the report line, or -1.
int ReportNumber(const std::string& report, const std::string& key) {
    std::size_t at = report.find(" " + key + "=");
    return at == std::string::npos ? -1 : std::atoi(report.c_str() + at + key.size() + 2);
}

class LogonPeerTest : public PeerTest {
protected:
    void SetUp() override {
        PeerTest::SetUp();
        SetSessionServices(&services);
        SetAutomationView(&document);
        SetPcNames(&names);
        SetIdentityTables(SessionTranslateTables);
        Rec->TelnetPort = 23;
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        Rec->NAWSX = -1;
        Rec->NAWSY = -1;
        Rec->ComType = 2;
        Rec->Terminal = 7;
        Rec->AutoLoginCR = 1;
        Rec->AutoCRDelay = 300;
        std::strcpy(Rec->EnableDisplay, "<esc>[y");
        AllocTelnetRings();
        InstallWinsockTransport();
        RegisterInterpreter(EmulationFamily::Teletype, TerminalHook);
        frozenWrong = 0;
        watchFrozen = false;
    }
    void TearDown() override {
        if (Rec->CaptureRunning) CloseCapture();
        if (Rec->Connected || Rec->Connecting) DisconnectCommand(nullptr);
        ShutdownTransport();
        SetSessionServices(nullptr);
        SetAutomationView(nullptr);
        SetPcNames(nullptr);
        PeerTest::TearDown();
    }

    static std::string SystemUserName() {
        char name[257] = "";
        DWORD size = sizeof(name);
        GetUserNameA(name, &size);
        return name;
    }

    AutomationServices services;
    DocumentStrings document;
    Win32PcNames names;
};

TEST_F(LogonPeerTest, NamesComeFromTheSystem) {
    char machine[16] = "";
    DWORD size = sizeof(machine);
    ASSERT_TRUE(GetComputerNameA(machine, &size));
    std::string user = SystemUserName();
    ASSERT_FALSE(user.empty());
    char expanded[128];
    ExpandVariables("%PLUSER%@%PLMACH% %pluser%@%plmach%", expanded, sizeof(expanded));
    EXPECT_EQ(std::string(expanded), user + "@" + machine + " " + Lower(user) + "@" + Lower(machine));
}

// Connect with the default prompt/reply pairs and a blank screen: telnetd's log-in script gets
// the PC user's name and the password, each followed by CR after the configured delay, and no
// block reaches the terminal unblanked before the display-enable text.
TEST_F(LogonPeerTest, LogsOnByItselfBehindABlankScreen) {
    int port = EnvPort("TOLVI_LOGIN_PORT");
    ASSERT_NE(port, 0);
    Rec->AutoLogin = 1;
    Rec->BlankAutoLogin = 1;
    document.strings["AutoUser2"] = "Pa55%%w<6f>rd";
    watchFrozen = true;
    ASSERT_TRUE(ConnectTelnet(port));
    EXPECT_EQ(Rec->ScreenFrozen, 1);
    EXPECT_TRUE(PumpUntil([] { return received.find("END-OF-SESSION") != std::string::npos; }, 30000))
        << received;
    std::size_t at = received.find("REPORT ");
    ASSERT_NE(at, std::string::npos) << received;
    std::string report = received.substr(at, received.find('\r', at) - at);
    std::printf("%s\n", report.c_str());
    EXPECT_NE(report.find("user=[" + Lower(SystemUserName()) + "]"), std::string::npos) << report;
    EXPECT_NE(report.find("pass=[Pa55%word]"), std::string::npos) << report;
    // The CR follows each reply after AutoCRDelay; the reply itself comes at once.
    EXPECT_GE(ReportNumber(report, "usercr"), 250) << report;
    EXPECT_LT(ReportNumber(report, "usercr"), 2000) << report;
    EXPECT_GE(ReportNumber(report, "passcr"), 250) << report;
    EXPECT_LT(ReportNumber(report, "userwait"), 2000) << report;
    EXPECT_EQ(AutoLoginPair, 0);
    EXPECT_EQ(Rec->ScreenFrozen, 0);
    EXPECT_EQ(frozenWrong, 0);
    PumpUntil([] { return !Rec->Connected; }, 10000);
}

TEST_F(LogonPeerTest, WithoutTheCrSettingTheHostWaitsForTheLine) {
    int port = EnvPort("TOLVI_LOGIN2_PORT");
    ASSERT_NE(port, 0);
    Rec->AutoLogin = 1;
    Rec->AutoLoginCR = 0;
    document.strings["AutoUser1"] = "guest<cr>";  // the reply brings its own line end
    document.strings["AutoUser2"] = "x";
    ASSERT_TRUE(ConnectTelnet(port));
    EXPECT_TRUE(PumpUntil([] { return received.find("Password: ") != std::string::npos; }, 15000))
        << received;
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(received.find("REPORT"), std::string::npos);  // "x" alone ends no line
    EXPECT_EQ(AutoLoginPair, 0);
    uint8_t cr = '\r';
    SendToHost(nullptr, &cr, 1);
    EXPECT_TRUE(PumpUntil([] { return received.find("END-OF-SESSION") != std::string::npos; }, 15000));
    EXPECT_NE(received.find("REPORT user=[guest]"), std::string::npos) << received;
    EXPECT_NE(received.find("pass=[x]"), std::string::npos) << received;
    PumpUntil([] { return !Rec->Connected; }, 10000);
}

// The host sends its 3000 lines in a few seconds; on a busy machine they take much longer, and
// every wait for them is for an event, so the limit is only a safety net.
constexpr int kHostLinesMs = 120000;

// The capture switched on and off twice while numbered lines flow: each time the file holds
// exactly what the terminal received in between (the host's lines end in CR LF, as the text
// file's do).
TEST_F(LogonPeerTest, CaptureHoldsExactlyWhatWasReceivedWhileOn) {
    int port = EnvPort("TOLVI_LINES_PORT");
    ASSERT_NE(port, 0);
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string path = std::string(temp) + "tolvi.cap";
    DeleteFileA(path.c_str());
    document.strings["CaptureFile"] = path;
    Rec->CaptureToFile = 1;
    ASSERT_TRUE(ConnectTelnet(port));
    const std::size_t line = std::strlen("line 00000 of the host output\r\n");
    for (int round = 0; round < 2; ++round) {
        std::size_t wait = received.size() + 100 * line;
        ASSERT_TRUE(PumpUntil([&] { return received.size() >= wait; }, kHostLinesMs)) << round;
        CaptureToFileCommand(nullptr);
        ASSERT_EQ(Rec->CaptureRunning, 1);
        std::size_t on = received.size();
        wait = on + 500 * line + 17;
        ASSERT_TRUE(PumpUntil([&] { return received.size() >= wait; }, kHostLinesMs)) << round;
        CaptureToFileCommand(nullptr);
        ASSERT_EQ(Rec->CaptureRunning, 0);
        std::string expected = received.substr(on);
        std::string captured = ReadWholeFile(path, "<missing>");
        EXPECT_EQ(captured.size(), expected.size()) << round;
        EXPECT_TRUE(captured == expected) << round;
    }
    EXPECT_TRUE(PumpUntil([] { return !Rec->Connected; }, kHostLinesMs));
    EXPECT_NE(received.find("line 02999 of the host output\r\n"), std::string::npos);
    EXPECT_TRUE(platform.messages.empty());
    DeleteFileA(path.c_str());
}

}  // namespace
