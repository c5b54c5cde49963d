// The screen actions: cursor motion, scrolling with history, line and character editing,
// erasing with protection, tab stops, the rendition setters, modes and the requests to the view,
// each with the dirty rectangle it reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"
#include "fake_platform.h"
#include "shell/record_defaults.h"
#include "session/session_record.h"

// Dirty rectangles compare and print as values (found by argument lookup).
inline bool operator==(const DirtyRect& a, const DirtyRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const DirtyRect& d)
{
    return os << "{" << d.left << "," << d.top << "," << d.right << "," << d.bottom << "}";
}

namespace {

const ViewWindow kWindow = reinterpret_cast<ViewWindow>(std::uintptr_t{0x1234});
constexpr int kCellW = 8;
constexpr int kCellH = 16;

// Records every call the engine makes of the view.
class RecordingView : public ViewPort {
public:
    void RequestPrintScreen(ViewWindow window) override { calls.push_back("print " + Hex(window)); }
    void SendScaleViewToFont(ViewWindow window) override { calls.push_back("scale " + Hex(window)); }
    void SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor) override
    {
        calls.push_back("pane " + std::to_string(pane) + " " + text + " " + std::to_string(textColor) + "/" +
                        std::to_string(backColor));
    }
    void ShowStatusProgress(int pane, int percent, const char* text, uint32_t color) override
    {
        calls.push_back("progress " + std::to_string(pane) + " " + std::to_string(percent) + "% " +
                        (text ? text : "(none)") + " " + std::to_string(color));
    }
    static std::string Hex(ViewWindow w)
    {
        return std::to_string(reinterpret_cast<std::uintptr_t>(w));
    }
    std::vector<std::string> calls;
};

class ScreenActions : public testing::Test {
protected:
    void SetUp() override
    {
        PlaneHooks = DefaultScreenPlaneHooks();
        PrintHooks = DefaultHostPrintHooks();
        HistorySavedCount = 0;
        SetViewPort(&view);
        rec.reset(new SettingsRecord());
        r().MaxCols = 80;
        r().MaxRows = 24;
        r().CellWidth = kCellW;
        r().CellHeight = kCellH;
        r().ScrollBottom = 23;
        r().NormalFg = 3;
        r().NormalBg = 9;
        r().Terminal = 1;
        Allocate(0);
    }
    void TearDown() override
    {
        FreeScreenBuffers(r());
        SetViewPort(nullptr);
        PrintHooks = DefaultHostPrintHooks();
    }

    SettingsRecord& r() { return *rec; }

    void Allocate(int historyRows)
    {
        r().HistoryRows = historyRows;
        ASSERT_EQ(AllocScreenBuffers(r()), 1);
    }

    // Every row r holds the letter 'A' + r, colours r / r + 1, flags 0x02 and protection 0.
    void FillRows()
    {
        for (int row = 0; row < r().MaxRows; ++row) {
            const int at = row * r().MaxCols;
            std::memset(r().CharsScreen + at, 'A' + row, r().MaxCols);
            std::memset(r().FgScreen + at, row, r().MaxCols);
            std::memset(r().BgScreen + at, row + 1, r().MaxCols);
            std::memset(r().FlagsScreen + at, 0x02, r().MaxCols);
        }
        std::memset(r().ProtectionPlane, 0, sizeof r().ProtectionPlane);
    }

    // The characters of a visible row.
    std::string Row(int row) const
    {
        return std::string(reinterpret_cast<const char*>(rec->CharsScreen + row * rec->MaxCols), rec->MaxCols);
    }
    char At(int row, int col) const { return static_cast<char>(rec->CharsScreen[row * rec->MaxCols + col]); }
    int Offset(int row, int col) const { return row * rec->MaxCols + col; }

    // A dirty rectangle in cells (left col, top row, right col, bottom row), for readable checks.
    static DirtyRect Cells(int c0, int r0, int c1, int r1) { return {c0 * kCellW, r0 * kCellH, c1 * kCellW, r1 * kCellH}; }

    RecordingView view;
    FakePlatform platform;
    ScopedPlatform installed{platform};
    std::unique_ptr<SettingsRecord> rec;
    DirtyRect dirty = kEmptyDirtyRect;
};

// ---- Cursor motion.

struct MoveCase {
    const char* name;
    int terminal;
    int top, bottom;
    int row, col;
    void (*action)(SettingsRecord&, DirtyRect&);
    int expectedRow, expectedCol;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class Moves : public ScreenActions, public testing::WithParamInterface<MoveCase> {};

TEST_P(Moves, LandWhereExpected)
{
    const MoveCase& c = GetParam();
    r().Terminal = c.terminal;
    r().ScrollTop = static_cast<uint8_t>(c.top);
    r().ScrollBottom = static_cast<uint8_t>(c.bottom);
    r().CursorRow = c.row;
    r().CursorCol = c.col;
    c.action(r(), dirty);
    EXPECT_EQ(r().CursorRow, c.expectedRow);
    EXPECT_EQ(r().CursorCol, c.expectedCol);
}

#define ACT(call) [](SettingsRecord& rec, DirtyRect& d) { call; }

INSTANTIATE_TEST_SUITE_P(
    Table, Moves,
    testing::Values(
        MoveCase{"CrToColumn0", 1, 0, 23, 5, 40, ACT(CarriageReturn(kWindow, rec, d)), 5, 0},
        MoveCase{"LeftStopsAt0", 1, 0, 23, 5, 0, ACT(CursorLeft(kWindow, rec, d)), 5, 0},
        MoveCase{"RightStopsAtLast", 1, 0, 23, 5, 79, ACT(CursorRight(kWindow, rec, d)), 5, 79},
        MoveCase{"UpStopsAtTop", 1, 0, 23, 1, 7, ACT(CursorUp(kWindow, rec, d, 3)), 0, 7},
        MoveCase{"UpStopsAtMargin", 1, 5, 20, 8, 7, ACT(CursorUp(kWindow, rec, d, 9)), 5, 7},
        MoveCase{"UpAboveRegionStopsAtRow0", 1, 5, 20, 3, 7, ACT(CursorUp(kWindow, rec, d, 9)), 0, 7},
        MoveCase{"WyseUpWraps", 8, 0, 23, 1, 7, ACT(CursorUp(kWindow, rec, d, 3)), 22, 7},
        MoveCase{"WyseUpReducesByRows", 12, 0, 23, 1, 7, ACT(CursorUp(kWindow, rec, d, 51)), 22, 7},
        MoveCase{"UpOne", 1, 0, 23, 4, 7, ACT(CursorUpOne(kWindow, rec, d)), 3, 7},
        MoveCase{"Position00", 1, 0, 23, 9, 9, ACT(CursorPosition(kWindow, rec, d, 0, 0)), 0, 0},
        MoveCase{"Position11", 1, 0, 23, 9, 9, ACT(CursorPosition(kWindow, rec, d, 1, 1)), 0, 0},
        MoveCase{"PositionClamped", 1, 0, 23, 9, 9, ACT(CursorPosition(kWindow, rec, d, 99, 200)), 23, 79},
        MoveCase{"PositionNegative", 1, 0, 23, 9, 9, ACT(CursorPosition(kWindow, rec, d, -4, -1)), 0, 0},
        MoveCase{"Home", 1, 0, 23, 9, 9, ACT(CursorHome(kWindow, rec, d)), 0, 0},
        MoveCase{"LineFeedInsideRegion", 1, 5, 10, 12, 3, ACT(LineFeed(kWindow, rec, d)), 13, 3},
        MoveCase{"LineFeedBelowRegionStays", 1, 5, 10, 23, 3, ACT(LineFeed(kWindow, rec, d)), 23, 3},
        MoveCase{"ReverseIndexMovesUp", 1, 5, 10, 8, 3, ACT(ReverseIndex(kWindow, rec, d)), 7, 3},
        MoveCase{"ReverseIndexOutsideRegion", 1, 5, 10, 3, 3, ACT(ReverseIndex(kWindow, rec, d)), 3, 3}));

TEST_F(ScreenActions, MovesReportNoDirtyRectangle)
{
    CursorPosition(kWindow, r(), dirty, 5, 5);
    CursorUp(kWindow, r(), dirty, 2);
    CursorRight(kWindow, r(), dirty);
    LineFeed(kWindow, r(), dirty);
    EXPECT_EQ(dirty, kEmptyDirtyRect);
}

// ---- Line feed and scrolling.

TEST_F(ScreenActions, LineFeedAtBottomScrollsAndFeedsTheHistory)
{
    Allocate(10);
    r().HistoryView = 1;
    FillRows();
    r().CursorRow = 23;
    LineFeed(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorRow, 23);
    EXPECT_EQ(At(0, 0), 'B');
    EXPECT_EQ(At(22, 0), 'X');
    EXPECT_EQ(Row(23), std::string(80, ' '));
    EXPECT_EQ(r().FgScreen[Offset(23, 0)], 3);  // blank cells take the erase colours
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 80], 'A');  // newest history row
    // The history rows stay in the dirty rectangle after the region scroll widened it.
    EXPECT_EQ(dirty, (DirtyRect{0, -10 * kCellH, 80 * kCellW, 24 * kCellH}));
}

TEST_F(ScreenActions, LineFeedWithRegionScrollsOnlyTheRegion)
{
    Allocate(10);
    r().HistoryView = 1;
    FillRows();
    r().ScrollTop = 5;
    r().ScrollBottom = 10;
    r().CursorRow = 10;
    LineFeed(kWindow, r(), dirty);
    EXPECT_EQ(At(4, 0), 'E');
    EXPECT_EQ(At(5, 0), 'G');
    EXPECT_EQ(At(9, 0), 'K');
    EXPECT_EQ(At(10, 0), ' ');
    EXPECT_EQ(At(11, 0), 'L');
    // Screen row 0 still enters the history (the region does not start at row 0).
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 80], 'A');
}

TEST_F(ScreenActions, ReverseIndexAtTopMarginScrollsDown)
{
    FillRows();
    r().ScrollTop = 2;
    r().ScrollBottom = 6;
    r().CursorRow = 2;
    ReverseIndex(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorRow, 2);
    EXPECT_EQ(At(2, 0), ' ');
    EXPECT_EQ(At(3, 0), 'C');
    EXPECT_EQ(At(6, 0), 'F');
    EXPECT_EQ(At(7, 0), 'H');
    EXPECT_EQ(dirty, Cells(0, 2, 80, 7));
}

// ---- Insert and delete.

TEST_F(ScreenActions, InsertAndDeleteLinesMoveAllFivePlanes)
{
    FillRows();
    r().ProtectionPlane[Offset(3, 0)] = 1;
    InsertLines(kWindow, r(), dirty, 2, 3);
    EXPECT_EQ(At(3, 0), ' ');
    EXPECT_EQ(At(4, 0), ' ');
    EXPECT_EQ(At(5, 0), 'D');
    EXPECT_EQ(r().FgScreen[Offset(5, 0)], 3);
    EXPECT_EQ(r().BgScreen[Offset(5, 0)], 4);
    EXPECT_EQ(r().FlagsScreen[Offset(5, 0)], 0x02);
    EXPECT_EQ(r().ProtectionPlane[Offset(5, 0)], 1);
    EXPECT_EQ(r().ProtectionPlane[Offset(3, 0)], 0);
    EXPECT_EQ(At(23, 0), 'V');  // 'W' and 'X' fell off the bottom margin
    EXPECT_EQ(dirty, Cells(0, 3, 80, 24));

    dirty = kEmptyDirtyRect;
    DeleteLines(kWindow, r(), dirty, 2, 3);
    EXPECT_EQ(At(3, 0), 'D');
    EXPECT_EQ(r().ProtectionPlane[Offset(3, 0)], 1);
    EXPECT_EQ(At(21, 0), 'V');
    EXPECT_EQ(Row(22), std::string(80, ' '));
    EXPECT_EQ(Row(23), std::string(80, ' '));
}

TEST_F(ScreenActions, InsertMoreLinesThanTheRegionHoldsBlanksTheRest)
{
    FillRows();
    InsertLines(kWindow, r(), dirty, 30, 20);
    EXPECT_EQ(At(19, 0), 'T');
    for (int row = 20; row < 24; ++row) EXPECT_EQ(Row(row), std::string(80, ' ')) << row;
    dirty = kEmptyDirtyRect;
    DeleteLines(kWindow, r(), dirty, 1000, 0);
    for (int row = 0; row < 24; ++row) EXPECT_EQ(At(row, 5), ' ') << row;
}

TEST_F(ScreenActions, InsertLineOnlyInsideTheRegion)
{
    FillRows();
    r().ScrollTop = 5;
    r().ScrollBottom = 10;
    r().CursorRow = 12;
    InsertLine(kWindow, r(), dirty);
    DeleteLine(kWindow, r(), dirty);
    EXPECT_EQ(At(12, 0), 'M');
    EXPECT_EQ(dirty, kEmptyDirtyRect);
    r().CursorRow = 10;
    DeleteLine(kWindow, r(), dirty);
    EXPECT_EQ(At(10, 0), ' ');
    EXPECT_EQ(At(11, 0), 'L');
}

struct CharEditCase {
    const char* name;
    bool insert;
    int col;
    int n;
    const char* expectedRowStart;  // first 8 characters of row 0
    const char* expectedRowEnd;    // last 4 characters of row 0
};
void PrintTo(const CharEditCase& c, std::ostream* os) { *os << c.name; }

class CharEdits : public ScreenActions, public testing::WithParamInterface<CharEditCase> {};

TEST_P(CharEdits, ShiftTheRestOfTheRow)
{
    const CharEditCase& c = GetParam();
    for (int col = 0; col < 80; ++col) r().CharsScreen[col] = static_cast<uint8_t>('0' + col % 10);
    r().CharsScreen[80] = 'N';  // the next row is never touched
    r().CursorCol = c.col;
    if (c.insert)
        InsertBlanks(kWindow, r(), dirty, c.n);
    else
        DeleteChars(kWindow, r(), dirty, c.n);
    EXPECT_EQ(Row(0).substr(0, 8), c.expectedRowStart);
    EXPECT_EQ(Row(0).substr(76), c.expectedRowEnd);
    EXPECT_EQ(At(1, 0), 'N');
    EXPECT_EQ(dirty, Cells(c.col, 0, 80, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharEdits,
    testing::Values(CharEditCase{"InsertTwo", true, 2, 2, "01  2345", "4567"},
                    CharEditCase{"InsertPastEnd", true, 2, 500, "01      ", "    "},
                    CharEditCase{"InsertAtLastColumn", true, 79, 1, "01234567", "678 "},
                    CharEditCase{"DeleteTwo", false, 2, 2, "01456789", "89  "},
                    CharEditCase{"DeletePastEnd", false, 2, 500, "01      ", "    "},
                    CharEditCase{"DeleteAtLastColumn", false, 79, 1, "01234567", "678 "}));

// ---- Erasing.

struct EraseCase {
    const char* name;
    int row, col;
    void (*action)(SettingsRecord&, DirtyRect&);
    int firstErased, lastErased;  // offsets, inclusive; -1 for nothing
    DirtyRect expectedDirty;
};
void PrintTo(const EraseCase& c, std::ostream* os) { *os << c.name; }

class Erases : public ScreenActions, public testing::WithParamInterface<EraseCase> {};

TEST_P(Erases, ExactlyTheCellsNamed)
{
    const EraseCase& c = GetParam();
    FillRows();
    r().CursorRow = c.row;
    r().CursorCol = c.col;
    c.action(r(), dirty);
    for (int i = 0; i < 24 * 80; ++i) {
        const bool erased = i >= c.firstErased && i <= c.lastErased;
        const char expected = erased ? ' ' : static_cast<char>('A' + i / 80);
        ASSERT_EQ(static_cast<char>(r().CharsScreen[i]), expected) << "cell " << i;
    }
    EXPECT_EQ(dirty, c.expectedDirty);
}

#define ERASE(fn) ACT(fn(kWindow, rec, d, false, ' '))

INSTANTIATE_TEST_SUITE_P(
    Table, Erases,
    testing::Values(
        EraseCase{"ToEndOfLine", 2, 70, ERASE(EraseToEndOfLineEx), 230, 239, {70 * kCellW, 2 * kCellH, 80 * kCellW, 3 * kCellH}},
        // The cell under the cursor is erased in the last column too.
        EraseCase{"ToEndOfLineLastColumn", 2, 79, ERASE(EraseToEndOfLineEx), 239, 239, {79 * kCellW, 2 * kCellH, 80 * kCellW, 3 * kCellH}},
        EraseCase{"FromStartOfLine", 2, 5, ERASE(EraseFromStartOfLineEx), 160, 165, {0, 2 * kCellH, 6 * kCellW, 3 * kCellH}},
        // ... and in column 0 by the erase from the start of the line.
        EraseCase{"FromStartOfLineColumn0", 2, 0, ERASE(EraseFromStartOfLineEx), 160, 160, {0, 2 * kCellH, 1 * kCellW, 3 * kCellH}},
        EraseCase{"Line", 2, 40, ERASE(EraseLineEx), 160, 239, {0, 2 * kCellH, 80 * kCellW, 3 * kCellH}},
        EraseCase{"ToEndOfScreenEx", 22, 78, ERASE(EraseToEndOfScreenEx), 22 * 80 + 78, 1919, {0, 22 * kCellH, 80 * kCellW, 24 * kCellH}},
        EraseCase{"FromStartOfScreenEx", 1, 1, ERASE(EraseFromStartOfScreenEx), 0, 81, {0, 0, 80 * kCellW, 2 * kCellH}},
        EraseCase{"ScreenEx", 5, 5, ERASE(EraseScreenEx), 0, 1919, {0, 0, 80 * kCellW, 24 * kCellH}},
        EraseCase{"ToEndOfScreen", 0, 1, ACT(EraseToEndOfScreen(kWindow, rec, d)), 1, 1919, {0, 0, 80 * kCellW, 24 * kCellH}},
        EraseCase{"ClearScreen", 7, 7, ACT(ClearScreen(kWindow, rec, d)), 0, 1919, {0, 0, 80 * kCellW, 24 * kCellH}}));

TEST_F(ScreenActions, ExtendedErasesHonourProtectionAndKeepAttributes)
{
    FillRows();
    r().ProtectionPlane[Offset(0, 3)] = 1;
    r().FlagsScreen[Offset(0, 4)] = 0xFF;
    r().ProtectMode = 1;
    EraseScreenEx(kWindow, r(), dirty, true, '.');
    EXPECT_EQ(At(0, 3), 'A');  // protected cell untouched
    EXPECT_EQ(At(0, 4), '.');
    EXPECT_EQ(r().FlagsScreen[Offset(0, 4)], 0x71);  // underline and line size kept
    EXPECT_EQ(r().FgScreen[Offset(0, 4)], 0);         // colours kept
    EXPECT_EQ(r().ProtectionPlane[Offset(0, 3)], 1);

    EraseLineEx(kWindow, r(), dirty, false, ' ');
    EXPECT_EQ(At(0, 3), 'A');
    EXPECT_EQ(r().FgScreen[Offset(0, 4)], 3);  // the erase colours
    EXPECT_EQ(r().FlagsScreen[Offset(0, 4)], 0);

    r().ProtectMode = 0;
    EraseLineEx(kWindow, r(), dirty, false, ' ');
    EXPECT_EQ(At(0, 3), ' ');
    EXPECT_EQ(r().ProtectionPlane[Offset(0, 3)], 1);  // the byte itself is never changed

    // The plain erases ignore protection and clear the byte.
    r().ProtectMode = 1;
    ClearScreen(kWindow, r(), dirty);
    EXPECT_EQ(r().ProtectionPlane[Offset(0, 3)], 0);
}

TEST_F(ScreenActions, WholeScreenErasesGoToTheHistoryOnce)
{
    Allocate(30);
    r().HistoryView = 1;
    FillRows();
    r().PrintedCount = 5;
    EraseToEndOfScreen(kWindow, r(), dirty);  // at 0,0: clear and home
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 80], 'X');
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 24 * 80], 'A');
    // Nothing written since: the next whole-screen erase adds nothing.
    r().CharsBase[0] = '#';
    EraseScreenEx(kWindow, r(), dirty, false, ' ');
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 80], 'X');
    // An erase that does not cover the whole screen never saves.
    r().PrintedCount = 6;
    r().CursorRow = 0;
    r().CursorCol = 1;
    EraseToEndOfScreenEx(kWindow, r(), dirty, false, ' ');
    EXPECT_EQ(r().CharsBase[r().HistoryCells - 80], 'X');
}

TEST_F(ScreenActions, ClearScreenAndHomeUsesTheBlankColours)
{
    FillRows();
    r().CursorRow = 9;
    r().CursorCol = 9;
    ClearScreenAndHome(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorRow, 0);
    EXPECT_EQ(r().CursorCol, 0);
    EXPECT_EQ(r().FgScreen[Offset(23, 79)], 3);
    EXPECT_EQ(r().BgScreen[Offset(23, 79)], 9);
    EXPECT_EQ(r().FlagsScreen[Offset(23, 79)], 0);
}

TEST_F(ScreenActions, FillStaysInsideTheVisibleScreen)
{
    r().CharsScreen[kScreenCells - 1] = 'Z';
    FillScreenCells(r(), 100000, 24 * 80 - 2, '*', 0);
    EXPECT_EQ(At(23, 78), '*');
    EXPECT_EQ(At(23, 79), '*');
    EXPECT_EQ(r().CharsScreen[24 * 80], ' ');
    FillScreenCells(r(), 5, -3, '#', 0);
    EXPECT_EQ(At(0, 1), '#');
    EXPECT_EQ(At(0, 2), ' ');
    EXPECT_EQ(r().CharsScreen[kScreenCells - 1], 'Z');
}

TEST_F(ScreenActions, ARowCountBeyondThePlanesStaysInsideThem)
{
    // A screen taller than the planes (never allowed by the loaders) must not reach past them.
    r().MaxRows = 200;
    r().ScrollBottom = 199;
    r().CursorRow = 199;
    InsertLines(kWindow, r(), dirty, 1, 0);
    DeleteLines(kWindow, r(), dirty, 2, 10);
    LineFeed(kWindow, r(), dirty);
    EraseToEndOfScreenEx(kWindow, r(), dirty, false, ' ');
    CursorPosition(kWindow, r(), dirty, 500, 500);
    EXPECT_EQ(r().CursorRow, kScreenCells / 80 - 1);
}

// ---- Screen size.

TEST_F(ScreenActions, SetColumnsAndRowsClearHomeAndRefit)
{
    FillRows();
    r().ScrollTop = 3;
    r().ScrollBottom = 9;
    r().CursorRow = 5;
    SetColumnsAndClear(kWindow, r(), dirty, 132);
    EXPECT_EQ(r().MaxCols, 132);
    EXPECT_EQ(r().ScrollTop, 0);
    EXPECT_EQ(r().ScrollBottom, 23);
    EXPECT_EQ(r().CursorRow, 0);
    EXPECT_EQ(Row(23), std::string(132, ' '));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"scale " + RecordingView::Hex(kWindow)}));

    SetRowsAndClear(kWindow, r(), dirty, 25);
    EXPECT_EQ(r().MaxRows, 25);
    EXPECT_EQ(r().ScrollBottom, 24);
    // 27 rows of 132 columns no longer fit the planes: refused, the screen is still cleared.
    SetRowsAndClear(kWindow, r(), dirty, 30);
    EXPECT_EQ(r().MaxRows, 25);
}

// ---- Tab stops.

TEST_F(ScreenActions, TabStopsStayOrderedAndUnique)
{
    std::strcpy(r().Tabs, "9,17,25");
    ParseTabStops(r());
    ASSERT_EQ(r().TabStopCount, 3);
    r().CursorCol = 12;
    SetTabStop(kWindow, r(), dirty);
    r().CursorCol = 16;
    SetTabStop(kWindow, r(), dirty);  // already a stop
    r().CursorCol = 70;
    SetTabStop(kWindow, r(), dirty);
    EXPECT_EQ(std::vector<int>(r().TabStops, r().TabStops + r().TabStopCount), (std::vector<int>{8, 12, 16, 24, 70}));

    r().CursorCol = 70;
    ClearTabStop(kWindow, r(), dirty);
    SetTabStop(kWindow, r(), dirty);  // a removed column can be added again at the end
    r().CursorCol = 13;
    ClearTabStop(kWindow, r(), dirty);  // not a stop
    r().CursorCol = 12;
    ClearTabStop(kWindow, r(), dirty);
    EXPECT_EQ(std::vector<int>(r().TabStops, r().TabStops + r().TabStopCount), (std::vector<int>{8, 16, 24, 70}));

    ClearAllTabStops(kWindow, r(), dirty);
    EXPECT_EQ(r().TabStopCount, 0);
    EXPECT_EQ(r().TabStops[0], 0);
    r().CursorCol = 30;
    TabBackward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 0);
}

TEST_F(ScreenActions, TabMovesAreClampedWhateverTheTableHolds)
{
    std::strcpy(r().Tabs, "9,17");
    ParseTabStops(r());
    r().CursorCol = 3;
    TabForward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 8);
    TabForward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 16);
    TabForward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 79);  // past the last stop
    TabBackward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 16);

    // A table kept from a 132-column screen, and a corrupt count.
    r().TabStops[0] = 120;
    r().TabStopCount = 1;
    r().CursorCol = 5;
    TabForward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 79);
    r().TabStopCount = 100000;
    for (int i = 0; i < kMaxTabStops; ++i) r().TabStops[i] = static_cast<uint8_t>(i);
    r().CursorCol = 79;
    SetTabStop(kWindow, r(), dirty);  // the table is full: nothing is written past it
    EXPECT_EQ(r().TabStopCount, 100000);
    r().TabStopCount = kMaxTabStops;
    r().CursorCol = 200;
    TabBackward(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorCol, 79);
}

// ---- Rendition.

class Rendition : public ScreenActions {
protected:
    void SetUp() override
    {
        ScreenActions::SetUp();
        for (int e = 0; e < 16; ++e) {
            r().AttrColors[e][kAttrFg] = 2 + (e % 8);  // distinct pairs per row
            r().AttrColors[e][kAttrBg] = 12 + (e % 8);
        }
        r().AttrColors[8][kAttrFg] = 18;
        r().AttrColors[8][kAttrBg] = 19;
        r().CurFg = 4;
        r().CurBg = 9;
        r().NormalFg = 3;
        r().NormalBg = 9;
        r().ReverseFg = 9;
        r().ReverseBg = 3;
    }
};

TEST_F(Rendition, HostColourModeBrightensAndReverses)
{
    r().UseHostColor = 1;
    SetBold(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 14);
    SetBold(kWindow, r(), dirty);  // a second bold changes nothing
    EXPECT_EQ(r().CurFg, 14);

    SetReverse(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 19);  // ReverseFg 9 brightened for bold
    EXPECT_EQ(r().CurBg, 3);
    r().CurFg = 5;
    SetReverse(kWindow, r(), dirty);  // once is enough
    EXPECT_EQ(r().CurFg, 5);

    SetBlink(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 18);
    EXPECT_EQ(r().CurBg, 19);
    SetInvisible(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 19);

    ResetRendition(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 3);
    EXPECT_EQ(r().CurBg, 9);
    for (int f : r().SgrFlags) EXPECT_EQ(f, 0);
}

TEST_F(Rendition, HostColourModeTrueBoldAndInvisible)
{
    r().UseHostColor = 1;
    r().TrueBold = 1;
    SetBold(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 4);
    EXPECT_EQ(r().CellFlags, 0x02);

    ResetRendition(kWindow, r(), dirty);
    EXPECT_EQ(r().CellFlags, 0);
    r().TrueBold = 0;
    SetInvisible(kWindow, r(), dirty);
    SetBold(kWindow, r(), dirty);  // invisible: no brightening
    EXPECT_EQ(r().CurFg, r().CurBg);
    SetReverse(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, 3);
    EXPECT_EQ(r().CurBg, 3);
}

TEST_F(Rendition, AttributeModePicksTheRowOfTheFlags)
{
    r().TrueUnderline = 1;
    SetBold(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[1][kAttrFg]);
    SetUnderline(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[5][kAttrFg]);
    EXPECT_EQ(r().CellFlags, 0x01);
    SetBlink(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[13][kAttrFg]);
    EXPECT_EQ(r().CurBg, r().AttrColors[13][kAttrBg]);
    SetReverse(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[15][kAttrFg]);
    SetInvisible(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[15][kAttrBg]);
    EXPECT_EQ(r().CurBg, r().AttrColors[15][kAttrBg]);
    ResetRendition(kWindow, r(), dirty);
    EXPECT_EQ(r().CurFg, r().AttrColors[0][kAttrFg]);
    EXPECT_EQ(r().CurBg, r().AttrColors[0][kAttrBg]);
}

TEST_F(Rendition, ColourIndicesFromSettingsAreChecked)
{
    r().AttrColors[1][kAttrFg] = 250;
    r().AttrColors[1][kAttrBg] = -3;
    SetBold(kWindow, r(), dirty);
    EXPECT_LT(r().CurFg, kColorIndices);
    EXPECT_LT(r().CurBg, kColorIndices);
    r().UseHostColor = 1;
    r().AttrColors[8][kAttrFg] = 99;
    SetBlink(kWindow, r(), dirty);
    EXPECT_LT(r().CurFg, kColorIndices);
}

TEST_F(ScreenActions, PlaneColoursFromSettingsAreChecked)
{
    r().AttrColors[kAttrNormal][kAttrFg] = 40;
    r().AttrColors[kAttrNormal][kAttrBg] = 300;
    Allocate(2);
    EXPECT_EQ(r().FgScreen[0], 0);
    EXPECT_EQ(r().BgScreen[0], 1);
    EXPECT_EQ(r().FgBase[0], 0);
    ResetTerminal(r());
    EXPECT_EQ(r().CurFg, 0);
    EXPECT_EQ(r().CurBg, 1);
}

// ---- Cursor display, modes and requests.

TEST_F(ScreenActions, CursorDisplayMarksTheCursorCellOnly)
{
    r().CursorRow = 2;
    r().CursorCol = 3;
    r().CursorFlags = kCaretExists | kCursorShown;
    HideCursor(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorFlags, kCaretExists | kCaretRecreate);
    EXPECT_EQ(dirty, Cells(3, 2, 4, 3));
    ShowCursor(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorFlags, kCaretExists | kCursorShown | kCaretRecreate);
    UnderlineCursor(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorStyle, 2);
    BlockCursor(kWindow, r(), dirty);
    EXPECT_EQ(r().CursorStyle, 0);

    // A rectangle that already holds something is left alone.
    dirty = Cells(0, 0, 1, 1);
    HideCursor(kWindow, r(), dirty);
    EXPECT_EQ(dirty, Cells(0, 0, 1, 1));
}

TEST_F(ScreenActions, ModeSwitches)
{
    struct {
        void (*on)(ViewWindow, SettingsRecord&, DirtyRect&);
        void (*off)(ViewWindow, SettingsRecord&, DirtyRect&);
        int (*read)(const SettingsRecord&);
    } switches[] = {
        {AutoWrapOn, AutoWrapOff, [](const SettingsRecord& s) { return static_cast<int>(s.AutoWrapNow); }},
        {InsertModeOn, InsertModeOff, [](const SettingsRecord& s) { return static_cast<int>(s.InsertMode); }},
        {ProtectModeOn, ProtectModeOff, [](const SettingsRecord& s) { return static_cast<int>(s.ProtectMode); }},
        {ProtectAttributeOn, ProtectAttributeOff,
         [](const SettingsRecord& s) { return static_cast<int>(s.ProtectAttribute); }},
    };
    for (const auto& s : switches) {
        s.on(kWindow, r(), dirty);
        EXPECT_EQ(s.read(r()), 1);
        s.off(kWindow, r(), dirty);
        EXPECT_EQ(s.read(r()), 0);
    }
}

TEST_F(ScreenActions, HostPrintStartsAndEndsOnce)
{
    static std::vector<std::string> log;
    log.clear();
    PrintHooks.startPrint = [](int mode) { log.push_back("start " + std::to_string(mode)); };
    PrintHooks.endPrint = [](int flag) { log.push_back("end " + std::to_string(flag)); };
    StartHostPrint(kWindow, r(), dirty, 1);
    StartHostPrint(kWindow, r(), dirty, 1);
    StartHostPrint(kWindow, r(), dirty, 2);
    StopHostPrint(kWindow, r(), dirty);
    StopHostPrint(kWindow, r(), dirty);
    EXPECT_EQ(log, (std::vector<std::string>{"start 1", "end 0", "start 2", "end 0"}));
    EXPECT_EQ(r().PrinterControllerMode, 0);
}

TEST_F(ScreenActions, RequestsReachTheView)
{
    RequestPrintScreen(kWindow, r(), dirty);
    r().Charset = 3;
    r().CurrentFont.CharSet = 0;
    char text[] = "Ready\t1\x01";
    ShowStatusText(kWindow, r(), dirty, text);
    EXPECT_STREQ(text, "Ready 1 ");
    Set3270KeyboardIndicator(1);
    Set3270KeyboardIndicator(0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{
                              "print " + RecordingView::Hex(kWindow),
                              "pane 1 Ready 1  8388608/12632256",
                              "progress 2 100% Keyboard locked 255",
                              "progress 2 0%  0",
                          }));
}

TEST_F(ScreenActions, ResetTerminalClearsTheKeyboardIndicatorThroughTheView)
{
    ResetTerminal(r());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"progress 2 0%  0"}));
}

}  // namespace
