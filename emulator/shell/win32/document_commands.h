// The session document's own commands on the frame: One More, File transfer, Reset to Default
// and the new default configuration it asks for, Record Comm and the Help menu's two documents;
// and the update rule of every document command (command_rules.h), with which the frame greys
// its menu items and toolbar buttons and refuses a command posted while it is disabled.
#pragma once

#include <windows.h>

#include <string>

class CZolexDoc;
class FwFrameWnd;

void OneMoreCommand(CZolexDoc& doc, HWND frame);
void FileTransferCommand(CZolexDoc& doc, HWND frame);
void ResetToDefaultCommand(HWND frame);
// The configuration's defaults in a new, untitled document (after the changes were saved or let go).
void NewDefaultsCommand(CZolexDoc& doc, HWND frame);
void RecordCommCommand(CZolexDoc& doc);
// Opens the file of that name in the program folder with the shell's "open" verb.
void OpenHelpDocument(HWND frame, const std::string& name);

// Registers the commands above and the rules of every document command. A rule enables a command
// only where the frame has its handler: a command whose handler is not there stays greyed.
void InstallDocumentCommands(FwFrameWnd& frame, CZolexDoc& doc);
