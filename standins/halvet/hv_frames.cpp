// Encoding and decoding of ZMODEM headers and data sub-packets.
#include "hv_frames.h"

#include "hv_crc.h"

namespace halvet {

Header MakeHeader(uint8_t type, uint32_t pos) {
    Header h;
    h.type = type;
    for (int i = 0; i < 4; ++i) h.b[i] = static_cast<uint8_t>(pos >> (8 * i));
    return h;
}

Header MakeFlags(uint8_t type, uint8_t f0, uint8_t f1, uint8_t f2, uint8_t f3) {
    Header h;
    h.type = type;
    h.b[ZF0] = f0;
    h.b[ZF1] = f1;
    h.b[ZF2] = f2;
    h.b[ZF3] = f3;
    return h;
}

void AppendCancel(std::vector<uint8_t>& out) {
    out.insert(out.end(), 8, CAN);
    out.insert(out.end(), 8, 0x08);
}

// ----- encoder -----

bool Encoder::NeedsEscape(uint8_t c) const {
    switch (c) {
    case ZDLE: case 0x10: case 0x11: case 0x13: case 0x90: case 0x91: case 0x93:
        return true;
    case 0x0D: case 0x8D:
        // "@" CR is a command to some packet networks.
        return escapeControls_ || (last_ & 0x7F) == '@';
    default:
        return escapeControls_ && (c & 0x60) == 0;
    }
}

void Encoder::Put(std::vector<uint8_t>& out, uint8_t c) {
    if (NeedsEscape(c)) {
        out.push_back(ZDLE);
        out.push_back(c ^ 0x40);
    } else {
        out.push_back(c);
    }
    last_ = c;
}

void Encoder::Hex(std::vector<uint8_t>& out, const Header& h) {
    static const char digits[] = "0123456789abcdef";
    uint8_t raw[7] = {h.type, h.b[0], h.b[1], h.b[2], h.b[3], 0, 0};
    uint16_t crc = Crc16(raw, 5);
    raw[5] = static_cast<uint8_t>(crc >> 8);
    raw[6] = static_cast<uint8_t>(crc);
    out.push_back(ZPAD);
    out.push_back(ZPAD);
    out.push_back(ZDLE);
    out.push_back(ZHEX);
    for (uint8_t b : raw) {
        out.push_back(static_cast<uint8_t>(digits[b >> 4]));
        out.push_back(static_cast<uint8_t>(digits[b & 15]));
    }
    out.push_back('\r');
    out.push_back('\n' | 0x80);
    if (h.type != ZACK && h.type != ZFIN) out.push_back(XON);
    last_ = 0;
}

void Encoder::Binary(std::vector<uint8_t>& out, const Header& h, bool crc32) {
    out.push_back(ZPAD);
    out.push_back(ZDLE);
    out.push_back(crc32 ? ZBIN32 : ZBIN);
    uint8_t raw[5] = {h.type, h.b[0], h.b[1], h.b[2], h.b[3]};
    for (uint8_t b : raw) Put(out, b);
    if (crc32) {
        uint32_t crc = Crc32(raw, 5);
        for (int i = 0; i < 4; ++i) Put(out, static_cast<uint8_t>(crc >> (8 * i)));
    } else {
        uint16_t crc = Crc16(raw, 5);
        Put(out, static_cast<uint8_t>(crc >> 8));
        Put(out, static_cast<uint8_t>(crc));
    }
}

void Encoder::Subpacket(std::vector<uint8_t>& out, const uint8_t* data, size_t length, uint8_t end, bool crc32) {
    // Room for the worst case, written through a pointer: this is the sender's inner loop.
    size_t start = out.size();
    out.resize(start + 2 * length);
    uint8_t* w = out.data() + start;
    for (size_t i = 0; i < length; ++i) {
        uint8_t c = data[i];
        if (NeedsEscape(c)) {
            *w++ = ZDLE;
            *w++ = c ^ 0x40;
        } else {
            *w++ = c;
        }
        last_ = c;
    }
    out.resize(static_cast<size_t>(w - out.data()));
    out.push_back(ZDLE);
    out.push_back(end);
    if (crc32) {
        uint32_t crc = ~Crc32Update(Crc32Run(data, length), end);
        for (int i = 0; i < 4; ++i) Put(out, static_cast<uint8_t>(crc >> (8 * i)));
    } else {
        uint16_t crc = Crc16Update(Crc16(data, length), end);
        Put(out, static_cast<uint8_t>(crc >> 8));
        Put(out, static_cast<uint8_t>(crc));
    }
    if (end == ZCRCW) out.push_back(XON);
}

// ----- decoder -----

void Decoder::Reset() {
    state_ = State::Hunt;
    escaped_ = false;
    have_ = need_ = 0;
    data_.clear();
}

int Decoder::Unescape(uint8_t c, bool& bad) {
    if (escaped_) {
        escaped_ = false;
        switch (c) {
        case ZCRCE: case ZCRCG: case ZCRCQ: case ZCRCW: return 0x100 | c;
        case ZRUB0: return 0x7F;
        case ZRUB1: return 0xFF;
        default: break;
        }
        if ((c & 0x60) == 0x40) return c ^ 0x40;
        bad = true;
        return -1;
    }
    if (c == ZDLE) {
        escaped_ = true;
        return -1;
    }
    // Flow-control bytes are never data: a sender escapes them.
    if ((c & 0x7F) == XON || (c & 0x7F) == XOFF) return -1;
    return c;
}

bool Decoder::HeaderDone(Event& ev) {
    bool ok;
    if (crc32_) ok = Crc32Run(buf_, 9) == 0xDEBB20E3u;
    else ok = Crc16(buf_, 7) == 0;
    ev.crc32 = crc32_;
    ev.header.type = buf_[0];
    for (int i = 0; i < 4; ++i) ev.header.b[i] = buf_[1 + i];
    if (!ok) {
        ev.kind = Kind::BadHeader;
        Reset();
        return true;
    }
    ev.kind = Kind::Header;
    if (CarriesData(ev.header.type)) {
        state_ = State::DataBytes;
        dataCrc32_ = crc32_;
        data_.clear();
        escaped_ = false;
        hexTail_ = hexHeader_ ? 2 : 0;
    } else {
        Reset();
    }
    return true;
}

bool Decoder::DataDone(Event& ev) {
    bool ok;
    if (dataCrc32_) {
        uint32_t crc = Crc32Update(Crc32Run(data_.data(), data_.size()), end_);
        ok = Crc32Run(buf_, 4, crc) == 0xDEBB20E3u;
    } else {
        uint16_t crc = Crc16Update(Crc16(data_.data(), data_.size()), end_);
        ok = Crc16(buf_, 2, crc) == 0;
    }
    ev.kind = Kind::Data;
    ev.crc32 = dataCrc32_;
    ev.ok = ok;
    ev.end = end_;
    // The event points into the buffer, which stays untouched until the next Feed.
    ev.data = data_.data();
    ev.length = data_.size();
    if (ok && (end_ == ZCRCG || end_ == ZCRCQ)) {
        state_ = State::DataBytes;
        have_ = 0;
        pendingClear_ = true;
    } else {
        state_ = State::Hunt;
        have_ = need_ = 0;
        pendingClear_ = true;
    }
    return true;
}

size_t Decoder::BadData(Event& ev, size_t at) {
    ev.kind = Kind::Data;
    ev.ok = false;
    ev.crc32 = dataCrc32_;
    Reset();
    return at + 1;
}

size_t Decoder::Feed(const uint8_t* p, size_t n, Event& ev) {
    ev = Event{};
    if (pendingClear_) {
        data_.clear();
        pendingClear_ = false;
    }
    for (size_t i = 0; i < n; ++i) {
        uint8_t c = p[i];
        if (c == CAN) {
            if (++cans_ >= 5) {
                cans_ = 0;
                Reset();
                ev.kind = Kind::Cancel;
                return i + 1;
            }
        } else {
            cans_ = 0;
        }
        bool bad = false;
        switch (state_) {
        case State::Hunt:
            if ((c & 0x7F) == ZPAD) state_ = State::Pad;
            break;
        case State::Pad:
            if ((c & 0x7F) == ZPAD) break;
            state_ = c == ZDLE ? State::Dle : State::Hunt;
            break;
        case State::Dle:
            have_ = 0;
            hexHeader_ = (c & 0x7F) == ZHEX;
            escaped_ = false;
            switch (c & 0x7F) {
            case ZBIN: state_ = State::BinBytes; crc32_ = false; need_ = 7; break;
            case ZBIN32: state_ = State::BinBytes; crc32_ = true; need_ = 9; break;
            case ZHEX: state_ = State::HexDigits; crc32_ = false; need_ = 7; hexHigh_ = true; break;
            default: state_ = State::Hunt; break;
            }
            break;
        case State::HexDigits: {
            uint8_t d = c & 0x7F;
            int v = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : -1;
            if (v < 0) {
                ev.kind = Kind::BadHeader;
                Reset();
                return i + 1;
            }
            if (hexHigh_) {
                buf_[have_] = static_cast<uint8_t>(v << 4);
            } else {
                buf_[have_] |= static_cast<uint8_t>(v);
                if (++have_ == need_ && HeaderDone(ev)) return i + 1;
            }
            hexHigh_ = !hexHigh_;
            break;
        }
        case State::BinBytes: {
            int v = Unescape(c, bad);
            if (bad || v >= 0x100) {
                ev.kind = Kind::BadHeader;
                Reset();
                return i + 1;
            }
            if (v < 0) break;
            buf_[have_] = static_cast<uint8_t>(v);
            if (++have_ == need_ && HeaderDone(ev)) return i + 1;
            break;
        }
        case State::DataBytes: {
            if (!escaped_ && hexTail_ == 0 && Plain(c)) {
                // The bulk of a sub-packet: a run of bytes that need no decoding.
                size_t run = 1;
                while (i + run < n && Plain(p[i + run])) ++run;
                if (data_.size() + run > kMaxSubpacket) {
                    ev.kind = Kind::Overflow;
                    Reset();
                    return i + 1;
                }
                data_.insert(data_.end(), p + i, p + i + run);
                i += run - 1;
                break;
            }
            if (hexTail_ > 0) {
                --hexTail_;
                if ((c & 0x7F) == '\r' || (c & 0x7F) == '\n') break;
                hexTail_ = 0;
            }
            int v = Unescape(c, bad);
            if (bad) return BadData(ev, i);
            if (v < 0) break;
            if (v >= 0x100) {
                end_ = static_cast<uint8_t>(v & 0xFF);
                state_ = State::DataCheck;
                have_ = 0;
                need_ = dataCrc32_ ? 4 : 2;
                break;
            }
            if (data_.size() >= kMaxSubpacket) {
                ev.kind = Kind::Overflow;
                Reset();
                return i + 1;
            }
            data_.push_back(static_cast<uint8_t>(v));
            break;
        }
        case State::DataCheck: {
            int v = Unescape(c, bad);
            if (bad || v >= 0x100) return BadData(ev, i);
            if (v < 0) break;
            buf_[have_] = static_cast<uint8_t>(v);
            if (++have_ == need_ && DataDone(ev)) return i + 1;
            break;
        }
        }
    }
    return n;
}

}  // namespace halvet
