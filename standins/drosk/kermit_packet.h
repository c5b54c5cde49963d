// Kermit packets on the line: framing of outgoing packets and a reader that finds incoming
// ones in a byte stream.
//
//   normal: MARK LEN SEQ TYPE DATA... CHECK             (LEN counts SEQ to CHECK, 3..94)
//   long:   MARK ' ' SEQ TYPE LENX1 LENX2 HCHECK DATA... CHECK
//
// LENX = unchar(LENX1) * 95 + unchar(LENX2) counts DATA and CHECK; HCHECK is the one-character
// check of LEN SEQ TYPE LENX1 LENX2. The block check covers everything from LEN to the last
// data character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace drosk {

constexpr int kMaxLongLength = 95 * 94 + 94;  // the largest LENX

struct Packet {
    int seq = 0;
    char type = 0;
    std::vector<uint8_t> data;
};

// What to put around each packet we send.
struct Framing {
    uint8_t mark = 1;
    uint8_t eol = 13;
    int padCount = 0;
    uint8_t padChar = 0;
};

// The bytes of one packet, with its padding and end-of-line. A packet whose LEN would pass 94
// goes out in the long form.
std::vector<uint8_t> FramePacket(const Framing& f, int seq, char type, const uint8_t* data,
                                 size_t n, int checkType);

// A packet as found on the line, before its block check is verified.
struct RawPacket {
    int seq = 0;
    char type = 0;
    std::vector<uint8_t> body;  // LEN through the last character of the check
    size_t dataOffset = 0;      // where DATA starts in body
};

// Splits the check off a raw packet and verifies it; true with the packet on success.
bool VerifyPacket(const RawPacket& raw, int checkType, Packet* out);

// Finds packets in the received bytes. A mark always starts a new packet (it is a control
// character that is always prefixed, so it never occurs inside a packet); a packet cut short
// by the next mark is reported as damaged. Other control characters may occur inside a packet
// (senders may leave some unprefixed).
class PacketReader {
public:
    enum class Event { None, Packet, Damaged };
    explicit PacketReader(uint8_t mark = 1) : mark_(mark) {}
    void SetMark(uint8_t mark) { mark_ = mark; }
    void Feed(const uint8_t* bytes, size_t n) { input_.insert(input_.end(), bytes, bytes + n); }
    // The next event from the bytes fed so far; a packet is left in *raw.
    Event Next(RawPacket* raw);
    void Clear();
    // True while a packet has begun and not ended.
    bool InPacket() const { return state_ != State::Hunt; }
    // Gives up the packet that has begun.
    void DropPartial() { state_ = State::Hunt; body_.clear(); }

private:
    enum class State { Hunt, Len, Body };
    uint8_t mark_;
    std::deque<uint8_t> input_;
    State state_ = State::Hunt;
    std::vector<uint8_t> body_;
    size_t want_ = 0;     // body length once known (0 while unknown)
    bool long_ = false;
};

}  // namespace drosk
