#include "connections/tn3270_records.h"

#include <cstdlib>
#include <cstring>

#include "connections/ring_buffer.h"
#include "connections/session_services.h"
#include "connections/telnet_codes.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/ibm3270/outside_hooks.h"
#include "session/session_record.h"

namespace {

// The record buffer: bytes [processed, fill) are received 3270 data not yet consumed.
uint8_t* buffer = nullptr;
int capacity = 0;
int processed = 0;
int fill = 0;
int terminalTypeSent = 0;

// Room the output ring keeps for a doubled 255 or IAC EOR before the socket is written.
constexpr uint32_t kOutputReserve = 6;

struct Model {
    char typeDigit;
    char modelDigit;
    int rows;
    int columns;
};

Model ModelOf(int terminal3270) {
    static const int kSizes[4][2] = {{24, 80}, {32, 80}, {43, 80}, {27, 132}};
    if (terminal3270 < 16 || terminal3270 > 23) return {'8', '2', 24, 80};
    int model = (terminal3270 - 16) % 4;
    return {terminal3270 >= 20 ? '9' : '8', static_cast<char>('2' + model), kSizes[model][0],
            kSizes[model][1]};
}

bool Allocate() {
    if (buffer) return true;
    buffer = static_cast<uint8_t*>(std::malloc(kRecordBufferSize));
    if (!buffer) return false;
    capacity = kRecordBufferSize;
    processed = fill = 0;
    return true;
}

// Moves the unconsumed bytes to the start of the buffer.
void Compact() {
    if (processed == 0) return;
    std::memmove(buffer, buffer + processed, static_cast<std::size_t>(fill - processed));
    fill -= processed;
    processed = 0;
}

// Makes the buffer hold at least `needed` bytes, doubling up to the limit. False when it cannot.
bool Grow(int needed) {
    if (needed <= capacity) return true;
    if (needed > kRecordBufferLimit) return false;
    int size = capacity;
    while (size < needed) size *= 2;
    if (size > kRecordBufferLimit) size = kRecordBufferLimit;
    void* larger = std::realloc(buffer, static_cast<std::size_t>(size));
    if (!larger) return false;
    buffer = static_cast<uint8_t*>(larger);
    capacity = size;
    return true;
}

// Hands the collected bytes to the interpreter: a whole record, or, for a record longer than the
// buffer can grow to, a piece of it (the interpreter keeps its place within the record).
void Hand(ViewWindow window, int endOfRecord) {
    int n = fill - processed;
    int taken = Process3270Stream(window, buffer + processed, n, endOfRecord);
    if (taken < 0) taken = 0;
    processed += taken < n ? taken : n;
}

// Writes the network output ring to the socket (when the socket takes writes).
void Flush() { FlushTelnetOutput(nullptr); }

void Put(const uint8_t* bytes, uint32_t n) { ring_put_bytes(NetOutRing, bytes, n); }

}  // namespace

void Tn3270Reset() {
    Set3270Geometry(24, 80);
    Tn3270State.AltRows3270 = 24;
    Tn3270State.AltColumns3270 = 80;
    terminalTypeSent = 0;
    Allocate();
    processed = fill = 0;
    Reset3270State();
}

int SetTn3270TerminalType() {
    Model model = ModelOf(Rec->Terminal3270);
    terminalTypeSent = 1;
    Tn3270State.AltRows3270 = model.rows;
    Tn3270State.AltColumns3270 = model.columns;
    Set3270Geometry(24, 80);
    const uint8_t reply[16] = {tn::IAC, tn::SB, tn::TTYPE, tn::IS, 'I', 'B', 'M', '-', '3', '2', '7',
                               static_cast<uint8_t>(model.typeDigit), '-',
                               static_cast<uint8_t>(model.modelDigit), tn::IAC, tn::SE};
    TraceTelnetSuboption('>', reply + 2, 14);
    if (ring_free_count(NetOutRing) < sizeof(reply)) Flush();
    if (ring_free_count(NetOutRing) >= sizeof(reply)) Put(reply, sizeof(reply));
    return 1;
}

void Tn3270ModeCheck() {
    TelnetEngineState& telnet = TelnetState();
    uint8_t binary = telnet.options[tn::BINARY];
    // A session switched away from 3270 keeps its old answer until the next reset: no 3270 data then.
    if (Rec->TerminalFamily3270 && terminalTypeSent && (binary & kMyWantWill) && (binary & kMyWantDo)) {
        if (!telnet.tn3270Mode) {
            telnet.tn3270Mode = 1;
            Init3270Screen();
        }
    } else {
        telnet.tn3270Mode = 0;
    }
}

int Tn3270Receive(ViewWindow window) {
    uint32_t waiting = ring_data_count(NetInRing);
    if (waiting == 0) return 0;
    if (Allocate()) {
        int needed = fill + static_cast<int>(waiting);
        if (needed >= capacity && processed != 0) Compact();
        if (fill + static_cast<int>(waiting) >= capacity) Grow(fill + static_cast<int>(waiting) + 1);
    }
    // Collection makes its own room, so the receiver always runs: a record that does not fit even
    // the largest buffer is handed over in pieces rather than left in the ring.
    TelnetReceive(window);
    return ring_data_count(NetInRing) != waiting ? 1 : 0;
}

void Tn3270StoreData(ViewWindow window, const uint8_t* bytes, int n) {
    if (!Allocate()) return;
    while (n > 0) {
        if (fill == capacity) {
            Compact();
            if (fill == capacity && !Grow(capacity + 1)) {
                Hand(window, 0);
                Compact();
                if (fill == capacity) processed = fill = 0;  // nothing consumable: drop the piece
            }
        }
        int room = capacity - fill;
        int k = n < room ? n : room;
        std::memcpy(buffer + fill, bytes, static_cast<std::size_t>(k));
        fill += k;
        bytes += k;
        n -= k;
    }
}

void Tn3270EndOfRecord(ViewWindow window) {
    if (!buffer) return;
    if (processed == fill) {
        processed = fill = 0;
        return;
    }
    Hand(window, 1);
}

int Send3270Record(const uint8_t* data, int n, int endOfRecord) {
    int left = n > 0 ? n : 0;
    while (left > 0) {
        if (ring_free_count(NetOutRing) < kOutputReserve) Flush();
        uint32_t room = ring_free_count(NetOutRing);
        // Keep two bytes for IAC EOR on the last piece, so the end is never left unsent.
        if (endOfRecord) room = room > 2 ? room - 2 : 0;
        if (room < 2) break;  // the socket takes nothing now: the caller keeps the rest
        uint32_t k = static_cast<uint32_t>(left) < room ? static_cast<uint32_t>(left) : room;
        const void* iac = std::memchr(data, tn::IAC, k);
        uint32_t plain = iac ? static_cast<uint32_t>(static_cast<const uint8_t*>(iac) - data) : k;
        Put(data, plain);
        data += plain;
        left -= static_cast<int>(plain);
        if (iac) {
            if (plain + 2 > room) continue;  // no room for IAC IAC in this round
            const uint8_t doubled[2] = {tn::IAC, tn::IAC};
            Put(doubled, 2);
            ++data;
            --left;
        }
    }
    if (endOfRecord && left == 0) {
        if (ring_free_count(NetOutRing) < 2) Flush();
        if (ring_free_count(NetOutRing) >= 2) {
            const uint8_t eor[2] = {tn::IAC, tn::EOR};
            Put(eor, 2);
        }
        Flush();
    }
    return n - left;
}

void Tn3270FreeBuffer() {
    std::free(buffer);
    buffer = nullptr;
    capacity = processed = fill = 0;
}

Tn3270RecordView Tn3270Records() { return {buffer, capacity, processed, fill, terminalTypeSent}; }

void Install3270Hooks()
{
    Tn3270Hooks.sendRecord = Send3270Record;
    Tn3270Hooks.hotScreenEvaluate = [] { Services().HotScreenEvaluate(); };
}
