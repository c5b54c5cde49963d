// Config/Auto Login, UNIX ENV setup, File transfer command, Preferences/Multimedia and Lock
// settings: each copies the settings into its dialog, runs it, and on OK stores them and marks the
// document modified. Also the update rules that lock these and the other settings commands.
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

// Registers the five commands on the frame, and the update rules of the lockable settings
// commands that have a handler: each is enabled while the configuration may be changed
// (AllowCfg) and its own lock is open; Load config follows AllowReadCfg, Save config and Save
// config As follow AllowWriteCfg.
void InstallSessionSettingsCommands(FwFrameWnd& frame, CZolexDoc& doc);
