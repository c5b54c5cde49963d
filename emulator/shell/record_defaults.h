// The defaults of the session record (tables and "Computed defaults"), window-free.
//
// SetRecordDefaults is the record part of CZolexDoc::SetDefaultSettings: it stores
// every default of the record's settings and live state, in this order:
//
//   A. record part: the int and flag settings of the terminal, view, title, log-on, permission,
//      colour-use and 3-D settings; the live state; the baud mapping and the line settings; cursor
//      and cell size; palette; AttrColors and the Attr3270Colors rule; screen size (MaxCols,
//      MaxRows, DynamicWidth, ScrollTop/ScrollBottom, HistoryRows 0);
//   -- the screen planes are allocated; on failure the function stops here and
//      returns false: everything below keeps its previous value --
//   B. the remaining ints and flags (replay, printers, screen dump, transfers, ZMODEM, multimedia,
//      Telnet options, AutonameFiles, SortedKeyMapFile);
//   C. connection and country (ComType, Port, NetWork, Lana, TelnetPort, Country, Language,
//      Charset3270);
//   D. strings (HostName ... Logo, ExtraDynWordChars); tab stops parsed from Tabs;
//   E. box maps; blank screen (ProtectionPlane cleared, visible screen blanked);
//   F. fonts by screen width; translate tables to identity;
//   G. DDE settings and strings; transfer blocks (KermitParms, XYModemParms).
//
// Fields whose defaults are "kept" are never written: the lock flags, ScreenDumpFontItalic,
// ScreenDumpFontWeight, PhoneNumber, DdeClientTopicName, the spare fields, XYModemParms.ForceLow,
// ColorPalette, Attr3270Colors entries 48-57, and the live fields marked kept or
// "(terminal reset)". The document-held strings are not record fields; their keys and defaults
// are the data table DocumentStringDefaults below, for the document to apply.
#pragma once

#include <cstddef>

#include "shell/session_record.h"
#include "shell/translate_tables.h"

// Allocates the screen planes of the record (AllocScreenBuffers): 1 or 0.
using ScreenAllocator = int (*)(SettingsRecord&);

// Stores the defaults. newConfiguration: start-up creates a new configuration file (the first
// NewConfiguration flag); has3270Section: the configuration file has a [3270] section
// (false for new files). allocateScreen is called with HistoryRows 0 between parts A and B; when
// it is null the planes are left as they are. Returns false when the planes could not be
// allocated (the caller fails the document).
bool SetRecordDefaults(SettingsRecord& rec, bool newConfiguration, bool has3270Section,
                       ScreenAllocator allocateScreen, TranslateTables& tables);

// ---- The computed defaults, one by one (used by SetRecordDefaults; public for the tests and
// ---- for the Parts that repeat them).

// Legacy speed codes: a negative speed whose low 16 bits are in the table (0xFF10 110 ...
// 0xFF27 256000) maps to its bits per second; anything else is returned unchanged.
int MapLegacyBaudRate(int baudRate);

// The default palette (SetDefaultPalette): Black ... LightWhite.
void SetDefaultPalette(SettingsRecord& rec);

// AttrColors entries 0-19 (foreground, background); the third ints are left alone.
void SetDefaultAttrColors(SettingsRecord& rec);

// Attr3270Colors entries 0-47 by rule from AttrColors; 48-57 untouched.
void BuildDefaultAttr3270Colors(SettingsRecord& rec);

// The four box maps.
void SetDefaultBoxMaps(SettingsRecord& rec, bool newConfiguration, bool has3270Section);
// The default boxes of one mode, marked into cleared maps: character mode an out-box for Bold's
// foreground and an in-box for Reversed's background; 3270 mode edit-boxes for the backgrounds of
// Normal and Reversed and an out-box for Protected Reversed's.
void MarkDefaultBoxes(const SettingsRecord& rec, bool mode3270, int32_t (&fg)[kColorIndices], int32_t (&bg)[kColorIndices]);

// CurrentFont, Font80Cols and Font132Cols for a screen of the given pixel width.
void SetDefaultFonts(SettingsRecord& rec, int screenWidth);

// The national character set (1-18) of a telephone country code
// (NationalSetFromCountry); country 0 means the Windows country (Platform().WindowsCountry()).
// Only the low 16 bits of the country count.
int NationalSetForCountry(int country);

// CZolexDoc::ParseTabStops on the record: rebuilds TabStopCount / TabStops from the
// first 255 characters of Tabs (1-based numbers separated by any non-digits). Numbers outside
// 1 .. 132 are ignored; a stop beyond the screen is clamped to MaxCols-1 (131 while MaxCols is not
// a valid width); at most kMaxTabStops stops are stored.
void ParseTabStops(SettingsRecord& rec);

// ---- Document-held setting strings (CZolexDoc members), as data.

struct DocumentStringDefault {
    const char* member;    // CZolexDoc member name
    const char* section;   // configuration-file section; nullptr = the application section
    const char* key;       // configuration-file key; nullptr = not in the file
    const char* value;     // default; nullptr = kept (the defaults leave the string as it is)
    int stringId;          // string-table id the default comes from; 0 = a literal
    bool nullForm;         // an empty value is stored as "%null%"
    bool scrambled;        // stored scrambled
};

// In CZolexDoc member order: TerminalKeyDef ... ScreenDumpFont (35 entries).
extern const DocumentStringDefault DocumentStringDefaults[];
extern const std::size_t DocumentStringDefaultCount;

// The entry of a member name, or nullptr.
const DocumentStringDefault* FindDocumentStringDefault(const char* member);
