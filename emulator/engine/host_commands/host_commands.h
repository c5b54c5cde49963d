// Host commands: private control sequences CSI n ; p y with which the host drives the terminal
// program itself (window, colour mode, version, painting), and the string commands whose text the
// interpreter collects up to ESC \ (or CR for command 38) and then hands to DoPrivateCommand.
#pragma once

#include <string>

#include "engine/engine_types.h"
#include "session/session_record.h"

// The window commands' control-bar ids (the framework's toolbar and status bar).
constexpr int kToolbarBarId = 0xE800;
constexpr int kStatusBarBarId = 0xE801;
// Show modes.
constexpr int kShowNormal = 5;
// WM_SYSCOMMAND codes.
constexpr unsigned kSysCommandMaximize = 0xF030;

// A complete CSI ... y sequence: params[0] is the command number (count >= 1; a parameter the
// sequence did not carry is absent, count tells). The commands that take a text open it here.
void HostCommand(ViewWindow window, SettingsRecord& rec, int count, const int* params, DirtyRect& dirty);

// Runs a collected string command: number, the parameters after the number (count of them), the
// text. 1 only when command 38 started a file transfer (the caller drops the rest of its block);
// 0 otherwise, also for numbers without a string command. The text of command 38 is the whole
// collected buffer (at least three positions); its command starts at position 2.
int DoPrivateCommand(ViewWindow window, int number, int count, const int* params, const char* text);

// The version report's reply for a parameter (CSI 23 ; p y).
std::string VersionReport(int p);

// The capture file of media copy CSI 3 i (set by command 13); it lasts for the program run. The
// host-set title (command 22) goes into the process-wide TitleText.
const std::string& CaptureFileName();

// Hands the VT interpreter's host commands, collected command strings and host printing, and the
// 3270 engine's command strings and MCI commands, to this library (the interpreter's hooks do nothing until then).
void InstallHostCommandHooks();
