#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "automation_fakes.h"
#include "connections/capture_file.h"

namespace {

#ifdef _WIN32
const std::string kEol = "\r\n";  // the capture file is a text file
#else
const std::string kEol = "\n";
#endif

std::string ReadFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string data;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof(buffer), f)) data.append(buffer, n);
    std::fclose(f);
    return data;
}

// A printer that keeps the text it is given.
class TextPrinter : public PrinterDevice {
public:
    bool StartDocument(const char*) override { return true; }
    bool StartPage() override { return true; }
    bool EndPage() override { return true; }
    bool EndDoc() override { return true; }
    void AbortDoc() override {}
    void SelectJobFont() override {}
    bool PrintText(int, int, const char* text, int length, uint32_t, uint32_t) override {
        printed.append(text, static_cast<std::size_t>(length)) += '|';
        return true;
    }
    void Release() override { LogEvent("end-printer-job"); }
    std::string printed;
};

class FakePrinters : public PrinterJobs {
public:
    PrinterChoice Choose(ViewWindow, const PrintJob&, bool, bool) override {
        LogEvent("print-dialog");
        PrinterChoice choice;
        if (printToFile) choice.outcome = PrinterChoice::kToFile;
        else if (printerOpens) {
            choice.outcome = PrinterChoice::kPrinter;
            choice.device = &printer;
            choice.metrics = {800, 1000, 10, 0, 10, 0};
        }
        return choice;
    }
    bool AskCaptureFile(ViewWindow, const char* initial, char* path, std::size_t size) override {
        LogEvent(std::string("save-dialog:") + initial);
        if (chosen.empty()) return false;
        std::snprintf(path, size, "%s", chosen.c_str());
        return true;
    }

    int printToFile = 0;
    int printerOpens = 1;
    std::string chosen;  // empty: the save dialog is cancelled
    TextPrinter printer;
};

class CaptureTest : public AutomationTest {
protected:
    void SetUp() override {
        AutomationTest::SetUp();
        SetPrinterJobs(&printers);
        // A file per case: ctest runs the cases side by side.
        path = ::testing::TempDir() + "tolvi_capture_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".cap";
        std::remove(path.c_str());
        automationView.strings["CaptureFile"] = path;
        CaptureJob().fileName[0] = '\0';
    }
    void TearDown() override {
        if (Rec->CaptureRunning) CloseCapture();
        SetPrinterJobs(nullptr);
        std::remove(path.c_str());
        AutomationTest::TearDown();
    }
    void Feed(const std::string& block) {
        FeedEmulation(nullptr, reinterpret_cast<const uint8_t*>(block.data()), static_cast<int>(block.size()));
    }

    FakePrinters printers;
    std::string path;
};

TEST_F(CaptureTest, CommandSwitchesTheCaptureFileOnAndOff) {
    Rec->CaptureToFile = 1;
    Feed("before\r\n");
    CaptureToFileCommand(nullptr);
    ASSERT_EQ(Rec->CaptureRunning, 1);
    EXPECT_EQ(ReadFile(path), "");
    Feed("one\r\ntw");
    Feed("o\r\n\r\nthr");
    Feed(std::string("e\0!", 3));
    CaptureToFileCommand(nullptr);
    EXPECT_EQ(Rec->CaptureRunning, 0);
    Feed("after\r\n");
    // CR is dropped, LF ends a line, NUL shows as a blank; the unfinished line is kept at the end.
    EXPECT_EQ(ReadFile(path), "one" + kEol + "two" + kEol + kEol + "thre !");
    EXPECT_EQ(EmulatedText(), "before\r\none\r\ntwo\r\n\r\nthre" + std::string(1, '\0') + "!after\r\n");

    CaptureToFileCommand(nullptr);  // on again: the file starts from empty
    EXPECT_EQ(ReadFile(path), "");
    Feed("again\r\n");
    CaptureToFileCommand(nullptr);
    EXPECT_EQ(ReadFile(path), "again" + kEol);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CaptureTest, FileThatCannotBeOpenedLeavesCaptureOff) {
    Rec->CaptureToFile = 1;
    automationView.strings["CaptureFile"] = ::testing::TempDir() + "no-such-dir/x.cap";
    CaptureToFileCommand(nullptr);
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(CloseCapture(), 0);
    EXPECT_TRUE(platform.messages.empty());
}

#ifndef _WIN32
// A full disk: capturing stops at the failing write, says so, and claims nothing more.
TEST_F(CaptureTest, WriteErrorStopsTheCaptureAndSaysSo) {
    ASSERT_EQ(OpenCaptureFile(nullptr, "/dev/full"), 1);
    CaptureJob().toFile = 1;
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "a line of captured host output\r\n";
    Feed(lines);
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(CaptureJob().open, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("could not be written"), std::string::npos);
    Feed("more\r\n");
    EXPECT_EQ(CloseCapture(), 0);  // already closed
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(CaptureTest, FailingCloseIsReported) {
    ASSERT_EQ(OpenCaptureFile(nullptr, "/dev/full"), 1);
    CaptureJob().toFile = 1;
    Feed("short\r\n");
    EXPECT_NE(CloseCapture(), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("end may be missing"), std::string::npos);
}
#endif

TEST_F(CaptureTest, PrintToFileAsksForTheFile) {
    printers.printToFile = 1;
    printers.printerOpens = 0;
    CaptureToFileCommand(nullptr);  // the save dialog is cancelled
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"print-dialog", "save-dialog:Tolvi"}));

    printers.chosen = path;
    EventLog().clear();
    CaptureToFileCommand(nullptr);
    ASSERT_EQ(Rec->CaptureRunning, 1);
    EXPECT_STREQ(CaptureJob().fileName, path.c_str());
    Feed("x\r\n");
    CaptureToFileCommand(nullptr);  // a file job is closed as a file
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(ReadFile(path), "x" + kEol);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"print-dialog", "save-dialog:Tolvi",
                                                     "emulation:x\r\n"}));
    CaptureToFileCommand(nullptr);  // the last file is offered next time
    EXPECT_EQ(EventLog().back(), "save-dialog:" + path);
}

TEST_F(CaptureTest, PrinterJobGetsTheBytesUntilSwitchedOff) {
    CaptureToFileCommand(nullptr);
    ASSERT_EQ(Rec->CaptureRunning, 1);
    Feed("to the\r\nprinter");
    CaptureToFileCommand(nullptr);
    EXPECT_EQ(Rec->CaptureRunning, 0);
    // Laid out in lines; the unfinished line is printed when the capture ends.
    EXPECT_EQ(printers.printer.printed, "to the|printer|");
    EXPECT_EQ(EventLog().back(), "end-printer-job");

    printers.printerOpens = 0;  // the print dialog is cancelled
    CaptureToFileCommand(nullptr);
    EXPECT_EQ(Rec->CaptureRunning, 0);
}

}  // namespace
