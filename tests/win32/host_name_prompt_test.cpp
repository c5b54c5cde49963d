// The host-name prompt of the terminal view, answered by a helper thread as a user would: OK with
// a new name, Cancel, and a name longer than the prompt takes. A cancelled prompt abandons the
// connect.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "engine/screen_planes.h"
#include "shell/record_defaults.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/win32/zolex_view.h"

namespace {

struct Answer {
    std::string text;  // typed into the prompt (empty: left as preset)
    bool ok = true;
    std::string preset;  // what the prompt showed
    int limit = 0;       // its edit's character limit
    bool found = false;
};

// Waits for the prompt, reads and answers it.
void AnswerPrompt(Answer& a)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 250 && !dialog; ++i) {
        dialog = FindWindowA("#32770", "Host Name");
        if (!dialog) Sleep(20);
    }
    // The dialog is shown once its initialisation has run.
    for (int i = 0; i < 250 && dialog && !IsWindowVisible(dialog); ++i) Sleep(20);
    if (!dialog || !IsWindowVisible(dialog)) return;
    a.found = true;
    char text[128] = {};
    GetDlgItemTextA(dialog, 3127, text, sizeof text);
    a.preset = text;
    a.limit = static_cast<int>(SendDlgItemMessageA(dialog, 3127, EM_GETLIMITTEXT, 0, 0));
    if (!a.text.empty()) SetDlgItemTextA(dialog, 3127, a.text.c_str());
    const int button = a.ok ? IDOK : IDCANCEL;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

class HostNamePrompt : public testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        ASSERT_TRUE(SetRecordDefaults(*Rec, true, false, AllocScreenBuffers, SessionTranslateTables));
        parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, view.Create(parent, 0xE900));
    }
    void TearDown() override
    {
        SetConnectionView(nullptr);
        DestroyWindow(parent);
        FreeScreenBuffers(*Rec);
    }
    bool Ask(char* host, std::size_t size, Answer& answer)
    {
        std::thread user(AnswerPrompt, std::ref(answer));
        const bool ok = view.AskHostName(host, size);
        user.join();
        return ok;
    }

    HWND parent = nullptr;
    CZolexView view{nullptr};
};

TEST_F(HostNamePrompt, OkCancelAndLength)
{
    const std::string sixtyFive(65, 'h');
    const struct { std::string typed; bool ok; std::size_t size; bool result; std::string host; } cases[] = {
        {"mainframe.example:2323", true, 61, true, "mainframe.example:2323"},
        {"other", false, 61, false, "preset"},
        {sixtyFive, true, 61, true, std::string(60, 'h')},  // at most 60 characters
        {sixtyFive, true, 8, true, "hhhhhhh"},               // and never past the caller's buffer
        {"", true, 61, true, "preset"},
    };
    for (const auto& c : cases) {
        char host[80];
        std::memset(host, 'x', sizeof host);
        std::strcpy(host, "preset");
        Answer answer{c.typed, c.ok, {}, 0, false};
        EXPECT_EQ(c.result, Ask(host, c.size, answer)) << c.typed;
        EXPECT_TRUE(answer.found);
        EXPECT_EQ("preset", answer.preset);
        EXPECT_EQ(60, answer.limit);
        EXPECT_EQ(c.host, std::string(host)) << c.typed;
        EXPECT_EQ('x', host[c.size]);
    }
}

// Connect on a network session that asks for the host: Cancel leaves the session unconnected
// and the host name as it was.
TEST_F(HostNamePrompt, CancelAbandonsTheConnect)
{
    SetConnectionView(&view);
    Rec->ComType = 2;
    Rec->PromptForHost = 1;
    std::strcpy(Rec->HostName, "kept");
    Answer answer{"typed", false, {}, 0, false};
    std::thread user(AnswerPrompt, std::ref(answer));
    ConnectDisconnectCommand(nullptr);
    user.join();
    EXPECT_TRUE(answer.found);
    EXPECT_EQ("kept", answer.preset);
    EXPECT_EQ(0, Rec->Connecting);
    EXPECT_EQ(0, Rec->Connected);
    EXPECT_STREQ("kept", Rec->HostName);
}

}  // namespace
