// ZMODEM frames on the line: headers (hex, binary with CRC-16, binary with CRC-32) and data
// sub-packets, with ZDLE escaping. The encoder appends frames to a byte buffer; the decoder takes
// the line's bytes as they come and reports each header, sub-packet and cancel it finds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvet {

// Framing bytes.
constexpr uint8_t ZPAD = '*', ZDLE = 0x18, ZDLEE = ZDLE ^ 0x40;
constexpr uint8_t ZBIN = 'A', ZHEX = 'B', ZBIN32 = 'C';
constexpr uint8_t XON = 0x11, XOFF = 0x13, CAN = 0x18;

// Frame types.
enum FrameType : uint8_t {
    ZRQINIT = 0, ZRINIT = 1, ZSINIT = 2, ZACK = 3, ZFILE = 4, ZSKIP = 5, ZNAK = 6, ZABORT = 7,
    ZFIN = 8, ZRPOS = 9, ZDATA = 10, ZEOF = 11, ZFERR = 12, ZCRC = 13, ZCHALLENGE = 14,
    ZCOMPL = 15, ZCAN = 16, ZFREECNT = 17, ZCOMMAND = 18, ZSTDERR = 19,
};
constexpr uint8_t kLastFrameType = ZSTDERR;

// Sub-packet ends (after a ZDLE).
constexpr uint8_t ZCRCE = 'h';  // end of frame, no reply expected
constexpr uint8_t ZCRCG = 'i';  // more follow, no reply
constexpr uint8_t ZCRCQ = 'j';  // more follow, reply ZACK
constexpr uint8_t ZCRCW = 'k';  // end of frame, reply ZACK
constexpr uint8_t ZRUB0 = 'l', ZRUB1 = 'm';  // escaped 0x7F and 0xFF

// Header flag bytes: ZF0 is byte 3, ZF1 byte 2, ZF2 byte 1, ZF3 byte 0; a position is the four
// bytes little-endian.
constexpr int ZF0 = 3, ZF1 = 2, ZF2 = 1, ZF3 = 0;
// ZRINIT capabilities (ZF0).
constexpr uint8_t CANFDX = 0x01, CANOVIO = 0x02, CANFC32 = 0x20, ESCCTL = 0x40;
// ZSINIT flags (ZF0).
constexpr uint8_t TESCCTL = 0x40;
// ZFILE conversion (ZF0) and management (ZF1).
constexpr uint8_t ZCBIN = 1, ZCNL = 2, ZCRESUM = 3;
constexpr uint8_t ZMNEWL = 1, ZMCRC = 2, ZMAPND = 3, ZMCLOB = 4, ZMNEW = 5, ZMDIFF = 6, ZMPROT = 7;
constexpr uint8_t ZMMASK = 0x1F, ZMSKNOLOC = 0x80;

// Longest data sub-packet accepted.
constexpr size_t kMaxSubpacket = 8192;

struct Header {
    uint8_t type = 0;
    uint8_t b[4] = {0, 0, 0, 0};
    uint32_t Pos() const { return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24; }
};
Header MakeHeader(uint8_t type, uint32_t pos = 0);
Header MakeFlags(uint8_t type, uint8_t f0, uint8_t f1 = 0, uint8_t f2 = 0, uint8_t f3 = 0);

// Builds frames with the chosen escaping.
class Encoder {
public:
    // escapeControls: escape every control character (and with the high bit); otherwise only
    // ZDLE, DLE, XON, XOFF (both halves) and a CR after '@'.
    void SetEscapeControls(bool on) { escapeControls_ = on; }
    bool EscapeControls() const { return escapeControls_; }

    void Hex(std::vector<uint8_t>& out, const Header& h);
    void Binary(std::vector<uint8_t>& out, const Header& h, bool crc32);
    // One data sub-packet: the data, then ZDLE end and the check; ZCRCW is followed by XON.
    void Subpacket(std::vector<uint8_t>& out, const uint8_t* data, size_t length, uint8_t end, bool crc32);

private:
    bool NeedsEscape(uint8_t c) const;
    void Put(std::vector<uint8_t>& out, uint8_t c);
    bool escapeControls_ = false;
    uint8_t last_ = 0;
};

// The cancel sequence: eight CANs, then as many backspaces to clear them off a terminal.
void AppendCancel(std::vector<uint8_t>& out);

class Decoder {
public:
    enum class Kind {
        None,        // the input ran out without an event
        Header,      // a header whose check was good
        BadHeader,   // a header whose check failed
        Data,        // a data sub-packet (see ok)
        Overflow,    // a sub-packet longer than kMaxSubpacket
        Cancel,      // five CANs in a row
    };
    struct Event {
        Kind kind = Kind::None;
        Header header;
        bool crc32 = false;       // the header's (or the sub-packet's) check was CRC-32
        const uint8_t* data = nullptr;
        size_t length = 0;
        uint8_t end = 0;          // sub-packet end
        bool ok = false;          // sub-packet check good
    };

    // Consumes bytes until one event is complete or the input runs out; returns the bytes used.
    size_t Feed(const uint8_t* p, size_t n, Event& ev);
    // Sub-packets follow a header of these types; the decoder reads them after it. Other
    // headers leave it hunting for the next header.
    static bool CarriesData(uint8_t type) { return type == ZDATA || type == ZFILE || type == ZSINIT || type == ZCOMMAND; }
    // Forget any frame in progress and hunt for the next header.
    void Reset();

private:
    enum class State { Hunt, Pad, Dle, HexDigits, BinBytes, DataBytes, DataCheck };
    // A byte that stands for itself inside a sub-packet.
    static bool Plain(uint8_t c) { return c != ZDLE && (c & 0x7F) != XON && (c & 0x7F) != XOFF; }
    // One byte after ZDLE handling; returns -1 for "need more", or the plain byte, or 0x100 + end.
    int Unescape(uint8_t c, bool& bad);
    bool HeaderDone(Event& ev);
    bool DataDone(Event& ev);
    // A sub-packet broken by a bad escape: reported as damaged; returns the bytes used.
    size_t BadData(Event& ev, size_t at);

    State state_ = State::Hunt;
    int cans_ = 0;
    bool escaped_ = false;
    bool crc32_ = false;        // format of the current header / sub-packets
    bool dataCrc32_ = false;
    uint8_t buf_[16] = {};
    size_t have_ = 0;
    size_t need_ = 0;
    bool hexHigh_ = true;
    uint8_t end_ = 0;
    bool pendingClear_ = false;
    bool hexHeader_ = false;
    int hexTail_ = 0;            // CR and LF after a hex header that sub-packets follow  // the last event's data is emptied at the next Feed
    std::vector<uint8_t> data_;
};

}  // namespace halvet
