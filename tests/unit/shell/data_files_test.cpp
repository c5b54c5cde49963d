// The per-emulation data files: names, the .key and .map formats, translate tables, buttons.
#include <algorithm>
#include <cstring>

#include "session_fixture.h"
#include "fake_platform.h"
#include "fake_site.h"
#include "engine/charsets.h"
#include "shell/key_data_files.h"
#include "shell/record_defaults.h"
#include "shell/document_services.h"

namespace {

class DataFiles : public SessionTest {
protected:
    void SetUp() override
    {
        Defaults();
        Rec->AutonameFiles = 0;
    }
    std::string Folder() const { return ProgramFolder(); }
};

TEST_F(DataFiles, DefaultNamesFollowTheEmulationAndPlatform)
{
    const struct {
        int terminal, platform, family3270;
        const char *key, *map, *buttons;
    } cases[] = {
        {2, 3, 1, "zl3270.key", "zl3270.map", "zl3270.but"},
        {4, 3, 0, "zlsco.key", "zlsco.map", "zlatt.but"},
        {6, 1, 0, "zlsco.key", "zlsco.map", "zlatt.but"},
        {5, 3, 0, "zlatt.key", "zlatt.map", "zlatt.but"},
        {7, 3, 0, "zldumb.key", "zldumb.map", "zldumb.but"},
        {11, 3, 0, "zladds.key", "zladds.map", "zladds.but"},
        {9, 3, 0, "zlwyse.key", "zlwyse.map", "zlwyse.but"},
        {3, 1, 0, "zldec.key", "zldectm2.map", "zldectm2.but"},
        {1, 1, 0, "zldec.key", "zldecsco.map", "zldecsco.but"},
        {2, 6, 0, "zldec.key", "zldecdec.map", "zldecdec.but"},
        {10, 10, 0, "zldec.key", "zldeclin.map", "zldeclin.but"},
        {99, 3, 0, "zldec.key", "zldec.map", "zldec.but"},
    };
    for (const auto& c : cases) {
        Rec->Terminal = c.terminal;
        Rec->Platform = c.platform;
        Rec->TerminalFamily3270 = c.family3270;
        EXPECT_EQ(doc.GetKeyDefFileName(true), Folder() + c.key);
        EXPECT_EQ(doc.GetKeyMapFileName(true), Folder() + c.map);
        EXPECT_EQ(doc.GetButtonFileName(true), Folder() + c.buttons);
    }
    Rec->Charset = 1;
    Rec->Country = 45;
    EXPECT_EQ(doc.GetTranslateFileName(true), Folder() + "DECNRC.045");
    Rec->Charset = 2;
    EXPECT_EQ(doc.GetTranslateFileName(true), Folder() + "DECMULTI");
    Rec->Charset = 4;
    EXPECT_EQ(doc.GetTranslateFileName(true), Folder() + "zlansi.xlt");

    doc.SetPathName("/cfg/my.session/host.wcf", false);
    Rec->AutonameFiles = 1;
    EXPECT_EQ(doc.GetKeyMapFileName(false), "/cfg/my.session/host.map");
    EXPECT_EQ(doc.GetHotScreenFileName(false), "/cfg/my.session/host.hot");
    doc.HotOptionGiven = true;
    EXPECT_EQ(doc.GetHotScreenFileName(false), Folder() + "tolvi.hot");
}

TEST_F(DataFiles, KeyDefTextKeepsInnerBlanksAndReportsStrayText)
{
    KeyDefTable table;
    prompts.answers = {kAnswerOk, kAnswerOk};
    ReadKeyDefText("DEFINE: F1 tx:   <esc>OP  x   \r\n"
                   "tx: stray\n"
                   "define: Empty tx:",
                   table);
    ASSERT_NE(table.Lookup("F1"), nullptr);
    EXPECT_EQ(table.Lookup("F1")->GetDefinition(), "<esc>OP  x");
    ASSERT_NE(table.Lookup("Empty"), nullptr);
    EXPECT_EQ(table.Lookup("Empty")->GetDefinition(), "");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "stray <- Terminal KeyDef file syntax error!");
}

TEST_F(DataFiles, ALongTextIsCutAfterEightyCharactersAndTheRestIsReported)
{
    KeyDefTable table;
    const std::string text(80, 'a');
    ReadKeyDefText("define: K tx: " + text + "tail more\n", table);
    EXPECT_EQ(table.Lookup("K")->GetDefinition(), text);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, "tail <- Terminal KeyDef file syntax error!");

    prompts.asked.clear();
    prompts.answers = {kAnswerCancel};
    table.RemoveAllDefs();
    ReadKeyDefText("junk define: A tx: a\n", table);
    EXPECT_EQ(table.GetCount(), 0u);  // Cancel ends the load
}

TEST_F(DataFiles, KeyMapEntriesTakeTheirCodeAndModifiers)
{
    FakePlatform platform;
    ScopedPlatform scoped(platform);
    KeyMap map;
    ReadKeyMapText("pckey: F1 code: 70 state: shift ALT tx: <esc>OP\n"
                   "key: Quote code: 'a' tx: x\n"
                   "pckey: Bad code: 200 tx: ignored-code\n"
                   "pckey: Wide code: 10070 tx: not-F1\n"  // beyond 16 bits: refused, not cut to 70
                   "pckey: Hold state: ctrl code: 91 tx: %hold%\n",
                   map);
    EXPECT_EQ(map.Lookup(0x70), nullptr);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].id, 3);
    ASSERT_NE(map.Lookup(0xA70), nullptr);
    EXPECT_EQ(map.Lookup(0xA70)->GetValue(), "<esc>OP");
    EXPECT_EQ(map.Lookup(0xA70)->Modifiers(), 0xA00);
    EXPECT_NE(map.Lookup(0x41), nullptr);
    EXPECT_NE(map.Lookup(0x491), nullptr);
    EXPECT_TRUE(map.ContainsValue("%hold%"));
    ASSERT_EQ(prompts.Ids(), std::vector<int>{});  // message 3 goes through the platform
}

TEST_F(DataFiles, SortedMapFileListsKeysAscendingWithPlainFirst)
{
    auto add = [&](uint16_t key, uint16_t modifiers, const char* value) {
        auto entry = std::make_unique<KeyMapEntry>();
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", key);
        entry->SetName(std::string("K") + hex);
        entry->ParseKeyCode(hex);
        entry->SetModifiers(modifiers);
        entry->SetValue(value);
        const uint16_t code = entry->Code();
        doc.keyMap.SetEntry(code, std::move(entry));
    };
    add(0x71, 0x400, "ctrl");
    add(0x70, 0x600, "shiftctrl");
    add(0x70, 0x200, "shift");
    add(0x70, 0, "plain");
    Rec->SortedKeyMapFile = 1;
    ASSERT_EQ(doc.SaveKeyMapFile("sorted.map"), 0);
    std::string written = TempFolder::Read("sorted.map");
    written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());  // text mode
    EXPECT_EQ(written,
              "pckey: K70 code: 70  tx: plain\n"
              "pckey: K70 code: 70 state: shift tx: shift\n"
              "pckey: K70 code: 70 state: shift ctrl tx: shiftctrl\n"
              "pckey: K71 code: 71 state: ctrl tx: ctrl\n");

    KeyMap back;
    ReadKeyMapText(TempFolder::Read("sorted.map"), back);
    EXPECT_EQ(back.GetCount(), 4u);
    EXPECT_EQ(back.Lookup(0x670)->GetValue(), "shiftctrl");
}

TEST_F(DataFiles, KeyDefFileRoundTripsAndFallsBackToTheDefaultWhenMissing)
{
    doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("F1", "<esc>OP"));
    doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("AP_F1", "a  b"));
    ASSERT_EQ(doc.SaveKeyDefFile(Folder() + "zldec.key"), 0);
    doc.strings.TerminalKeyDef = "missing.key";
    Rec->Terminal = 2;
    KeyDefTable loaded;
    ASSERT_EQ(doc.LoadKeyDefFile(loaded, false), 0);  // silently the emulation's default
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(loaded.Lookup("AP_F1")->GetDefinition(), "a  b");

    std::filesystem::create_directory("folder.key");
    doc.strings.TerminalKeyDef = "folder.key";  // exists, cannot be read: no fallback
    loaded.RemoveAllDefs();
    EXPECT_NE(doc.LoadKeyDefFile(loaded, false), 0);
}

TEST_F(DataFiles, TranslateFilesAcceptShortSecondParts)
{
    doc.strings.Translate = "t.xlt";
    uint8_t out[256], in[256];
    std::memset(out, 0xEE, sizeof out);
    std::memset(in, 0xEE, sizeof in);
    std::string bytes(300, '\0');
    for (int i = 0; i < 300; ++i) bytes[i] = static_cast<char>(i & 0xFF);
    TempFolder::Write("t.xlt", bytes);
    EXPECT_EQ(doc.LoadTranslateTables(out, in, false), 0);
    EXPECT_EQ(out[255], 255);
    EXPECT_EQ(in[43], 43);   // byte 299
    EXPECT_EQ(in[44], 0xEE);
    EXPECT_TRUE(prompts.asked.empty());

    TempFolder::Write("t.xlt", bytes.substr(0, 256));
    EXPECT_NE(doc.LoadTranslateTables(out, in, false), 0);
    TempFolder::Write("t.xlt", "");
    EXPECT_NE(doc.LoadTranslateTables(out, in, false), 0);
    EXPECT_EQ(prompts.Ids(), (std::vector<int>{16, 15}));

    for (int i = 0; i < 256; ++i) doc.tables->Outgoing[i] = static_cast<uint8_t>(255 - i);
    ASSERT_EQ(doc.SaveTranslateTables("w.xlt"), 0);
    EXPECT_EQ(TempFolder::Read("w.xlt").size(), 512u);
    EXPECT_EQ(doc.SaveTranslateTables(""), 0);
}

TEST_F(DataFiles, HostKeyDefinitionsAddReplaceOrDelete)
{
    EXPECT_EQ(doc.DefineTerminalKey("F6", "<esc>[17~"), 1);
    EXPECT_EQ(doc.keyDefs.Lookup("F6")->GetDefinition(), "<esc>[17~");
    EXPECT_EQ(doc.DefineTerminalKey("F6", "x"), 0);
    EXPECT_EQ(doc.DefineTerminalKey("F6", "ab"), 0);
    EXPECT_EQ(doc.DefineTerminalKey("", "abc"), 0);
    EXPECT_EQ(doc.DefineTerminalKey("F6", "\"\""), 1);
    EXPECT_EQ(doc.keyDefs.Lookup("F6"), nullptr);
}

TEST_F(DataFiles, InstallingTheButtonFileCopiesItToTheWorkingFile)
{
    doc.strings.ButtonFile = "mine.but";
    TempFolder::Write("mine.but", "buttons");
    ASSERT_EQ(doc.InstallButtonFile(false, false), 0);
    EXPECT_EQ(TempFolder::Read("default.trc"), "buttons");
    EXPECT_EQ(doc.strings.ActiveButtonFile, "default.trc");

    // Already the working file: nothing is copied and nothing is emptied.
    doc.strings.ButtonFile = folder.File("default.trc");
    ASSERT_EQ(doc.InstallButtonFile(false, false), 0);
    EXPECT_EQ(TempFolder::Read("default.trc"), "buttons");
}

}  // namespace

namespace {

TEST_F(DataFiles, TheEngineReachesTheDocumentOnlyWhenItExists)
{
    SetSessionDoc(nullptr);
    EXPECT_EQ(DefineTerminalKey("F7", "<esc>[18~"), 0);
    EXPECT_EQ(SetCharsetMode(2), 0);

    SetSessionDoc(&doc);
    EXPECT_EQ(DefineTerminalKey("F7", "<esc>[18~"), 1);
    EXPECT_NE(doc.keyDefs.Lookup("F7"), nullptr);
    std::string table(512, '\0');
    for (int i = 0; i < 512; ++i) table[i] = static_cast<char>(255 - (i & 0xFF));
    TempFolder::Write(ProgramFolder() + "DECMULTI", table);
    Rec->Charset = 3;
    EXPECT_EQ(SetCharsetMode(2), 1);
    EXPECT_EQ(Rec->Charset, 2);
    EXPECT_EQ(doc.tables->Incoming[0], 255);
    SetSessionDoc(nullptr);
}

}  // namespace

namespace {

class SavingDocument : public SessionTest {};

TEST_F(SavingDocument, ANewConfigurationWritesEveryDataFileThenOnlyTheChangedOnes)
{
    Startup.NewConfiguration[0] = true;
    Defaults();
    Rec->AutonameFiles = 1;
    TempFolder::Write("buttons.src", "b");
    doc.strings.ActiveButtonFile = "buttons.src";
    const std::string config = folder.File("new.wcf");
    ASSERT_TRUE(doc.OnSaveDocument(config));
    for (const char* file : {"new.map", "new.key", "new.xlt", "new.but"})
        EXPECT_TRUE(std::filesystem::exists(folder.File(file))) << file;
    EXPECT_FALSE(Startup.NewConfiguration[0]);
    EXPECT_FALSE(doc.IsModified());

    for (const char* file : {"new.map", "new.key", "new.xlt", "new.but"}) std::filesystem::remove(folder.File(file));
    doc.TranslateChanged = 1;
    ASSERT_TRUE(doc.OnSaveDocument(config));
    EXPECT_TRUE(std::filesystem::exists(folder.File("new.xlt")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.map")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.but")));
    EXPECT_EQ(doc.TranslateChanged, 0);
}

TEST_F(SavingDocument, AFailedDataFileFailsTheSaveAndKeepsItsMark)
{
    Defaults();
    Rec->AutonameFiles = 1;
    const std::string config = folder.File("s.wcf");
    std::filesystem::create_directory(folder.File("s.xlt"));  // the translate file cannot be written
    std::filesystem::create_directory(folder.File("s.but"));  // nor the button file
    TempFolder::Write("buttons.src", "b");
    doc.TranslateChanged = 1;
    doc.ButtonsChanged = 1;
    doc.strings.ActiveButtonFile = "buttons.src";
    EXPECT_FALSE(doc.OnSaveDocument(config));
    EXPECT_EQ(doc.TranslateChanged, 1);
    EXPECT_EQ(doc.ButtonsChanged, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(prompts.Ids(), (std::vector<int>{25, 47}));
}

TEST_F(SavingDocument, ANewConfigurationWithoutButtonFileSaves)
{
    Startup.NewConfiguration[0] = true;
    Defaults();
    Rec->AutonameFiles = 1;
    Rec->Terminal = 1;
    Rec->Platform = 3;  // zldec.but, which the program folder here does not hold
    ASSERT_TRUE(doc.OnSaveDocument(folder.File("tolvi.wcf")));
    EXPECT_EQ(prompts.Ids(), std::vector<int>{});
    EXPECT_EQ(doc.ButtonsChanged, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.File("tolvi.but")));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SavingDocument, OpeningAConfigurationAppliesItsSettings)
{
    Defaults();
    const std::string config = folder.File("o.wcf");
    TempFolder::Write(config, "[Tolvi]\r\nVersion=4.5.6.3\r\nLocalEcho=Yes\r\nHostName=\"\"\r\nAppName=\"Mine - \"\r\n");
    Rec->HostName[0] = '\0';
    ASSERT_TRUE(doc.OnOpenDocument(config));
    EXPECT_EQ(doc.GetPathName(), config);
    EXPECT_EQ(Rec->LocalEchoNow, 1);
    EXPECT_EQ(Rec->HostNameMissing, 1);
    EXPECT_EQ(doc.strings.AppNameShown, "Mine - ");
    EXPECT_EQ(FrameRefitPending, 1);

    Rec->Connected = 1;
    prompts.answers = {kAnswerNo};
    EXPECT_FALSE(doc.OnOpenDocument(config));
    Rec->Connected = 0;
}

TEST_F(SavingDocument, ClosingWhileConnectedDisconnectsFirst)
{
    Defaults();
    EXPECT_TRUE(doc.CanCloseFrame());
    Rec->Connected = 1;
    doc.strings.MsgExit = "";
    EXPECT_FALSE(doc.CanCloseFrame());
    EXPECT_EQ(Rec->ExitPending, 1);
    Rec->ExitPending = 0;
    doc.strings.MsgExit = "Leave?";
    prompts.answers = {kAnswerNo};
    EXPECT_FALSE(doc.CanCloseFrame());
    EXPECT_EQ(Rec->ExitPending, 0);
    Rec->Connected = 0;
    Rec->HangupReason = 2;
    EXPECT_FALSE(doc.CanCloseFrame());
    EXPECT_EQ(Rec->ExitPending, 1);
}

}  // namespace

namespace {

TEST_F(DataFiles, DefaultsAreOfferedWithTheNamesOfTheChoice)
{
    Rec->Terminal = 10;
    Rec->Platform = 10;
    prompts.answers = {kAnswerNo};
    EXPECT_EQ(doc.OfferEmulationDefaults(), 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_NE(prompts.asked[0].text.find("'DEC vt320' on 'Linux'"), std::string::npos);
    EXPECT_EQ(doc.KeyDefChanged, 0);

    TempFolder::Write(Folder() + "zldec.key", "define: F1 tx: x\n");
    TempFolder::Write(Folder() + "zldeclin.map", "pckey: F1 code: 70  tx: F1\n");
    TempFolder::Write(Folder() + "zldeclin.but", "buttons");
    EXPECT_EQ(doc.OfferEmulationDefaults(), 1);
    EXPECT_EQ(doc.KeyDefChanged, 1);
    EXPECT_EQ(doc.KeyMapChanged, 1);
    EXPECT_NE(doc.keyDefs.Lookup("F1"), nullptr);
    EXPECT_EQ(TempFolder::Read("default.trc"), "buttons");
    EXPECT_TRUE(doc.IsModified());

    Rec->Country = 358;
    Rec->TerminalFamily3270 = 1;
    EXPECT_EQ(doc.OfferTranslateDefaults(), 1);
    EXPECT_NE(prompts.asked.back().text.find("for Finland?"), std::string::npos);
    EXPECT_EQ(Rec->Charset3270, 4 + NationalSetForCountry(358));
}

}  // namespace

namespace {

class DocumentInFrame : public SessionTest {
protected:
    DocumentInFrame() { doc.SetSite(&site); }
    FakeSite site;
};

TEST_F(DocumentInFrame, TheFrameTitleChangesOnlyWhenTheTextDoes)
{
    Defaults();
    doc.strings.AppNameShown = "Tolvi - ";
    Rec->TitleHostName = Rec->TitleConnected = 0;
    doc.SetTitle("a.wcf");
    EXPECT_EQ(site.title, "Tolvi -  (a.wcf)");
    const int changes = site.titleChanges;
    doc.SetTitle(nullptr);
    EXPECT_EQ(site.titleChanges, changes);
}

TEST_F(DocumentInFrame, AModifiedDocumentAsksBeforeItIsDropped)
{
    Defaults();
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(site.asked.empty());

    const std::string config = folder.File("m.wcf");
    TempFolder::Write(config, "[Tolvi]\r\nVersion=4.5.6.3\r\n");
    ASSERT_TRUE(doc.OnOpenDocument(config));
    EXPECT_EQ(site.recent, std::vector<std::string>{config});
    doc.SetModifiedFlag(true);
    site.answer = kAnswerCancel;
    EXPECT_FALSE(doc.SaveModified());
    site.answer = kAnswerNo;
    EXPECT_TRUE(doc.SaveModified());
    site.answer = kAnswerYes;
    Rec->Port = 7;
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(TempFolder::Read(config).find("Port=7"), std::string::npos);

    doc.SetModifiedFlag(true);
    Rec->AllowWriteCfg = 0;
    prompts.asked.clear();  // the opened file's data files were missing
    prompts.answers = {kAnswerCancel};
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(prompts.Ids(), std::vector<int>{71});
}

TEST_F(DocumentInFrame, TheTitleNamesTheProgramAndTheSaveQuestionTheFile)
{
    Defaults();
    Rec->TitleHostName = Rec->TitleConnected = 0;
    doc.SetTitle("Untitled");  // as after a configuration that could not be read
    EXPECT_EQ(site.title, "Tolvi -  (Untitled)");

    doc.SetTitle("tolvi.wcf");
    doc.SetModifiedFlag(true);
    site.answer = kAnswerCancel;
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(site.asked, std::vector<std::string>{"tolvi.wcf"});
}

TEST_F(DocumentInFrame, SavingAnUntitledDocumentAsksForItsName)
{
    Defaults();
    doc.OnNewDocument();
    Rec->AutonameFiles = 1;
    doc.SetModifiedFlag(true);
    site.answer = kAnswerYes;
    EXPECT_FALSE(doc.SaveModified());  // no name given: nothing saved, the document stays
    EXPECT_EQ(site.proposals, std::vector<std::string>{"Untitled"});
    EXPECT_TRUE(doc.IsModified());

    site.savePath = folder.File("named.wcf");
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(doc.GetPathName(), site.savePath);
    EXPECT_EQ(doc.GetTitle(), "named.wcf");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(TempFolder::Read(site.savePath).find("Version="), std::string::npos);
    // Under a new name the data files are written too.
    EXPECT_TRUE(std::filesystem::exists(folder.File("named.map")));
    EXPECT_TRUE(std::filesystem::exists(folder.File("named.key")));

    // Saved once, File/Save writes the file again without asking.
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(site.proposals.size(), 2u);
}

TEST_F(DocumentInFrame, ClosingWhileConnectedPostsTheDisconnect)
{
    Defaults();
    Rec->Connecting = 1;
    EXPECT_FALSE(doc.CanCloseFrame());
    EXPECT_EQ(site.commands, std::vector<int>{256});
    EXPECT_EQ(Rec->ExitPending, 1);
}

}  // namespace
