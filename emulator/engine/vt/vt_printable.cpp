// The VT character writer: one printable byte into the cell at the cursor.
#include <cstring>

#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/vt/vt_interpreter.h"
#include "host_platform.h"
#include "session/translate_tables.h"

namespace {

constexpr uint8_t kTrueBold = 0x02;
constexpr uint8_t kLineSizeFlags = 0x70;  // double width, upper and lower half of double height
constexpr uint8_t kLowerHalf = 0x40;

void Widen(DirtyRect& dirty, int x, int y, int width, int height)
{
    if (x < dirty.left) dirty.left = x;
    if (y < dirty.top) dirty.top = y;
    if (x + width > dirty.right) dirty.right = x + width;
    if (y + height > dirty.bottom) dirty.bottom = y + height;
}

// Everything TranslateChar reads for a byte below 0x80 once a run's first byte has cleared a
// single shift: while it stays the same, so do the translations.
struct TranslationInputs {
    int32_t terminal;
    int32_t charset;
    int32_t boxEnable;
    unsigned platformGeneration;
    uint8_t designation[kCharsetDesignationBytes];
    uint8_t alternateFont;
    uint8_t fontCharSet;
    uint8_t incoming[256];
};

void ReadTranslationInputs(const SettingsRecord& rec, TranslationInputs& in)
{
    std::memset(&in, 0, sizeof in);
    in.terminal = rec.Terminal;
    in.charset = rec.Charset;
    in.boxEnable = rec.BoxEnable;
    in.platformGeneration = PlatformGeneration();
    std::memcpy(in.designation, rec.CharsetDesignation, sizeof in.designation);
    in.alternateFont = rec.AlternateFont;
    in.fontCharSet = rec.CurrentFont.CharSet;
    std::memcpy(in.incoming, SessionTranslateTables.Incoming, sizeof in.incoming);
}

// The translations of the bytes 0x20-0x7E: valid while stamp[c] equals `run`, which changes
// whenever the translation inputs differ from those of the runs before.
struct RunTranslations {
    uint32_t run = 0;
    uint32_t stamp[128] = {};
    uint8_t character[128];
    uint8_t flags[128];
    uint8_t charClass[128];
    TranslationInputs inputs{};
};
RunTranslations memo;

void KeepOrForgetTranslations(const SettingsRecord& rec)
{
    TranslationInputs now;
    ReadTranslationInputs(rec, now);
    if (memo.run != 0 && std::memcmp(&now, &memo.inputs, sizeof now) == 0) return;
    memo.inputs = now;
    ++memo.run;
}

}  // namespace

void WriteVtCharacter(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    if (rec.WrapPending) {
        CarriageReturn(window, rec, dirty);
        LineFeed(window, rec, dirty);
        rec.WrapPending = 0;
    }
    uint8_t character = byte;
    int extraFlags = 0;
    int charClass = kClassPlain;
    TranslateChar(character, extraFlags, charClass, rec);

    const int lastColumn = LastColumn(rec);
    const int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    const int col = ClampInt(rec.CursorCol, 0, lastColumn);
    rec.CursorRow = row;
    rec.CursorCol = col;
    rec.LastChar = character;
    if (rec.InsertMode) InsertBlanks(window, rec, dirty, 1);

    uint8_t fg = rec.CurFg;
    uint8_t bg = rec.CurBg;
    if (!rec.UseHostColor) {
        if (charClass == kClassLineGraphics && rec.UseLineGraphicsColor) {
            fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrFg], kNormalFgIndex));
            bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrBg], kNormalBgIndex));
        } else if (charClass == kClassSpecialGraphics && rec.UseSpecialGraphicsColor) {
            fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrFg], kNormalFgIndex));
            bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrBg], kNormalBgIndex));
        }
    }

    const int rowStart = row * rec.MaxCols;
    const uint8_t oldFlags = rec.FlagsScreen[rowStart + col];
    if (oldFlags & kLowerHalf) character = ' ';
    uint8_t flags = static_cast<uint8_t>((oldFlags & kLineSizeFlags) | rec.CellFlags | extraFlags);
    if (character == ' ' && (rec.CellFlags & kTrueBold)) flags &= static_cast<uint8_t>(~kTrueBold);

    int cellWidth = rec.CellWidth;
    int drawnColumn = col;
    if (oldFlags & kLineSizeFlags) {
        // A doubled line has half as many cells; a cursor beyond them writes the last one.
        const int half = rec.MaxCols / 2;
        drawnColumn = col < half ? col : (half > 0 ? half - 1 : 0);
        const int first = rowStart + 2 * drawnColumn;
        StoreCell(rec, first, character, fg, bg, flags);
        if (2 * drawnColumn + 1 <= lastColumn)
            StoreCell(rec, first + 1, ' ', fg, bg, static_cast<uint8_t>(flags & ~kTrueBold));
        cellWidth = 2 * rec.CellWidth;
    } else {
        ++rec.PrintedCount;
        StoreCell(rec, rowStart + col, character, fg, bg, flags);
    }
    Widen(dirty, drawnColumn * cellWidth - rec.ScrollPosX, row * rec.CellHeight - rec.ScrollPosY, cellWidth,
          rec.CellHeight);

    if (col < lastColumn)
        rec.CursorCol = col + 1;
    else if (rec.AutoWrapNow)
        rec.WrapPending = 1;
}

void WriteVtRun(ViewWindow window, SettingsRecord& rec, const uint8_t* bytes, int n, DirtyRect& dirty)
{
    if (n <= 0) return;
    // The first byte may take a single shift; after it a run of printable bytes changes nothing
    // that the translation or the colours depend on, so each byte value is translated once per
    // run and the record is read once. Whatever is not a plain cell of a single-width line (a
    // pending wrap, insert mode, a doubled line) goes through WriteVtCharacter.
    WriteVtCharacter(window, rec, bytes[0], dirty);
    if (rec.InsertMode) {
        for (int i = 1; i < n; ++i) WriteVtCharacter(window, rec, bytes[i], dirty);
        return;
    }
    if (n > 1) KeepOrForgetTranslations(rec);
    const int cols = rec.MaxCols;
    const int lastColumn = LastColumn(rec);
    const int lastRow = LastRow(rec);
    // The plane pointers change when the screen scrolls (WriteVtCharacter may scroll).
    uint8_t* chars = rec.CharsScreen;
    uint8_t* fgPlane = rec.FgScreen;
    uint8_t* bgPlane = rec.BgScreen;
    uint8_t* flagsPlane = rec.FlagsScreen;
    uint8_t* const protection = rec.ProtectionPlane;
    const uint8_t protect = rec.ProtectAttribute;
    const uint8_t cellFlags = rec.CellFlags;
    const bool autoWrap = rec.AutoWrapNow != 0;
    const bool classColours = !rec.UseHostColor;
    const uint8_t curFg = rec.CurFg;
    const uint8_t curBg = rec.CurBg;
    const int cellWidth = rec.CellWidth;
    const int cellHeight = rec.CellHeight;

    int row = rec.CursorRow;
    int col = rec.CursorCol;
    bool wrapPending = rec.WrapPending != 0;
    int lastChar = -1;
    int printed = 0;
    int low = lastColumn + 1;  // the columns written on `row` and not yet in the dirty rectangle
    int high = -1;
    auto flush = [&]() {
        if (high >= low)
            Widen(dirty, low * cellWidth - rec.ScrollPosX, row * cellHeight - rec.ScrollPosY, (high - low + 1) * cellWidth,
                  cellHeight);
        low = lastColumn + 1;
        high = -1;
    };
    auto storeState = [&]() {
        rec.CursorCol = col;
        rec.WrapPending = wrapPending ? 1 : 0;
        rec.PrintedCount += printed;
        printed = 0;
        if (lastChar >= 0) rec.LastChar = static_cast<uint8_t>(lastChar);
    };
    for (int i = 1; i < n; ++i) {
        const uint8_t byte = bytes[i];
        if (wrapPending || row < 0 || row > lastRow || col < 0 || col > lastColumn ||
            (flagsPlane[row * cols + col] & (kLineSizeFlags | kLowerHalf))) {
            flush();
            storeState();
            WriteVtCharacter(window, rec, byte, dirty);
            chars = rec.CharsScreen;
            fgPlane = rec.FgScreen;
            bgPlane = rec.BgScreen;
            flagsPlane = rec.FlagsScreen;
            row = rec.CursorRow;
            col = rec.CursorCol;
            wrapPending = rec.WrapPending != 0;
            lastChar = -1;
            continue;
        }
        if (memo.stamp[byte] != memo.run) {
            uint8_t character = byte;
            int extraFlags = 0;
            int charClass = kClassPlain;
            TranslateChar(character, extraFlags, charClass, rec);
            memo.stamp[byte] = memo.run;
            memo.character[byte] = character;
            memo.flags[byte] = static_cast<uint8_t>(extraFlags);
            memo.charClass[byte] = static_cast<uint8_t>(charClass);
        } else {
            ++DisplayedCharCount;
        }
        const uint8_t character = memo.character[byte];
        const int charClass = memo.charClass[byte];
        uint8_t fg = curFg;
        uint8_t bg = curBg;
        if (classColours && charClass != kClassPlain) {
            if (charClass == kClassLineGraphics && rec.UseLineGraphicsColor) {
                fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrFg], kNormalFgIndex));
                bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrBg], kNormalBgIndex));
            } else if (charClass == kClassSpecialGraphics && rec.UseSpecialGraphicsColor) {
                fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrFg], kNormalFgIndex));
                bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrBg], kNormalBgIndex));
            }
        }
        uint8_t flags = static_cast<uint8_t>(cellFlags | memo.flags[byte]);
        if (character == ' ' && (cellFlags & kTrueBold)) flags &= static_cast<uint8_t>(~kTrueBold);
        const int index = row * cols + col;
        chars[index] = character;
        fgPlane[index] = fg;
        bgPlane[index] = bg;
        flagsPlane[index] = flags;
        protection[index] = protect;
        lastChar = character;
        ++printed;
        if (col < low) low = col;
        if (col > high) high = col;
        if (col < lastColumn)
            ++col;
        else if (autoWrap)
            wrapPending = true;
    }
    flush();
    storeState();
}
