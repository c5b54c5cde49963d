// Halvet: ZMODEM file transfers on Pexla ports.
//
// A transfer is a start call followed by step calls: each step does a bounded amount of work on
// the port (reads what the line offers within a short wait, answers, writes a window of data)
// and returns, so that the caller can keep its windows alive between steps. Progress is shown
// through the port's Pexla status block: file name (ordinal 45), bytes (55), packets (56),
// retries (57), size (61) and last error (58); while a received file's local name may still be
// chosen, Pexla 174 is nonzero and Pexla 171 imposes one.
//
// Halvet.dll exports these functions by ordinal only (see halvet.def); the ordinal is written
// beside each declaration.
#pragma once

#include <cstdint>

#include "pexla.h"

#define HALVET_API extern "C"

// Results of the start and step calls.
enum HalvetResult : int32_t {
    kHvGoOn = 5,        // step again
    kHvComplete = 10,   // the whole transfer (every file of the batch) ended well
    kHvStarted = 12,    // a start call succeeded: step on
    kHvFailed = -1,     // the transfer ended in failure or was aborted; see Pexla 58 for why
};

// Last-error codes left in the port's status block (Pexla 58).
enum HalvetError : int32_t {
    kHvErrNone = 0,
    kHvErrReceiveOpen = 100,   // a received file could not be created or opened
    kHvErrAborted = 101,       // aborted by our side (abort call)
    kHvErrCancelled = 102,     // the other side cancelled (CAN sequence)
    kHvErrTimeout = 103,       // nothing usable came within the time-outs and retries
    kHvErrSendOpen = 104,      // a file to send could not be opened
    kHvErrWrite = 105,         // writing a received file failed
    kHvErrProtocol = 106,      // too many errors in a row
    kHvErrLine = 107,          // the port failed
    kHvErrSkipped = 108,       // the receiver skipped a file (the batch goes on)
};

// The protocol code that both start calls take.
constexpr int kHvZmodem = 1;

// Receive options (third argument of HvRecvStart).
constexpr int kHvRecvDebugLog = 0x20;   // write the debug log "zmodem.log"

// Send flags (fifth argument of HvSendStart).
constexpr int kHvEscapeControls = 0x01;   // escape every control character, not only the few needed
constexpr int kHvNoCrc32 = 0x04;          // 16-bit CRCs even when the receiver can check 32-bit ones
constexpr int kHvUnlink = 0x08;           // remove each file once it is sent completely
constexpr int kHvSendDebugLog = 0x40;     // write the debug log "zmodem.log"
constexpr int kHvBatch = 0x800;           // the file argument is a list text (names separated by blanks)

// File management asked of the receiver (second argument of HvSendStart).
enum HalvetManagement : int32_t {
    kHvManageNone = 0,
    kHvManageAppend = 1,
    kHvManageNewer = 2,          // send if the source is newer
    kHvManageNewerLonger = 3,    // send if the source is newer or longer
    kHvManageProtect = 4,        // skip when the destination exists
    kHvManageUpdate = 5,         // overwrite when it exists, else skip
    kHvManageOverwrite = 6,
};

// Conversion (third argument of HvSendStart): 7 + the setting.
enum HalvetConversion : int32_t {
    kHvConvText = 7,             // LF to CR/LF
    kHvConvBinary = 8,
    kHvConvResume = 9,           // resume an interrupted transfer
    kHvConvResumeCompare = 10,   // resume after the receiver has compared what both hold
};

// File-name option (fourth argument of HvSendStart); 0 is the same as kHvNameStrip.
enum HalvetNameOption : int32_t {
    kHvNameStrip = 11,        // send the name without its folder
    kHvNameDotToSlash = 12,   // the name without its folder, every '.' sent as '/'
    kHvNameFullPath = 13,     // the whole path, '\' sent as '/'
};

// Receive: protocol kHvZmodem; options kHvRecvDebugLog or 0. Files land in the current folder
// (or under the name imposed with Pexla 171). Returns kHvStarted, or kHvFailed.
HALVET_API int HvRecvStart(int port, int protocol, int options);                          // 2
HALVET_API int HvRecvNext(int port);                                                      // 3
// Ends a receive (or a send that could not start) with a cancel sequence; returns kHvFailed.
HALVET_API int HvRecvAbort(int port);                                                     // 4

// Send: management, conversion and name option as above; flags kHv* send flags; sub-packet
// length in bytes (0: 1024), acknowledge interval in bytes (0: none asked between windows),
// window size in bytes (0: no window), time-out in tenths of a second (0: 10 s); protocol
// kHvZmodem; files the list of names. Returns kHvStarted, or kHvFailed.
HALVET_API int HvSendStart(int port, int management, int conversion, int nameOption, int flags,
                           int subpacketLength, int ackLength, int windowSize, int timeout,
                           int protocol, const char* files);                              // 6
HALVET_API int HvSendNext(int port);                                                      // 7
HALVET_API int HvSendAbort(int port);                                                     // 8
