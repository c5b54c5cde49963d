// Drosk: Kermit file transfers on Pexla ports.
//
// Every function takes the Pexla port (1..100) first. A transfer is a Start call followed by
// Next calls, each of which does a bounded amount of work (at most one packet exchanged, or a
// short wait for one) and returns a step result. Progress is kept in the port's Pexla status
// block (file name, bytes, packets, retries, size, last error), where the caller reads it.
// Drosk.dll exports these functions by ordinal only (see drosk.def); callers bind them by
// ordinal.
#pragma once

#include <cstdint>

#include "pexla.h"

#define DROSK_API extern "C"

#pragma pack(push, 1)
// The parameters of a port's transfers, one packed block of 66 bytes (ints are 4 bytes,
// little-endian, unaligned).
struct DroskParms {
    int32_t initialRetries;   //  0: tries of the first exchange (Send-Init, Get request)
    int32_t packetRetries;    //  4: tries of every later packet
    int32_t imageMode;        //  8: 1 files are binary, 0 text (the file type announced)
    int32_t quote8;           // 12: 8th-bit prefixing: 0 no, 1 if the other side asks, 2 always
    int32_t repeatOn;         // 16: run-length (repeat) compression offered
    int32_t initialTimeout;   // 20: seconds to wait during the first exchange
    uint8_t startOfPacket;    // 24: the mark that begins every packet
    int32_t packetLength;     // 25: longest packet we accept, at most 94
    int32_t timeout;          // 29: seconds the other side should wait for us
    int32_t padCount;         // 33: pad characters we need before each packet
    uint8_t padChar;          // 37
    uint8_t eol;              // 38: the character that ends packets sent to us
    char quoteChar;           // 39: control prefix
    char quote8Char;          // 40: 8th-bit prefix
    char checkType;           // 41: block check: 0 one character, 1 two, 2 16-bit CRC
    char repeatChar;          // 42: repeat prefix
    int32_t longPacketLength; // 43: 95..9024 to offer long packets, 0 for none
    int32_t windowSize;       // 47: kept and returned; transfers run one packet at a time
    uint8_t callerData[15];   // 51: the caller's own bytes, kept and returned unchanged
};
#pragma pack(pop)
static_assert(sizeof(DroskParms) == 66, "parameter block layout");

// Step results of the Start, Next and Abort calls.
enum DroskStepResult : int32_t {
    kDroskGoOn = 5,
    kDroskComplete = 1,
    kDroskCancelled = 4,
    kDroskFailed = -1,
};

// Codes left in the port's last-error field (Pexla ordinal 58).
enum DroskError : int32_t {
    kDroskErrRetries = 101,     // a packet was not answered within the retries
    kDroskErrRemote = 102,      // the other side sent an error packet
    kDroskErrProtocol = 103,    // an unexpected packet
    kDroskErrSendOpen = 104,    // a file to send cannot be opened or read
    kDroskErrRecvOpen = 105,    // the file to receive cannot be created
    kDroskErrWrite = 106,       // writing the received file failed
    kDroskErrAborted = 107,     // the caller aborted the transfer
    kDroskErrFileName = 108,    // the sender's file name was refused
    kDroskErrSize = 110,        // a received file's length differs from the size announced
};

DROSK_API int KmSetDebugFile(int port, const char* name);         // 27: "" for none
DROSK_API int KmGetParms(int port, DroskParms* block);            // 19
DROSK_API int KmSetParms(int port, const DroskParms* block);      // 44: 1, or -1 when refused
DROSK_API int KmReceiveStart(int port);                           // 21
DROSK_API int KmGetStart(int port, const char* remoteName);       // 50
DROSK_API int KmReceiveNext(int port);                            // 22
DROSK_API int KmSendStart(int port, const char* fileNames);       // 45: names split by blanks
DROSK_API int KmSendNext(int port);                               // 47
DROSK_API int KmAbort(int port);                                  // 23: both directions
