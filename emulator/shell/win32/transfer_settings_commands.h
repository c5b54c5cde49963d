// The Config/Preferences/Asynch filetransfer and DDE commands: each copies the stored settings into its
// dialog, runs it and on OK stores them and marks the document modified.
#pragma once

#include <windows.h>

class CZolexDoc;

void TransferSettingsCommand(CZolexDoc& doc, HWND owner);  // General setup
void KermitSettingsCommand(CZolexDoc& doc, HWND owner);
void XYModemSettingsCommand(CZolexDoc& doc, HWND owner);
void ZModemSettingsCommand(CZolexDoc& doc, HWND owner);

// Config/Preferences/DDE: runs the dialog on the session's settings; on OK stores them, says
// that they take effect at the next start, and marks the document modified.
void DdeSettingsCommand(CZolexDoc& doc, HWND owner);
