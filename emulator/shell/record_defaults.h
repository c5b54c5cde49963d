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
// are the data table DocumentStringDefaults (session/document_strings.h), for the document to apply.
#pragma once

#include "session/session_record.h"
#include "session/translate_tables.h"

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

// AttrColors entries 0-19 (foreground, background); the third ints are left alone.
void SetDefaultAttrColors(SettingsRecord& rec);

// Attr3270Colors entries 0-47 by rule from AttrColors; 48-57 untouched.
void BuildDefaultAttr3270Colors(SettingsRecord& rec);

// The four box maps.
void SetDefaultBoxMaps(SettingsRecord& rec, bool newConfiguration, bool has3270Section);

// CurrentFont, Font80Cols and Font132Cols for a screen of the given pixel width.
void SetDefaultFonts(SettingsRecord& rec, int screenWidth);
