// What the Config menu's smaller settings commands do once their dialog ended with OK: Auto Login,
// Phone Number / Autodial, UNIX ENV setup, Modem type, File transfer command and the Preferences
// Files, Mouse, Terminal Printers, DDE and Multimedia. Each copies the dialog's values back into
// the session record and the document strings (texts bounded by their field) and marks the
// document modified; Files and DDE do a little more. After Cancel none of them is called.
#pragma once

#include "dialogs/connection_dialog_values.h"
#include "dialogs/dde_settings_values.h"
#include "dialogs/file_name_prefs_values.h"
#include "dialogs/session_settings_values.h"
#include "dialogs/terminal_printer_values.h"

class CZolexDoc;

void AutoLoginAfterOk(CZolexDoc& doc, const AutoLoginValues& values);
void PhoneAfterOk(CZolexDoc& doc, const PhoneValues& values);
void HostEnvAfterOk(CZolexDoc& doc, const HostEnvValues& values);
void ModemAfterOk(CZolexDoc& doc, const ModemValues& values);
void FileTransferCmdAfterOk(CZolexDoc& doc, const FileTransferCmdValues& values);
void MouseAfterOk(CZolexDoc& doc, const MouseValues& values);
void MultimediaAfterOk(CZolexDoc& doc, const MultimediaValues& values);
void TerminalPrintersAfterOk(CZolexDoc& doc, const TerminalPrinterValues& values);

// Files: every data-file name that differs from the document's (letter case counts) marks that
// file changed; the names and settings are copied back and the document marked modified; turning
// AutonameFiles on marks all five (they are written under the configuration's name at the next
// save). Then the title is refreshed and the views updated.
void FilePrefsAfterOk(CZolexDoc& doc, const FileNamePrefsValues& values);

// DDE: the settings are copied back, the user is told that they take effect at the next start
// (message 1450, after every OK) and the document is marked modified.
void DdeAfterOk(CZolexDoc& doc, const DdeSettingsValues& values);
