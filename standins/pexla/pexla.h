// Pexla: the serial-communications layer under Kestrix and Tolvi's transfer driver.
//
// Ports are numbered 1..100. A port is either a real serial port opened on a COM handle or a
// virtual port whose reads and writes go through six functions the caller installs. Beside the
// byte stream each port carries what a file transfer shares with its caller: the port status
// block (file name, byte and block counts, errors), the shown and target file names, a debug log
// and the worker-thread status codes. Pexla.dll exports every function below by ordinal only;
// the ordinal is written beside each declaration.
#pragma once

#include <cstdint>

// Callers bind these through an import library that names ordinals only (see pexla.def).
#define PEXLA_API extern "C"
#define PEXLA_CALL

constexpr int kPexlaMaxPort = 100;
constexpr int kPexlaPathSize = 260;

#pragma pack(push, 1)
// The status block of a port, shared between the transfer library and the caller's progress line.
struct PexlaPortStatus {
    char fileName[kPexlaPathSize];   // 0: current file name (empty before a file is known)
    uint8_t reserved1[2];            // 260
    int32_t fileBytes;               // 262: bytes transferred of the current file
    int32_t fileBlocks;              // 266: blocks transferred of the current file
    int32_t fileSize;                // 270: size of the current file, 0 when unknown
    uint16_t blockSize;              // 274: 128 or 1024
    uint16_t errorsReported;         // 276
    int32_t lastError;               // 278: code of the last error reported
    int32_t filesCompleted;          // 282
    int32_t headersReceived;         // 286
    int32_t totalBytes;              // 290: bytes transferred in all
    int32_t spare;                   // 294: cleared when a transfer starts
    uint8_t reserved2[2];            // 298
    char fullPath[kPexlaPathSize];   // 300: full path of the current file
};
#pragma pack(pop)
static_assert(sizeof(PexlaPortStatus) == 560, "status block layout");

// A list of file names made from a list text (ordinal 168).
struct PexlaFileList {
    int count;
    char** names;
};

// What a port's owner learns about its thread (ordinal 222).
struct PexlaPortInfo {
    int32_t noWorkerThreads;  // 1: no transfer worker thread may run on this port
    void* portThread;         // the port's own thread, null when it has none
};

// The six functions behind a virtual port; each gets the port number first.
typedef int(PEXLA_CALL* PexlaReadFn)(int port, char* buffer, int length);
typedef int(PEXLA_CALL* PexlaWriteFn)(int port, const char* bytes, int length);
typedef int(PEXLA_CALL* PexlaCountFn)(int port);
typedef void(PEXLA_CALL* PexlaFlushFn)(int port);

// Results of the timed read besides a byte count.
constexpr int kPexlaAborted = -4;       // the user asked to abort while waiting
constexpr int kPexlaAbortedRest = -1;   // the same, while reading the rest of a block

// --- ports ---
PEXLA_API int PEXLA_CALL PxOpenVirtual(int index, int inSize, int outSize);                   // 301
PEXLA_API int PEXLA_CALL PxCloseVirtual(int port);                                            // 302
PEXLA_API int PEXLA_CALL PxClosePort(int port);                                               // 265
PEXLA_API int PEXLA_CALL PxSetReadFn(int port, PexlaReadFn fn);                               // 308
PEXLA_API int PEXLA_CALL PxSetWriteFn(int port, PexlaWriteFn fn);                             // 315
PEXLA_API int PEXLA_CALL PxSetInCountFn(int port, PexlaCountFn fn);                           // 313
PEXLA_API int PEXLA_CALL PxSetOutCountFn(int port, PexlaCountFn fn);                          // 314
PEXLA_API int PEXLA_CALL PxSetFlushInFn(int port, PexlaFlushFn fn);                           // 306
PEXLA_API int PEXLA_CALL PxSetFlushOutFn(int port, PexlaFlushFn fn);                          // 307
// Opens a real port on an open serial handle; returns the port number (negative on failure).
PEXLA_API int PEXLA_CALL PxOpenComPort(const char* kind, int portNumber, int baud, int dataBits,
                                       int parity, int stopBits, int inSize, int outSize,
                                       void* handle);                                          // 153

// --- line ---
PEXLA_API int PEXLA_CALL PxPurge(int port);                                                   // 5
PEXLA_API int PEXLA_CALL PxSendByte(int port, int byte);                                      // 9
PEXLA_API int PEXLA_CALL PxSendText(int port, const char* text);                              // 10
PEXLA_API int PEXLA_CALL PxSendBlock(int port, const void* data, int length);                 // 22
PEXLA_API int PEXLA_CALL PxReadAvailable(int port, void* buffer, int count);                  // 11
PEXLA_API int PEXLA_CALL PxReadTimed(int port, void* buffer, int count, int milliseconds);    // 12
PEXLA_API int PEXLA_CALL PxInCount(int port);                                                 // 21
PEXLA_API int PEXLA_CALL PxBaudRate(int port);                                                // 86
PEXLA_API int PEXLA_CALL PxPause(int port, int milliseconds);                                 // 161
PEXLA_API int PEXLA_CALL PxLineRecovery(int port, int how);                                   // 156
PEXLA_API int PEXLA_CALL PxBeginReceive(int port, int startByte);                             // 99

// --- abort test ---
PEXLA_API int PEXLA_CALL PxPollKey(int port);                                                 // 43
PEXLA_API int PEXLA_CALL PxIsAbortKey(int port, int key);                                     // 63

// --- transfer state ---
PEXLA_API PexlaPortStatus* PEXLA_CALL PxPortStatus(int port);                                 // 45
PEXLA_API int PEXLA_CALL PxCurrentPath(int port, char* buffer);                               // 59
PEXLA_API int PEXLA_CALL PxResetPort(int port);                                               // 75
PEXLA_API int PEXLA_CALL PxResetCounters(int port, int how);                                  // 128
PEXLA_API int PEXLA_CALL PxTransferStarting(int port);                                        // 141
PEXLA_API int PEXLA_CALL PxSetShownName(int port, const char* name);                          // 171
PEXLA_API int PEXLA_CALL PxTargetPath(int port, char* buffer);                                // 172
PEXLA_API int PEXLA_CALL PxSetFileOpen(int port, int open);                                   // 173
PEXLA_API int PEXLA_CALL PxNameWanted(int port);                                              // 174
PEXLA_API int PEXLA_CALL PxFileNameShort(int port, char* buffer);                             // 36
PEXLA_API int PEXLA_CALL PxBytes(int port);                                                   // 55
PEXLA_API int PEXLA_CALL PxBlocks(int port);                                                  // 56
PEXLA_API int PEXLA_CALL PxRetries(int port);                                                 // 57
PEXLA_API int PEXLA_CALL PxLastError(int port);                                               // 58
PEXLA_API int PEXLA_CALL PxFileSizeGiven(int port);                                           // 61
PEXLA_API PexlaPortInfo* PEXLA_CALL PxPortInfo(int port);                                     // 222
PEXLA_API uint32_t PEXLA_CALL PxOpenTick(int port);                                           // 229

// --- memory, files, checks ---
PEXLA_API void* PEXLA_CALL PxAllocContext(int port, int size);                                // 182
PEXLA_API int PEXLA_CALL PxFreeContext(int port, void* memory);                               // 181
PEXLA_API PexlaFileList* PEXLA_CALL PxMakeFileList(int reserved, const char* text);           // 168
PEXLA_API int PEXLA_CALL PxFreeFileList(PexlaFileList* list);                                 // 167
PEXLA_API int PEXLA_CALL PxFileExists(const char* path);                                      // 211
PEXLA_API int PEXLA_CALL PxFileSize(const char* path);                                        // 224
PEXLA_API int PEXLA_CALL PxBlockCount(const char* path, int blockSize);                       // 62
PEXLA_API uint16_t PEXLA_CALL PxCrc16(const void* data, int length);                          // 213
PEXLA_API uint8_t PEXLA_CALL PxChecksum(const void* data, int length);                        // 215

// --- diagnostics and worker threads ---
PEXLA_API int PEXLA_CALL PxDebugOpen(int port, const char* file, const char* title);          // 284
PEXLA_API int PEXLA_CALL PxDebugLine(int port, const char* text);                             // 285
PEXLA_API int PEXLA_CALL PxThreadStatus(int port, int code);                                  // 291
// Copies up to max of the status codes reported on the port since it opened; returns how many.
PEXLA_API int PEXLA_CALL PxThreadStatusHistory(int port, int* codes, int max);                // 292
