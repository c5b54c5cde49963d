// The one FTP session of the process: all the state that the engine, the API and the listing
// reader share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "ftp_host.h"
#include "ftp_net.h"

// Reply classes: the first digit of the code, plus the engine's own 6 (aborted) and 0 (no valid
// reply, or nothing sent).
enum FtpReplyClass : int {
    kReplyNone = 0,
    kReplyPrelim = 1,
    kReplyComplete = 2,
    kReplyContinue = 3,
    kReplyRetry = 4,
    kReplyError = 5,
    kReplyAborted = 6,
};

// The longest reply line kept; the rest of a longer line is read and dropped.
constexpr std::size_t kMaxReplyLine = 4000;
// The longest command line sent, CR LF not counted; a longer one is refused, never cut.
constexpr std::size_t kMaxCommandLine = 512;

struct FtpSessionState {
    FtpNet* net = nullptr;
    FtpHost* host = nullptr;

    FtpSocket control = kNoSocket;
    FtpSocket listener = kNoSocket;
    FtpSocket data = kNoSocket;
    int loggedIn = 0;
    int busy = 0;
    int replyDepth = 0;
    int lastCode = 0;
    std::string replyText;
    int crTerminated = 0;
    int abortFlag = 0;
    int hostType = 0;
    int hostTypeDetected = 0;
    char currentType = 'A';
    int timeoutMs = 60000;
    int verbose = 0;
    int debug = 0;
    int beep = 1;
    NetAddress localControl;
    // The server's address (the control connection's peer): data connections must come from it.
    std::uint32_t serverIp = 0;
    std::string user;
    std::string password;
    std::uintptr_t progressWindow = 0;
    unsigned progressMessage = 0;
    std::int64_t bytesTotal = 0;
    std::int64_t bytesDone = 0;
    int listingActive = 0;
    int translate = 0;
    int avoidZero = 0;
    // The server announced UTF8 in FEAT: its file names are UTF-8 (converted by the host).
    int utf8 = 0;

    // One operation (log-on, command, listing, transfer) at a time; QUIT and Abort still pass.
    int operationActive = 0;
    // A waiting socket call is cancelled once (Abort, the time-out); the abort flag stays.
    int cancelRequest = 0;
    // FtpAbort was called during the running operation (an abort that is not the user's is a
    // failure: the server closed the connection, a send failed).
    int userAbort = 0;
    // Why the running transfer failed on the local side, in the data stream or by the time-out
    // (an API result code, 0 when it did not).
    int transferError = 0;
    // Port that replaces every other choice when non-zero (the start-up's override).
    int portOverride = 0;
    int started = 0;

    // Listing files and their reader.
    std::string tempDir = ".";
    std::string listingPattern;
    std::string listingFile;
    int listingCounter = 0;
    int retainListings = 0;
    std::FILE* listingReader = nullptr;
    std::string listingMask;
    int listingWantDirs = 0;
    std::size_t listingPendingColumn = 0;
    std::string listingLine;
};

FtpSessionState& Ftp();
// Puts the session back to its initial state (the program's start; tests).
void ResetFtpSession();
