#include "ftp_wait.h"

#include <chrono>

#include "ftp_api.h"
#include "ftp_log.h"
#include "ftp_session.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSliceMs = 20;
constexpr auto kPumpEvery = std::chrono::milliseconds(30);

Clock::time_point g_lastPump;

void Pump()
{
    g_lastPump = Clock::now();
    if (Ftp().host != nullptr)
        Ftp().host->Pump();
}

}  // namespace

void ftp_pump_now_and_then()
{
    if (Clock::now() - g_lastPump >= kPumpEvery)
        Pump();
}

int ftp_wait(FtpSocket s, NetWait what, int timeoutMs, FtpSocket watch)
{
    FtpSessionState& ftp = Ftp();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (ftp.cancelRequest) {
            ftp.cancelRequest = 0;
            ftp_log_printf("[%u] Cancelled blocking call", static_cast<unsigned>(s));
            return kWaitCancelled;
        }
        const int ready = ftp.net->Wait(s, what, kSliceMs);
        if (ready < 0)
            return kWaitFailed;
        if (ready > 0) {
            ftp_pump_now_and_then();
            // A message handled by the pump may have asked to abort.
            if (ftp.cancelRequest)
                continue;
            return kWaitReady;
        }
        if (watch != kNoSocket && ftp.net->Wait(watch, NetWait::Read, 0) != 0)
            return kWaitWatched;
        Pump();
        if (timeoutMs > 0 && Clock::now() >= deadline) {
            ftp.abortFlag = 1;
            if (ftp.transferError == 0)
                ftp.transferError = kFtpTimeout;
            ftp_log_printf("[%u] timed out after %d ms", static_cast<unsigned>(s), timeoutMs);
            return kWaitTimedOut;
        }
    }
}

long ftp_recv_wait(FtpSocket s, void* bytes, std::size_t count, bool peek, int timeoutMs, int* error)
{
    FtpNet& net = *Ftp().net;
    for (;;) {
        const long n = net.Recv(s, bytes, count, peek);
        if (n >= 0)
            return n;
        const int err = net.LastError();
        if (err != kNetWouldBlock && err != kNetInterrupted) {
            *error = err;
            return kIoFailed;
        }
        const int w = ftp_wait(s, NetWait::Read, timeoutMs);
        if (w == kWaitFailed) {
            *error = net.LastError();
            return kIoFailed;
        }
        if (w != kWaitReady) {
            *error = w == kWaitTimedOut ? kNetTimedOut : kNetInterrupted;
            return kIoCancelled;
        }
    }
}

long ftp_send_wait(FtpSocket s, const void* bytes, std::size_t count, int timeoutMs, int* error)
{
    FtpNet& net = *Ftp().net;
    const char* p = static_cast<const char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const long n = net.Send(s, p + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        const int err = n < 0 ? net.LastError() : kNetWouldBlock;
        if (err != kNetWouldBlock && err != kNetInterrupted) {
            *error = err;
            return kIoFailed;
        }
        const int w = ftp_wait(s, NetWait::Write, timeoutMs);
        if (w == kWaitFailed) {
            *error = net.LastError();
            return kIoFailed;
        }
        if (w != kWaitReady) {
            *error = w == kWaitTimedOut ? kNetTimedOut : kNetInterrupted;
            return kIoCancelled;
        }
    }
    return static_cast<long>(done);
}

AcceptEnd ftp_accept_wait(FtpSocket listener, FtpSocket control, int timeoutMs, FtpSocket* accepted, NetAddress* peer,
                          int* error)
{
    FtpNet& net = *Ftp().net;
    *accepted = kNoSocket;
    for (;;) {
        *accepted = net.Accept(listener, peer);
        if (*accepted != kNoSocket)
            return AcceptEnd::kAccepted;
        const int err = net.LastError();
        if (err != kNetWouldBlock && err != kNetInterrupted) {
            *error = err;
            return AcceptEnd::kFailed;
        }
        const int w = ftp_wait(listener, NetWait::Read, timeoutMs, control);
        if (w == kWaitWatched) {
            // A connection that came with the reply is still taken.
            *accepted = net.Accept(listener, peer);
            return *accepted != kNoSocket ? AcceptEnd::kAccepted : AcceptEnd::kControlSpoke;
        }
        if (w == kWaitFailed) {
            *error = net.LastError();
            return AcceptEnd::kFailed;
        }
        if (w != kWaitReady) {
            *error = w == kWaitTimedOut ? kNetTimedOut : kNetInterrupted;
            return AcceptEnd::kCancelled;
        }
    }
}
