// Host printing: file destinations, spooler jobs with their close delay, device-interface jobs
// with pass-through escapes and the held form feed, and the printer character conversion.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/host_commands/host_print.h"
#include "host_command_fakes.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

using Log = std::vector<std::string>;

std::string ReadFile(const std::string& path)
{
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

class HostPrintTest : public ::testing::Test {
protected:
    void TearDown() override { EndPrint(1); }
    int Print(const std::string& data)
    {
        return PrintData(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()));
    }

    HostFakes fakes;
};

TEST_F(HostPrintTest, FileDestinationAppendsAndDropsATrailingColon)
{
    const std::string file = ::testing::TempDir() + "hostprint_port";
    std::remove(file.c_str());
    Answers().documentStrings["Printer1"] = file + ":";
    ASSERT_EQ(StartPrint(1), kPrintingToFile);
    EXPECT_EQ(HostLog().back(), "pane 1 Printing to " + file);
    Print(std::string("one\0\xff", 5));
    // The file marker never equals a printer number: a second start closes and reopens.
    ASSERT_EQ(StartPrint(1), kPrintingToFile);
    Print("two");
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(Rec->HostPrintActive, 0);
    EXPECT_EQ(ReadFile(file), std::string("one\0\xfftwo", 8));
    std::remove(file.c_str());
}

TEST_F(HostPrintTest, FailedFileOpenLeavesPrintingOff)
{
    Answers().documentStrings["Printer2"] = "/no/such/dir/lpt";
    EXPECT_EQ(StartPrint(2), 0);
    EXPECT_EQ(Print("x"), 0);
    EXPECT_EQ(EndPrint(0), 0);
}

TEST_F(HostPrintTest, SpoolerJobWaitsForItsCloseDelay)
{
    Rec->Win32PrintSpool = 1;
    Rec->DelaySpool1 = 500;
    Answers().documentStrings["Printer1"] = "Office Laser,winspool,LPT1:";
    ASSERT_EQ(StartPrint(1), 1);
    EXPECT_EQ(HostLog(), (Log{"OpenPrinter Office Laser", "StartRawDocument session", "StartRawPage",
                              "pane 1 Printing to Office Laser"}));
    Print("first ");
    HostLog().clear();
    EXPECT_EQ(EndPrint(0), 0);  // deferred
    EXPECT_EQ(HostLog(), (Log{"SetViewTimer 2025 500"}));
    // Data for printer 1 within the delay goes into the same job.
    HostLog().clear();
    EXPECT_EQ(StartPrint(1), 1);
    EXPECT_EQ(HostLog(), (Log{"KillViewTimer 2025"}));
    Print("second");
    EXPECT_EQ(EndPrint(1), 1);  // the timer's end
    EXPECT_EQ(fakes.printers.printed, "first second");
    EXPECT_FALSE(fakes.printers.printerOpen);
}

TEST_F(HostPrintTest, SpoolerEndsAtOnceWithoutDelayOrTimer)
{
    Rec->Win32PrintSpool = 1;
    Answers().documentStrings["Printer1"] = "Office P";
    ASSERT_EQ(StartPrint(1), 1);
    HostLog().clear();
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(HostLog(), (Log{"pane 1 ", "EndRawPage", "EndRawDocument", "ClosePrinter"}));

    Rec->DelaySpool1 = 500;
    fakes.system.timersAvailable = false;
    ASSERT_EQ(StartPrint(1), 1);
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(fakes.platform.messages.back().id, 72);
}

TEST_F(HostPrintTest, SpoolerFailuresCleanUpSilently)
{
    Rec->Win32PrintSpool = 1;
    Answers().documentStrings["Printer1"] = "Office P";
    fakes.printers.pageResult = false;
    EXPECT_EQ(StartPrint(1), 0);
    EXPECT_EQ(HostLog(), (Log{"OpenPrinter Office P", "StartRawDocument session", "StartRawPage", "EndRawDocument",
                              "ClosePrinter"}));
    fakes.printers.openResult = false;
    EXPECT_EQ(StartPrint(1), 0);
    EXPECT_TRUE(fakes.platform.messages.empty());
    EXPECT_EQ(Rec->HostPrintActive, 0);

    // A failed page end still ends the document and closes the printer, and reports 0.
    fakes.printers.openResult = true;
    fakes.printers.pageResult = true;
    fakes.printers.endPageResult = false;
    ASSERT_EQ(StartPrint(1), 1);
    HostLog().clear();
    EXPECT_EQ(EndPrint(1), 0);
    EXPECT_EQ(HostLog(), (Log{"pane 1 ", "EndRawPage", "EndRawDocument", "ClosePrinter"}));
}

TEST_F(HostPrintTest, SpoolerUsesTheWindowsDefaultPrinter)
{
    Rec->Win32PrintSpool = 1;
    Answers().documentStrings["Printer3"] = "windows default printer";
    fakes.printers.defaultPrinter = "Default One,winspool,FILE:";
    ASSERT_EQ(StartPrint(3), 3);
    EXPECT_EQ(HostLog().front(), "OpenPrinter Default One");
    EndPrint(1);
    fakes.printers.defaultPrinter = "";
    EXPECT_EQ(StartPrint(3), 0);
    EXPECT_EQ(fakes.platform.messages.back().id, 49);
}

TEST_F(HostPrintTest, SwitchingPrintersEndsTheOpenJob)
{
    Rec->Win32PrintSpool = 1;
    Rec->DelaySpool1 = 500;
    Answers().documentStrings["Printer1"] = "First P";
    Answers().documentStrings["Printer2"] = "Second P";
    ASSERT_EQ(StartPrint(1), 1);
    EndPrint(0);
    HostLog().clear();
    ASSERT_EQ(StartPrint(2), 2);
    EXPECT_EQ(HostLog(), (Log{"KillViewTimer 2025", "pane 1 ", "EndRawPage", "EndRawDocument", "ClosePrinter",
                              "OpenPrinter Second P", "StartRawDocument session", "StartRawPage",
                              "pane 1 Printing to Second P"}));
}

TEST_F(HostPrintTest, CaptureFileEndsADeferredSpoolerJobFirst)
{
    Rec->Win32PrintSpool = 1;
    Rec->DelaySpool1 = 500;
    Answers().documentStrings["Printer1"] = "Office P";
    ASSERT_EQ(StartPrint(1), 1);
    EXPECT_EQ(EndPrint(0), 0);
    const std::string file = ::testing::TempDir() + "hostprint_capture";
    ASSERT_EQ(StartPrintFile(file.c_str(), "wb+"), kPrintingToFile);
    EXPECT_FALSE(fakes.printers.printerOpen);
    EXPECT_EQ(EndPrint(1), 1);
    std::remove(file.c_str());
}

TEST_F(HostPrintTest, DeviceInterfaceNamesNeedThreeParts)
{
    const struct {
        const char* name;
        const char* created;  // nullptr: message 39, nothing created
    } cases[] = {
        {"Laser,wineps,FILE:", "CreateContext wineps|Laser|FILE:"},
        {"Laser, wineps, c:\\out.prn", "CreateContext wineps|Laser|c:\\out.prn"},
        {"Laser,wineps", nullptr},
        {"Laser Jet", nullptr},
    };
    for (const auto& c : cases) {
        HostLog().clear();
        fakes.platform.messages.clear();
        Answers().documentStrings["Printer1"] = c.name;
        const int started = StartPrint(1);
        if (c.created) {
            EXPECT_EQ(started, 1) << c.name;
            EXPECT_EQ(HostLog().front(), c.created);
        } else {
            EXPECT_EQ(started, 0) << c.name;
            ASSERT_EQ(fakes.platform.messages.size(), 1u) << c.name;
            EXPECT_EQ(fakes.platform.messages[0].id, 39);
            EXPECT_EQ(fakes.platform.messages[0].text, std::string("Failed to open Terminal Printer: ") + c.name);
        }
        EndPrint(1);
    }
}

TEST_F(HostPrintTest, DeviceInterfaceSendsPassthroughBlocksAndReleasesTheContext)
{
    Answers().documentStrings["Printer1"] = "Laser,wineps,FILE:";
    fakes.printers.epsPrinting = true;
    ASSERT_EQ(StartPrint(1), 1);
    EXPECT_EQ(HostLog(), (Log{"CreateContext wineps|Laser|FILE:", "pane 1 Printing to: Laser at FILE: (wineps)",
                              "escape 33", "StartContextDocument session"}));
    HostLog().clear();
    Print("hello");
    Print(std::string(3000, 'x'));
    EXPECT_EQ(HostLog().size(), 3u);  // 5, then 2048 and 952
    EXPECT_EQ(HostLog()[0], "escape 19 [5]hello");
    EXPECT_EQ(fakes.printers.printed, "hello" + std::string(3000, 'x'));
    HostLog().clear();
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(HostLog(), (Log{"pane 1 ", "escape 11", "DeleteContext"}));
    // The next job creates a new context; the freed one is never used.
    HostLog().clear();
    ASSERT_EQ(StartPrint(1), 1);
    Print("again");
    EXPECT_EQ(HostLog().front(), "CreateContext wineps|Laser|FILE:");
    for (const std::string& entry : HostLog()) EXPECT_NE(entry, "ESCAPE WITHOUT CONTEXT");
}

TEST_F(HostPrintTest, DriverWithoutPassthroughIsRefused)
{
    Answers().documentStrings["Printer1"] = "Plain,drv,LPT1:";
    fakes.printers.passthrough = false;
    EXPECT_EQ(StartPrint(1), 0);
    EXPECT_FALSE(fakes.printers.context);
    EXPECT_EQ(fakes.platform.messages.back().id, 81);
    EXPECT_NE(fakes.platform.messages.back().text.find("Plain,drv,LPT1:"), std::string::npos);
}

TEST_F(HostPrintTest, FormFeedAtTheEndOfAJobIsHeldBack)
{
    Rec->SmartNTFF = 1;
    fakes.printers.ntPlatform = true;
    Answers().documentStrings["Printer1"] = "Laser,wineps,FILE:";
    const struct {
        std::vector<std::string> blocks;
        std::string printed;
    } cases[] = {
        {{"text\f\r\n"}, "text"},
        {{"text\f", "\r\n\x1b" "E"}, "text"},
        {{"page1\f\r\npage2"}, "page1\f\r\npage2"},
        {{"a\f\fb"}, "a\f\fb"},
        {{"a\f\r", "\n", "b\f"}, "a\f\r\nb"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(StartPrint(1), 1);
        fakes.printers.printed.clear();
        for (const std::string& block : c.blocks) Print(block);
        EndPrint(0);
        EXPECT_EQ(fakes.printers.printed, c.printed) << c.blocks[0];
    }
    // Without the setting the form feed is printed.
    Rec->SmartNTFF = 0;
    ASSERT_EQ(StartPrint(1), 1);
    fakes.printers.printed.clear();
    Print("text\f\r\n");
    EndPrint(0);
    EXPECT_EQ(fakes.printers.printed, "text\f\r\n");
}

TEST_F(HostPrintTest, PrinterConversionOfTheOpenJob)
{
    const struct {
        int charset, xlate;
        std::string in, out;
    } cases[] = {
        {1, 4, "\x82\x81", "\x82\x81"},  // OEM->ANSI as a whole, then back to OEM
        {1, 4, "b\xe9", "B\x82"},          // the incoming table, then ANSI->OEM
        {2, 0, "ab", "aB"},              // the incoming table only
        {3, 4, "\xe9", "\x82"},          // ANSI->OEM
        {4, 3, "\x82", "\xe9"},          // OEM->ANSI
        {4, 4, "\x82", "\x82"},          // already OEM
    };
    SessionTranslateTables.Incoming[static_cast<uint8_t>('b')] = 'B';
    for (const auto& c : cases) {
        Rec->Charset = c.charset;
        Rec->PrinterXlate = c.xlate;
        std::string bytes = c.in;
        PrinterCharConvert(reinterpret_cast<uint8_t*>(&bytes[0]), static_cast<int>(bytes.size()));
        EXPECT_EQ(bytes, c.out) << c.charset << "/" << c.xlate;
    }
}

TEST_F(HostPrintTest, PrintedBytesOfTheCallerStayUnchanged)
{
    const std::string file = ::testing::TempDir() + "hostprint_xlate";
    std::remove(file.c_str());
    Answers().documentStrings["Printer1"] = file;
    Rec->TermPrt1Xlate = 4;
    Rec->Charset = 3;
    ASSERT_EQ(StartPrint(1), kPrintingToFile);
    EXPECT_EQ(Rec->PrinterXlate, 4);
    uint8_t data[] = {'a', 0xE9};
    PrintData(data, 2);
    EXPECT_EQ(data[1], 0xE9);
    EndPrint(0);
    EXPECT_EQ(ReadFile(file), "a\x82");
    std::remove(file.c_str());
}

TEST_F(HostPrintTest, ScreenActionsStartAndStopHostPrinting)
{
    const std::string file = ::testing::TempDir() + "hostprint_hooks";
    std::remove(file.c_str());
    Answers().documentStrings["Printer2"] = file;
    InstallHostPrinting();
    DirtyRect dirty = kEmptyDirtyRect;
    StartHostPrint(nullptr, *Rec, dirty, 2);
    EXPECT_EQ(Rec->PrinterControllerMode, 2);
    EXPECT_EQ(Rec->HostPrintActive, kPrintingToFile);
    Print("hooked");
    StopHostPrint(nullptr, *Rec, dirty);
    EXPECT_EQ(Rec->HostPrintActive, 0);
    EXPECT_EQ(ReadFile(file), "hooked");
    PrintHooks = DefaultHostPrintHooks();
    std::remove(file.c_str());
}

}  // namespace
