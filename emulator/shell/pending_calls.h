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

// ---- Host connections (connection dispatch, log-on, printing).

// Ends the network library use of a Telnet connection at exit. Returns 1.
int ShutdownTransport();
// Ends host printing (flag 0: normal end) when it is open.
void EndPrint(int flag);
// Copies source into destination (size bytes, always terminated) with %variables% expanded.
void ExpandVariables(const char* source, char* destination, int size);
// The automatic log-on's step (0 none, 1-7 awaiting AutoHost0-6) and its repeat count.
extern short AutoLoginStep;
extern int AutoLoginRepeatCount;

// ---- Shutdown and start-up services of the connection layer, DDE and the view extensions.
void ShutdownDdeServer();   // CDDEServer::Shutdown on the process's server, then deletes it
void FreeWysePageBuffer();
void FreeTelnetRings();
void DdeStartup();
void DdeShutdown();
void HotScreenLoad(const char* file);
void HotScreenFree();

// EBCDIC translation: rebuilds the 3270 code tables for Charset3270 (mode 1 ANSI font, 2 OEM font).
void Build3270CodeTables(int mode);
