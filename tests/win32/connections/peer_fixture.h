// The common ground of the Win32 peer tests: a hidden host window that takes the transports'
// messages as the terminal view does (WM_USER+102 socket events, WM_USER+101 serial data with the
// dial and break timers, WM_USER+100 NetBIOS completions), a connection view on it, the fake
// platform, the bytes that reached the emulation, the message pump and the peers' environment.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "connections/connection_view.h"
#include "fake_platform.h"

// Everything the teletype interpreter was given since the fixture's SetUp.
extern std::string received;

// The terminal view as the transports see it: the host window, and Sleep for the busy waits (no
// messages are processed meanwhile).
class HostView : public ConnectionView {
public:
    explicit HostView(HWND hwnd) : hwnd_(hwnd) {}
    ViewWindow Window() override { return reinterpret_cast<ViewWindow>(hwnd_); }
    void DelayMs(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0)); }

private:
    HWND hwnd_;
};

class PeerTest : public ::testing::Test {
protected:
    // The host window, the view and the platform installed, the record cleared, the teletype
    // interpreter capturing into `received`. The test's own SetUp fills in the record.
    void SetUp() override;
    // Uninstalls what SetUp installed; the test's own TearDown ends its connection first.
    void TearDown() override;

    // Pumps window messages until done() or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds);
    void Pump(DWORD milliseconds);
    // A Telnet connect to 127.0.0.1:port; true when it ended connected.
    bool ConnectTelnet(int port);

    HWND hwnd = nullptr;
    HostView* view = nullptr;
    FakePlatform platform;
};

// The port a runner passed in the environment variable, 0 without it.
int EnvPort(const char* name);
// `name` inside the Unix folder that the environment variable names, as a Wine path; empty
// without the variable.
std::string PeerPath(const char* folderVariable, const char* name);
// The whole file, or `missing` when it cannot be opened.
std::string ReadWholeFile(const std::string& path, const std::string& missing = "");
