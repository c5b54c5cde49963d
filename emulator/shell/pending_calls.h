// Functions of components that are not in the tree yet (DDE, the
// Wyse page buffer, HotScreen), declared by their own names. Their owners define them when they
// land; pending_calls.cpp holds stand-ins until then.
#pragma once


// ---- Shutdown and start-up services of DDE and the view extensions.
void ShutdownDdeServer();   // CDDEServer::Shutdown on the process's server, then deletes it
void FreeWysePageBuffer();
void DdeStartup();
void DdeShutdown();
void HotScreenLoad(const char* file);
void HotScreenFree();
