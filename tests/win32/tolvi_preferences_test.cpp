// The preference dialogs in the real Tolvi.exe, driven by control id from this test program:
// File name preferences renames the keyboard map and File/Save config writes the map under the
// new name; with autoname on the five per-session names cannot be edited; and Terminal Printers
// offers a Wine printer (PostScript driver, its port a file) that, chosen for printer 1 with "Raw",
// receives the host's printer-controller data byte for byte (this program is the Telnet host).
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fw_dialog_test_hook.h"
#include "loopback_listener.h"
#include "test_printer.h"
#include "tolvi_process.h"

namespace {

constexpr int kPrefsFiles = 32819, kPrefsPrinters = 32824, kFileSave = 57603;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a Config command and returns the dialog it opens (null when none came).
HWND OpenDialog(TolviProcess& tolvi, HWND frame, int command)
{
    PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
    return tolvi.MessageBox();
}

bool Closes(const FwDialogDriver& d)
{
    for (int i = 0; i < 100 && d.Open(); ++i) Sleep(50);
    return !d.Open();
}

constexpr int kKeyboardMap = 3066, kAutoname = 3338;
const int kPerSessionNames[] = {3066, 3070, 3067, 3069, 3073};

class TolviPreferences : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (frame) {
            EXPECT_EQ(tolvi.Close(), 0);
        }
    }
    void Start(const std::string& settings, const std::string& options = "")
    {
        WriteFileText(folder.File("prefs.wcf"), "[Tolvi]\r\nVersion=4.5.6.3\r\nPromptForHost=No\r\nAutoConnect=No\r\n" + settings);
        ASSERT_TRUE(tolvi.Start("prefs.wcf " + options, folder.Path()));
        frame = tolvi.MainWindow();
        ASSERT_NE(frame, nullptr);
        if (HWND box = tolvi.MessageBox(2000)) FAIL() << "Tolvi says: " << TolviProcess::MessageText(box);
    }
    // Files: the keyboard map's name set to `name`, OK, then File/Save config.
    void SaveMapAs(const std::string& name)
    {
        HWND dialog = OpenDialog(tolvi, frame, kPrefsFiles);
        ASSERT_NE(dialog, nullptr);
        FwDialogDriver d(dialog);
        ASSERT_EQ(d.Caption(), "File name preferences");
        ASSERT_TRUE(d.SetText(kKeyboardMap, name));
        ASSERT_TRUE(d.Press(IDOK));
        ASSERT_TRUE(Closes(d));
        SendMessageA(frame, WM_COMMAND, kFileSave, 0);
    }

    ScratchFolder folder;
    TolviProcess tolvi;
    HWND frame = nullptr;
};

TEST_F(TolviPreferences, RenamedKeyboardMapIsWrittenUnderTheNewNameAtSave)
{
    Start("AutonameFiles=No\r\nKeyboardMap=\"start.map\"\r\n");
    SaveMapAs("old.map");
    const std::string old = ReadAll(folder.File("old.map"));
    ASSERT_GT(old.size(), 100u) << "the map was not written under its first name";
    SaveMapAs("renamed.map");
    EXPECT_EQ(ReadAll(folder.File("renamed.map")), old);
    EXPECT_NE(ReadAll(folder.File("prefs.wcf")).find("KeyboardMap=\"renamed.map\""), std::string::npos)
        << ReadAll(folder.File("prefs.wcf"));
}

TEST_F(TolviPreferences, WithAutonameTheFivePerSessionNamesCannotBeEdited)
{
    Start("AutonameFiles=Yes\r\n");
    HWND dialog = OpenDialog(tolvi, frame, kPrefsFiles);
    ASSERT_NE(dialog, nullptr);
    FwDialogDriver d(dialog);
    EXPECT_TRUE(d.Checked(kAutoname));
    for (int id : kPerSessionNames) EXPECT_FALSE(d.Enabled(id)) << id;
    EXPECT_FALSE(d.SetText(kKeyboardMap, "other.map"));
    EXPECT_TRUE(d.Enabled(3071));  // the trace file
    EXPECT_TRUE(d.Enabled(3068));  // the start-up script
    ASSERT_TRUE(d.Click(kAutoname));
    for (int id : kPerSessionNames) EXPECT_TRUE(d.Enabled(id)) << id;
    ASSERT_TRUE(d.Press(IDCANCEL));
    EXPECT_TRUE(Closes(d));
}

TEST_F(TolviPreferences, WinePrinterChosenForPrinterOneGetsTheHostsPrintDataRaw)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string port = std::string(temp) + "tolvi_prefs_printer.out";
    DeleteFileA(port.c_str());
    std::string failure;
    ASSERT_TRUE(AddTestPrinter(port, failure)) << failure;

    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    unsigned short tcpPort = 0;
    SOCKET listener = ListenOnLoopback(1, tcpPort);
    ASSERT_NE(listener, INVALID_SOCKET);
    // Printer 1 starts as a port with the IBM-PC character set, which would change the accented
    // letters below.
    Start("ComType=2\r\nHostName=\"127.0.0.1\"\r\nTelnetPort=" + std::to_string(tcpPort) +
              "\r\nAutonameFiles=No\r\nPrinter1=\"LPT1:\"\r\nTermPrt1Xlate=4\r\nWin32PrintSpool=Yes\r\nDelaySpool1=0\r\n",
          "/c");
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener, &ready);
    timeval wait{30, 0};
    ASSERT_EQ(select(0, &ready, nullptr, nullptr, &wait), 1) << "Tolvi did not connect";
    SOCKET host = accept(listener, nullptr, nullptr);
    closesocket(listener);
    ASSERT_NE(host, INVALID_SOCKET);

    HWND dialog = OpenDialog(tolvi, frame, kPrefsPrinters);
    ASSERT_NE(dialog, nullptr);
    FwDialogDriver d(dialog);
    EXPECT_EQ(d.Caption(), "Terminal Printers");
    EXPECT_TRUE(d.Checked(3254));  // stored 4: IBM-PC
    int entry = -1;
    std::string entries;
    for (int i = 0; i < d.Count(3185); ++i) {
        entries += d.ItemText(3185, i) + " | ";
        if (d.ItemText(3185, i).rfind(std::string(kTestPrinter) + ", ", 0) == 0) entry = i;
    }
    ASSERT_GE(entry, 0) << entries;
    EXPECT_EQ(d.ItemText(3185, 0), "Windows Default Printer");
    EXPECT_EQ(d.ItemText(3185, 1), "LPT1:");
    ASSERT_TRUE(d.Pick(3185, entry));
    ASSERT_TRUE(d.Click(3252));  // Raw
    ASSERT_TRUE(d.Press(IDOK));
    ASSERT_TRUE(Closes(d));

    const std::string printed = "Z\xfcrich \xe4\xf6\xe5 line one\r\n\tsecond line\f";
    const std::string stream = "\x1b[5i" + printed + "\x1b[4i";
    ASSERT_EQ(send(host, stream.data(), static_cast<int>(stream.size()), 0), static_cast<int>(stream.size()));
    std::string output;
    for (int i = 0; i < 200 && output.size() < printed.size(); ++i) {
        Sleep(50);
        output = ReadAll(port);
    }
    Sleep(1000);  // nothing more comes
    EXPECT_EQ(ReadAll(port), printed);
    EXPECT_EQ(tolvi.CloseDiscardingChanges(), 0);
    frame = nullptr;
    closesocket(host);
    WSACleanup();
    RemoveTestPrinter();
    DeleteFileA(port.c_str());
}

}  // namespace
