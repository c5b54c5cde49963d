// The view's mouse and clipboard without a window: the pixel/cell arithmetic, the click and drag
// machine against a recording host, the copied blocks and the pasted bytes, and the rules of
// the view's commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "connections/session_replay.h"
#include "engine/screen_planes.h"
#include "fake_platform.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/action_strings.h"
#include "shell/clipboard_text.h"
#include "shell/dyn_buttons.h"
#include "shell/mouse_tracker.h"
#include "shell/view_commands.h"
#include "shell/view_selection.h"

namespace {

// ---- Coordinates. A grid of 8 x 16 cells with margins 4 (left) and 20 (top), 80 x 24.

CellGrid Grid(int historyRows = 0)
{
    CellGrid g;
    g.cellWidth = 8;
    g.cellHeight = 16;
    g.leftMargin = 4;
    g.topMargin = 20;
    g.columns = 80;
    g.rows = 24;
    g.historyRows = historyRows;
    return g;
}

struct PixelCase {
    int x, y, history;
    int col, row;
};

class PixelToCellCases : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelToCellCases, Cell)
{
    const PixelCase& c = GetParam();
    const CellPoint cell = PixelToCell(Grid(c.history), c.x, c.y);
    EXPECT_EQ(cell.col, c.col);
    EXPECT_EQ(cell.row, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PixelToCellCases,
    testing::Values(PixelCase{4, 20, 0, 0, 0},            // the first pixel of the first cell
                    PixelCase{11, 35, 0, 0, 0},           // its last pixel
                    PixelCase{12, 36, 0, 1, 1},           // the next cell
                    PixelCase{0, 0, 0, 0, 0},             // the top-left margin
                    PixelCase{643, 403, 0, 79, 23},       // the last cell
                    PixelCase{700, 500, 0, 79, 23},       // right and bottom margins: still the last cell
                    PixelCase{4, 20, 10, 0, -10},         // history view: the oldest history row
                    PixelCase{4, 20 + 10 * 16, 10, 0, 0}, // the first screen row below 10 history rows
                    PixelCase{700, 9000, 10, 79, 23}));

TEST(CellGeometry, PixelRectRoundsToTheNearestBorder)
{
    const CellGrid g = Grid();
    // From (16, 44) to (50, 80): column 1 and row 1 are covered by half only and stay out; column 5
    // (44..51) and row 3 (68..83) are covered by more than half and join.
    EXPECT_EQ(PixelRectToCells(g, PixelRect{16, 44, 50, 80}), (CellRect{2, 2, 6, 4}));
    // A press and release in one point select nothing.
    EXPECT_TRUE(PixelRectToCells(g, PixelRect{30, 50, 30, 50}).IsEmpty());
    // Far outside: clamped to the whole grid, in history view with the history rows.
    EXPECT_EQ(PixelRectToCells(g, PixelRect{-50, -50, 5000, 5000}), (CellRect{0, 0, 80, 24}));
    EXPECT_EQ(PixelRectToCells(Grid(5), PixelRect{-50, -50, 5000, 5000}), (CellRect{0, -5, 80, 24}));
}

TEST(CellGeometry, CellsBackToPixels)
{
    const CellGrid g = Grid(3);
    const PixelRect p = CellRectToPixels(g, CellRect{2, -1, 5, 1});
    EXPECT_EQ(p.left, 2 * 8 + 4);
    EXPECT_EQ(p.right, 5 * 8 + 4);
    EXPECT_EQ(p.top, 2 * 16 + 20);
    EXPECT_EQ(p.bottom, 4 * 16 + 20 - 1);
    const PixelPoint corner = CellToPixel(g, CellPoint{2, -1});
    EXPECT_EQ(corner.x, p.left);
    EXPECT_EQ(corner.y, p.top);
    const CellPoint back = PixelToCell(g, corner.x, corner.y);
    EXPECT_EQ(back, (CellPoint{2, -1}));
    // The repaint area, in client pixels, widened around the frame.
    const PixelRect r = SelectionRepaintRect(g, CellRect{2, -1, 5, 1}, 10, 20, false);
    EXPECT_EQ(r.left, p.left - 10 - 1);
    EXPECT_EQ(r.top, p.top - 20 - 1);
    EXPECT_EQ(r.right, p.right - 10 + 2);
    EXPECT_EQ(r.bottom, p.bottom - 20 + 2);
    EXPECT_EQ(NormalizeRect(PixelRect{9, 8, 1, 2}).left, 1);
    EXPECT_EQ(NormalizeRect(CellRect{5, 6, 1, 2}), (CellRect{1, 2, 5, 6}));
}

// ---- The record with planes, for copies and the mouse.

class ScreenFixture : public testing::Test {
protected:
    void SetUp() override
    {
        *Rec = SettingsRecord{};
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        Rec->CellWidth = 8;
        Rec->CellHeight = 16;
        Rec->LeftMargin = 4;
        Rec->TopMargin = 20;
        SetIdentityTables(SessionTranslateTables);
        ForgetSelection();
    }
    void TearDown() override
    {
        FreeScreenBuffers();
        *Rec = SettingsRecord{};
        ForgetSelection();
        DynButtonMap.clear();
    }
    void Allocate(int historyRows)
    {
        Rec->HistoryRows = historyRows;
        ASSERT_EQ(AllocScreenBuffers(), 1);
        std::memset(Rec->CharsBase, ' ', static_cast<std::size_t>(Rec->HistoryBytes) + kScreenCells);
    }
    // Text at a row (negative rows are history rows).
    void Write(int row, int col, const std::string& text)
    {
        std::memcpy(Rec->CharsScreen + row * Rec->MaxCols + col, text.data(), text.size());
    }
    static std::string Text(const std::vector<char>& block) { return std::string(block.data()); }
};

TEST_F(ScreenFixture, PlainCopyOfThreeByTwoIsNineBytes)
{
    Allocate(0);
    Write(3, 10, "abc");
    Write(4, 10, "def");
    const std::vector<char> block = SelectionClipboardBlock(*Rec, CellRect{10, 3, 13, 5}, false, CopyTableSettings{});
    ASSERT_EQ(block.size(), 9u);
    EXPECT_EQ(std::string(block.data(), block.size()), std::string("abc\r\ndef\0", 9));
}

TEST_F(ScreenFixture, TableCopyWithBothPresets)
{
    Allocate(0);
    Write(0, 0, "  12 -3 ab cd   7");
    Write(1, 0, "  x     y       ");
    const CellRect cells{0, 0, 20, 2};
    EXPECT_EQ(Text(SelectionClipboardBlock(*Rec, cells, true, SpreadsheetPreset())), "12\t-3 ab cd\t7\r\nx\ty");
    EXPECT_EQ(Text(SelectionClipboardBlock(*Rec, cells, true, CPlusPlusPreset())), "  12 -3 ab cd   7\r\n  x     y");
    CopyTableSettings rows = SpreadsheetPreset();
    rows.lineEnd = 1;
    rows.singleSpace = 1;
    rows.separator = ";";
    EXPECT_EQ(Text(SelectionClipboardBlock(*Rec, cells, true, rows)), "12;-3;ab;cd;7;x;y");
}

TEST_F(ScreenFixture, CopyReachesHistoryRowsInHistoryView)
{
    Allocate(10);
    Rec->HistoryView = 1;
    Write(-2, 0, "old");
    Write(0, 0, "new");
    EXPECT_EQ(Text(SelectionClipboardBlock(*Rec, CellRect{0, -2, 3, 1}, false, CopyTableSettings{})),
              "old\r\n   \r\nnew");
    EXPECT_EQ(WholeScreen(*Rec), (CellRect{0, -10, 80, 24}));
}

TEST_F(ScreenFixture, StaleSelectionIsClampedToThePlanes)
{
    Allocate(0);
    Write(23, 78, "yz");
    // A rectangle left over from a wider screen with history: only the cells that exist are read.
    const std::vector<char> block = SelectionClipboardBlock(*Rec, CellRect{78, 22, 132, 40}, false, CopyTableSettings{});
    EXPECT_EQ(Text(block), "  \r\nyz");
    EXPECT_TRUE(SelectionClipboardBlock(*Rec, CellRect{90, 30, 132, 40}, false, CopyTableSettings{}).empty());
    // A change of the planes forgets the selection.
    Selection = CellRect{1, 1, 3, 3};
    PlaneHooks.clearSelection = ForgetSelection;
    ASSERT_EQ(SetColumns(132), 132);
    EXPECT_TRUE(Selection.IsNull());
    Selection = CellRect{1, 1, 3, 3};
    Allocate(5);
    EXPECT_TRUE(Selection.IsNull());
    PlaneHooks = DefaultScreenPlaneHooks();
}

// ---- Paste.

class OemPlatform : public FakePlatform {
public:
    void AnsiToOemBytes(const uint8_t* source, uint8_t* destination, std::size_t length) override
    {
        for (std::size_t i = 0; i < length; ++i) destination[i] = source[i] == 0xE9 ? 0x82 : source[i];
    }
};

TEST_F(ScreenFixture, PastedBytesByCharset)
{
    const char text[] = "one\r\ntwo\nth\xE9\x01\xFF";
    Rec->Charset = 3;
    EXPECT_EQ(PasteBytes(text, sizeof text, *Rec), "one\rtwoth\xE9\x01\xFF");
    // The NUL ends the text.
    const char withNul[] = {'a', '\n', 'b', '\0', 'c'};
    EXPECT_EQ(PasteBytes(withNul, sizeof withNul, *Rec), "ab");
    // Through the outgoing table.
    Rec->Charset = 0;
    SessionTranslateTables.Outgoing[static_cast<uint8_t>('t')] = 'T';
    EXPECT_EQ(PasteBytes(text, sizeof text, *Rec), "one\rTwoTh\xE9\x01\xFF");
    // ANSI to OEM by the platform.
    OemPlatform platform;
    ScopedPlatform scoped(platform);
    Rec->Charset = 4;
    EXPECT_EQ(PasteBytes(text, sizeof text, *Rec), "one\rtwoth\x82\x01\xFF");
}

// ---- The mouse.

class RecordingHost : public MouseHost, public ButtonView {
public:
    ButtonView& Buttons() override { return *this; }
    PixelPoint ScrollPosition() override { return scroll; }
    ViewExtent Extent() override { return extent; }
    void InvalidateClient(const PixelRect&) override { ++invalidations; }
    void UpdateNow() override {}
    void CaptureMouse(bool on) override { captured = on; }
    void SetCursor(MouseCursor c) override { cursor = c; }
    void ScrollBy(int dx, int dy) override
    {
        scroll.x += dx;
        scroll.y += dy;
    }
    void StartAutoScroll() override { timer = true; }
    void StopAutoScroll() override { timer = false; }
    void PlaybackStep(bool singleStep) override { steps.push_back(singleStep); }
    void SendMouseClick(CellPoint cell, int kind) override { clicks.push_back({cell, kind}); }
    void RunButtonAction(const std::string& action) override { actions.push_back(action); }
    void ShowStatus(const std::string& text) override { status = text; }
    void PostCommand(int id) override { commands.push_back(id); }
    // ButtonView
    ButtonGeometry Geometry() override
    {
        ButtonGeometry g;
        g.cellWidth = 8;
        g.cellHeight = 16;
        g.viewWidth = 648;
        g.viewHeight = 420;
        g.left = 4;
        g.top = 20;
        return g;
    }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton& b) override { painted.push_back(b.pressState); }

    PixelPoint scroll;
    ViewExtent extent{648, 420, 648, 420};
    int invalidations = 0;
    bool captured = false, timer = false;
    MouseCursor cursor = MouseCursor::Arrow;
    std::vector<bool> steps;
    struct Click {
        CellPoint cell;
        int kind;
    };
    std::vector<Click> clicks;
    std::vector<std::string> actions;
    std::vector<int> commands;
    std::vector<int> painted;
    std::string status;
};

class Mouse : public ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        Allocate(0);
    }
    // A button over the cells (col, row) 1-based, width x height, with a left action.
    DynButton& Button(const std::string& name, int col, int row, const std::string& left)
    {
        auto b = std::make_unique<DynButton>();
        b->Init(name, 1, col, row, 4, 1, 0, 0, 0, "", "", 2, 2, host.Geometry());
        b->clickLeft = left;
        DynButton& made = *b;
        DynButtonMap[name] = std::move(b);
        return made;
    }
    // The client point in the middle of a 0-based cell.
    static int X(int col) { return 4 + col * 8 + 4; }
    static int Y(int row) { return 20 + row * 16 + 8; }

    RecordingHost host;
    MouseTracker mouse{host};
};

TEST_F(Mouse, ClickSendsItsCellOnlyWhenAsked)
{
    mouse.LeftDown(X(5), Y(2));
    mouse.LeftUp(X(5), Y(2));
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_FALSE(host.captured);

    Rec->EnableSendMousePos = 1;
    mouse.LeftDown(X(5), Y(2));
    EXPECT_TRUE(host.captured);
    EXPECT_EQ(host.cursor, MouseCursor::Cross);
    mouse.LeftUp(X(5), Y(2));
    // Windows sends a double click as down, up, double click, up.
    mouse.LeftDoubleClick(X(5), Y(2));
    mouse.LeftUp(X(5), Y(2));
    ASSERT_EQ(host.clicks.size(), 2u);
    EXPECT_EQ(host.clicks[0].cell, (CellPoint{5, 2}));
    EXPECT_EQ(host.clicks[0].kind, kSingleClick);
    EXPECT_EQ(host.clicks[1].kind, kDoubleClick);
    EXPECT_EQ(mouse.PendingKind(), kNoClick);
    EXPECT_TRUE(Selection.IsNull());
    // A click in the bottom-right margin is the last cell, never one past it.
    mouse.LeftDown(2000, 2000);
    mouse.LeftUp(2000, 2000);
    EXPECT_EQ(host.clicks.back().cell, (CellPoint{79, 23}));
}

TEST_F(Mouse, DroppedSelectionForgetsThePendingClickAndTheDrag)
{
    Rec->EnableSendMousePos = 1;
    mouse.LeftDown(X(5), Y(2));
    mouse.Move(X(9), Y(4), 1);
    ASSERT_FALSE(Selection.IsNull());
    mouse.DropSelection();
    EXPECT_TRUE(Selection.IsNull());
    EXPECT_FALSE(mouse.Dragging());
    EXPECT_FALSE(host.captured);
    EXPECT_EQ(mouse.PendingKind(), kNoClick);
    // The release of the button that pressed before the screen changed sends nothing.
    mouse.LeftDown(X(5), Y(2));
    mouse.DropSelection();
    mouse.LeftUp(X(5), Y(2));
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_TRUE(Selection.IsNull());
}

TEST_F(Mouse, DragSelectsAndSendsNothing)
{
    Rec->EnableSendMousePos = 1;
    mouse.LeftDown(4 + 2 * 8, 20 + 1 * 16);
    mouse.Move(4 + 5 * 8, 20 + 3 * 16, 1);
    EXPECT_EQ(Selection, (CellRect{2, 1, 5, 3}));
    mouse.LeftUp(4 + 5 * 8, 20 + 3 * 16);
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_EQ(Selection, (CellRect{2, 1, 5, 3}));
    EXPECT_FALSE(mouse.Dragging());
    // A new press clears it; the right button then has nothing to type.
    mouse.LeftDown(X(0), Y(0));
    EXPECT_TRUE(Selection.IsNull());
    mouse.LeftUp(X(0), Y(0));
    mouse.RightDown(X(0), Y(0));
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(Mouse, DragOutsideScrollsAndKeepsGrowing)
{
    host.extent = ViewExtent{300, 200, 648, 420};
    mouse.LeftDown(X(1), Y(1));
    mouse.Move(350, 250, 1);
    EXPECT_TRUE(host.timer);
    EXPECT_EQ(host.scroll.x, 8);
    EXPECT_EQ(host.scroll.y, 16);
    const CellRect first = Selection;
    PaintedSelection = Selection;  // as the painter does
    PixelPoint point;
    unsigned flags = 0;
    ASSERT_TRUE(mouse.AutoScrollTick(point, flags));
    EXPECT_FALSE(host.timer);
    EXPECT_EQ(point.x, 350);
    EXPECT_EQ(flags, 1u);
    mouse.Move(point.x, point.y, flags);
    EXPECT_GT(Selection.right, first.right);
    EXPECT_GT(Selection.bottom, first.bottom);
    // Above the view: scrolls up.
    mouse.Move(100, -5, 1);
    EXPECT_EQ(host.scroll.y, 16);
    mouse.LeftUp(100, -5);
    EXPECT_FALSE(host.timer);
    EXPECT_FALSE(mouse.AutoScrollTick(point, flags));
}

TEST_F(Mouse, EmptyClickStepsAPausedPlayback)
{
    Rec->EnableSendMousePos = 1;
    Rec->PlaybackState = 1 | kPlaybackPaused;
    mouse.LeftDown(X(3), Y(3));
    mouse.LeftUp(X(3), Y(3));
    EXPECT_EQ(Rec->PlaybackState, 1);
    EXPECT_EQ(host.steps, std::vector<bool>{true});
    EXPECT_TRUE(host.clicks.empty());
    Rec->PlaybackState = 1 | kPlaybackPaused;
    mouse.RightDown(X(3), Y(3));
    EXPECT_EQ(host.steps, (std::vector<bool>{true, false}));
}

TEST_F(Mouse, RightClickTypesTheSelection)
{
    mouse.SetSelection(CellRect{0, 0, 3, 1});
    mouse.RightDown(X(10), Y(10));
    EXPECT_EQ(host.commands, (std::vector<int>{kCmdCopy, kCmdPaste}));
}

TEST_F(Mouse, ButtonPressedReleasedAndRun)
{
    Rec->EnableHotspots = 1;
    DynButton& b = Button("b1", 3, 2, "%copy%");  // cells 2..5 of row 1
    mouse.LeftDown(X(3), Y(1));
    EXPECT_EQ(mouse.PressedButton(), &b);
    EXPECT_EQ(b.pressState, 1);
    EXPECT_FALSE(host.captured);
    mouse.Move(X(4), Y(1), 1);
    EXPECT_EQ(host.cursor, MouseCursor::Button);
    mouse.LeftUp(X(4), Y(1));
    EXPECT_EQ(b.pressState, 2);
    EXPECT_EQ(host.actions, std::vector<std::string>{"%copy%"});
    EXPECT_EQ(MouseCol, 5);
    EXPECT_EQ(MouseRow, 2);

    // Moving off cancels.
    mouse.LeftDown(X(3), Y(1));
    mouse.Move(X(30), Y(10), 1);
    EXPECT_EQ(b.pressState, 2);
    mouse.LeftUp(X(30), Y(10));
    EXPECT_EQ(host.actions.size(), 1u);

    // A hidden button is not hit, nor are buttons in history view: the press selects.
    b.hidden = 1;
    mouse.LeftDown(X(3), Y(1));
    EXPECT_EQ(mouse.PressedButton(), nullptr);
    EXPECT_TRUE(mouse.Dragging());
    mouse.LeftUp(X(3), Y(1));
    b.hidden = 0;
    Rec->HistoryView = 1;
    mouse.LeftDown(X(3), Y(1));
    EXPECT_TRUE(mouse.Dragging());
    mouse.LeftUp(X(3), Y(1));

    // A button deleted while pressed is not run.
    Rec->HistoryView = 0;
    mouse.LeftDown(X(3), Y(1));
    DynButtonMap.clear();
    mouse.LeftUp(X(3), Y(1));
    EXPECT_EQ(host.actions.size(), 1u);
}

TEST_F(Mouse, CursorsAndTheHotspotTrace)
{
    Rec->EnableHotspots = 1;
    DynButton& b = Button("b1", 3, 2, "left");
    b.clickRight2 = "r2";
    mouse.hotspotsTrace = true;
    mouse.Move(X(3), Y(1), 0);
    EXPECT_EQ(host.status, " Left:left Right2:r2");
    mouse.Move(X(30), Y(10), 0);
    EXPECT_EQ(host.cursor, MouseCursor::Arrow);
    Rec->TransferActive = 1;
    mouse.Move(X(30), Y(10), 0);
    EXPECT_EQ(host.cursor, MouseCursor::Transfer);
    Rec->TransferActive = 0;
    // Edit-box colours take input when clicks are sent.
    Rec->EnableSendMousePos = 1;
    Rec->BoxMapBg[6] = 3;
    Rec->BgScreen[10 * 80 + 30] = 6;
    mouse.Move(X(30), Y(10), 0);
    EXPECT_EQ(host.cursor, MouseCursor::IBeam);
    mouse.Move(X(31), Y(10), 0);
    EXPECT_EQ(host.cursor, MouseCursor::Arrow);
}

// ---- The rules of the view's commands.

TEST_F(ScreenFixture, ViewCommandRules)
{
    ViewCommandInputs in;
    ViewCommandUI ui;
    ASSERT_TRUE(ViewCommandUpdate(kViewCopy, *Rec, in, ui));
    EXPECT_FALSE(ui.enabled);
    in.selection = true;
    ViewCommandUpdate(kViewCopyTable, *Rec, in, ui);
    EXPECT_TRUE(ui.enabled);
    in.pastePending = true;
    ViewCommandUpdate(kViewPaste, *Rec, in, ui);
    EXPECT_FALSE(ui.enabled);

    ViewCommandUpdate(kViewHistoryScrollback, *Rec, in, ui);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(ui.checked, 0);
    Rec->HistoryView = 1;
    Rec->TerminalFamily3270 = 1;
    ViewCommandUpdate(kViewHistoryScrollback, *Rec, in, ui);
    EXPECT_FALSE(ui.enabled);
    EXPECT_EQ(ui.checked, 1);

    ViewCommandUpdate(kViewDosBox, *Rec, in, ui);
    EXPECT_FALSE(ui.enabled);
    Rec->AllowDOS = 1;
    ViewCommandUpdate(kViewDosBox, *Rec, in, ui);
    EXPECT_TRUE(ui.enabled);
    Rec->LockDosBox = 1;
    ViewCommandUpdate(kViewDosBox, *Rec, in, ui);
    EXPECT_FALSE(ui.enabled);

    Rec->LockScaleFont = 1;
    Rec->ScaleFontToView = 1;
    ViewCommandUpdate(kViewScaleFontToView, *Rec, in, ui);
    EXPECT_FALSE(ui.enabled);
    EXPECT_EQ(ui.checked, 1);

    in.hotspotsTrace = true;
    ViewCommandUpdate(kViewTraceHotspots, *Rec, in, ui);
    EXPECT_EQ(ui.checked, 1);
    Rec->TraceVirtualKeys = 1;
    ViewCommandUpdate(kViewTraceVirtualKeys, *Rec, in, ui);
    EXPECT_EQ(ui.checked, 1);
    ViewCommandUpdate(kViewTraceKeyboard, *Rec, in, ui);
    EXPECT_EQ(ui.checked, 0);
    EXPECT_FALSE(ViewCommandUpdate(256, *Rec, in, ui));
}

}  // namespace
