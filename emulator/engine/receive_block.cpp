#include "engine/receive_block.h"

#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"

namespace {

constexpr uint8_t kTrueBold = 0x02;

uint8_t ClassColour(const SettingsRecord& rec, int entry, int slot, int fallback)
{
    return static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[entry][slot], fallback));
}

// The colours of a new character: the rendition's, or in the attribute model those of the line-
// and special-graphics classes when their settings ask for them.
void CharacterColours(const SettingsRecord& rec, int charClass, uint8_t& fg, uint8_t& bg)
{
    fg = rec.CurFg;
    bg = rec.CurBg;
    if (rec.UseHostColor) return;
    if (charClass == kClassLineGraphics && rec.UseLineGraphicsColor) {
        fg = ClassColour(rec, kAttrLineGraphics, kAttrFg, kNormalFgIndex);
        bg = ClassColour(rec, kAttrLineGraphics, kAttrBg, kNormalBgIndex);
    } else if (charClass == kClassSpecialGraphics && rec.UseSpecialGraphicsColor) {
        fg = ClassColour(rec, kAttrSpecialGraphics, kAttrFg, kNormalFgIndex);
        bg = ClassColour(rec, kAttrSpecialGraphics, kAttrBg, kNormalBgIndex);
    }
}

// One written cell of the visible screen.
void PutCell(SettingsRecord& rec, int index, uint8_t character, uint8_t fg, uint8_t bg, uint8_t flags)
{
    rec.LastChar = character;
    StoreCell(rec, index, character, fg, bg, flags);
}

}  // namespace

bool AutoDetectOn(const SettingsRecord& rec)
{
    return rec.AutoDetectReceive && (rec.XferType == 2 || (rec.XferType == 0 && rec.ComType == 0));
}

BlockStart BeginBlock(const SettingsRecord& rec)
{
    return BlockStart{rec.CursorCol, rec.CursorRow, kEmptyDirtyRect, AutoDetectOn(rec)};
}

int DetectedTransfer(bool detect, uint8_t byte) { return detect ? VtHooks.detectAutoTransfer(byte) : 0; }

void WriteCellAtCursor(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    (void)window;
    if (!rec.CharsScreen) return;
    ++rec.PrintedCount;
    uint8_t character = byte;
    int extraFlags = 0;
    int charClass = kClassPlain;
    TranslateChar(character, extraFlags, charClass, rec);

    uint8_t fg;
    uint8_t bg;
    CharacterColours(rec, charClass, fg, bg);
    uint8_t flags = static_cast<uint8_t>(rec.CellFlags | extraFlags);
    if (character == ' ') flags &= static_cast<uint8_t>(~kTrueBold);

    rec.CursorRow = ClampInt(rec.CursorRow, 0, LastRow(rec));
    rec.CursorCol = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int index = rec.CursorRow * rec.MaxCols + rec.CursorCol;
    PutCell(rec, index, character, fg, bg, flags);
    DirtyCell(rec, dirty, rec.CursorRow, rec.CursorCol);
}

void AdvanceAfterCharacter(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.CursorCol < LastColumn(rec)) {
        ++rec.CursorCol;
    } else if (rec.AutoWrapNow) {
        CarriageReturn(window, rec, dirty);
        LineFeed(window, rec, dirty);
    }
}

int PlainRunLength(const uint8_t* data, int i, int length)
{
    int end = i;
    while (end < length && data[end] >= 0x20 && data[end] < 0x7F) ++end;
    return end - i;
}

void WriteCharacterRun(ViewWindow window, SettingsRecord& rec, const uint8_t* bytes, int n, DirtyRect& dirty)
{
    if (!rec.CharsScreen || n <= 0) return;
    if (n == 1) {  // a lone character (after a cursor move, say) is not worth the run's tables
        WriteCellAtCursor(window, rec, bytes[0], dirty);
        AdvanceAfterCharacter(window, rec, dirty);
        return;
    }
    // Nothing in a run of printable bytes changes what the translation depends on.
    bool known[128] = {};
    uint8_t character[128];
    uint8_t fgOf[128];
    uint8_t bgOf[128];
    uint8_t flagsOf[128];
    const int cols = rec.MaxCols;
    const int lastColumn = LastColumn(rec);
    int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    int col = ClampInt(rec.CursorCol, 0, lastColumn);
    int low = lastColumn + 1;  // the columns of `row` written and not yet in the dirty rectangle
    int high = -1;
    auto flush = [&]() {
        if (high < low) return;
        DirtyCell(rec, dirty, row, low);
        DirtyCell(rec, dirty, row, high);
        low = lastColumn + 1;
        high = -1;
    };
    for (int i = 0; i < n; ++i) {
        const uint8_t b = static_cast<uint8_t>(bytes[i] & 0x7F);
        if (!known[b]) {
            uint8_t c = b;
            int extraFlags = 0;
            int charClass = kClassPlain;
            TranslateChar(c, extraFlags, charClass, rec);
            uint8_t fg;
            uint8_t bg;
            CharacterColours(rec, charClass, fg, bg);
            uint8_t flags = static_cast<uint8_t>(rec.CellFlags | extraFlags);
            if (c == ' ') flags &= static_cast<uint8_t>(~kTrueBold);
            known[b] = true;
            character[b] = c;
            fgOf[b] = fg;
            bgOf[b] = bg;
            flagsOf[b] = flags;
        } else {
            ++DisplayedCharCount;  // as the translation would have counted it
        }
        const int index = row * cols + col;
        PutCell(rec, index, character[b], fgOf[b], bgOf[b], flagsOf[b]);
        ++rec.PrintedCount;
        if (col < low) low = col;
        if (col > high) high = col;
        if (col < lastColumn) {
            ++col;
        } else if (rec.AutoWrapNow) {
            flush();
            rec.CursorRow = row;
            CarriageReturn(window, rec, dirty);
            LineFeed(window, rec, dirty);
            row = ClampInt(rec.CursorRow, 0, LastRow(rec));
            col = 0;
        }
    }
    flush();
    rec.CursorRow = row;
    rec.CursorCol = col;
}

void WriteInsertedCharacter(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    if (rec.InsertMode) InsertBlank(window, rec, dirty);
    WriteCellAtCursor(window, rec, byte, dirty);
    AdvanceAfterCharacter(window, rec, dirty);
}

void ReportBlockRepaint(ViewWindow window, const SettingsRecord& rec, const DirtyRect& dirty, int oldCol, int oldRow,
                        CursorRepaint mode)
{
    ViewPort& view = View();
    const int left = VtHooks.leftMargin(window);
    const int top = VtHooks.topMargin(window);
    view.HideCaret(window);
    if (dirty.right != 0) {
        view.Invalidate(window, DirtyRect{dirty.left + left, dirty.top + top, dirty.right + left, dirty.bottom + top},
                        false);
    } else if (mode == CursorRepaint::CornerDot) {
        if (oldCol != rec.CursorCol || oldRow != rec.CursorRow) {
            const int x = oldCol * rec.CellWidth - rec.ScrollPosX + left;
            const int y = oldRow * rec.CellHeight - rec.ScrollPosY + top;
            view.Invalidate(window, DirtyRect{x, y, x + 1, y + 1}, false);
        }
    } else if (oldCol != rec.CursorCol || oldRow != rec.CursorRow || (rec.CursorFlags & kCaretRecreate)) {
        const int x = oldCol * rec.CellWidth - rec.ScrollPosX + left;
        const int y = oldRow * rec.CellHeight - rec.ScrollPosY + top;
        view.Invalidate(window, DirtyRect{x, y, x + rec.CellWidth, y + rec.CellHeight}, false);
    }
    view.ShowCaret(window);
}
