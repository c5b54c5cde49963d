// Tolvi.exe under wine64: finding or creating its configuration, the command-line options, the
// instance limit, the menus of the languages and the window placement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tolvi_process.h"

namespace {

std::string Profile(const std::string& file, const char* section, const char* key)
{
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

std::string Title(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

constexpr const char* kFirstTimeSetup = "Tolvi - First time setup";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A minimal configuration with the given lines in the application section.
std::string Config(const std::string& lines) { return "[Tolvi]\r\nVersion=4.5.6.3\r\n" + lines; }

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Every start sees an empty placement profile unless the test writes one.
        WritePrivateProfileStringA("Window size", nullptr, nullptr, "Tolvi.ini");
    }
    ScratchFolder folder;
};

TEST_F(Startup, ReadsTheNamedConfigurationFromTheCurrentFolder)
{
    WriteFileText(folder.File("site.wcf"), Config("HostName=\"unix.example\"\r\nComType=2\r\n"));
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("site", folder.Path()));
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Tolvi -   unix.example : Disconnected (site.wcf)");
    EXPECT_EQ(tolvi.Close(), 0);
}

TEST_F(Startup, WithoutANameCreatesTolviWcfWithItsVersionStamp)
{
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("", folder.Path()));
    ASSERT_NE(tolvi.MainWindow(), nullptr);
    EXPECT_EQ(Profile(folder.File("tolvi.wcf"), "Tolvi", "Version"), "4.5.6.3");
    // A new configuration starts with the first-time setup.
    HWND setup = tolvi.Dialog(kFirstTimeSetup);
    ASSERT_NE(setup, nullptr);
    TolviProcess::Press(setup, IDCANCEL);
    EXPECT_EQ(tolvi.Close(), 0);
}

TEST_F(Startup, AMissingNamedFileAsksWhetherToGoOnWithDefaults)
{
    {
        TolviProcess tolvi;
        ASSERT_TRUE(tolvi.Start("nothere", folder.Path()));
        HWND box = tolvi.MessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_NE(TolviProcess::MessageText(box).find("Unable to find configuration file: 'nothere.wcf'"),
                  std::string::npos);
        TolviProcess::Press(box, IDNO);
        EXPECT_NE(tolvi.WaitExit(), -1);
        EXPECT_FALSE(Exists(folder.File("nothere.wcf")));
    }
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("nothere", folder.Path()));
    HWND box = tolvi.MessageBox();
    ASSERT_NE(box, nullptr);
    TolviProcess::Press(box, IDYES);
    ASSERT_NE(tolvi.MainWindow(), nullptr);
    EXPECT_EQ(Profile(folder.File("nothere.wcf"), "Tolvi", "Version"), "4.5.6.3");
    HWND setup = tolvi.Dialog(kFirstTimeSetup);
    ASSERT_NE(setup, nullptr);
    TolviProcess::Press(setup, IDCANCEL);
    EXPECT_EQ(tolvi.Close(), 0);
}

TEST_F(Startup, FindsTheConfigurationAlongPath)
{
    ScratchFolder elsewhere;
    WriteFileText(elsewhere.File("far.wcf"), Config("HostName=\"far.example\"\r\nComType=2\r\n"));
    char oldPath[8192] = {};
    GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
    SetEnvironmentVariableA("PATH", (elsewhere.Path() + ";" + oldPath).c_str());
    TolviProcess tolvi;
    const bool started = tolvi.Start("far.wcf", folder.Path());
    SetEnvironmentVariableA("PATH", oldPath);
    ASSERT_TRUE(started);
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(Title(window).find("far.example"), std::string::npos);
    EXPECT_FALSE(Exists(folder.File("far.wcf")));
    EXPECT_EQ(tolvi.Close(), 0);
}

// Starts with the options, saves the configuration through the File menu and reads it back.
TEST_F(Startup, CommandLineOptionsReachTheSavedConfiguration)
{
    const struct {
        const char* options;
        const char* key;
        const char* value;
    } cases[] = {
        {"/ip:10.1.2.3", "HostName", "10.1.2.3"},
        {"/ip:10.1.2.3", "ComType", "2"},
        {"/term:vt100", "Terminal", "1"},
        {"/tport:2323 /htype:10 /cs:2", "TelnetPort", "2323"},
        {"/tport:2323 /htype:10 /cs:2", "Platform", "10"},
        {"/c /user:me", "AutoConnect", "Yes"},
        {"/c /user:me", "AutoUser1", "me"},
        {"/ah3:\"Press RETURN\"", "AutoHost3", "Press RETURN"},
        {"/record:session.trc", "TraceFile", "session.trc"},
    };
    for (const auto& c : cases) {
        const std::string file = folder.File("opts.wcf");
        WriteFileText(file, Config("AutonameFiles=No\r\n"));
        TolviProcess tolvi;
        ASSERT_TRUE(tolvi.Start(std::string("opts ") + c.options, folder.Path()));
        HWND window = tolvi.MainWindow();
        ASSERT_NE(window, nullptr) << c.options;
        SendMessageA(window, WM_COMMAND, 57603, 0);  // File/Save config
        EXPECT_EQ(Profile(file, "Tolvi", c.key), c.value) << c.options;
        EXPECT_EQ(tolvi.Close(), 0);
    }
}

TEST_F(Startup, TheTitleOptionShowsItsTextWithTheBlank)
{
    WriteFileText(folder.File("t.wcf"), Config(""));
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("t /t:\"Pay Roll\"", folder.Path()));
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(Title(window).find("Pay Roll"), std::string::npos);
    EXPECT_EQ(tolvi.Close(), 0);
}

TEST_F(Startup, BadOptionsEndStartUpWithTheirMessage)
{
    WriteFileText(folder.File("bad.wcf"), Config(""));
    const struct {
        const char* options;
        const char* text;
    } cases[] = {
        {"/t", "This command line option need a value: /t"},
        {"/term:wyse", "Unknown command line option or value:  /term:\"wyse\""},
        {"/bogus:1", "Unknown command line option or value:  /bogus:\"1\""},
    };
    for (const auto& c : cases) {
        TolviProcess tolvi;
        ASSERT_TRUE(tolvi.Start(std::string("bad ") + c.options, folder.Path()));
        HWND box = tolvi.MessageBox();
        ASSERT_NE(box, nullptr) << c.options;
        EXPECT_EQ(TolviProcess::MessageText(box), c.text);
        TolviProcess::Press(box, IDOK);
        EXPECT_NE(tolvi.WaitExit(), -1) << c.options;
    }
}

TEST_F(Startup, SingleInstanceKeepsToMaxInstance)
{
    const struct {
        const char* lines;
        int allowed;
    } cases[] = {
        {"SingleInstance=YES\r\nMaxInstance=2\r\n", 2},
        {"SingleInstance=Y\r\nMaxInstance=1\r\n", 3},   // three letters must match "yes"
        {"SingleInstance=yes\r\nMaxInstance=0\r\n", 1}, // below 1 counts as 1
    };
    for (const auto& c : cases) {
        WriteFileText(folder.File("one.wcf"), Config(c.lines));
        TolviProcess sessions[3];
        int running = 0;
        for (auto& session : sessions) {
            ASSERT_TRUE(session.Start("one", folder.Path()));
            if (session.MainWindow(8000)) ++running;
            else EXPECT_EQ(session.WaitExit(), 0);
        }
        EXPECT_EQ(running, c.allowed) << c.lines;
        for (auto& session : sessions) session.Close();
    }
}

TEST_F(Startup, AnOptionWithADashWorksAsTheFirstToken)
{
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("-term:vt100", folder.Path()));
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, 57603, 0);  // File/Save config
    EXPECT_EQ(Profile(folder.File("tolvi.wcf"), "Tolvi", "Terminal"), "1");
    EXPECT_EQ(tolvi.Close(), 0);
}

TEST_F(Startup, WindowPlacementIsWrittenAndRestored)
{
    WriteFileText(folder.File("w.wcf"), Config(""));
    {
        TolviProcess tolvi;
        ASSERT_TRUE(tolvi.Start("w", folder.Path()));
        HWND window = tolvi.MainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(IsZoomed(window));  // an empty profile opens maximised
        EXPECT_EQ(tolvi.Close(), 0);
    }
    EXPECT_EQ(Profile("Tolvi.ini", "Window size", "Rect"), "80 50 400 300");
    EXPECT_EQ(Profile("Tolvi.ini", "Window size", "Show"), "3");
    EXPECT_EQ(Profile("Tolvi.ini", "Window size", "ScaleFont"), "1");

    WritePrivateProfileStringA("Window size", "Rect", "100 120 600 500", "Tolvi.ini");
    WritePrivateProfileStringA("Window size", "Show", "1", "Tolvi.ini");
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("w", folder.Path()));
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsZoomed(window));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 100);
    EXPECT_EQ(placement.rcNormalPosition.bottom, 500);
    MoveWindow(window, 50, 60, 400, 300, TRUE);
    EXPECT_EQ(tolvi.Close(), 0);
    EXPECT_EQ(Profile("Tolvi.ini", "Window size", "Rect"), "50 60 450 360");
}

}  // namespace
