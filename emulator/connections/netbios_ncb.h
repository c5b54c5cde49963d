// The NCB layer of the NetBIOS transport: one wrapper per command, the submission with its table
// of outstanding no-wait commands, and the post routine that hands each completion to the
// terminal view as a window message. The platform's Netbios call is reached through
// NetbiosPlatform, so the layer also runs against a simulated submitter.
#pragma once

#include <cstdint>
#include <mutex>

#include "engine/engine_types.h"

// The fields of a network control block that the transport uses.
struct Ncb;
using NcbPost = void (*)(Ncb* ncb);

struct Ncb {
    uint8_t command;
    uint8_t retcode;
    uint8_t lsn;
    uint8_t num;
    uint8_t* buffer;
    uint16_t length;
    uint8_t callname[16];
    uint8_t name[16];
    uint8_t rto;
    uint8_t sto;
    NcbPost post;
    uint8_t lanaNum;
    uint8_t cmdCplt;
    void* event;
    class NcbLayer* layer;  // the layer whose table holds this NCB while it is outstanding
    // The platform's own record of the command, released with the NCB (the platform may still
    // touch it just after the completion).
    void* platformRecord;
    void (*releasePlatformRecord)(void* record);
};

// NetBIOS commands and return codes used here.
enum : uint8_t {
    kNcbCall = 0x10,
    kNcbHangUp = 0x12,
    kNcbSend = 0x14,
    kNcbReceive = 0x15,
    kNcbAddName = 0x30,
    kNcbReset = 0x32,
    kNcbAdapterStatus = 0x33,
    kNcbAddGroupName = 0x36,
    kNcbNoSuchCommand = 0x7F,
    kNcbNoWait = 0x80,
};
enum : int {
    kNrcGood = 0x00,
    kNrcIllegalCommand = 0x03,
    kNrcIncomplete = 0x06,
    kNrcSessionClosed = 0x0A,
    kNrcDuplicateName = 0x0D,
    kNrcSessionAborted = 0x18,
    kNrcEnvironmentNotDefined = 0x34,
    kNrcNotSubmitted = 0x50,  // ours: the outstanding table is full
    kNrcNoMemory = 0x66,      // ours: no memory for the NCB or its buffer
};
constexpr uint8_t kGroupName = 0x80;

// The status record of ADAPTER STATUS and its name entries.
constexpr int kAdapterStatusSize = 60;
constexpr int kNameBufferSize = 18;
constexpr int kMaxSessionPacketOffset = 56;
constexpr int kNameCountOffset = 58;

class NetbiosPlatform {
public:
    virtual ~NetbiosPlatform() = default;
    // The platform's Netbios call. An accepted no-wait command later calls ncb->post, possibly on
    // another thread and before Submit has returned.
    virtual uint8_t Submit(Ncb* ncb) = 0;
    // Posts (message, wParam = command, lParam = ncb) to the window.
    virtual void PostCompletion(ViewWindow window, unsigned message, unsigned command, Ncb* ncb) = 0;
    // The computer's name, at most 15 characters and a terminator.
    virtual void ComputerName(char name[16]) = 0;
    // Scroll Lock is on.
    virtual bool ScrollLockOn() = 0;
    // A message box with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const char* text) = 0;
};

// NCBs and their data buffers come from here; both zero-filled.
Ncb* NewNcb(uint8_t command, uint8_t lana);
void FreeNcb(Ncb* ncb);  // frees the data buffer too

class NcbLayer {
public:
    static constexpr int kTableSize = 10;
    static constexpr unsigned kPostAfterWait = 1;
    static constexpr unsigned kTrackNoWait = 2;

    explicit NcbLayer(NetbiosPlatform& platform) : platform_(platform) {}

    // Submits an NCB; a no-wait command with kTrackNoWait goes through the outstanding table
    // (-1 when the table is full). Returns the platform's code.
    int Submit(ViewWindow window, unsigned message, unsigned flags, Ncb* ncb);
    // The platform's completion of a no-wait command.
    static void PostRoutine(Ncb* ncb);
    int Outstanding();

    int Present(uint8_t lana);
    int Reset(uint8_t lana);
    // Copies the status into buffer only on code 0 or 6; the returned length is always written.
    int AdapterStatus(uint8_t lana, uint8_t* buffer, int* length, const char* name);
    int AddName(uint8_t lana, const uint8_t name[16], uint8_t* nameNumber, uint8_t flags);
    int Call(ViewWindow window, uint8_t lana, const uint8_t local[16], const uint8_t call[16],
             uint8_t receiveTimeout, uint8_t sendTimeout, uint8_t* session);
    int SendNoWait(ViewWindow window, uint8_t lana, const uint8_t* bytes, int n, uint8_t session,
                   unsigned message);
    int ReceiveNoWait(ViewWindow window, uint8_t lana, int n, uint8_t session, unsigned message);
    int HangUp(uint8_t lana, uint8_t session);

private:
    struct Entry {
        Ncb* ncb;
        ViewWindow window;
        unsigned message;
    };
    void Complete(Ncb* ncb);
    int Wait(Ncb* ncb);

    NetbiosPlatform& platform_;
    std::mutex lock_;
    Entry table_[kTableSize] = {};
    uint16_t used_ = 0;
};
