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

    uint8_t fg = rec.CurFg;
    uint8_t bg = rec.CurBg;
    if (!rec.UseHostColor) {
        if (charClass == kClassLineGraphics && rec.UseLineGraphicsColor) {
            fg = ClassColour(rec, kAttrLineGraphics, kAttrFg, kNormalFgIndex);
            bg = ClassColour(rec, kAttrLineGraphics, kAttrBg, kNormalBgIndex);
        } else if (charClass == kClassSpecialGraphics && rec.UseSpecialGraphicsColor) {
            fg = ClassColour(rec, kAttrSpecialGraphics, kAttrFg, kNormalFgIndex);
            bg = ClassColour(rec, kAttrSpecialGraphics, kAttrBg, kNormalBgIndex);
        }
    }
    uint8_t flags = static_cast<uint8_t>(rec.CellFlags | extraFlags);
    if (character == ' ') flags &= static_cast<uint8_t>(~kTrueBold);

    rec.CursorRow = ClampInt(rec.CursorRow, 0, LastRow(rec));
    rec.CursorCol = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int index = rec.CursorRow * rec.MaxCols + rec.CursorCol;
    rec.LastChar = character;
    rec.CharsScreen[index] = character;
    rec.FgScreen[index] = fg;
    rec.BgScreen[index] = bg;
    rec.FlagsScreen[index] = flags;
    rec.ProtectionPlane[index] = rec.ProtectAttribute;
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
