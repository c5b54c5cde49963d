// Functions of components that are not in the tree yet (host printing, automatic log-on, DDE, the
// Wyse page buffer, HotScreen), declared by their own names. Their owners define them when they
// land; pending_calls.cpp holds stand-ins until then.
#pragma once

// The automatic log-on's step (0 none, 1-7 awaiting AutoHost0-6) and its repeat count.
extern short AutoLoginStep;
extern int AutoLoginRepeatCount;

// ---- Shutdown and start-up services of DDE and the view extensions.
void ShutdownDdeServer();   // CDDEServer::Shutdown on the process's server, then deletes it
void FreeWysePageBuffer();
void DdeStartup();
void DdeShutdown();
void HotScreenLoad(const char* file);
void HotScreenFree();
