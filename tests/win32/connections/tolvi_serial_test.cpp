// Tolvi.exe on a serial line: run_tolvi_serial_test.sh maps COM70 to a pty pair whose other end
// is the modem simulator (tests/peers/modem_sim.py, which sends a banner once a call connects).
// Tolvi is started with a configuration that dials, and the test reads its screen and title.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tolvi_process.h"
#include "tolvi_screen.h"

namespace {

constexpr char kBanner[] = "Welcome to the modem host";

// A serial session on COM70 that dials `number` with a countdown of `timeout` seconds; the
// modem's initialisation string is sent only when `modem` is on.
std::string SerialConfiguration(const char* number, int timeout, bool modem)
{
    return std::string("[Tolvi]\r\nVersion=4.5.6.3\r\nComType=0\r\nPort=70\r\nBaudRateLong=9600\r\n"
                       "FlowCtrl=0\r\nAutonameFiles=No\r\nDialEnable=Yes\r\n") +
           "ModemEnable=" + (modem ? "Yes" : "No") + "\r\nPhoneNumber=\"" + number + "\"\r\nDialTimeout=" +
           std::to_string(timeout) + "\r\n[DDE]\r\nDdeServerEnable=Yes\r\n";
}

// The simulator's log: "<seconds> <hex byte>" for every byte it received, "<seconds> DTR <0|1>"
// and "<seconds> BREAK <0|1>" for the line changes.
std::vector<std::string> ModemLog()
{
    const char* folder = std::getenv("TOLVI_MODEM_DIR");
    std::ifstream log(std::string("Z:") + (folder ? folder : "") + "/received.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

std::string ModemReceived()
{
    std::string text;
    for (const std::string& line : ModemLog()) {
        double time = 0;
        unsigned byte = 0;
        if (line.find_first_of("DB") == std::string::npos && std::sscanf(line.c_str(), "%lf %x", &time, &byte) == 2)
            text += static_cast<char>(byte);
    }
    return text;
}

// When the simulator saw the break begin and end, in seconds.
std::vector<double> BreakChanges()
{
    std::vector<double> times;
    for (const std::string& line : ModemLog()) {
        double time = 0;
        if (line.find(" BREAK ") != std::string::npos && std::sscanf(line.c_str(), "%lf", &time) == 1)
            times.push_back(time);
    }
    return times;
}

class TolviSerialTest : public ::testing::Test {
protected:
    bool StartSession(const std::string& configuration)
    {
        WriteFileText(folder.File("serial.wcf"), configuration);
        if (!tolvi.Start("serial.wcf /c", folder.Path())) return false;
        window = tolvi.MainWindow();
        if (!window)
            if (HWND box = tolvi.MessageBox(0)) ADD_FAILURE() << "Tolvi says: " << TolviProcess::MessageText(box);
        return window != nullptr;
    }
    void TearDown() override
    {
        if (window) {
            EXPECT_EQ(tolvi.Close(), 0);
        }
    }

    ScratchFolder folder;
    TolviProcess tolvi;
    HWND window = nullptr;
};

TEST_F(TolviSerialTest, DialsTheModemAndShowsWhatTheHostSends)
{
    ASSERT_TRUE(StartSession(SerialConfiguration("555", 30, true)));
    std::string title;
    EXPECT_TRUE(TolviProcess::TitleShows(window, "COM70 : Connecting ... (", 20000, &title)) << title;

    TolviScreen screen;
    ASSERT_TRUE(screen.Connect()) << "Tolvi's DDE server did not answer";
    std::string shown;
    // The modem's echo of the dial command and its reply reach the screen, then the host's text.
    EXPECT_TRUE(screen.WaitFor(kBanner, 30000, &shown)) << shown;
    EXPECT_NE(shown.find("ATDT555"), std::string::npos) << shown;
    EXPECT_NE(shown.find("CONNECT 9600"), std::string::npos) << shown;
    // The connect reply ended the countdown.
    EXPECT_TRUE(TolviProcess::TitleShows(window, "COM70", 5000, &title)) << title;
    EXPECT_EQ(title.find("Connecting"), std::string::npos) << title;
    EXPECT_EQ(title.find("sec)"), std::string::npos) << title;

    // Typed text goes out through the port; the host's answer comes back to the screen.
    ASSERT_TRUE(screen.ToHost("hello modem<0D>"));
    EXPECT_TRUE(screen.WaitFor("host:hello modem", 10000, &shown)) << shown;

    // The break key action: the view's timer ends the break after 300 ms.
    ASSERT_TRUE(screen.ToHostAction("%break%"));
    const DWORD start = GetTickCount();
    while (BreakChanges().size() < 2 && GetTickCount() - start < 5000) Sleep(50);
    const std::vector<double> changes = BreakChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_GE(changes[1] - changes[0], 0.25);
    EXPECT_LT(changes[1] - changes[0], 1.0);

    // Closing a connected session asks first, then hangs the modem up before the program ends.
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND question = tolvi.MessageBox();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(TolviProcess::MessageText(question).find("disconnect this session"), std::string::npos);
    TolviProcess::Press(question, IDYES);
    EXPECT_EQ(tolvi.WaitExit(30000), 0);
    window = nullptr;
    EXPECT_NE(ModemReceived().find("+++ATH\r"), std::string::npos) << ModemReceived();
}

TEST_F(TolviSerialTest, UnansweredCallEndsWhenTheCountdownRunsOut)
{
    // The simulator never answers numbers 8xx.
    // A countdown long enough to be seen on a loaded machine; which second is seen does not matter.
    ASSERT_TRUE(StartSession(SerialConfiguration("888", 6, false)));
    std::string title;
    EXPECT_TRUE(TolviProcess::TitleShows(window, " sec)", 10000, &title)) << title;
    EXPECT_TRUE(TolviProcess::TitleShows(window, "COM70 : Disconnected", 20000, &title)) << title;
    EXPECT_EQ(title.find("sec)"), std::string::npos) << title;
}

// The port is open while the modem dials, so Connect / Disconnect hangs up at once, without the
// question a Telnet connect in progress gets.
TEST_F(TolviSerialTest, ConnectCommandWhileDiallingHangsUpAtOnce)
{
    ASSERT_TRUE(StartSession(SerialConfiguration("888", 60, false)));
    std::string title;
    ASSERT_TRUE(TolviProcess::TitleShows(window, "Connecting ... (", 10000, &title)) << title;
    PostMessageA(window, WM_COMMAND, 256, 0);
    EXPECT_TRUE(TolviProcess::TitleShows(window, "COM70 : Disconnected", 10000, &title)) << title;
    EXPECT_EQ(tolvi.MessageBox(0), nullptr);
}

}  // namespace
