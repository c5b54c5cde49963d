#include "connections/dde/dde_recorder.h"

#include <new>
#include <vector>

#include "connections/dde/dde_spooler.h"
#include "connections/dde/look_for.h"
#include "host_platform.h"
#include "session/session_record.h"

namespace {

DdePokePort* pokePort = nullptr;
bool pokeInProgress = false;

std::vector<CLookFor*>* triggers = nullptr;
DdeSpooler* spooler = nullptr;

// Inserts a trigger at the head of the list; a trigger that cannot be made is left out.
void PushFront(const char* pattern, CAction* action) {
    CLookFor* trigger = new (std::nothrow) CLookFor(pattern, action);
    if (!trigger) {
        delete action;
        return;
    }
    triggers->insert(triggers->begin(), trigger);
}

}  // namespace

void SetDdePokePort(DdePokePort* port) { pokePort = port; }

int DdeClientStart() {
    CAction* start = new (std::nothrow) StartSpoolAction;
    CAction* stop = new (std::nothrow) StopSpoolAction;
    if (start && stop && !triggers) {
        triggers = new (std::nothrow) std::vector<CLookFor*>;
        if (triggers) {
            PushFront(Rec->DdeClientStartRecordOn, start);
            PushFront(Rec->DdeClientStopRecordOn, stop);
            start = stop = nullptr;
        }
    }
    delete start;
    delete stop;
    if (!spooler) spooler = new (std::nothrow) DdeSpooler;
    return spooler ? 1 : 0;
}

void DdeClientStop() {
    delete spooler;
    spooler = nullptr;
    if (triggers) {
        for (CLookFor* trigger : *triggers) delete trigger;
        delete triggers;
        triggers = nullptr;
    }
}

void DdeHostDataTap(const unsigned char* bytes, int count) {
    if (!triggers || !bytes) return;
    for (int i = 0; i < count; ++i) {
        // A trigger's action may poke, and a poke lets the message loop run; the recorder and the
        // list are read afresh for every byte.
        if (spooler && spooler->Recording()) spooler->Append(bytes[i]);
        if (!triggers) return;
        for (CLookFor* trigger : *triggers) trigger->Feed(bytes[i]);
    }
}

DdeSpooler* DdeRecorder() { return spooler; }

int DdePokeTo(const char* service, const char* topic, const char* item, const char* data, int size) {
    if (pokeInProgress) {
        Platform().ShowMessage(0, "dde reentrancy error");
        return 0;
    }
    pokeInProgress = true;
    int result = pokePort ? pokePort->Poke(service, topic, item, data, size) : 0;
    pokeInProgress = false;
    return result;
}
