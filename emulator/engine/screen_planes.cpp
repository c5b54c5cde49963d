#include "engine/screen_planes.h"

#include <climits>
#include <cstring>

#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "host_platform.h"

namespace {

void NoSelection() {}
int NoFieldAttribute(const SettingsRecord&, int) { return 0; }

constexpr int kLowMemoryMessage = 83;
constexpr const char* kLowMemoryText = "Low memory: Screen buffer allocation";

// Colour indices from the settings, checked: a foreground outside 0-19 becomes the normal
// foreground slot, a background the normal background slot.
uint8_t FgByte(int32_t index) { return static_cast<uint8_t>(CheckedColorIndex(index, kNormalFgIndex)); }
uint8_t BgByte(int32_t index) { return static_cast<uint8_t>(CheckedColorIndex(index, kNormalBgIndex)); }

// Bytes after the window in every plane block: the window moves on one row per scroll and comes
// back to the start of the block when it reaches the end, so the whole window is copied once per
// slack / columns scrolls instead of once per scroll.
constexpr int kMinSlack = 64 * 1024;
constexpr int kMaxSlack = 4 * 1024 * 1024;
int SlackFor(int window) { return window < kMinSlack ? kMinSlack : window > kMaxSlack ? kMaxSlack : window; }

// Obtains four blocks of `size` bytes, or none (those obtained given back).
bool ObtainBlocks(uint8_t* (&blocks)[4], std::size_t size)
{
    for (uint8_t*& block : blocks) {
        block = static_cast<uint8_t*>(Platform().AllocBlock(size));
        if (block) continue;
        for (uint8_t*& given : blocks) {
            if (given) Platform().FreeBlock(given);
            given = nullptr;
        }
        return false;
    }
    return true;
}

void PlaneBases(SettingsRecord& rec, uint8_t** (&out)[4])
{
    out[0] = &rec.CharsBase;
    out[1] = &rec.FgBase;
    out[2] = &rec.BgBase;
    out[3] = &rec.FlagsBase;
}

// Points the visible-screen pointers at base + HistoryCells.
void PointScreens(SettingsRecord& rec)
{
    rec.CharsScreen = rec.CharsBase + rec.HistoryCells;
    rec.FgScreen = rec.FgBase + rec.HistoryCells;
    rec.BgScreen = rec.BgBase + rec.HistoryCells;
    rec.FlagsScreen = rec.FlagsBase + rec.HistoryCells;
}

// The dirty rectangle after rows entered the history: the whole screen, and the history rows
// while they are shown.
void DirtyAfterHistoryScroll(const SettingsRecord& rec, DirtyRect& dirty)
{
    dirty.left = -rec.ScrollPosX;
    dirty.right = rec.MaxCols * rec.CellWidth - rec.ScrollPosX;
    dirty.bottom = rec.MaxRows * rec.CellHeight - rec.ScrollPosY;
    dirty.top = rec.HistoryView ? -rec.ScrollPosY - rec.HistoryRowsAlloc * rec.CellHeight
                                : -rec.ScrollPosY;
}

// Learns what the bytes from window offset `start` to the end of the window hold: one value per
// plane (state 1) or anything (state 2).
void LearnTail(SettingsRecord& rec, int start)
{
    const int end = rec.HistoryBytes + kScreenCells;
    const uint8_t* planes[4] = {rec.CharsBase, rec.FgBase, rec.BgBase, rec.FlagsBase};
    rec.PlaneTailStart = start;
    rec.PlaneTailState = 1;
    for (int p = 0; p < 4; ++p) {
        const uint8_t* tail = planes[p] + start;
        const int length = end - start;
        rec.PlaneTailBytes[p] = length > 0 ? tail[0] : 0;
        // Uniform when the tail equals itself shifted by one byte.
        if (length > 1 && std::memcmp(tail, tail + 1, static_cast<std::size_t>(length - 1)) != 0) rec.PlaneTailState = 2;
    }
}

}  // namespace

void PlanesRewritten(SettingsRecord& rec) { rec.PlaneTailState = 0; }

bool SlideScreenUp(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    (void)window;
    const int cols = rec.MaxCols;
    const int rows = rec.MaxRows;
    if (!rec.CharsBase || !rec.FgBase || !rec.BgBase || !rec.FlagsBase || rec.PlaneSlackCells < cols || cols <= 0 ||
        rec.TerminalFamily3270)
        return false;
    const ScrollRegion region = Region(rec);
    if (region.top != 0 || region.bottom != rows - 1 || rows * cols > kScreenCells) return false;
    const bool history = rec.HistoryRowsAlloc > 0;
    // A history kept still while the screen scrolls cannot move with it.
    if (history && !rec.HistoryView && !rec.UpdateHiddenHistory) return false;

    uint8_t** bases[4];
    PlaneBases(rec, bases);
    const int span = rec.HistoryBytes + kScreenCells;
    if (rec.PlaneSlideCells + cols > rec.PlaneSlackCells) {
        // The end of the blocks: the window goes back to their start.
        for (uint8_t** base : bases) {
            uint8_t* block = *base - rec.PlaneSlideCells;
            std::memmove(block, *base, static_cast<std::size_t>(span));
            *base = block;
        }
        rec.PlaneSlideCells = 0;
    }
    const int tail = rec.HistoryCells + rows * cols;  // the window offset after the visible screen
    if (rec.PlaneTailState == 0 || rec.PlaneTailStart != tail) LearnTail(rec, tail);
    for (int p = 0; p < 4; ++p) {
        uint8_t*& base = *bases[p];
        base += cols;
        // Every byte of the window is now read one row further on: the history and screen rows
        // moved up. The bytes after the visible screen stay as they were.
        if (rec.PlaneTailState == 1)
            std::memset(base + span - cols, rec.PlaneTailBytes[p], static_cast<std::size_t>(cols));
        else
            std::memmove(base + tail, base + tail - cols, static_cast<std::size_t>(span - tail));
    }
    rec.PlaneSlideCells += cols;
    PointScreens(rec);
    std::memmove(rec.ProtectionPlane, rec.ProtectionPlane + cols, static_cast<std::size_t>((rows - 1) * cols));

    if (history) {
        if (rec.UseHistoryLinesColor) {
            const std::size_t cells = static_cast<std::size_t>(rec.HistoryCells);
            std::memset(rec.FgBase, FgByte(rec.AttrColors[kAttrHistoryLines][kAttrFg]), cells);
            std::memset(rec.BgBase, BgByte(rec.AttrColors[kAttrHistoryLines][kAttrBg]), cells);
        }
        DirtyAfterHistoryScroll(rec, dirty);
    }
    // The new bottom row, as the line deletion leaves it.
    FillScreenCells(rec, cols, (rows - 1) * cols, ' ', 0);
    DirtyRows(rec, dirty, 0, rows - 1);
    return true;
}

ScreenPlaneHooks DefaultScreenPlaneHooks()
{
    return ScreenPlaneHooks{&NoSelection, &SetDefaultCharsets, &Set3270KeyboardIndicator,
                            &NoFieldAttribute};
}

ScreenPlaneHooks PlaneHooks = DefaultScreenPlaneHooks();

int HistorySavedCount = 0;

// ---------------------------------------------------------------------------------------------
// Planes.

void FreeScreenBuffers(SettingsRecord& rec)
{
    uint8_t** bases[] = {&rec.CharsBase, &rec.FgBase, &rec.BgBase, &rec.FlagsBase};
    for (uint8_t** base : bases) {
        if (*base) Platform().FreeBlock(*base - rec.PlaneSlideCells);
        *base = nullptr;
    }
    rec.CharsScreen = nullptr;
    rec.FgScreen = nullptr;
    rec.BgScreen = nullptr;
    rec.FlagsScreen = nullptr;
    rec.PlaneSlideCells = 0;
    rec.PlaneSlackCells = 0;
    rec.PlaneTailState = 0;
}

int AllocScreenBuffers(SettingsRecord& rec)
{
    PlaneHooks.clearSelection();
    FreeScreenBuffers(rec);
    if (!ValidScreenGeometry(rec.MaxRows, rec.MaxCols)) {
        rec.HistoryRowsAlloc = 0;
        rec.HistoryBytes = 0;
        rec.HistoryCells = 0;
        return 0;
    }

    rec.HistoryRowsAlloc = rec.HistoryRows > 0 ? rec.HistoryRows : 0;
    uint8_t* blocks[4] = {nullptr, nullptr, nullptr, nullptr};
    for (;;) {
        const long long historyBytes = static_cast<long long>(rec.HistoryRowsAlloc) * rec.MaxCols;
        bool obtained = false;
        // A history whose size does not fit an int counts as memory that cannot be had.
        if (historyBytes <= static_cast<long long>(INT_MAX) - kScreenCells) {
            rec.HistoryBytes = static_cast<int32_t>(historyBytes);
            const int window = rec.HistoryBytes + kScreenCells;
            // With room for the window to move on; without it when that much is not to be had.
            for (int slack : {SlackFor(window), 0}) {
                if (slack > INT_MAX - window) continue;
                obtained = ObtainBlocks(blocks, static_cast<std::size_t>(window) + static_cast<std::size_t>(slack));
                if (obtained) {
                    rec.PlaneSlackCells = slack;
                    break;
                }
            }
        }
        if (obtained) break;
        if (rec.HistoryRowsAlloc == 0) {
            rec.HistoryBytes = 0;
            rec.HistoryCells = 0;
            Platform().ShowMessage(kLowMemoryMessage, kLowMemoryText);
            return 0;
        }
        rec.HistoryRowsAlloc /= 2;
    }
    rec.CharsBase = blocks[0];
    rec.FgBase = blocks[1];
    rec.BgBase = blocks[2];
    rec.FlagsBase = blocks[3];

    SetColumns(rec, rec.MaxCols);

    const std::size_t whole = static_cast<std::size_t>(rec.HistoryBytes) + kScreenCells;
    const std::size_t history = static_cast<std::size_t>(rec.HistoryCells);
    const int32_t(&normal)[3] = rec.AttrColors[kAttrNormal];
    const int32_t(&lines)[3] = rec.UseHistoryLinesColor ? rec.AttrColors[kAttrHistoryLines] : normal;
    std::memset(rec.CharsBase, ' ', whole);
    std::memset(rec.FgBase, FgByte(lines[kAttrFg]), history);
    std::memset(rec.BgBase, BgByte(lines[kAttrBg]), history);
    std::memset(rec.FgScreen, FgByte(normal[kAttrFg]), kScreenCells);
    std::memset(rec.BgScreen, BgByte(normal[kAttrBg]), kScreenCells);
    std::memset(rec.FlagsBase, 0, whole);
    return 1;
}

int SetColumns(SettingsRecord& rec, int columns)
{
    if (columns != kNarrowColumns && columns != kWideColumns) return 0;
    // The planes hold kScreenCells visible cells: refuse a width the current rows do not fit.
    if (rec.MaxRows > 0 && !ValidScreenGeometry(rec.MaxRows, columns)) return 0;
    // A selection of the other width would name cells that are not there.
    if (rec.MaxCols != columns) PlaneHooks.clearSelection();
    rec.MaxCols = columns;
    if (!rec.CharsBase) return 0;
    rec.HistoryRowsAlloc = rec.HistoryBytes / columns;
    rec.HistoryCells = rec.HistoryRowsAlloc * columns;
    PointScreens(rec);
    return columns;
}

void ScrollIntoHistory(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int rows)
{
    (void)window;
    if (!rec.HistoryView && !rec.UpdateHiddenHistory) return;

    if (rec.CharsBase && rows > 0 && rec.MaxCols > 0) {
        // The source ends inside the visible part of the plane.
        const int maxRows = kScreenCells / rec.MaxCols;
        if (rows > maxRows) rows = maxRows;
        const std::size_t from = static_cast<std::size_t>(rows) * rec.MaxCols;
        const std::size_t history = static_cast<std::size_t>(rec.HistoryCells);
        std::memmove(rec.CharsBase, rec.CharsBase + from, history);
        std::memmove(rec.FlagsBase, rec.FlagsBase + from, history);
        if (rec.UseHistoryLinesColor) {
            std::memset(rec.FgBase, FgByte(rec.AttrColors[kAttrHistoryLines][kAttrFg]), history);
            std::memset(rec.BgBase, BgByte(rec.AttrColors[kAttrHistoryLines][kAttrBg]), history);
        } else {
            std::memmove(rec.FgBase, rec.FgBase + from, history);
            std::memmove(rec.BgBase, rec.BgBase + from, history);
        }
    }

    DirtyAfterHistoryScroll(rec, dirty);
}

void SaveScreenToHistory(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.HistoryRowsAlloc == 0) return;
    if (rec.PrintedCount != HistorySavedCount) {
        ScrollIntoHistory(window, rec, dirty, rec.MaxRows);
        HistorySavedCount = rec.PrintedCount;
    }
}

// ---------------------------------------------------------------------------------------------
// Terminal reset.

void ResetTerminal(SettingsRecord& rec)
{
    // 1.
    if (rec.UseHostColor) {
        rec.CurFg = rec.NormalFg;
        rec.CurBg = rec.NormalBg;
    } else {
        rec.CurFg = FgByte(rec.AttrColors[kAttrNormal][kAttrFg]);
        rec.CurBg = BgByte(rec.AttrColors[kAttrNormal][kAttrBg]);
    }
    rec.CellFlags = 0;
    rec.HostFg = rec.HostBg = 0;
    // 2.
    for (int32_t& flag : rec.SgrFlags) flag = 0;
    rec.AlternateFont = 0;
    rec.SavedCursor.Row = -1;
    // 3.
    rec.LocalEchoNow = rec.LocalEcho;
    rec.NewLineNow = rec.NewLine;
    rec.AutoWrapNow = rec.AutoWrap;
    rec.PrintToScreenNow = rec.PrintToScreen;
    // 4.
    rec.SequenceLength = 0;
    rec.PrinterOffMatch7 = 0;
    rec.PrinterOffMatch8 = 0;
    rec.PendingIntermediate = 0;
    // 5.
    rec.ProtectAttribute = 0;
    rec.ProtectMode = (rec.Terminal == 8 || rec.Terminal == 9 || rec.Terminal == 12) ? 0 : 1;
    // 6.
    rec.WrapPending = 0;
    // 7.
    rec.CharsetDesignation[kCsGL] = 0;
    rec.CharsetDesignation[kCsGR] = 2;
    PlaneHooks.setDefaultCharsets(rec);
    rec.CharsetDesignation[kCsSingleShift] = 0;
    // 8.
    rec.PrinterControllerMode = 0;
    rec.StatusLineCapture = 0;
    rec.StringCommandNumber = 0;
    rec.FunctionKeySkip = 0;
    rec.StringCommandLength = 0;
    // 9.
    rec.CursorFlags |= kCursorShown | kCaretRecreate;
    // 10.
    rec.KeyboardLocked = 0;
    PlaneHooks.setKeyboardIndicator(0);
    // 11.
    rec.ScrollTop = 0;
    const int bottom = rec.MaxRows > 0 ? rec.MaxRows - 1 : 0;
    rec.ScrollBottom = static_cast<uint8_t>(bottom > 255 ? 255 : bottom);
    if (rec.CursorRow > rec.ScrollBottom) rec.CursorRow = rec.ScrollBottom;
    // 12.
    rec.OriginMode = 0;
    rec.AppCursorKeys = 0;
    rec.AppKeypad = 0;
    // 13.
    rec.ScreenFrozen = 0;
    // 14.
    ParseTabStops(rec);
}

// ---------------------------------------------------------------------------------------------
// Control-sequence parameters.

int ParseCsiParams(const uint8_t* sequence, std::size_t length, int& count,
                   int (&params)[kCsiMaxParams], int finalByte)
{
    auto at = [&](std::size_t i) -> int { return (sequence && i < length) ? sequence[i] : 0; };

    count = 0;
    int marker = 0;
    std::size_t pos = 1;
    if (at(1) == 'P') {
        marker = 'P';
        pos = 2;
    } else {
        pos = at(1) == '[' ? 2 : 1;
        if (at(pos) == '=' || at(pos) == '?') {
            marker = at(pos);
            ++pos;
        }
    }

    int value = 0;
    int stop = 0;
    for (;; ++pos) {
        const int b = at(pos);
        if (b == ';') {
            params[count++] = value;
            value = 0;
            if (count == kCsiMaxParams) {
                stop = b;
                break;
            }
        } else if (b >= '0' && b <= '9') {
            value = value * 10 + (b - '0');
            if (value > kCsiParamLimit) value = kCsiParamLimit;
        } else {
            params[count++] = value;
            stop = b;
            break;
        }
    }

    if (stop == '"') marker = '"';
    const bool intermediateFinal =
        finalByte == '{' || finalByte == '|' || finalByte == '}' || finalByte == '~';
    if (intermediateFinal && stop != finalByte && count < kCsiMaxParams) params[count++] = stop;
    return marker;
}

// ---------------------------------------------------------------------------------------------
// Screen text.

namespace {

class TextWriter {
public:
    TextWriter(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    void Put(char c)
    {
        if (written_ + 1 < capacity_) buffer_[written_++] = c;
    }
    void Repeat(char c, int n)
    {
        for (int i = 0; i < n; ++i) Put(c);
    }
    std::size_t Finish()
    {
        if (capacity_ > 0) buffer_[written_] = '\0';
        return written_;
    }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t written_ = 0;
};

class CellReader {
public:
    CellReader(const SettingsRecord& rec, const ScreenTextRequest& request) : rec_(rec), request_(request)
    {
        valid_ = rec.CharsBase && rec.FlagsBase && rec.MaxCols > 0;
        size_ = static_cast<long long>(rec.HistoryBytes) + kScreenCells;
    }

    // Raw character of the cell (row, column) relative to the rectangle; NUL outside the planes.
    uint8_t Raw(int row, int col) const
    {
        long long offset;
        return Offset(row, col, offset) ? rec_.CharsBase[offset] : 0;
    }

    // The cell as text (plain-mode rules).
    char Text(int row, int col) const
    {
        long long offset;
        if (!Offset(row, col, offset)) return ' ';
        const uint8_t ch = rec_.CharsBase[offset];
        const uint8_t flags = rec_.FlagsBase[offset];
        if (rec_.TerminalFamily3270) {
            const int screenRow = request_.top + row;
            const int screenCol = request_.left + col;
            const long long address = static_cast<long long>(screenRow) * rec_.MaxCols + screenCol;
            if (screenRow >= 0 && address >= 0 && address < kScreenCells &&
                (PlaneHooks.fieldAttribute(rec_, static_cast<int>(address)) & 0x0C) == 0x0C)
                return ' ';  // non-display field
        }
        if (flags & 0x08) {
            switch (ch) {
            case '-':
            case 'q': return '-';
            case '_': return '_';
            case 'x': return '|';
            default: return '+';
            }
        }
        if (ch == 0) return ' ';
        return static_cast<char>(ch);
    }

    bool Blank(int row, int col) const
    {
        const uint8_t ch = Raw(row, col);
        return ch == 0x20 || ch == 0;
    }

private:
    bool Offset(int row, int col, long long& offset) const
    {
        if (!valid_) return false;
        const long long screenRow = static_cast<long long>(request_.top) + row;
        const long long column = static_cast<long long>(request_.left) + col;
        // History view: rows counted from the plane bases; else from the visible screen.
        const long long firstRow = rec_.HistoryView ? rec_.HistoryRowsAlloc : 0;
        offset = (screenRow + firstRow) * rec_.MaxCols + column + (rec_.HistoryView ? 0 : rec_.HistoryCells);
        return offset >= 0 && offset < size_;
    }

    const SettingsRecord& rec_;
    const ScreenTextRequest& request_;
    bool valid_;
    long long size_;
};

}  // namespace

std::size_t GetScreenText(const SettingsRecord& rec, char* buffer, std::size_t capacity,
                          const ScreenTextRequest& request)
{
    TextWriter out(buffer, buffer ? capacity : 0);
    const CellReader cells(rec, request);
    const int width = request.width > 0 ? request.width : 0;
    const int height = request.height > 0 ? request.height : 0;
    const char separator = static_cast<char>(request.separator);

    for (int r = 0; r < height; ++r) {
        if (r > 0) {
            if (request.tableMode && request.separatorBetweenRows && separator != 0) {
                out.Put(separator);
            } else {
                out.Put('\r');
                out.Put('\n');
            }
        }
        if (!request.tableMode) {
            for (int c = 0; c < width; ++c) out.Put(cells.Text(r, c));
            continue;
        }

        int c = 0;
        while (c < width && cells.Blank(r, c)) {
            if (!request.removeLeading) out.Put(' ');
            ++c;
        }
        while (c < width) {
            if (!cells.Blank(r, c)) {
                out.Put(cells.Text(r, c));
                ++c;
                continue;
            }
            int run = 0;
            while (c + run < width && cells.Blank(r, c + run)) ++run;
            if (c + run == width) {
                if (!request.removeTrailing) out.Repeat(' ', run);
                break;
            }
            if (run == 1) {
                const char next = cells.Text(r, c + 1);
                const bool asSeparator =
                    request.singleBlankRule == 1 ||
                    (request.singleBlankRule == 0 && (next == '-' || (next >= '0' && next <= '9')));
                out.Put(asSeparator && separator != 0 ? separator : ' ');
            } else if (separator != 0) {
                out.Put(separator);
            } else {
                out.Repeat(' ', run);
            }
            c += run;
        }
    }
    return out.Finish();
}
