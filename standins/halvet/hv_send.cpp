// The ZMODEM sender's steps.
#include "hv_send.h"

#include <algorithm>
#include <cstring>

#include "hv_crc.h"
#include "hv_names.h"

namespace halvet {
namespace {

// Data written to the line per step at most: 16 KB, and on a port with a known speed what it
// carries in about a quarter of a second (at least one sub-packet), so that a step on a slow
// line stays short.
constexpr size_t kStepSendBytes = 16384;
constexpr int kStepLineMs = 250;
constexpr int kFinWaitMs = 2000;
constexpr int kFinTries = 2;

uint8_t ManagementByte(int management) {
    switch (management) {
    case kHvManageAppend: return ZMAPND;
    case kHvManageNewer: return ZMNEW;
    case kHvManageNewerLonger: return ZMNEWL;
    case kHvManageProtect: return ZMPROT;
    case kHvManageUpdate: return ZMCLOB | ZMSKNOLOC;
    case kHvManageOverwrite: return ZMCLOB;
    default: return 0;
    }
}

uint8_t ConversionByte(int conversion) {
    switch (conversion) {
    case kHvConvText: return ZCNL;
    case kHvConvResume:
    case kHvConvResumeCompare: return ZCRESUM;
    default: return ZCBIN;
    }
}

void CopyName(char* to, const std::string& from) {
    size_t n = std::min(from.size(), static_cast<size_t>(kPexlaPathSize - 1));
    std::memcpy(to, from.data(), n);
    to[n] = 0;
}

}  // namespace

Sender::Sender(int port, const SendOptions& options, std::vector<std::string> files)
    : Session(port, (options.flags & kHvSendDebugLog) != 0, "ZMODEM send"),
      options_(options),
      files_(std::move(files)) {
    timeoutMs_ = options.timeoutTenths > 0 ? options.timeoutTenths * 100 : 10000;
    subpacket_ = options.subpacketLength > 0 ? static_cast<size_t>(options.subpacketLength) : 1024;
    subpacket_ = std::clamp<size_t>(subpacket_, 32, 1024);
    window_ = options.windowSize > 0 ? static_cast<uint32_t>(options.windowSize) : 0;
    ackEvery_ = options.ackLength > 0 ? static_cast<uint32_t>(options.ackLength) : window_ / 2;
    // A full window must hold an acknowledge request, or nothing would open it again.
    if (window_ && (ackEvery_ == 0 || ackEvery_ > window_)) ackEvery_ = std::max<uint32_t>(window_ / 2, 1);
    encoder_.SetEscapeControls((options.flags & kHvEscapeControls) != 0);
}

Sender::~Sender() { CloseFile(); }

void Sender::CloseFile() {
    delete file_;
    file_ = nullptr;
}

bool Sender::CheckFiles() {
    for (const std::string& f : files_) {
        FileFacts facts;
        HvFile* probe = Files().Facts(f.c_str(), &facts) ? Files().OpenRead(f.c_str()) : nullptr;
        if (!probe) {
            Log("cannot read \"%s\"", f.c_str());
            Fail(kHvErrSendOpen, false);
            return false;
        }
        delete probe;
    }
    if (files_.empty()) Fail(kHvErrSendOpen, false);
    return !files_.empty();
}

int Sender::Step() {
    if (Ended()) return Result();
    switch (state_) {
    case State::Start:
        SendInit();
        break;
    case State::NextFile:
        OfferNext();
        return Ended() ? Result() : kHvGoOn;
    default:
        break;
    }
    bool streaming = state_ == State::Sending;
    if (!Fill(streaming || HasInput() ? 0 : kStepWaitMs)) return Fail(kHvErrLine, false);
    while (!Ended()) {
        Decoder::Event ev = NextEvent();
        if (ev.kind == Decoder::Kind::None) break;
        Handle(ev);
    }
    if (Ended()) return Result();
    if (state_ == State::Sending) StreamData();
    else if (Expired()) OnTimeout();
    return Ended() ? Result() : kHvGoOn;
}

void Sender::SendInit() {
    // "rz" CR starts a receiver on a host that waits at a command line.
    SendBytes({'r', 'z', '\r'});
    SendHex(MakeHeader(ZRQINIT));
    state_ = State::WaitInit;
    Arm(timeoutMs_);
}

void Sender::SendSinit() {
    SendBinary(MakeFlags(ZSINIT, TESCCTL), crc32_);
    const uint8_t attention = 0;
    out_.clear();
    encoder_.Subpacket(out_, &attention, 1, ZCRCW, crc32_);
    SendBytes(out_);
    state_ = State::SinitSent;
    Arm(timeoutMs_);
}

void Sender::Handle(const Decoder::Event& ev) {
    switch (ev.kind) {
    case Decoder::Kind::Cancel:
        Log("the receiver cancelled");
        Fail(kHvErrCancelled, false);
        return;
    case Decoder::Kind::BadHeader:
        if (Retry("damaged header")) Fail(kHvErrProtocol);
        else if (state_ != State::Sending) ShortenAfterDamage();  // the answer waited for, damaged
        return;
    case Decoder::Kind::Header:
        Log("got %s %02x %02x %02x %02x", FrameName(ev.header.type), ev.header.b[0], ev.header.b[1],
            ev.header.b[2], ev.header.b[3]);
        OnHeader(ev.header);
        return;
    default:
        return;  // a receiver sends no sub-packets we need
    }
}

void Sender::OnHeader(const Header& h) {
    switch (h.type) {
    case ZRINIT:
        if (state_ == State::WaitInit) {
            uint8_t caps = h.b[ZF0];
            crc32_ = (caps & CANFC32) && !(options_.flags & kHvNoCrc32);
            receiverBuffer_ = static_cast<size_t>(h.b[0] | h.b[1] << 8);
            // A receiver that cannot read while it writes takes one frame at a time.
            if (!(caps & CANOVIO) && receiverBuffer_ == 0) receiverBuffer_ = subpacket_;
            if (caps & ESCCTL) encoder_.SetEscapeControls(true);
            Log("receiver: flags %02x, buffer %u, %s", caps, static_cast<unsigned>(receiverBuffer_), crc32_ ? "crc32" : "crc16");
            ClearRetries();
            if (options_.flags & kHvEscapeControls) SendSinit();
            else state_ = State::NextFile;
        } else if (state_ == State::FileOffered) {
            SendOffer();  // the offer was not understood: again
        } else if (state_ == State::EofSent) {
            FileDone(true);
        }
        return;
    case ZACK:
        if (state_ == State::SinitSent) {
            ClearRetries();
            state_ = State::NextFile;
            return;
        }
        if (h.Pos() > acked_ && h.Pos() <= pos_) {
            acked_ = h.Pos();
            ClearRetries();
        }
        if (state_ == State::WaitAck && (!window_ || pos_ - acked_ < window_)) {
            // After a ZCRCW the receiver waits for a new header.
            if (acked_ == pos_ || !needHeader_) state_ = State::Sending;
        }
        return;
    case ZNAK:
        if (state_ == State::SinitSent) SendSinit();
        else if (state_ == State::FileOffered) SendOffer();
        else if (state_ == State::WaitInit) SendInit();
        return;
    case ZRPOS:
        if (state_ == State::FileOffered || state_ == State::Sending || state_ == State::WaitAck ||
            state_ == State::EofSent) {
            uint32_t p = h.Pos();
            if (state_ != State::FileOffered) {
                if (p > lastRpos_) ClearRetries();
                if (Retry("the receiver asked for a position again")) {
                    Fail(kHvErrProtocol);
                    return;
                }
            }
            lastRpos_ = p;
            StartData(p);
        }
        return;
    case ZSKIP:
        if (state_ == State::FileOffered || state_ == State::Sending || state_ == State::WaitAck ||
            state_ == State::EofSent) {
            Log("the receiver skipped \"%s\"", path_.c_str());
            FileDone(false);
        }
        return;
    case ZCRC:
        if (state_ == State::FileOffered) AnswerCrc(h.Pos());
        return;
    case ZFIN:
        if (state_ == State::FinSent) {
            SendBytes({'O', 'O'});
            Complete();
        }
        return;
    case ZCAN:
    case ZABORT:
    case ZFERR:
        Fail(kHvErrCancelled);
        return;
    case ZCHALLENGE:
        SendHex(MakeHeader(ZACK, h.Pos()));
        return;
    default:
        return;
    }
}

void Sender::OnTimeout() {
    bool last = state_ == State::FinSent && ++finTries_ >= kFinTries;
    if (last) {
        // Every file was confirmed; only the receiver's goodbye is missing.
        Log("no ZFIN from the receiver; the batch was complete");
        Complete();
        return;
    }
    if (state_ != State::FinSent && Retry("time-out")) {
        Fail(kHvErrTimeout);
        return;
    }
    switch (state_) {
    case State::WaitInit: SendInit(); break;
    case State::SinitSent: SendSinit(); break;
    case State::FileOffered: SendOffer(); break;
    case State::WaitAck: {
        // Ask where the receiver stands: an empty sub-packet that wants an acknowledge.
        out_.clear();
        if (needHeader_) encoder_.Binary(out_, MakeHeader(ZDATA, pos_), crc32_);
        encoder_.Subpacket(out_, nullptr, 0, ZCRCW, crc32_);
        SendBytes(out_);
        needHeader_ = true;
        Arm(timeoutMs_);
        break;
    }
    case State::EofSent: SendEof(); break;
    case State::FinSent: SendFin(); break;
    default: Arm(timeoutMs_); break;
    }
}

void Sender::OfferNext() {
    CloseFile();
    while (next_ < files_.size()) {
        path_ = files_[next_++];
        FileFacts facts;
        if (Files().Facts(path_.c_str(), &facts) && (file_ = Files().OpenRead(path_.c_str())) != nullptr) {
            size_ = facts.size;
            if (status_) {
                CopyName(status_->fileName, path_);
                CopyName(status_->fullPath, path_);
                status_->fileSize = size_ <= 0x7FFFFFFF ? static_cast<int32_t>(size_) : 0;
                status_->fileBytes = 0;
                status_->fileBlocks = 0;
            }
            PxSetFileOpen(port_, 1);
            SendOffer();
            return;
        }
        // A file that went away since the start is left out of the batch.
        Log("cannot read \"%s\" any more; left out", path_.c_str());
        if (status_) status_->lastError = kHvErrSendOpen;
    }
    SendFin();
}

void Sender::SendOffer() {
    FileFacts facts;
    Files().Facts(path_.c_str(), &facts);
    int64_t filesLeft = static_cast<int64_t>(files_.size() - next_ + 1);
    int64_t bytesLeft = size_;
    for (size_t i = next_; i < files_.size(); ++i) {
        FileFacts f;
        if (Files().Facts(files_[i].c_str(), &f)) bytesLeft += f.size;
    }
    int option = options_.nameOption ? options_.nameOption : kHvNameStrip;
    std::vector<uint8_t> info = BuildFileInfo(NameToSend(path_, option), size_, facts.modTime, filesLeft, bytesLeft);
    SendBinary(MakeFlags(ZFILE, ConversionByte(options_.conversion), ManagementByte(options_.management)), crc32_);
    out_.clear();
    encoder_.Subpacket(out_, info.data(), info.size(), ZCRCW, crc32_);
    SendBytes(out_);
    state_ = State::FileOffered;
    Arm(timeoutMs_);
}

void Sender::AnswerCrc(uint32_t length) {
    // The receiver compares the bytes both sides hold (0: the whole file).
    uint32_t crc = 0xFFFFFFFFu;
    uint8_t buffer[4096];
    int64_t left = length ? length : size_;
    file_->Seek(0);
    while (left > 0) {
        int n = file_->Read(buffer, static_cast<int>(std::min<int64_t>(left, sizeof buffer)));
        if (n <= 0) break;
        crc = Crc32Run(buffer, static_cast<size_t>(n), crc);
        left -= n;
    }
    SendHex(MakeHeader(ZCRC, ~crc));
    Arm(timeoutMs_);
}

void Sender::StartData(uint32_t pos) {
    if (pos > size_) pos = static_cast<uint32_t>(size_);
    if (!file_->Seek(pos)) {
        Fail(kHvErrSendOpen);
        return;
    }
    pos_ = acked_ = lastAsk_ = frameStart_ = pos;
    needHeader_ = true;
    state_ = State::Sending;
    Arm(timeoutMs_);
}

void Sender::StreamData() {
    size_t budget = kStepSendBytes;
    if (int baud = PxBaudRate(port_); baud > 0)
        budget = std::clamp<size_t>(static_cast<size_t>(baud) / 10 * kStepLineMs / 1000, subpacket_, kStepSendBytes);
    out_.clear();
    while (state_ == State::Sending && budget > 0) {
        if (window_ && pos_ - acked_ >= window_) {
            state_ = State::WaitAck;
            Arm(timeoutMs_);
            break;
        }
        if (pos_ >= size_) {
            SendBytes(out_);
            out_.clear();
            SendEof();
            return;
        }
        if (needHeader_) {
            encoder_.Binary(out_, MakeHeader(ZDATA, pos_), crc32_);
            Log("sending data from %u", pos_);
            frameStart_ = pos_;
            needHeader_ = false;
        }
        size_t want = std::min<size_t>(subpacket_, static_cast<size_t>(size_ - pos_));
        chunk_.resize(want);
        int n = file_->Read(chunk_.data(), static_cast<int>(want));
        if (n < 0) {
            SendBytes(out_);
            Fail(kHvErrSendOpen);
            return;
        }
        if (n == 0) size_ = pos_;  // the file became shorter: it ends here
        pos_ += static_cast<uint32_t>(n);
        uint8_t end = ZCRCG;
        if (pos_ >= size_) {
            end = ZCRCE;
        } else if (receiverBuffer_ && pos_ - frameStart_ + subpacket_ > receiverBuffer_) {
            end = ZCRCW;
        } else if (ackEvery_ && pos_ - lastAsk_ >= ackEvery_) {
            end = ZCRCQ;
            lastAsk_ = pos_;
        }
        encoder_.Subpacket(out_, chunk_.data(), static_cast<size_t>(n), end, crc32_);
        budget -= std::min(budget, static_cast<size_t>(n) + 1);
        if (status_) {
            status_->fileBytes = static_cast<int32_t>(pos_);
            status_->totalBytes += n;
            ++status_->fileBlocks;
        }
        if (end == ZCRCW) {
            needHeader_ = true;
            state_ = State::WaitAck;
            Arm(timeoutMs_);
        }
    }
    SendBytes(out_);
    out_.clear();
    if (state_ == State::Sending && pos_ >= size_) SendEof();
}

void Sender::SendEof() {
    SendBinary(MakeHeader(ZEOF, pos_), crc32_);
    state_ = State::EofSent;
    Arm(timeoutMs_);
}

void Sender::FileDone(bool sent) {
    CloseFile();
    PxSetFileOpen(port_, 0);
    if (sent) {
        if (status_) ++status_->filesCompleted;
        if (options_.flags & kHvUnlink) Files().Remove(path_.c_str());
    }
    ClearRetries();
    state_ = State::NextFile;
}

void Sender::SendFin() {
    SendHex(MakeHeader(ZFIN));
    state_ = State::FinSent;
    Arm(std::min(timeoutMs_, kFinWaitMs));
}

}  // namespace halvet
