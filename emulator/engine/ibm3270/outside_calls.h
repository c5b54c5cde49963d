// Functions of other components that the 3270 engine calls, declared here by their own names and
// signatures. Their owners define them; pending_calls.cpp holds stand-ins for those still missing.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "shell/session_record.h"

// Telnet layer: copies the bytes into the network output (0xFF doubled), with endOfRecord also
// IAC EOR, and returns the number of source bytes it took.
int Send3270Record(const uint8_t* data, int length, int endOfRecord);

// A modal message box: the string-table text of stringId (0: none) followed by the formatted text.
int ShowMessage(int stringId, int style, const char* format, ...);

// The HotScreen rules, evaluated after each host record and keystroke string.
void HotScreenEvaluate();

// Host commands (engine/host_commands): runs a string command (number, the parameters after it, the collected text).
int DoPrivateCommand(ViewWindow window, int number, int count, const int* params, const char* text);
// Multimedia: runs an MCI command string; returns the last MCI error code.
int RunMciCommand(const char* text);
// Control sequences: executes a complete CSI sequence by its final byte (engine/vt/vt_sequences.h).
void CsiDispatch(ViewWindow window, SettingsRecord& record, int finalByte, int count, const int* params,
                 DirtyRect& dirty, int fromVt);
