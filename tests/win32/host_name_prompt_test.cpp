// The host-name prompt of the terminal view, driven by control id through the dialog test hook:
// OK with a new name, Cancel, and a name longer than the prompt takes, which is refused with the
// framework's message and not cut. A cancelled prompt abandons the connect.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "engine/screen_planes.h"
#include "fw_dialog_test_hook.h"
#include "shell/record_defaults.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/win32/zolex_view.h"

namespace {

constexpr int kHostNameDialog = 605;
constexpr int kHostEdit = 3127;

struct Answer {
    std::string text;  // typed into the prompt (empty: left as preset)
    bool ok = true;
    std::string preset;  // what the prompt showed
    int limit = 0;       // its edit's character limit
    bool found = false;
    bool refused = false;  // OK left the prompt open
};

void Script(FwDialogTestHook& hook, Answer& a)
{
    hook.Expect(kHostNameDialog, [&a, &hook](FwDialogDriver& d) {
        a.found = d.Caption() == "Host Name";
        a.preset = d.Text(kHostEdit);
        a.limit = static_cast<int>(SendDlgItemMessageA(d.Handle(), kHostEdit, EM_GETLIMITTEXT, 0, 0));
        if (!a.text.empty()) d.SetText(kHostEdit, a.text);
        d.Press(a.ok ? IDOK : IDCANCEL);
        if (!hook.messages.empty()) {
            a.refused = true;
            d.Press(IDCANCEL);
        }
    });
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
        FwSetDialogTestHook(&hook);
    }
    void TearDown() override
    {
        FwSetDialogTestHook(nullptr);
        SetConnectionView(nullptr);
        DestroyWindow(parent);
        FreeScreenBuffers(*Rec);
    }

    FwDialogTestHook hook;
    HWND parent = nullptr;
    CZolexView view{nullptr};
};

TEST_F(HostNamePrompt, OkCancelAndLength)
{
    const struct { std::string typed; bool ok; std::size_t size; bool result; std::string host; bool refused; } cases[] = {
        {"mainframe.example:2323", true, 61, true, "mainframe.example:2323", false},
        {"other", false, 61, false, "preset", false},
        {std::string(60, 'h'), true, 61, true, std::string(60, 'h'), false},
        {std::string(61, 'h'), true, 61, false, "preset", true},  // refused, not cut
        {std::string(20, 'h'), true, 8, true, "hhhhhhh", false},  // never past the caller's buffer
        {"", true, 61, true, "preset", false},
    };
    for (const auto& c : cases) {
        char host[80];
        std::memset(host, 'x', sizeof host);
        std::strcpy(host, "preset");
        hook.messages.clear();
        Answer answer;
        answer.text = c.typed, answer.ok = c.ok;
        Script(hook, answer);
        EXPECT_EQ(c.result, view.AskHostName(host, c.size)) << c.typed;
        EXPECT_TRUE(answer.found);
        EXPECT_EQ("preset", answer.preset);
        EXPECT_EQ(60, answer.limit);
        EXPECT_EQ(c.refused, answer.refused) << c.typed;
        if (c.refused) {
            ASSERT_EQ(1u, hook.messages.size());
            EXPECT_EQ("Please enter no more than 60 characters.", hook.messages[0].text);
        } else {
            EXPECT_TRUE(hook.messages.empty()) << c.typed;
        }
        EXPECT_EQ(c.host, std::string(host)) << c.typed;
        EXPECT_EQ('x', host[c.size]);
    }
    EXPECT_EQ(0, hook.unexpectedDialogs);
}

// Connect on a network session that asks for the host: Cancel leaves the session unconnected
// and the host name as it was.
TEST_F(HostNamePrompt, CancelAbandonsTheConnect)
{
    SetConnectionView(&view);
    Rec->ComType = 2;
    Rec->PromptForHost = 1;
    std::strcpy(Rec->HostName, "kept");
    Answer answer;
    answer.text = "typed", answer.ok = false;
    Script(hook, answer);
    ConnectDisconnectCommand(nullptr);
    EXPECT_TRUE(answer.found);
    EXPECT_EQ("kept", answer.preset);
    EXPECT_EQ(0, Rec->Connecting);
    EXPECT_EQ(0, Rec->Connected);
    EXPECT_STREQ("kept", Rec->HostName);
}

}  // namespace
