// The Wyse ESC sequences. The buffer holds the sequence from its ESC (SequenceLength bytes); the
// byte after ESC picks the command, whose handler says whether the sequence is complete. Row and
// column bytes count from 0x20 (row or column 1).
#include <cstdlib>
#include <cstring>

#include "engine/charsets.h"
#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"
#include "engine/wyse/wyse_buffers.h"
#include "engine/wyse/wyse_interpreter.h"

namespace {

constexpr uint8_t kDel = 0x7F;
constexpr uint8_t kCr = 0x0D;
constexpr int kWyse50 = 12;
// ESC a rr R ccc C: the bytes after ESC a that may come before the C.
constexpr int kAddressLimit = 10;

bool Wyse50(const SettingsRecord& rec) { return rec.Terminal == kWyse50; }

void ClearAndHome(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t character)
{
    EraseScreenEx(window, rec, dirty, false, character);
    CursorHome(window, rec, dirty);
}

// ESC ! a (WYSE 50): the attribute on every cell (every unprotected one in write-protect mode),
// the current rendition unchanged.
void AttributeOnScreen(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    if (!rec.CharsScreen) return;
    const uint8_t curFg = rec.CurFg, curBg = rec.CurBg, cellFlags = rec.CellFlags;
    int32_t sgr[kSgrFlagCount];
    std::memcpy(sgr, rec.SgrFlags, sizeof sgr);
    ResetRendition(window, rec, dirty);
    AddAttributeCode(window, rec, dirty, code);
    const uint8_t fg = rec.CurFg, bg = rec.CurBg, flags = rec.CellFlags;
    rec.CurFg = curFg;
    rec.CurBg = curBg;
    rec.CellFlags = cellFlags;
    std::memcpy(rec.SgrFlags, sgr, sizeof sgr);
    const int cells = ScreenCellCount(rec);
    for (int i = 0; i < cells; ++i) {
        if (rec.ProtectMode && rec.ProtectionPlane[i] == 1) continue;
        rec.FgScreen[i] = fg;
        rec.BgScreen[i] = bg;
        rec.FlagsScreen[i] = static_cast<uint8_t>((rec.FlagsScreen[i] & kLineDrawingFlag) | flags);
    }
    DirtyScreen(rec, dirty);
}

// ESC G a: on WYSE 50 the attribute takes a cell (a blank in the reset rendition).
void SetAttribute(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    ResetRendition(window, rec, dirty);
    if (Wyse50(rec)) {
        WriteCellAtCursor(window, rec, ' ', dirty);
        AdvanceAfterCharacter(window, rec, dirty);
    }
    AddAttributeCode(window, rec, dirty, code);
}

// ESC H ch: one character of the Wyse graphics set.
void GraphicsCharacter(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t ch)
{
    uint8_t* const sets = rec.CharsetDesignation;
    const uint8_t g0 = sets[kCsG0], gl = sets[kCsGL];
    sets[kCsG0] = '3';
    sets[kCsGL] = 0;
    WriteCellAtCursor(window, rec, ch, dirty);
    sets[kCsG0] = g0;
    sets[kCsGL] = gl;
    AdvanceAfterCharacter(window, rec, dirty);
}

void ProtectionByte(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t value)
{
    if (rec.ProtectedReversed) {
        ResetRendition(window, rec, dirty);
        if (value) SetReverse(window, rec, dirty);
    }
    rec.ProtectAttribute = value;
}

// The collected text between `from` and the last byte (exclusive), NUL-terminated in place.
char* TextOf(int from, int length)
{
    WyseBuffer.sequence[length - 1] = 0;
    return reinterpret_cast<char*>(WyseBuffer.sequence + from);
}

// ESC a rr R ccc C: decimal, 1-based, blanks allowed before the numbers.
void DecimalAddress(SettingsRecord& rec, int length)
{
    const char* text = TextOf(2, length);
    char* end = nullptr;
    const long row = std::strtol(text, &end, 10);
    if (end == text || *end != 'R') return;
    const char* columnText = end + 1;
    const long column = std::strtol(columnText, &end, 10);
    if (end == columnText || *end != 0) return;
    rec.CursorRow = ClampInt(static_cast<int>(row > 1000 ? 1000 : row) - 1, 0, LastRow(rec));
    rec.CursorCol = ClampInt(static_cast<int>(column > 1000 ? 1000 : column) - 1, 0, LastColumn(rec));
}

// ESC [ digits and semicolons, then a final: y and i are executed, others ignored.
bool ControlSequence(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t b, int length)
{
    if (length <= 2 || (b >= '0' && b <= '9') || b == ';') return false;
    if (b == 'y' || b == 'i') {
        WyseBuffers& buffer = WyseBuffer;
        ParseCsiParams(buffer.sequence, static_cast<std::size_t>(length), buffer.paramCount, buffer.params, b);
        rec.SequenceLength = 0;
        CsiDispatch(window, rec, b, buffer.paramCount, buffer.params, dirty, 0);
    }
    return true;
}

// ESC c x ...: returns true when the sequence is complete.
bool ExtendedCommand(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int length)
{
    if (length < 3) return false;
    const uint8_t* s = WyseBuffer.sequence;
    switch (s[2]) {
    case '?': return length >= 4;
    case '@': return length >= 5;
    case 'A': return length >= 38;
    case 'B':
    case 'C':
        if (length < 4) return false;
        rec.CharsetDesignation[s[2] == 'B' ? kCsG0 : kCsG1] = (s[3] == '1' || s[3] == 'A') ? '0' : 'B';
        return true;
    case 'D': rec.CharsetDesignation[kCsGL] = 0; return true;
    case 'E': rec.CharsetDesignation[kCsGL] = 1; return true;
    case 'L':
    case 'O':
    case 'R':
    case 'S': EraseToEndOfLineEx(window, rec, dirty, true, ' '); return true;
    case 'P':
    case 'Q': EraseToEndOfScreenEx(window, rec, dirty, true, ' '); return true;
    case 'U': WyseDefaultKeys(rec); return true;
    default: return true;
    }
}

void ModeCommand(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    switch (code) {
    case '#':
        WysePrintAndDisplay = false;
        StartHostPrint(window, rec, dirty, 1);
        break;
    case '.': AutoWrapOff(window, rec, dirty); break;
    case '/':
    case '\\': AutoWrapOn(window, rec, dirty); break;
    default: break;
    }
}

void RowsCommand(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    if (code != '(' && code != ')') return;
    SetRowsAndClear(window, rec, dirty, code == '(' ? 24 : 25);
    VtHooks.frameRefit();
}

void PageCommand(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    if (code >= '0' && code <= '2')
        WyseSelectPage(window, rec, dirty, code - '0');
    else if (code == 'B')
        WysePreviousPage(window, rec, dirty);
    else if (code == 'C')
        WyseNextPage(window, rec, dirty);
    else if (code >= 'G' && code <= 'J')
        WyseResetPages(window, rec, dirty);
}

bool FunctionKeyCode(uint8_t key) { return (key >= 0x40 && key <= 0x4F) || (key >= 0x60 && key <= 0x6F); }

// ESC z x ...: a status text, an ignored label, or a function key's text up to DEL.
bool LabelCommand(SettingsRecord& rec, DirtyRect& dirty, ViewWindow window, uint8_t b, int length)
{
    if (length < 3) return false;
    const uint8_t key = WyseBuffer.sequence[2];
    if (key == '(' || key == ')') {
        if (length == 3 || b != kCr) return false;
        if (key == '(') ShowStatusText(window, rec, dirty, TextOf(3, length));
        return true;
    }
    if (!FunctionKeyCode(key)) return true;
    if (length == 3 || b != kDel) return false;
    WyseProgramKey(rec, key, WyseBuffer.sequence + 3, length - 4);
    return true;
}

// ESC Z n key text DEL.
bool ProgramKeyCommand(SettingsRecord& rec, uint8_t b, int length)
{
    const uint8_t* s = WyseBuffer.sequence;
    if (length < 3) return false;
    if (s[2] < '0' || s[2] > '3') return true;
    if (length < 4) return false;
    if (s[3] == '~') return true;
    if (length == 4 || b != kDel) return false;
    WyseProgramKey(rec, s[3], s + 4, length - 5);
    return true;
}

// Acts on the sequence so far; true when it is complete.
bool Command(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t b, int length)
{
    const uint8_t* s = WyseBuffer.sequence;
    switch (s[1]) {
    case '!':
        if (!Wyse50(rec)) return true;
        if (length < 3) return false;
        AttributeOnScreen(window, rec, dirty, b);
        return true;
    case '"': SetKeyboardLock(rec, 0); return true;
    case '#': SetKeyboardLock(rec, 1); return true;
    case '&': ProtectModeOn(window, rec, dirty); return true;
    case '\'': ProtectModeOff(window, rec, dirty); return true;
    case '(': ProtectionByte(window, rec, dirty, 0); return true;
    case ')': ProtectionByte(window, rec, dirty, 1); return true;
    case '*':
    case '+':
    case ',':
        ClearScreenAndHome(window, rec, dirty);
        rec.ProtectAttribute = 0;
        InsertModeOff(window, rec, dirty);
        return true;
    case '-':
        if (length < 5) return false;
        // Only pages 0-2 exist: another page byte makes the whole sequence do nothing.
        if (s[2] < '0' || s[2] > '2') return true;
        WyseSelectPage(window, rec, dirty, s[2] - '0');
        WyseAddressCursor(rec, s[3], s[4]);
        return true;
    case '.':
        if (length < 3) return false;
        ClearAndHome(window, rec, dirty, b);
        return true;
    case '0': ClearAllTabStops(window, rec, dirty); return true;
    case '1': SetTabStop(window, rec, dirty); return true;
    case '2': ClearTabStop(window, rec, dirty); return true;
    case ':':
    case ';': ClearAndHome(window, rec, dirty, ' '); return true;
    case '=':
        if (length < 4) return false;
        WyseAddressCursor(rec, s[2], s[3]);
        return true;
    case '@':
    case 'L':
    case 'P':
    case 'p': RequestPrintScreen(window, rec, dirty); return true;
    case 'A': return length >= 4;
    case 'E': InsertLine(window, rec, dirty); return true;
    case 'F':
    case 'f':
        if (length == 2 || b != kCr) return false;
        ShowStatusText(window, rec, dirty, TextOf(2, length));
        return true;
    case 'G':
        if (length < 3) return false;
        SetAttribute(window, rec, dirty, b);
        return true;
    case 'H':
        if (length < 3) return false;
        if (b == 0x02)
            rec.CharsetDesignation[kCsG0] = '3';
        else if (b == 0x03)
            rec.CharsetDesignation[kCsG0] = 'B';
        else if (b >= '0' && b <= '?')
            GraphicsCharacter(window, rec, dirty, b);
        return true;
    case 'I': TabBackward(window, rec, dirty); return true;
    case 'J': WysePreviousPage(window, rec, dirty); return true;
    case 'K': WyseNextPage(window, rec, dirty); return true;
    case 'Q': InsertBlank(window, rec, dirty); return true;
    case 'R': DeleteLine(window, rec, dirty); return true;
    case 'T':
    case 't': EraseToEndOfLineEx(window, rec, dirty, false, ' '); return true;
    case 'W': DeleteChar(window, rec, dirty); return true;
    case 'Y':
    case 'y': EraseToEndOfScreenEx(window, rec, dirty, false, ' '); return true;
    case 'Z': return ProgramKeyCommand(rec, b, length);
    case '[': return ControlSequence(window, rec, dirty, b, length);
    case '^':
    case '~': return length >= 3;
    case '`':
        if (length < 3) return false;
        CursorDisplayCode(window, rec, dirty, b, true);
        return true;
    case 'a':
        if (b == 'C') {
            DecimalAddress(rec, length);
            return true;
        }
        return length - 2 >= kAddressLimit + 1;
    case 'c': return ExtendedCommand(window, rec, dirty, length);
    case 'd':
        if (length < 3) return false;
        ModeCommand(window, rec, dirty, b);
        return true;
    case 'e':
        if (length < 3) return false;
        RowsCommand(window, rec, dirty, b);
        return true;
    case 'i': TabForward(window, rec, dirty); return true;
    case 'j': ReverseIndex(window, rec, dirty); return true;
    case 'q': InsertModeOn(window, rec, dirty); return true;
    case 'r': InsertModeOff(window, rec, dirty); return true;
    case 'w':
        if (length < 3) return false;
        PageCommand(window, rec, dirty, b);
        return true;
    case 'z': return LabelCommand(rec, dirty, window, b, length);
    case '{': CursorHome(window, rec, dirty); return true;
    default: return true;
    }
}

}  // namespace

void WyseAddressCursor(SettingsRecord& rec, uint8_t row, uint8_t column)
{
    if (row < 0x20 || column < 0x20) return;
    rec.CursorRow = ClampInt(row - 0x20, 0, LastRow(rec));
    rec.CursorCol = ClampInt(column - 0x20, 0, LastColumn(rec));
}

void WyseInterpret(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    if (rec.SequenceLength < 1 || rec.SequenceLength >= kWyseSequenceSize) {  // never past the buffer
        rec.SequenceLength = 0;
        return;
    }
    WyseBuffer.sequence[rec.SequenceLength++] = byte;
    const int length = rec.SequenceLength;
    if (length < 2) return;
    if (Command(window, rec, dirty, byte, length) || rec.SequenceLength >= kWyseSequenceSize) rec.SequenceLength = 0;
}
