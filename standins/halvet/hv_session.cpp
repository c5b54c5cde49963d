// The shared half of a transfer: line input as frames, output, time-outs, status and log.
#include "hv_session.h"

#include <cstdarg>
#include <cstdio>

#include "tick_clock.h"

namespace halvet {

const char* FrameName(uint8_t type) {
    static const char* const names[] = {
        "ZRQINIT", "ZRINIT", "ZSINIT", "ZACK", "ZFILE", "ZSKIP", "ZNAK", "ZABORT", "ZFIN", "ZRPOS",
        "ZDATA", "ZEOF", "ZFERR", "ZCRC", "ZCHALLENGE", "ZCOMPL", "ZCAN", "ZFREECNT", "ZCOMMAND", "ZSTDERR"};
    return type <= kLastFrameType ? names[type] : "unknown";
}

Session::Session(int port, bool debugLog, const char* title) : port_(port), status_(PxPortStatus(port)) {
    in_.reserve(kStepReadBytes * 2);
    if (debugLog) log_ = PxDebugOpen(port, "zmodem.log", title) > 0;
    PxTransferStarting(port);
    PxResetCounters(port, 0);
    if (status_) {
        status_->fileName[0] = 0;
        status_->fileSize = 0;
        status_->filesCompleted = 0;
        status_->totalBytes = 0;
    }
}

Session::~Session() {
    if (log_) PxDebugOpen(port_, "", nullptr);
}

bool Session::Fill(int waitMs) {
    if (inPos_ >= in_.size()) {
        in_.clear();
        inPos_ = 0;
    } else if (inPos_ > kStepReadBytes) {
        in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(inPos_));
        inPos_ = 0;
    }
    if (in_.size() - inPos_ >= kStepReadBytes) return true;
    if (inPos_ == in_.size() && waitMs > 0) PxPause(port_, waitMs);
    size_t old = in_.size();
    in_.resize(old + kStepReadBytes);
    int got = PxReadAvailable(port_, in_.data() + old, static_cast<int>(kStepReadBytes));
    in_.resize(old + static_cast<size_t>(got > 0 ? got : 0));
    return got >= 0;
}

Decoder::Event Session::NextEvent() {
    Decoder::Event ev;
    while (inPos_ < in_.size()) {
        inPos_ += decoder_.Feed(in_.data() + inPos_, in_.size() - inPos_, ev);
        if (ev.kind != Decoder::Kind::None) return ev;
    }
    return ev;
}

int Session::CountInInput(uint8_t byte) const {
    int n = 0;
    for (size_t i = inPos_; i < in_.size(); ++i) n += in_[i] == byte;
    return n;
}

void Session::DropInput() {
    in_.clear();
    inPos_ = 0;
    decoder_.Reset();
    uint8_t sink[512];
    while (PxReadAvailable(port_, sink, sizeof sink) > 0) {
    }
}

void Session::SendHex(const Header& h) {
    std::vector<uint8_t> out;
    encoder_.Hex(out, h);
    SendBytes(out);
    Log("sent %s %02x %02x %02x %02x (hex)", FrameName(h.type), h.b[0], h.b[1], h.b[2], h.b[3]);
}

void Session::SendBinary(const Header& h, bool crc32) {
    std::vector<uint8_t> out;
    encoder_.Binary(out, h, crc32);
    SendBytes(out);
    Log("sent %s %02x %02x %02x %02x (%s)", FrameName(h.type), h.b[0], h.b[1], h.b[2], h.b[3],
        crc32 ? "crc32" : "crc16");
}

void Session::SendBytes(const std::vector<uint8_t>& bytes) {
    if (!bytes.empty()) PxSendBlock(port_, bytes.data(), static_cast<int>(bytes.size()));
}

void Session::Arm(int ms) { deadline_ = pexla::Clock().Now() + static_cast<uint32_t>(ms); }

void Session::ShortenAfterDamage() {
    uint32_t soon = pexla::Clock().Now() + kDamagedWaitMs;
    if (pexla::TickBefore(soon, deadline_)) deadline_ = soon;
}

bool Session::Expired() const { return !pexla::TickBefore(pexla::Clock().Now(), deadline_); }

bool Session::Retry(const char* why) {
    Log("retry: %s", why);
    if (status_) ++status_->errorsReported;
    return ++inARow_ >= kMaxRetries;
}

int Session::Fail(int code, bool sendCancel) {
    if (Ended()) return result_;
    Log("transfer failed, error %d", code);
    if (sendCancel) {
        std::vector<uint8_t> cancel;
        AppendCancel(cancel);
        SendBytes(cancel);
        DrainAfterCancel();
    }
    CloseFile();
    if (status_) status_->lastError = code;
    PxSetFileOpen(port_, 0);
    result_ = kHvFailed;
    return result_;
}

void Session::DrainAfterCancel() {
    // The other side may be blocked writing to us and see the cancel only once its data has
    // gone somewhere: the line is read until it has been quiet for a while (1.5 s at most).
    pexla::TickClock& clock = pexla::Clock();
    const uint32_t until = clock.Now() + kDrainMaxMs;
    uint8_t sink[1024];
    while (pexla::TickBefore(clock.Now(), until)) {
        PxPause(port_, kDrainQuietMs);
        if (PxReadAvailable(port_, sink, sizeof sink) <= 0) break;
    }
    in_.clear();
    inPos_ = 0;
    decoder_.Reset();
}

int Session::Complete() {
    Log("transfer complete");
    CloseFile();
    PxSetFileOpen(port_, 0);
    result_ = kHvComplete;
    return result_;
}

int Session::Abort() {
    if (Ended()) return kHvFailed;
    Log("aborted by our side");
    return Fail(kHvErrAborted);
}

void Session::Log(const char* format, ...) {
    if (!log_) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    PxDebugLine(port_, line);
}

}  // namespace halvet
