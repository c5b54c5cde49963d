// The session's DDE client: the instance (made at the first poke, under DdeClientServiceName)
// and the conversation of each poke, behind the DdePokePort of the recorder.
#pragma once

#include "connections/dde/dde_recorder.h"
#include "connections/dde/win32/dde_library.h"

class CMyClient : public CDDEServer {
public:
    void Status(const char* format, ...) override;
};

class CMyConv : public CDDEConv {
public:
    explicit CMyConv(CDDEServer* server) : CDDEConv(server) {}
};

// Connects, pokes and disconnects with the real DDEML.
class DdeClientPokePort : public DdePokePort {
public:
    int Poke(const char* service, const char* topic, const char* item, const char* data,
             int size) override;
};

// Shuts the client instance down and destroys it; nothing when none exists.
void DdeClientInstanceStop();
