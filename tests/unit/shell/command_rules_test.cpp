// The document commands' rules over the record, One More's command line, the way File transfer
// goes and the file-transfer program's folder.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fake_prompts.h"
#include "session/session_record.h"
#include "shell/command_rules.h"
#include "shell/session_commands.h"
#include "shell/view_commands.h"

namespace {

std::unique_ptr<SettingsRecord> OpenRecord()
{
    auto rec = std::make_unique<SettingsRecord>();
    rec->AllowCfg = rec->AllowReadCfg = rec->AllowWriteCfg = rec->AllowDOS = 1;
    rec->MaxInstance = 1;
    return rec;
}

CommandRule Rule(int id, const SettingsRecord& rec, const DocumentCommandState& state = {})
{
    CommandRule ui;
    EXPECT_TRUE(DocumentCommandUpdate(id, rec, state, ui)) << id;
    return ui;
}

struct LockedCommand {
    int id;
    int32_t SettingsRecord::*lock;
    int32_t SettingsRecord::*check;  // null: never a check mark
};

const LockedCommand kLocked[] = {
    {kCmdAutoLogin, &SettingsRecord::LockAutoLogin, &SettingsRecord::AutoLogin},
    {kCmdPhoneNumber, &SettingsRecord::LockPhone, &SettingsRecord::DialEnable},
    {kCmdModemType, &SettingsRecord::LockModem, &SettingsRecord::ModemEnable},
    {kCmdUnixEnv, &SettingsRecord::LockEnv, &SettingsRecord::UnixEnvEnable},
    {kCmdFileTransferCommand, &SettingsRecord::LockFtp, &SettingsRecord::FtpEnable},
    {kCmdGeneralSettings, &SettingsRecord::LockGeneral, nullptr},
    {kCmdTerminalEmulation, &SettingsRecord::LockTerminal, nullptr},
    {kCmdPrefsMultimedia, &SettingsRecord::LockTerminal, nullptr},
    {kCmdColors, &SettingsRecord::LockColors, nullptr},
    {kCmdBoxes, &SettingsRecord::LockBoxes, nullptr},
    {kCmdKeyboardMap, &SettingsRecord::LockKeyboard, nullptr},
    {kCmdResetToDefault, &SettingsRecord::LockRuntimeReset, nullptr},
    {kCmdPrefsFiles, &SettingsRecord::LockFiles, nullptr},
    {kCmdPrefsView, &SettingsRecord::LockView, nullptr},
    {kCmdPrefsMouse, &SettingsRecord::LockMouse, nullptr},
    {kCmdPrefsTerminalPrinters, &SettingsRecord::LockTerminalPrinters, nullptr},
    {kCmdPrefsDde, &SettingsRecord::LockDDE, nullptr},
    {kCmdDynamicHotspots, &SettingsRecord::LockDynamicButtons, nullptr},
    {kCmdFontCurrent, &SettingsRecord::LockFont, nullptr},
    {kCmdFont132, &SettingsRecord::LockFont, nullptr},
    {kCmdFont80, &SettingsRecord::LockFont, nullptr},
    {kCmdXferGeneral, &SettingsRecord::LockAsyncFileTransfer, nullptr},
    {kCmdXferKermit, &SettingsRecord::LockKermit, nullptr},
    {kCmdXferXYModem, &SettingsRecord::LockXYModem, nullptr},
    {kCmdXferZModem, &SettingsRecord::LockZModem, nullptr},
};

TEST(DocumentCommandRules, EverySettingsCommandFollowsAllowCfgItsOwnLockAndItsCheck)
{
    for (const LockedCommand& c : kLocked) {
        auto rec = OpenRecord();
        EXPECT_TRUE(Rule(c.id, *rec).enabled) << c.id;
        EXPECT_EQ(Rule(c.id, *rec).checked, c.check ? 0 : -1) << c.id;
        if (c.check) {
            (*rec).*c.check = 1;
            EXPECT_EQ(Rule(c.id, *rec).checked, 1) << c.id;
        }
        (*rec).*c.lock = 1;
        EXPECT_FALSE(Rule(c.id, *rec).enabled) << c.id;
        // Another command's lock leaves this one alone.
        auto other = OpenRecord();
        for (const LockedCommand& d : kLocked)
            if (d.lock != c.lock) (*other).*d.lock = 1;
        EXPECT_TRUE(Rule(c.id, *other).enabled) << c.id;
        // With AllowCfg off every page is closed, whatever its lock says.
        other->AllowCfg = 0;
        (*other).*c.lock = 0;
        EXPECT_FALSE(Rule(c.id, *other).enabled) << c.id;
    }
}

TEST(DocumentCommandRules, FilesLockSettingsAndSessionCommands)
{
    auto rec = OpenRecord();
    // Saving follows AllowWriteCfg.
    EXPECT_TRUE(Rule(kCmdSaveConfig, *rec).enabled);
    EXPECT_TRUE(Rule(kCmdSaveConfigAs, *rec).enabled);
    rec->AllowWriteCfg = 0;
    EXPECT_FALSE(Rule(kCmdSaveConfig, *rec).enabled);
    EXPECT_FALSE(Rule(kCmdSaveConfigAs, *rec).enabled);

    // Loading: Load config and the recent files, which also need their entry.
    EXPECT_TRUE(Rule(kCmdLoadConfig, *rec).enabled);
    DocumentCommandState noEntry;
    noEntry.recentEntry = false;
    for (int id = kCmdRecentFirst; id <= kCmdRecentLast; ++id) {
        EXPECT_TRUE(Rule(id, *rec).enabled) << id;
        EXPECT_FALSE(Rule(id, *rec, noEntry).enabled) << id;
    }
    rec->AllowReadCfg = 0;
    EXPECT_FALSE(Rule(kCmdLoadConfig, *rec).enabled);
    for (int id = kCmdRecentFirst; id <= kCmdRecentLast; ++id) EXPECT_FALSE(Rule(id, *rec).enabled) << id;

    // Lock settings stays the way back into a locked configuration.
    rec->AllowCfg = 0;
    EXPECT_TRUE(Rule(kCmdLockSettings, *rec).enabled);

    // The defaults may not replace the settings of a live connection.
    EXPECT_TRUE(Rule(kCmdNewDefaults, *rec).enabled);
    rec->Connected = 1;
    EXPECT_FALSE(Rule(kCmdNewDefaults, *rec).enabled);

    // File transfer follows FtpEnable; Record Comm is always there, checked while recording.
    rec->FtpEnable = 1;
    EXPECT_TRUE(Rule(kCmdFileTransfer, *rec).enabled);
    rec->FtpEnable = 0;
    EXPECT_FALSE(Rule(kCmdFileTransfer, *rec).enabled);
    EXPECT_EQ(Rule(kCmdRecordComm, *rec).checked, 0);
    rec->Recording = 1;
    EXPECT_EQ(Rule(kCmdRecordComm, *rec).checked, 1);
    EXPECT_TRUE(Rule(kCmdRecordComm, *rec).enabled);
    EXPECT_TRUE(Rule(kCmdProgrammersGuide, *rec).enabled);
    EXPECT_TRUE(Rule(kCmdReleaseNotes, *rec).enabled);
}

TEST(DocumentCommandRules, OneMoreStopsAtTheInstanceLimitOnlyInSingleInstanceMode)
{
    struct Case {
        int single, maxInstance, instances;
        bool enabled;
    };
    const Case cases[] = {
        {0, 1, 5, true}, {1, 1, 1, false}, {1, 2, 1, true}, {1, 2, 2, false}, {1, 2, 3, false}, {1, 0, 1, false},
    };
    for (const Case& c : cases) {
        auto rec = OpenRecord();
        rec->SingleInstance = c.single;
        rec->MaxInstance = c.maxInstance;
        DocumentCommandState state;
        state.instances = c.instances;
        EXPECT_EQ(Rule(kCmdOneMoreSession, *rec, state).enabled, c.enabled)
            << c.single << ' ' << c.maxInstance << ' ' << c.instances;
    }
}

TEST(DocumentCommandRules, EachCommandHasOneRuleAndOthersNone)
{
    std::set<int> ids;
    for (std::size_t i = 0; i < kDocumentCommandRuleCount; ++i)
        EXPECT_TRUE(ids.insert(kDocumentCommandRules[i].id).second) << kDocumentCommandRules[i].id;
    CommandRule ui;
    auto rec = OpenRecord();
    EXPECT_FALSE(DocumentCommandUpdate(32778, *rec, {}, ui));  // the Dos Box is the view's
    EXPECT_FALSE(DocumentCommandUpdate(0, *rec, {}, ui));
}

TEST(DocumentCommandRules, TheViewsFontCommandsFollowTheFontLock)
{
    auto rec = OpenRecord();
    for (int id : {kViewFontCurrent, kViewFont132, kViewFont80}) {
        ViewCommandUI ui;
        rec->LockFont = 0;
        rec->AllowCfg = 1;
        ASSERT_TRUE(ViewCommandUpdate(id, *rec, {}, ui));
        EXPECT_TRUE(ui.enabled) << id;
        rec->LockFont = 1;
        ViewCommandUpdate(id, *rec, {}, ui);
        EXPECT_FALSE(ui.enabled) << id;
        rec->LockFont = 0;
        rec->AllowCfg = 0;
        ViewCommandUpdate(id, *rec, {}, ui);
        EXPECT_FALSE(ui.enabled) << id;
    }
}

// ---- One More.

std::string Line(const std::string& title, std::vector<std::string> tokens, const std::string& program = "C:\\bin\\Tolvi.exe")
{
    std::vector<char*> pointers;
    for (std::string& t : tokens) pointers.push_back(&t[0]);
    return OneMoreCommandLine(program, "C:\\cfg\\site.wcf", title, static_cast<int>(pointers.size()), pointers.data());
}

TEST(OneMoreCommandLine, PassesOptionsButNotTheTitleOrTheConfiguration)
{
    EXPECT_EQ(Line("", {}), "C:\\bin\\Tolvi.exe C:\\cfg\\site.wcf");
    EXPECT_EQ(Line("My  host", {"site", "/ip:10.0.0.5", "/c"}), "C:\\bin\\Tolvi.exe C:\\cfg\\site.wcf /t:\"My  host\" /ip:10.0.0.5 /c");
    // The title option, in any case and with either prefix, is not repeated.
    EXPECT_EQ(Line("new", {"site", "/t:\"old one\"", "/T:OLD", "-t:x", "/tport:2323"}),
              "C:\\bin\\Tolvi.exe C:\\cfg\\site.wcf /t:\"new\" /tport:2323");
    // A '-' option goes on with '/', so that the new session's split keeps it apart.
    EXPECT_EQ(Line("", {"-term:vt100"}), "C:\\bin\\Tolvi.exe C:\\cfg\\site.wcf /term:vt100");
    // An empty token ends the list.
    EXPECT_EQ(Line("", {"/c", "", "/ip:x"}), "C:\\bin\\Tolvi.exe C:\\cfg\\site.wcf /c");
    // A program folder with blanks.
    EXPECT_EQ(Line("", {}, "C:\\Program Files\\Tolvi.exe"), "\"C:\\Program Files\\Tolvi.exe\" C:\\cfg\\site.wcf");
}

// ---- File transfer.

TEST(FileTransferWay, ProtocolTransferOnSerialOrWhenAskedFor)
{
    struct Case {
        int xferType, comType;
        FileTransferWay way;
    };
    const Case cases[] = {
        {0, 0, FileTransferWay::kProtocolTransfer}, {0, 1, FileTransferWay::kProgram},
        {0, 2, FileTransferWay::kProgram},          {1, 0, FileTransferWay::kProgram},
        {1, 2, FileTransferWay::kProgram},          {2, 0, FileTransferWay::kProtocolTransfer},
        {2, 2, FileTransferWay::kProtocolTransfer},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseFileTransferWay(c.xferType, c.comType), c.way) << c.xferType << c.comType;
}

class FakeFolders : public ProgramFolderOps {
public:
    bool CurrentFolder(std::string& folder, int& error) override
    {
        if (readError) {
            error = readError;
            return false;
        }
        folder = current;
        return true;
    }
    bool ChangeFolder(const std::string& folder) override
    {
        if (folder == missing) return false;
        current = folder;
        return true;
    }
    int Start(const std::string& commandLine) override
    {
        started.push_back(commandLine + " in " + current);
        return result;
    }
    std::string current = "C:\\a\\very\\deep\\folder\\" + std::string(200, 'd');
    std::string missing = "C:\\gone";
    int readError = 0;
    int result = 33;
    std::vector<std::string> started;
};

TEST(FileTransferProgram, RunsInItsFolderAndComesBack)
{
    FakePrompts prompts;
    SetPrompts(&prompts);
    FakeFolders ops;
    const std::string before = ops.current;
    EXPECT_EQ(RunFileTransferProgram(ops, "ftp.exe host", "C:\\ftp"), 33);
    ASSERT_EQ(ops.started.size(), 1u);
    EXPECT_EQ(ops.started[0], "ftp.exe host in C:\\ftp");
    EXPECT_EQ(ops.current, before);  // a folder deeper than 100 characters is read and restored
    EXPECT_TRUE(prompts.asked.empty());

    // No folder: started where it is.
    EXPECT_EQ(RunFileTransferProgram(ops, "ftp.exe", ""), 33);
    EXPECT_EQ(ops.started.back(), "ftp.exe in " + before);

    // A failed start is reported, and the folder still comes back.
    ops.result = 2;
    EXPECT_EQ(RunFileTransferProgram(ops, "nothere.exe", "C:\\ftp"), 2);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "WinExec() error 2 running: nothere.exe");
    EXPECT_EQ(prompts.asked[0].style & kMsgIconStop, kMsgIconStop);
    EXPECT_EQ(ops.current, before);
    SetPrompts(nullptr);
}

TEST(FileTransferProgram, AFolderThatCannotBeEnteredOrReadStartsNothing)
{
    FakePrompts prompts;
    SetPrompts(&prompts);
    FakeFolders ops;
    const std::string before = ops.current;
    EXPECT_EQ(RunFileTransferProgram(ops, "ftp.exe", "C:\\gone"), -1);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].id, 82);
    EXPECT_EQ(prompts.asked[0].text, "Working directory not found: C:\\gone");
    EXPECT_EQ(ops.current, before);

    ops.readError = 13;
    EXPECT_EQ(RunFileTransferProgram(ops, "ftp.exe", "C:\\ftp"), -1);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].text, "_getdcwd error: 13");
    EXPECT_TRUE(ops.started.empty());
    EXPECT_EQ(ops.current, before);
    SetPrompts(nullptr);
}

}  // namespace
