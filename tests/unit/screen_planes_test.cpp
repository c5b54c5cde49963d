// Screen planes and terminal state: allocation with halving, the width switch,
// history, the terminal reset, the parameter parser and the screen-text extractor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "fake_platform.h"
#include "session/session_record.h"

namespace {

constexpr ViewWindow kNoWindow = nullptr;

class ScreenPlanes : public testing::Test {
protected:
    void SetUp() override
    {
        PlaneHooks = DefaultScreenPlaneHooks();
        HistorySavedCount = 0;
        rec.reset(new SettingsRecord());
        rec->MaxCols = 80;
        rec->MaxRows = 24;
        rec->CellWidth = 7;
        rec->CellHeight = 9;
        rec->AttrColors[kAttrNormal][kAttrFg] = 3;
        rec->AttrColors[kAttrNormal][kAttrBg] = 9;
        rec->AttrColors[kAttrHistoryLines][kAttrFg] = 9;
        rec->AttrColors[kAttrHistoryLines][kAttrBg] = 12;
        rec->UseHistoryLinesColor = 1;
    }

    void TearDown() override
    {
        FreeScreenBuffers(*rec);
        EXPECT_EQ(platform.liveBlocks, 0) << "every plane was given back";
        PlaneHooks = DefaultScreenPlaneHooks();
    }

    void Allocate(int historyRows)
    {
        rec->HistoryRows = historyRows;
        ASSERT_EQ(AllocScreenBuffers(*rec), 1);
    }

    // Writes text at a visible cell.
    void Write(int row, int col, const std::string& text, uint8_t flags = 0)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int offset = row * rec->MaxCols + col + static_cast<int>(i);
            rec->CharsScreen[offset] = static_cast<uint8_t>(text[i]);
            rec->FlagsScreen[offset] = flags;
        }
    }

    // Fills every visible row r with the letter 'A' + r (and fg = r, flags = r).
    void FillRowsWithLetters()
    {
        for (int r = 0; r < rec->MaxRows; ++r) {
            std::memset(rec->CharsScreen + r * rec->MaxCols, 'A' + r, rec->MaxCols);
            std::memset(rec->FgScreen + r * rec->MaxCols, r, rec->MaxCols);
            std::memset(rec->FlagsScreen + r * rec->MaxCols, r, rec->MaxCols);
        }
    }

    // History row k (0 = oldest) as seen from the bases.
    uint8_t HistoryChar(int k, int col = 0) const { return rec->CharsBase[k * rec->MaxCols + col]; }

    FakePlatform platform;
    ScopedPlatform installed{platform};
    std::unique_ptr<SettingsRecord> rec;
};

// ---- AllocScreenBuffers.

TEST_F(ScreenPlanes, ThousandRowsOfEightyColumns)
{
    std::memset(rec->ProtectionPlane, 7, sizeof rec->ProtectionPlane);
    Allocate(1000);
    ASSERT_EQ(platform.requests.size(), 4u);
    // The window of history and screen, and as much again for the window to move on.
    for (std::size_t bytes : platform.requests) EXPECT_EQ(bytes, 2u * (80000u + 3564u));
    EXPECT_EQ(rec->HistoryRowsAlloc, 1000);
    EXPECT_EQ(rec->HistoryBytes, 80000);
    EXPECT_EQ(rec->HistoryCells, 80000);
    EXPECT_EQ(rec->CharsScreen, rec->CharsBase + 80000);
    EXPECT_EQ(rec->FgScreen, rec->FgBase + 80000);
    EXPECT_EQ(rec->BgScreen, rec->BgBase + 80000);
    EXPECT_EQ(rec->FlagsScreen, rec->FlagsBase + 80000);
    EXPECT_TRUE(platform.messages.empty());

    const int whole = 80000 + kScreenCells;
    for (int i = 0; i < whole; ++i) {
        ASSERT_EQ(rec->CharsBase[i], ' ') << i;
        ASSERT_EQ(rec->FlagsBase[i], 0) << i;
        const bool history = i < 80000;
        ASSERT_EQ(rec->FgBase[i], history ? 9 : 3) << i;
        ASSERT_EQ(rec->BgBase[i], history ? 12 : 9) << i;
    }
    EXPECT_EQ(rec->ProtectionPlane[0], 7) << "ProtectionPlane is not touched";
    EXPECT_EQ(rec->ProtectionPlane[kScreenCells - 1], 7);
}

TEST_F(ScreenPlanes, HistoryTakesTheNormalColoursWithoutHistoryLinesColour)
{
    rec->UseHistoryLinesColor = 0;
    Allocate(10);
    for (int i = 0; i < 800; ++i) {
        ASSERT_EQ(rec->FgBase[i], 3);
        ASSERT_EQ(rec->BgBase[i], 9);
    }
}

struct HalvingCase {
    int historyRows;
    std::size_t refuseAbove;  // largest block granted
    int expectedRows;
};

void PrintTo(const HalvingCase& c, std::ostream* os)
{
    *os << c.historyRows << "rows_limit" << static_cast<long long>(c.refuseAbove);
}

class AllocationHalving : public ScreenPlanes, public testing::WithParamInterface<HalvingCase> {};

TEST_P(AllocationHalving, ShrinksTheHistorySilently)
{
    const HalvingCase& c = GetParam();
    platform.refuseAbove = c.refuseAbove;
    Allocate(c.historyRows);
    EXPECT_EQ(rec->HistoryRowsAlloc, c.expectedRows);
    EXPECT_EQ(rec->HistoryRows, c.historyRows) << "the asked value is kept";
    EXPECT_EQ(rec->HistoryCells, c.expectedRows * 80);
    EXPECT_EQ(rec->HistoryBytes, c.expectedRows * 80);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.liveBlocks, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AllocationHalving,
    testing::Values(HalvingCase{1000, 500 * 80 + 3564, 500}, HalvingCase{1000, 499 * 80 + 3564, 250},
                    HalvingCase{1000, 300 * 80 + 3564, 250}, HalvingCase{1000, 125 * 80 + 3564, 125},
                    HalvingCase{1000, 3564, 0},  // only a screen without history
                    HalvingCase{7, 3 * 80 + 3564, 3}, HalvingCase{1, 3564, 0},
                    HalvingCase{0, static_cast<std::size_t>(-1), 0},
                    HalvingCase{-5, static_cast<std::size_t>(-1), 0}));

TEST_F(ScreenPlanes, NoMemoryAtAllShowsMessage83)
{
    platform.refuseAbove = 100;
    rec->HistoryRows = 1000;
    EXPECT_EQ(AllocScreenBuffers(*rec), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].id, 83);
    EXPECT_EQ(platform.messages[0].text, "Low memory: Screen buffer allocation");
    EXPECT_EQ(rec->CharsBase, nullptr);
    EXPECT_EQ(rec->FgBase, nullptr);
    EXPECT_EQ(rec->BgBase, nullptr);
    EXPECT_EQ(rec->FlagsBase, nullptr);
    EXPECT_EQ(rec->CharsScreen, nullptr);
    EXPECT_EQ(rec->HistoryRowsAlloc, 0);
    EXPECT_EQ(rec->HistoryRows, 1000);
    EXPECT_EQ(platform.liveBlocks, 0);
}

TEST_F(ScreenPlanes, PartlyObtainedBuffersAreGivenBack)
{
    platform.allowedAllocations = 3;  // the fourth buffer never comes
    rec->HistoryRows = 4;
    EXPECT_EQ(AllocScreenBuffers(*rec), 0);
    EXPECT_EQ(platform.liveBlocks, 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].id, 83);
    // 4, 2, 1, 0 history rows were tried, each with room for the window to move on and without.
    EXPECT_GT(platform.requests.front(), 4u * 80 + 3564);
    EXPECT_NE(std::find(platform.requests.begin(), platform.requests.end(), 4u * 80 + 3564), platform.requests.end());
    EXPECT_EQ(platform.requests.back(), 3564u);
}

TEST_F(ScreenPlanes, HugeHistoryCountsAsShortMemory)
{
    platform.refuseAbove = 1000 * 132 + 3564;
    rec->MaxCols = 132;
    rec->HistoryRows = 2147483647;  // rows x columns does not fit an int
    ASSERT_EQ(AllocScreenBuffers(*rec), 1);
    EXPECT_GT(rec->HistoryRowsAlloc, 0);
    EXPECT_LE(rec->HistoryRowsAlloc, 1000);
    EXPECT_TRUE(platform.messages.empty());
}

struct GeometryCase {
    int rows;
    int cols;
    int result;
};

void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.rows << "x" << c.cols; }

class AllocationGeometry : public ScreenPlanes, public testing::WithParamInterface<GeometryCase> {};

TEST_P(AllocationGeometry, OnlyScreensThatFitThePlanes)
{
    rec->MaxRows = GetParam().rows;
    rec->MaxCols = GetParam().cols;
    rec->HistoryRows = 10;
    EXPECT_EQ(AllocScreenBuffers(*rec), GetParam().result);
    EXPECT_TRUE(platform.messages.empty());
    if (GetParam().result == 0) {
        EXPECT_EQ(rec->CharsBase, nullptr);
        EXPECT_TRUE(platform.requests.empty());
    } else {
        EXPECT_EQ(rec->CharsScreen, rec->CharsBase + 10 * GetParam().cols);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AllocationGeometry,
                         testing::Values(GeometryCase{24, 80, 1}, GeometryCase{43, 80, 1},
                                         GeometryCase{27, 132, 1}, GeometryCase{28, 132, 0},
                                         GeometryCase{24, 100, 0}, GeometryCase{0, 80, 0},
                                         GeometryCase{24, 0, 0}));

TEST_F(ScreenPlanes, ReallocationFreesTheOldPlanesAndEmptiesTheSelection)
{
    static int selectionClears;
    selectionClears = 0;
    PlaneHooks.clearSelection = [] { ++selectionClears; };
    Allocate(10);
    Allocate(20);
    EXPECT_EQ(selectionClears, 2);
    EXPECT_EQ(platform.liveBlocks, 4);
    EXPECT_EQ(rec->HistoryRowsAlloc, 20);
}

TEST_F(ScreenPlanes, FreeNullsEveryPointer)
{
    Allocate(5);
    FreeScreenBuffers(*rec);
    EXPECT_EQ(rec->CharsBase, nullptr);
    EXPECT_EQ(rec->FgBase, nullptr);
    EXPECT_EQ(rec->BgBase, nullptr);
    EXPECT_EQ(rec->FlagsBase, nullptr);
    EXPECT_EQ(rec->CharsScreen, nullptr);
    EXPECT_EQ(rec->FgScreen, nullptr);
    EXPECT_EQ(rec->BgScreen, nullptr);
    EXPECT_EQ(rec->FlagsScreen, nullptr);
    EXPECT_EQ(platform.liveBlocks, 0);
    FreeScreenBuffers(*rec);  // twice is harmless
}

// ---- Scrolling by moving the planes' window.

struct SlideCase {
    const char* name;
    int historyRows;
    bool historyView;
    bool hiddenHistory;
    bool historyLinesColour;
};

void PrintTo(const SlideCase& c, std::ostream* os) { *os << c.name; }

class WindowScrolling : public ScreenPlanes, public testing::WithParamInterface<SlideCase> {
protected:
    std::unique_ptr<SettingsRecord> still;  // the same terminal, scrolled by moving the bytes

    void Prepare(SettingsRecord& r)
    {
        const SlideCase& c = GetParam();
        r.HistoryRows = c.historyRows;
        r.HistoryView = c.historyView;
        r.UpdateHiddenHistory = c.hiddenHistory;
        r.UseHistoryLinesColor = c.historyLinesColour;
        r.NormalFg = 5;
        r.NormalBg = 6;
        ASSERT_EQ(AllocScreenBuffers(r), 1);
        r.ScrollTop = 0;
        r.ScrollBottom = static_cast<uint8_t>(r.MaxRows - 1);
        r.CursorRow = r.MaxRows - 1;
    }

    // A labelled bottom row, then a line feed; the dirty rectangle it reports.
    static DirtyRect Step(SettingsRecord& r, int i)
    {
        const int at = (r.MaxRows - 1) * r.MaxCols + i % r.MaxCols;
        r.CharsScreen[at] = static_cast<uint8_t>('!' + i % 90);
        r.FgScreen[at] = static_cast<uint8_t>(i % 20);
        r.BgScreen[at] = static_cast<uint8_t>((i / 20) % 20);
        r.FlagsScreen[at] = static_cast<uint8_t>(i & 0x7f);
        r.ProtectionPlane[at] = static_cast<uint8_t>(i & 1);
        DirtyRect dirty = kEmptyDirtyRect;
        LineFeed(kNoWindow, r, dirty);
        return dirty;
    }

    static void ExpectSamePlanes(const SettingsRecord& a, const SettingsRecord& b, int step)
    {
        const std::size_t window = static_cast<std::size_t>(a.HistoryBytes) + kScreenCells;
        ASSERT_EQ(a.HistoryCells, b.HistoryCells);
        EXPECT_EQ(0, std::memcmp(a.CharsBase, b.CharsBase, window)) << "characters after step " << step;
        EXPECT_EQ(0, std::memcmp(a.FgBase, b.FgBase, window)) << "foreground after step " << step;
        EXPECT_EQ(0, std::memcmp(a.BgBase, b.BgBase, window)) << "background after step " << step;
        EXPECT_EQ(0, std::memcmp(a.FlagsBase, b.FlagsBase, window)) << "flags after step " << step;
        EXPECT_EQ(0, std::memcmp(a.ProtectionPlane, b.ProtectionPlane, kScreenCells)) << "protection after step " << step;
        EXPECT_EQ(a.CharsScreen, a.CharsBase + a.HistoryCells);
    }

    void TearDown() override
    {
        if (still) FreeScreenBuffers(*still);
        ScreenPlanes::TearDown();
    }
};

// Thousands of line feeds (the window comes back to the start of its blocks several times), a
// hidden byte past the visible screen, and the width switched to 132 and back on the way: the
// planes, the protection plane and the dirty rectangles are those of the byte-moving store.
TEST_P(WindowScrolling, MatchesMovingTheBytes)
{
    still.reset(new SettingsRecord(*rec));
    Prepare(*rec);
    Prepare(*still);
    still->PlaneSlackCells = 0;
    for (int i = 0; i < 4000; ++i) {
        if (i == 300) {
            // A write past the visible screen, announced as such writers do.
            rec->CharsScreen[kScreenCells - 1] = 'T';
            still->CharsScreen[kScreenCells - 1] = 'T';
            PlanesRewritten(*rec);
        }
        if (i == 1500 || i == 2600) {
            for (SettingsRecord* r : {rec.get(), still.get()}) {
                SetColumns(*r, i == 1500 ? 132 : 80);
                r->ScrollBottom = static_cast<uint8_t>(r->MaxRows - 1);
            }
        }
        const DirtyRect moved = Step(*rec, i);
        const DirtyRect kept = Step(*still, i);
        ASSERT_EQ(std::memcmp(&moved, &kept, sizeof moved), 0) << "dirty rectangle of step " << i;
        if (i % 97 == 0 || i == 3999) {
            ExpectSamePlanes(*rec, *still, i);
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(rec->PlaneSlackCells, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowScrolling,
                         testing::Values(SlideCase{"NoHistory", 0, false, false, false},
                                         SlideCase{"HiddenHistory", 300, false, true, false},
                                         SlideCase{"ShownHistoryInItsColours", 300, true, false, true},
                                         SlideCase{"HistoryNotCollected", 300, false, false, false}),
                         [](const testing::TestParamInfo<SlideCase>& info) { return std::string(info.param.name); });

// ---- SetColumns.

TEST_F(ScreenPlanes, SetColumns132OnAThousandRowHistory)
{
    Allocate(1000);
    EXPECT_EQ(SetColumns(*rec, 132), 132);
    EXPECT_EQ(rec->MaxCols, 132);
    EXPECT_EQ(rec->HistoryRowsAlloc, 606);
    EXPECT_EQ(rec->HistoryCells, 79992);
    EXPECT_EQ(rec->HistoryBytes, 80000) << "the allocation is kept";
    EXPECT_EQ(rec->CharsScreen, rec->CharsBase + 79992);
    EXPECT_EQ(rec->FgScreen, rec->FgBase + 79992);
    EXPECT_EQ(rec->BgScreen, rec->BgBase + 79992);
    EXPECT_EQ(rec->FlagsScreen, rec->FlagsBase + 79992);

    EXPECT_EQ(SetColumns(*rec, 80), 80);
    EXPECT_EQ(rec->HistoryRowsAlloc, 1000);
    EXPECT_EQ(rec->HistoryCells, 80000);
}

TEST_F(ScreenPlanes, SetColumnsMovesAndClearsNothing)
{
    Allocate(10);
    Write(0, 0, "HELLO");
    ASSERT_EQ(SetColumns(*rec, 132), 132);
    // 800 history bytes / 132 = 6 rows (792 cells): the screen starts 8 bytes earlier.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(rec->CharsScreen + 8), 5), "HELLO");
}

struct RefusedWidth {
    int maxRows;
    int columns;
};

void PrintTo(const RefusedWidth& c, std::ostream* os)
{
    *os << c.maxRows << "rows_to" << c.columns << "cols";
}

class SetColumnsRefusal : public ScreenPlanes, public testing::WithParamInterface<RefusedWidth> {};

TEST_P(SetColumnsRefusal, ChangesNothing)
{
    rec->MaxRows = GetParam().maxRows;
    Allocate(10);
    uint8_t* const screen = rec->CharsScreen;
    EXPECT_EQ(SetColumns(*rec, GetParam().columns), 0);
    EXPECT_EQ(rec->MaxCols, 80);
    EXPECT_EQ(rec->CharsScreen, screen);
    EXPECT_EQ(rec->HistoryRowsAlloc, 10);
    EXPECT_EQ(rec->HistoryCells, 800);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetColumnsRefusal,
    testing::Values(RefusedWidth{24, 100}, RefusedWidth{24, 0}, RefusedWidth{24, -80},
                    RefusedWidth{24, 133}, RefusedWidth{24, 81},
                    RefusedWidth{43, 132},   // 3278 model 4 at 132 would overrun the planes
                    RefusedWidth{28, 132}));

TEST_F(ScreenPlanes, SetColumnsFitsModel5)
{
    rec->MaxRows = 27;
    Allocate(10);
    EXPECT_EQ(SetColumns(*rec, 132), 132);
}

TEST_F(ScreenPlanes, SetColumnsWithoutPlanesKeepsTheWidth)
{
    EXPECT_EQ(SetColumns(*rec, 132), 0);
    EXPECT_EQ(rec->MaxCols, 132);
    EXPECT_EQ(rec->CharsScreen, nullptr);
}

// ---- ScrollIntoHistory / SaveScreenToHistory.

TEST_F(ScreenPlanes, ScrollMovesTopRowsIntoHistory)
{
    Allocate(5);
    rec->UpdateHiddenHistory = 1;
    rec->UseHistoryLinesColor = 0;
    FillRowsWithLetters();
    DirtyRect dirty = kEmptyDirtyRect;
    ScrollIntoHistory(kNoWindow, *rec, dirty, 2);
    // Newest history rows (3, 4) are screen rows 0 and 1; the screen itself is unchanged.
    EXPECT_EQ(HistoryChar(4), 'B');
    EXPECT_EQ(HistoryChar(3), 'A');
    EXPECT_EQ(HistoryChar(2), ' ');
    EXPECT_EQ(rec->FgBase[4 * 80], 1);
    EXPECT_EQ(rec->FlagsBase[3 * 80 + 79], 0);
    EXPECT_EQ(rec->FlagsBase[4 * 80 + 79], 1);
    EXPECT_EQ(rec->CharsScreen[0], 'A');
    EXPECT_EQ(rec->CharsScreen[80], 'B');
}

TEST_F(ScreenPlanes, ScrollFillsHistoryColoursWhenHistoryLinesColourIsOn)
{
    Allocate(5);
    rec->UpdateHiddenHistory = 1;
    FillRowsWithLetters();
    DirtyRect dirty = kEmptyDirtyRect;
    ScrollIntoHistory(kNoWindow, *rec, dirty, 1);
    for (int i = 0; i < 400; ++i) {
        ASSERT_EQ(rec->FgBase[i], 9);
        ASSERT_EQ(rec->BgBase[i], 12);
    }
    EXPECT_EQ(HistoryChar(4), 'A');
}

TEST_F(ScreenPlanes, ScrollWithHistoryHiddenAndNotUpdatedKeepsTheOldRows)
{
    Allocate(5);
    FillRowsWithLetters();
    DirtyRect dirty = kEmptyDirtyRect;
    ScrollIntoHistory(kNoWindow, *rec, dirty, 1);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(HistoryChar(k), ' ');
    EXPECT_EQ(dirty.right, 0) << "dirty rectangle untouched";
    EXPECT_EQ(dirty.left, 32000);
}

struct DirtyCase {
    int historyView;
    int scrollX;
    int scrollY;
    DirtyRect expected;
};

void PrintTo(const DirtyCase& c, std::ostream* os)
{
    *os << "view" << c.historyView << "_scroll" << c.scrollX << "," << c.scrollY;
}

class ScrollDirtyRect : public ScreenPlanes, public testing::WithParamInterface<DirtyCase> {};

TEST_P(ScrollDirtyRect, CoversTheScreen)
{
    Allocate(5);
    rec->UpdateHiddenHistory = 1;
    rec->HistoryView = GetParam().historyView;
    rec->ScrollPosX = GetParam().scrollX;
    rec->ScrollPosY = GetParam().scrollY;
    DirtyRect dirty = kEmptyDirtyRect;
    ScrollIntoHistory(kNoWindow, *rec, dirty, 1);
    EXPECT_EQ(dirty.left, GetParam().expected.left);
    EXPECT_EQ(dirty.top, GetParam().expected.top);
    EXPECT_EQ(dirty.right, GetParam().expected.right);
    EXPECT_EQ(dirty.bottom, GetParam().expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScrollDirtyRect,
    testing::Values(DirtyCase{0, 0, 0, {0, 0, 560, 216}}, DirtyCase{0, 5, 7, {-5, -7, 555, 209}},
                    DirtyCase{1, 5, 7, {-5, -7 - 5 * 9, 555, 209}}));

TEST_F(ScreenPlanes, ScrollOfMoreRowsThanTheScreenStaysInsideThePlanes)
{
    Allocate(50);
    rec->UpdateHiddenHistory = 1;
    FillRowsWithLetters();
    DirtyRect dirty = kEmptyDirtyRect;
    ScrollIntoHistory(kNoWindow, *rec, dirty, 100000);  // ASan watches the move
    ScrollIntoHistory(kNoWindow, *rec, dirty, 0);
    ScrollIntoHistory(kNoWindow, *rec, dirty, -3);
}

TEST_F(ScreenPlanes, ClearingTwicePutsTheScreenIntoHistoryOnce)
{
    Allocate(48);
    rec->UpdateHiddenHistory = 1;
    FillRowsWithLetters();
    rec->PrintedCount = 5;
    DirtyRect dirty = kEmptyDirtyRect;

    SaveScreenToHistory(kNoWindow, *rec, dirty);  // first clear
    std::memset(rec->CharsScreen, ' ', kScreenCells);
    EXPECT_EQ(HistorySavedCount, 5);
    EXPECT_EQ(HistoryChar(47), 'X');  // screen row 23
    EXPECT_EQ(HistoryChar(24), 'A');
    EXPECT_EQ(HistoryChar(23), ' ');

    SaveScreenToHistory(kNoWindow, *rec, dirty);  // second clear, nothing written
    EXPECT_EQ(HistoryChar(47), 'X') << "the blank screen was not added";
    EXPECT_EQ(HistoryChar(24), 'A');

    rec->PrintedCount = 6;  // something written
    SaveScreenToHistory(kNoWindow, *rec, dirty);
    EXPECT_EQ(HistoryChar(47), ' ');
    EXPECT_EQ(HistoryChar(0), 'A');
    EXPECT_EQ(HistorySavedCount, 6);
}

TEST_F(ScreenPlanes, SaveWithoutHistoryDoesNothing)
{
    Allocate(0);
    rec->UpdateHiddenHistory = 1;
    rec->PrintedCount = 9;
    DirtyRect dirty = kEmptyDirtyRect;
    SaveScreenToHistory(kNoWindow, *rec, dirty);
    EXPECT_EQ(HistorySavedCount, 0);
    EXPECT_EQ(dirty.right, 0);
}

TEST_F(ScreenPlanes, SaveCountsEvenWhenTheHistoryIsNotCollected)
{
    Allocate(5);
    FillRowsWithLetters();
    rec->PrintedCount = 3;
    DirtyRect dirty = kEmptyDirtyRect;
    SaveScreenToHistory(kNoWindow, *rec, dirty);
    EXPECT_EQ(HistorySavedCount, 3);
    EXPECT_EQ(HistoryChar(4), ' ');
}

TEST_F(ScreenPlanes, ShortHistoryKeepsTheLowestRows)
{
    Allocate(5);
    rec->UpdateHiddenHistory = 1;
    FillRowsWithLetters();
    rec->PrintedCount = 1;
    DirtyRect dirty = kEmptyDirtyRect;
    SaveScreenToHistory(kNoWindow, *rec, dirty);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(HistoryChar(k), 'A' + 19 + k) << k;
}

// ---- ResetTerminal.

struct CursorCase {
    int maxRows;
    int cursorRow;
    int expectedRow;
};

void PrintTo(const CursorCase& c, std::ostream* os)
{
    *os << c.maxRows << "rows_cursor" << c.cursorRow;
}

class ResetCursor : public ScreenPlanes, public testing::WithParamInterface<CursorCase> {};

TEST_P(ResetCursor, ClampsOnlyBelowTheScreen)
{
    rec->MaxRows = GetParam().maxRows;
    rec->CursorRow = GetParam().cursorRow;
    rec->CursorCol = 57;
    ResetTerminal(*rec);
    EXPECT_EQ(rec->CursorRow, GetParam().expectedRow);
    EXPECT_EQ(rec->CursorCol, 57);
    EXPECT_EQ(rec->ScrollTop, 0);
    EXPECT_EQ(rec->ScrollBottom, GetParam().maxRows - 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ResetCursor,
                         testing::Values(CursorCase{24, 0, 0}, CursorCase{24, 10, 10},
                                         CursorCase{24, 23, 23}, CursorCase{24, 24, 23},
                                         CursorCase{24, 30, 23}, CursorCase{43, 42, 42},
                                         CursorCase{25, 40, 24}));

TEST_F(ScreenPlanes, ResetSetsTheLiveModes)
{
    Allocate(0);
    Write(3, 4, "KEEP");
    SettingsRecord& r = *rec;
    r.AttrColors[0][kAttrFg] = 4;
    r.AttrColors[0][kAttrBg] = 5;
    r.CurFg = r.CurBg = 17;
    r.CellFlags = 3;
    for (int32_t& f : r.SgrFlags) f = 1;
    r.AlternateFont = 2;
    r.SavedCursor.Row = 4;
    r.LocalEcho = 1;
    r.NewLine = 1;
    r.AutoWrap = 0;
    r.PrintToScreen = 1;
    r.AutoWrapNow = 1;
    r.SequenceLength = 3;
    r.PrinterOffMatch7 = r.PrinterOffMatch8 = 2;
    r.PendingIntermediate = '(';
    r.ProtectAttribute = 1;
    r.WrapPending = 1;
    r.CharsetDesignation[kCsGL] = 1;
    r.CharsetDesignation[kCsGR] = 3;
    r.CharsetDesignation[kCsG0] = '0';
    r.CharsetDesignation[kCsG1] = '<';
    r.CharsetDesignation[kCsSingleShift] = 2;
    r.PrinterControllerMode = 9;
    r.StatusLineCapture = 4;
    r.StringCommandNumber = 80;
    r.FunctionKeySkip = 2;
    r.StringCommandLength = 10;
    r.CursorFlags = 0x01;
    r.KeyboardLocked = 1;
    r.ScrollTop = 5;
    r.OriginMode = r.AppCursorKeys = r.AppKeypad = 1;
    r.ScreenFrozen = 1;
    r.InsertMode = 1;
    r.NormalFg = 11;
    r.ReverseBg = 12;
    std::strcpy(r.Tabs, "3,6");
    r.Terminal = 2;

    static int indicator;
    indicator = -1;
    PlaneHooks.setKeyboardIndicator = [](int locked) { indicator = locked; };

    ResetTerminal(r);

    EXPECT_EQ(r.CurFg, 4);
    EXPECT_EQ(r.CurBg, 5);
    EXPECT_EQ(r.CellFlags, 0);
    for (int32_t f : r.SgrFlags) EXPECT_EQ(f, 0);
    EXPECT_EQ(r.AlternateFont, 0);
    EXPECT_EQ(r.SavedCursor.Row, -1);
    EXPECT_EQ(r.LocalEchoNow, 1);
    EXPECT_EQ(r.NewLineNow, 1);
    EXPECT_EQ(r.AutoWrapNow, 0);
    EXPECT_EQ(r.PrintToScreenNow, 1);
    EXPECT_EQ(r.SequenceLength, 0);
    EXPECT_EQ(r.PrinterOffMatch7, 0);
    EXPECT_EQ(r.PrinterOffMatch8, 0);
    EXPECT_EQ(r.PendingIntermediate, 0);
    EXPECT_EQ(r.ProtectAttribute, 0);
    EXPECT_EQ(r.ProtectMode, 1);
    EXPECT_EQ(r.WrapPending, 0);
    EXPECT_EQ(r.CharsetDesignation[kCsGL], 0);
    EXPECT_EQ(r.CharsetDesignation[kCsGR], 2);
    EXPECT_EQ(r.CharsetDesignation[kCsG0], 'B');
    EXPECT_EQ(r.CharsetDesignation[kCsG1], 'B');
    EXPECT_EQ(r.CharsetDesignation[kCsG2], 'B');
    EXPECT_EQ(r.CharsetDesignation[kCsG3], 'B');
    EXPECT_EQ(r.CharsetDesignation[kCsSingleShift], 0);
    EXPECT_EQ(r.PrinterControllerMode, 0);
    EXPECT_EQ(r.StatusLineCapture, 0);
    EXPECT_EQ(r.StringCommandNumber, 0);
    EXPECT_EQ(r.FunctionKeySkip, 0);
    EXPECT_EQ(r.StringCommandLength, 0);
    EXPECT_EQ(r.CursorFlags, 0x07);
    EXPECT_EQ(r.KeyboardLocked, 0);
    EXPECT_EQ(indicator, 0) << "the indicator was cleared";
    EXPECT_EQ(r.ScrollTop, 0);
    EXPECT_EQ(r.ScrollBottom, 23);
    EXPECT_EQ(r.OriginMode, 0);
    EXPECT_EQ(r.AppCursorKeys, 0);
    EXPECT_EQ(r.AppKeypad, 0);
    EXPECT_EQ(r.ScreenFrozen, 0);
    ASSERT_EQ(r.TabStopCount, 2);
    EXPECT_EQ(r.TabStops[0], 2);
    EXPECT_EQ(r.TabStops[1], 5);
    // Untouched.
    EXPECT_EQ(r.InsertMode, 1);
    EXPECT_EQ(r.NormalFg, 11);
    EXPECT_EQ(r.ReverseBg, 12);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r.CharsScreen + 3 * 80 + 4), 4), "KEEP");
}

TEST_F(ScreenPlanes, ResetInHostColourModeUsesTheNormalColours)
{
    rec->UseHostColor = 1;
    rec->NormalFg = 6;
    rec->NormalBg = 2;
    ResetTerminal(*rec);
    EXPECT_EQ(rec->CurFg, 6);
    EXPECT_EQ(rec->CurBg, 2);
}

struct EmulationCase {
    int terminal;
    int protectMode;
    uint8_t g1;
};

void PrintTo(const EmulationCase& c, std::ostream* os) { *os << "terminal" << c.terminal; }

class ResetByEmulation : public ScreenPlanes, public testing::WithParamInterface<EmulationCase> {};

TEST_P(ResetByEmulation, ProtectModeAndCharsets)
{
    rec->Terminal = GetParam().terminal;
    ResetTerminal(*rec);
    EXPECT_EQ(rec->ProtectMode, GetParam().protectMode);
    EXPECT_EQ(rec->CharsetDesignation[kCsG0], 'B');
    EXPECT_EQ(rec->CharsetDesignation[kCsG1], GetParam().g1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResetByEmulation,
    testing::Values(EmulationCase{1, 1, 'B'}, EmulationCase{2, 1, 'B'}, EmulationCase{4, 1, 'B'},
                    EmulationCase{7, 1, 'B'}, EmulationCase{8, 0, '0'}, EmulationCase{9, 0, '0'},
                    EmulationCase{10, 1, 'B'}, EmulationCase{11, 1, 'B'},
                    EmulationCase{12, 0, '0'}));

TEST_F(ScreenPlanes, ResetGoesThroughTheCharsetHook)
{
    PlaneHooks.setDefaultCharsets = [](SettingsRecord& r) { r.CharsetDesignation[kCsG2] = '<'; };
    ResetTerminal(*rec);
    EXPECT_EQ(rec->CharsetDesignation[kCsG2], '<');
}

TEST_F(ScreenPlanes, TheProcessRecordOverloadsReachRec)
{
    // The no-record forms work on *Rec.
    SettingsRecord saved = *Rec;
    Rec->MaxCols = 80;
    Rec->MaxRows = 24;
    Rec->HistoryRows = 2;
    ASSERT_EQ(AllocScreenBuffers(), 1);
    EXPECT_EQ(Rec->HistoryCells, 160);
    EXPECT_EQ(SetColumns(132), 132);
    ResetTerminal();
    EXPECT_EQ(Rec->ScrollBottom, 23);
    FreeScreenBuffers();
    EXPECT_EQ(Rec->CharsBase, nullptr);
    *Rec = saved;
}

// ---- ParseCsiParams.

struct CsiCase {
    std::string sequence;
    int finalByte;
    int marker;
    std::vector<int> params;
};

void PrintTo(const CsiCase& c, std::ostream* os)
{
    for (unsigned char ch : c.sequence) {
        if (ch == 0x1B)
            *os << "ESC";
        else if (ch == '"')
            *os << "QUOTE";
        else
            *os << ch;
    }
    *os << "_final" << static_cast<char>(c.finalByte);
}

class CsiParams : public testing::TestWithParam<CsiCase> {};

TEST_P(CsiParams, Parse)
{
    const CsiCase& c = GetParam();
    // Exactly the bytes of the sequence: ASan catches any read past them.
    std::vector<uint8_t> bytes(c.sequence.begin(), c.sequence.end());
    int params[kCsiMaxParams];
    std::memset(params, 0x55, sizeof params);
    int count = -1;
    const int marker = ParseCsiParams(bytes.data(), bytes.size(), count, params, c.finalByte);
    EXPECT_EQ(marker, c.marker);
    ASSERT_EQ(count, static_cast<int>(c.params.size()));
    for (int i = 0; i < count; ++i) EXPECT_EQ(params[i], c.params[i]) << "parameter " << i;
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CsiParams,
    testing::Values(
        CsiCase{"\x1b[;5H", 'H', 0, {0, 5}}, CsiCase{"\x1b[?25l", 'l', '?', {25}},
        CsiCase{"\x1b[H", 'H', 0, {0}}, CsiCase{"\x1b[0$}", '}', 0, {0, 36}},
        CsiCase{"\x1b[1;2$~", '~', 0, {1, 2, 36}}, CsiCase{"\x1b[5~", '~', 0, {5}},
        CsiCase{"\x1b[1$|", '|', 0, {1, 36}}, CsiCase{"\x1b[2{", '{', 0, {2}},
        CsiCase{"\x1b[=3c", 'c', '=', {3}}, CsiCase{"\x1b[>c", 'c', 0, {0}},
        CsiCase{"\x1b[1\"q", 'q', '"', {1}}, CsiCase{"\x1b[61;1\"p", 'p', '"', {61, 1}},
        CsiCase{"\x1bP1;2|", '|', 'P', {1, 2}}, CsiCase{"\x1bP$q", 'q', 'P', {0}},
        CsiCase{"\x1b[38;5;196m", 'm', 0, {38, 5, 196}},
        CsiCase{"\x1b[;;m", 'm', 0, {0, 0, 0}},
        CsiCase{"\x1b?5h", 'h', '?', {5}},  // no '[': the marker is looked for at position 1
        CsiCase{"\x1b[32767m", 'm', 0, {32767}},
        CsiCase{"\x1b[32768m", 'm', 0, {32767}},               // saturates
        CsiCase{"\x1b[99999999999999999999m", 'm', 0, {32767}},  // never overflows
        CsiCase{"\x1b[0000012m", 'm', 0, {12}},
        CsiCase{"\x1b[12", 'm', 0, {12}},  // cut short: the end stops the parse
        CsiCase{"\x1b[", 'm', 0, {0}}, CsiCase{"\x1b", 'm', 0, {0}},
        // 25 parameters: parsing stops after the 20th, no intermediate is appended.
        CsiCase{"\x1b[" + Repeat("7;", 25) + "m", 'm', 0, std::vector<int>(20, 7)},
        CsiCase{"\x1b[" + Repeat("7;", 20) + "$}", '}', 0, std::vector<int>(20, 7)},
        // 19 ';' then a value and an intermediate: 20 stored, no room for the intermediate.
        CsiCase{"\x1b[" + Repeat("1;", 19) + "2$}", '}', 0,
                [] {
                    std::vector<int> v(19, 1);
                    v.push_back(2);
                    return v;
                }()}));

TEST(CsiParamsNull, NoSequence)
{
    int params[kCsiMaxParams];
    int count = -1;
    EXPECT_EQ(ParseCsiParams(nullptr, 0, count, params, 'm'), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(params[0], 0);
}

// ---- GetScreenText.

ScreenTextRequest Plain(int left, int top, int width, int height)
{
    ScreenTextRequest r{};
    r.tableMode = 0;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    return r;
}

ScreenTextRequest Table(int width, uint8_t separator, int rule)
{
    ScreenTextRequest r = Plain(0, 0, width, 1);
    r.tableMode = 1;
    r.separator = separator;
    r.singleBlankRule = rule;
    return r;
}

class ScreenText : public ScreenPlanes {
protected:
    std::string Get(const ScreenTextRequest& request, std::size_t capacity = 4096)
    {
        std::vector<char> buffer(capacity, '#');
        const std::size_t n = GetScreenText(*rec, buffer.data(), buffer.size(), request);
        EXPECT_LT(n, capacity);
        EXPECT_EQ(buffer[n], '\0');
        return std::string(buffer.data(), n);
    }
};

TEST_F(ScreenText, PlainThreeByFive)
{
    Allocate(0);
    Write(1, 2, "abcde");
    Write(2, 2, "fghij");
    Write(3, 2, "klmno");
    const std::size_t capacity = 3 * (5 + 2) - 1;  // the copy caller's buffer
    std::vector<char> buffer(capacity, '#');
    const std::size_t n = GetScreenText(*rec, buffer.data(), buffer.size(), Plain(2, 1, 5, 3));
    EXPECT_EQ(n, 5u + 2 + 5 + 2 + 5);
    EXPECT_EQ(std::string(buffer.data(), n), "abcde\r\nfghij\r\nklmno");
    EXPECT_EQ(buffer[n], '\0');
}

TEST_F(ScreenText, PlainConvertsLineDrawingAndNul)
{
    Allocate(0);
    Write(0, 0, "-q_xlk", 0x08);
    Write(0, 6, "q");
    rec->CharsScreen[7] = 0;
    Write(0, 8, "Z");
    EXPECT_EQ(Get(Plain(0, 0, 9, 1)), "--_|++q Z");
}

TEST_F(ScreenText, PlainHidesNonDisplay3270Fields)
{
    Allocate(0);
    Write(0, 0, "USERpass");
    rec->TerminalFamily3270 = 1;
    PlaneHooks.fieldAttribute = [](const SettingsRecord&, int address) {
        return address >= 4 ? 0xEC : 0xE0;  // 0x0C both display bits: non-display
    };
    EXPECT_EQ(Get(Plain(0, 0, 8, 1)), "USER    ");
    rec->TerminalFamily3270 = 0;
    EXPECT_EQ(Get(Plain(0, 0, 8, 1)), "USERpass");
}

TEST_F(ScreenText, CapacityCutsTheText)
{
    Allocate(0);
    Write(0, 0, "abcdef");
    EXPECT_EQ(Get(Plain(0, 0, 6, 1), 4), "abc");
    char one[1] = {'#'};
    EXPECT_EQ(GetScreenText(*rec, one, 1, Plain(0, 0, 6, 1)), 0u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(GetScreenText(*rec, nullptr, 0, Plain(0, 0, 6, 1)), 0u);
}

TEST_F(ScreenText, HistoryViewReachesHistoryRows)
{
    Allocate(5);
    std::memcpy(rec->CharsBase + 4 * 80, "older", 5);  // newest history row
    Write(0, 0, "first");
    rec->HistoryView = 1;
    EXPECT_EQ(Get(Plain(0, -1, 5, 2)), "older\r\nfirst");
    // Rows beyond the oldest history row read as blanks.
    EXPECT_EQ(Get(Plain(0, -7, 2, 1)), "  ");
}

TEST_F(ScreenText, WithoutPlanesTheTextIsBlank)
{
    EXPECT_EQ(Get(Plain(0, 0, 3, 2)), "   \r\n   ");
}

struct TableCase {
    std::string row;       // the screen row text ('~' stands for NUL)
    int width;
    uint8_t separator;
    int rule;
    bool removeLeading;
    bool removeTrailing;
    std::string expected;
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << "<" << c.row << ">w" << c.width << "_sep";
    if (c.separator == '\t')
        *os << "TAB";
    else if (c.separator == 0)
        *os << "NUL";
    else
        *os << static_cast<char>(c.separator);
    *os << "_rule" << c.rule << "_lead" << c.removeLeading << "_trail" << c.removeTrailing;
}

class ScreenTextTable : public ScreenText, public testing::WithParamInterface<TableCase> {};

TEST_P(ScreenTextTable, Row)
{
    const TableCase& c = GetParam();
    Allocate(0);
    std::string row = c.row;
    for (char& ch : row)
        if (ch == '~') ch = '\0';
    Write(0, 0, row);
    ScreenTextRequest request = Table(c.width, c.separator, c.rule);
    request.removeLeading = c.removeLeading;
    request.removeTrailing = c.removeTrailing;
    EXPECT_EQ(Get(request), c.expected) << '"' << c.row << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScreenTextTable,
    testing::Values(
        TableCase{"ab 12", 5, '\t', 0, false, false, "ab\t12"},
        TableCase{"ab cd", 5, '\t', 0, false, false, "ab cd"},
        TableCase{"ab   cd", 7, '\t', 0, false, false, "ab\tcd"},
        TableCase{"ab -5", 5, '\t', 0, false, false, "ab\t-5"},
        TableCase{"ab cd", 5, '\t', 1, false, false, "ab\tcd"},
        TableCase{"ab 12", 5, '\t', 2, false, false, "ab 12"},
        TableCase{"ab   cd", 7, '\t', 2, false, false, "ab\tcd"},
        TableCase{"ab   cd", 7, 0, 0, false, false, "ab   cd"},  // separator 0: blanks stay
        TableCase{"ab 12", 5, 0, 1, false, false, "ab 12"},
        TableCase{"ab~~cd", 6, ';', 0, false, false, "ab;cd"},  // NUL cells are blank
        TableCase{"  ab  ", 6, ';', 0, false, false, "  ab  "},
        TableCase{"  ab  ", 6, ';', 0, true, false, "ab  "},
        TableCase{"  ab  ", 6, ';', 0, false, true, "  ab"},
        TableCase{"  ab  ", 6, ';', 0, true, true, "ab"},
        TableCase{"      ", 6, ';', 0, false, true, "      "},  // all leading blanks
        TableCase{"      ", 6, ';', 0, true, true, ""},
        TableCase{"a b c", 3, ';', 1, false, false, "a;b"}));  // runs counted within the width

TEST_F(ScreenText, TableRowsJoinedBySeparatorOrCrLf)
{
    Allocate(0);
    Write(0, 0, "a b");
    Write(1, 0, "c d");
    ScreenTextRequest request = Table(3, '\t', 1);
    request.height = 2;
    EXPECT_EQ(Get(request), "a\tb\r\nc\td");
    request.separatorBetweenRows = true;
    EXPECT_EQ(Get(request), "a\tb\tc\td");
    request.separator = 0;
    EXPECT_EQ(Get(request), "a b\r\nc d");
}

TEST_F(ScreenText, TableConvertsLineDrawing)
{
    Allocate(0);
    Write(0, 0, "qqq", 0x08);
    EXPECT_EQ(Get(Table(3, ';', 0)), "---");
}

}  // namespace
