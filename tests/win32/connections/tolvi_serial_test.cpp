// Tolvi.exe on a serial line: run_tolvi_serial_test.sh maps COM70 to a pty pair whose other end
// is the modem simulator (tests/peers/modem_sim.py, which sends a banner once a call connects).
// Tolvi is started with a configuration that dials, and the test reads its screen and title.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fw_dialog_test_hook.h"
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
    bool StartSession(const std::string& configuration, const std::string& options = "/c")
    {
        WriteFileText(folder.File("serial.wcf"), configuration);
        if (!tolvi.Start("serial.wcf " + options, folder.Path())) return false;
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

// The user sets the modem's commands and the number in Config/Modem type and Config/Phone Number
// (driven by control id in Tolvi's own dialogs), then connects: the modem gets the new
// initialisation string and the dial command, its CONNECT is painted, and the countdown in the
// title starts at the time-out set in the dialog.
TEST_F(TolviSerialTest, ModemAndPhoneNumberDialogsDriveTheDial)
{
    ASSERT_TRUE(StartSession("[Tolvi]\r\nVersion=4.5.6.3\r\nComType=0\r\nPort=70\r\nBaudRateLong=9600\r\n"
                             "FlowCtrl=0\r\nAutonameFiles=No\r\nAutoConnect=No\r\nDialEnable=No\r\nModemEnable=No\r\n"
                             "PhoneNumber=\"\"\r\n[DDE]\r\nDdeServerEnable=Yes\r\n", ""));
    PostMessageA(window, WM_COMMAND, 118, 0);  // Config/Modem type
    HWND modem = tolvi.MessageBox();
    ASSERT_NE(modem, nullptr);
    FwDialogDriver m(modem);
    EXPECT_EQ(m.Caption(), "Modem commands");
    EXPECT_TRUE(m.SetCheck(1046, true));
    EXPECT_TRUE(m.SetText(1103, "ATE1Q0V1"));  // initialise
    EXPECT_TRUE(m.SetText(1099, "ATDT"));      // dial prefix
    EXPECT_TRUE(m.SetText(1107, "CONNECT"));
    EXPECT_TRUE(m.Press(IDOK));
    for (int i = 0; i < 100 && m.Open(); ++i) Sleep(50);
    ASSERT_FALSE(m.Open());

    PostMessageA(window, WM_COMMAND, 32776, 0);  // Config/Phone Number / Autodial
    HWND phone = tolvi.MessageBox();
    ASSERT_NE(phone, nullptr);
    FwDialogDriver p(phone);
    EXPECT_EQ(p.Caption(), "Phone number");
    EXPECT_TRUE(p.SetCheck(1046, true));
    EXPECT_TRUE(p.SetText(1091, "555"));
    EXPECT_TRUE(p.SetText(1092, "47"));
    EXPECT_TRUE(p.Press(IDOK));
    for (int i = 0; i < 100 && p.Open(); ++i) Sleep(50);
    ASSERT_FALSE(p.Open());

    PostMessageA(window, WM_COMMAND, 256, 0);  // Connect
    std::string title;
    EXPECT_TRUE(TolviProcess::TitleShows(window, "Connecting ... (47 sec)", 20000, &title)) << title;
    TolviScreen screen;
    ASSERT_TRUE(screen.Connect()) << "Tolvi's DDE server did not answer";
    std::string shown;
    EXPECT_TRUE(screen.WaitFor(kBanner, 30000, &shown)) << shown;
    EXPECT_NE(shown.find("CONNECT 9600"), std::string::npos) << shown;
    const std::string received = ModemReceived();
    const std::size_t init = received.find("ATE1Q0V1\r");
    EXPECT_NE(init, std::string::npos) << received;
    EXPECT_NE(received.find("ATDT555\r", init), std::string::npos) << received;
    EXPECT_EQ(tolvi.CloseDiscardingChanges(), 0);
    window = nullptr;
}

// The Connect button of the tool bar: (pressed, picture), for the commands' state as the idle
// update left it.
std::pair<bool, int> ConnectButton(HWND frame)
{
    HWND toolbar = FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr);
    if (!toolbar) return {false, -1};
    const LRESULT state = SendMessageA(toolbar, TB_GETSTATE, 256, 0);
    return {state >= 0 && (state & TBSTATE_CHECKED) != 0, static_cast<int>(SendMessageA(toolbar, TB_GETBITMAP, 256, 0))};
}

bool ConnectButtonShows(HWND frame, std::pair<bool, int> wanted, int timeoutMs)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(timeoutMs); Sleep(50))
        if (ConnectButton(frame) == wanted) return true;
    return ConnectButton(frame) == wanted;
}

// The simulator never answers numbers 8xx: the title counts the seconds down, one a tick, and
// the last tick shows the session disconnected with no count left; the commands follow (the
// Connect button is no longer pressed and shows its disconnected picture).
TEST_F(TolviSerialTest, UnansweredCallEndsWhenTheCountdownRunsOut)
{
    ASSERT_TRUE(StartSession(SerialConfiguration("888", 8, false)));
    std::string title;
    ASSERT_TRUE(TolviProcess::TitleShows(window, " sec)", 10000, &title)) << title;
    EXPECT_TRUE(ConnectButtonShows(window, {true, 20}, 5000)) << ConnectButton(window).second;
    std::vector<int> counts;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 40000; Sleep(20)) {
        title = TolviProcess::Title(window);
        const std::size_t unit = title.find(" sec)");
        const std::size_t open = unit == std::string::npos ? unit : title.rfind('(', unit);
        int seconds = 0;
        if (open != std::string::npos && std::sscanf(title.c_str() + open, "(%d", &seconds) == 1) {
            if (counts.empty() || counts.back() != seconds) counts.push_back(seconds);
        } else if (title.find("Disconnected") != std::string::npos) {
            break;
        }
    }
    EXPECT_NE(title.find("COM70 : Disconnected"), std::string::npos) << title;
    EXPECT_EQ(title.find("sec)"), std::string::npos) << title;
    // A poll on a busy machine may miss a second, never see one come back or a count of 0.
    std::string seen;
    for (int count : counts) seen += std::to_string(count) + " ";
    EXPECT_GE(counts.size(), 3u) << seen;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        EXPECT_GE(counts[i], 1) << seen;
        EXPECT_LE(counts[i], 8) << seen;
        if (i > 0) {
            EXPECT_LT(counts[i], counts[i - 1]) << seen;
        }
    }
    EXPECT_TRUE(ConnectButtonShows(window, {false, 18}, 5000)) << ConnectButton(window).second;
    // No tick comes after the last: the title stays.
    Sleep(2500);
    EXPECT_EQ(TolviProcess::Title(window), title);
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
