// The small session dialogs' values: every field reaches its own setting, cut to what the setting
// holds; the environment table's line breaks part entries as blanks and survive a save and a
// reload of the configuration; the lock flags, "Lock all" and the password rules.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "dialogs/keyin_values.h"
#include "dialogs/lock_admin_values.h"
#include "dialogs/session_settings_values.h"
#include "fake_prompts.h"
#include "session/translate_tables.h"
#include "shell/config_file.h"
#include "shell/native_profile.h"
#include "shell/profile_store.h"
#include "shell/record_defaults.h"
#include "temp_folder.h"

namespace {

std::unique_ptr<SettingsRecord> Record()
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 'x', sizeof *rec);  // no NUL anywhere to begin with
    return rec;
}

TEST(AutoLoginValues, PairsFlagsAndDisplayTextRoundTripAndAreCut)
{
    auto rec = Record();
    DocumentStrings strings;
    AutoLoginValues v;
    for (int i = 0; i < kAutoLoginPairs; ++i) {
        v.waitFor[i] = "wait" + std::to_string(i);
        v.reply[i] = "reply" + std::to_string(i);
    }
    v.reply[2] = std::string(200, 'p');
    v.enable = 1, v.sendCr = 0, v.sendWakeup = 1, v.lockKeyboard = 0, v.blankScreen = 1;
    v.displayOn = std::string(300, 'd');
    StoreAutoLoginValues(v, *rec, strings);

    EXPECT_EQ(strings.AutoHost0, "wait0");
    EXPECT_EQ(strings.AutoHost6, "wait6");
    EXPECT_EQ(strings.AutoUser4, "reply4");
    EXPECT_EQ(strings.AutoUser2, std::string(128, 'p'));
    EXPECT_EQ(rec->AutoLogin, 1);
    EXPECT_EQ(rec->AutoLoginCR, 0);
    EXPECT_EQ(rec->SendWakeup, 1);
    EXPECT_EQ(rec->LockKbdAutoLogin, 0);
    EXPECT_EQ(rec->BlankAutoLogin, 1);
    EXPECT_EQ(std::string(rec->EnableDisplay), std::string(sizeof rec->EnableDisplay - 1, 'd'));

    const AutoLoginValues back = AutoLoginValuesFrom(*rec, strings);
    EXPECT_EQ(back.waitFor, v.waitFor);
    EXPECT_EQ(back.reply[2], std::string(128, 'p'));
    EXPECT_EQ(back.blankScreen, 1);
    EXPECT_EQ(back.displayOn.size(), sizeof rec->EnableDisplay - 1);
}

TEST(HostEnvValues, LineBreaksBecomeBlanksAndTheTextIsCut)
{
    const struct {
        std::string typed, stored;
    } cases[] = {
        {"TERM=%terminal%\r\nTOLVIVAR=hello", "TERM=%terminal% TOLVIVAR=hello"},
        {"A=1\nB=2\rC=3\r\n", "A=1 B=2 C=3 "},
        {"A=1\r\n\r\nB=2", "A=1  B=2"},
        {"plain", "plain"},
        {std::string(300, 'e'), std::string(255, 'e')},
    };
    for (const auto& c : cases) {
        auto rec = Record();
        StoreHostEnvValues({1, c.typed}, *rec);
        EXPECT_EQ(std::string(rec->UnixEnv), c.stored) << c.typed;
        EXPECT_EQ(rec->UnixEnvEnable, 1);
        EXPECT_EQ(HostEnvValuesFrom(*rec).table, c.stored);
    }
}

TEST(HostEnvValues, EveryEntrySurvivesSaveAndReload)
{
    NativeProfile profile;
    SetProfiles(&profile);
    FakePrompts prompts;
    ScopedPrompts scoped{prompts};
    TempFolder folder;
    auto rec = std::make_unique<SettingsRecord>();
    TranslateTables tables;
    SetRecordDefaults(*rec, true, false, nullptr, tables);
    DocumentStrings strings;
    ApplyDocumentStringDefaults(strings);
    StoreHostEnvValues({1, "TERM=%terminal%\r\nTOLVIVAR=hello\r\nLAST=x"}, *rec);

    const std::string file = folder.File("env.wcf");
    ASSERT_EQ(SerializeConfigFile(file.c_str(), true, *rec, strings), 1);
    const std::string text = TempFolder::Read(file);
    const std::string line = "UnixEnv=\"TERM=%terminal% TOLVIVAR=hello LAST=x\"";
    const std::size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_TRUE(text[at + line.size()] == '\r' || text[at + line.size()] == '\n');  // one whole line

    auto again = std::make_unique<SettingsRecord>();
    SetRecordDefaults(*again, true, false, nullptr, tables);
    DocumentStrings againStrings;
    ASSERT_EQ(SerializeConfigFile(file.c_str(), false, *again, againStrings), 1);
    EXPECT_STREQ(again->UnixEnv, "TERM=%terminal% TOLVIVAR=hello LAST=x");
    SetProfiles(nullptr);
}

TEST(FileTransferCmdValues, TextsAreCutAndNoChosenProtocolKeepsTheStoredOne)
{
    auto rec = Record();
    rec->XferType = 2;
    DocumentStrings strings;
    StoreFileTransferCmdValues({std::string(140, 'c'), "c:\\ftp", 1, -1}, *rec, strings);
    EXPECT_EQ(strings.FtpCommand, std::string(128, 'c'));
    EXPECT_EQ(strings.FtpDirectory, "c:\\ftp");
    EXPECT_EQ(rec->FtpEnable, 1);
    EXPECT_EQ(rec->XferType, 2);
    StoreFileTransferCmdValues({"ftp.exe", "", 0, 1}, *rec, strings);
    EXPECT_EQ(rec->XferType, 1);
    const FileTransferCmdValues back = FileTransferCmdValuesFrom(*rec, strings);
    EXPECT_EQ(back.command, "ftp.exe");
    EXPECT_EQ(back.enable, 0);
    EXPECT_EQ(back.protocol, 1);
}

TEST(MultimediaValues, RepliesAndWaitRoundTrip)
{
    auto rec = Record();
    StoreMultimediaValues({1, 0, 1, 1, 30u}, *rec);
    EXPECT_EQ(rec->MciErrorReply, 1);
    EXPECT_EQ(rec->MciOkReply, 0);
    EXPECT_EQ(rec->MciDataReply, 1);
    EXPECT_EQ(rec->MciShowError, 1);
    EXPECT_EQ(rec->MciWaitIfBusy, 30);
    StoreMultimediaValues({0, 0, 0, 0, 4000000000u}, *rec);
    EXPECT_EQ(rec->MciWaitIfBusy, INT32_MAX);
    rec->MciWaitIfBusy = -5;  // from a file: shown as 0
    EXPECT_EQ(MultimediaValuesFrom(*rec).waitIfBusy, 0u);
}

TEST(LockAdminValues, FlagsFollowTheRecordOrderAndTheTwoInverseFlags)
{
    auto rec = Record();
    int32_t* locks = &rec->LockGeneral;
    for (int i = 0; i < kLockSettingCount; ++i) locks[i] = i % 3 == 0;
    rec->AllowReadCfg = 1, rec->AllowWriteCfg = 0;
    const LockAdminValues v = LockValuesFrom(*rec, "secret");
    for (int i = 0; i < kLockSettingCount; ++i) EXPECT_EQ(v.flags[i], i % 3 == 0) << i;
    EXPECT_EQ(v.flags[kLockLoadingFlag], 0);
    EXPECT_EQ(v.flags[kLockSavingFlag], 1);
    EXPECT_EQ(v.password, "secret");
    EXPECT_EQ(rec->LockDosBox, locks[kLockDosBoxFlag]);  // the 25 settings lie in a row

    auto out = Record();
    out->AllowCfg = 0, out->AllowDOS = 0;
    std::string password = "old";
    LockAdminValues changed = v;
    changed.flags[3] = 1, changed.flags[kLockLoadingFlag] = 1, changed.flags[kLockSavingFlag] = 0;
    changed.password = "new";
    StoreLockValues(changed, *out, password);
    EXPECT_EQ(out->LockColors, 1);
    EXPECT_EQ(out->LockGeneral, 1);
    EXPECT_EQ(out->LockTerminal, 0);
    EXPECT_EQ(out->AllowReadCfg, 0);
    EXPECT_EQ(out->AllowWriteCfg, 1);
    EXPECT_EQ(out->AllowCfg, 1);
    EXPECT_EQ(out->AllowDOS, 1);
    EXPECT_EQ(password, "new");
}

TEST(LockAdminValues, LockAllAndOpenAllLeaveTheLastFiveFlags)
{
    LockAdminValues v;
    v.flags[22] = 1, v.flags[24] = 1, v.flags[26] = 1;
    SetGroupLocks(v, true);
    for (int i = 0; i < kLockGroupCount; ++i) EXPECT_EQ(v.flags[i], 1) << i;
    EXPECT_EQ((std::array<int, 5>{v.flags[22], v.flags[23], v.flags[24], v.flags[25], v.flags[26]}),
              (std::array<int, 5>{1, 0, 1, 0, 1}));
    SetGroupLocks(v, false);
    for (int i = 0; i < kLockGroupCount; ++i) EXPECT_EQ(v.flags[i], 0) << i;
    EXPECT_EQ(v.flags[22] + v.flags[23] + v.flags[24] + v.flags[25] + v.flags[26], 3);
}

TEST(LockAdminValues, StartLocksOfALockedConfiguration)
{
    auto rec = Record();
    LockAdminValues v;
    rec->AllowCfg = 0, rec->AllowDOS = 1;
    ApplyStartLocks(v, *rec);
    EXPECT_EQ(v.flags[0] + v.flags[21], 2);
    EXPECT_EQ(v.flags[22] + v.flags[kLockDosBoxFlag], 0);
    LockAdminValues w;
    rec->AllowCfg = 1, rec->AllowDOS = 0;
    ApplyStartLocks(w, *rec);
    EXPECT_EQ(w.flags[0], 0);
    EXPECT_EQ(w.flags[kLockDosBoxFlag], 1);
}

TEST(LockAdminValues, PasswordToAskAndItsComparison)
{
    auto rec = Record();
    rec->AllowCfg = 0;
    EXPECT_EQ(LockPasswordToAsk(*rec, ""), "VidEr");
    EXPECT_EQ(LockPasswordToAsk(*rec, "mine"), "mine");
    rec->AllowCfg = 1;
    EXPECT_EQ(LockPasswordToAsk(*rec, ""), "");
    EXPECT_EQ(LockPasswordToAsk(*rec, "mine"), "mine");

    const struct {
        const char* typed;
        const char* password;
        bool match;
    } cases[] = {
        {"vider", "VidEr", true}, {"VIDER", "VidEr", true}, {"VidE", "VidEr", false},
        {"VidErr", "VidEr", false}, {"", "VidEr", false}, {"p\xe4ss", "p\xe4ss", true},
    };
    for (const auto& c : cases) EXPECT_EQ(LockPasswordMatches(c.typed, c.password), c.match) << c.typed;
}

TEST(KeyinValues, TheFileDialogStartsInTheAnswersFolder)
{
    const struct {
        const char* answer;
        const char* folder;
    } cases[] = {
        {"c:\\logs\\a.trc", "c:\\logs"}, {"c:\\a.trc", "c:\\"}, {"d:a.trc", "d:"},
        {"\\a.trc", "\\"}, {"a.trc", ""}, {"", ""}, {"logs/sub/a.trc", "logs/sub"},
    };
    for (const auto& c : cases) EXPECT_EQ(StartFolderOf(c.answer), c.folder) << c.answer;
}

}  // namespace
