// The session configuration file through the native profile store: whole-file round trips,
// the reading rules of the value types, and the failures.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "fake_prompts.h"
#include "shell/config_file.h"
#include "session/document_strings.h"
#include "shell/native_profile.h"
#include "shell/profile_store.h"
#include "shell/record_defaults.h"
#include "session/translate_tables.h"
#include "temp_folder.h"

namespace {

struct Session {
    std::unique_ptr<SettingsRecord> rec = std::make_unique<SettingsRecord>();
    DocumentStrings strings;
};

std::unique_ptr<Session> DefaultSession()
{
    auto session = std::make_unique<Session>();
    TranslateTables tables;
    SetRecordDefaults(*session->rec, true, false, nullptr, tables);
    ApplyDocumentStringDefaults(session->strings);
    return session;
}

template <std::size_t N>
void Fill(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

std::string Text(const std::string& stem, std::size_t length)
{
    std::string text;
    while (text.size() < length) text += stem;
    return text.substr(0, length);
}

class ConfigFile : public ::testing::Test {
protected:
    std::string Write(Session& s, const char* name)
    {
        const std::string file = folder.File(name);
        EXPECT_EQ(SerializeConfigFile(file.c_str(), true, *s.rec, s.strings), 1);
        return file;
    }
    std::string Get(const char* section, const char* key, const std::string& file)
    {
        char value[1024];
        Profiles().GetString(section, key, "<missing>", value, sizeof value, file.c_str());
        return value;
    }

    NativeProfile profile;
    FakePrompts prompts;
    ScopedPrompts scopedPrompts{prompts};
    TempFolder folder;
};

TEST_F(ConfigFile, EveryKeyRoundTripsByteExact)
{
    SetProfiles(&profile);
    auto first = DefaultSession();
    // Values at their limits and values that need escaping or a special text form.
    Fill(first->rec->HostName, Text("host.example.", 60));
    Fill(first->rec->DdeServerServiceName, "SERVICE12345");
    Fill(first->rec->DdeDelimiter, "\\|\r\n;;;;;;;;");
    Fill(first->rec->Tabs, Text("9,17,", 255));
    Fill(first->rec->UnixEnv, Text("TERM=vt220 \\ ", 255));
    Fill(first->rec->Font80Cols.FaceName, Text("Face", 31));
    Fill(first->rec->AnswerBack, "line\r\nnext\\end");
    first->strings.FtpCommand = Text("c:\\tools\\", 128);
    first->strings.AutoHost3 = "";
    first->strings.AutoUser2 = Text("p\xe4ss\\word\r", 128);
    first->strings.LockPassword = "lock";
    first->rec->NAWSX = -1;
    first->rec->Blue = 0x8080;
    first->rec->KermitParms.Padchar = 0xA0;
    first->rec->KermitParms.Timeout = 33;
    first->rec->XYModemParms.Retries = 7;
    first->rec->BoxMapFg[3] = 1;
    first->rec->BoxMapFg[13] = 2;
    first->rec->Attr3270Colors[47][kAttrBg] = 12;

    const std::string a = Write(*first, "a.wcf");
    auto second = std::make_unique<Session>();
    ASSERT_EQ(SerializeConfigFile(a.c_str(), false, *second->rec, second->strings), 1);
    const std::string b = Write(*second, "b.wcf");

    EXPECT_EQ(TempFolder::Read(a), TempFolder::Read(b));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_STREQ(second->rec->HostName, first->rec->HostName);
    EXPECT_STREQ(second->rec->DdeServerServiceName, "SERVICE12345");
    EXPECT_STREQ(second->rec->DdeDelimiter, first->rec->DdeDelimiter);
    EXPECT_STREQ(second->rec->Tabs, first->rec->Tabs);
    EXPECT_STREQ(second->rec->UnixEnv, first->rec->UnixEnv);
    EXPECT_STREQ(second->rec->AnswerBack, first->rec->AnswerBack);
    EXPECT_EQ(second->strings.FtpCommand, first->strings.FtpCommand);
    EXPECT_EQ(second->strings.AutoUser2, first->strings.AutoUser2);
    EXPECT_EQ(second->strings.LockPassword, "lock");
    EXPECT_EQ(second->rec->NAWSX, -1);
    EXPECT_EQ(int{second->rec->KermitParms.Padchar}, 0xA0);
    EXPECT_EQ(int{second->rec->KermitParms.Timeout}, 33);
    EXPECT_EQ(int{second->rec->XYModemParms.Retries}, 7);
    EXPECT_EQ(second->rec->Attr3270Colors[47][kAttrBg], 12);
    EXPECT_EQ(0, std::memcmp(second->rec->BoxMapFg, first->rec->BoxMapFg, sizeof first->rec->BoxMapFg));
    SetProfiles(nullptr);
}

TEST_F(ConfigFile, WritesTheDocumentedTextForms)
{
    auto s = DefaultSession();
    s->rec->NAWSX = -1;
    s->rec->Blue = 0x8080;
    s->rec->KermitParms.Padchar = 0xA0;
    s->rec->KermitParms.Eol = 65;
    for (int c = 0; c < kColorIndices; ++c) s->rec->BoxMapFg[c] = (c == 3 || c == 13) ? 1 : 0;
    s->rec->SingleInstance = 1;
    s->strings.AutoHost3 = "";
    s->strings.AutoUser2 = "a";
    s->rec->AttrColors[15][kAttrFg] = 4;
    const std::string file = Write(*s, "forms.wcf");

    EXPECT_EQ(Get("Tolvi", "Version", file), "4.5.6.3");
    EXPECT_EQ(Get("Tolvi", "NAWSX", file), "-1");
    EXPECT_EQ(Get("Palette", "Blue", file), "0x008080");
    EXPECT_EQ(Get("Kermit", "Padchar", file), "0xa0");
    EXPECT_EQ(Get("Kermit", "Eol", file), "65");
    EXPECT_EQ(Get("Tolvi", "SingleInstance", file), "Yes");
    EXPECT_EQ(Get("Tolvi", "AutoHost3", file), "%null%");
    EXPECT_EQ(Get("Tolvi", "AppName", file), "Tolvi - ");  // quotes removed by the store
    EXPECT_EQ(Get("Tolvi", "BlinkingBoldReversedUnderlineFgColor", file), "4");
    EXPECT_NE(Get("3270Attributes", "ProtectedBlinkingBoldReversedUnderlineBgColor", file), "<missing>");
    const std::string text = TempFolder::Read(file);
    EXPECT_NE(text.find("InBoxFg=3 13\r\n"), std::string::npos) << text.substr(text.find("InBoxFg"), 40);
    EXPECT_NE(text.find("AutoUser2=\"ma\"\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[Tolvi]\r\nVersion=4.5.6.3\r\n"), 0u);
}

TEST_F(ConfigFile, ReadingFollowsTheRulesOfEachValueType)
{
    const std::string file = folder.File("read.wcf");
    TempFolder::Write(file,
                      "[Tolvi]\r\nVersion=4.5.6.3\r\nAutoHost3=%null%\r\nAutoHost4=\r\n"
                      "InBoxFg=3 13\r\nOutBoxFg=20 5\r\nControlChar=0\r\n"
                      "FtpCommand=\"D:\\\\OLD\\\\GX38.EXE /go\"\r\nLocalEcho=yessir\r\nNewLine=Nope\r\n"
                      "NAWSX=-1\r\nHostName=\"plain\"\r\n"
                      "[Kermit]\r\nEol=^M\r\nQuotechar=#\r\n");
    auto s = DefaultSession();
    s->strings.AutoHost4 = "kept";
    for (int c = 0; c < kColorIndices; ++c) s->rec->BoxMapFg[c] = (c == 7) ? 1 : 0;
    prompts.answers = {kAnswerOk};

    ASSERT_EQ(SerializeConfigFile(file.c_str(), false, *s->rec, s->strings), 1);
    EXPECT_EQ(s->strings.AutoHost3, "");
    EXPECT_EQ(s->strings.AutoHost4, "kept");
    EXPECT_EQ(s->rec->BoxMapFg[3], 1);
    EXPECT_EQ(s->rec->BoxMapFg[13], 1);
    EXPECT_EQ(s->rec->BoxMapFg[7], 0);   // the listed key replaces its kind
    EXPECT_EQ(s->rec->BoxMapFg[5], 2);   // the out-of-range index is passed over
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text,
              "Values out of range in '" + file + "' were replaced by their defaults:\nOutBoxFg");
    EXPECT_EQ(s->rec->ControlChar, 1);
    EXPECT_EQ(s->strings.FtpCommand, "D:\\OLD\\tolviftp.exe /go");
    EXPECT_EQ(s->rec->LocalEcho, 1);
    EXPECT_EQ(s->rec->NewLine, 0);
    EXPECT_EQ(s->rec->NAWSX, -1);
    EXPECT_STREQ(s->rec->HostName, "plain");
    EXPECT_EQ(int{s->rec->KermitParms.Eol}, 13);
    EXPECT_EQ(int{s->rec->KermitParms.Quotechar}, 35);
}

TEST_F(ConfigFile, AbsurdValuesFallBackAndAreListedInOneMessage)
{
    const std::string file = folder.File("absurd.wcf");
    TempFolder::Write(file, "[Tolvi]\r\nVersion=1\r\nMaxRows=100000\r\nMaxCols=-80\r\nHistoryRows=-5\r\n"
                            "AlignDisplay=9\r\nFrameFgColor=999\r\nNormalBgColor=-1\r\nBoldFgColor=3\r\n"
                            "InBoxFg=2 999 4\r\nOutBoxFg=6 -1\r\nHostName=\"" + Text("h", 10240) + "\"\r\n"
                            "[3270Attributes]\r\nNormalFgColor=20\r\n[3270]\r\nInBoxBg=77\r\n");
    auto s = DefaultSession();
    const auto defaults = DefaultSession();
    EXPECT_EQ(SerializeConfigFile(file.c_str(), false, *s->rec, s->strings), 1);

    EXPECT_EQ(s->rec->MaxRows, defaults->rec->MaxRows);
    EXPECT_EQ(s->rec->MaxCols, defaults->rec->MaxCols);
    EXPECT_EQ(s->rec->HistoryRows, defaults->rec->HistoryRows);
    EXPECT_EQ(s->rec->AlignDisplay, defaults->rec->AlignDisplay);
    EXPECT_EQ(s->rec->AttrColors[kAttrFrame][kAttrFg], defaults->rec->AttrColors[kAttrFrame][kAttrFg]);
    EXPECT_EQ(s->rec->AttrColors[kAttrNormal][kAttrBg], defaults->rec->AttrColors[kAttrNormal][kAttrBg]);
    EXPECT_EQ(s->rec->AttrColors[1][kAttrFg], 3) << "a value in range is read as it stands";
    EXPECT_EQ(s->rec->Attr3270Colors[0][kAttrFg], defaults->rec->Attr3270Colors[0][kAttrFg]);
    // A box list keeps its good indices and passes over the bad ones.
    EXPECT_EQ(s->rec->BoxMapFg[2], 1);
    EXPECT_EQ(s->rec->BoxMapFg[4], 1);
    EXPECT_EQ(s->rec->BoxMapFg[6], 2);
    EXPECT_EQ(std::string(s->rec->HostName), Text("h", sizeof s->rec->HostName - 1)) << "long texts are cut";

    ASSERT_EQ(prompts.asked.size(), 1u) << "one message for all the keys";
    EXPECT_EQ(prompts.asked[0].text,
              "Values out of range in '" + file + "' were replaced by their defaults:\n"
              "InBoxFg, OutBoxFg, [3270] InBoxBg, AlignDisplay, MaxCols, MaxRows, HistoryRows, NormalBgColor, "
              "FrameFgColor, [3270Attributes] NormalFgColor");

    // A second file read over a sound session changes nothing it does not name, and says nothing.
    prompts.asked.clear();
    const std::string sound = folder.File("sound.wcf");
    TempFolder::Write(sound, "[Tolvi]\r\nVersion=1\r\nMaxRows=43\r\nMaxCols=80\r\n");
    SerializeConfigFile(sound.c_str(), false, *s->rec, s->strings);
    EXPECT_EQ(s->rec->MaxRows, 43);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(ConfigFile, TheVersionStampIsCheckedInBothApplicationSections)
{
    auto s = DefaultSession();
    const std::string old = folder.File("old.wcf");
    TempFolder::Write(old, "[Zolex]\r\nVersion=3.0\r\n[Tolvi]\r\nPort=3\r\n");
    EXPECT_EQ(SerializeConfigFile(old.c_str(), false, *s->rec, s->strings), 1);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(s->rec->Port, 3);

    const std::string none = folder.File("none.wcf");
    TempFolder::Write(none, "[Tolvi]\r\nPort=4\r\n");
    EXPECT_EQ(SerializeConfigFile(none.c_str(), false, *s->rec, s->strings), 0);
    ASSERT_EQ(prompts.Ids(), std::vector<int>{54});
    EXPECT_NE(prompts.asked[0].text.find("'" + none + "' is not a valid"), std::string::npos);
    EXPECT_EQ(s->rec->Port, 4);  // keys are still taken
}

TEST_F(ConfigFile, AMissingFileKeepsEverySetting)
{
    auto s = DefaultSession();
    auto before = std::make_unique<SettingsRecord>(*s->rec);
    const DocumentStrings stringsBefore = s->strings;
    EXPECT_EQ(SerializeConfigFile(folder.File("missing.wcf").c_str(), false, *s->rec, s->strings), 0);
    EXPECT_EQ(0, std::memcmp(before.get(), s->rec.get(), sizeof(SettingsRecord)));
    EXPECT_EQ(s->strings.FtpCommand, stringsBefore.FtpCommand);
    EXPECT_EQ(s->strings.AutoUser1, stringsBefore.AutoUser1);
}

TEST_F(ConfigFile, AFolderAsTargetFailsTheSaveAndCallsOffAPendingExit)
{
    auto s = DefaultSession();
    s->rec->ExitPending = 1;
    const std::string target = folder.File("folder.wcf");
    std::filesystem::create_directory(target);
    EXPECT_EQ(SerializeConfigFile(target.c_str(), true, *s->rec, s->strings), 0);
    EXPECT_EQ(prompts.Ids(), std::vector<int>{53});
    EXPECT_EQ(s->rec->ExitPending, 0);
}

TEST_F(ConfigFile, KeyNamesAreUniqueWithinTheirSections)
{
    const auto names = ConfigKeyNames();
    EXPECT_GT(names.size(), 400u);
    std::set<std::string> seen;
    for (const auto& n : names) {
        std::string lower = std::string(n.section) + "/" + n.key;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(lower).second) << lower;
    }
}

}  // namespace
