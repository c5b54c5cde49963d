#include "engine/ibm3270/3270keyb.h"

#include <cstdio>
#include <cstring>

#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/inbound_records.h"
#include "engine/ibm3270/outside_hooks.h"
#include "engine/ibm3270/status_view.h"

const Key3270Mnemonic Key3270Mnemonics[kKey3270MnemonicCount] = {
    {"reset", 5, 0, kKeyReset},          {"tab", 3, 0, kKeyTab},
    {"t", 1, 0, kKeyTab},                {"up", 2, 0, kKeyUp},
    {"left", 4, 0, kKeyLeft},            {"right", 5, 0, kKeyRight},
    {"left2", 5, 0, kKeyDoubleLeft},     {"right2", 6, 0, kKeyDoubleRight},
    {"down", 4, 0, kKeyDown},            {"cursel", 6, 0, kKeyCursorSelect},
    {"del", 3, 0, kKeyDelete},           {"ins", 3, 0, kKeyInsert},
    {"home", 4, 0, kKeyHome},            {"h", 1, 0, kKeyHome},
    {"nl", 2, 0, kKeyNewLine},           {"einp", 4, 0, kKeyEraseInput},
    {"eeof", 4, 0, kKeyEraseEof},        {"e", 1, 0, kKeyEraseEof},
    {"fm", 2, 0, kKeyFieldMark},         {"dup", 3, 0, kKeyDup},
    {"btab", 4, 0, kKeyBacktab},         {"enter", 5, 0x7D, kKeyAttention},
    {"PF1", 3, 0xF1, kKeyAttention},     {"PF2", 3, 0xF2, kKeyAttention},
    {"PF3", 3, 0xF3, kKeyAttention},     {"PF4", 3, 0xF4, kKeyAttention},
    {"PF5", 3, 0xF5, kKeyAttention},     {"PF6", 3, 0xF6, kKeyAttention},
    {"PF7", 3, 0xF7, kKeyAttention},     {"PF8", 3, 0xF8, kKeyAttention},
    {"PF9", 3, 0xF9, kKeyAttention},     {"PF10", 4, 0x7A, kKeyAttention},
    {"PF11", 4, 0x7B, kKeyAttention},    {"PF12", 4, 0x7C, kKeyAttention},
    {"PF13", 4, 0xC1, kKeyAttention},    {"PF14", 4, 0xC2, kKeyAttention},
    {"PF15", 4, 0xC3, kKeyAttention},    {"PF16", 4, 0xC4, kKeyAttention},
    {"PF17", 4, 0xC5, kKeyAttention},    {"PF18", 4, 0xC6, kKeyAttention},
    {"PF19", 4, 0xC7, kKeyAttention},    {"PF20", 4, 0xC8, kKeyAttention},
    {"PF21", 4, 0xC9, kKeyAttention},    {"PF22", 4, 0x4A, kKeyAttention},
    {"PF23", 4, 0x4B, kKeyAttention},    {"PF24", 4, 0x4C, kKeyAttention},
    {"CLEAR", 5, 0x6D, kKeyAttention},   {"PA1", 3, 0x6C, kKeyAttention},
    {"PA2", 3, 0x6E, kKeyAttention},     {"PA3", 3, 0x6B, kKeyAttention},
    {"TEST", 4, 0xF0, kKeyAttention},    {"eunp", 4, 0, kKeyEraseUnprotected},
};

namespace {

Tn3270Globals& S() { return Tn3270State; }

void Refuse(const char* text) { Show3270Status(text, 1); }

bool IsAttribute(int address) { return Attributes3270()[address] >= kFaMarker; }

bool IsUnprotectedAttribute(int address) { return IsAttribute(address) && !(Attributes3270()[address] & kFaProtected); }

// The last cell of the field that holds address: the cell before the next attribute, or the last
// address of an unformatted screen.
int FieldEnd(int address)
{
    if (!Is3270Formatted()) return S().BufferSize - 1;
    return Wrap3270(Next3270Field(address) - 1);
}

// The first data cell of the next unprotected field after address whose attribute is followed by
// a data cell; 0 when every field was tried.
int TabFrom(int address)
{
    if (!Is3270Formatted()) return 0;
    const int first = Next3270Field(address);
    int field = first;
    do {
        const int data = Wrap3270(field + 1);
        if (IsUnprotectedAttribute(field) && !IsAttribute(data)) return data;
        field = Next3270Field(field);
    } while (field != first);
    return 0;
}

int BacktabFrom(int address)
{
    int a = Wrap3270(address - 1);
    for (int n = 0; n < S().BufferSize; ++n) {
        const int before = Wrap3270(a - 1);
        if (!IsAttribute(a) && IsUnprotectedAttribute(before)) return a;
        a = before;
    }
    return 0;
}

int HomePosition()
{
    const int home = S().HomeRow * S().Columns3270;
    if (!Is3270Formatted()) return home;
    if (IsUnprotectedAttribute(home) && !IsAttribute(Wrap3270(home + 1))) return Wrap3270(home + 1);
    if (Is3270InputPosition(home)) return home;
    return TabFrom(home);
}

int NewLinePosition()
{
    const int columns = S().Columns3270;
    const int cursor = S().CursorAddress;
    const int rowStart = ((cursor / columns + 1) % S().Rows3270) * columns;
    if (!Is3270Formatted()) return rowStart;
    int found = Is3270InputPosition(rowStart) ? rowStart : TabFrom(Wrap3270(rowStart - 1));
    if (!Is3270InputPosition(found)) return 0;
    const int marginCell = (found / columns) * columns + S().LeftMargin;
    if (cursor % columns >= S().LeftMargin && Is3270InputPosition(marginCell)) found = marginCell;
    return found;
}

bool NumericAccepts(uint8_t ebcdic)
{
    return (ebcdic >= 0xF0 && ebcdic <= 0xF9) || ebcdic == 0x1C || ebcdic == 0x4B || ebcdic == 0x60 ||
           ebcdic == 0x6B;
}

// After typing onto an attribute cell: auto-skip tabs, else past the attributes.
int SkipAttributes(int address)
{
    for (int n = 0; n < S().BufferSize && IsAttribute(address); ++n) {
        if ((Attributes3270()[address] & (kFaProtected | kFaNumeric)) == (kFaProtected | kFaNumeric))
            return TabFrom(address);
        address = Wrap3270(address + 1);
    }
    return address;
}

bool TypeChar(uint8_t ebcdic)
{
    const int cursor = S().CursorAddress;
    const bool formatted = Is3270Formatted();
    if (formatted) {
        if (IsAttribute(cursor)) {
            Refuse("Start of Field");
            return false;
        }
        uint8_t attribute, colour, highlight;
        Get3270FieldAttribute(cursor, attribute, colour, highlight);
        if (attribute >= 0xE0) {
            Refuse("Protected Field");
            return false;
        }
        if ((attribute & 0xD0) == 0xD0 && !NumericAccepts(ebcdic)) {
            Refuse("Numeric Field");
            return false;
        }
    }
    if (S().InsertMode3270) {
        const int last = FieldEnd(cursor);
        const uint8_t end = EbcdicAt(last);
        if (end != 0 && end != 0x40) {
            Refuse("Field Full");
            return false;
        }
        for (int a = last; a != cursor; a = Wrap3270(a - 1)) Store3270Char(a, EbcdicAt(Wrap3270(a - 1)));
    }
    Store3270Char(cursor, ebcdic);
    SetFieldModified(cursor, 1);
    int next = Wrap3270(cursor + 1);
    if (formatted) next = SkipAttributes(next);
    S().CursorAddress = next;
    return true;
}

void EraseInput()
{
    ForEach3270DataCell([](int a, int attribute) {
        if (attribute < 0xE0) Store3270Char(a, 0);
    });
    for (int a = 0; a < S().BufferSize; ++a)
        if (IsUnprotectedAttribute(a)) Attributes3270()[a] &= static_cast<uint8_t>(~kFaModified);
    S().CursorAddress = HomePosition();
}

void EraseEndOfField()
{
    const int cursor = S().CursorAddress;
    if (Is3270Protected(cursor)) {
        Refuse("Protected Field");
        return;
    }
    SetFieldModified(cursor, 1);
    if (!Is3270Formatted()) {
        for (int a = cursor; a < S().BufferSize; ++a) Store3270Char(a, 0);
        return;
    }
    const int last = FieldEnd(cursor);
    int a = IsAttribute(cursor) ? Wrap3270(cursor + 1) : cursor;
    if (IsAttribute(a)) return;
    for (;; a = Wrap3270(a + 1)) {
        Store3270Char(a, 0);
        if (a == last) break;
    }
}

void DeleteChar()
{
    const int cursor = S().CursorAddress;
    if (Is3270Protected(cursor)) {
        Refuse("Protected Field");
        return;
    }
    if (IsAttribute(cursor)) return;
    const int last = FieldEnd(cursor);
    for (int a = cursor; a != last; a = Wrap3270(a + 1)) Store3270Char(a, EbcdicAt(Wrap3270(a + 1)));
    Store3270Char(last, 0);
    SetFieldModified(cursor, 1);
}

void EraseUnprotectedKey()
{
    if (!Is3270Formatted()) return;
    ForEach3270DataCell([](int a, int attribute) {
        if (attribute < 0xE0) Store3270Char(a, 0);
    });
    for (int a = 0; a < S().BufferSize; ++a)
        if (IsUnprotectedAttribute(a)) Attributes3270()[a] |= kFaModified;
}

void Attention(int aid)
{
    Tn3270Globals& s = S();
    if (aid == kAidClear) Clear3270Buffer();
    s.StatusFlags |= kStatusInhibited;
    s.InsertMode3270 = 0;
    s.StatusFlags &= static_cast<uint8_t>(~kStatusInsert);
    s.KeyboardUnlocked = 0;
    Set3270KeyboardIndicator(1);
    s.PendingAid = aid;
    s.AidPending = 1;
    Send3270PendingRecord();
}

void CursorSelect()
{
    const int cursor = S().CursorAddress;
    uint8_t attribute, colour, highlight;
    const int field = Get3270FieldAttribute(cursor, attribute, colour, highlight);
    const int display = attribute & kFaDisplayMask;
    if (!Is3270Formatted() || (display != 0x04 && display != 0x08)) {
        Refuse("Cursor not in selectable field");
        return;
    }
    const int designator = Wrap3270(field + 1);
    switch (EbcdicAt(designator)) {
    case 0x50:
        SetFieldModified(field, 1);
        Attention(kAidEnter);
        break;
    case 0x00:
    case 0x40: Attention(kAidSelectorPen); break;
    case 0x6E:
        Store3270Char(designator, 0x6F);
        SetFieldModified(field, 0);
        break;
    case 0x6F:
        Store3270Char(designator, 0x6E);
        SetFieldModified(field, 1);
        break;
    default: Refuse("Not in selectable field"); break;
    }
}

}  // namespace

int Do3270KeyFunction(int code, int function)
{
    Tn3270Globals& s = S();
    if (!s.KeyboardUnlocked || s.AidPending) {
        if (s.AidPending && !Send3270PendingRecord()) return 0;
        if (!s.AidPending && Inbound3270Queued() == 0 && function == kKeyReset) {
            s.KeyboardUnlocked = 1;
            Set3270KeyboardIndicator(0);
        }
        if (!s.KeyboardUnlocked) {
            Refuse("Keyboard Locked");
            return 0;
        }
    }
    switch (function) {
    case kKeyReset:
        s.InsertMode3270 = 0;
        s.StatusFlags &= static_cast<uint8_t>(~kStatusInsert);
        break;
    case kKeyData: TypeChar(static_cast<uint8_t>(code)); break;
    case kKeyDup:
        if (TypeChar(0x1C)) s.CursorAddress = TabFrom(s.CursorAddress);
        break;
    case kKeyFieldMark: TypeChar(0x1E); break;
    case kKeyAttention: Attention(code); break;
    case kKeyCursorSelect: CursorSelect(); break;
    case kKeyEraseInput: EraseInput(); break;
    case kKeyEraseEof: EraseEndOfField(); break;
    case kKeyDelete: DeleteChar(); break;
    case kKeyInsert:
        s.InsertMode3270 = !s.InsertMode3270;
        s.StatusFlags ^= kStatusInsert;
        break;
    case kKeyTab: s.CursorAddress = TabFrom(s.CursorAddress); break;
    case kKeyBacktab: s.CursorAddress = BacktabFrom(s.CursorAddress); break;
    case kKeyNewLine: s.CursorAddress = NewLinePosition(); break;
    case kKeyHome: s.CursorAddress = HomePosition(); break;
    case kKeyUp: s.CursorAddress = Wrap3270(s.CursorAddress - s.Columns3270); break;
    case kKeyDown: s.CursorAddress = Wrap3270(s.CursorAddress + s.Columns3270); break;
    case kKeyRight: s.CursorAddress = Wrap3270(s.CursorAddress + 1); break;
    case kKeyDoubleRight: s.CursorAddress = Wrap3270(s.CursorAddress + 2); break;
    case kKeyLeft: s.CursorAddress = Wrap3270(s.CursorAddress - 1); break;
    case kKeyDoubleLeft: s.CursorAddress = Wrap3270(s.CursorAddress - 2); break;
    case kKeyEraseUnprotected: EraseUnprotectedKey(); break;
    default: Show3270Status("Function not implemented", 1); break;
    }
    return 1;
}

namespace {

// "%32name%": runs the keyboard function; returns the bytes taken (0: no match).
int RunMnemonic(const uint8_t* p, int remaining, bool& attention)
{
    if (remaining < 3 || p[0] != '%' || p[1] != '3' || p[2] != '2') return 0;
    for (const Key3270Mnemonic& key : Key3270Mnemonics) {
        const int n = key.length;
        if (remaining < n + 4 || std::memcmp(p + 3, key.name, static_cast<size_t>(n)) != 0 || p[3 + n] != '%')
            continue;
        Do3270KeyFunction(key.aid, key.function);
        if (key.function == kKeyAttention) attention = true;
        return n + 4;
    }
    return 0;
}

// "%32cpCOLUMN:ROW%": moves the cursor; returns the bytes taken (0: not such a sequence).
int RunCursorPosition(const uint8_t* p, int remaining)
{
    if (remaining <= 6 || p[0] != '%' || std::memcmp(p + 1, "32cp", 4) != 0) return 0;
    char text[48];
    const int copy = remaining < 47 ? remaining : 47;
    std::memcpy(text, p, static_cast<size_t>(copy));
    text[copy] = '\0';
    int column = 0;
    int row = 0;
    if (std::sscanf(text + 5, "%d:%d", &column, &row) != 2) return 0;
    char canonical[48];
    const int length = std::snprintf(canonical, sizeof canonical, "%%32cp%d:%d", column, row) + 1;
    if (length > remaining || row < 1 || row > S().Rows3270 || column < 1 || column > S().Columns3270) return 0;
    S().CursorAddress = (row - 1) * S().Columns3270 + (column - 1);
    return length;
}

}  // namespace

int Send3270KeyString(ViewWindow window, const uint8_t* text, int length)
{
    Tn3270Globals& s = S();
    if (!text || length <= 0) return 0;
    if (!Planes3270Ready() || s.BufferSize <= 0 || s.BufferSize > kScreenCells) return length;
    if (s.CursorAddress < 0 || s.CursorAddress >= s.BufferSize) s.CursorAddress = 0;
    s.RecordStartCursor = s.CursorAddress;
    Clear3270Status();
    bool attention = false;
    int i = 0;
    while (i < length) {
        const uint8_t* p = text + i;
        const int remaining = length - i;
        int taken = RunMnemonic(p, remaining, attention);
        if (!taken) taken = RunCursorPosition(p, remaining);
        if (!taken) {
            Do3270KeyFunction(AsciiToEbcdic[p[0]], kKeyData);
            taken = 1;
        }
        i += taken;
    }
    if (!attention) Tn3270Hooks.hotScreenEvaluate();
    Flush3270Repaint(window);
    return length;
}
