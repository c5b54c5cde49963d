// The Config menu's connection and preference commands: Modem type, Phone Number / Autodial,
// and Preferences View, File names, Mouse, Terminal Printers and Dynamic Hotspots. Each copies the settings and
// document strings into its dialog, runs it, and on OK stores them and marks the document
// modified.
#pragma once

#include <windows.h>

class CZolexDoc;

void ModemCommand(CZolexDoc& doc, HWND owner);
void PhoneNumberCommand(CZolexDoc& doc, HWND owner);
void MouseCommand(CZolexDoc& doc, HWND owner);
// Also refreshes the window title (application name and title parts).
void ViewPrefsCommand(CZolexDoc& doc, HWND owner);
// Also marks the per-session data files whose names changed (all five when autoname was switched
// on) to be written at the next save, and refreshes the title.
void FilePrefsCommand(CZolexDoc& doc, HWND owner);
void TerminalPrintersCommand(CZolexDoc& doc, HWND owner);
// Makes the document's key tables the hotspot table's sources and opens the dialog on a copy of
// the program's hotspot table. After OK with a change: the changed table replaces the program's
// (to be saved with the document), the hotspot buttons are deleted, the settings stored and the
// window redrawn, which makes the buttons anew.
void DynHotspotsCommand(CZolexDoc& doc, HWND owner);
