// The ZMODEM receiver's steps.
#include "hv_receive.h"

#include <cstring>

namespace halvet {
namespace {

constexpr int kFinishWaitMs = 500;

void CopyName(char* to, const std::string& from) {
    size_t n = from.size() < kPexlaPathSize - 1 ? from.size() : kPexlaPathSize - 1;
    std::memcpy(to, from.data(), n);
    to[n] = 0;
}

}  // namespace

Receiver::Receiver(int port, bool debugLog) : Session(port, debugLog, "ZMODEM receive") {}

Receiver::~Receiver() { CloseFile(); }

void Receiver::CloseFile() {
    if (file_) {
        delete file_;
        file_ = nullptr;
    }
}

int Receiver::Step() {
    if (Ended()) return Result();
    if (state_ == State::NameOffered) {
        OpenFile();
        return Ended() ? Result() : kHvGoOn;
    }
    if (state_ == State::Invite) SendInvite();
    if (!Fill(HasInput() ? 0 : kStepWaitMs)) return Fail(kHvErrLine, false);
    // The sender ends with "OO" once it has our ZFIN; it is taken off the line here.
    if (state_ == State::Finishing && (oCount_ += CountInInput('O')) >= 2) {
        DropInput();
        return Complete();
    }
    while (!Ended() && state_ != State::NameOffered) {
        Decoder::Event ev = NextEvent();
        if (ev.kind == Decoder::Kind::None) break;
        Handle(ev);
    }
    if (state_ == State::Finishing && oCount_ >= 2) {
        DropInput();
        return Complete();
    }
    if (!Ended() && state_ != State::NameOffered && !HasInput() && Expired()) OnTimeout();
    return Ended() ? Result() : kHvGoOn;
}

void Receiver::SendInvite() {
    // Full duplex, overlapped I/O and 32-bit CRCs; no buffer limit.
    SendHex(MakeFlags(ZRINIT, CANFDX | CANOVIO | CANFC32));
    lastReply_ = ZRINIT;
    state_ = State::Headers;
    Arm(timeoutMs_);
}

void Receiver::Handle(const Decoder::Event& ev) {
    switch (ev.kind) {
    case Decoder::Kind::Cancel:
        Log("the sender cancelled");
        Fail(kHvErrCancelled, false);
        return;
    case Decoder::Kind::BadHeader:
        Log("damaged header");
        if (state_ == State::Data) {
            if (Retry("damaged header in the data")) Fail(kHvErrProtocol);
            else AskPosition();
        } else if (state_ == State::Skipping) {
            // Most likely the ZDATA we asked for: ask again soon rather than after the time-out.
            ShortenAfterDamage();
        } else if (state_ == State::Headers || state_ == State::SinitData || state_ == State::FileData) {
            // The sender repeats an offer that got no answer when it sees ZRINIT again.
            if (Retry("damaged header")) Fail(kHvErrProtocol);
            else if (lastReply_ == ZRINIT) SendInvite();
        }
        return;
    case Decoder::Kind::Header:
        Log("got %s %02x %02x %02x %02x", FrameName(ev.header.type), ev.header.b[0], ev.header.b[1],
            ev.header.b[2], ev.header.b[3]);
        OnHeader(ev);
        return;
    case Decoder::Kind::Data:
    case Decoder::Kind::Overflow:
        OnData(ev);
        return;
    case Decoder::Kind::None:
        return;
    }
}

void Receiver::OnHeader(const Decoder::Event& ev) {
    const Header& h = ev.header;
    switch (h.type) {
    case ZRQINIT:
        if (state_ != State::Data && state_ != State::Skipping) SendInvite();
        return;
    case ZSINIT:
        encoder_.SetEscapeControls((h.b[ZF0] & TESCCTL) != 0);
        state_ = State::SinitData;
        Arm(timeoutMs_);
        return;
    case ZFILE:
        if (file_) {
            // A new offer while a file is open: the sender gave the old one up.
            CloseFile();
        }
        fileHeader_ = h;
        state_ = State::FileData;
        Arm(timeoutMs_);
        return;
    case ZDATA:
        if (!file_) {
            // Our answer to the offer was lost: repeat it.
            if (lastReply_ == ZSKIP) SendHex(MakeHeader(ZSKIP));
            else SendInvite();
            return;
        }
        if (h.Pos() != offset_) {
            if (state_ == State::Data && Retry("data at the wrong position")) {
                Fail(kHvErrProtocol);
                return;
            }
            AskPosition();
            return;
        }
        state_ = State::Data;
        Arm(timeoutMs_);
        return;
    case ZEOF:
        if (!file_) {
            if (state_ == State::Headers) SendHex(MakeHeader(lastReply_));
            return;
        }
        // A ZEOF from before our last ZRPOS is stale; the one at our position ends the file.
        if (h.Pos() == offset_) EndFile();
        return;
    case ZFIN:
        CloseFile();
        SendHex(MakeHeader(ZFIN));
        state_ = State::Finishing;
        oCount_ = CountInInput('O');
        Arm(kFinishWaitMs);
        return;
    case ZFREECNT:
        SendHex(MakeHeader(ZACK, 0x7FFFFFFF));
        return;
    case ZABORT:
    case ZFERR:
    case ZCAN:
        Fail(kHvErrCancelled);
        return;
    default:
        return;
    }
}

void Receiver::OnData(const Decoder::Event& ev) {
    bool good = ev.kind == Decoder::Kind::Data && ev.ok;
    switch (state_) {
    case State::SinitData:
        if (good) {
            SendHex(MakeHeader(ZACK, 1));
            lastReply_ = ZRINIT;
            state_ = State::Headers;
            Arm(timeoutMs_);
        } else if (Retry("damaged ZSINIT")) {
            Fail(kHvErrProtocol);
        } else {
            SendHex(MakeHeader(ZNAK));
            state_ = State::Headers;
        }
        return;
    case State::FileData:
        if (good) {
            ClearRetries();
            OfferFile(ev.data, ev.length);
        } else if (Retry("damaged ZFILE")) {
            Fail(kHvErrProtocol);
        } else {
            SendHex(MakeHeader(ZNAK));
            state_ = State::Headers;
        }
        return;
    case State::Data:
        if (!good) {
            if (Retry("damaged sub-packet")) Fail(kHvErrProtocol);
            else AskPosition();
            return;
        }
        if (!WriteData(ev.data, ev.length)) {
            Fail(kHvErrWrite);
            return;
        }
        ClearRetries();
        Arm(timeoutMs_);
        if (ev.end == ZCRCW || ev.end == ZCRCQ) SendHex(MakeHeader(ZACK, offset_));
        // After ZCRCE and ZCRCW a header follows (ZDATA again or ZEOF).
        return;
    default:
        return;  // data we did not ask for (after a ZRPOS) is dropped
    }
}

void Receiver::OnTimeout() {
    switch (state_) {
    case State::Finishing:
        Complete();
        return;
    case State::Data:
    case State::Skipping:
        if (Retry("no data")) Fail(kHvErrTimeout);
        else AskPosition();
        return;
    default:
        if (Retry("no header")) {
            Fail(kHvErrTimeout);
            return;
        }
        if (lastReply_ == ZSKIP) {
            SendHex(MakeHeader(ZSKIP));
            Arm(timeoutMs_);
        } else {
            SendInvite();
        }
        return;
    }
}

void Receiver::AskPosition() {
    // Whatever frame was being read is dropped: only a header may follow now.
    decoder_.Reset();
    SendHex(MakeHeader(ZRPOS, offset_));
    lastReply_ = ZRPOS;
    state_ = State::Skipping;
    Arm(timeoutMs_);
}

void Receiver::OfferFile(const uint8_t* data, size_t length) {
    info_ = ParseFileInfo(data, length);
    std::string local;
    if (!SafeLocalName(info_.name, local)) {
        Skip("the name leaves no file name of its own");
        return;
    }
    Log("file offered: \"%s\" as \"%s\", size %lld", info_.name.c_str(), local.c_str(),
        static_cast<long long>(info_.size));
    if (status_) {
        CopyName(status_->fileName, local);
        status_->fileSize = info_.hasSize && info_.size <= 0x7FFFFFFF ? static_cast<int32_t>(info_.size) : 0;
        status_->fileBytes = 0;
        status_->fileBlocks = 0;
    }
    // Until the next step the caller may impose a local name (Pexla 171).
    PxSetShownName(port_, local.c_str());
    PxSetFileOpen(port_, 1);
    state_ = State::NameOffered;
}

bool Receiver::Skip(const char* why) {
    Log("skipping the file: %s", why);
    if (status_) status_->lastError = kHvErrSkipped;
    SendHex(MakeHeader(ZSKIP));
    lastReply_ = ZSKIP;
    state_ = State::Headers;
    Arm(timeoutMs_);
    return true;
}

void Receiver::OpenFile() {
    char path[kPexlaPathSize];
    int got = PxTargetPath(port_, path);
    PxSetFileOpen(port_, 0);
    if (got < 0) {
        Fail(kHvErrReceiveOpen);
        return;
    }
    path_ = path;
    uint8_t conversion = fileHeader_.b[ZF0];
    uint8_t manage = fileHeader_.b[ZF1] & ZMMASK;
    FileFacts local;
    bool exists = Files().Facts(path, &local);
    bool newer = !info_.hasTime || !exists || info_.modTime > local.modTime;
    bool longer = !info_.hasSize || !exists || info_.size > local.size;
    if (!exists && (fileHeader_.b[ZF1] & ZMSKNOLOC)) { Skip("no local file to update"); return; }
    if (exists && manage == ZMPROT) { Skip("the local file is protected"); return; }
    if (exists && manage == ZMNEW && !newer) { Skip("the local file is not older"); return; }
    if (exists && manage == ZMNEWL && !newer && !longer) { Skip("the local file is not older or shorter"); return; }
    if (exists && manage == ZMDIFF && info_.hasSize && info_.size == local.size &&
        (!info_.hasTime || info_.modTime == local.modTime)) {
        Skip("the local file is the same");
        return;
    }
    WriteMode mode = WriteMode::Create;
    offset_ = 0;
    if (exists && manage == ZMAPND) {
        mode = WriteMode::Append;
    } else if (exists && conversion == ZCRESUM && (!info_.hasSize || local.size <= info_.size) &&
               local.size <= 0x7FFFFFFF) {
        // Resume: ask for the data after what the local file holds.
        mode = WriteMode::Append;
        offset_ = static_cast<uint32_t>(local.size);
    }
    textMode_ = conversion == ZCNL;
    lastWasCr_ = false;
    file_ = Files().OpenWrite(path, mode);
    if (!file_) {
        Log("cannot open \"%s\"", path);
        Fail(kHvErrReceiveOpen);
        return;
    }
    Log("receiving into \"%s\" from %u", path, offset_);
    if (status_) {
        CopyName(status_->fullPath, path_);
        status_->fileBytes = static_cast<int32_t>(offset_);
    }
    ClearRetries();
    AskPosition();
}

bool Receiver::WriteData(const uint8_t* data, size_t length) {
    if (textMode_) {
        std::vector<uint8_t> text;
        text.reserve(length + length / 16 + 1);
        for (size_t i = 0; i < length; ++i) {
            if (data[i] == '\n' && !lastWasCr_) text.push_back('\r');
            text.push_back(data[i]);
            lastWasCr_ = data[i] == '\r';
        }
        if (file_->Write(text.data(), static_cast<int>(text.size())) != static_cast<int>(text.size())) return false;
    } else if (length && file_->Write(data, static_cast<int>(length)) != static_cast<int>(length)) {
        return false;
    }
    offset_ += static_cast<uint32_t>(length);
    if (status_) {
        status_->fileBytes = static_cast<int32_t>(offset_);
        status_->totalBytes += static_cast<int32_t>(length);
        ++status_->fileBlocks;
    }
    return true;
}

void Receiver::EndFile() {
    CloseFile();
    if (info_.hasTime) Files().SetModTime(path_.c_str(), info_.modTime);
    Log("file complete: %u bytes", offset_);
    if (status_) ++status_->filesCompleted;
    SendInvite();
}

}  // namespace halvet
