#include "kermit_packet.h"

#include "kermit_chars.h"

namespace drosk {

std::vector<uint8_t> FramePacket(const Framing& f, int seq, char type, const uint8_t* data,
                                 size_t n, int checkType) {
    const int chk = CheckLength(checkType);
    std::vector<uint8_t> out(static_cast<size_t>(f.padCount), f.padChar);
    out.push_back(f.mark);
    const size_t start = out.size();
    if (n + 2 + chk <= 94) {
        out.push_back(ToChar(static_cast<int>(n) + 2 + chk));
        out.push_back(ToChar(seq & 63));
        out.push_back(static_cast<uint8_t>(type));
    } else {
        const int lenx = static_cast<int>(n) + chk;
        out.push_back(ToChar(0));
        out.push_back(ToChar(seq & 63));
        out.push_back(static_cast<uint8_t>(type));
        out.push_back(ToChar(lenx / 95));
        out.push_back(ToChar(lenx % 95));
        out.push_back(OneCharCheck(out.data() + start, 5));
    }
    out.insert(out.end(), data, data + n);
    uint8_t check[3];
    MakeCheck(out.data() + start, out.size() - start, checkType, check);
    out.insert(out.end(), check, check + chk);
    out.push_back(f.eol);
    return out;
}

bool VerifyPacket(const RawPacket& raw, int checkType, Packet* out) {
    const size_t chk = static_cast<size_t>(CheckLength(checkType));
    if (raw.body.size() < raw.dataOffset + chk) return false;
    const size_t covered = raw.body.size() - chk;
    uint8_t check[3];
    MakeCheck(raw.body.data(), covered, checkType, check);
    for (size_t i = 0; i < chk; ++i)
        if (check[i] != raw.body[covered + i]) return false;
    out->seq = raw.seq;
    out->type = raw.type;
    out->data.assign(raw.body.begin() + static_cast<long>(raw.dataOffset),
                     raw.body.begin() + static_cast<long>(covered));
    return true;
}

void PacketReader::Clear() {
    input_.clear();
    state_ = State::Hunt;
    body_.clear();
}

PacketReader::Event PacketReader::Next(RawPacket* raw) {
    while (!input_.empty()) {
        const uint8_t b = input_.front();
        input_.pop_front();
        if (b == mark_) {
            const bool cut = state_ != State::Hunt;
            state_ = State::Len;
            body_.clear();
            if (cut) return Event::Damaged;
            continue;
        }
        if (state_ == State::Hunt) continue;
        body_.push_back(b);
        if (state_ == State::Len) {
            const int len = UnChar(b);
            if (len == 0) {
                long_ = true;
                want_ = 6;  // LEN SEQ TYPE LENX1 LENX2 HCHECK, then the rest is known
            } else if (len >= 3 && len <= 94) {
                long_ = false;
                want_ = static_cast<size_t>(len) + 1;
            } else {
                state_ = State::Hunt;
                return Event::Damaged;
            }
            state_ = State::Body;
            continue;
        }
        if (long_ && body_.size() == 6) {
            if (OneCharCheck(body_.data(), 5) != body_[5]) {
                state_ = State::Hunt;
                return Event::Damaged;
            }
            const int lenx = UnChar(body_[3]) * 95 + UnChar(body_[4]);
            if (lenx < 1 || lenx > kMaxLongLength) {
                state_ = State::Hunt;
                return Event::Damaged;
            }
            want_ = 6 + static_cast<size_t>(lenx);
            continue;
        }
        if (body_.size() < want_) continue;
        state_ = State::Hunt;
        raw->seq = UnChar(body_[1]) & 63;
        raw->type = static_cast<char>(body_[2]);
        raw->dataOffset = long_ ? 6 : 3;
        raw->body.swap(body_);
        body_.clear();
        return Event::Packet;
    }
    return Event::None;
}

}  // namespace drosk
