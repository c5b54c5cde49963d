#include "kermit_transfer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "kermit_chars.h"
#include "tick_clock.h"

namespace drosk {
namespace {

// How long one listen waits for input before it hands control back to the caller.
constexpr int kListenSliceMs = 50;
// A packet that has begun and then stays silent this long has lost bytes: waiting for the
// whole time-out would gain nothing, as the other side waits for our answer.
constexpr uint32_t kPacketStallMs = 1000;
// How long a cancel waits for the packet the other side is about to send (see CancelByCaller).
constexpr uint32_t kCancelTurnMs = 2000;

void LogPacket(const Transfer& t, const char* dir, int seq, char type, const uint8_t* data,
               size_t n) {
    char text[72];
    size_t shown = n < sizeof text - 1 ? n : sizeof text - 1;
    for (size_t i = 0; i < shown; ++i) text[i] = data[i] >= 32 && data[i] < 127 ? data[i] : '.';
    text[shown] = 0;
    Log(t, "%s %c seq %d len %d %s", dir, type, seq, static_cast<int>(n), text);
}

}  // namespace

Transfer::~Transfer() {
    if (file) CloseCurrent(*this, false);
    if (list) PxFreeFileList(list);
}

void Log(const Transfer& t, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    PxDebugLine(t.port, line);
}

void BeginTransfer(Transfer& t) {
    PxResetCounters(t.port, 0);
    PxTransferStarting(t.port);
    PxSetFileOpen(t.port, 0);
    t.status = PxPortStatus(t.port);
    if (t.status) {
        t.status->fileName[0] = 0;
        t.status->fullPath[0] = 0;
        t.status->fileSize = 0;
        t.status->filesCompleted = 0;
        t.status->totalBytes = 0;
    }
    t.reader.SetMark(t.parms.startOfPacket);
    t.reader.Clear();
    t.framing = Framing{t.parms.startOfPacket, 13, 0, 0};
    t.checkType = 1;
    t.ours = OurFields(t.parms);
    t.seq = 0;
    t.waitSeconds = t.parms.initialTimeout;
    t.tries = 0;
    t.tryLimit = t.parms.initialRetries;
}

void SendPacket(Transfer& t, int seq, char type, const std::vector<uint8_t>& data,
                int checkType) {
    LogPacket(t, ">", seq & 63, type, data.data(), data.size());
    t.lastFrame = FramePacket(t.framing, seq, type, data.data(), data.size(),
                              checkType ? checkType : t.checkType);
    Resend(t);
}

void Resend(Transfer& t) {
    if (!t.lastFrame.empty())
        PxSendBlock(t.port, t.lastFrame.data(), static_cast<int>(t.lastFrame.size()));
    t.deadline = pexla::Clock().Now() + static_cast<uint32_t>(t.waitSeconds) * 1000u;
}

Heard Listen(Transfer& t, Packet* p) {
    uint8_t buffer[1024];
    for (int round = 0; round < 2; ++round) {
        RawPacket raw;
        for (;;) {
            PacketReader::Event e = t.reader.Next(&raw);
            if (e == PacketReader::Event::None) break;
            if (e == PacketReader::Event::Damaged) {
                Log(t, "< damaged packet");
                return Heard::Damaged;
            }
            // The Send-Init exchange, and a repeated S, always carry the one-character check.
            const bool initial = t.phase == Phase::RecvInit || t.phase == Phase::SendInit;
            if (VerifyPacket(raw, initial ? 1 : t.checkType, p) ||
                ((raw.type == 'S' || raw.type == 'E' || raw.type == 'N') && VerifyPacket(raw, 1, p))) {
                LogPacket(t, "<", p->seq, p->type, p->data.data(), p->data.size());
                return Heard::Packet;
            }
            Log(t, "< %c seq %d: block check failed", raw.type, raw.seq);
            return Heard::Damaged;
        }
        int got = PxReadAvailable(t.port, buffer, sizeof buffer);
        if (got <= 0 && round == 0) {
            got = PxReadTimed(t.port, buffer, 1, kListenSliceMs);
            if (got < 0) return Heard::Aborted;
            if (got > 0) {
                int more = PxReadAvailable(t.port, buffer + 1, sizeof buffer - 1);
                if (more > 0) got += more;
            }
        }
        if (got > 0) {
            t.reader.Feed(buffer, static_cast<size_t>(got));
            t.lastInput = pexla::Clock().Now();
        }
    }
    if (t.reader.InPacket() && pexla::Clock().Now() - t.lastInput > kPacketStallMs) {
        Log(t, "< packet cut short");
        t.reader.DropPartial();
        return Heard::Damaged;
    }
    if (!pexla::TickBefore(pexla::Clock().Now(), t.deadline)) {
        Log(t, "time-out after %d s", t.waitSeconds);
        return Heard::TimedOut;
    }
    return Heard::Nothing;
}

bool ListenStep(Transfer& t, Packet* p, int (*trouble)(Transfer&), int* result) {
    switch (Listen(t, p)) {
        case Heard::Nothing:
            *result = kDroskGoOn;
            return false;
        case Heard::Aborted:
            *result = Cancel(t);
            return false;
        case Heard::Damaged:
        case Heard::TimedOut:
            *result = trouble(t);
            return false;
        case Heard::Packet:
            break;
    }
    if (p->type != 'E') return true;
    *result = RemoteError(t, *p);
    return false;
}

bool Retry(Transfer& t) {
    ++t.tries;
    if (t.status) ++t.status->errorsReported;
    if (t.tries < t.tryLimit) return true;
    Fail(t, kDroskErrRetries, "Too many retries");
    return false;
}

void Progressed(Transfer& t, int limit) {
    t.tries = 0;
    t.tryLimit = limit;
}

bool CloseCurrent(Transfer& t, bool complete) {
    if (!t.file) return false;
    const bool written = CloseFile(t.file);
    const bool removeIt = !t.sending && (!complete || !written);
    t.file = nullptr;
    if (removeIt) {
        Log(t, "incomplete file removed: %s", t.path.c_str());
        RemoveFile(t.path.c_str());
    }
    return complete && written;
}

namespace {

int End(Transfer& t, int code, int result) {
    CloseCurrent(t, false);
    if (t.status) t.status->lastError = code;
    t.phase = Phase::Failed;
    t.result = result;
    PxSetFileOpen(t.port, 0);
    return result;
}

void SendError(Transfer& t, const char* message) {
    std::vector<uint8_t> text(message, message + std::strlen(message));
    SendPacket(t, t.seq, 'E', text);
}

}  // namespace

int Fail(Transfer& t, int code, const char* message) {
    Log(t, "transfer failed (%d): %s", code, message);
    SendError(t, message);
    return End(t, code, kDroskFailed);
}

int RemoteError(Transfer& t, const Packet& p) {
    std::vector<uint8_t> text;
    DecodeData(t.agreed.in, p.data.data(), p.data.size(), text);
    text.push_back(0);
    Log(t, "the other side ended the transfer: %s", reinterpret_cast<const char*>(text.data()));
    return End(t, kDroskErrRemote, kDroskFailed);
}

int Cancel(Transfer& t) {
    if (t.phase == Phase::Done || t.phase == Phase::Failed || t.phase == Phase::Idle) {
        t.result = kDroskCancelled;
        return kDroskCancelled;
    }
    Log(t, "transfer cancelled");
    SendError(t, "Transfer cancelled");
    return End(t, kDroskErrAborted, kDroskCancelled);
}

// Kermit peers clear their input before they send a packet, so an error packet that reaches them
// while their next packet is on the way is thrown away, and they wait for an answer until their
// retries run out (minutes). Mid-transfer it is always the other side's turn after our last
// packet: the cancel waits briefly for its packet and answers that with the error packet.
int CancelByCaller(Transfer& t) {
    if (t.phase == Phase::Done || t.phase == Phase::Failed || t.phase == Phase::Idle) return Cancel(t);
    const uint32_t until = pexla::Clock().Now() + kCancelTurnMs;
    Packet p;
    while (pexla::TickBefore(pexla::Clock().Now(), until)) {
        const Heard heard = Listen(t, &p);
        if (heard != Heard::Nothing) break;
    }
    return Cancel(t);
}

int Complete(Transfer& t) {
    Log(t, "transfer complete");
    t.phase = Phase::Done;
    t.result = kDroskComplete;
    return kDroskComplete;
}

}  // namespace drosk
