// The global state of the 3270 engine and the codes the 3270 files share.
//
// The 3270 display buffer lives in the visible-screen part of the session's screen planes, one
// byte per plane per buffer address (address = row x Columns3270 + column):
//   CharsScreen     the displayed character (EBCDIC through the display table; blank on attributes)
//   FgScreen        colour of an extended attribute (0xF1-0xF7 as sent; 0 default)
//   BgScreen        the raw EBCDIC byte (0x00 null; 0x40 on an attribute cell)
//   FlagsScreen     0x40 blink, 0x20 reverse, 0x01 underscore, 0x08 line-drawing cell
//   ProtectionPlane the field attribute byte (>= 0xC0) on an attribute cell, 0 on a data cell
#pragma once

#include <cstdint>

#include "session/session_record.h"

// ---- Field attribute bits (ProtectionPlane byte).
constexpr uint8_t kFaMarker = 0xC0;      // both set on every attribute cell
constexpr uint8_t kFaProtected = 0x20;
constexpr uint8_t kFaNumeric = 0x10;
constexpr uint8_t kFaDisplayMask = 0x0C; // 0x0C hidden, 0x08 intensified
constexpr uint8_t kFaModified = 0x01;

// ---- Flags-plane bits in 3270 mode.
constexpr uint8_t kCellBlink = 0x40;
constexpr uint8_t kCellReverse = 0x20;
constexpr uint8_t kCellUnderscore = 0x01;
constexpr uint8_t kCellLine = 0x08;

// ---- AIDs.
constexpr uint8_t kAidNone = 0x60;
constexpr uint8_t kAidEnter = 0x7D;
constexpr uint8_t kAidSelectorPen = 0x7E;
constexpr uint8_t kAidStructuredField = 0x88;
constexpr uint8_t kAidClear = 0x6D;
constexpr uint8_t kAidPa1 = 0x6C;
constexpr uint8_t kAidPa2 = 0x6E;
constexpr uint8_t kAidPa3 = 0x6B;
constexpr uint8_t kAidTest = 0xF0;

// ---- Read command codes that shape the inbound answer.
constexpr uint8_t kCmdReadModified = 0x06;
constexpr uint8_t kCmdReadModifiedAll = 0x6E;

// Unsent inbound bytes at which the assembly is sent on without end-of-record.
constexpr int kInboundBufferSize = 400;

// Indicator bits of Tn3270State.StatusFlags (read by the status painter).
enum Tn3270StatusBits : uint8_t {
    kStatusReceiving = 0x01,     // set by every host read or write command
    kStatusStarted = 0x02,       // the 3270 mode has started
    kStatusRepaint = 0x04,       // the status line needs a repaint
    kStatusInhibited = 0x20,     // input inhibited
    kStatusInsert = 0x80,        // insert mode
};

struct Tn3270Globals {
    int Rows3270;
    int Columns3270;
    int BufferSize;
    int AltRows3270;
    int AltColumns3270;
    int BufferAddress;
    int CursorAddress;
    int RecordStartCursor;
    int DirtyLow;
    int DirtyHigh;
    int KeyboardUnlocked;
    int PendingAid;
    int AidPending;
    int InsertMode3270;
    int StatusMessageShown;
    int AtRecordStart;
    int CommandCode;
    int WriteControlChar;
    int RecordCounter;
    int HookedRecord;
    uint8_t StatusFlags;
    uint8_t OrderTable[256];
    // Inbound-record assembly (the bytes live in inbound_records.cpp): bytes
    // [OutboundSent, OutboundFill) are still to go out.
    int OutboundFill;
    int OutboundSent;
    // Order 0x2B "T" sequence: home row, left margin and the tab columns it names.
    int HomeRow;
    int LeftMargin;
    uint8_t FormatTabs[28];
    int FormatTabCount;
    uint32_t FormatModes;  // the letter flags of the order 0x2B sequences (kept, not read)
};

// The one 3270 state of the process.
extern Tn3270Globals Tn3270State;

// The state as at load: AtRecordStart 1, everything else 0 (tests start from here).
void Load3270State();

// The live screen planes in 3270 terms. Valid only while the planes are allocated.
inline uint8_t* Chars3270() { return Rec->CharsScreen; }
inline uint8_t* Colour3270() { return Rec->FgScreen; }
inline uint8_t* Ebcdic3270() { return Rec->BgScreen; }
inline uint8_t* Flags3270() { return Rec->FlagsScreen; }
inline uint8_t* Attributes3270() { return Rec->ProtectionPlane; }
// True when the planes the 3270 buffer lives in are allocated.
inline bool Planes3270Ready() { return Rec->CharsScreen && Rec->FgScreen && Rec->BgScreen && Rec->FlagsScreen; }
