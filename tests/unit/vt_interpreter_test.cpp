// The VT interpreter's behaviour beyond the screen: the repaint report, the parser reset on a
// change of emulation, the transfer detector, and the status-line cleaner.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "connections/auto_transfer.h"
#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_interpreter.h"
#include "session/session_record.h"
#include "term_feed.h"

namespace {

class RecordingPort : public ViewPort {
public:
    void Invalidate(ViewWindow, const DirtyRect& rect, bool) override { rects.push_back(rect); }
    std::vector<DirtyRect> rects;
};

class FrameCommands : public ConnectionView {
public:
    void PostFrameCommand(unsigned command) override { commands.push_back(command); }
    std::vector<unsigned> commands;
};

void Feed(const std::string& bytes)
{
    FeedTerminal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
}

class VtInterpreter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpTerminal(TermFeedSetup{}));
        SetViewPort(&port);
    }
    void TearDown() override
    {
        SetViewPort(nullptr);
        SetConnectionView(nullptr);
        ResetAutoTransferMatch();
    }
    RecordingPort port;
};

TEST_F(VtInterpreter, ReportsTheChangedCellsOrTheOldCursorCell)
{
    Feed("\x1b[3;5Hab");  // cells (2,4) and (2,5) of 8 x 16 pixels
    ASSERT_EQ(1u, port.rects.size());
    EXPECT_EQ(32, port.rects[0].left);
    EXPECT_EQ(32, port.rects[0].top);
    EXPECT_EQ(48, port.rects[0].right);
    EXPECT_EQ(48, port.rects[0].bottom);

    port.rects.clear();
    Rec->CursorFlags &= ~kCaretRecreate;
    Feed("\x1b[H");  // nothing written: the cell the cursor left is repainted
    ASSERT_EQ(1u, port.rects.size());
    EXPECT_EQ(6 * 8, port.rects[0].left);
    EXPECT_EQ(2 * 16, port.rects[0].top);

    port.rects.clear();
    Feed("\x1b[");  // no change at all: no repaint
    EXPECT_TRUE(port.rects.empty());

    VtHooks.leftMargin = [](ViewWindow) { return 5; };
    VtHooks.topMargin = [](ViewWindow) { return 3; };
    Feed("Hx");  // (0,0) in the view: moved by the margins
    VtHooks = DefaultVtHooks();
    ASSERT_EQ(1u, port.rects.size());
    EXPECT_EQ(5, port.rects[0].left);
    EXPECT_EQ(3, port.rects[0].top);
    EXPECT_EQ(13, port.rects[0].right);
}

TEST_F(VtInterpreter, EightBitControlsShareTheBlocksOneRepaintReport)
{
    // CSI, IND and NEL as 8-bit controls, each fed again as its 7-bit form inside one block.
    Feed("a\x9b" "3;5Hb\x84" "c\x85" "d");
    ASSERT_EQ(1u, port.rects.size()) << "one report for the block, not one per control";
    EXPECT_EQ(0, port.rects[0].left);
    EXPECT_EQ(0, port.rects[0].top);
    EXPECT_EQ(5 * 16, port.rects[0].bottom) << "the rectangle covers every row written";
    EXPECT_EQ('b', Rec->CharsScreen[2 * 80 + 4]);
    EXPECT_EQ('c', Rec->CharsScreen[3 * 80 + 5]);
    EXPECT_EQ('d', Rec->CharsScreen[4 * 80 + 0]);
}

TEST_F(VtInterpreter, ChangingTheEmulationForgetsAHalfParsedSequence)
{
    Feed("\x1b[2");
    EXPECT_NE(0, Rec->SequenceLength);
    Rec->Terminal = 7;  // the teletype family shows the x
    Feed("x");
    Rec->Terminal = 2;
    Feed("Jy");  // J is no longer the final of CSI 2 J
    EXPECT_EQ("xJy", std::string(reinterpret_cast<const char*>(Rec->CharsScreen), 3));
}

TEST_F(VtInterpreter, AKermitSendInitStopsTheBlockAndStartsAReceive)
{
    FrameCommands frame;
    SetConnectionView(&frame);
    VtHooks.detectAutoTransfer = DetectAutoTransfer;
    Rec->AutoDetectReceive = 1;
    Rec->XferType = 2;
    Rec->AProtocol = 3;
    Feed(std::string("ab\x01" "# S~rest", 9));
    EXPECT_EQ(std::vector<unsigned>{kStartReceiveCommand}, frame.commands);
    EXPECT_EQ(0, Rec->AProtocol);
    // "ab", the length byte and the blank are shown; the block stops at S.
    EXPECT_EQ("ab# ", std::string(reinterpret_cast<const char*>(Rec->CharsScreen), 4));
    EXPECT_EQ(' ', Rec->CharsScreen[4]);
}

TEST_F(VtInterpreter, AZmodemHeaderIsFoundAcrossBlocksButNotInsideASequence)
{
    FrameCommands frame;
    SetConnectionView(&frame);
    VtHooks.detectAutoTransfer = DetectAutoTransfer;
    Rec->AutoDetectReceive = 1;
    Rec->XferType = 2;
    Feed("\x1b[**\x18" "B00x");  // inside an escape sequence the detector stays quiet
    EXPECT_TRUE(frame.commands.empty());
    Feed("rz\r***\x18");
    Feed("B00");
    EXPECT_EQ(std::vector<unsigned>{kStartReceiveCommand}, frame.commands);
    EXPECT_EQ(5, Rec->AProtocol);
}

TEST(StripSequences, RemovesSequencesControlsAndSurplusBlanks)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  a  b  ", "a b"},
        {"\x1b[1;31mred\x1b[0m text", "red text"},
        {"x\x1bMy", "xy"},
        {"tab\there\r\n", "tabhere"},
        {"\x1bP1#status\x1b", "status"},
        {"unterminated \x1b[12", "unterminated"},
        {"", ""},
    };
    for (const auto& c : cases) {
        char text[64];
        std::strcpy(text, c.in);
        StripSequences(text);
        EXPECT_STREQ(c.out, text) << c.in;
    }
}

}  // namespace
