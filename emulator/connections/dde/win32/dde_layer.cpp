#include "connections/dde/win32/dde_layer.h"

#include "connections/dde/dde_recorder.h"
#include "connections/dde/win32/dde_client.h"
#include "session/session_record.h"
#include "connections/dde/win32/terminal_dde_server.h"

namespace {

DdeClientPokePort pokePort;

}  // namespace

int DdeStartup() {
    int result = DdeServerStart();
    // The poke port serves the HotScreen DDE action too, so it is there with or without triggers.
    SetDdePokePort(&pokePort);
    if (Rec->DdeClientEnable) result |= DdeClientStart();
    return result;
}

int DdeShutdown() {
    DdeClientInstanceStop();
    DdeClientStop();
    ShutdownDdeServer();
    return 1;
}
