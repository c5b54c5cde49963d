#include <cstring>

#include "engine/charsets.h"
#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/teletype/dumb_interpreter.h"
#include "engine/vt/vt_hooks.h"

namespace {

// Line feed on the last row: the character plane moves up one row (with the history when it is
// kept, so the top row enters it), the last row becomes blank, and the whole screen is changed.
void ScrollCharacters(SettingsRecord& rec, DirtyRect& dirty)
{
    if (!rec.CharsScreen || rec.MaxCols <= 0) return;
    const int cols = rec.MaxCols;
    const int rows = LastRow(rec) + 1;
    const bool withHistory = (rec.HistoryView || rec.UpdateHiddenHistory) && rec.HistoryCells > 0;
    uint8_t* const start = withHistory ? rec.CharsBase : rec.CharsScreen;
    const std::size_t moved =
        static_cast<std::size_t>(withHistory ? rec.HistoryCells : 0) + static_cast<std::size_t>(rows - 1) * cols;
    std::memmove(start, start + cols, moved);
    std::memset(rec.CharsScreen + (rows - 1) * cols, ' ', static_cast<std::size_t>(cols));
    DirtyScreen(rec, dirty);
    if (withHistory && rec.HistoryView) dirty.top -= rec.HistoryRowsAlloc * rec.CellHeight;
}

void TeletypeLineFeed(SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.CursorRow < LastRow(rec)) {
        ++rec.CursorRow;
        return;
    }
    rec.CursorRow = LastRow(rec);
    ScrollCharacters(rec, dirty);
}

void TeletypeReturn(SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CursorCol = 0;
    if (rec.NewLineNow) TeletypeLineFeed(rec, dirty);
}

void ShowByte(SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if (!rec.CharsScreen) return;
    ++rec.PrintedCount;
    uint8_t character = b;
    int flags = 0;
    int charClass = 0;
    TranslateChar(character, flags, charClass, rec);
    const int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    const int index = row * rec.MaxCols + col;
    rec.CharsScreen[index] = character;
    rec.ProtectionPlane[index] = rec.ProtectAttribute;
    rec.FlagsScreen[index] = static_cast<uint8_t>(flags);
    DirtyCell(rec, dirty, row, col);
    rec.CursorRow = row;
    if (col < LastColumn(rec)) {
        rec.CursorCol = col + 1;
    } else if (rec.AutoWrapNow) {  // as if CR LF had come
        TeletypeReturn(rec, dirty);
        TeletypeLineFeed(rec, dirty);
    }
}

void DumbByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    switch (b) {
    case 0x05: VtHooks.sendExpanded(window, rec.AnswerBack); break;
    case 0x07: VtHooks.beep(rec.Beep); break;
    case 0x08: CursorLeft(window, rec, dirty); break;
    case 0x09: TabForward(window, rec, dirty); break;
    case 0x0A: TeletypeLineFeed(rec, dirty); break;
    case 0x0D: TeletypeReturn(rec, dirty); break;
    default: ShowByte(rec, b, dirty); break;
    }
}

}  // namespace

int DumbInterpret(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec)
{
    BlockStart block = BeginBlock(rec);
    // This terminal's detector watches every serial line, whatever the transfer type.
    const bool detect = rec.ComType == 0 && rec.AutoDetectReceive;
    for (int i = 0; i < length; ++i) {
        if (DetectedTransfer(detect, data[i])) break;
        DumbByte(window, rec, data[i], block.dirty);
    }
    EndBlock(window, rec, block, CursorRepaint::CornerDot);
    return 2;
}
