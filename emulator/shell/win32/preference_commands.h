// The Config menu's connection and preference commands: Modem type, Phone Number / Autodial,
// and Preferences File names, Mouse and Terminal Printers. Each copies the settings and
// document strings into its dialog, runs it, and on OK stores them and marks the document
// modified.
#pragma once

#include <windows.h>

class CZolexDoc;

void ModemCommand(CZolexDoc& doc, HWND owner);
void PhoneNumberCommand(CZolexDoc& doc, HWND owner);
void MouseCommand(CZolexDoc& doc, HWND owner);
// Also marks the per-session data files whose names changed (all five when autoname was switched
// on) to be written at the next save, and refreshes the title.
void FilePrefsCommand(CZolexDoc& doc, HWND owner);
void TerminalPrintersCommand(CZolexDoc& doc, HWND owner);
