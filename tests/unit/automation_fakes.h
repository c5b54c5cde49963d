// Stand-ins for the view, the document strings and the PC names of the session automation, and a
// fixture that installs them with the recording view and transport of the connection tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "connection_fakes.h"
#include "connections/auto_login.h"
#include "connections/automation_services.h"
#include "connections/automation_view.h"
#include "connections/connection_dispatch.h"
#include "engine/charsets.h"
#include "fake_platform.h"
#include "session/translate_tables.h"

// Ways to cut a stream into received blocks: whole, byte by byte, and in two at every point.
inline std::vector<std::vector<std::string>> BlockSplits(const std::string& stream) {
    std::vector<std::vector<std::string>> plans{{stream}, {}};
    for (char c : stream) plans[1].push_back(std::string(1, c));
    for (std::size_t cut = 1; cut < stream.size(); ++cut)
        plans.push_back({stream.substr(0, cut), stream.substr(cut)});
    return plans;
}

class FakeAutomationView : public AutomationView {
public:
    bool AskPin(const char* prompt, char* text, std::size_t size) override {
        LogEvent(std::string("ask-pin:") + prompt);
        if (!pin) return false;
        std::strncpy(text, pin, size - 1);
        text[size - 1] = '\0';
        return true;
    }
    bool AskUserName(char* name, std::size_t size) override {
        ++userNameAsked;
        if (!userName) return false;
        std::strncpy(name, userName, size - 1);
        name[size - 1] = '\0';
        return true;
    }
    int ClickRow() override { return 5; }
    int ClickColumn() override { return 7; }
    int LeftMargin() override { return 4; }
    int TopMargin() override { return 2; }
    const char* DocumentString(const char* member) override {
        auto found = strings.find(member);
        return found != strings.end() ? found->second.c_str() : AutomationView::DocumentString(member);
    }

    const char* pin = nullptr;       // null: the prompt is cancelled
    const char* userName = nullptr;  // null: the dialog is cancelled
    int userNameAsked = 0;
    std::map<std::string, std::string> strings;  // document strings that differ from the defaults
};

class FakePcNames : public PcNames {
public:
    bool UserName(char* name, std::size_t size) override { return Give(user, name, size); }
    bool ComputerName(char* name, std::size_t size) override { return Give(machine, name, size); }

    const char* user = "Alice";      // null: the platform cannot tell
    const char* machine = "PC-ONE";

private:
    static bool Give(const char* value, char* name, std::size_t size) {
        if (!value) return false;
        std::strncpy(name, value, size - 1);
        name[size - 1] = '\0';
        return true;
    }
};

// A view whose window handle is a known number.
class HandleView : public RecordingView {
public:
    ViewWindow Window() override { return reinterpret_cast<ViewWindow>(static_cast<uintptr_t>(4660)); }
};

class AutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = kTelnet;
        Rec->Terminal = 2;
        Rec->CellWidth = 8;
        Rec->CellHeight = 16;
        Rec->AutoLoginCR = 1;
        Rec->AutoCRDelay = 300;
        Rec->UnixEnvEnable = 1;
        std::strcpy(Rec->UnixEnv, "TERM=%terminal%");
        std::strcpy(Rec->EnableDisplay, "<esc>[y");
        std::strcpy(Rec->HostName, "host.example");
        SetIdentityTables(SessionTranslateTables);
        SetConnectionView(&view);
        SetSessionServices(&services);
        SetTransport(kTelnet, &transport);
        SetAutomationView(&automationView);
        SetPcNames(&names);
        RegisterInterpreter(EmulationFamily::DecVt, CaptureInterpreter);
        AutoLoginPair = 0;
        AutoLoginMatched = 0;
        DisplayedCharCount = 0;
        EventLog().clear();
        EmulatedText().clear();
    }
    void TearDown() override {
        SetConnectionView(nullptr);
        SetSessionServices(nullptr);
        SetTransport(kTelnet, nullptr);
        SetAutomationView(nullptr);
        SetPcNames(nullptr);
        RegisterInterpreter(EmulationFamily::DecVt, nullptr);
        AutoLoginPair = 0;
    }

    // A block through the receive consumers, then what they left to the emulation.
    int Receive(const std::string& block, ReceiveSource source = ReceiveSource::Telnet) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(block.data());
        int n = static_cast<int>(block.size());
        int rest = RunReceiveConsumers(nullptr, source, bytes, n);
        FeedEmulation(nullptr, bytes + (n - rest), rest);
        return rest;
    }
    // The log-on as the connect starts it.
    void StartLogOn() {
        services.ResetPromptMatch();
        services.ArmAutoLogin();
    }

    FakePlatform platform;
    ScopedPlatform scoped{platform};
    HandleView view;
    AutomationServices services;
    RecordingTransport transport;
    FakeAutomationView automationView;
    FakePcNames names;
};
