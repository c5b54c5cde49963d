// The ADDS ESC sequences. The bytes after ESC are collected in the interpreter's buffer (the ESC
// at position 0); the byte after ESC picks the action, and the sequence ends after it unless the
// action waits for more bytes.
#include "engine/adds/adds_buffers.h"
#include "engine/adds/adds_interpreter.h"
#include "engine/charsets.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"

namespace {

void EraseToEndOfLine(SettingsRecord& rec, DirtyRect& dirty)
{
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    if (col == LastColumn(rec)) return;
    const int row = ClampInt(rec.CursorRow, 0, LastRow(rec));
    FillScreenCells(rec, rec.MaxCols - col, row * rec.MaxCols + col, ' ', 0);
    DirtyRestOfRow(rec, dirty, row, col);
}

void Rendition(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    ResetRendition(window, rec, dirty);
    AddAttributeCode(window, rec, dirty, code);
}

// ESC [ digits and semicolons, then a final: y and i are executed, others ignored.
bool ControlSequenceByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if ((b >= '0' && b <= '9') || b == ';') return false;
    if (b == 'y' || b == 'i') {
        AddsBuffers& buffer = AddsBuffer;
        ParseCsiParams(buffer.sequence, static_cast<std::size_t>(rec.SequenceLength), buffer.paramCount, buffer.params,
                       b);
        rec.SequenceLength = 0;
        CsiDispatch(window, rec, b, buffer.paramCount, buffer.params, dirty, 0);
    }
    return true;
}

}  // namespace

void AddsEscape(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    uint8_t* const sequence = AddsBuffer.sequence;
    if (rec.SequenceLength < 1 || rec.SequenceLength >= kAddsSequenceSize) {  // never past the buffer
        rec.SequenceLength = 0;
        return;
    }
    sequence[rec.SequenceLength++] = byte;
    const int length = rec.SequenceLength;
    bool done = true;
    switch (sequence[1]) {
    case '0': done = length >= 3; break;
    case '3': StartHostPrint(window, rec, dirty, 1); break;
    case '4': StopHostPrint(window, rec, dirty); break;
    case ';': ClearScreenAndHome(window, rec, dirty); break;
    case 'E': DeleteChar(window, rec, dirty); break;
    case 'G':
        done = length >= 3;
        if (done) Rendition(window, rec, dirty, byte);
        break;
    case 'H':
        done = length >= 3;
        if (byte == 0x02 && done) rec.CharsetDesignation[kCsG0] = 'A';
        if (byte == 0x03 && done) rec.CharsetDesignation[kCsG0] = 'B';
        break;
    case 'K': EraseToEndOfLine(rec, dirty); break;
    case 'M': InsertLine(window, rec, dirty); break;
    case 'O': TabBackward(window, rec, dirty); break;
    case 'Y':
        done = length >= 4;
        if (done && sequence[2] >= 0x20 && sequence[3] >= 0x20) {
            rec.CursorRow = ClampInt(sequence[2] - 0x20, 0, LastRow(rec));
            rec.CursorCol = ClampInt(sequence[3] - 0x20, 0, LastColumn(rec));
        }
        break;
    case '[':
        done = length >= 3 && ControlSequenceByte(window, rec, byte, dirty);
        break;
    case '`':
        done = length >= 3;
        if (done) CursorDisplayCode(window, rec, dirty, byte, false);
        break;
    case 'k': EraseToEndOfScreen(window, rec, dirty); break;
    case 'l': DeleteLine(window, rec, dirty); break;
    case 'p': RequestPrintScreen(window, rec, dirty); break;
    default: break;
    }
    // A sequence that fills the buffer without ending is abandoned.
    if (done || rec.SequenceLength >= kAddsSequenceSize) rec.SequenceLength = 0;
}
