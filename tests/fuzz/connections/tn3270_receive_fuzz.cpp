// Host bytes through the tn3270 record layer in reads of varying size: negotiation, records with
// IAC EOR, doubled IACs, records longer than the record buffer. Keystrokes between reads send
// inbound records back through the same layer. The record buffer's positions must stay ordered and
// inside the buffer; ASan watches the buffer and the planes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "engine/ibm3270/field_model.h"
#include "engine/screen_planes.h"
#include "session/session_record.h"

namespace {

void DropOutput(ViewWindow) { ring_discard(NetOutRing); }

void Check() {
    Tn3270RecordView r = Tn3270Records();
    if (r.processed < 0 || r.processed > r.fill || r.fill > r.capacity || r.capacity > kRecordBufferLimit)
        std::abort();
    const Tn3270Globals& s = Tn3270State;
    if (s.BufferSize < 1 || s.BufferSize > kScreenCells || s.CursorAddress < 0 || s.CursorAddress >= s.BufferSize)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        Rec->MaxRows = 24;
        Rec->MaxCols = 80;
        if (!AllocScreenBuffers()) std::abort();
        AllocTelnetRings();
        ready = true;
    }
    if (size < 3) return 0;
    Rec->TerminalFamily3270 = 1;
    Rec->Connected = 1;
    Rec->Charset3270 = 5;
    Rec->Terminal3270 = 16 + (data[0] & 7);
    SetTelnetOutputHook((data[0] & 8) ? DropOutput : nullptr);
    const int repeats = (data[0] & 0x80) ? 24 : 1;  // long records out of short inputs
    std::size_t piece = 1 + data[1] * 8;
    data += 2;
    size -= 2;
    ring_discard(NetInRing);
    ring_discard(NetOutRing);
    ring_discard(TermOutRing);
    Load3270State();
    TelnetInit();
    Install3270Hooks();
    Tn3270Reset();
    if (!(data[0] & 1)) {  // mostly start as after a completed negotiation
        Init3270Screen();
        TelnetState().tn3270Mode = 1;
    }
    static const uint8_t keys[] = {'x', 255, '%', '3', '2', 'e', 'n', 't', 'e', 'r', '%'};
    for (int round = 0; round < repeats; ++round) {
        for (std::size_t at = 0; at < size;) {
            std::size_t n = size - at < piece ? size - at : piece;
            uint32_t room = ring_free_count(NetInRing);
            if (n > room) n = room;
            ring_put_bytes(NetInRing, data + at, static_cast<uint32_t>(n));
            at += n;
            Tn3270Receive(nullptr);
            if (!ring_is_empty(NetInRing) && ring_free_count(NetInRing) == 0) std::abort();  // stalled
            Check();
            if (data[at - 1] == 0x7D) TelnetSend(nullptr, keys, sizeof(keys));
            ring_discard(NetOutRing);
        }
    }
    return 0;
}
