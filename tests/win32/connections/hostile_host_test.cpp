// Tolvi.exe against hostile hosts on loopback: the test program is the Telnet (or tn3270) host.
// And against hostile files at start-up: a configuration of absurd values, a play file that is
// not a recording.
// A flood that carries program commands starts nothing while the administrator has locked the
// DOS box; message boxes made by host data never stop the line and come one at a time; random
// tn3270 records neither stack boxes nor stop the session; a host that closes inside an escape
// sequence or a string does not eat the next connection's greeting.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "loopback_listener.h"
#include "tolvi_process.h"
#include "tolvi_screen.h"

namespace {

constexpr char kDeviceAttributes[] = "\x1b[c";
constexpr char kAttributesReply[] = "\x1b[?";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct BoxSearch {
    DWORD process;
    int count;
    HWND first;
};

BOOL CALLBACK CountBox(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<BoxSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && std::string(name) == "#32770" && IsWindowVisible(window)) {
        if (!search->first) search->first = window;
        ++search->count;
    }
    return TRUE;
}

// The visible message boxes of the process (and the first of them).
int MessageBoxes(DWORD process, HWND* first = nullptr)
{
    BoxSearch search{process, 0, nullptr};
    EnumWindows(CountBox, reinterpret_cast<LPARAM>(&search));
    if (first) *first = search.first;
    return search.count;
}

// The whole screen into build/win64/screens/NAME.png.
void Screenshot(const std::string& name)
{
    const std::string folder = TolviProcess::BinFolder() + "..\\screens";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string line = "\"" + TolviProcess::BinFolder() + "screengrab.exe\" \"" + folder + "\\" + name + ".png\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    WaitForSingleObject(info.hProcess, 20000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

// Text with the host's program command in it every `every` bytes.
std::string FloodWith(const std::string& command, std::size_t bytes, std::size_t every)
{
    std::string flood;
    flood.reserve(bytes + bytes / every * command.size());
    std::mt19937 random(22);
    while (flood.size() < bytes) {
        for (std::size_t i = 0; i < every; ++i) {
            const unsigned r = random() % 100;
            flood += r < 3 ? '\r' : r < 6 ? '\n' : static_cast<char>(' ' + random() % 95);
        }
        flood += command;
    }
    return flood;
}

class HostileHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        listener = ListenOnLoopback(1, port);
        ASSERT_NE(listener, INVALID_SOCKET);
    }
    void TearDown() override
    {
        if (host != INVALID_SOCKET) closesocket(host);
        if (listener != INVALID_SOCKET) closesocket(listener);
        if (window) {
            // Whatever box is left is answered, so that the frame can close.
            HWND box = nullptr;
            while (MessageBoxes(tolvi.Id(), &box) > 0) {
                TolviProcess::Press(box, IDOK);
                Sleep(200);
            }
            PostMessageA(window, WM_CLOSE, 0, 0);
            if (tolvi.WaitExit(5000) == -1) {
                if (HWND question = tolvi.MessageBox(2000)) TolviProcess::Press(question, IDYES);
                tolvi.WaitExit(15000);
            }
        }
        WSACleanup();
    }

    // Starts Tolvi on a configuration of the lines given, connected to this host.
    void Start(const std::string& lines)
    {
        WriteFileText(folder.File("hostile.wcf"),
                      "[Tolvi]\r\nVersion=4.5.6.3\r\nComType=2\r\nTerminal=1\r\nHostName=\"127.0.0.1\"\r\n"
                      "TelnetPort=" + std::to_string(port) +
                          "\r\nPromptForHost=No\r\nAutonameFiles=No\r\nStatusbar=Yes\r\n" + lines);
        ASSERT_TRUE(tolvi.Start("hostile.wcf /c", folder.Path()));
        window = tolvi.MainWindow();
        ASSERT_NE(window, nullptr);
        Accept();
    }
    void Accept()
    {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener, &ready);
        timeval wait{30, 0};
        ASSERT_EQ(select(0, &ready, nullptr, nullptr, &wait), 1) << "Tolvi did not connect";
        host = accept(listener, nullptr, nullptr);
        ASSERT_NE(host, INVALID_SOCKET);
        received.clear();
    }
    void Send(const std::string& bytes)
    {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const int n = send(host, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            ASSERT_GT(n, 0) << "the host could not send (" << WSAGetLastError() << ")";
            sent += static_cast<std::size_t>(n);
        }
    }
    // Reads what Tolvi sends until `text` has come (true) or the time is up.
    bool Receive(const std::string& text, int timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (received.find(text) == std::string::npos) {
            const DWORD waited = GetTickCount() - start;
            if (waited > static_cast<DWORD>(timeoutMs)) return false;
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(host, &ready);
            timeval wait{0, 100000};
            if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
            char block[4096];
            const int n = recv(host, block, sizeof block, 0);
            if (n <= 0) return false;
            received.append(block, static_cast<std::size_t>(n));
        }
        return true;
    }
    // Asks for the device attributes and waits for the answer: Tolvi is still reading.
    bool StillReading(int timeoutMs = 60000)
    {
        received.clear();
        Send(kDeviceAttributes);
        return Receive(kAttributesReply, timeoutMs);
    }
    void CloseHost()
    {
        closesocket(host);
        host = INVALID_SOCKET;
    }

    ScratchFolder folder;
    TolviProcess tolvi;
    HWND window = nullptr;
    SOCKET listener = INVALID_SOCKET;
    SOCKET host = INVALID_SOCKET;
    unsigned short port = 0;
    std::string received;
};

TEST_F(HostileHost, AFloodWithProgramCommandsStartsNothingWhileTheDosBoxIsLocked)
{
    ASSERT_NO_FATAL_FAILURE(Start("[LockSettings]\r\nLockDosBox=Yes\r\n"));
    const std::string marker = folder.File("ran.txt");
    Send(FloodWith("\x1b[1ycmd.exe /c echo ran>" + marker + "\x1b\\", 2 << 20, 4096));
    ASSERT_TRUE(StillReading()) << "the flood stalled the line";
    Sleep(2000);
    EXPECT_FALSE(Exists(marker)) << "a host command started a program";
    EXPECT_EQ(MessageBoxes(tolvi.Id()), 0) << "a refused start shows nothing";
}

TEST_F(HostileHost, WithTheDefaultSwitchesTheHostStartsAProgram)
{
    ASSERT_NO_FATAL_FAILURE(Start(""));
    const std::string marker = folder.File("ran.txt");
    Send("\x1b[1;0ycmd.exe /c echo ran>" + marker + "\x1b\\");
    const DWORD start = GetTickCount();
    while (!Exists(marker) && GetTickCount() - start < 30000) Sleep(100);
    EXPECT_TRUE(Exists(marker)) << "the program command of the host did not run";
}

TEST_F(HostileHost, FailedProgramStartsShowOneBoxAndTheLineGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(Start(""));
    Send(FloodWith("\x1b[1ynosuchprogram.exe\x1b\\", 1 << 20, 2048));
    HWND box = tolvi.MessageBox(60000);
    ASSERT_NE(box, nullptr) << "the failed start was not reported";
    const std::string text = TolviProcess::MessageText(box);
    EXPECT_NE(text.find("WinExec \"nosuchprogram.exe\" failed; error code = "), std::string::npos) << text;

    // While the box is up the host is still read, and further failures stack no box.
    ASSERT_TRUE(StillReading()) << "the box stopped the line";
    Send(FloodWith("\x1b[1ynosuchprogram.exe\x1b\\", 256 << 10, 1024));
    ASSERT_TRUE(StillReading());
    EXPECT_EQ(MessageBoxes(tolvi.Id()), 1);
    Screenshot("hostile-host-message");

    TolviProcess::Press(box, IDOK);
    Sleep(1500);
    EXPECT_EQ(MessageBoxes(tolvi.Id()), 0) << "the counted messages are not shown later";
    ASSERT_TRUE(StillReading());
}

TEST_F(HostileHost, AReconnectAfterACloseInsideASequenceGetsTheWholeGreeting)
{
    // Tolvi connects again at once when the host hangs up.
    ASSERT_NO_FATAL_FAILURE(Start("WhenHostHungup=2\r\n[DDE]\r\nDdeServerEnable=Yes\r\n"));
    TolviScreen screen;
    ASSERT_TRUE(screen.Connect()) << "Tolvi's DDE server did not answer";
    const struct {
        const char* leftOver;  // what the last connection ended in
        const char* greeting;
    } cases[] = {
        {"\x1b[1;2", "Welcome one"},                      // a CSI sequence: the W would end it
        {"\x1bP1;1|unfinished", "Welcome two\r\nline 2"}, // a DCS string without its end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.greeting);
        Send(std::string("\x1b[2J\x1b[H") + c.leftOver);
        Sleep(500);
        CloseHost();
        ASSERT_NO_FATAL_FAILURE(Accept());
        Send(c.greeting);
        std::string shown;
        EXPECT_TRUE(screen.WaitFor(std::string(c.greeting).substr(0, 11), 20000, &shown)) << shown;
        if (std::string(c.greeting).find("line 2") != std::string::npos) {
            EXPECT_NE(shown.find("line 2"), std::string::npos) << shown;
        }
    }
}

// ---- tn3270

constexpr unsigned char kIac = 255, kSb = 250, kSe = 240, kWill = 251, kDo = 253, kEor = 239;
constexpr unsigned char kBinary = 0, kTerminalType = 24, kEndOfRecord = 25;

std::string Command(unsigned char verb, unsigned char option) { return {char(kIac), char(verb), char(option)}; }

std::string Record(const std::string& data)
{
    std::string out;
    for (char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == kIac) out += c;
    }
    return out + char(kIac) + char(kEor);
}

TEST_F(HostileHost, RandomTn3270RecordsNeitherStackBoxesNorStopTheSession)
{
    ASSERT_NO_FATAL_FAILURE(Start("[3270]\r\nTerminalFamily3270=1\r\n"));
    // Terminal type first, then END-OF-RECORD and BINARY both ways.
    Send(Command(kDo, kTerminalType));
    ASSERT_TRUE(Receive(Command(kWill, kTerminalType), 20000));
    Send(std::string{char(kIac), char(kSb), char(kTerminalType), 1, char(kIac), char(kSe)});
    ASSERT_TRUE(Receive("IBM-", 20000));
    for (unsigned char option : {kEndOfRecord, kBinary}) Send(Command(kDo, option) + Command(kWill, option));
    Sleep(1000);

    // Records of random bytes, many of them bad write commands and orders; the first is a known
    // bad one, so that a message is certain.
    std::mt19937 random(3270);
    std::string burst = Record("\xF7\xC3" "A");
    for (int r = 0; r < 400; ++r) {
        std::string data(1 + random() % 200, '\0');
        for (char& c : data) c = static_cast<char>(random() % 256);
        if (r % 2) data[0] = static_cast<char>("\xF1\xF5\x7E\xF3"[random() % 4]);
        burst += Record(data);
    }
    Send(burst);
    HWND box = tolvi.MessageBox(60000);
    ASSERT_NE(box, nullptr) << "no message about the bad records";

    // A Read Buffer is still answered with an inbound record while the box is up (what the burst
    // itself asked for is read away first).
    Receive("nothing comes", 3000);
    received.clear();
    Send(Record("\xF2"));
    EXPECT_TRUE(Receive(std::string{char(kIac), char(kEor)}, 30000)) << "the box stopped the session";
    Send(burst);
    Sleep(2000);
    EXPECT_EQ(MessageBoxes(tolvi.Id()), 1) << "boxes stacked";
    TolviProcess::Press(box, IDOK);
}

// ---- hostile files at start-up

class HostileFile : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (tolvi.MainWindow(0)) {
            EXPECT_EQ(tolvi.Close(), 0);
        }
    }
    // The one message box of the start, answered; false when none came.
    bool OneMessage(const std::string& expected, std::string* text)
    {
        HWND box = tolvi.MessageBox(30000);
        if (!box) return false;
        *text = TolviProcess::MessageText(box);
        Screenshot("hostile-file-" + expected.substr(0, 6));
        TolviProcess::Press(box, IDOK);
        return text->find(expected) != std::string::npos;
    }
    // No further box for a while.
    bool NoMoreMessages()
    {
        Sleep(3000);
        return MessageBoxes(tolvi.Id()) == 0;
    }

    ScratchFolder folder;
    TolviProcess tolvi;
};

TEST_F(HostileFile, AbsurdValuesFallBackWithOneMessageAndTheScreenWorks)
{
    const std::string longText(10240, 'x');
    WriteFileText(folder.File("absurd.wcf"),
                  "[Tolvi]\r\nVersion=4.5.6.3\r\nAutonameFiles=No\r\nMaxRows=100000\r\nMaxCols=-80\r\n"
                  "HistoryRows=99999999\r\nFrameFgColor=999\r\nNormalFgColor=999\r\nNormalBgColor=-7\r\n"
                  "InBoxFg=999 1000\r\nHostName=\"" + longText + "\"\r\nAppName=\"" + longText +
                      "\"\r\nLogo=\"" + longText + "\"\r\n[DDE]\r\nDdeServerEnable=Yes\r\n");
    WriteFileText(folder.File("greet.trc"), "COMM: H e l l o SP t h e r e\r\n");
    ASSERT_TRUE(tolvi.Start("absurd.wcf /play:greet.trc", folder.Path()));
    std::string text;
    EXPECT_TRUE(OneMessage("were replaced by their defaults", &text)) << text;
    for (const char* key : {"MaxRows", "MaxCols", "HistoryRows", "FrameFgColor", "NormalFgColor", "NormalBgColor",
                            "InBoxFg"}) {
        EXPECT_NE(text.find(key), std::string::npos) << key << " missing from: " << text;
    }
    ASSERT_NE(tolvi.MainWindow(), nullptr);
    EXPECT_TRUE(NoMoreMessages());

    TolviScreen screen;
    ASSERT_TRUE(screen.Connect()) << "Tolvi's DDE server did not answer";
    std::string shown;
    EXPECT_TRUE(screen.WaitFor("Hello there", 20000, &shown)) << shown;
}

TEST_F(HostileFile, PlayingAFileThatIsNotARecordingSaysSoOnce)
{
    WriteFileText(folder.File("plain.wcf"), "[Tolvi]\r\nVersion=4.5.6.3\r\nAutonameFiles=No\r\n");
    WriteFileText(folder.File("picture.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20));
    ASSERT_TRUE(tolvi.Start("plain.wcf /play:picture.png", folder.Path()));
    std::string text;
    EXPECT_TRUE(OneMessage("Failed to play file: ", &text)) << text;
    EXPECT_NE(text.find("picture.png (not a recording)"), std::string::npos) << text;
    ASSERT_NE(tolvi.MainWindow(), nullptr);
    EXPECT_TRUE(NoMoreMessages());
}

}  // namespace
