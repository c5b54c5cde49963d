#include "engine/ibm3270/inbound_records.h"

#include <initializer_list>
#include <vector>

#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/orders.h"
#include "engine/ibm3270/outside_hooks.h"

namespace {

// The assembly bytes; Tn3270State.OutboundSent .. OutboundFill are unsent.
std::vector<uint8_t> assembly;

// Whether the record still queued ends with end-of-record once it is sent.
int queuedEndOfRecord = 0;

// The attention record of AidPending has been built (and is queued or gone).
bool attentionBuilt = false;

bool IsShortReadAid(int aid)
{
    return aid == kAidPa1 || aid == kAidPa2 || aid == kAidPa3 || aid == kAidClear;
}

void AppendAddress(int address)
{
    uint8_t code[2];
    Encode3270Address(address, code);
    Append3270Inbound(code[0]);
    Append3270Inbound(code[1]);
}

// Appends cells [from, to) (no wrap past the buffer end is asked for) without their nulls: a run of
// nulls followed by a byte is sent as that many blanks; trailing nulls are dropped.
void AppendData(int from, int count)
{
    const uint8_t* ebcdic = Ebcdic3270();
    int nulls = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t byte = ebcdic[Wrap3270(from + i)];
        if (byte == 0) {
            ++nulls;
            continue;
        }
        for (; nulls > 0; --nulls) Append3270Inbound(0x40);
        Append3270Inbound(byte);
    }
}

void AppendModifiedFields(bool withAddresses, bool withData)
{
    const int size = Tn3270State.BufferSize;
    const uint8_t* prot = Attributes3270();
    int first = -1;
    for (int a = 0; a < size; ++a)
        if (prot[a] >= kFaMarker) {
            first = a;
            break;
        }
    if (first < 0) {
        AppendData(0, size);
        return;
    }
    int field = first;
    do {
        const int next = Next3270Field(field);
        if ((prot[field] & 0xC1) == 0xC1) {
            const int start = Wrap3270(field + 1);
            if (withAddresses) {
                Append3270Inbound(kOrderSBA);
                AppendAddress(start);
            }
            if (withData) {
                int length = next - field - 1;
                if (length < 0) length += size;
                AppendData(start, length);
            }
        }
        field = next;
    } while (field != first);
}

}  // namespace

int Inbound3270Queued() { return Tn3270State.OutboundFill - Tn3270State.OutboundSent; }

void Append3270Inbound(uint8_t byte)
{
    if (Inbound3270Queued() >= kInboundBufferSize) Flush3270Inbound(0);
    if (Tn3270State.OutboundSent == Tn3270State.OutboundFill) {
        assembly.clear();
        Tn3270State.OutboundSent = Tn3270State.OutboundFill = 0;
    }
    assembly.push_back(byte);
    Tn3270State.OutboundFill = static_cast<int>(assembly.size());
}

int Flush3270Inbound(int endOfRecord)
{
    Tn3270Globals& s = Tn3270State;
    if (s.OutboundFill > static_cast<int>(assembly.size())) s.OutboundFill = static_cast<int>(assembly.size());
    const int waiting = s.OutboundFill - s.OutboundSent;
    if (waiting <= 0 && !endOfRecord) return 1;
    int taken = Tn3270Hooks.sendRecord(assembly.data() + s.OutboundSent, waiting > 0 ? waiting : 0, endOfRecord);
    if (taken < 0) taken = 0;
    if (taken > waiting) taken = waiting > 0 ? waiting : 0;
    s.OutboundSent += taken;
    if (s.OutboundSent < s.OutboundFill) {
        queuedEndOfRecord = endOfRecord;
        return 0;
    }
    assembly.clear();
    s.OutboundSent = s.OutboundFill = 0;
    queuedEndOfRecord = 0;
    return 1;
}

void Resume3270Inbound()
{
    if (Inbound3270Queued() > 0) Flush3270Inbound(queuedEndOfRecord);
}

void Discard3270Inbound()
{
    assembly.clear();
    Tn3270State.OutboundSent = Tn3270State.OutboundFill = 0;
    queuedEndOfRecord = 0;
    attentionBuilt = false;
}

void Build3270Inbound(int command)
{
    const int aid = Tn3270State.PendingAid ? Tn3270State.PendingAid : kAidNone;
    const bool all = command == kCmdReadModifiedAll;
    const bool test = aid == kAidTest;
    if (test) {
        for (uint8_t b : {0x01, 0x6C, 0x61, 0x02}) Append3270Inbound(b);
    } else {
        Append3270Inbound(static_cast<uint8_t>(aid));
    }
    if (!IsShortReadAid(aid) || all) {
        if (!test || all) AppendAddress(Tn3270State.CursorAddress);
        AppendModifiedFields(!test || all, aid != kAidSelectorPen || all);
    }
    Flush3270Inbound(1);
}

void Send3270ReadBuffer()
{
    const int aid = Tn3270State.PendingAid ? Tn3270State.PendingAid : kAidNone;
    Append3270Inbound(static_cast<uint8_t>(aid));
    AppendAddress(Tn3270State.CursorAddress);
    const uint8_t* prot = Attributes3270();
    const uint8_t* ebcdic = Ebcdic3270();
    for (int a = 0; a < Tn3270State.BufferSize; ++a) {
        if (prot[a] >= kFaMarker) {
            Append3270Inbound(kOrderSF);
            Append3270Inbound(kAddressCodes[prot[a] & 0x3F]);
        } else {
            Append3270Inbound(ebcdic[a]);
        }
    }
    Flush3270Inbound(1);
}

int Send3270PendingRecord()
{
    Tn3270Globals& s = Tn3270State;
    int done;
    if (attentionBuilt) {
        done = Flush3270Inbound(queuedEndOfRecord);
    } else {
        attentionBuilt = true;
        if (s.HookedRecord >= 0 && s.HookedRecord == s.RecordCounter) {
            Append3270Inbound(static_cast<uint8_t>(s.PendingAid ? s.PendingAid : 0xE8));
            Flush3270Inbound(1);
        } else {
            Build3270Inbound(kCmdReadModified);
        }
        done = Inbound3270Queued() == 0;
    }
    if (done) {
        s.AidPending = 0;
        attentionBuilt = false;
    }
    return done;
}
