#include "connections/netbios_ncb.h"

#include <cstdlib>
#include <cstring>

Ncb* NewNcb(uint8_t command, uint8_t lana) {
    Ncb* ncb = static_cast<Ncb*>(std::calloc(1, sizeof(Ncb)));
    if (!ncb) return nullptr;
    ncb->command = command;
    ncb->lanaNum = lana;
    return ncb;
}

void FreeNcb(Ncb* ncb) {
    if (!ncb) return;
    if (ncb->platformRecord && ncb->releasePlatformRecord) ncb->releasePlatformRecord(ncb->platformRecord);
    std::free(ncb->buffer);
    std::free(ncb);
}

int NcbLayer::Submit(ViewWindow window, unsigned message, unsigned flags, Ncb* ncb) {
    ncb->event = nullptr;
    if ((ncb->command & kNcbNoWait) && (flags & kTrackNoWait)) {
        int slot = -1;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (used_ >= kTableSize) return -1;
            for (int i = 0; i < kTableSize; ++i) {
                if (!table_[i].ncb) {
                    slot = i;
                    break;
                }
            }
            table_[slot] = {ncb, window, message};
            ++used_;
        }
        ncb->layer = this;
        ncb->post = &NcbLayer::PostRoutine;
        int code = platform_.Submit(ncb);
        if (code != kNrcGood) {
            // Refused: the platform never calls the post routine for it.
            std::lock_guard<std::mutex> guard(lock_);
            if (table_[slot].ncb == ncb) {
                table_[slot] = {};
                --used_;
            }
        }
        return code;
    }
    int code = platform_.Submit(ncb);
    if (flags & kPostAfterWait) platform_.PostCompletion(window, message, ncb->command, ncb);
    return code;
}

void NcbLayer::PostRoutine(Ncb* ncb) {
    if (ncb && ncb->layer) ncb->layer->Complete(ncb);
}

void NcbLayer::Complete(Ncb* ncb) {
    Entry entry = {};
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (Entry& e : table_) {
            if (e.ncb == ncb) {
                entry = e;
                e = {};
                --used_;
                break;
            }
        }
    }
    if (entry.ncb) platform_.PostCompletion(entry.window, entry.message, ncb->command, ncb);
}

int NcbLayer::Outstanding() {
    std::lock_guard<std::mutex> guard(lock_);
    return used_;
}

// A waiting command: submitted, its code taken, the NCB freed. Waiting commands take the code
// that the platform's call returns (the platform does not always write it into the NCB).
int NcbLayer::Wait(Ncb* ncb) {
    int code = Submit(nullptr, 0, 0, ncb);
    FreeNcb(ncb);
    return code;
}

int NcbLayer::Present(uint8_t lana) {
    Ncb* ncb = NewNcb(kNcbNoSuchCommand, lana);
    return ncb ? Wait(ncb) : kNrcNoMemory;
}

int NcbLayer::Reset(uint8_t lana) {
    Ncb* ncb = NewNcb(kNcbReset, lana);
    if (!ncb) return kNrcNoMemory;
    ncb->lsn = 0;
    ncb->callname[0] = 20;  // sessions
    ncb->callname[2] = 30;  // names
    return Wait(ncb);
}

int NcbLayer::AdapterStatus(uint8_t lana, uint8_t* buffer, int* length, const char* name) {
    Ncb* ncb = NewNcb(kNcbAdapterStatus, lana);
    if (!ncb) return kNrcNoMemory;
    int size = *length > 0 ? (*length < 0xFFFF ? *length : 0xFFFF) : 0;
    ncb->buffer = static_cast<uint8_t*>(std::calloc(1, size ? static_cast<std::size_t>(size) : 1));
    if (!ncb->buffer) {
        FreeNcb(ncb);
        return kNrcNoMemory;
    }
    ncb->length = static_cast<uint16_t>(size);
    std::size_t nameLength = std::strlen(name);
    std::memcpy(ncb->callname, name, nameLength < 16 ? nameLength : 16);
    int code = Submit(nullptr, 0, 0, ncb);
    int returned = ncb->length < size ? ncb->length : size;
    *length = returned;
    if (code == kNrcGood || code == kNrcIncomplete)
        std::memcpy(buffer, ncb->buffer, static_cast<std::size_t>(returned));
    FreeNcb(ncb);
    return code;
}

int NcbLayer::AddName(uint8_t lana, const uint8_t name[16], uint8_t* nameNumber, uint8_t flags) {
    Ncb* ncb = NewNcb(flags == kGroupName ? kNcbAddGroupName : kNcbAddName, lana);
    if (!ncb) return kNrcNoMemory;
    std::memcpy(ncb->name, name, 16);
    int code = Submit(nullptr, 0, 0, ncb);
    if (code == kNrcGood && nameNumber) *nameNumber = ncb->num;
    FreeNcb(ncb);
    return code;
}

int NcbLayer::Call(ViewWindow window, uint8_t lana, const uint8_t local[16], const uint8_t call[16],
                   uint8_t receiveTimeout, uint8_t sendTimeout, uint8_t* session) {
    Ncb* ncb = NewNcb(kNcbCall, lana);
    if (!ncb) return kNrcNoMemory;
    std::memcpy(ncb->name, local, 16);
    std::memcpy(ncb->callname, call, 16);
    ncb->rto = receiveTimeout;
    ncb->sto = sendTimeout;
    int code = Submit(window, 0, 0, ncb);
    *session = ncb->lsn;
    FreeNcb(ncb);
    return code;
}

int NcbLayer::SendNoWait(ViewWindow window, uint8_t lana, const uint8_t* bytes, int n, uint8_t session,
                         unsigned message) {
    Ncb* ncb = NewNcb(kNcbSend | kNcbNoWait, lana);
    if (!ncb) return kNrcNoMemory;
    ncb->buffer = static_cast<uint8_t*>(std::malloc(n > 0 ? static_cast<std::size_t>(n) : 1));
    if (!ncb->buffer) {
        FreeNcb(ncb);
        return kNrcNoMemory;
    }
    if (n > 0) std::memcpy(ncb->buffer, bytes, static_cast<std::size_t>(n));
    ncb->length = static_cast<uint16_t>(n);
    ncb->lsn = session;
    int code = Submit(window, message, kTrackNoWait, ncb);
    if (code == -1) code = kNrcNotSubmitted;
    if (code != kNrcGood) FreeNcb(ncb);
    return code;
}

int NcbLayer::ReceiveNoWait(ViewWindow window, uint8_t lana, int n, uint8_t session, unsigned message) {
    Ncb* ncb = NewNcb(kNcbReceive | kNcbNoWait, lana);
    if (!ncb) return kNrcNoMemory;
    ncb->buffer = static_cast<uint8_t*>(std::calloc(1, static_cast<std::size_t>(n)));
    if (!ncb->buffer) {
        FreeNcb(ncb);
        return kNrcNoMemory;
    }
    ncb->length = static_cast<uint16_t>(n);
    ncb->lsn = session;
    int code = Submit(window, message, kTrackNoWait, ncb);
    if (code == -1) code = kNrcNotSubmitted;
    if (code != kNrcGood) FreeNcb(ncb);
    return code;
}

int NcbLayer::HangUp(uint8_t lana, uint8_t session) {
    Ncb* ncb = NewNcb(kNcbHangUp, lana);
    if (!ncb) return kNrcNoMemory;
    ncb->lsn = session;
    return Wait(ncb);
}
