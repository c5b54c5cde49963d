// One step of a file transfer by protocol: the Start, Next and Abort calls of Drosk (Kermit),
// Kestrix (X/YMODEM) and Halvet (ZMODEM), with each library's results brought to the codes the
// transfer loops read, and what a code means to a loop.
#pragma once

#include <string>

#include "connections/transfer_libraries.h"

enum TransferProtocol { kKermit = 0, kXmodem = 1, kXmodem1K = 2, kXmodemCrc = 3, kYmodem = 4, kZmodem = 5 };

// The step codes the loops read.
constexpr int kStepGoOn = 5;
constexpr int kStepStarted = 12;
constexpr int kStepDone = 1;
constexpr int kStepBatchDone = 10;
constexpr int kStepSendDone = 11;
constexpr int kStepCancelled = 4;
constexpr int kStepFailed = -1;

enum class StepOutcome { kGoOn, kDone, kFailed };

// The protocol's name ("Kermit", "X-Modem", ...), "" outside 0-5.
const char* ProtocolName(int protocol);
// The mode letter text passed to Kestrix ("X", "Y", "C", "T"; "X" for the others).
const char* ProtocolModeLetter(int protocol);
bool IsXYModem(int protocol);

// What the loops make of a code. A receive ends on 1 and 10, fails on -1 and 4, goes on with 5
// and 12; any other code fails the receive (it has no defined next step and must not hang it).
// A send ends on 1, 10 and 11, fails on -1 and 4, and goes on with any other code.
StepOutcome ReceiveOutcome(int code);
StepOutcome SendOutcome(int code);

// What a step needs besides the port.
struct TransferStepArgs {
    int protocol = kXmodem;
    std::string receiveFile;  // local name of a received file (may be empty)
    std::string remoteFile;   // the remote name of a Kermit Get
    std::string sendFiles;
    bool get = false;         // a Kermit Get instead of a receive
    bool debugLog = false;
    ZmodemSendOptions zmodem{};
};

// Start, next step and abort. A start that returns 1 is read as "go on"; a failed start has
// already been cleaned up with the library's abort (the Kermit send's abort packet is the
// caller's, see KermitSendStartFailed).
int StartReceive(TransferLibraries& libs, int port, const TransferStepArgs& args);
int NextReceive(TransferLibraries& libs, int port, const TransferStepArgs& args);
int AbortReceive(TransferLibraries& libs, int port, const TransferStepArgs& args);
int StartSend(TransferLibraries& libs, int port, const TransferStepArgs& args);
int NextSend(TransferLibraries& libs, int port, const TransferStepArgs& args);
int AbortSend(TransferLibraries& libs, int port, const TransferStepArgs& args);
