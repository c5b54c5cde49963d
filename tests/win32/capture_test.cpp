// Session/Capture in the Windows program: the print dialog's print-to-file choice captures the
// host's text lines into the chosen file, byte for byte; a printer gets them as printed pages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "connections/capture_file.h"
#include "engine/win32/win32_view_port.h"
#include "fw_dialog_test_hook.h"
#include "session/session_record.h"
#include "shell/win32/job_printer.h"
#include "test_printer.h"

namespace {

std::string TempFile(const char* name)
{
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    return std::string(path) + name;
}

std::string ReadAll(const std::string& name)
{
    std::string text;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

void Received(const char* text) { CaptureFeed(reinterpret_cast<const uint8_t*>(text), static_cast<int>(std::strlen(text))); }

class CaptureCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        InstallJobPrinterWin32();
        FwSetDialogTestHook(&hook);
    }
    void TearDown() override
    {
        if (Rec->CaptureRunning) CaptureToFileCommand(EngineWindow(nullptr));
        FwSetDialogTestHook(nullptr);
        SetPrinterJobs(nullptr);
    }
    FwDialogTestHook hook;
};

TEST_F(CaptureCommand, PrintToFileCapturesTheHostsLinesIntoTheChosenFile)
{
    const std::string file = TempFile("tolvi_capture_test.cap");
    std::remove(file.c_str());
    hook.printAnswers = {"FILE:"};
    hook.fileAnswers = {file};
    CaptureToFileCommand(EngineWindow(nullptr));
    ASSERT_EQ(Rec->CaptureRunning, 1);
    EXPECT_EQ(hook.fileDialogNames, std::vector<std::string>{"Tolvi"});
    Received("first line\r\nsecond");
    Received(" line\r\n\xe9t\xe9\r\n");
    CaptureToFileCommand(EngineWindow(nullptr));  // off again
    EXPECT_EQ(Rec->CaptureRunning, 0);
    EXPECT_EQ(ReadAll(file), "first line\r\nsecond line\r\n\xe9t\xe9\r\n");

    // Cancelling the save dialog leaves capturing off.
    hook.printAnswers = {"FILE:"};
    hook.fileAnswers = {""};
    CaptureToFileCommand(EngineWindow(nullptr));
    EXPECT_EQ(Rec->CaptureRunning, 0);
    std::remove(file.c_str());
}

TEST_F(CaptureCommand, APrinterGetsTheLinesAsAPrintedPage)
{
    const std::string port = TempFile("tolvi_capture_printer.out");
    std::remove(port.c_str());
    std::string failure;
    ASSERT_TRUE(AddTestPrinter(port, failure)) << failure;
    hook.printAnswers = {kTestPrinter};
    CaptureToFileCommand(EngineWindow(nullptr));
    ASSERT_EQ(Rec->CaptureRunning, 1);
    Received("printed line one\r\nprinted line two\r\n");
    CaptureToFileCommand(EngineWindow(nullptr));
    EXPECT_EQ(Rec->CaptureRunning, 0);
    std::string output;
    for (int i = 0; i < 100 && output.find("%%EOF") == std::string::npos; ++i) {
        Sleep(100);
        output = ReadAll(port);
    }
    RemoveTestPrinter();
    std::remove(port.c_str());
    EXPECT_EQ(output.compare(0, 4, "%!PS"), 0) << output.substr(0, 200);
    EXPECT_NE(output.find("%%Page: 1 1"), std::string::npos);
    EXPECT_EQ(output.find("%%Page: 2"), std::string::npos);
    EXPECT_NE(output.find("%%EOF"), std::string::npos);

    // Cancel in the print dialog leaves capturing off.
    CaptureToFileCommand(EngineWindow(nullptr));
    EXPECT_EQ(Rec->CaptureRunning, 0);
}

}  // namespace
