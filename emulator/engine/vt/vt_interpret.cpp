// The VT byte loop: status-line capture, printer-controller pass-through, escape sequences,
// string collection, the pending intermediate, 8-bit bytes, C0 controls and printable bytes, and
// the repaint report at the end of each block.
#include <cstring>

#include "engine/receive_block.h"
#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/string_command.h"
#include "engine/view_port.h"
#include "engine/vt/direct_sequence.h"
#include "engine/vt/vt_buffers.h"
#include "engine/vt/vt_hooks.h"
#include "engine/vt/vt_interpreter.h"
#include "engine/vt/vt_sequences.h"

VtBuffers VtBuffer;

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kCan = 0x18;
constexpr uint8_t kSub = 0x1A;
constexpr uint8_t kCsi8 = 0x9B;

struct FixedString {
    const uint8_t* bytes;
    int length;
};

const uint8_t kOff7[] = {kEsc, '[', '4', 'i'};
const uint8_t kOff7Console[] = {kEsc, '[', '=', '4', 'i'};
const uint8_t kOff8[] = {kCsi8, '4', 'i'};
const uint8_t kOff8Console[] = {kCsi8, '=', '4', 'i'};
const FixedString kPrinterOff[] = {{kOff7, 4}, {kOff7Console, 5}, {kOff8, 3}, {kOff8Console, 4}};

const uint8_t kStatusEnd7[] = {kEsc, '[', '0', '$', '}'};
const uint8_t kStatusEnd8[] = {kCsi8, '0', '$', '}'};

// A byte that ends an escape sequence after its second byte.
bool EndsSequence(uint8_t b) { return (b >= 0x40 && b <= 0x5A) || (b >= 0x61 && b <= 0x7E) || b == '#'; }

bool IsIntermediate(uint8_t b) { return b == ' ' || b == '#' || b == '(' || b == ')' || b == '*' || b == '+'; }

// ---- Status-line capture. SequenceLength counts the matched bytes of an end string: k for the
// 7-bit form, kEightBitMatch + k for the 8-bit one.

constexpr int kEightBitMatch = 100;

void CaptureStatusByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if (b == 0) return;
    int pos = ClampInt(rec.StatusLineCapture, 1, kSequenceBufferSize);
    // A text longer than the buffer keeps its start; only the end string is still looked for.
    if (pos < kSequenceBufferSize) VtBuffer.sequence[pos++] = b;
    rec.StatusLineCapture = pos;

    auto step = [&](int matched) -> int {
        const bool eight = matched >= kEightBitMatch;
        const int k = eight ? matched - kEightBitMatch : matched;
        if (!eight && k < 5 && b == kStatusEnd7[k]) return k + 1;
        if ((eight || k == 0) && k < 4 && b == kStatusEnd8[k]) return kEightBitMatch + k + 1;
        return 0;
    };
    int next = step(rec.SequenceLength);
    if (next == 0 && rec.SequenceLength != 0) next = step(0);  // the breaking byte may start a new match
    rec.SequenceLength = next;
    if (next != 5 && next != kEightBitMatch + 4) return;

    const int length = next == 5 ? 5 : 4;
    const int end = pos - length > 1 ? pos - length : 1;
    VtBuffer.sequence[end] = 0;
    rec.SequenceLength = 0;
    rec.StatusLineCapture = 0;
    char* text = reinterpret_cast<char*>(VtBuffer.sequence + 1);
    StripSequences(text);
    ShowStatusText(window, rec, dirty, text);
}

// ---- Printer-controller mode. The held bytes of a partial printer-off match are in
// VtBuffer.printerMatch; PrinterOffMatch7 or PrinterOffMatch8 counts them.

void EndPrinterController(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const int params[1] = {4};
    CsiDispatch(window, rec, 'i', 1, params, dirty, 1);
}

// Tries the byte against the printer-off strings; true when it was held or completed a match.
bool MatchPrinterOff(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    const int held = rec.PrinterOffMatch7 ? rec.PrinterOffMatch7 : rec.PrinterOffMatch8;
    for (const FixedString& form : kPrinterOff) {
        if (held >= form.length || form.bytes[held] != b) continue;
        if (std::memcmp(form.bytes, VtBuffer.printerMatch, static_cast<std::size_t>(held)) != 0) continue;
        const bool eightBit = form.bytes[0] == kCsi8;
        if (held + 1 == form.length) {
            rec.PrinterOffMatch7 = rec.PrinterOffMatch8 = 0;
            EndPrinterController(window, rec, dirty);
        } else {
            VtBuffer.printerMatch[held] = b;
            (eightBit ? rec.PrinterOffMatch8 : rec.PrinterOffMatch7) = held + 1;
        }
        return true;
    }
    return false;
}

void PrinterControllerByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if (MatchPrinterOff(window, rec, b, dirty)) return;
    const int held = rec.PrinterOffMatch7 ? rec.PrinterOffMatch7 : rec.PrinterOffMatch8;
    if (held > 0) {
        for (int i = 0; i < held && i < static_cast<int>(sizeof VtBuffer.printerMatch); ++i)
            VtHooks.printData(VtBuffer.printerMatch[i]);
        rec.PrinterOffMatch7 = rec.PrinterOffMatch8 = 0;
        // The byte that broke the match may begin the next one.
        if (MatchPrinterOff(window, rec, b, dirty)) return;
    }
    VtHooks.printData(b);
}

// ---- Escape sequences and strings.


void DispatchSequence(ViewWindow window, SettingsRecord& rec, uint8_t finalByte, DirtyRect& dirty)
{
    const int marker = ParseCsiParams(VtBuffer.sequence, static_cast<std::size_t>(rec.SequenceLength),
                                      VtBuffer.paramCount, VtBuffer.params, finalByte);
    rec.SequenceLength = 0;
    const int count = VtBuffer.paramCount;
    const int* params = VtBuffer.params;
    switch (marker) {
    case 'P':
        rec.StringCommandNumber = 80;
        rec.StringCommandLength = 0;
        VtBuffer.dcsFinal = finalByte;
        break;
    case '?': DecPrivateDispatch(window, rec, finalByte, count, params, dirty, 1); break;
    case '=': CsiEqualsDispatch(window, rec, finalByte, count, params, dirty, 1); break;
    case '"': SetCharacterProtection(window, rec, finalByte, count, params, dirty, 1); break;
    default: CsiDispatch(window, rec, finalByte, count, params, dirty, 1); break;
    }
}

void SequenceByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    if (rec.SequenceLength < 0 || rec.SequenceLength >= kSequenceBufferSize) {  // no final byte in sight: abandon it
        rec.SequenceLength = 0;
        return;
    }
    VtBuffer.sequence[rec.SequenceLength++] = b;
    if (b == kCan || b == kSub) {
        rec.SequenceLength = 0;
        return;
    }
    if (b == kEsc) {
        VtBuffer.sequence[0] = kEsc;
        rec.SequenceLength = 1;
        return;
    }
    if (rec.SequenceLength == 2) {
        if (b == '[' || b == 'P') return;
        rec.SequenceLength = 0;
        if (IsIntermediate(b))
            rec.PendingIntermediate = b;
        else
            ExecuteEscape(window, rec, b, dirty, 1);
        return;
    }
    if (EndsSequence(b)) DispatchSequence(window, rec, b, dirty);
}

// Inside CSI or DCS: stores the run of bytes from data[i] that neither ends nor breaks the
// sequence in one go (as SequenceByte would, byte by byte) and returns the index of the first byte
// left for SequenceByte. The buffer's limit stays SequenceByte's to enforce.
int CollectParameters(SettingsRecord& rec, const uint8_t* data, int i, int length)
{
    int end = i;
    const int room = kSequenceBufferSize - rec.SequenceLength;
    while (end < length && end - i < room) {
        const uint8_t b = data[end];
        if (EndsSequence(b) || b == kEsc || b == kCan || b == kSub) break;
        ++end;
    }
    if (end == length) --end;  // the last byte of the block goes through SequenceByte
    if (end > i) {
        std::memcpy(VtBuffer.sequence + rec.SequenceLength, data + i, static_cast<std::size_t>(end - i));
        rec.SequenceLength += end - i;
    }
    return end;
}

void DesignationByte(ViewWindow window, SettingsRecord& rec, uint8_t b, DirtyRect& dirty)
{
    const uint8_t intermediate = rec.PendingIntermediate;
    rec.PendingIntermediate = 0;
    switch (intermediate) {
    case ' ':
        if (b == 'G') rec.ControlChar = 2;
        else if (b == 'F') rec.ControlChar = 1;
        break;
    case '#': ExecuteLineAttribute(window, rec, b, dirty); break;
    case '(': rec.CharsetDesignation[kCsG0] = b; break;
    case ')': rec.CharsetDesignation[kCsG1] = b; break;
    case '*': rec.CharsetDesignation[kCsG2] = b; break;
    case '+': rec.CharsetDesignation[kCsG3] = b; break;
    default: break;
    }
}

// The bytes of a block, or the bytes an 8-bit control stands for: 1 when the rest of the block is
// to be dropped (a transfer started), else 2. The caller reports the repaint.
int InterpretBytes(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec, DirtyRect& dirty)
{
    const bool detect = AutoDetectOn(rec);

    for (int i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (detect && VtHooks.detectAutoTransfer(b) == 1) return 1;

        if (rec.StatusLineCapture) {
            CaptureStatusByte(window, rec, b, dirty);
            continue;
        }
        if (rec.PrinterControllerMode) {
            PrinterControllerByte(window, rec, b, dirty);
            if (rec.PrintToScreenNow != 1) continue;
        }
        if (rec.SequenceLength) {
            if (rec.SequenceLength >= 2 && !detect) i = CollectParameters(rec, data, i, length);
            SequenceByte(window, rec, data[i], dirty);
            continue;
        }
        if (rec.StringCommandNumber) {
            const StringCommandBuffer text{VtBuffer.sequence, kSequenceBufferSize, VtBuffer.params, VtBuffer.paramCount,
                                           VtBuffer.dcsFinal};
            if (CollectStringByte(window, rec, b, text, dirty) == StringFlow::StopBlock) break;
            continue;
        }
        if (b == kEsc) {
            if (!detect) {
                DirectSequenceTarget target{1, kSequenceBufferSize, VtBuffer.params, VtBuffer.paramCount, false};
                const int last = DirectControlSequence(window, rec, data, i, length, dirty, target);
                if (last >= 0) {
                    i = last;
                    continue;
                }
            }
            VtBuffer.sequence[0] = kEsc;
            rec.SequenceLength = 1;
            continue;
        }
        if (rec.PendingIntermediate) {
            DesignationByte(window, rec, b, dirty);
            continue;
        }
        if (b >= 0x80) {
            if (rec.Charset == 1 && rec.ControlChar == 1 && rec.Terminal == 1) {
                const uint8_t seven = static_cast<uint8_t>(b & 0x7F);
                if (InterpretBytes(window, &seven, 1, rec, dirty) == 1) return 1;
                continue;
            }
            if (b <= 0x9F && rec.Charset != 4) {
                const uint8_t pair[2] = {kEsc, static_cast<uint8_t>(b - 0x40)};
                if (InterpretBytes(window, pair, 2, rec, dirty) == 1) return 1;
                continue;
            }
        } else if (b < 0x20) {
            ExecuteC0Control(window, rec, b, dirty, 1);
            continue;
        } else if (b < 0x7F && !detect && !rec.PrinterControllerMode) {
            // A run of plain printable bytes: nothing in it can change the parser state. (Printer-
            // controller mode sees every byte itself.)
            int end = i + 1;
            while (end < length && data[end] >= 0x20 && data[end] < 0x7F) ++end;
            WriteVtRun(window, rec, data + i, end - i, dirty);
            i = end - 1;
            continue;
        }
        WriteVtCharacter(window, rec, b, dirty);
    }
    return 2;
}

}  // namespace

int VtInterpret(ViewWindow window, const uint8_t* data, int length, SettingsRecord& rec)
{
    const int oldCol = rec.CursorCol;
    const int oldRow = rec.CursorRow;
    DirtyRect dirty = kEmptyDirtyRect;
    if (InterpretBytes(window, data, length, rec, dirty) == 1) return 1;
    // One repaint report per received block, also when its 8-bit controls were fed again as
    // their 7-bit forms.
    ReportBlockRepaint(window, rec, dirty, oldCol, oldRow, CursorRepaint::Cell);
    return 2;
}
