// The pseudo-blocking layer. Sockets never block: a call that would block waits here in short
// slices, and between slices the host's message pump runs, so the client's window stays alive
// (Abort, timers, progress, painting). A wait ends when the socket is ready, when Abort cancels it,
// or when the session's time-out passes, which cancels the call as Abort does.
#pragma once

#include <cstddef>

#include "ftp_net.h"

enum FtpWaitResult : int { kWaitReady = 0, kWaitCancelled = 1, kWaitTimedOut = 2, kWaitFailed = 3, kWaitWatched = 4 };

// Waits until `s` is ready; timeoutMs <= 0 waits without a limit. When `watch` is a socket, the
// wait also ends (kWaitWatched) as soon as it has something to read.
int ftp_wait(FtpSocket s, NetWait what, int timeoutMs, FtpSocket watch = kNoSocket);

// Outcome of the waiting socket calls below: >= 0 bytes (0: the peer closed the stream),
// kIoFailed with the error number in *error, kIoCancelled after Abort or the time-out.
constexpr long kIoFailed = -1;
constexpr long kIoCancelled = -2;
long ftp_recv_wait(FtpSocket s, void* bytes, std::size_t count, bool peek, int timeoutMs, int* error);
// Sends every byte (or fails); returns count, kIoFailed or kIoCancelled.
long ftp_send_wait(FtpSocket s, const void* bytes, std::size_t count, int timeoutMs, int* error);
// How the wait for a data connection ended.
enum class AcceptEnd { kAccepted, kFailed, kCancelled, kControlSpoke };
// Accepts one connection on a listener into *accepted (its peer in *peer). While it waits the
// control connection is watched: a reply there, or its end, means the server gave up on the
// data connection, and the wait ends at once (kControlSpoke). kFailed leaves the error number in
// *error; kCancelled follows Abort or the time-out.
AcceptEnd ftp_accept_wait(FtpSocket listener, FtpSocket control, int timeoutMs, FtpSocket* accepted, NetAddress* peer,
                          int* error);
// Runs the host's pump when it has not run for a while (long loops that never wait).
void ftp_pump_now_and_then();
