// The file-transfer driver: runs one Kermit, X/YMODEM or ZMODEM transfer over the session's
// connection on a Pexla virtual port whose reads and writes come back through the connection
// dispatch, as a start call followed by step calls from a loop that pumps window messages, with
// the progress in the status bar. One transfer at a time, on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

// Operation codes (also the end codes of the Start Async Filetransfer dialog).
constexpr int kTransferReceive = 3210;
constexpr int kTransferSend = 3211;
constexpr int kTransferGet = 3214;
constexpr int kTransferAbort = 3215;
constexpr int kTransferFinishServer = 3275;
// View commands: start a receive (posted by the auto-start detector), and the transfer dialog.
constexpr unsigned kStartReceiveCommandId = 32832;
constexpr unsigned kKermitTransferCommandId = 32831;

// The driver's state, one per process.
struct TransferState {
    int port = -1;              // the Pexla port of the transfer, -1 when none
    bool portOpen = false;
    int lastError = 0;          // the first error of the current transfer; -1 when it did not
                                // start or was aborted
    bool abortRequested = false;  // set by the transfer dialog's "Abort transfer"
    bool debugLog = false;      // the libraries write their debug logs
    uint32_t startTick = 0;
    // The names of the next transfer (kept with the session document's other strings).
    std::string sendFiles, receiveFile, remoteFile;
};
TransferState& Transfer();

// One whole transfer: 3210 receive, 3211 send, 3214 Kermit Get, 3275 finish the Kermit server.
// Does nothing while a transfer runs (and then reports the refusal as an error of its own).
void RunTransfer(int operation);
void TransferReceiveLoop(int port, int operation);
void TransferSendLoop(int port);
// The progress line; complete for the final one.
void TransferProgress(int port, bool complete);
// Reports a failure; code 0 asks the port for its last error (and a port without one gives -1);
// text null builds the text from the code.
void TransferError(int port, int code, const char* text);
// The view's window is going away: a port still open is closed.
void CloseTransferPortAtExit();

// The virtual port's six callbacks: each reaches the connection dispatch of the active view, and
// returns 0 when there is no view.
int TransferPortRead(int port, char* buffer, int length);
int TransferPortWrite(int port, const char* bytes, int length);
int TransferPortInCount(int port);
int TransferPortOutCount(int port);
void TransferPortFlushIn(int port);
void TransferPortFlushOut(int port);

// Whether the transfer dialog's command and "start receive" are available (connected, and the
// transfer type allows asynchronous transfers on this connection).
bool TransferCommandsEnabled();
