#include "engine/ibm3270/status_view.h"

#include <cstdio>

#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outside_hooks.h"
#include "engine/ibm3270/view_hooks.h"
#include "engine/screen_actions.h"
#include "engine/view_port.h"

namespace {

constexpr uint32_t kStatusTextColour = 0x800000;
constexpr uint32_t kStatusBackColour = 0xC0C0C0;

void NoInvalidate(ViewWindow, int, int, int, int) {}
void NoCaret(ViewWindow) {}
int NoMargin(ViewWindow) { return 0; }
void NoBeep(int) {}
int NoWinExec(const char*, int) { return 2; }

// Invalidates cells [firstColumn, lastColumn] of rows [firstRow, lastRow].
void InvalidateCells(ViewWindow window, int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    const int cw = Rec->CellWidth;
    const int ch = Rec->CellHeight;
    const int dx = ViewHooks3270.leftMargin(window) - Rec->ScrollPosX;
    const int dy = ViewHooks3270.topMargin(window) - Rec->ScrollPosY;
    ViewHooks3270.invalidate(window, firstColumn * cw + dx, firstRow * ch + dy, (lastColumn + 1) * cw + dx,
                             (lastRow + 1) * ch + dy);
}

void InvalidateAddress(ViewWindow window, int address)
{
    const int columns = Tn3270State.Columns3270;
    const int row = address / columns;
    const int column = address % columns;
    InvalidateCells(window, row, row, column, column);
}

}  // namespace

Tn3270ViewHooks Default3270ViewHooks()
{
    return Tn3270ViewHooks{&NoInvalidate, &NoCaret, &NoCaret, &NoMargin, &NoMargin, &NoBeep, &NoWinExec};
}

Tn3270ViewHooks ViewHooks3270 = Default3270ViewHooks();

void Show3270Status(const char* text, int beep)
{
    View().SetStatusPane(text ? text : "", 1, kStatusTextColour, kStatusBackColour);
    Tn3270State.StatusMessageShown = text ? 1 : 0;
    if (beep) Beep3270();
}

void Clear3270Status()
{
    if (Tn3270State.StatusMessageShown) Show3270Status(nullptr, 0);
}

void Beep3270() { ViewHooks3270.beep(Rec->Beep); }

void Flush3270Repaint(ViewWindow window)
{
    Tn3270Globals& s = Tn3270State;
    if (s.Columns3270 <= 0) return;
    const bool moved = s.CursorAddress != s.RecordStartCursor;
    if (moved) {
        Rec->CursorRow = s.CursorAddress / s.Columns3270;
        Rec->CursorCol = s.CursorAddress - Rec->CursorRow * s.Columns3270;
    }
    if (Is3270DirtyEmpty()) {
        if (!moved) return;
        ViewHooks3270.hideCaret(window);
        if (s.RecordStartCursor >= 0 && s.RecordStartCursor < s.BufferSize)
            InvalidateAddress(window, s.RecordStartCursor);
    } else {
        ViewHooks3270.hideCaret(window);
        const int low = s.DirtyLow < 0 ? 0 : s.DirtyLow;
        const int high = s.DirtyHigh >= s.BufferSize ? s.BufferSize - 1 : s.DirtyHigh;
        const int firstRow = low / s.Columns3270;
        const int lastRow = high / s.Columns3270;
        if (firstRow == lastRow)
            InvalidateCells(window, firstRow, lastRow, low % s.Columns3270, high % s.Columns3270);
        else
            InvalidateCells(window, firstRow, lastRow, 0, s.Columns3270 - 1);
    }
    ViewHooks3270.showCaret(window);
    Empty3270Dirty();
}

void Move3270Cursor(ViewWindow window, int row, int column)
{
    Tn3270Globals& s = Tn3270State;
    if (row < 0 || column < 0 || row >= s.Rows3270 || column >= s.Columns3270) return;
    if (!s.KeyboardUnlocked) {
        Show3270Status("Keyboard Locked", 1);
        return;
    }
    const int address = row * s.Columns3270 + column;
    if (address != s.CursorAddress && (Rec->MouseToProtected || Is3270InputPosition(address))) {
        InvalidateAddress(window, s.CursorAddress);
        s.CursorAddress = address;
        Rec->CursorRow = row;
        Rec->CursorCol = column;
    }
    const uint8_t attribute = AttributeAt(address);
    const uint8_t flags = Flags3270()[address];
    char text[128];
    int n = std::snprintf(text, sizeof text, "%d:%d(%d) Scr:%X/%X, Att:%X", column + 1, row + 1, address,
                          Chars3270()[address], EbcdicAt(address), attribute);
    auto add = [&](bool on, const char* what) {
        if (on && n >= 0 && n < static_cast<int>(sizeof text))
            n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "%s", what);
    };
    add((attribute & 0xE0) == 0xE0, "p");
    add((attribute & 0xD0) == 0xD0, "n");
    add((attribute & 0xC1) == 0xC1, "m");
    add((attribute & 0xCC) == 0xCC, "h");
    add((attribute & 0xCC) == 0xC8, "b");
    if (n >= 0 && n < static_cast<int>(sizeof text))
        n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", Fnt:%X", flags);
    add(flags & kCellBlink, "b");
    add(flags & kCellReverse, "r");
    add(flags & kCellUnderscore, "u");
    if (n >= 0 && n < static_cast<int>(sizeof text))
        std::snprintf(text + n, sizeof text - static_cast<size_t>(n), ", Col:%X", Colour3270()[address]);
    Show3270Status(text, 0);
}
