// Host commands, multimedia and host printing against real Win32 under wine64: the main frame's
// show state, programs started with WinExec and ShellExecute (the cmdrecorder tool records what
// it got), MCI on a generated WAV file, and printing to a file destination and through the
// spooler and a printer context of a Wine printer.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/host_commands/host_commands.h"
#include "engine/host_commands/host_print.h"
#include "engine/host_commands/multimedia.h"
#include "host_command_fakes.h"
#include "session/session_record.h"
#include "engine/win32/win32_host_commands.h"
#include "engine/win32/win32_host_system.h"
#include "engine/win32/win32_print_device.h"
#include "test_printer.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// The recorder tool beside the tests: build/win64/tools/cmdrecorder/cmdrecorder.exe.
std::string RecorderPath() { return ProgramFolder() + "..\\..\\tools\\cmdrecorder\\cmdrecorder.exe"; }

std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    return path;
}

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

// Waits up to 20 s for a file to appear and returns its content.
std::string AwaitFile(const std::string& path)
{
    for (int i = 0; i < 400; ++i) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return ReadFile(path);
        Sleep(50);
    }
    return std::string();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// One second of 8 kHz 8-bit mono silence.
void WriteWave(const std::string& path)
{
    const uint32_t samples = 8000;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    auto put32 = [f](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto put16 = [f](uint16_t v) { std::fwrite(&v, 2, 1, f); };
    std::fwrite("RIFF", 1, 4, f);
    put32(36 + samples);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(16);
    put16(1);     // PCM
    put16(1);     // mono
    put32(8000);  // samples per second
    put32(8000);  // bytes per second
    put16(1);     // block align
    put16(8);     // bits per sample
    std::fwrite("data", 1, 4, f);
    put32(samples);
    for (uint32_t i = 0; i < samples; ++i) std::fputc(0x80, f);
    std::fclose(f);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    return DefWindowProcA(window, message, w, l);
}

// A real top-level window standing in for the main frame, with a child as its view.
class StandInFrame {
public:
    StandInFrame()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = FrameProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TolviHostCommandFrame";
        RegisterClassA(&windowClass);
        frame = CreateWindowA("TolviHostCommandFrame", "frame", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
        view = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame, nullptr,
                             windowClass.hInstance, nullptr);
        ShowWindow(frame, SW_SHOWNORMAL);
    }
    ~StandInFrame() { DestroyWindow(frame); }
    HWND frame = nullptr;
    HWND view = nullptr;
};

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class HostCommandsWin32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        system.SetWindows(window.frame, window.view);
        SetHostSystem(&system);
        SetPrintDevice(&printers);
    }
    void TearDown() override
    {
        EndPrint(1);
        SetPrintDevice(nullptr);
        SetHostSystem(nullptr);
    }
    void Csi(std::vector<int> params)
    {
        DirtyRect dirty = kEmptyDirtyRect;
        HostCommand(nullptr, *Rec, static_cast<int>(params.size()), params.data(), dirty);
    }
    int String(std::vector<int> params, const std::string& text)
    {
        Csi(params);
        return DoPrivateCommand(nullptr, Rec->StringCommandNumber, static_cast<int>(params.size()) - 1,
                                params.data() + 1, text.c_str());
    }
    int Print(const std::string& data)
    {
        return PrintData(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()));
    }

    HostFakes fakes;  // first: it installs the fakes that the real system replaces below
    StandInFrame window;
    Win32HostSystem system;
    Win32PrintDevice printers;
};

TEST_F(HostCommandsWin32Test, ShowCommandActsOnTheMainFrame)
{
    Csi({25, SW_MINIMIZE});
    Pump();
    EXPECT_TRUE(IsIconic(window.frame));
    Csi({25, SW_SHOWMAXIMIZED});
    Pump();
    EXPECT_TRUE(IsZoomed(window.frame));
    Csi({25, SW_HIDE});
    Pump();
    EXPECT_FALSE(IsWindowVisible(window.frame));
    Csi({25});
    Pump();
    EXPECT_TRUE(IsWindowVisible(window.frame));
}

TEST_F(HostCommandsWin32Test, WinExecStartsTheProgramWithItsShowMode)
{
    const std::string out = TempFolder() + "winexec_record.txt";
    DeleteFileA(out.c_str());
    String({1, SW_SHOWMINNOACTIVE}, RecorderPath() + " " + out + " first second");
    const std::vector<std::string> lines = Lines(AwaitFile(out));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" " + out + " first second"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[2], std::to_string(SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(fakes.platform.messages.empty());
    DeleteFileA(out.c_str());

    String({1}, "Z:\\no\\such\\program.exe");
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].text.rfind("WinExec \"Z:\\no\\such\\program.exe\" failed; error code = ", 0), 0u)
        << fakes.platform.messages[0].text;
}

TEST_F(HostCommandsWin32Test, ShellExecuteTakesFileVerbParametersAndFolder)
{
    const std::string folder = TempFolder();
    const std::string out = folder + "shell_record.txt";
    DeleteFileA(out.c_str());
    String({30, SW_SHOWNORMAL}, RecorderPath() + ";open;" + out + " p1 p2;" + folder);
    const std::vector<std::string> lines = Lines(AwaitFile(out));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(out + " p1 p2"), std::string::npos) << lines[0];
    std::string expectedFolder = folder;
    if (expectedFolder.size() > 3 && expectedFolder.back() == '\\') expectedFolder.pop_back();
    EXPECT_EQ(lines[1], expectedFolder);
    EXPECT_TRUE(fakes.platform.messages.empty());
    DeleteFileA(out.c_str());

    String({30}, "Z:\\no\\such\\file.xyz;open");
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].text.rfind("ShellExecute() error: ", 0), 0u);
}

TEST_F(HostCommandsWin32Test, MciOpenStatusPlayAndCloseAWave)
{
    const std::string wave = TempFolder() + "host_sound.wav";
    WriteWave(wave);
    Rec->MciDataReply = 1;
    Rec->MciOkReply = 1;
    Rec->MciErrorReply = 1;
    Rec->Charset = 3;
    EXPECT_EQ(RunMciCommand(("open " + wave + " type waveaudio alias snd").c_str()), 0);
    EXPECT_EQ(LastMciDevice(), "snd");
    fakes.host.sent.clear();
    EXPECT_EQ(RunMciCommand("status snd mode"), 0);
    EXPECT_EQ(fakes.host.sent, "stopped\r");
    fakes.host.sent.clear();
    EXPECT_EQ(RunMciCommand("STATUS snd LENGTH"), 0);
    EXPECT_EQ(fakes.host.sent, "1000\r");  // milliseconds
    fakes.host.sent.clear();
    EXPECT_EQ(RunMciCommand("play snd wait"), 0) << fakes.host.sent;
    EXPECT_EQ(fakes.host.sent, "OK\r");
    fakes.host.sent.clear();
    EXPECT_EQ(RunMciCommand("close snd"), 0);
    EXPECT_EQ(fakes.host.sent, "OK\r");
    EXPECT_EQ(LastMciDevice(), "");

    // An unknown command: the error text and the command go back to the host.
    fakes.host.sent.clear();
    EXPECT_NE(RunMciCommand("frobnicate snd"), 0);
    EXPECT_EQ(fakes.host.sent.rfind("MCI error: ", 0), 0u);
    EXPECT_NE(fakes.host.sent.find("\nMCI command: frobnicate snd\r"), std::string::npos) << fakes.host.sent;
    DeleteFileA(wave.c_str());
}

// Run on its own (see CMakeLists.txt): the process has no audio driver at all.
TEST_F(HostCommandsWin32Test, NoAudioDevicePlayFailsWithAnErrorReply)
{
    const std::string wave = TempFolder() + "host_sound_nodevice.wav";
    WriteWave(wave);
    Rec->MciErrorReply = 1;
    Rec->Charset = 3;
    EXPECT_EQ(RunMciCommand(("open " + wave + " type waveaudio alias quiet").c_str()), 0);
    fakes.host.sent.clear();
    const int error = RunMciCommand("play quiet wait");
    EXPECT_NE(error, 0);
    EXPECT_EQ(fakes.host.sent.rfind("MCI error: ", 0), 0u);
    EXPECT_NE(fakes.host.sent.find("\nMCI command: play quiet wait\r"), std::string::npos) << fakes.host.sent;
    std::printf("play without an audio device: MCI error %d\n", error);
    RunMciCommand("close quiet");
    DeleteFileA(wave.c_str());
}

TEST_F(HostCommandsWin32Test, InstalledHostCommandsReachTheWindowsAndPrinters)
{
    InstallWin32HostCommands(window.frame, window.view);
    Csi({25, SW_MINIMIZE});
    Pump();
    EXPECT_TRUE(IsIconic(window.frame));
    const std::string file = TempFolder() + "host_print_hooks.prn";
    DeleteFileA(file.c_str());
    Answers().documentStrings["Printer3"] = file;
    DirtyRect dirty = kEmptyDirtyRect;
    StartHostPrint(nullptr, *Rec, dirty, 3);
    Print("through the hooks");
    StopHostPrint(nullptr, *Rec, dirty);
    EXPECT_EQ(ReadFile(file), "through the hooks");
    PrintHooks = DefaultHostPrintHooks();
    DeleteFileA(file.c_str());
}

TEST_F(HostCommandsWin32Test, FileDestinationIsByteExact)
{
    const std::string file = TempFolder() + "host_print_port.prn";
    DeleteFileA(file.c_str());
    Answers().documentStrings["Printer1"] = file + ":";
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    ASSERT_EQ(StartPrint(1), kPrintingToFile);
    Print(all);
    Print("\r\n\x1b[4");  // what the interpreter prints of a broken-off printer-off sequence
    ASSERT_EQ(StartPrint(1), kPrintingToFile);  // reopened in append mode
    Print("tail");
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(ReadFile(file), all + "\r\n\x1b[4" + "tail");
    DeleteFileA(file.c_str());
}

// ---- The Wine printer of the tests (test_printer.h), created fresh for each test.

class WinePrinterTest : public HostCommandsWin32Test {
protected:
    void SetUp() override
    {
        HostCommandsWin32Test::SetUp();
        port = TempFolder() + "tolvi_test_printer.out";
        DeleteFileA(port.c_str());
        std::string failure;
        ASSERT_TRUE(AddTestPrinter(port, failure)) << failure;
    }
    void TearDown() override
    {
        HostCommandsWin32Test::TearDown();
        RemoveTestPrinter();
        DeleteFileA(port.c_str());
    }
    // Pumps messages until the view's close-delay timer fires and runs its EndPrint, as the view's
    // timer handler does; false when it never came.
    bool RunCloseDelayTimer()
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 5000) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_TIMER && message.hwnd == window.view && message.wParam == kPrintCloseTimer) {
                    KillTimer(window.view, kPrintCloseTimer);
                    EndPrint(1);
                    return true;
                }
                DispatchMessageA(&message);
            }
            Sleep(10);
        }
        return false;
    }
    std::string AwaitOutput()
    {
        for (int i = 0; i < 100; ++i) {
            const std::string data = ReadFile(port);
            if (!data.empty()) return data;
            Sleep(50);
        }
        return std::string();
    }

    std::string port;
};

TEST_F(WinePrinterTest, SpoolerJobWritesRawBytesToThePrinterPort)
{
    Rec->Win32PrintSpool = 1;
    Rec->DelaySpool1 = 0;
    Answers().documentStrings["Printer1"] = kTestPrinter;
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    ASSERT_EQ(StartPrint(1), 1);
    Print(all);
    Print("\x1b[4");
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(AwaitOutput(), all + "\x1b[4");
}

TEST_F(WinePrinterTest, BurstsWithinTheCloseDelayBecomeOneJob)
{
    Rec->Win32PrintSpool = 1;
    Rec->DelaySpool1 = 300;
    Answers().documentStrings["Printer1"] = std::string(kTestPrinter) + ",winspool," + port;
    ASSERT_EQ(StartPrint(1), 1);
    Print("first burst;");
    EXPECT_EQ(EndPrint(0), 0);  // deferred: the view's timer 2025 runs
    ASSERT_EQ(StartPrint(1), 1);
    Print("second burst");
    EXPECT_EQ(EndPrint(0), 0);
    ASSERT_TRUE(RunCloseDelayTimer());
    EXPECT_EQ(Rec->HostPrintActive, 0);
    EXPECT_EQ(AwaitOutput(), "first burst;second burst");
}

TEST_F(WinePrinterTest, WindowsDefaultPrinterServesBothModes)
{
    ASSERT_TRUE(SetDefaultPrinterA(kTestPrinter));
    Answers().documentStrings["Printer1"] = "Windows Default Printer";
    Rec->Win32PrintSpool = 1;
    ASSERT_EQ(StartPrint(1), 1);
    Print("raw to the default");
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_EQ(AwaitOutput(), "raw to the default");

    DeleteFileA(port.c_str());
    Rec->Win32PrintSpool = 0;
    Answers().documentStrings["Printer1"] = "";
    ASSERT_EQ(StartPrint(1), 1) << printers.DefaultPrinter();
    Print("context of the default");
    EXPECT_EQ(EndPrint(0), 1);
    EXPECT_NE(AwaitOutput().find("context of the default"), std::string::npos);
}

TEST_F(WinePrinterTest, PrinterContextPassesTheBytesThrough)
{
    Rec->Win32PrintSpool = 0;
    Answers().documentStrings["Printer1"] = std::string(kTestPrinter) + ",winspool," + port;
    ASSERT_EQ(StartPrint(1), 1);
    const std::string data = "passed through\r\n\x1b(s0B" + std::string(3000, 'x') + "\f";
    Print(data);
    EXPECT_EQ(EndPrint(0), 1);
    const std::string output = AwaitOutput();
    EXPECT_NE(output.find(data), std::string::npos) << output.substr(0, 200);
    // The context was released with the job; the next job gets a new one.
    ASSERT_EQ(StartPrint(1), 1);
    Print("again");
    EXPECT_EQ(EndPrint(0), 1);
}

}  // namespace
