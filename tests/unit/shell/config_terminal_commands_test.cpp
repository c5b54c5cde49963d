// General Settings and Terminal Emulation after OK, with the dialogs' values given directly: what
// is stored, which offers are asked, what the frame and the view are told, and in which order.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/ibm3270/ebcdic_tables.h"
#include "fake_platform.h"
#include "fake_site.h"
#include "session_fixture.h"
#include "shell/config_terminal_commands.h"

namespace {

using Log = std::vector<std::string>;

// The frame, the document's site and the prompts, all writing into one log.
class RecordingCommandSite : public ConfigCommandSite {
public:
    explicit RecordingCommandSite(Log& log) : log_(log) {}
    void ReloadCountryMenu() override { log_.push_back("menu"); }
    void PostFrameCommand(int command) override { log_.push_back("post " + std::to_string(command)); }
    void RepaintMainWindow() override { log_.push_back("repaint"); }
    void RefitMaximisedWindow() override { log_.push_back("refit"); }
    void CloseMainWindow() override { log_.push_back("close"); }
    void SetBusyCursor(bool on) override { log_.push_back(on ? "busy" : "idle"); }
    std::string StatusPaneText() override { return {}; }
    void SetStatusPaneText(const std::string&) override {}
    void DropSelection() override { log_.push_back("drop"); }

private:
    Log& log_;
};

class RecordingDocSite : public FakeSite {
public:
    explicit RecordingDocSite(Log& log) : log_(log) {}
    void UpdateAllViews() override { log_.push_back("views"); }
    void SetFrameTitle(const std::string& text) override
    {
        FakeSite::SetFrameTitle(text);
        log_.push_back("title");
    }

private:
    Log& log_;
};

class RecordingPrompts : public FakePrompts {
public:
    explicit RecordingPrompts(Log& log) : log_(log) {}
    int Ask(int stringId, const std::string& text, int style) override
    {
        log_.push_back("ask " + std::to_string(stringId));
        return FakePrompts::Ask(stringId, text, style);
    }

private:
    Log& log_;
};

class ConfigTerminal : public SessionTest {
protected:
    ConfigTerminal()
    {
        doc.SetSite(&docSite);
        Rec->ComType = 2, Rec->Port = 1, Rec->ByteSize = 8, Rec->BaudRateLong = 9600, Rec->TelnetPort = 23;
        std::strcpy(Rec->HostName, "unix.example");
        Rec->Platform = 10, Rec->Country = 1, Rec->Language = 1, Rec->NetWork = 1;
        Rec->Terminal = 1, Rec->Charset = 1, Rec->ControlChar = 1, Rec->CursorStyle = 0;
        Rec->MaxCols = 80, Rec->MaxRows = 24, Rec->HistoryRows = 10;
        Rec->Terminal3270 = 16, Rec->Charset3270 = 5;
        std::strcpy(Rec->Tabs, "9,17");
        Rec->AttrColors[kAttrNormal][kAttrFg] = 3;
        Rec->AttrColors[kAttrNormal][kAttrBg] = 9;
        EXPECT_EQ(AllocScreenBuffers(*Rec), 1);
        FrameRefitPending = 0;
        recorder.answers.assign(4, kAnswerNo);
        doc.strings.Translate = "session.xlt";
        TempFolder::Write("session.xlt", TableFile(1));
    }

    // A session translate file of bytes `first`, first + 1, ...
    static std::string TableFile(int first)
    {
        std::string bytes(512, '\0');
        for (int i = 0; i < 512; ++i) bytes[i] = static_cast<char>((first + i) & 0xFF);
        return bytes;
    }

    Log log;
    RecordingCommandSite site{log};
    RecordingDocSite docSite{log};
    RecordingPrompts recorder{log};
    ScopedPrompts recordedPrompts{recorder};
};

struct GeneralCase {
    const char* name;
    std::function<void(GeneralSettingsValues&)> edit;
    Log expected;
};

TEST_F(ConfigTerminal, GeneralSettingsFollowsWhatChanged)
{
    const GeneralCase cases[] = {
        {"nothing", [](GeneralSettingsValues&) {}, {"views"}},
        {"baud rate only", [](GeneralSettingsValues& v) { v.baudRate = 19200; }, {"views"}},
        {"platform", [](GeneralSettingsValues& v) { v.platform = 1; }, {"ask 67", "views"}},
        {"country", [](GeneralSettingsValues& v) { v.country = 49; }, {"ask 68", "views"}},
        {"language", [](GeneralSettingsValues& v) { v.language = 49; }, {"menu", "views"}},
        {"3270 mode on", [](GeneralSettingsValues& v) { v.family3270 = 1; }, {"drop", "ask 67", "menu", "views"}},
        {"platform, country and language",
         [](GeneralSettingsValues& v) { v.platform = 3, v.country = 46, v.language = 46; },
         {"ask 67", "ask 68", "menu", "views"}},
    };
    for (const GeneralCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rec->TerminalFamily3270 = 0;
        Rec->Platform = 10, Rec->Country = 1, Rec->Language = 1, Rec->BaudRateLong = 9600;
        doc.SetModifiedFlag(false);
        FrameRefitPending = 0;
        docSite.title = "stale";
        recorder.answers.assign(4, kAnswerNo);
        log.clear();
        GeneralSettingsValues values = GeneralValuesFrom(*Rec);
        c.edit(values);
        ApplyGeneralSettings(doc, values, false, site);
        // The title is always built again: a title naming the old rate never stays.
        Log expected = c.expected;
        expected.insert(expected.end() - 1, "title");
        EXPECT_EQ(log, expected);
        EXPECT_EQ(docSite.title, doc.BuildTitleText());
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(FrameRefitPending, 1);
        EXPECT_EQ(Rec->BaudRateLong, values.baudRate);
    }
}

TEST_F(ConfigTerminal, GeneralSettingsStoresTheHostAndTheCopyOfTheMissingName)
{
    GeneralSettingsValues values = GeneralValuesFrom(*Rec);
    values.hostName = "";
    values.telnetPort = 2323;
    ApplyGeneralSettings(doc, values, false, site);
    EXPECT_EQ(Rec->HostNameMissing, 1);
    EXPECT_EQ(Rec->TelnetPort, 2323);
    values.hostName = "other.example";
    ApplyGeneralSettings(doc, values, false, site);
    EXPECT_STREQ(Rec->HostName, "other.example");
    EXPECT_EQ(Rec->HostNameMissing, 0);
}

TEST_F(ConfigTerminal, LeavingThe3270ModeClearsTheScreen)
{
    Rec->TerminalFamily3270 = 1;
    docSite.title = "stale";
    std::memset(Rec->CharsScreen, 'x', 80);
    GeneralSettingsValues values = GeneralValuesFrom(*Rec);
    values.family3270 = 0;
    ApplyGeneralSettings(doc, values, false, site);
    EXPECT_EQ(log, (Log{"drop", "ask 67", "menu", "title", "views"}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Rec->CharsScreen), 80), std::string(80, ' '));
}

// The session's translate tables are loaded every time, before the offer of the country's
// defaults, which then replaces them.
TEST_F(ConfigTerminal, TranslateTablesAreLoadedBeforeTheCountryOffer)
{
    Rec->Country = 49;
    TempFolder::Write(doc.GetTranslateFileName(true), TableFile(7));
    Rec->Country = 1;
    std::memset(doc.tables->Outgoing, 0, 256);
    ApplyGeneralSettings(doc, GeneralValuesFrom(*Rec), false, site);
    EXPECT_EQ(doc.tables->Outgoing[0], 1);
    EXPECT_EQ(doc.tables->Incoming[0], 1);

    recorder.answers = {kAnswerYes};
    GeneralSettingsValues values = GeneralValuesFrom(*Rec);
    values.country = 49;
    ApplyGeneralSettings(doc, values, false, site);
    EXPECT_EQ(doc.tables->Outgoing[0], 7);
    EXPECT_EQ(doc.TranslateChanged, 1);
}

struct TerminalCase {
    const char* name;
    std::function<void(TerminalSettingsValues&)> edit;
    Log expected;
};

TEST_F(ConfigTerminal, TerminalEmulationFollowsWhatChanged)
{
    const TerminalCase cases[] = {
        {"nothing", [](TerminalSettingsValues&) {}, {}},
        {"emulation", [](TerminalSettingsValues& v) { v.terminal = 2; }, {"drop", "ask 67"}},
        {"character set", [](TerminalSettingsValues& v) { v.charset = 2; }, {"ask 68"}},
        {"132 columns", [](TerminalSettingsValues& v) { v.columns = 1; }, {"drop"}},
        {"25 rows", [](TerminalSettingsValues& v) { v.rows = 1; }, {"drop"}},
        {"history", [](TerminalSettingsValues& v) { v.historyRows = 40; }, {"drop"}},
        {"emulation and character set",
         [](TerminalSettingsValues& v) { v.terminal = 10, v.charset = 3; },
         {"drop", "ask 67", "ask 68"}},
    };
    for (const TerminalCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rec->Terminal = 1, Rec->Charset = 1, Rec->MaxRows = 24, Rec->HistoryRows = 10;
        SetColumns(*Rec, 80);
        ASSERT_EQ(AllocScreenBuffers(*Rec), 1);
        doc.SetModifiedFlag(false);
        recorder.answers.assign(4, kAnswerNo);
        log.clear();
        TerminalSettingsValues values = TerminalValuesFrom(*Rec);
        c.edit(values);
        ApplyTerminalSettings(doc, values, site);
        Log expected = c.expected;
        expected.insert(expected.end(), {"views", "views"});
        EXPECT_EQ(log, expected);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(Rec->Terminal, values.terminal);
        EXPECT_EQ(Rec->HistoryRows, values.historyRows);
        // The history keeps its bytes when the screen widens.
        EXPECT_EQ(Rec->HistoryRowsAlloc, values.historyRows * 80 / Rec->MaxCols);
        EXPECT_EQ(Rec->MaxCols, values.columns ? 132 : 80);
        EXPECT_EQ(Rec->MaxRows, values.rows ? 25 : 24);
        EXPECT_EQ(Rec->ScrollBottom, Rec->MaxRows - 1);
    }
}

TEST_F(ConfigTerminal, TerminalEmulationSetsTheLiveModesTabsAndCursor)
{
    Rec->MaxRows = 25;
    Rec->CursorRow = 24;
    Rec->CursorCol = 100;
    Rec->AutoWrapNow = Rec->NewLineNow = Rec->LocalEchoNow = 0;
    TerminalSettingsValues values = TerminalValuesFrom(*Rec);
    values.rows = 0;
    values.autoWrap = values.newLine = values.localEcho = 1;
    values.tabs = "1,9,17,0,200";
    values.answerBack = "station 7";
    ApplyTerminalSettings(doc, values, site);
    EXPECT_EQ(Rec->CursorRow, 23);
    EXPECT_EQ(Rec->CursorCol, 79);
    EXPECT_EQ(Rec->AutoWrapNow, 1);
    EXPECT_EQ(Rec->NewLineNow, 1);
    EXPECT_EQ(Rec->LocalEchoNow, 1);
    ASSERT_EQ(Rec->TabStopCount, 3);
    EXPECT_EQ(std::vector<int>(Rec->TabStops, Rec->TabStops + 3), (std::vector<int>{0, 8, 16}));
    EXPECT_STREQ(Rec->AnswerBack, "station 7");
}

// Without planes for the new history the window closes, but the record keeps naming the history
// it had, and the other settings stay, marked for saving.
TEST_F(ConfigTerminal, FailedPlanesCloseTheWindowWithTheOldHistory)
{
    FakePlatform platform;
    ScopedPlatform scopedPlatform(platform);
    platform.allowedAllocations = 0;
    TerminalSettingsValues values = TerminalValuesFrom(*Rec);
    values.historyRows = 300;
    values.autoWrap = 1;
    values.tabs = "5";
    ApplyTerminalSettings(doc, values, site);
    EXPECT_EQ(log, (Log{"drop", "close"}));
    EXPECT_EQ(Rec->HistoryRows, 10);
    EXPECT_EQ(Rec->AutoWrap, 1);
    EXPECT_STREQ(Rec->Tabs, "5");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ConfigTerminal, The3270FormFollowsTheModelAndTheNationalSet)
{
    Rec->TerminalFamily3270 = 1;
    Rec->CurrentFont.CharSet = 0;  // the ANSI column
    Terminal3270Values values = Terminal3270ValuesFrom(*Rec);
    values.localEcho = 1;
    ApplyTerminal3270Settings(doc, values, site);
    EXPECT_EQ(log, (Log{"views", "views"}));
    EXPECT_EQ(Rec->LocalEchoNow, 1);

    log.clear();
    values.model = 20;
    values.national = 5 + 3;
    ApplyTerminal3270Settings(doc, values, site);
    EXPECT_EQ(log, (Log{"drop", "ask 67", "views", "views"}));
    EXPECT_EQ(Rec->Terminal3270, 20);
    EXPECT_EQ(EbcdicToAscii[kNationalCodes[0]], kNationalCells[3][0].ansi);
    EXPECT_EQ(AsciiToEbcdic[kNationalCells[3][0].ansi], kNationalCodes[0]);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace
