// Tolvi.exe's Connect / Disconnect command while a Telnet connect is still in progress: the host
// is a loopback listener whose queue of connections the test has filled, so Tolvi's connect
// stays unanswered, and the command asks whether to abort it.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "loopback_listener.h"
#include "tolvi_process.h"

namespace {

TEST(TolviConnect, ConnectCommandWhileConnectingAsksBeforeAborting)
{
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    // A listener that accepts nothing, with room for no connection beyond the one queued here:
    // the system drops further connection requests, which then stay in progress.
    unsigned short port = 0;
    SOCKET listener = ListenOnLoopback(0, port);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    SOCKET queued = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_EQ(connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    ScratchFolder folder;
    WriteFileText(folder.File("pending.wcf"),
                  "[Tolvi]\r\nVersion=4.5.6.3\r\nComType=2\r\nHostName=\"127.0.0.1\"\r\nTelnetPort=" +
                      std::to_string(port) + "\r\nPromptForHost=No\r\nAutonameFiles=No\r\n");
    TolviProcess tolvi;
    ASSERT_TRUE(tolvi.Start("pending.wcf /c", folder.Path()));
    HWND window = tolvi.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TolviProcess::TitleShows(window, "Connecting ...", 10000)) << TolviProcess::Title(window);

    for (int answer : {IDNO, IDYES}) {
        PostMessageA(window, WM_COMMAND, 256, 0);
        HWND question = tolvi.MessageBox();
        ASSERT_NE(question, nullptr);
        EXPECT_NE(TolviProcess::MessageText(question).find("Connection in progress.   Abort?"), std::string::npos)
            << TolviProcess::MessageText(question);
        TolviProcess::Press(question, answer);
        if (answer == IDNO) {
            Sleep(1000);
            EXPECT_NE(TolviProcess::Title(window).find("Connecting ..."), std::string::npos) << "No lets the connect go on";
        }
    }
    EXPECT_TRUE(TolviProcess::TitleShows(window, ": Disconnected", 10000)) << TolviProcess::Title(window);
    EXPECT_EQ(tolvi.Close(), 0);
    closesocket(queued);
    closesocket(listener);
    WSACleanup();
}

}  // namespace
