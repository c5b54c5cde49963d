// The console, Wyse, ADDS and dumb interpreters beyond the screen text of the golden files: the
// repaint report, the transfer detector, host commands that drop the rest of a block, the Wyse
// key notation and the cursor kept inside the screen by every addressing form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/key_strings.h"
#include "engine/screen_planes.h"
#include "engine/screen_actions.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "engine/wyse/wyse_interpreter.h"
#include "session/session_record.h"
#include "term_feed.h"

namespace {

class RecordingPort : public ViewPort {
public:
    void Invalidate(ViewWindow, const DirtyRect& rect, bool) override { rects.push_back(rect); }
    std::vector<DirtyRect> rects;
};

void Feed(const std::string& bytes)
{
    FeedTerminal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
}

std::string Row(int r) { return std::string(reinterpret_cast<const char*>(Rec->CharsScreen) + r * Rec->MaxCols, 8); }

class CharacterInterpreters : public ::testing::Test {
protected:
    void Start(int emulation)
    {
        ASSERT_TRUE(SetUpTerminal(TermFeedSetup{emulation, 80, 24}));
        SetViewPort(&port);
        port.rects.clear();
    }
    void TearDown() override
    {
        SetViewPort(nullptr);
        VtHooks = DefaultVtHooks();
    }
    RecordingPort port;
};

TEST_F(CharacterInterpreters, OnlyTheCursorMovedRepaintsItsOldCellOrOnePixelOfIt)
{
    struct Case {
        int emulation;
        const char* move;  // from (2,3) to somewhere else, writing nothing
        int width;         // of the rectangle invalidated: a cell (8) or one pixel
    };
    const Case cases[] = {{4, "\x1b[H", 8}, {9, "\x1e", 8}, {11, "\x0b\x20", 1}, {7, "\r", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.emulation);
        Start(c.emulation);
        Rec->CursorRow = 2;
        Rec->CursorCol = 3;
        Rec->CursorFlags &= ~kCaretRecreate;
        Feed(c.move);
        ASSERT_EQ(1u, port.rects.size());
        EXPECT_EQ(3 * 8, port.rects[0].left);
        EXPECT_EQ(2 * 16, port.rects[0].top);
        EXPECT_EQ(c.width, port.rects[0].right - port.rects[0].left);
        EXPECT_EQ(c.width == 8 ? 16 : 1, port.rects[0].bottom - port.rects[0].top);
    }
}

TEST_F(CharacterInterpreters, ATransferDetectorStopsTheBlockOrOnlySwallowsItsByte)
{
    struct Case {
        int emulation;
        const char* shown;  // of "ab!cd" when the detector fires on '!'
    };
    // The console only swallows the byte; Wyse and ADDS drop the rest of the block (and do not
    // repaint); the dumb terminal ends the block.
    const Case cases[] = {{4, "abcd"}, {9, "ab  "}, {11, "ab  "}, {7, "ab  "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.emulation);
        Start(c.emulation);
        Rec->AutoDetectReceive = 1;
        Rec->ComType = 0;
        Rec->XferType = 0;
        VtHooks.detectAutoTransfer = [](uint8_t b) { return b == '!' ? 1 : 0; };
        Feed("ab!cd");
        EXPECT_EQ(c.shown, Row(0).substr(0, 4));
    }
}

int stopped = 0;
int StopTheBlock(ViewWindow, int number, int, const int*, const char* text)
{
    stopped = number;
    return std::string(text) == "stop" ? 1 : 0;
}
void StartStringFive(ViewWindow, SettingsRecord& rec, int, const int*, DirtyRect&)
{
    rec.StringCommandNumber = 5;
    rec.StringCommandLength = 0;
}

TEST_F(CharacterInterpreters, AHostCommandThatAsksForItDropsTheRestOfTheBlock)
{
    for (int emulation : {4, 9, 12, 11}) {
        SCOPED_TRACE(emulation);
        Start(emulation);
        stopped = 0;
        VtHooks.privateCommand = StopTheBlock;
        VtHooks.hostCommand = StartStringFive;
        Feed("a\x1b[5y" "go\x1b\\b\x1b[5y" "stop\x1b\\cd");
        EXPECT_EQ(5, stopped);
        EXPECT_EQ("ab      ", Row(0));
        Feed("e");
        EXPECT_EQ("abe     ", Row(0));
    }
}

TEST_F(CharacterInterpreters, AProgrammedWyseKeySendsExactlyTheHostsBytes)
{
    std::string sent;
    for (int b = 0; b < 256; ++b)
        if (b != 0x7F) sent += static_cast<char>(b);
    static std::string definition;
    VtHooks.defineTerminalKey = [](const char*, const char* text) {
        definition = text;
        return 1;
    };
    for (int emulation : {8, 9, 12}) {
        SCOPED_TRACE(emulation);
        Start(emulation);
        definition.clear();
        WyseProgramKey(*Rec, 0x41, reinterpret_cast<const uint8_t*>(sent.data()), static_cast<int>(sent.size()));
        uint8_t decoded[1024];
        const int n = DecodeKeyString(definition.c_str(), decoded, sizeof decoded, false, false);
        EXPECT_EQ(sent, std::string(reinterpret_cast<char*>(decoded), static_cast<std::size_t>(n)));
    }
}

TEST_F(CharacterInterpreters, EveryAddressingFormKeepsTheCursorOnTheScreen)
{
    const std::vector<std::pair<int, std::string>> forms = {
        {9, "\x1b=\xff\xff"},      {9, "\x1b" "a 999R 9999C"}, {9, "\x1b-2\xff\xff"}, {12, "\x1b=\x7f\x7f"},
        {11, "\x10\xff\x0b\xff"}, {11, "\x1bY\xff\xff"},     {4, "\x1b[999;999H"}};
    for (const auto& [emulation, bytes] : forms) {
        SCOPED_TRACE(emulation);
        Start(emulation);
        Feed(bytes);
        EXPECT_EQ(23, Rec->CursorRow);
        EXPECT_EQ(79, Rec->CursorCol);
    }
}

TEST_F(CharacterInterpreters, WyseCursorUpWrapsInsideTheScreenWhateverTheRegion)
{
    Start(9);
    DirtyRect dirty = kEmptyDirtyRect;
    for (int top : {0, 5, 23}) {
        for (int row = 0; row < 24; ++row) {
            for (int n : {1, 6, 24, 50}) {
                Rec->ScrollTop = static_cast<uint8_t>(top);
                Rec->ScrollBottom = 23;
                Rec->CursorRow = row;
                CursorUp(nullptr, *Rec, dirty, n);
                EXPECT_GE(Rec->CursorRow, 0) << top << " " << row << " " << n;
                EXPECT_LE(Rec->CursorRow, 23) << top << " " << row << " " << n;
            }
        }
    }
    Rec->ScrollTop = 0;
    Rec->CursorRow = 0;
    Feed("\x0b");  // VT at the top wraps to the bottom row
    EXPECT_EQ(23, Rec->CursorRow);
}

TEST_F(CharacterInterpreters, DumbLineFeedOnTheLastRowMovesTheTopRowIntoTheShownHistory)
{
    Start(7);
    Rec->HistoryRows = 2;
    ASSERT_EQ(1, AllocScreenBuffers(*Rec));
    FillScreenCells(*Rec, 24 * 80, 0, ' ', 0);
    Rec->HistoryView = 1;
    Rec->FgScreen[0] = 5;
    Feed("top");
    Rec->CursorRow = 23;
    Rec->CursorCol = 0;
    Feed("last\n");
    const uint8_t* newestHistoryRow = Rec->CharsScreen - 80;
    EXPECT_EQ("top ", std::string(reinterpret_cast<const char*>(newestHistoryRow), 4));
    EXPECT_EQ("last", Row(22).substr(0, 4));
    EXPECT_EQ("    ", Row(23).substr(0, 4));
    EXPECT_EQ(23, Rec->CursorRow);
    EXPECT_EQ(5, Rec->FgScreen[0]);  // only the characters move
    Rec->HistoryView = 0;
    Feed("\n");  // without the history shown only the screen scrolls
    EXPECT_EQ("top ", std::string(reinterpret_cast<const char*>(newestHistoryRow), 4));
    EXPECT_EQ("last", Row(21).substr(0, 4));
}

}  // namespace
