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

// Everything TranslateChar reads for a byte below 0x80, besides the display table, once a run's
// first byte has cleared a single shift: while it stays the same, so do the translations.
struct TranslationInputs {
    int32_t terminal;
    int32_t charset;
    int32_t boxEnable;
    unsigned platformGeneration;
    uint8_t designation[kCharsetDesignationBytes];
    uint8_t alternateFont;
    uint8_t fontCharSet;

    bool Matches(const SettingsRecord& rec) const
    {
        return terminal == rec.Terminal && charset == rec.Charset && boxEnable == rec.BoxEnable &&
               alternateFont == rec.AlternateFont && fontCharSet == rec.CurrentFont.CharSet &&
               platformGeneration == PlatformGeneration() && SameDesignations(designation, rec.CharsetDesignation);
    }
    // The twelve designation bytes as an 8-byte and a 4-byte word: a run of one character (after
    // a colour or a cursor move) would spend more on a memcmp call than on its cell.
    static bool SameDesignations(const uint8_t* a, const uint8_t* b)
    {
        static_assert(kCharsetDesignationBytes == 12, "the designations are compared as 8 + 4 bytes");
        uint64_t a8, b8;
        uint32_t a4, b4;
        std::memcpy(&a8, a, 8);
        std::memcpy(&b8, b, 8);
        std::memcpy(&a4, a + 8, 4);
        std::memcpy(&b4, b + 8, 4);
        return a8 == b8 && a4 == b4;
    }
    void Read(const SettingsRecord& rec)
    {
        terminal = rec.Terminal;
        charset = rec.Charset;
        boxEnable = rec.BoxEnable;
        platformGeneration = PlatformGeneration();
        std::memcpy(designation, rec.CharsetDesignation, sizeof designation);
        alternateFont = rec.AlternateFont;
        fontCharSet = rec.CurrentFont.CharSet;
    }
};

// The translations of the bytes 0x20-0x7E: an entry is valid while stamp[c] equals `run`, which
// changes whenever the translation inputs differ from those of the runs before, and while the
// display table still holds what the entry was made from (the byte and the byte + 0x80, which a
// 96-character set reads).
struct RunTranslations {
    uint32_t run = 0;
    uint32_t stamp[128] = {};
    uint8_t shown[128];
    uint8_t shownHigh[128];
    uint8_t character[128];
    uint8_t flags[128];
    uint8_t charClass[128];
    TranslationInputs inputs{};
};
RunTranslations memo;

void KeepOrForgetTranslations(const SettingsRecord& rec)
{
    if (memo.run != 0 && memo.inputs.Matches(rec)) return;
    memo.inputs.Read(rec);
    ++memo.run;
}

// Makes the translation of a printable byte below 0x80 for the current run. Kept out of line:
// it is seldom called, and the loop over a run's bytes keeps its values in registers without it.
[[gnu::noinline]] void MakeTranslation(SettingsRecord& rec, uint8_t byte)
{
    const uint8_t* shown = SessionTranslateTables.Incoming;
    uint8_t character = byte;
    int extraFlags = 0;
    int charClass = kClassPlain;
    TranslateChar(character, extraFlags, charClass, rec);
    --DisplayedCharCount;  // the run counts the characters it writes
    memo.stamp[byte] = memo.run;
    memo.shown[byte] = shown[byte];
    memo.shownHigh[byte] = shown[byte | 0x80];
    memo.character[byte] = character;
    memo.flags[byte] = static_cast<uint8_t>(extraFlags);
    memo.charClass[byte] = static_cast<uint8_t>(charClass);
}

// The translation of a printable byte below 0x80, made once per byte value and run.
inline void Translate(SettingsRecord& rec, uint8_t byte)
{
    const uint8_t* shown = SessionTranslateTables.Incoming;
    if (memo.stamp[byte] == memo.run && memo.shown[byte] == shown[byte] && memo.shownHigh[byte] == shown[byte | 0x80])
        return;
    MakeTranslation(rec, byte);
}

// The colours of a line-drawing or special-graphics character in the attribute model, when the
// settings give those classes colours of their own.
void ClassColours(const SettingsRecord& rec, int charClass, uint8_t& fg, uint8_t& bg)
{
    if (charClass == kClassLineGraphics && rec.UseLineGraphicsColor) {
        fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrFg], kNormalFgIndex));
        bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrLineGraphics][kAttrBg], kNormalBgIndex));
    } else if (charClass == kClassSpecialGraphics && rec.UseSpecialGraphicsColor) {
        fg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrFg], kNormalFgIndex));
        bg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kAttrSpecialGraphics][kAttrBg], kNormalBgIndex));
    }
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
    if (!rec.UseHostColor) ClassColours(rec, charClass, fg, bg);

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

namespace {

// Writes the bytes of `in` into the cells from `start` on, at most `take` of them and up to the
// first cell of a doubled line (the line flags are the row's, so that is the first cell or none);
// returns how many were written. The five planes are written in one loop; then the colours of
// line-drawing and special-graphics characters, when the segment has any and the settings give
// them colours of their own.
int WriteRowSegment(SettingsRecord& rec, const uint8_t* in, int take, int start)
{
    uint8_t* const chars = rec.CharsScreen + start;
    uint8_t* const flags = rec.FlagsScreen + start;
    uint8_t* const fgs = rec.FgScreen + start;
    uint8_t* const bgs = rec.BgScreen + start;
    uint8_t* const protects = rec.ProtectionPlane + start;
    // The rendition in locals: the stores below could change anything else as far as the
    // compiler knows.
    const uint8_t cellFlags = rec.CellFlags;
    const uint8_t blankMask = (cellFlags & kTrueBold) ? static_cast<uint8_t>(~kTrueBold) : 0xFF;
    const uint8_t fg = rec.CurFg;
    const uint8_t bg = rec.CurBg;
    const uint8_t protect = rec.ProtectAttribute;
    uint8_t classes = 0;
    int written = 0;
    for (; written < take && !(flags[written] & (kLineSizeFlags | kLowerHalf)); ++written) {
        const uint8_t b = in[written];
        Translate(rec, b);
        const uint8_t character = memo.character[b];
        const uint8_t f = static_cast<uint8_t>(cellFlags | memo.flags[b]);
        chars[written] = character;
        flags[written] = character == ' ' ? static_cast<uint8_t>(f & blankMask) : f;
        fgs[written] = fg;
        bgs[written] = bg;
        protects[written] = protect;
        classes |= memo.charClass[b];
    }
    if (classes != kClassPlain && !rec.UseHostColor) {
        for (int k = 0; k < written; ++k)
            if (memo.charClass[in[k]] != kClassPlain) ClassColours(rec, memo.charClass[in[k]], fgs[k], bgs[k]);
    }
    return written;
}

}  // namespace

void WriteVtRun(ViewWindow window, SettingsRecord& rec, const uint8_t* bytes, int n, DirtyRect& dirty)
{
    if (n <= 0) return;
    if (rec.InsertMode) {
        for (int i = 0; i < n; ++i) WriteVtCharacter(window, rec, bytes[i], dirty);
        return;
    }
    // A single shift acts on the first byte alone; after it a run of printable bytes changes
    // nothing that the translation or the colours depend on, so each byte value is translated
    // once per run. The run is written a row segment at a time. Whatever is not a plain cell of
    // a single-width line (a pending wrap, a doubled line) goes through WriteVtCharacter.
    int i = 0;
    if (rec.CharsetDesignation[kCsSingleShift] != 0) WriteVtCharacter(window, rec, bytes[i++], dirty);
    if (i == n) return;
    KeepOrForgetTranslations(rec);
    while (i < n) {
        const int row = rec.CursorRow;
        const int col = rec.CursorCol;
        const int lastColumn = LastColumn(rec);
        if (rec.WrapPending || row < 0 || row > LastRow(rec) || col < 0 || col > lastColumn) {
            WriteVtCharacter(window, rec, bytes[i++], dirty);  // may scroll: the planes move
            continue;
        }
        const int room = lastColumn - col + 1;
        const int take = WriteRowSegment(rec, bytes + i, n - i < room ? n - i : room, row * rec.MaxCols + col);
        if (take == 0) {
            WriteVtCharacter(window, rec, bytes[i++], dirty);
            continue;
        }
        DisplayedCharCount += take;
        Widen(dirty, col * rec.CellWidth - rec.ScrollPosX, row * rec.CellHeight - rec.ScrollPosY, take * rec.CellWidth,
              rec.CellHeight);
        rec.PrintedCount += take;
        rec.LastChar = memo.character[bytes[i + take - 1]];
        i += take;
        if (col + take <= lastColumn) {
            rec.CursorCol = col + take;
        } else {
            rec.CursorCol = lastColumn;
            if (rec.AutoWrapNow) rec.WrapPending = 1;
        }
    }
}
