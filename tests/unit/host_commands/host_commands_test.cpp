// Host commands: the direct CSI n ; p y commands, the string commands, the version report, the
// ShellExecute split, the button-name wildcard and the script, title and capture-file commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/host_commands/command_helpers.h"
#include "engine/host_commands/host_commands.h"
#include "engine/host_commands/host_print.h"
#include "engine/screen_planes.h"
#include "host_command_fakes.h"
#include "session/program_gate.h"
#include "session/session_record.h"

namespace {

using Log = std::vector<std::string>;
const ViewWindow kWindow = nullptr;

class HostCommandTest : public ::testing::Test {
protected:
    // CSI params y: the parameters as the interpreter parsed them.
    void Csi(std::vector<int> params)
    {
        DirtyRect dirty = kEmptyDirtyRect;
        HostCommand(kWindow, *Rec, static_cast<int>(params.size()), params.data(), dirty);
    }
    // The string command that CSI params y opened, ended with the text.
    int String(std::vector<int> params, const char* text)
    {
        Csi(params);
        return DoPrivateCommand(kWindow, Rec->StringCommandNumber, static_cast<int>(params.size()) - 1,
                                params.data() + 1, text);
    }

    HostFakes fakes;
};

TEST_F(HostCommandTest, WindowCommandsTakeTheirSecondParameter)
{
    const struct {
        std::vector<int> params;
        Log calls;
    } cases[] = {
        {{14}, {"SetFullScreen 1"}},
        {{14, 1}, {"SetFullScreen 1"}},
        {{14, 0}, {"SetFullScreen 0"}},
        {{15, 0}, {"ShowCaption 0"}},
        {{15}, {"ShowCaption 1"}},
        {{16, 0}, {"ToggleMenuBar"}},
        {{17, 2}, {"ShowFrameControlBar 0 59392"}},
        {{18}, {"ShowFrameControlBar 1 59393"}},
        {{19, 0}, {"ShowSystemMenu 0"}},
        {{20, 1}, {"ShowMinMaxBoxes 1"}},
        {{21}, {"SendFrameSysCommand 61488"}},      // SC_MAXIMIZE
        {{21, 32}, {"SendFrameSysCommand 61472"}},  // 0xF020: minimise
        {{25}, {"ShowMainWindow 5"}},
        {{25, 6}, {"ShowMainWindow 6"}},
        {{11}, {}},
        {{33}, {}},
        {{70}, {}},
    };
    for (const auto& c : cases) {
        HostLog().clear();
        Csi(c.params);
        EXPECT_EQ(HostLog(), c.calls) << "CSI " << c.params[0];
        EXPECT_EQ(Rec->StringCommandNumber, 0) << "CSI " << c.params[0];
    }
}

TEST_F(HostCommandTest, StateCommandsSetTheRecord)
{
    Csi({12});
    EXPECT_EQ(Rec->ScreenFrozen, 1);
    Csi({0});
    EXPECT_EQ(Rec->ScreenFrozen, 0);
    Csi({5});
    EXPECT_EQ(Rec->UseHostColor, 1);
    Csi({6});
    EXPECT_EQ(Rec->UseHostColor, 0);
    Csi({27, 0});
    EXPECT_EQ(Rec->EnableSendMousePos, 0);
    Csi({27});
    EXPECT_EQ(Rec->EnableSendMousePos, 1);
    Csi({32, 1});
    EXPECT_EQ(Rec->PrintToScreenNow, 1);
    Csi({32});
    EXPECT_EQ(Rec->PrintToScreenNow, 0);
}

TEST_F(HostCommandTest, StringCommandsOpenWithTheirShowMode)
{
    for (int n : {1, 2, 3, 4, 7, 8, 9, 10, 13, 22, 26, 28, 29, 30, 31}) {
        Rec->StringCommandLength = 9;
        Csi({n});
        EXPECT_EQ(Rec->StringCommandNumber, n);
        EXPECT_EQ(Rec->StringCommandShowMode, 5) << n;
        EXPECT_EQ(Rec->StringCommandLength, 0) << n;
    }
    Csi({1, 3});
    EXPECT_EQ(Rec->StringCommandShowMode, 3);
    // CSI 24 y opens command 38, whose text starts at buffer position 2.
    Csi({24});
    EXPECT_EQ(Rec->StringCommandNumber, 38);
    EXPECT_EQ(Rec->StringCommandLength, 2);
}

TEST_F(HostCommandTest, VersionReportIsByteExact)
{
    fakes.system.version = 0x1DB10106;  // 6.1, build bytes 0x1D 0xB1
    const struct {
        std::vector<int> params;
        const char* reply;
    } cases[] = {
        {{23, 1}, "456\r"},
        {{23, 2}, "4.5.6.3\r"},
        {{23}, "6.1 29.177 Win32\r"},
        {{23, 7}, "6.1 29.177 Win32\r"},
    };
    for (const auto& c : cases) {
        fakes.host.sent.clear();
        Csi(c.params);
        EXPECT_EQ(fakes.host.sent, c.reply);
    }
}

TEST_F(HostCommandTest, ProgramsStartWithTheShowModeAndFailuresAreShown)
{
    String({1, 3}, "notepad");
    String({2}, "calc");
    EXPECT_EQ(HostLog(), (Log{"WinExec 3 notepad", "WinExec 5 calc"}));
    EXPECT_TRUE(fakes.platform.messages.empty());

    fakes.system.winExecResult = 2;
    String({3}, "missing");
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].text, "WinExec \"missing\" failed; error code = 2");

    // The administrator's switches refuse programs quietly, as a failed start that shows nothing.
    const struct {
        int allowDos;
        int lockDosBox;
    } refused[] = {{0, 0}, {1, 1}, {0, 1}};
    for (const auto& r : refused) {
        Rec->AllowDOS = r.allowDos;
        Rec->LockDosBox = r.lockDosBox;
        HostLog().clear();
        fakes.platform.messages.clear();
        Csi({1});
        EXPECT_EQ(DoPrivateCommand(kWindow, 1, 0, nullptr, "cmd.exe /c del x"), 0);
        EXPECT_EQ(WinExecCommand("cmd.exe", 5), kProgramStartRefused);
        EXPECT_TRUE(HostLog().empty()) << r.allowDos << r.lockDosBox;
        EXPECT_TRUE(fakes.platform.messages.empty()) << r.allowDos << r.lockDosBox;
    }
    Rec->AllowDOS = 1;
    Rec->LockDosBox = 0;

    HostLog().clear();
    String({30, 3}, "doc.txt;print;/x;c:\\tmp");
    EXPECT_EQ(HostLog(), (Log{"ShellExecute 3 doc.txt|print|/x|c:\\tmp"}));
    fakes.system.shellExecuteResult = 32;
    String({30}, "x");
    EXPECT_EQ(fakes.platform.messages.back().text, "ShellExecute() error: 32");
}

TEST_F(HostCommandTest, ShellExecuteTextSplitsIntoFourItems)
{
    const struct {
        const char* text;
        int present;
        std::vector<std::string> items;
    } cases[] = {
        {"file", 1, {"file"}},
        {"file;open", 2, {"file", "open"}},
        {"file;;a b", 3, {"file", "", "a b"}},
        {"f;v;p;d", 4, {"f", "v", "p", "d"}},
        {"f;v;p;d;e;f", 4, {"f", "v", "p", "d;e;f"}},
        {"", 1, {""}},
    };
    for (const auto& c : cases) {
        const ShellExecuteItems items = SplitShellExecuteText(c.text);
        EXPECT_EQ(items.present, c.present) << c.text;
        for (int i = 0; i < 4; ++i) {
            if (i < c.present)
                EXPECT_STREQ(items.Get(i), c.items[i].c_str()) << c.text << " item " << i;
            else
                EXPECT_EQ(items.Get(i), nullptr) << c.text << " item " << i;
        }
    }
}

TEST_F(HostCommandTest, ButtonNamePatterns)
{
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"btn*", "btn1", true},   {"btn*", "btn", true},    {"btn*", "b", false},  {"btn*", "bxn1", false},
        {"b?n*", "bxn2", true},   {"b?n", "b", false},      {"b", "b", true},      {"b", "bcd", true},
        {"*", "", true},          {"x*", "", false},        {"ab", "ac", false},   {"a?", "ab", true},
    };
    for (const auto& c : cases) EXPECT_EQ(ButtonNameMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST_F(HostCommandTest, DeletingButtonsByNameAndById)
{
    Answers().buttonNames = {"b", "btn1", "btn2", "other"};
    String({8}, "btn*");
    EXPECT_EQ(Answers().buttonNames, (std::vector<std::string>{"b", "other"}));
    String({8}, "b");
    EXPECT_EQ(Answers().buttonNames, (std::vector<std::string>{"other"}));
    String({8}, "nothing");
    EXPECT_EQ(Answers().buttonNames, (std::vector<std::string>{"other"}));

    Answers().buttonNames = {"a", "h1", "h2"};
    Answers().buttonHotspotFlags = {{"h1", 1}, {"h2", 1}};
    DeleteDynButtonsById(1);
    EXPECT_EQ(Answers().buttonNames, (std::vector<std::string>{"a"}));
}

TEST_F(HostCommandTest, ButtonsScriptsHotScreenAndKeyActionsGoToTheirOwners)
{
    String({7, 2, 3}, "name;text");
    String({26}, "rules.hot");
    String({31}, "%menu%");
    String({10}, "ignored");
    EXPECT_EQ(HostLog(), (Log{"CreateDynButton 2 3 name;text 0", "HotScreenReload rules.hot", "RunActionString %menu% 0"}));
}

TEST_F(HostCommandTest, ScriptReplayUsesTheTraceFileAndReportsFailures)
{
    Answers().documentStrings["TraceFile"] = "session.trc";
    EXPECT_EQ(PlayScriptCommand(kWindow, nullptr, 0, ""), 1);
    EXPECT_EQ(HostLog(), (Log{"OpenPlayFile session.trc 0", "SetViewTimer 2022 1"}));

    Answers().openPlayFileResult = 0;
    EXPECT_EQ(PlayScriptCommand(kWindow, nullptr, 0, "x.trc"), 0);
    EXPECT_EQ(fakes.platform.messages.back().id, 45);
    EXPECT_EQ(fakes.platform.messages.back().text, "Failed to play file: x.trc");

    Answers().openPlayFileResult = 1;
    fakes.system.timersAvailable = false;
    HostLog().clear();
    EXPECT_EQ(PlayScriptCommand(kWindow, nullptr, 0, "x.trc"), 0);
    EXPECT_EQ(HostLog().back(), "CloseAllPlayFiles");
    EXPECT_EQ(fakes.platform.messages.back().id, 72);

    fakes.system.hasView = false;
    HostLog().clear();
    EXPECT_EQ(PlayScriptCommand(kWindow, nullptr, 0, "x.trc"), 0);
    EXPECT_TRUE(HostLog().empty());
}

TEST_F(HostCommandTest, AclCommandSkipsTheFirstTwoPositionsAndPassesItsResult)
{
    Csi({24});
    EXPECT_EQ(DoPrivateCommand(kWindow, 38, 0, nullptr, "\x1b[RECEIVE a.txt"), 0);
    Answers().aclResult = 1;
    EXPECT_EQ(DoPrivateCommand(kWindow, 38, 0, nullptr, "xxSEND b.txt"), 1);
    EXPECT_EQ(HostLog(), (Log{"ExecuteAclCommand RECEIVE a.txt", "ExecuteAclCommand SEND b.txt"}));
    fakes.system.hasView = false;
    EXPECT_EQ(DoPrivateCommand(kWindow, 38, 0, nullptr, "xxSEND b.txt"), 0);
}

TEST_F(HostCommandTest, TitleTurnsControlsIntoBlanksAndTakesAnyLength)
{
    Rec->Charset = 3;
    const std::string longTitle(600, 'T');
    String({22}, ("a\tb\x01" "c" + longTitle).c_str());
    EXPECT_EQ(TitleText, "a b c" + longTitle);
    EXPECT_EQ(HostLog().back(), "RefreshDocumentTitle");
}

TEST_F(HostCommandTest, MouseStringsAndTheirSecondParameter)
{
    Rec->EnableSendMousePos = 1;
    String({28}, "<CR>");
    EXPECT_EQ(Answers().documentStrings["MouseClick"], "<CR>");
    EXPECT_EQ(Rec->EnableSendMousePos, 1);
    String({29, 0}, "dbl");
    EXPECT_EQ(Answers().documentStrings["MouseDoubleClick"], "dbl");
    EXPECT_EQ(Rec->EnableSendMousePos, 0);
    String({28, 1}, "x");
    EXPECT_EQ(Rec->EnableSendMousePos, 1);
}

TEST_F(HostCommandTest, CaptureFileNameIsUsedByMediaCopyThree)
{
    const std::string file = ::testing::TempDir() + "host_capture.txt";
    std::remove(file.c_str());
    String({13}, file.c_str());
    EXPECT_EQ(CaptureFileName(), file);
    ASSERT_EQ(StartCaptureFile("wb+"), 0);
    EXPECT_EQ(Rec->HostPrintActive, kPrintingToFile);
    PrintData(reinterpret_cast<const uint8_t*>("cap"), 3);
    EXPECT_EQ(EndPrint(0), 1);
    std::FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, f), 3u);
    std::fclose(f);
    EXPECT_STREQ(buffer, "cap");
    std::remove(file.c_str());

    String({13}, "/no/such/dir/x.cap");
    fakes.platform.messages.clear();
    const int error = StartCaptureFile("ab");
    EXPECT_NE(error, 0);
    EXPECT_EQ(Rec->HostPrintActive, 0);
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].id, 39);
    EXPECT_EQ(fakes.platform.messages[0].text,
              "Failed to open Terminal Printer: /no/such/dir/x.cap. Error " + std::to_string(error));
}

TEST_F(HostCommandTest, DiagnosticShowsTheProtectionPlane)
{
    Rec->MaxRows = 24;
    Rec->MaxCols = 80;
    Rec->CellWidth = 8;
    Rec->CellHeight = 16;
    ASSERT_EQ(AllocScreenBuffers(*Rec), 1);
    std::memset(Rec->FlagsScreen, 0x0A, 80 * 24);
    Rec->ProtectionPlane[0] = 1;
    Rec->ProtectionPlane[80 * 24 - 1] = 2;
    DirtyRect dirty = kEmptyDirtyRect;
    const int params[] = {69};
    HostCommand(kWindow, *Rec, 1, params, dirty);
    EXPECT_EQ(Rec->CharsScreen[0], '1');
    EXPECT_EQ(Rec->CharsScreen[1], '0');
    EXPECT_EQ(Rec->CharsScreen[80 * 24 - 1], '2');
    EXPECT_EQ(Rec->FlagsScreen[5], 0x02);
    EXPECT_EQ(dirty.left, 0);
    EXPECT_EQ(dirty.right, 80 * 8);
    EXPECT_EQ(dirty.bottom, 24 * 16);
    FreeScreenBuffers(*Rec);
}

TEST_F(HostCommandTest, NumbersWithoutStringCommandDoNothing)
{
    for (int n : {0, 5, 6, 10, 11, 12, 14, 21, 23, 25, 27, 32, 37, 39, 69, 100}) {
        EXPECT_EQ(DoPrivateCommand(kWindow, n, 0, nullptr, "text"), 0);
    }
    EXPECT_TRUE(HostLog().empty());
    EXPECT_TRUE(fakes.host.sent.empty());
}

}  // namespace
