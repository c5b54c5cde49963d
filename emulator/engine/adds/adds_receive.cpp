// The ADDS byte loop: transfer detection, transparent printing, address bytes, ESC sequences,
// string commands and printable characters.
#include "engine/adds/adds_buffers.h"
#include "engine/adds/adds_interpreter.h"
#include "engine/printer_off_match.h"
#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/string_command.h"
#include "engine/vt/vt_hooks.h"

AddsBuffers AddsBuffer;

namespace {

constexpr uint8_t kEsc = 0x1B;

const uint8_t kOffShort[] = {kEsc, '4'};
const uint8_t kOffLong[] = {kEsc, '[', '4', 'i'};
const PrinterOffString kPrinterOff[] = {{kOffShort, 2}, {kOffLong, 4}};

void PrintByte(uint8_t b) { VtHooks.printData(b); }

void PrinterControllerByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    switch (MatchPrinterOff(kPrinterOff, 2, AddsBuffer.printerMatch, rec.PrinterOffMatch7, b, PrintByte)) {
    case PrinterOffStep::Complete: StopHostPrint(window, rec, dirty); break;
    case PrinterOffStep::Print: VtHooks.printData(b); break;
    case PrinterOffStep::Held: break;
    }
}

}  // namespace

void AddsAddressByte(ViewWindow window, SettingsRecord& rec, uint8_t byte, DirtyRect& dirty)
{
    (void)window;
    (void)dirty;
    if (rec.SequenceLength == kAddsColumnAddress) {
        // Two binary-coded decimal digits; a nibble above 9 still counts by its value.
        const int column = (byte >> 4) * 10 + (byte & 0x0F);
        rec.CursorCol = ClampInt(column, 0, LastColumn(rec));
    } else {
        rec.CursorRow = ClampInt(byte & 0x1F, 0, LastRow(rec));
    }
    rec.SequenceLength = 0;
}

int AddsReceive(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec)
{
    BlockStart block = BeginBlock(rec);
    DirtyRect& dirty = block.dirty;

    for (int i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (const int fired = DetectedTransfer(block.detect, b)) return fired;
        if (rec.PrinterControllerMode) {
            PrinterControllerByte(window, rec, b, dirty);
            if (rec.PrintToScreenNow != 1) continue;
        }
        if (rec.SequenceLength < 0) {
            AddsAddressByte(window, rec, b, dirty);
            continue;
        }
        if (rec.SequenceLength > 0) {
            AddsEscape(window, rec, b, dirty);
            continue;
        }
        if (rec.StringCommandNumber) {
            if (CollectStringByte(window, rec, b, AddsBuffer.StringText(), dirty) == StringFlow::StopBlock) break;
            continue;
        }
        if (b == kEsc) {
            AddsBuffer.sequence[0] = kEsc;
            rec.SequenceLength = 1;
            continue;
        }
        if (b >= 0x20 && b < 0x7F && !rec.InsertMode && !block.detect && !rec.PrinterControllerMode) {
            // A run of plain printable bytes: nothing in it changes the parser state.
            const int run = PlainRunLength(data, i, length);
            WriteCharacterRun(window, rec, data + i, run, dirty);
            i += run - 1;
            continue;
        }
        if (b >= 0x20) {
            WriteInsertedCharacter(window, rec, b, dirty);
            continue;
        }
        AddsControl(window, rec, b, dirty);
    }

    EndBlock(window, rec, block, CursorRepaint::CornerDot);
    return 2;
}
