// The NetBIOS transport over the platform's Netbios call against a session-service host
// (tests/peers/netbios_host.py) that run_netbios_tests.sh starts in a private network namespace.
// A hidden window takes WM_USER+100 as the terminal view does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/emulation_hooks.h"
#include "connections/netbios_session.h"
#include "fake_platform.h"
#include "netbios_platform.h"
#include "shell/session_record.h"

namespace {

std::string received;

void CaptureHostData(ViewWindow, const uint8_t* bytes, int n, SettingsRecord&) {
    received.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
}

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kNetbiosDoneMessage) {
        NetbiosNcbDone(reinterpret_cast<ViewWindow>(hwnd), static_cast<unsigned>(wParam),
                       reinterpret_cast<Ncb*>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Where Wine's NetBIOS differs from the platform it stands for, the test plays the platform:
// Wine registers no names (ADD GROUP NAME is an illegal command there), so that command is
// answered as a name the adapter already holds, which the session accepts; and Wine answers
// ADAPTER STATUS on an adapter this process has not reset, where the platform answers "environment
// not defined" (0x34), which makes the session reset it (Wine's CALL needs that reset). Every
// other command goes to the platform's Netbios call.
class WineNameShim : public NetbiosPlatform {
public:
    uint8_t Submit(Ncb* ncb) override {
        if (ncb->command == kNcbAddGroupName) {
            ++addedNames;
            ncb->retcode = kNrcDuplicateName;
            return kNrcDuplicateName;
        }
        if (ncb->command == kNcbReset) resetLanas |= 1u << (ncb->lanaNum & 31);
        if (ncb->command == kNcbAdapterStatus && !(resetLanas & (1u << (ncb->lanaNum & 31)))) {
            ncb->retcode = kNrcEnvironmentNotDefined;
            return kNrcEnvironmentNotDefined;
        }
        return Win32Netbios().Submit(ncb);
    }
    void PostCompletion(ViewWindow window, unsigned message, unsigned command, Ncb* ncb) override {
        Win32Netbios().PostCompletion(window, message, command, ncb);
    }
    void ComputerName(char name[16]) override { Win32Netbios().ComputerName(name); }
    bool ScrollLockOn() override { return Win32Netbios().ScrollLockOn(); }
    bool AskOkCancel(const char* text) override { return false; }
    int addedNames = 0;
    unsigned resetLanas = 0;
};

WineNameShim shim;

class HostView : public ConnectionView {
public:
    explicit HostView(HWND hwnd) : hwnd_(hwnd) {}
    ViewWindow Window() override { return reinterpret_cast<ViewWindow>(hwnd_); }
    void DelayMs(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0)); }

private:
    HWND hwnd_;
};

std::vector<std::string> PeerLines(const char* name) {
    std::vector<std::string> lines;
    const char* dir = std::getenv("TOLVI_NETBIOS_DIR");
    if (!dir) return lines;
    std::FILE* f = std::fopen((std::string("Z:") + dir + "/" + name).c_str(), "r");
    if (!f) return lines;
    char line[4096];
    while (std::fgets(line, sizeof(line), f)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        lines.push_back(text);
    }
    std::fclose(f);
    return lines;
}

class NetbiosPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TolviNetbiosTestHost";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("TolviNetbiosTestHost", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd, nullptr);
        view = new HostView(hwnd);
        SetConnectionView(view);
        SetPlatform(&platform);
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = 1;
        Rec->Terminal = 7;
        Rec->Charset = 3;
        Rec->Lana = 10;
        Rec->NetWork = 4;
        Rec->SendTimeout = 60;
        Rec->MaxTxBlock = 5;
        const char* host = std::getenv("TOLVI_NETBIOS_HOST");
        std::strcpy(Rec->HostName, host ? host : "");
        InstallNetbiosTransport(shim);
        RegisterInterpreter(EmulationFamily::Teletype, CaptureHostData);
        received.clear();
    }
    // Sessions end from the host's side: Wine's NetBIOS faults now and then when a HANG UP meets
    // an outstanding RECEIVE (the user's disconnect is tested against the simulated submitter).
    void TearDown() override {
        if (Rec->Connected) {
            Send("bye\r");
            PumpUntil([] { return !Rec->Connected; }, 5000);
        }
        PumpUntil([] { return !IsTransportBusy(); }, 3000);
        RegisterInterpreter(EmulationFamily::Teletype, nullptr);
        SetConnectionView(nullptr);
        SetPlatform(nullptr);
        delete view;
        DestroyWindow(hwnd);
    }

    bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > milliseconds) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return true;
    }
    int Send(const std::string& text) {
        return SendToHost(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
    }
    std::string Messages() const {
        std::string all;
        for (const FakePlatform::Message& m : platform.messages) all += m.text + "|";
        return all;
    }

    HWND hwnd = nullptr;
    HostView* view = nullptr;
    FakePlatform platform;
};

TEST_F(NetbiosPeerTest, SessionCarriesDataBothWaysInSendsOfMaxTxBlock) {
    ConnectDisconnectCommand(nullptr);
    ASSERT_EQ(Rec->Connected, 1) << Messages();
    EXPECT_EQ(Rec->Connecting, 0);
    ASSERT_TRUE(PumpUntil([] { return received == "login: "; }, 5000)) << received;
    EXPECT_FALSE(PeerLines("called.log").empty());  // the host took a session request

    std::size_t before = PeerLines("messages.log").size();
    EXPECT_EQ(Send("hello world\r"), 12);
    ASSERT_TRUE(PumpUntil([] { return received.find("host:hello world\r\n") != std::string::npos; }, 5000))
        << received;
    std::vector<std::string> messages = PeerLines("messages.log");
    std::vector<std::string> sizes;
    for (std::size_t i = before; i < messages.size(); ++i) sizes.push_back(messages[i].substr(0, messages[i].find(' ')));
    EXPECT_EQ(sizes, (std::vector<std::string>{"5", "5", "2"}));
    EXPECT_TRUE(platform.messages.empty()) << Messages();
}

TEST_F(NetbiosPeerTest, HostClosingTheSessionDisconnectsQuietly) {
    ConnectDisconnectCommand(nullptr);
    ASSERT_EQ(Rec->Connected, 1) << Messages();
    ASSERT_TRUE(PumpUntil([] { return received == "login: "; }, 5000)) << received;
    Send("bye\r");
    EXPECT_TRUE(PumpUntil([] { return !Rec->Connected; }, 5000));
    EXPECT_TRUE(PumpUntil([] { return !IsTransportBusy(); }, 3000));
    EXPECT_TRUE(platform.messages.empty()) << Messages();
}

TEST_F(NetbiosPeerTest, UnknownHostIsReportedInWords) {
    std::strcpy(Rec->HostName, "10.99.0.77");
    ConnectDisconnectCommand(nullptr);
    EXPECT_EQ(Rec->Connected, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text.find("Cannot find host \"10.99.0.77\" on lana "), 0u) << Messages();
}

}  // namespace
