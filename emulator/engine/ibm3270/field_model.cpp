#include "engine/ibm3270/field_model.h"

#include <cstring>

#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/ibm3270/inbound_records.h"
#include "engine/ibm3270/orders.h"
#include "engine/ibm3270/status_view.h"
#include "engine/screen_planes.h"

Tn3270Globals Tn3270State;

void Load3270State()
{
    std::memset(&Tn3270State, 0, sizeof Tn3270State);
    Tn3270State.AtRecordStart = 1;
}

namespace {

struct LoadState {
    LoadState() { Load3270State(); }
} loadState;

bool ValidSize(int size) { return size > 0 && size <= kScreenCells; }

// The field searches over one protection plane of `size` cells.
int NextAttribute(const uint8_t* prot, int size, int address)
{
    for (int a = address + 1; a < size; ++a)
        if (prot[a] >= kFaMarker) return a;
    for (int a = 0; a <= address && a < size; ++a)
        if (prot[a] >= kFaMarker) return a;
    return 0;
}

int PreviousAttribute(const uint8_t* prot, int size, int address)
{
    for (int a = address - 1; a >= 0; --a)
        if (prot[a] >= kFaMarker) return a;
    for (int a = size - 1; a >= address && a >= 0; --a)
        if (prot[a] >= kFaMarker) return a;
    return 0;
}

// The attribute cell that holds address, or -1 on an unformatted screen.
int HoldingAttribute(const uint8_t* prot, int size, int address)
{
    if (!ValidSize(size) || address < 0 || address >= size) return -1;
    if (prot[address] >= kFaMarker) return address;
    const int a = PreviousAttribute(prot, size, address);
    return prot[a] >= kFaMarker ? a : -1;
}

int AttributeField(int address) { return HoldingAttribute(Attributes3270(), Tn3270State.BufferSize, address); }

}  // namespace

int Is3270FieldAttribute(int address) { return Attributes3270()[address] >= kFaMarker ? 1 : 0; }

int Next3270Field(int address) { return NextAttribute(Attributes3270(), Tn3270State.BufferSize, address); }

int Previous3270Field(int address)
{
    return PreviousAttribute(Attributes3270(), Tn3270State.BufferSize, address);
}

int Get3270FieldAttribute(int address, uint8_t& attribute, uint8_t& colour, uint8_t& highlight)
{
    const int field = AttributeField(address);
    if (field < 0 || !Planes3270Ready()) {
        attribute = 0xE0;
        colour = 0;
        highlight = 0;
        return 0;
    }
    attribute = Attributes3270()[field];
    colour = Colour3270()[field];
    highlight = Flags3270()[field];
    return field;
}

int FieldAttributeOf(const SettingsRecord& rec, int address)
{
    const int field = HoldingAttribute(rec.ProtectionPlane, Tn3270State.BufferSize, address);
    return field < 0 ? 0xE0 : rec.ProtectionPlane[field];
}

bool Is3270Formatted()
{
    const uint8_t* prot = Attributes3270();
    for (int a = 0; a < Tn3270State.BufferSize; ++a)
        if (prot[a] >= kFaMarker) return true;
    return false;
}

int Is3270Protected(int address)
{
    const int field = AttributeField(address);
    return field < 0 ? 0 : Attributes3270()[field] & kFaProtected;
}

int Is3270InputPosition(int address)
{
    if (Is3270FieldAttribute(address)) return 0;
    const int field = AttributeField(address);
    return field >= 0 && !(Attributes3270()[field] & kFaProtected) ? 1 : 0;
}

uint8_t AttributeAt(int address) { return Attributes3270()[address]; }

uint8_t EbcdicAt(int address) { return Ebcdic3270()[address]; }

void SetFieldModified(int address, int on)
{
    const int field = AttributeField(address);
    if (field < 0) return;
    if (on)
        Attributes3270()[field] |= kFaModified;
    else
        Attributes3270()[field] &= static_cast<uint8_t>(~kFaModified);
}

void WriteFieldAttributeCell(int address, uint8_t attribute)
{
    Chars3270()[address] = ' ';
    Ebcdic3270()[address] = 0x40;
    Attributes3270()[address] = static_cast<uint8_t>(attribute | kFaMarker);
    Flags3270()[address] = 0;
    Colour3270()[address] = 0;
}

void ApplyExtendedAttribute(int address, uint8_t type, uint8_t value)
{
    uint8_t& flags = Flags3270()[address];
    switch (type) {
    case 0x00:
        flags = 0;
        Colour3270()[address] = 0;
        break;
    case 0x41:
        switch (value) {
        case 0x00: flags = 0; break;
        case 0xF1: flags |= kCellBlink; break;
        case 0xF2: flags |= kCellReverse; break;
        case 0xF4: flags |= kCellUnderscore; break;
        default: break;
        }
        break;
    case 0x42: Colour3270()[address] = value; break;
    case 0xC0: Attributes3270()[address] = static_cast<uint8_t>(value | kFaMarker); break;
    default: break;
    }
}

void Write3270Char(int address, uint8_t ebcdic)
{
    uint8_t* chars = Chars3270();
    if (Attributes3270()[address] >= kFaMarker) {
        // A field boundary moved: every cell after it may look different now.
        chars[address] = 0;
        Ebcdic3270()[address] = 0;
        Attributes3270()[address] = 0;
        Mark3270AllDirty();
    }
    const uint8_t ch = EbcdicToAscii[ebcdic];
    chars[address] = ch;
    Ebcdic3270()[address] = ebcdic;
    Attributes3270()[address] = 0;
    uint8_t* flags = Flags3270();
    if (ch == '_') {
        flags[address] = kCellLine;
    } else if (ch == '-' && address > 0 && chars[address - 1] == '-') {
        flags[address] = kCellLine;
        flags[address - 1] = kCellLine;
    } else {
        flags[address] = 0;
    }
}

void Store3270Char(int address, uint8_t ebcdic)
{
    if (Ebcdic3270()[address] != ebcdic) Widen3270Dirty(address);
    Write3270Char(address, ebcdic);
}

void Widen3270Dirty(int address)
{
    if (address < Tn3270State.DirtyLow) Tn3270State.DirtyLow = address;
    if (address > Tn3270State.DirtyHigh) Tn3270State.DirtyHigh = address;
}

void Mark3270AllDirty()
{
    Tn3270State.DirtyLow = 0;
    Tn3270State.DirtyHigh = Tn3270State.BufferSize - 1;
}

void Empty3270Dirty()
{
    Tn3270State.DirtyLow = Tn3270State.BufferSize;
    Tn3270State.DirtyHigh = 1;
}

void Clear3270Buffer()
{
    if (Planes3270Ready()) {
        std::memset(Chars3270(), 0, kScreenCells);
        std::memset(Colour3270(), 0, kScreenCells);
        std::memset(Ebcdic3270(), 0, kScreenCells);
        std::memset(Flags3270(), 0, kScreenCells);
    }
    std::memset(Attributes3270(), 0, kScreenCells);
    PlanesRewritten(*Rec);
    Tn3270State.BufferAddress = 0;
    Tn3270State.CursorAddress = 0;
    Mark3270AllDirty();
}

void Clear3270BufferQuiet()
{
    Clear3270Buffer();
    Empty3270Dirty();
}

int Set3270Geometry(int rows, int columns)
{
    if (rows < 1 || columns < 1 || rows * columns > kScreenCells) return 0;
    Tn3270State.Rows3270 = rows;
    Tn3270State.Columns3270 = columns;
    Tn3270State.BufferSize = rows * columns;
    // Home row and left margin were set for the old size; they must stay on the screen.
    if (Tn3270State.HomeRow >= rows) Tn3270State.HomeRow = rows - 1;
    if (Tn3270State.LeftMargin >= columns) Tn3270State.LeftMargin = columns - 1;
    return 1;
}

void Init3270Screen()
{
    Tn3270State.HomeRow = 0;
    Tn3270State.LeftMargin = 0;
    Tn3270State.FormatModes = 0;
    Tn3270State.FormatTabCount = 0;
    for (int column = 0; column < Tn3270State.Columns3270 && Tn3270State.FormatTabCount < 28; column += 8)
        Tn3270State.FormatTabs[Tn3270State.FormatTabCount++] = static_cast<uint8_t>(column);
    Build3270CodeTables(Rec->Charset3270 - 5, CodeTableColumnForFont(Rec->CurrentFont.CharSet));
    Build3270OrderTable();
    Clear3270Buffer();
    Tn3270State.KeyboardUnlocked = 1;
    Set3270KeyboardIndicator(0);
    Tn3270State.RecordCounter = 1;
    Tn3270State.HookedRecord = -1;
    Tn3270State.StatusFlags |= kStatusStarted;
    Install3270PlaneHooks();
}

void Reset3270State()
{
    Tn3270State.HomeRow = 0;
    Tn3270State.LeftMargin = 0;
    Tn3270State.FormatModes = 0;
    Clear3270Buffer();
    Tn3270State.DirtyLow = 0;
    Tn3270State.DirtyHigh = 0;
    Tn3270State.PendingAid = 0;
    // A record half-built or half-received before the reset belongs to the old connection.
    Tn3270State.AidPending = 0;
    Discard3270Inbound();
    Tn3270State.AtRecordStart = 1;
    Tn3270State.KeyboardUnlocked = 0;
    Tn3270State.StatusMessageShown = 0;
    Set3270KeyboardIndicator(1);
    Install3270PlaneHooks();
}

void Build3270OrderTable()
{
    std::memset(Tn3270State.OrderTable, 0, sizeof Tn3270State.OrderTable);
    for (const OrderName& order : kOrderNames) Tn3270State.OrderTable[order.code] = 1;
}

void Install3270PlaneHooks() { PlaneHooks.fieldAttribute = &FieldAttributeOf; }
