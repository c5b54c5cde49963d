// What the receiver and the sender share: the port's line as a stream of decoded frames, the
// encoder and its escaping, time-outs and retries, the Pexla status block, the debug log and
// the cancel that ends a transfer. One session per port, kept by the table in hv_exports.
#pragma once

#include <cstdint>
#include <vector>

#include "halvet.h"
#include "hv_files.h"
#include "hv_frames.h"

namespace halvet {

// Work done by one step at most, so that a caller's loop stays responsive.
constexpr int kStepWaitMs = 20;         // wait for input when there is nothing else to do
constexpr size_t kStepReadBytes = 16384;
constexpr int kMaxRetries = 10;         // time-outs or errors in a row that end a transfer
constexpr int kDamagedWaitMs = 1000;   // wait left once a damaged header came instead of an answer
constexpr int kDrainQuietMs = 200;
constexpr int kDrainMaxMs = 1500;

class Session {
public:
    Session(int port, bool debugLog, const char* title);
    virtual ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // One step: kHvGoOn, kHvComplete or kHvFailed; after an end every further step repeats it.
    virtual int Step() = 0;
    // Our side gives up: the cancel sequence goes out, the open file is closed.
    int Abort();
    int Result() const { return result_; }

protected:
    // Reads what the line holds (waiting up to waitMs for a first byte when nothing is
    // buffered) into the input buffer; false when the line failed.
    bool Fill(int waitMs);
    // The next event from the buffered input; kind None when the buffer is used up.
    Decoder::Event NextEvent();
    bool HasInput() const { return inPos_ < in_.size(); }
    // How often the byte occurs in the input not yet decoded.
    int CountInInput(uint8_t byte) const;
    // Drops what is buffered and what the line holds (after an error, before a retry).
    void DropInput();

    void SendHex(const Header& h);
    void SendBinary(const Header& h, bool crc32);
    void SendBytes(const std::vector<uint8_t>& bytes);

    // Time-outs: a deadline from now; Expired once it has passed.
    void Arm(int ms);
    // A damaged header may well have been the answer waited for: the wait is cut short.
    void ShortenAfterDamage();
    bool Expired() const;
    // Counts a retry in the status block; true when too many came in a row.
    bool Retry(const char* why);
    void ClearRetries() { inARow_ = 0; }

    // Ends the transfer: the cancel sequence (unless the other side cancelled), the error code
    // into the status block, the file closed. Returns kHvFailed.
    int Fail(int code, bool sendCancel = true);
    int Complete();
    // After our cancel: takes what the other side still sends until it falls quiet.
    void DrainAfterCancel();
    bool Ended() const { return result_ != kHvGoOn; }
    virtual void CloseFile() {}

    void Log(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    int port_;
    PexlaPortStatus* status_;
    Encoder encoder_;
    Decoder decoder_;
    int timeoutMs_ = 10000;

private:
    std::vector<uint8_t> in_;
    size_t inPos_ = 0;
    uint32_t deadline_ = 0;
    int inARow_ = 0;
    int result_ = kHvGoOn;
    bool log_ = false;
};

const char* FrameName(uint8_t type);

}  // namespace halvet
