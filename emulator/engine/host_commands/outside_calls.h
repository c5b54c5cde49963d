// Functions of other components that host commands, multimedia and host printing call, declared
// here by their own names. Their owners (screen buttons, HotScreen, playback, the file-transfer
// commands, the session trace) define them; until they do, pending_calls.cpp holds stand-ins that
// do nothing. The main frame and the session document are reached through HostApplication.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "connections/auto_login.h"
#include "engine/engine_types.h"

// ---- Screen buttons (the program's one DynButtonMap).
// Creates a button from the numbers and the definition text; false when nothing was created.
bool CreateDynButton(ViewWindow window, const int* numbers, int count, const char* text, int isHotspot);
// The names in the map, in map order; a button's hotspot flag; deleting one by name.
std::vector<std::string> DynButtonNames();
int DynButtonHotspotFlag(const std::string& name);
void DeleteDynButton(const std::string& name);

// ---- HotScreen, playback, action strings, file-transfer commands, trace.
void HotScreenReload(const char* file);
// Non-zero when the file opened for playback.
int OpenPlayFile(const char* file, int64_t startPosition);
void CloseAllPlayFiles();
// The file-management commands of the connection layer on the main frame's view; 1 when a file
// transfer started. 0 without a view.
int ExecuteAclCommand(const char* text);
// A "KEYB" record of the session trace.
void TraceKeyboard(int keyCode, const uint8_t* bytes, int length);
