// The smaller Config commands after OK: what they copy back, which data files they mark to be
// written, what they ask and what they refresh.
#include <functional>
#include <string>

#include "fake_site.h"
#include "session_fixture.h"
#include "shell/config_preference_commands.h"

namespace {

class ConfigPreferenceCommands : public SessionTest {
protected:
    void SetUp() override
    {
        Defaults();
        doc.SetModifiedFlag(false);
        doc.SetSite(&site);
        doc.strings.KeyboardMap = "host.map";
        doc.strings.TerminalKeyDef = "host.key";
        doc.strings.Translate = "host.xlt";
        doc.strings.ButtonFile = "host.but";
        doc.strings.DynHotspotFile = "host.dyn";
        Rec->AutonameFiles = 0;
    }
    void TearDown() override { doc.SetSite(nullptr); }

    // The five changed-file flags as a string "map key xlt but dyn" of 0/1.
    std::string Flags() const
    {
        return std::to_string(doc.KeyMapChanged) + std::to_string(doc.KeyDefChanged) +
               std::to_string(doc.TranslateChanged) + std::to_string(doc.ButtonsChanged) +
               std::to_string(doc.HotspotsChanged);
    }

    FakeSite site;
};

TEST_F(ConfigPreferenceCommands, FilesMarksOnlyTheChangedNamesAndAllWhenAutonameIsTurnedOn)
{
    const struct {
        const char* what;
        std::function<void(FileNamePrefsValues&)> edit;
        int autonameBefore;
        const char* flags;
    } cases[] = {
        {"nothing changed", [](FileNamePrefsValues&) {}, 0, "00000"},
        {"keyboard map", [](FileNamePrefsValues& v) { v.keyboardMap = "other.map"; }, 0, "10000"},
        {"key definitions", [](FileNamePrefsValues& v) { v.terminalKeyDef = "other.key"; }, 0, "01000"},
        {"translate, letter case only", [](FileNamePrefsValues& v) { v.translate = "HOST.xlt"; }, 0, "00100"},
        {"buttons", [](FileNamePrefsValues& v) { v.buttonFile = "other.but"; }, 0, "00010"},
        {"hotspots", [](FileNamePrefsValues& v) { v.dynHotspotFile = "other.dyn"; }, 0, "00001"},
        {"capture, trace and start-up files are no data files",
         [](FileNamePrefsValues& v) {
             v.captureFile = "c.txt";
             v.traceFile = "t.trc";
             v.startupFile = "s.scr";
         },
         0, "00000"},
        {"autoname turned on", [](FileNamePrefsValues& v) { v.autoname = 1; }, 0, "11111"},
        {"autoname turned off", [](FileNamePrefsValues& v) { v.autoname = 0; }, 1, "00000"},
        {"autoname left on, one name changed", [](FileNamePrefsValues& v) { v.buttonFile = "x.but"; }, 1, "00010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        doc.KeyMapChanged = doc.KeyDefChanged = doc.TranslateChanged = doc.ButtonsChanged = doc.HotspotsChanged = 0;
        Rec->AutonameFiles = c.autonameBefore;
        site = FakeSite{};
        FileNamePrefsValues values = FileNamePrefsValuesFrom(*Rec, doc.strings);
        c.edit(values);

        FilePrefsAfterOk(doc, values);

        EXPECT_EQ(Flags(), c.flags);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(FileNamePrefsValuesFrom(*Rec, doc.strings).keyboardMap, values.keyboardMap);
        EXPECT_EQ(doc.strings.TraceFile, values.traceFile);
        EXPECT_EQ(Rec->AutonameFiles, values.autoname);
        EXPECT_GE(site.titleChanges, 1) << "the title is refreshed";
        EXPECT_EQ(site.viewUpdates, 1);
    }
}

TEST_F(ConfigPreferenceCommands, FilesKeepsAFlagAlreadySet)
{
    doc.TranslateChanged = 1;
    FilePrefsAfterOk(doc, FileNamePrefsValuesFrom(*Rec, doc.strings));
    EXPECT_EQ(Flags(), "00100");
}

// Each simple command: an edited value reaches the record or the document strings, the document
// is modified, and nothing else happens (no flags, no questions, no view updates).
TEST_F(ConfigPreferenceCommands, SimpleCommandsCopyBackAndMarkModifiedOnly)
{
    const struct {
        const char* what;
        std::function<void(CZolexDoc&)> run;
        std::function<bool()> stored;
    } cases[] = {
        {"auto login",
         [](CZolexDoc& d) {
             AutoLoginValues v = AutoLoginValuesFrom(*d.record, d.strings);
             v.waitFor[1] = "login:";
             v.enable = 1;
             AutoLoginAfterOk(d, v);
         },
         [this] { return doc.strings.AutoHost1 == "login:" && Rec->AutoLogin == 1; }},
        {"phone",
         [](CZolexDoc& d) {
             PhoneValues v = PhoneValuesFrom(*d.record);
             v.number = "555 0100";
             v.timeout = 45;
             v.dialEnable = 1;
             PhoneAfterOk(d, v);
         },
         [] { return std::string(Rec->PhoneNumber) == "555 0100" && Rec->DialTimeout == 45 && Rec->DialEnable == 1; }},
        {"unix env",
         [](CZolexDoc& d) { HostEnvAfterOk(d, {1, "LANG=C\r\nTZ=UTC"}); },
         [] { return std::string(Rec->UnixEnv) == "LANG=C TZ=UTC" && Rec->UnixEnvEnable == 1; }},
        {"modem",
         [](CZolexDoc& d) {
             ModemValues v = ModemValuesFrom(*d.record);
             v.init = "ATZ";
             v.enable = 1;
             ModemAfterOk(d, v);
         },
         [] { return std::string(Rec->ModemInit) == "ATZ" && Rec->ModemEnable == 1; }},
        {"file transfer command",
         [](CZolexDoc& d) { FileTransferCmdAfterOk(d, {"ftp.exe", "c:\\x", 1, 1}); },
         [this] { return doc.strings.FtpCommand == "ftp.exe" && doc.strings.FtpDirectory == "c:\\x" && Rec->FtpEnable == 1 && Rec->XferType == 1; }},
        {"mouse",
         [](CZolexDoc& d) { MouseAfterOk(d, {1, "%row%,%col%<cr>", "dbl"}); },
         [this] { return doc.strings.MouseClick == "%row%,%col%<cr>" && doc.strings.MouseDoubleClick == "dbl" && Rec->EnableSendMousePos == 1; }},
        {"multimedia",
         [](CZolexDoc& d) { MultimediaAfterOk(d, {1, 1, 0, 1, 30}); },
         [] { return Rec->MciErrorReply == 1 && Rec->MciOkReply == 1 && Rec->MciDataReply == 0 && Rec->MciShowError == 1 && Rec->MciWaitIfBusy == 30; }},
        {"terminal printers",
         [](CZolexDoc& d) {
             TerminalPrinterValues v = TerminalPrinterValuesFrom(*d.record, d.strings);
             v.name[1] = "Laser,wineps,FILE:";
             v.delaySpool[2] = 7;
             TerminalPrintersAfterOk(d, v);
         },
         [this] { return doc.strings.Printer2 == "Laser,wineps,FILE:" && Rec->DelaySpool3 == 7; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        site = FakeSite{};
        prompts.asked.clear();
        c.run(doc);
        EXPECT_TRUE(c.stored());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(Flags(), "00000");
        EXPECT_TRUE(prompts.asked.empty());
        EXPECT_EQ(site.viewUpdates, 0);
    }
}

TEST_F(ConfigPreferenceCommands, PrinterCharsetsAreShownLessTwoAndStoredPlusTwo)
{
    // Stored 0 (raw) shows row 0; 3 (ANSI) and 4 (OEM) show rows 1 and 2; a value outside the
    // list shows no row and stays as it was when none is picked.
    const struct {
        int stored, shown, picked, storedAfter;
    } cases[] = {{0, 0, 2, 4}, {3, 1, 1, 3}, {4, 2, 0, 0}, {1, -1, -1, 1}, {7, -1, 1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Rec->TermPrt2Xlate = c.stored;
        TerminalPrinterValues v = TerminalPrinterValuesFrom(*Rec, doc.strings);
        EXPECT_EQ(v.charset[1], c.shown);
        v.charset[1] = c.picked;
        TerminalPrintersAfterOk(doc, v);
        EXPECT_EQ(Rec->TermPrt2Xlate, c.storedAfter);
    }
}

TEST_F(ConfigPreferenceCommands, DdeTellsOfTheRestartAfterEveryOk)
{
    DdeSettingsValues v = DdeValuesFrom(*Rec);
    DdeAfterOk(doc, v);  // nothing changed
    v.serverService = "MYSERVICE";
    DdeAfterOk(doc, v);
    ASSERT_EQ(prompts.asked.size(), 2u);
    for (const auto& q : prompts.asked) {
        EXPECT_EQ(q.id, 1450);
        EXPECT_EQ(q.text, "Restart Tolvi for new DDE settings to take effect.");
        EXPECT_EQ(q.style & 0x0F, kMsgOk);
    }
    EXPECT_STREQ(Rec->DdeServerServiceName, "MYSERVICE");
    EXPECT_TRUE(doc.IsModified());
}

// The dialogs refuse longer texts; what reaches these functions otherwise is bounded by the field.
TEST_F(ConfigPreferenceCommands, TextsAreBoundedByTheirField)
{
    const std::string longText(300, 'x');
    MouseAfterOk(doc, {0, longText, longText});
    PhoneValues phone = PhoneValuesFrom(*Rec);
    phone.number = longText;
    PhoneAfterOk(doc, phone);
    TerminalPrinterValues printers = TerminalPrinterValuesFrom(*Rec, doc.strings);
    printers.name[0] = longText;
    TerminalPrintersAfterOk(doc, printers);
    FileNamePrefsValues files = FileNamePrefsValuesFrom(*Rec, doc.strings);
    files.keyboardMap = files.traceFile = longText;
    FilePrefsAfterOk(doc, files);
    DdeSettingsValues dde = DdeValuesFrom(*Rec);
    dde.delimiter = longText;
    DdeAfterOk(doc, dde);

    EXPECT_EQ(doc.strings.MouseClick.size(), kDocumentStringLimit);
    EXPECT_EQ(doc.strings.MouseDoubleClick.size(), kDocumentStringLimit);
    EXPECT_EQ(std::string(Rec->PhoneNumber).size(), sizeof Rec->PhoneNumber - 1);
    EXPECT_EQ(doc.strings.Printer1.size(), kDocumentStringLimit);
    EXPECT_EQ(doc.strings.KeyboardMap.size(), kDocumentStringLimit);
    EXPECT_EQ(doc.strings.TraceFile.size(), kDocumentStringLimit);
    EXPECT_EQ(strnlen(Rec->DdeDelimiter, sizeof Rec->DdeDelimiter), 12u);
}

TEST_F(ConfigPreferenceCommands, PrinterNamesByNumber)
{
    doc.strings.Printer1 = "one";
    doc.strings.Printer2 = "two";
    doc.strings.Printer3 = "three";
    const struct {
        int printer;
        const char* name;
    } cases[] = {{-1, ""}, {0, ""}, {1, "one"}, {2, "two"}, {3, "three"}, {4, ""}};
    for (const auto& c : cases) EXPECT_EQ(doc.GetPrinterName(c.printer), c.name) << c.printer;
}

}  // namespace
