#include "engine/ibm3270/outbound_stream.h"

#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/inbound_records.h"
#include "engine/ibm3270/orders.h"
#include "engine/ibm3270/outside_hooks.h"
#include "session/messages.h"
#include "engine/ibm3270/query_reply.h"
#include "engine/ibm3270/status_view.h"

namespace {

constexpr uint8_t kWccResetModified = 0x01;
constexpr uint8_t kWccRestoreKeyboard = 0x02;
constexpr uint8_t kWccAlarm = 0x04;

constexpr const char* kInvalidAddressFormat = "tn3270:  %s%d.\n\t%s%d%s%d%s\n";

// Operands of an order run past the end of the piece.
constexpr int kCutOff = -1;

bool IsReadCommand(uint8_t code)
{
    return code == 0x02 || code == 0xF2 || code == 0x06 || code == 0xF6 || code == 0x6E;
}

void ClearAllModifiedTags()
{
    uint8_t* prot = Attributes3270();
    for (int a = 0; a < Tn3270State.BufferSize; ++a)
        if (prot[a] >= kFaMarker) prot[a] &= static_cast<uint8_t>(~kFaModified);
}

void UnlockFromHost()
{
    Tn3270State.KeyboardUnlocked = 1;
    Set3270KeyboardIndicator(0);
    Tn3270State.StatusFlags &= static_cast<uint8_t>(~kStatusInhibited);
}

void ReportBadAddress(const char* order, int address)
{
    ShowHostMessage(0, 0, kInvalidAddressFormat, order, address, "(Screen currently set to ", Tn3270State.Rows3270,
                    " by ", Tn3270State.Columns3270, ".)");
}

void ReadCommand(uint8_t code)
{
    if (code == 0x02 || code == 0xF2) {
        Tn3270State.StatusFlags |= kStatusReceiving;
        Send3270ReadBuffer();
    } else if (code == 0x06 || code == 0xF6 || code == 0x6E) {
        Tn3270State.StatusFlags |= kStatusReceiving;
        Build3270Inbound(code);
    } else {
        ShowHostMessage(0, 0, "Unexpected read command code 0x%x received.\n", code);
    }
}

void EraseWrite(int rows, int columns)
{
    Tn3270Globals& s = Tn3270State;
    if (rows * columns > kScreenCells || rows < 1 || columns < 1) {
        rows = 24;
        columns = 80;
    }
    if (rows != s.Rows3270 || columns != s.Columns3270) {
        Clear3270BufferQuiet();
        Set3270Geometry(rows, columns);
    }
    Clear3270Buffer();
}

void EraseAllUnprotected()
{
    Tn3270Globals& s = Tn3270State;
    s.CursorAddress = s.BufferSize;
    // An unformatted screen is one unprotected field: all of it is erased.
    ForEach3270DataCell([&](int a, int attribute) {
        if (attribute < 0xE0) {
            Store3270Char(a, 0);
            if (a < s.CursorAddress) s.CursorAddress = a;
        }
    });
    ClearAllModifiedTags();
    if (s.CursorAddress >= s.BufferSize) s.CursorAddress = 0;
    UnlockFromHost();
    s.PendingAid = 0;
}

// Program Tab: nulls to the end of the field after data, then on to the next unprotected field
// without wrapping.
void ProgramTab(bool afterData)
{
    Tn3270Globals& s = Tn3270State;
    const int last = s.BufferSize - 1;
    const uint8_t* prot = Attributes3270();
    if (s.BufferAddress == last) return;
    if (afterData)
        for (int a = s.BufferAddress; a <= last && prot[a] < kFaMarker; ++a) Store3270Char(a, 0);
    for (int a = s.BufferAddress + 1; a <= last; ++a) {
        if (prot[a] < kFaMarker) continue;
        if (!(prot[a] & kFaProtected) && a < last && prot[a + 1] < kFaMarker) {
            s.BufferAddress = a + 1;
            return;
        }
    }
    s.BufferAddress = last;
}

void EraseUnprotectedTo(int stop)
{
    Tn3270Globals& s = Tn3270State;
    uint8_t attribute, colour, highlight;
    // An unformatted screen counts as one unprotected field.
    Get3270FieldAttribute(s.BufferAddress, attribute, colour, highlight);
    int current = Is3270Formatted() ? attribute : 0;
    int a = s.BufferAddress;
    do {
        const uint8_t here = Attributes3270()[a];
        if (here >= kFaMarker)
            current = here;
        else if (current < 0xE0)
            Store3270Char(a, 0);
        a = Wrap3270(a + 1);
    } while (a != stop);
    s.BufferAddress = stop;
}

void RepeatTo(int stop, uint8_t ebcdic)
{
    int a = Tn3270State.BufferAddress;
    do {
        Store3270Char(a, ebcdic);
        a = Wrap3270(a + 1);
    } while (a != stop);
    Tn3270State.BufferAddress = stop;
}

// The sequence after 0x2B 0x5B; returns the bytes it takes, 0 to wait for more.
int FormatSequence(const uint8_t* p, int n, int endOfRecord)
{
    Tn3270Globals& s = Tn3270State;
    if (n <= 0) return 0;
    if (p[0] != 0xE3) {  // EBCDIC 'T'
        static const uint8_t kModeLetters[16] = {0x83, 0x85, 0x95, 0x97, 0xA5, 0xA6, 0xA9, 0xC3,
                                                 0xC5, 0xD5, 0xD7, 0xE5, 0xE6, 0xE9, 0x61, 0xA0};
        for (int i = 0; i < 16; ++i)
            if (p[0] == kModeLetters[i]) s.FormatModes ^= 1u << i;
        return 1;
    }
    if (!endOfRecord && n - 1 < 30) return 0;
    int i = 1;
    auto clampTo = [](int value, int limit) { return value < 0 ? 0 : (value >= limit ? limit - 1 : value); };
    if (i < n) s.HomeRow = clampTo(p[i++] - 0x40, s.Rows3270);
    if (i < n) s.LeftMargin = clampTo(p[i++] - 0x40, s.Columns3270);
    s.FormatTabCount = 0;
    while (i < n && s.FormatTabCount < 28 && p[i] >= 0x40 && p[i] <= 0x8F)
        s.FormatTabs[s.FormatTabCount++] = static_cast<uint8_t>(p[i++] - 0x40);
    return i;
}

// Carries out the order at data[pos]; returns its length or kCutOff.
int RunOrder(const uint8_t* data, int pos, int length, int endOfRecord, bool& lastData)
{
    Tn3270Globals& s = Tn3270State;
    const int left = length - pos;
    const uint8_t order = data[pos];
    const bool afterData = lastData;
    lastData = false;
    switch (order) {
    case kOrderPT:
        ProgramTab(afterData);
        return 1;
    case kOrderGE:
        if (left < 2) return kCutOff;
        Write3270Char(s.BufferAddress, data[pos + 1]);
        Widen3270Dirty(s.BufferAddress);
        s.BufferAddress = Wrap3270(s.BufferAddress + 1);
        lastData = true;
        return 2;
    case kOrderSBA: {
        if (left < 3) return kCutOff;
        const uint8_t high = data[pos + 1];
        const uint8_t low = data[pos + 2];
        if (high == 0 && (low == 0 || low == 1 || low == 5)) {
            // The rest of this record belongs to an extension that is not carried out.
            s.HookedRecord = s.RecordCounter;
            return left;
        }
        const int address = Decode3270Address(high, low);
        if (address >= s.BufferSize) {
            ReportBadAddress("Invalid 3270 order 'Set Buffer Address' to address ", address);
            return 1;
        }
        s.BufferAddress = address;
        return 3;
    }
    case kOrderEUA: {
        if (left < 3) return kCutOff;
        const int address = Decode3270Address(data[pos + 1], data[pos + 2]);
        if (address >= s.BufferSize) {
            ReportBadAddress("Invalid 3270 order 'Erase Unprotected to Address' to address ", address);
            return 1;
        }
        EraseUnprotectedTo(address);
        return 3;
    }
    case kOrderIC:
        s.CursorAddress = s.BufferAddress;
        UnlockFromHost();
        s.PendingAid = 0;
        return 1;
    case kOrderSF: {
        if (left < 2) return kCutOff;
        const uint8_t attribute = static_cast<uint8_t>(data[pos + 1] | kFaMarker);
        if (Attributes3270()[s.BufferAddress] != attribute) {
            // The fields after the cell may look different now.
            Mark3270AllDirty();
            WriteFieldAttributeCell(s.BufferAddress, attribute);
        }
        s.BufferAddress = Wrap3270(s.BufferAddress + 1);
        return 2;
    }
    case kOrderSFE:
    case kOrderMF: {
        if (left < 2) return kCutOff;
        const int pairs = data[pos + 1];
        if (left < 2 + 2 * pairs) return kCutOff;
        if (order == kOrderSFE) {
            Mark3270AllDirty();
            WriteFieldAttributeCell(s.BufferAddress, 0);
        }
        if (order == kOrderSFE || Is3270FieldAttribute(s.BufferAddress)) {
            // Colour and highlight of an attribute cell show on its whole field.
            Mark3270AllDirty();
            for (int k = 0; k < pairs; ++k)
                ApplyExtendedAttribute(s.BufferAddress, data[pos + 2 + 2 * k], data[pos + 3 + 2 * k]);
        }
        s.BufferAddress = Wrap3270(s.BufferAddress + 1);
        return 2 + 2 * pairs;
    }
    case kOrderRA: {
        if (left < 4) return kCutOff;
        int size = 4;
        uint8_t ebcdic = data[pos + 3];
        if (ebcdic == kOrderGE) {
            if (left < 5) return kCutOff;
            ebcdic = data[pos + 4];
            size = 5;
        }
        const int address = Decode3270Address(data[pos + 1], data[pos + 2]);
        if (address >= s.BufferSize) {
            ReportBadAddress("Invalid 3270 order 'Repeat to Address' to address ", address);
            return 1;
        }
        RepeatTo(address, ebcdic);
        return size;
    }
    case kOrderFormat: {
        if (left < 2) return kCutOff;
        if (data[pos + 1] != 0x5B) return 1;
        const int taken = FormatSequence(data + pos + 2, left - 2, endOfRecord);
        return taken == 0 ? kCutOff : 2 + taken;
    }
    default: {
        const OrderName name = Find3270Order(order);
        ShowHostMessage(0, 0, "Unsupported order '%s' (%s, 0x%x) received.\n", name.shortName, name.longName, order);
        return 1;
    }
    }
}

// Reads the command and WCC of a write record. Returns false when the record is done with.
bool StartWriteRecord(const uint8_t* data, int length)
{
    Tn3270Globals& s = Tn3270State;
    s.CommandCode = data[0];
    if (s.CommandCode == 0x11 || s.CommandCode == 0xF3) {
        // A structured field has no WCC: its second byte is part of a length.
        Send3270QueryReply();
        return false;
    }
    s.WriteControlChar = data[1];
    if (s.WriteControlChar & kWccResetModified) ClearAllModifiedTags();
    switch (s.CommandCode) {
    case 0x01:
    case 0xF1:
        s.StatusFlags = static_cast<uint8_t>((s.StatusFlags | kStatusReceiving) & ~kStatusInhibited);
        break;
    case 0x05:
    case 0xF5:
    case 0x0D:
    case 0x7E: {
        s.StatusFlags = static_cast<uint8_t>((s.StatusFlags | kStatusReceiving) & ~kStatusInhibited);
        const bool alternate = s.CommandCode == 0x0D || s.CommandCode == 0x7E;
        if (alternate && s.AltRows3270 > 0 && s.AltColumns3270 > 0)
            EraseWrite(s.AltRows3270, s.AltColumns3270);
        else
            EraseWrite(24, 80);
        break;
    }
    case 0x0F:
    case 0x6F:
        s.StatusFlags = static_cast<uint8_t>((s.StatusFlags | kStatusReceiving) & ~kStatusInhibited);
        EraseAllUnprotected();
        break;
    default:
        ShowHostMessage(0, 0, "Unexpected write command code 0x%x received.\n", s.CommandCode);
        break;
    }
    return true;
}

void EndRecord()
{
    Tn3270Globals& s = Tn3270State;
    const bool hooked = s.HookedRecord >= 0 && s.HookedRecord == s.RecordCounter;
    s.RecordCounter += 1;
    if (s.WriteControlChar & kWccRestoreKeyboard) {
        if (!hooked) s.PendingAid = 0;
        UnlockFromHost();
    }
    if (s.WriteControlChar & kWccAlarm) Beep3270();
    s.AtRecordStart = 1;
}

}  // namespace

int Process3270Stream(ViewWindow window, const uint8_t* data, int length, int endOfRecord)
{
    Tn3270Globals& s = Tn3270State;
    if (!data || length < 0) length = 0;
    if (!Planes3270Ready() || s.BufferSize <= 0 || s.BufferSize > kScreenCells) return length;
    if (s.BufferAddress < 0 || s.BufferAddress >= s.BufferSize) s.BufferAddress = 0;
    if (s.CursorAddress < 0 || s.CursorAddress >= s.BufferSize) s.CursorAddress = 0;
    Resume3270Inbound();
    Clear3270Status();
    s.RecordStartCursor = s.CursorAddress;

    int pos = 0;
    if (s.AtRecordStart) {
        if (length == 0) {
            ShowHostMessage(0, 0, "Short count received from host!\n");
            return 0;
        }
        if (length == 1) {
            if (!endOfRecord && !IsReadCommand(data[0])) return 0;  // a write command cut after its code
            ReadCommand(data[0]);
            return 1;
        }
        if (!StartWriteRecord(data, length)) return length;
        pos = 2;
    } else if (s.HookedRecord >= 0 && s.HookedRecord == s.RecordCounter) {
        pos = length;
    }
    s.AtRecordStart = 0;

    bool lastData = false;
    int consumed = length;
    while (pos < length) {
        const uint8_t byte = data[pos];
        if (!s.OrderTable[byte]) {
            Write3270Char(s.BufferAddress, byte);
            Widen3270Dirty(s.BufferAddress);
            s.BufferAddress = Wrap3270(s.BufferAddress + 1);
            lastData = true;
            ++pos;
            continue;
        }
        const int taken = RunOrder(data, pos, length, endOfRecord, lastData);
        if (taken == kCutOff) {
            if (!endOfRecord) consumed = pos;
            break;
        }
        pos += taken;
    }

    if (endOfRecord) EndRecord();
    if (Rec->BoxEnable32) Draw3270Boxes();
    Flush3270Repaint(window);
    Tn3270Hooks.hotScreenEvaluate();
    return consumed;
}
