// Print Screen and print jobs without a window: the character and colour rules of a cell, the
// lines and pages a job gives a printer that records every call, appending screens, one spooler
// document per full page, the dump file, and what happens when the printer or the file fails.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "connections/capture_file.h"
#include "connections/print_job.h"
#include "engine/screen_planes.h"
#include "fake_platform.h"
#include "fake_prompts.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/screen_dump.h"
#include "shell/view_selection.h"

namespace {

constexpr ViewWindow kWindow = nullptr;

// A printer that records every call as a line of text; a call named in failOn fails (once each
// time its count is reached).
class RecordingPrinter : public PrinterDevice {
public:
    bool StartDocument(const char* name) override { return Log(std::string("StartDoc ") + name, "StartDoc"); }
    bool StartPage() override { return Log("StartPage", "StartPage"); }
    bool EndPage() override { return Log("EndPage", "EndPage"); }
    bool EndDoc() override { return Log("EndDoc", "EndDoc"); }
    void AbortDoc() override { calls.push_back("AbortDoc"); }
    void SelectJobFont() override { calls.push_back("SelectFont"); }
    bool PrintText(int x, int y, const char* text, int length, uint32_t fg, uint32_t bg) override
    {
        char line[64];
        std::snprintf(line, sizeof line, "TextOut %d %d %06x/%06x ", x, y, fg, bg);
        return Log(line + std::string(text, static_cast<std::size_t>(length)), "TextOut");
    }
    void Release() override
    {
        calls.push_back("Release");
        ++released;
    }

    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const auto& c : calls) n += c.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
    // The TextOut lines only: "y text".
    std::vector<std::string> Printed() const
    {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.compare(0, 8, "TextOut ") != 0) continue;
            // "TextOut x y colours text"
            const std::size_t y = c.find(' ', 8) + 1;
            const std::size_t colours = c.find(' ', y) + 1;
            const std::size_t text = c.find(' ', colours) + 1;
            out.push_back(c.substr(y, colours - y) + c.substr(text));
        }
        return out;
    }

    std::vector<std::string> calls;
    std::string failOn;
    int failAt = 1;  // the how-manieth call of failOn fails
    int released = 0;

private:
    bool Log(const std::string& line, const char* name)
    {
        calls.push_back(line);
        if (failOn != name) return true;
        return ++seen_[name] != failAt;
    }
    std::map<std::string, int> seen_;
};

// Chooses as told: a printer of 66 lines (80 columns of 25 dots centred on 2400, lines of 50),
// print to file, or Cancel.
class ScriptedPrinters : public PrinterJobs {
public:
    PrinterChoice Choose(ViewWindow, const PrintJob&, bool hostAsked, bool offerSelection) override
    {
        chooseCalls.push_back(std::string(hostAsked ? "host" : "dialog") + (offerSelection ? "+selection" : ""));
        if (during) {
            auto run = during;
            during = nullptr;
            run();
        }
        PrinterChoice choice;
        choice.outcome = outcome;
        choice.selection = selection;
        if (outcome != PrinterChoice::kPrinter) return choice;
        printer.calls.clear();
        choice.device = &printer;
        choice.metrics = {2400, 3350, 40, 10, 25, 0};
        choice.metrics.verticalResolution = 50 + 50 * linesPerPage;
        choice.documentName = "session.wcf";
        choice.deviceName = "Test Printer";
        choice.port = "FILE:";
        return choice;
    }
    bool AskDumpFile(ViewWindow, const char* initial, std::string& path) override
    {
        dumpDialogs.push_back(initial);
        path = dumpFile;
        return !dumpFile.empty();
    }

    PrinterChoice::Outcome outcome = PrinterChoice::kPrinter;
    bool selection = false;
    int linesPerPage = 66;
    RecordingPrinter printer;
    std::string dumpFile;  // empty: the save dialog is cancelled
    std::vector<std::string> chooseCalls, dumpDialogs;
    std::function<void()> during;  // runs inside the next Choose (the dialog's message loop)
};

std::string ReadFile(const std::string& path)
{
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f)) data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

#ifdef _WIN32
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

class ScreenDump : public ::testing::Test {
protected:
    void SetUp() override
    {
        *Rec = SettingsRecord{};
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        Rec->HistoryRows = 10;
        Rec->ScreenDumpFgColor = 0;
        Rec->ScreenDumpBgColor = 0;
        Rec->ScreenDumpType = 1;
        Rec->AttrColors[kAttrNormal][kAttrFg] = 2;
        Rec->AttrColors[kAttrNormal][kAttrBg] = 9;
        for (int i = 0; i < kColorIndices; ++i) Rec->ColorPalette[i] = 0x010101u * static_cast<uint32_t>(i);
        SetIdentityTables(SessionTranslateTables);
        ASSERT_EQ(AllocScreenBuffers(), 1);
        const std::size_t cells = static_cast<std::size_t>(Rec->HistoryBytes) + kScreenCells;
        std::memset(Rec->CharsBase, ' ', cells);
        std::memset(Rec->FlagsBase, 0, cells);
        std::memset(Rec->FgBase, 2, cells);
        std::memset(Rec->BgBase, 9, cells);
        ForgetSelection();
        SetPrinterJobs(&printers);
        file = ::testing::TempDir() + "tolvi_dump_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::remove(file.c_str());
    }
    void TearDown() override
    {
        FlushScreenDump();
        ScreenDumpJob().fileName[0] = '\0';
        SetPrinterJobs(nullptr);
        ForgetSelection();
        FreeScreenBuffers();
        *Rec = SettingsRecord{};
        std::remove(file.c_str());
    }
    void Write(int row, int col, const std::string& text, int fg = 2, int bg = 9, int flags = 0)
    {
        const int at = row * Rec->MaxCols + col;
        std::memcpy(Rec->CharsScreen + at, text.data(), text.size());
        std::memset(Rec->FgScreen + at, fg, text.size());
        std::memset(Rec->BgScreen + at, bg, text.size());
        std::memset(Rec->FlagsScreen + at, flags, text.size());
    }
    // The printed rows as text: TextOut runs joined by their y.
    static std::string Row(const std::string& text) { return text + std::string(80 - text.size(), ' '); }

    FakePlatform platform;
    ScopedPlatform scopedPlatform{platform};
    FakePrompts prompts;
    ScopedPrompts scopedPrompts{prompts};
    ScriptedPrinters printers;
    RecordingPrinter& printer = printers.printer;
    std::string file;
};

// ---- One cell.

struct CellCase {
    const char* what;
    uint8_t character;
    int flags, fg, bg;
    int fgSetting, bgSetting;
    int fontCharset, printerCharset, field;
    uint8_t printed;
    int printedFg, printedBg;
};

class PrintCellCases : public ScreenDump, public ::testing::WithParamInterface<CellCase> {};

TEST_P(PrintCellCases, CharacterAndColours)
{
    const CellCase& c = GetParam();
    Rec->ScreenDumpFgColor = c.fgSetting;
    Rec->ScreenDumpBgColor = c.bgSetting;
    Rec->CurrentFont.CharSet = static_cast<uint8_t>(c.fontCharset);
    const PrintedCell cell = PrintCell(c.character, c.flags, c.fg, c.bg, c.printerCharset, c.field);
    EXPECT_EQ(cell.character, c.printed) << c.what;
    EXPECT_EQ(cell.foreground, c.printedFg) << c.what;
    EXPECT_EQ(cell.background, c.printedBg) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintCellCases,
    ::testing::Values(
        CellCase{"plain", 'A', 0, 7, 9, 0, 0, 0, 0, -1, 'A', 7, 9},
        CellCase{"line drawing l", 'l', 8, 7, 9, 0, 0, 0, 0, -1, '+', 7, 9},
        CellCase{"line drawing q", 'q', 8, 7, 9, 0, 0, 0, 0, -1, '-', 7, 9},
        CellCase{"line drawing x", 'x', 8, 7, 9, 0, 0, 0, 0, -1, '|', 7, 9},
        CellCase{"line drawing w", 'w', 8, 7, 9, 0, 0, 0, 0, -1, '+', 7, 9},
        CellCase{"line drawing _", '_', 8, 7, 9, 0, 0, 0, 0, -1, '_', 7, 9},
        CellCase{"line drawing other", 'a', 8, 7, 9, 0, 0, 0, 0, -1, '#', 7, 9},
        CellCase{"unflagged q", 'q', 0, 7, 9, 0, 0, 0, 0, -1, 'q', 7, 9},
        CellCase{"NUL", 0, 0, 7, 9, 0, 0, 0, 0, -1, ' ', 7, 9},
        CellCase{"equal colours move up", 'A', 0, 5, 5, 0, 0, 0, 0, -1, 'A', 15, 5},
        CellCase{"equal colours move down", 'A', 0, 12, 12, 0, 0, 0, 0, -1, 'A', 2, 12},
        CellCase{"fixed foreground", 'A', 0, 7, 9, 2, 0, 0, 0, -1, 'A', 2, 9},
        CellCase{"fixed background", 'A', 0, 7, 9, 0, 19, 0, 0, -1, 'A', 7, 19},
        CellCase{"fixed both equal", 'A', 0, 7, 9, 19, 19, 0, 0, -1, 'A', 9, 19},
        CellCase{"normal background to 19", 'A', 0, 7, 9, 0, 1, 0, 0, -1, 'A', 7, 19},
        CellCase{"other background kept", 'A', 0, 7, 4, 0, 1, 0, 0, -1, 'A', 7, 4},
        CellCase{"out of range", 'A', 0, 0, 25, 0, 0, 0, 0, -1, 'A', 2, 19},
        CellCase{"to an OEM printer", 'q', 8, 7, 9, 0, 0, 0, 255, -1, 0xC4, 7, 9},
        CellCase{"from an OEM font", 0xC4, 0, 7, 9, 0, 0, 255, 0, -1, '-', 7, 9},
        CellCase{"3270 non-display", 'S', 0, 7, 9, 0, 0, 0, 0, 0x0C, ' ', 7, 9},
        CellCase{"3270 displayed", 'S', 0, 7, 9, 0, 0, 0, 0, 0x08, 'S', 7, 9}));

// ---- Pages.

TEST_F(ScreenDump, OneScreenIsOnePageCentredWithItsColourRuns)
{
    Write(0, 0, "lqqk", 7, 9, 8);
    Write(0, 4, " Title ", 7, 9);
    Write(0, 11, "red", 4, 9);
    Write(1, 0, std::string("a\0b", 3));
    PrintScreen(kWindow, false);
    EXPECT_EQ(printers.chooseCalls, std::vector<std::string>{"dialog"});
    ASSERT_GE(printer.calls.size(), 4u);
    EXPECT_EQ(printer.calls[0], "StartDoc session.wcf");
    EXPECT_EQ(printer.calls[1], "StartPage");
    EXPECT_EQ(printer.calls[2], "SelectFont");
    // Left origin (2400 - 25 x 80) / 2, top origin one line height: runs of equal colours.
    EXPECT_EQ(printer.calls[3], "TextOut 200 50 070707/090909 +--+ Title ");
    EXPECT_EQ(printer.calls[4], "TextOut 475 50 040404/090909 red");
    EXPECT_EQ(printer.calls[5], "TextOut 550 50 020202/090909 " + std::string(66, ' '));
    const auto printed = printer.Printed();
    ASSERT_EQ(printed.size(), 3u + 23u);
    EXPECT_EQ(printed[3], "100 " + Row("a b").substr(0, 80));
    EXPECT_EQ(printed.back(), "1200 " + Row(""));
    const std::vector<std::string> tail(printer.calls.end() - 3, printer.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"EndPage", "EndDoc", "Release"}));
    EXPECT_EQ(ScreenDumpJob().open, 0);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(ScreenDump, AppendFillsThePageWhileAnotherScreenFits)
{
    Rec->ScreenDumpAppend = 1;
    PrintScreen(kWindow, false);
    EXPECT_EQ(ScreenDumpJob().open, 1);
    EXPECT_EQ(ScreenDumpJob().currentLine, 24);
    EXPECT_EQ(printer.Count("EndPage"), 0);

    prompts.answers = {kAnswerYes};
    PrintScreen(kWindow, false);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "Append screendump to: Test Printer at FILE:");
    // Lines 24 to 47 of the same page; a third screen would not fit, so the job ends.
    const auto printed = printer.Printed();
    ASSERT_EQ(printed.size(), 48u);
    EXPECT_EQ(printed[47].substr(0, 5), "2400 ");
    EXPECT_EQ(printer.Count("StartPage"), 1);
    EXPECT_EQ(printer.Count("EndDoc"), 1);
    EXPECT_EQ(printers.chooseCalls.size(), 1u);
    EXPECT_EQ(ScreenDumpJob().open, 0);

    // No ends the open job; the screen then goes to a new one.
    PrintScreen(kWindow, false);
    prompts.answers = {kAnswerNo};
    PrintScreen(kWindow, false);
    EXPECT_EQ(printers.chooseCalls.size(), 3u);
    EXPECT_EQ(printer.Count("StartPage"), 1);  // the calls of the new job only
    EXPECT_EQ(ScreenDumpJob().open, 1);
}

TEST_F(ScreenDump, EveryFullPageIsADocumentOfItsOwn)
{
    printers.linesPerPage = 10;
    PrintScreen(kWindow, false);
    EXPECT_EQ(printer.Count("StartDoc"), 3);
    EXPECT_EQ(printer.Count("StartPage"), 3);
    EXPECT_EQ(printer.Count("EndPage"), 3);
    EXPECT_EQ(printer.Count("EndDoc"), 3);
    EXPECT_EQ(printer.Count("AbortDoc"), 0);
    EXPECT_EQ(printer.released, 1);

    // A screen that ends exactly on a page: the document started after it has no page and is
    // dropped, not spooled empty.
    printers.linesPerPage = 12;
    printer.released = 0;
    PrintScreen(kWindow, false);
    EXPECT_EQ(printer.Count("EndDoc"), 2);
    EXPECT_EQ(printer.Count("AbortDoc"), 1);
    EXPECT_EQ(printer.released, 1);
}

TEST_F(ScreenDump, PrinterFailuresDropTheJobWithMessage61702)
{
    struct Failure {
        const char* call;
        int at;
        int linesAtMost;  // TextOut calls made
        int endDocs;      // documents completed before the failure
    };
    for (const Failure& f : {Failure{"StartDoc", 1, 0, 0}, Failure{"TextOut", 3, 3, 0}, Failure{"EndPage", 1, 10, 0},
                             Failure{"StartDoc", 2, 10, 1}}) {
        SCOPED_TRACE(f.call + std::string(" ") + std::to_string(f.at));
        printers.linesPerPage = 10;
        prompts.asked.clear();
        printer = RecordingPrinter{};
        printer.failOn = f.call;
        printer.failAt = f.at;
        PrintScreen(kWindow, false);
        EXPECT_EQ(ScreenDumpJob().open, 0);
        EXPECT_EQ(printer.released, 1);
        EXPECT_EQ(printer.Count("EndDoc"), f.endDocs);
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].id, kCouldNotStartPrintJob);
        // Nothing is printed after the failing call.
        EXPECT_EQ(printer.Count("TextOut"), f.linesAtMost);
        FlushScreenDump();
        EXPECT_EQ(printer.released, 1);
    }
}

TEST_F(ScreenDump, HostRequestGoesToTheDefaultPrinterAndWaitsForARunningOne)
{
    printers.during = [] { PrintScreen(kWindow, true); };
    PrintScreen(kWindow, false);
    // The host's request came while the dialog was up: it ran afterwards, without a dialog.
    EXPECT_EQ(printers.chooseCalls, (std::vector<std::string>{"dialog", "host"}));
    EXPECT_EQ(printer.Count("EndDoc"), 1);
    EXPECT_EQ(ScreenDumpJob().open, 0);

    // Cancel in the dialog: nothing printed, no job, nothing said.
    printers.outcome = PrinterChoice::kCancelled;
    printer.calls.clear();
    PrintScreen(kWindow, false);
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(ScreenDumpJob().open, 0);
    EXPECT_TRUE(prompts.asked.empty());

    // A default printer that has gone: message 61702.
    printers.outcome = PrinterChoice::kNoPrinter;
    PrintScreen(kWindow, true);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].id, kCouldNotStartPrintJob);
}

TEST_F(ScreenDump, SelectionOnlyPrintsItsCellsHistoryRowsIncluded)
{
    Rec->HistoryView = 1;
    std::memcpy(Rec->CharsScreen - Rec->MaxCols, "history row", 11);
    Write(0, 0, "first screen row");
    Write(1, 0, "second");
    // Partly outside the planes: clamped.
    Selection = CellRect{-2, -1, 5, 2};
    printers.selection = true;
    PrintScreen(kWindow, false);
    EXPECT_EQ(printers.chooseCalls, std::vector<std::string>{"dialog+selection"});
    EXPECT_EQ(printer.Printed(), (std::vector<std::string>{"50 histo", "100 first", "150 secon"}));

    // Without the Selection choice, the whole screen.
    printers.selection = false;
    PrintScreen(kWindow, false);
    EXPECT_EQ(printer.Printed().size(), 24u);
}

// ---- The dump file.

TEST_F(ScreenDump, PrintToFileWritesTheRowsAndAppends)
{
    printers.outcome = PrinterChoice::kToFile;
    printers.dumpFile = file;
    Rec->ScreenDumpAppend = 1;
    Write(0, 0, "lqk", 7, 9, 8);
    Write(0, 3, " top");
    Write(2, 0, std::string("x\0y", 3));
    PrintScreen(kWindow, false);
    EXPECT_EQ(printers.dumpDialogs, std::vector<std::string>{"Tolvi"});
    EXPECT_EQ(ScreenDumpJob().open, 1);  // a file job stays open to append
    std::string screen = Row("\xDA\xC4\xBF top") + kEol + Row("") + kEol + Row("x y") + kEol;
    for (int i = 3; i < 24; ++i) screen += Row("") + kEol;
    EXPECT_EQ(ReadFile(file), screen);

    prompts.answers = {kAnswerYes};
    PrintScreen(kWindow, false);
    EXPECT_EQ(prompts.asked.at(0).text, "Append screendump to: " + file);
    EXPECT_EQ(FlushScreenDump(), 1);
    EXPECT_EQ(ReadFile(file), screen + screen);

    // Without Append the job ends after one screen; the last name is proposed again.
    Rec->ScreenDumpAppend = 0;
    PrintScreen(kWindow, false);
    EXPECT_EQ(printers.dumpDialogs.back(), file);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    EXPECT_EQ(ReadFile(file), screen);

    // Cancel in the save dialog: no job.
    printers.dumpFile.clear();
    PrintScreen(kWindow, false);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ScreenDump, DumpFileThatCannotBeOpenedOrIsTooLongIsReported)
{
    printers.outcome = PrinterChoice::kToFile;
    printers.dumpFile = ::testing::TempDir() + "no-such-dir/dump.txt";
    PrintScreen(kWindow, false);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_NE(prompts.asked[0].text.find(printers.dumpFile), std::string::npos);
    EXPECT_NE(prompts.asked[0].text.find(std::strerror(ENOENT)), std::string::npos);

    printers.dumpFile = ::testing::TempDir() + std::string(300, 'n') + ".txt";
    PrintScreen(kWindow, false);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_NE(prompts.asked[1].text.find("too long"), std::string::npos);
    EXPECT_NE(prompts.asked[1].text.find(printers.dumpFile), std::string::npos);
}

#ifndef _WIN32
TEST_F(ScreenDump, FailedWriteIsReportedOnceAndEndsTheJob)
{
    printers.outcome = PrinterChoice::kToFile;
    printers.dumpFile = "/dev/full";
    Rec->ScreenDumpAppend = 1;
    PrintScreen(kWindow, false);
    EXPECT_EQ(ScreenDumpJob().open, 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_NE(prompts.asked[0].text.find("could not be written"), std::string::npos);
}
#endif

// ---- Received data to a printer.

TEST_F(ScreenDump, CaptureToAPrinterPrintsTheReceivedLinesPageByPage)
{
    printers.linesPerPage = 2;
    CaptureToFileCommand(kWindow);
    ASSERT_EQ(Rec->CaptureRunning, 1);
    const std::string received = "one\r\ntwo\r\nthree\r\nfour";
    CaptureFeed(reinterpret_cast<const uint8_t*>(received.data()), static_cast<int>(received.size()));
    CaptureToFileCommand(kWindow);
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(printer.Printed(), (std::vector<std::string>{"50 one", "100 two", "50 three", "100 four"}));
    EXPECT_EQ(printer.Count("EndDoc"), 2);
    EXPECT_EQ(printer.Count("AbortDoc"), 1);  // the document begun after the last full page
    EXPECT_EQ(printer.released, 1);
}

// ---- The font.

TEST(FontSearch, LargestHeightWhoseLineFitsFoundByHalving)
{
    struct Case {
        int maxCols, width;
        int numerator, denominator;  // average width = ceil(height x n / d)
    };
    for (const Case& c : {Case{80, 2400, 3, 5}, Case{132, 2400, 3, 5}, Case{80, 4960, 1, 2}, Case{80, 100, 3, 5},
                          Case{80, 10, 3, 5}, Case{1, 1 << 30, 1, 1}}) {
        int calls = 0;
        auto width = [&](int h) {
            ++calls;
            return (h * c.numerator + c.denominator - 1) / c.denominator;
        };
        int linear = 0;
        for (int h = 1; h <= 29999 && width(h) * c.maxCols <= c.width; ++h) linear = h;
        calls = 0;
        const int found = LargestFittingFontHeight(c.maxCols, c.width, width);
        EXPECT_EQ(found, linear ? linear : 1) << c.maxCols << " " << c.width;
        EXPECT_LE(calls, 17);
    }
}

}  // namespace
