// The console byte loop: printer-controller pass-through, escape sequences, string collection,
// the ESC Q skip, and the display of characters (controls too, where the alternate font asks).
#include <cstring>

#include "engine/console/console_buffers.h"
#include "engine/console/console_interpreter.h"
#include "engine/printer_off_match.h"
#include "engine/receive_block.h"
#include "engine/screen_planes.h"
#include "engine/string_command.h"
#include "engine/vt/direct_sequence.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_interpreter.h"
#include "engine/vt/vt_sequences.h"

ConsoleBuffers ConsoleBuffer;

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kCan = 0x18;
constexpr uint8_t kSub = 0x1A;

const uint8_t kOff[] = {kEsc, '[', '4', 'i'};
const uint8_t kOffConsole[] = {kEsc, '[', '=', '4', 'i'};
const PrinterOffString kPrinterOff[] = {{kOff, 4}, {kOffConsole, 5}};

void PrintByte(uint8_t b) { VtHooks.printData(b); }

// A byte that ends a sequence begun with ESC [ or ESC P. The grave accent ends one too: the
// console's column-position sequence (CSI p `) has it as its final byte.
bool EndsSequence(uint8_t b) { return (b >= 0x40 && b <= 0x5A) || (b >= 0x60 && b <= 0x7E) || b == '#'; }

void PrinterControllerByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    const PrinterOffStep step =
        MatchPrinterOff(kPrinterOff, 2, ConsoleBuffer.printerMatch, rec.PrinterOffMatch7, b, PrintByte);
    if (step == PrinterOffStep::Complete) {
        const int params[1] = {4};
        CsiDispatch(window, rec, 'i', 1, params, dirty, 1);
    } else if (step == PrinterOffStep::Print) {
        VtHooks.printData(b);
    }
}

void DispatchSequence(ViewWindow window, SettingsRecord& rec, uint8_t finalByte, DirtyRect& dirty)
{
    ConsoleBuffers& buffer = ConsoleBuffer;
    const int marker = ParseCsiParams(buffer.sequence, static_cast<std::size_t>(rec.SequenceLength), buffer.paramCount,
                                      buffer.params, finalByte);
    rec.SequenceLength = 0;
    const int count = buffer.paramCount;
    const int* params = buffer.params;
    switch (marker) {
    case 'P':
        rec.StringCommandNumber = kDcsStringNumber;
        rec.StringCommandLength = 0;
        buffer.dcsFinal = finalByte;
        break;
    case '?': DecPrivateDispatch(window, rec, finalByte, count, params, dirty, 0); break;
    case '=': CsiEqualsDispatch(window, rec, finalByte, count, params, dirty, 0); break;
    default: CsiDispatch(window, rec, finalByte, count, params, dirty, 0); break;
    }
}

void SequenceByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    // The buffer is checked before the byte is stored: a sequence that fills it without a final
    // byte is abandoned, and the byte with it.
    if (rec.SequenceLength < 0 || rec.SequenceLength >= kConsoleSequenceSize) {
        rec.SequenceLength = 0;
        return;
    }
    if (b == kCan || b == kSub) {
        rec.SequenceLength = 0;
        return;
    }
    if (b == kEsc) {
        ConsoleBuffer.sequence[0] = kEsc;
        rec.SequenceLength = 1;
        return;
    }
    ConsoleBuffer.sequence[rec.SequenceLength++] = b;
    if (rec.SequenceLength == 2) {
        if (b == '[' || b == 'P') return;
        rec.SequenceLength = 0;
        ExecuteEscape(window, rec, b, dirty, 0);
        return;
    }
    if (EndsSequence(b)) DispatchSequence(window, rec, b, dirty);
}

// ESC Q key delimiter text delimiter: consumed without effect.
void FunctionKeySkipByte(SettingsRecord& rec, uint8_t b)
{
    switch (rec.FunctionKeySkip) {
    case 1: rec.FunctionKeySkip = 2; break;
    case 2:
        rec.FunctionKeyDelimiter = b;
        rec.FunctionKeySkip = 3;
        break;
    default:
        if (b == rec.FunctionKeyDelimiter) rec.FunctionKeySkip = 0;
        break;
    }
}

void DisplayByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    WriteCellAtCursor(window, rec, b, dirty);
    AdvanceAfterCharacter(window, rec, dirty);
}

// A byte of the ground state (or any byte in raw mode).
void GroundByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty, bool raw, bool detect)
{
    if (rec.AlternateFont == 2 && b >= 0x20) b |= 0x80;
    // A firing detector only swallows the byte; the block goes on.
    if (detect && VtHooks.detectAutoTransfer(b) == 1) return;
    const bool shown = raw || b >= 0x20 || (rec.AlternateFont == 1 && b != kEsc && b != 0);
    if (shown)
        DisplayByte(window, rec, b, dirty);
    else
        ExecuteC0Control(window, rec, b, dirty, 0);
}

}  // namespace

void DisplayConsoleCharacter(ViewWindow window, SettingsRecord& rec, uint8_t code, DirtyRect& dirty)
{
    const int32_t charset = rec.Charset;
    rec.Charset = 4;
    DisplayByte(window, rec, rec.AlternateFont == 2 && code >= 0x20 ? static_cast<uint8_t>(code | 0x80) : code, dirty);
    rec.Charset = charset;
}

int AnsiReceive(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec, int raw)
{
    BlockStart block = BeginBlock(rec);
    DirtyRect& dirty = block.dirty;

    for (int i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (raw) {
            GroundByte(window, rec, b, dirty, true, block.detect);
            continue;
        }
        if (rec.PrinterControllerMode) {
            PrinterControllerByte(window, rec, b, dirty);
            if (rec.PrintToScreenNow != 1) continue;
        }
        if (rec.SequenceLength) {
            SequenceByte(window, rec, b, dirty);
            continue;
        }
        if (rec.StringCommandNumber) {
            if (CollectStringByte(window, rec, b, ConsoleBuffer.StringText(), dirty) == StringFlow::StopBlock) break;
            continue;
        }
        if (rec.FunctionKeySkip) {
            FunctionKeySkipByte(rec, b);
            continue;
        }
        if (b == kEsc) {
            if (!block.detect) {
                DirectSequenceTarget target{0, kConsoleSequenceSize, ConsoleBuffer.params, ConsoleBuffer.paramCount, true};
                const int last = DirectControlSequence(window, rec, data, i, length, dirty, target);
                if (last >= 0) {
                    i = last;
                    continue;
                }
            }
            ConsoleBuffer.sequence[0] = kEsc;
            rec.SequenceLength = 1;
            continue;
        }
        if (b >= 0x20 && b < 0x7F && rec.AlternateFont == 0 && !block.detect && !rec.PrinterControllerMode) {
            // A run of plain printable bytes: nothing in it changes the parser state.
            const int run = PlainRunLength(data, i, length);
            WriteCharacterRun(window, rec, data + i, run, dirty);
            i += run - 1;
            continue;
        }
        GroundByte(window, rec, b, dirty, false, block.detect);
    }

    EndBlock(window, rec, block, CursorRepaint::Cell);
    return 2;
}
