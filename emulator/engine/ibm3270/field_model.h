// The 3270 field model: searches over field attributes, the cell writers, clearing, the dirty
// range, start and reset of the engine. Every buffer address is 0 .. BufferSize - 1; searches wrap.
#pragma once

#include <cstdint>

#include "engine/ibm3270/tn3270_state.h"

// ---- Field searches.

int Is3270FieldAttribute(int address);
// The first attribute cell after address (wrapping, address itself last); 0 when none.
int Next3270Field(int address);
// The nearest attribute cell before address (wrapping, address itself last); 0 when none.
int Previous3270Field(int address);
// The attribute cell of the field that holds address (address itself on an attribute cell), with
// its attribute, colour and highlight bytes. Unformatted screen: 0xE0, 0, 0 and result 0.
int Get3270FieldAttribute(int address, uint8_t& attribute, uint8_t& colour, uint8_t& highlight);
// The same over any record's protection plane (the screen-text hook): the attribute only.
int FieldAttributeOf(const SettingsRecord& rec, int address);
// True when at least one attribute cell exists.
bool Is3270Formatted();
int Is3270Protected(int address);
int Is3270InputPosition(int address);
uint8_t AttributeAt(int address);
uint8_t EbcdicAt(int address);
void SetFieldModified(int address, int on);

// Calls visit(address, attribute) for every data cell in address order with the attribute of the
// field that holds it, or -1 for every cell of an unformatted screen. One pass over the buffer.
template <class Visit>
void ForEach3270DataCell(Visit visit)
{
    const int size = Tn3270State.BufferSize;
    const uint8_t* prot = Attributes3270();
    int current = -1;
    for (int a = size - 1; a >= 0; --a)
        if (prot[a] >= kFaMarker) {
            current = prot[a];
            break;
        }
    for (int a = 0; a < size; ++a) {
        if (prot[a] >= kFaMarker)
            current = prot[a];
        else
            visit(a, current);
    }
}

// Address arithmetic with wrap.
inline int Wrap3270(int address)
{
    const int size = Tn3270State.BufferSize;
    address %= size;
    return address < 0 ? address + size : address;
}

// ---- Cell writers.

void WriteFieldAttributeCell(int address, uint8_t attribute);
void ApplyExtendedAttribute(int address, uint8_t type, uint8_t value);
void Write3270Char(int address, uint8_t ebcdic);
void Store3270Char(int address, uint8_t ebcdic);

// ---- Dirty range (addresses to repaint).

void Widen3270Dirty(int address);
void Mark3270AllDirty();
void Empty3270Dirty();
inline bool Is3270DirtyEmpty() { return Tn3270State.DirtyLow > Tn3270State.DirtyHigh; }

// ---- Screen level.

void Clear3270Buffer();
void Clear3270BufferQuiet();
// Sets the buffer geometry (rows x columns <= kScreenCells; anything else is refused, returns 0).
int Set3270Geometry(int rows, int columns);
// The start of the 3270 screen once tn3270 mode is in force.
void Init3270Screen();
// The tn3270 reset at connect, set-up and start-up (after the size is set to 24 x 80).
void Reset3270State();
// Rebuilds OrderTable from the order codes.
void Build3270OrderTable();
// Installs Get3270FieldAttribute into the screen-text hooks of the planes.
void Install3270PlaneHooks();
