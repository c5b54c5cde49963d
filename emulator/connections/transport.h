// One host transport behind the connection dispatch: serial, NetBIOS or Telnet.
#pragma once

#include <cstdint>

#include "connections/connection_dispatch.h"
#include "engine/engine_types.h"

class Transport {
public:
    virtual ~Transport() = default;
    virtual int Open(ViewWindow window) = 0;
    virtual int Close(ViewWindow window) = 0;
    virtual int Send(ViewWindow window, const uint8_t* bytes, int n) = 0;
    virtual int Receive(ViewWindow window, uint8_t* buffer, int n) { return 0; }
    virtual int PendingInput(ViewWindow window) { return 0; }
    virtual int PendingOutput(ViewWindow window) { return 0; }
    virtual int Flush(int which) { return 0; }
    virtual int Break(ViewWindow window) { return 1; }
    virtual int ClearBreak() { return 1; }
    virtual int ApplyLineSettings(ViewWindow window) { return 1; }
    virtual void Rearm(ViewWindow window) {}
    virtual void Resume(ViewWindow window) { Rearm(window); }
    virtual int IsBusy() { return 0; }
    virtual int Shutdown() { return 1; }
    // A paste left a rest pending. Transports with send-complete events continue it from there;
    // the default sends parts for as long as the transport takes them (PumpPaste).
    virtual void PasteQueued(ViewWindow window);
};

inline void Transport::PasteQueued(ViewWindow window) { PumpPaste(window); }

enum ConnectionKind { kSerial = 0, kNetbios = 1, kTelnet = 2 };

// Installs the transport of a connection type (not owned); null puts back the stand-in, which
// reports that the transport is not available yet.
void SetTransport(int comType, Transport* transport);
// The transport of a connection type, or null for an unknown type.
Transport* TransportFor(int comType);
