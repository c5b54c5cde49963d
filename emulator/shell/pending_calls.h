// Functions of the engine core that the shell calls before that code is in the tree. Their real
// declarations come with the engine core; this header and pending_calls.cpp then go away.
#pragma once

struct SettingsRecord;

// Key-string quoting for the configuration file.
int UnescapeString(const char* source, char* destination, int maximum);
int QuoteString(const char* source, char* destination, int limit);

// Character sets: G0-G3 designations from the emulation.
void SetDefaultCharsets();

// Colours: the current colours from the settings.
void UpdateCurrentColors();
