// The DDE client side of a session: the trigger strings watched on every received block, the
// recorder they drive, and the guarded poke that hands a finished recording (or a HotScreen DDE
// action's text) to another application. The DDE conversation itself is made by a DdePokePort
// that the Win32 layer installs.
#pragma once

#include <cstddef>

class DdeSpooler;

// Makes one DDE poke: connect to service|topic, poke `size` bytes of CF_TEXT data to item,
// disconnect. Returns 1 when the partner accepted the poke.
class DdePokePort {
public:
    virtual ~DdePokePort() = default;
    virtual int Poke(const char* service, const char* topic, const char* item, const char* data,
                     int size) = 0;
};
// Installs the port (not owned); null: pokes reach nobody and fail.
void SetDdePokePort(DdePokePort* port);

// Creates the triggers (the stop string first in the list, then the start string, both from the
// session record) and the recorder. Returns 1 when the recorder exists.
int DdeClientStart();
// Destroys the recorder (an unfinished recording is dropped without a poke) and the triggers.
void DdeClientStop();

// Every block received from the host, before the emulation sees it: each byte is recorded (while
// recording) and then fed to every trigger. Does nothing before DdeClientStart.
void DdeHostDataTap(const unsigned char* bytes, int count);

// The recorder, or null.
DdeSpooler* DdeRecorder();

// Pokes through the installed port; 1 when the partner accepted it. A poke while another is in
// progress (the synchronous transaction lets the message loop run) is refused with the message
// "dde reentrancy error" and gives 0.
int DdePokeTo(const char* service, const char* topic, const char* item, const char* data, int size);
