// One port's Kermit transfer: its state, the packet exchange with the other side (sending,
// listening with time-outs, retries) and the ways a transfer ends. The receive and send
// engines (kermit_receive.cpp, kermit_send.cpp) step it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drosk.h"
#include "kermit_files.h"
#include "kermit_init.h"
#include "kermit_packet.h"

namespace drosk {

enum class Phase {
    Idle,
    RecvInit,   // waiting for the sender's S (after our R for a Get)
    RecvFile,   // waiting for F (next file) or B (end)
    RecvOpen,   // the file's name is known: open it, then acknowledge the F
    RecvData,   // A, D and Z of the current file
    SendInit,   // our S is out
    SendFile,   // our F is out
    SendAttr,   // our A is out
    SendData,   // a D is out
    SendEof,    // our Z is out
    SendBreak,  // our B is out
    Done,
    Failed,
};

struct Transfer {
    int port = 0;
    DroskParms parms{};
    PexlaPortStatus* status = nullptr;
    Phase phase = Phase::Idle;
    bool sending = false;
    int result = kDroskGoOn;  // the step result once the transfer has ended

    // The exchange.
    PacketReader reader;
    Framing framing;
    int checkType = 1;
    InitFields ours;
    Agreement agreed;
    int seq = 0;                      // receive: the one we expect; send: the one that is out
    std::vector<uint8_t> lastFrame;   // the last packet we sent, as it went out
    std::vector<uint8_t> lastAck;     // receiving: our last ACK, and the packet it answered
    int lastAckSeq = -1;
    uint32_t deadline = 0;
    uint32_t lastInput = 0;           // when the last bytes arrived
    int waitSeconds = 1;
    int tries = 0;
    int tryLimit = 1;

    // The current file, and the size its sender announced (-1: none).
    KmFile* file = nullptr;
    std::string path;
    int64_t announcedSize = -1;
    bool announcedText = false;  // the attributes said the file is text
    int64_t received = 0;

    // Sending: the list, the next name, bytes read ahead and those in the packet that is out.
    PexlaFileList* list = nullptr;
    int listIndex = 0;
    std::vector<uint8_t> ahead;
    size_t aheadStart = 0;
    size_t inFlight = 0;
    bool atEnd = false;
    bool skipRest = false;  // the receiver asked to stop the whole batch
    int staleAckSeq = -1;   // a packet sent twice: its second ACK is expected and ignored

    ~Transfer();
};

// What one listen brought.
enum class Heard { Nothing, Packet, Damaged, TimedOut, Aborted };

// Sets up the port's status block and the exchange for a new transfer.
void BeginTransfer(Transfer& t);
// Sends a packet and restarts the time-out; checkType 0 uses the one in effect.
void SendPacket(Transfer& t, int seq, char type, const std::vector<uint8_t>& data,
                int checkType = 0);
// Sends the last packet again and restarts the time-out.
void Resend(Transfer& t);
// Waits a short while for a packet; TimedOut once the time-out has passed without one.
Heard Listen(Transfer& t, Packet* p);
// One listen of a step: true with a packet other than an error packet to handle. Otherwise
// *result is the step's result: go on after nothing, what trouble() answers to a time-out or a
// damaged packet, the end after an abort or the other side's error packet.
bool ListenStep(Transfer& t, Packet* p, int (*trouble)(Transfer&), int* result);
// Counts a retry: true while more are allowed; when they run out the transfer has failed.
bool Retry(Transfer& t);
// A new packet was answered well: the retries start again.
void Progressed(Transfer& t, int limit);

// Endings: each returns the step result.
int Fail(Transfer& t, int code, const char* message);     // tells the other side with an E
int RemoteError(Transfer& t, const Packet& p);            // the other side sent an E
int Cancel(Transfer& t);                                  // the line failed
int CancelByCaller(Transfer& t);                          // the caller aborted
int Complete(Transfer& t);

// Closes the current file; a received file that is not complete (or could not be written out)
// is removed. True when a complete file was closed well.
bool CloseCurrent(Transfer& t, bool complete);

void Log(const Transfer& t, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// The receive and send engines.
int StartReceive(Transfer& t, const char* remoteName);  // null for a plain receive
int ReceiveStep(Transfer& t);
int StartSend(Transfer& t, const char* fileNames);
int SendStep(Transfer& t);

}  // namespace drosk
