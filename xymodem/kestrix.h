// Kestrix: XMODEM and YMODEM transfers on Pexla ports.
//
// Every function takes the Pexla port (1..100) first, except the size functions. Kestrix.dll
// exports them by ordinal (see kestrix.def); callers bind them by ordinal.
#pragma once

#include <cstdint>

#include "pexla.h"

#define KESTRIX_API extern "C"

#pragma pack(push, 1)
// The parameters a caller sets before each transfer, as one packed 17-byte block.
struct XYModemParms {
    int32_t xmodemTime;  // time-out base in 100 ms; 20 picks the time-out from the baud rate
    int32_t maxErrors;   // consecutive errors that end a transfer
    uint8_t padChar;     // pad of short blocks, and the byte YMODEM/STRIP removes
    int32_t retries;     // kept and returned only
    int32_t forceLow;    // 1: a true-YMODEM send uses 128-byte blocks
};
#pragma pack(pop)
static_assert(sizeof(XYModemParms) == 17, "parameter block layout");

// Results of the step and whole-transfer functions.
enum XYStepResult : int32_t {
    kXYGoOn = 5,
    kXYComplete = 1,
    kXYCancelled = 4,
    kXYFailed = -1,
};

// Codes a worker thread reports through Pexla.
enum XYThreadStatus : int32_t {
    kXYThreadStarted = 10000,
    kXYThreadComplete = 10001,
    kXYThreadFailed = 10002,
    kXYThreadCancelled = 10003,
};

// Parameters
KESTRIX_API int ComGetXYModemParms(int port, XYModemParms* parms);            // 1
KESTRIX_API int ComSetXYModemParms(int port, const XYModemParms* parms);      // 10
KESTRIX_API int ComSetXYModemParmXmodemTime(int port, int value);             // 47 = 28
KESTRIX_API int ComSetXYMaxerrors(int port, int value);                       // 50
KESTRIX_API int ComSetXYPadchar(int port, int value);                         // 48
KESTRIX_API int ComSetXYRetries(int port, int value);                         // 49
KESTRIX_API int ComSetXYForceLow(int port, int value);                        // 64
KESTRIX_API int ComGetXYModemParmXmodemTime(int port);                        // 52 = 51
KESTRIX_API int ComGetXYMaxerrors(int port);                                  // 55
KESTRIX_API int ComGetXYRetries(int port);                                    // 54
KESTRIX_API int ComGetXYPadchar(int port);                                    // 53
KESTRIX_API int ComSetXYDebugFile(int port, const char* file);                // 46
KESTRIX_API const char* ComGetXYDebugFile(int port);                          // 45

// Start and step
KESTRIX_API int CInitRcvPktTxfr(int port, const char* path, const char* mode);       // 38 = 14
KESTRIX_API int CInitSndPktTxfr(int port, const char* files, const char* mode);      // 43 = 19
KESTRIX_API int ComSXY_Start_List(int port, PexlaFileList* list, const char* mode);  // 56
KESTRIX_API int ComRXY_Next(int port, const char* mode);                             // 15
KESTRIX_API int ComSXY_Next(int port, const char* mode);                             // 17
KESTRIX_API int CRecvXPkt(int port);                                                 // 34
KESTRIX_API int CRecvXCPkt(int port);                                                // 35
KESTRIX_API int CRecvYPkt(int port);                                                 // 36
KESTRIX_API int CRecvYTPkt(int port);                                                // 37
KESTRIX_API int CSendXPkt(int port);                                                 // 39
KESTRIX_API int CSendXCPkt(int port);                                                // 40
KESTRIX_API int CSendYPkt(int port);                                                 // 41
KESTRIX_API int CSendYTPkt(int port);                                                // 42

// The exported aliases, for code linked with the engines directly.
inline int ComRXY_Start(int port, const char* path, const char* mode) { return CInitRcvPktTxfr(port, path, mode); }
inline int ComSXY_Start(int port, const char* files, const char* mode) { return CInitSndPktTxfr(port, files, mode); }

// Ending a transfer
KESTRIX_API int ComRXY_Abort(int port);    // 16 = 18
KESTRIX_API int CTermXYPkt(int port);      // 44
KESTRIX_API int ComRXY_Cancel(int port);   // 57 = 58

// Whole transfers in one call
KESTRIX_API int ComRecvX(int port, const char* path);    // 2
KESTRIX_API int ComRecvXC(int port, const char* path);   // 3
KESTRIX_API int ComRecvY(int port, const char* path);    // 4
KESTRIX_API int ComRecvYT(int port, const char* path);   // 5
KESTRIX_API int ComSendX(int port, const char* files);   // 6
KESTRIX_API int ComSendXC(int port, const char* files);  // 7
KESTRIX_API int ComSendY(int port, const char* files);   // 8
KESTRIX_API int ComSendYT(int port, const char* files);  // 9
KESTRIX_API int CRecvX(int port, const char* path);      // 20
KESTRIX_API int CRecvXC(int port, const char* path);     // 21
KESTRIX_API int CRecvY(int port, const char* path);      // 22
KESTRIX_API int CRecvYT(int port, const char* path);     // 23
KESTRIX_API int CSendX(int port, const char* files);     // 24
KESTRIX_API int CSendXC(int port, const char* files);    // 25
KESTRIX_API int CSendY(int port, const char* files);     // 26
KESTRIX_API int CSendYT(int port, const char* files);    // 27

// Worker threads
KESTRIX_API int ComRXY_Thread(int port, const char* path, const char* mode);              // 61
KESTRIX_API int ComSXY_Thread(int port, const char* files, const char* mode);             // 59
KESTRIX_API int ComSXY_List_Thread(int port, PexlaFileList* list, const char* mode);      // 60
KESTRIX_API int ComXY_Thread_ABORT(int port);                                              // 62
KESTRIX_API int ComXY_Thread_Priority(int port, int level);                                // 63

// Sizes
KESTRIX_API int ComSizeX(const char* path);                 // 11
KESTRIX_API int ComSizeY(const char* path);                 // 12
KESTRIX_API int ComSizeA(const char* path, int blockSize);  // 13
