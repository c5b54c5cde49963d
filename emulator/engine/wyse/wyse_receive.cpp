// The Wyse byte loop: transfer detection, transparent printing, ESC sequences, string commands,
// controls and printable characters.
#include "engine/printer_off_match.h"
#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/string_command.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_sequences.h"
#include "engine/wyse/wyse_buffers.h"
#include "engine/wyse/wyse_interpreter.h"

WyseBuffers WyseBuffer;
bool WysePrintAndDisplay = false;

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kDc4 = 0x14;

const uint8_t kOff[] = {kEsc, '[', '4', 'i'};
const PrinterOffString kPrinterOff[] = {{kOff, 4}};

void PrintByte(uint8_t b) { VtHooks.printData(b); }

void PrinterControllerByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if (b == kDc4) {
        WyseControl(window, rec, b, dirty);
        return;
    }
    switch (MatchPrinterOff(kPrinterOff, 1, WyseBuffer.printerMatch, rec.PrinterOffMatch7, b, PrintByte)) {
    case PrinterOffStep::Complete: {
        const int params[1] = {4};
        CsiDispatch(window, rec, 'i', 1, params, dirty, 0);
        WysePrintAndDisplay = false;
        break;
    }
    case PrinterOffStep::Print: VtHooks.printData(b); break;
    case PrinterOffStep::Held: break;
    }
}

}  // namespace

int WyseData(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec)
{
    BlockStart block = BeginBlock(rec);
    DirtyRect& dirty = block.dirty;

    for (int i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (const int fired = DetectedTransfer(block.detect, b)) return fired;
        if (rec.PrinterControllerMode) {
            PrinterControllerByte(window, rec, b, dirty);
            if (b == kDc4 || !(WysePrintAndDisplay || rec.PrintToScreenNow)) continue;
        }
        if (rec.SequenceLength) {
            WyseInterpret(window, rec, b, dirty);
            continue;
        }
        if (rec.StringCommandNumber) {
            if (CollectStringByte(window, rec, b, WyseBuffer.StringText(), dirty) == StringFlow::StopBlock) break;
            continue;
        }
        if (b == kEsc) {
            if (i + 3 < length && data[i + 1] == '=' && !block.detect && !rec.PrinterControllerMode) {
                WyseAddressCursor(rec, data[i + 2], data[i + 3]);  // whole in the block
                i += 3;
                continue;
            }
            WyseBuffer.sequence[0] = kEsc;
            rec.SequenceLength = 1;
            continue;
        }
        if (b < 0x20) {
            WyseControl(window, rec, b, dirty);
            continue;
        }
        if (!rec.InsertMode && b < 0x7F && !block.detect && !rec.PrinterControllerMode) {
            // A run of plain printable bytes: nothing in it changes the parser state.
            const int run = PlainRunLength(data, i, length);
            WriteCharacterRun(window, rec, data + i, run, dirty);
            i += run - 1;
            continue;
        }
        WriteInsertedCharacter(window, rec, b, dirty);
    }

    EndBlock(window, rec, block, CursorRepaint::Cell);
    return 2;
}
