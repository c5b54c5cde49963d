// A NetBIOS connection against a simulated network whose adapter status and received blocks are
// the input: the adapter search and local-name choice read the status, then every RECEIVE
// completes with a code and a block that go through the receive consumers into a VT terminal.
//
// Input: byte 0 picks the network kind, a fixed adapter or the search, the display hold and the
// status code; byte 1 is the length of the adapter status that follows; the rest are completions
// of the outstanding RECEIVE: a code byte, a 16-bit little-endian length the adapter reports,
// and the block (the bytes that are left, up to that length and the buffer).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/netbios_session.h"
#include "connections/transport.h"
#include "session/session_record.h"
#include "term_feed.h"

namespace {

class SimulatedNetwork : public NetbiosPlatform {
public:
    uint8_t Submit(Ncb* ncb) override
    {
        uint8_t code = 0;
        switch (ncb->command) {
        case kNcbNoSuchCommand: code = ncb->lanaNum == 0 ? kNrcIllegalCommand : 0x23; break;
        case kNcbAdapterStatus: {
            if (ncb->lanaNum != 0) {
                code = 0x23;
                break;
            }
            const std::size_t n = status.size() < ncb->length ? status.size() : ncb->length;
            if (n) std::memcpy(ncb->buffer, status.data(), n);
            ncb->length = static_cast<uint16_t>(n);
            code = statusCode;
            break;
        }
        case kNcbCall: ncb->lsn = 3; break;
        case kNcbSend | kNcbNoWait:
        case kNcbReceive | kNcbNoWait: outstanding.push_back(ncb); break;
        default: break;
        }
        ncb->retcode = code;
        return code;
    }
    void PostCompletion(ViewWindow, unsigned, unsigned command, Ncb* ncb) override { posted.push_back({command, ncb}); }
    void ComputerName(char name[16]) override { std::strcpy(name, "FUZZPC"); }
    bool ScrollLockOn() override { return scrollLock; }
    bool AskOkCancel(const char*) override { return true; }

    // Completes the oldest outstanding command of the kind; false when none is outstanding.
    bool Complete(uint8_t command, uint8_t code, const uint8_t* bytes, std::size_t n, uint16_t reported)
    {
        for (auto it = outstanding.begin(); it != outstanding.end(); ++it) {
            Ncb* ncb = *it;
            if ((ncb->command & 0x7F) != command) continue;
            outstanding.erase(it);
            if (command == kNcbReceive) {
                const std::size_t room = NetbiosSession::kReceiveSize;
                if (n > room) n = room;
                if (n) std::memcpy(ncb->buffer, bytes, n);
                ncb->length = reported;
            }
            ncb->cmdCplt = code;
            ncb->post(ncb);
            return true;
        }
        return false;
    }
    void Deliver()
    {
        while (!posted.empty()) {
            const auto p = posted.front();
            posted.pop_front();
            NetbiosNcbDone(nullptr, p.first, p.second);
        }
    }
    void Drop()
    {
        Deliver();
        for (Ncb* ncb : outstanding) FreeNcb(ncb);
        outstanding.clear();
    }

    std::vector<uint8_t> status;
    uint8_t statusCode = 0;
    bool scrollLock = false;
    std::deque<Ncb*> outstanding;
    std::deque<std::pair<unsigned, Ncb*>> posted;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SimulatedNetwork net;
    if (size < 2) return 0;
    TermFeedSetup setup;
    setup.emulation = 10;
    if (!SetUpTerminal(setup)) std::abort();
    InstallNetbiosTransport(net);
    Rec->ComType = kNetbios;
    Rec->NetWork = 1 + (data[0] & 3);
    Rec->Lana = (data[0] & 4) ? 0 : 10;  // 10: search the adapters
    Rec->KeyMapHasHold = (data[0] & 8) ? 1 : 0;
    net.scrollLock = (data[0] & 0x10) != 0;
    net.statusCode = (data[0] & 0x20) ? kNrcIncomplete : kNrcGood;
    Rec->SendTimeout = 30;
    Rec->MaxTxBlock = 512;
    std::strcpy(Rec->HostName, "host");

    size_t at = 2;
    const size_t statusLength = data[1] < size - at ? data[1] : size - at;
    net.status.assign(data + at, data + at + statusLength);
    at += statusLength;

    if (OpenConnection(nullptr) == 1) {
        while (at < size && Rec->Connected) {
            const uint8_t c = data[at++];
            const uint8_t code = c < 0xC0 ? kNrcGood : c < 0xE0 ? kNrcIncomplete : c;
            uint16_t reported = 0;
            if (at + 2 <= size) reported = static_cast<uint16_t>(data[at] | data[at + 1] << 8);
            at = at + 2 <= size ? at + 2 : size;
            const size_t n = reported < size - at ? reported : size - at;
            if (!net.Complete(kNcbReceive, code, data + at, n, reported)) {
                // A held display leaves the RECEIVE out until the hold ends.
                net.scrollLock = false;
                RearmReceive(nullptr);
                if (!net.Complete(kNcbReceive, code, data + at, n, reported)) break;
            }
            at += n;
            net.Deliver();
            if (Rec->CursorRow < 0 || Rec->CursorRow >= Rec->MaxRows || Rec->CursorCol < 0 ||
                Rec->CursorCol >= Rec->MaxCols)
                std::abort();
        }
        CloseConnection(nullptr);
    }
    net.Drop();
    Rec->Connected = 0;
    return 0;
}
