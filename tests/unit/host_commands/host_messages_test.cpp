// Messages caused by host data: posted to the window instead of shown inside the receive path,
// one shown at a time, the others counted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host_commands/message_text.h"
#include "host_command_fakes.h"
#include "host_messages.h"
#include "session/messages.h"

namespace {

class RecordingWindow : public HostMessageWindow {
public:
    void MessageWaiting() override { ++wakes; }
    void MoreWhileShown(int count) override { counts.push_back(count); }
    int wakes = 0;
    std::vector<int> counts;
};

class HostMessages : public ::testing::Test {
protected:
    HostMessages() { SetHostMessageWindow(&window); }
    ~HostMessages() override { SetHostMessageWindow(nullptr); }
    HostFakes fakes;
    RecordingWindow window;
};

TEST_F(HostMessages, OneIsShownAtATimeAndTheOthersAreCounted)
{
    // Two in one block: the window is woken once; the message shown counts the other.
    ShowFormatted(0, "WinExec \"%s\" failed; error code = %d", "a.exe", 2);
    ShowFormatted(0, "Failed to play file: %s", "x.trc");
    EXPECT_TRUE(fakes.platform.messages.empty()) << "nothing is shown inside the receive path";
    EXPECT_EQ(window.wakes, 1);

    HostMessage shown;
    ASSERT_TRUE(TakeHostMessage(shown));
    EXPECT_EQ(shown.text, "WinExec \"a.exe\" failed; error code = 2" + MoreHostMessagesText(1));
    EXPECT_EQ(MoreHostMessagesText(1), "\n\n(1 more message from the host not shown)");

    // While it is shown: counted through the window, never a second box.
    ShowFormatted(0, "Failed to play file: %s", "y.trc");
    ShowHostMessage(0, 0, "Unexpected write command code 0x%x received.\n", 0xF7);
    EXPECT_EQ(window.counts, (std::vector<int>{1, 2}));
    HostMessage second;
    EXPECT_FALSE(TakeHostMessage(second));
    EXPECT_EQ(window.wakes, 1);

    HostMessageClosed();
    EXPECT_EQ(window.counts.back(), 0) << "the count goes when the box closes";
    EXPECT_FALSE(TakeHostMessage(second)) << "the counted ones are not shown later";

    ShowHostMessage(0, 0x10, "Short count received from host!\n");
    EXPECT_EQ(window.wakes, 2);
    ASSERT_TRUE(TakeHostMessage(second));
    EXPECT_EQ(second.text, "Short count received from host!\n");
    EXPECT_EQ(second.style, 0x10);
    HostMessageClosed();
    EXPECT_TRUE(fakes.platform.messages.empty());
}

TEST_F(HostMessages, WithoutAWindowTheyAreShownAtOnce)
{
    SetHostMessageWindow(nullptr);
    ShowFormatted(0, "Failed to play file: %s", "x.trc");
    ASSERT_EQ(fakes.platform.messages.size(), 1u);
    EXPECT_EQ(fakes.platform.messages[0].text, "Failed to play file: x.trc");
    EXPECT_EQ(window.wakes, 0);
}

}  // namespace
