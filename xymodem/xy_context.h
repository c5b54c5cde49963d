// The per-port transfer contexts of Kestrix: slot tables, lookup and release, the per-port
// locks, error counting and the debug log.
#pragma once

#include <cstdint>
#include <mutex>

#include "kestrix.h"
#include "xy_host.h"

namespace kestrix {

constexpr int kPacketBufferSize = 1100;

// ASCII controls of the protocols.
constexpr uint8_t SOH = 0x01, STX = 0x02, EOT = 0x04, ACK = 0x06, NAK = 0x15, CAN = 0x18;
constexpr uint8_t CRC_START = 'C';

// Mode codes kept in the context.
enum ModeCode : int32_t {
    kSendX = 1, kSendY = 2, kRecvX = 4, kRecvY = 5, kSendXC = 7, kRecvXC = 8, kSendT = 9, kRecvT = 10,
};

// Error codes of the shared error count.
enum XyError : int32_t {
    kErrBadStart = 1, kErrShortBlock = 3, kErrBlockNumber = 4, kErrChecksum = 5, kErrCrc = 6,
    kErrReadTimeout = 7, kErrWrite = 8, kErrNoResponse = 10, kErrNak = 11, kErrTargetOpen = 12,
};

// The state of one port's transfer; plain memory from Pexla, zeroed when made.
struct XferPortContext {
    PexlaFileList* sendList;
    char workerMode[5];
    void* workerThread;
    int32_t nextListIndex;
    PexlaPortStatus* status;
    XYModemParms parms;
    uint32_t deadline;
    int32_t blockNumber;
    int32_t totalErrors;
    int32_t errorsReported;
    int32_t consecutiveErrors;
    int32_t lastBlockFlag;
    uint8_t packet[2][kPacketBufferSize];
    int32_t lastControl;
    int32_t readTimeout;
    int32_t blockTimeout;
    int32_t sendState;
    XyFile* file;
    int32_t receivedStart;
    int32_t lastSenderByte;
    int32_t bytesDone;
    int32_t packetSize;
    int32_t blockLength[2];
    int32_t fileBytes[2];
    int32_t mode;
    int32_t strip;
    uint8_t startByte;
    int32_t firstByte;
    int32_t defaultsSet;
    int32_t waitingCount;
    int32_t afterEot;
    int32_t port;
    int32_t headerFlag;
    int32_t batchState;
    FileFacts sendFacts;
    int64_t recvSize;
    int32_t hasSize;
    int64_t recvTime;
    int32_t hasDate;
    // Send side: the buffer on the line, the last data block read from the file, and whether
    // the transfer waits for the receiver's first NAK or 'C'.
    int32_t current;
    int32_t preparedBlocks;
    int32_t startPending;
};

// The port's context, made with its defaults on first use; null when Pexla has not opened the
// port or the port is outside 1..100.
XferPortContext* GetContext(int port);
// The port's live context without making one; null when there is none.
XferPortContext* FindContext(int port);
// Ends the context: closes its file, frees its send list and memory. 1, or -1 without one.
int ReleaseContext(int port);
// True when the port's open flag is set (its context is in use).
bool PortInUse(int port);

// The lock held by every start, step, cancel and abort of a port's transfer. It lives as long
// as the library, so a release inside a step never deletes a lock that is held.
std::recursive_mutex& PortLock(int port);

// The debug log name a caller gave the port; kept apart from the context so that it outlives it.
const char* DebugFileName(int port);
void SetDebugFileName(int port, const char* name);

// The worker run flag of a port (1 while its worker may go on).
int& WorkerRunFlag(int port);

// One line of the port's debug log, printf-style.
void Log(const XferPortContext& c, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
// Logs 128 bytes as eight lines of sixteen.
void LogHexLines(const XferPortContext& c, const uint8_t* data);

// Counts an error; true when the consecutive count has reached Maxerrors.
bool CountError(XferPortContext& c, int code);
// A good block takes one consecutive error back.
void GoodBlock(XferPortContext& c);

// Copies a path into a 260-byte field, cut to fit.
void CopyPath(char* to, const char* from);

// Closes the context's open file, if any; true when there was one.
bool CloseFile(XferPortContext& c);

// Read and block time-outs from XmodemTime and the port's baud rate.
void SetTimeouts(XferPortContext& c);

// The cancel sequence: purge, line recovery, four CAN bytes.
void SendCancel(XferPortContext& c);

}  // namespace kestrix
