// Config/Auto Login, UNIX ENV setup, File transfer command, Preferences/Multimedia and Lock
// settings: each copies the settings into its dialog, runs it, and on OK stores them and marks the
// document modified.
#pragma once

#include <windows.h>

class CZolexDoc;
class FwFrameWnd;

void AutoLoginCommand(CZolexDoc& doc, HWND owner);
void HostEnvCommand(CZolexDoc& doc, HWND owner);
void FileTransferCmdCommand(CZolexDoc& doc, HWND owner);
void MultimediaCommand(CZolexDoc& doc, HWND owner);
// Asks for the administrator password when one is set (or the built-in one when the
// configuration is locked and names none), then runs lock administration; OK stores the locks.
void LockSettingsCommand(CZolexDoc& doc, HWND owner);

// Registers the five commands on the frame (their rules are the document commands', installed by
// InstallDocumentCommands).
void InstallSessionSettingsCommands(FwFrameWnd& frame, CZolexDoc& doc);
