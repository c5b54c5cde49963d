// Frames on the line: the checks against their published check values, headers and
// sub-packets through the encoder and back through the decoder in every format, damage, and
// the cancel sequence.
#include <gtest/gtest.h>

#include <string>

#include "hv_crc.h"
#include "hv_frames.h"

using namespace halvet;

namespace {

std::vector<Decoder::Event> DecodeAll(Decoder& d, const std::vector<uint8_t>& bytes, std::vector<std::vector<uint8_t>>* data = nullptr,
                                      size_t slice = 0) {
    std::vector<Decoder::Event> events;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t n = slice ? std::min(slice, bytes.size() - at) : bytes.size() - at;
        size_t used = 0;
        while (used < n) {
            Decoder::Event ev;
            used += d.Feed(bytes.data() + at + used, n - used, ev);
            if (ev.kind == Decoder::Kind::None) continue;
            events.push_back(ev);
            if (data) data->emplace_back(ev.data, ev.data + ev.length);
        }
        at += n;
    }
    return events;
}

std::vector<uint8_t> AllBytes() {
    std::vector<uint8_t> v;
    for (int i = 0; i < 256; ++i) v.push_back(static_cast<uint8_t>(i));
    for (int i = 0; i < 5; ++i) v.push_back(ZDLE);  // never taken for a cancel inside data
    v.push_back('@');
    v.push_back('\r');
    return v;
}

}  // namespace

TEST(HalvetFrames, ChecksMatchTheirCheckValues) {
    const std::string text = "123456789";
    auto p = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(Crc16(p, text.size()), 0x31C3);
    EXPECT_EQ(Crc32(p, text.size()), 0xCBF43926u);
}

TEST(HalvetFrames, HexHeaderOfARequestToBeginIsTheWellKnownLine) {
    Encoder e;
    std::vector<uint8_t> out;
    e.Hex(out, MakeHeader(ZRQINIT));
    const std::string expected = std::string("**\x18" "B00000000000000\r\x8a\x11");
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
}

struct Format {
    const char* name;
    int kind;  // 0 hex, 1 binary CRC-16, 2 binary CRC-32
    bool escapeControls;
    size_t slice;
};

class HalvetFormats : public testing::TestWithParam<Format> {};

TEST_P(HalvetFormats, HeaderAndSubpacketsComeBackAsSent) {
    const Format f = GetParam();
    Encoder e;
    e.SetEscapeControls(f.escapeControls);
    std::vector<uint8_t> line = {'x', ZPAD, 0x11};  // garbage before the frame
    Header h = MakeHeader(f.kind == 0 ? ZFILE : ZDATA, 0x18131190u);
    if (f.kind == 0) e.Hex(line, h);
    else e.Binary(line, h, f.kind == 2);
    const bool crc32 = f.kind == 2;
    const auto payload = AllBytes();
    e.Subpacket(line, payload.data(), payload.size(), ZCRCG, crc32);
    e.Subpacket(line, payload.data(), 10, ZCRCQ, crc32);
    e.Subpacket(line, nullptr, 0, ZCRCW, crc32);
    if (f.escapeControls) {
        for (size_t i = 3; i < line.size(); ++i) {
            if (line[i] == ZDLE || (line[i] == XON && i + 1 == line.size())) continue;
            // Every other control character is escaped (the hex header ends in CR LF).
            if (f.kind != 0 || i > 24) {
                EXPECT_NE(line[i] & 0x60, 0) << "byte " << i;
            }
        }
    }
    Decoder d;
    std::vector<std::vector<uint8_t>> data;
    auto events = DecodeAll(d, line, &data, f.slice);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, Decoder::Kind::Header);
    EXPECT_EQ(events[0].header.type, h.type);
    EXPECT_EQ(events[0].header.Pos(), 0x18131190u);
    EXPECT_EQ(events[0].crc32, crc32);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(events[i].kind, Decoder::Kind::Data);
        EXPECT_TRUE(events[i].ok);
        EXPECT_EQ(events[i].crc32, crc32);
    }
    EXPECT_EQ(data[1], payload);
    EXPECT_EQ(events[1].end, ZCRCG);
    EXPECT_EQ(data[2], std::vector<uint8_t>(payload.begin(), payload.begin() + 10));
    EXPECT_EQ(events[2].end, ZCRCQ);
    EXPECT_TRUE(data[3].empty());
    EXPECT_EQ(events[3].end, ZCRCW);
}

INSTANTIATE_TEST_SUITE_P(All, HalvetFormats,
                         testing::Values(Format{"hex", 0, false, 0}, Format{"bin16", 1, false, 0},
                                         Format{"bin32", 2, false, 0}, Format{"bin32esc", 2, true, 0},
                                         Format{"bin16esc_bytewise", 1, true, 1},
                                         Format{"hex_bytewise", 0, false, 1}),
                         [](const testing::TestParamInfo<Format>& i) { return std::string(i.param.name); });

TEST(HalvetFrames, DamageIsReportedAndTheNextFrameIsFound) {
    for (bool crc32 : {false, true}) {
        Encoder e;
        std::vector<uint8_t> line;
        e.Binary(line, MakeHeader(ZDATA, 100), crc32);
        const size_t headerEnd = line.size();
        const std::vector<uint8_t> payload(300, 'a');
        e.Subpacket(line, payload.data(), payload.size(), ZCRCE, crc32);
        const size_t dataEnd = line.size();
        e.Binary(line, MakeHeader(ZEOF, 400), crc32);

        // A flipped data byte: the sub-packet fails its check, the ZEOF still comes through.
        auto damaged = line;
        damaged[headerEnd + 50] ^= 0x04;
        Decoder d;
        auto events = DecodeAll(d, damaged);
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[1].kind, Decoder::Kind::Data);
        EXPECT_FALSE(events[1].ok);
        EXPECT_EQ(events[2].kind, Decoder::Kind::Header);
        EXPECT_EQ(events[2].header.type, ZEOF);

        // A flipped header byte: a bad header, and no data taken for it.
        damaged = line;
        damaged[4] ^= 0x01;
        Decoder d2;
        events = DecodeAll(d2, damaged);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events[0].kind, Decoder::Kind::BadHeader);
        EXPECT_EQ(events.back().kind, Decoder::Kind::Header);
        EXPECT_EQ(events.back().header.type, ZEOF);
        for (auto& ev : events) EXPECT_NE(ev.kind, Decoder::Kind::Data);
        (void)dataEnd;
    }
}

TEST(HalvetFrames, OverlongSubpacketIsRefused) {
    Encoder e;
    std::vector<uint8_t> line;
    e.Binary(line, MakeHeader(ZDATA, 0), true);
    std::vector<uint8_t> big(kMaxSubpacket + 1, 'z');
    e.Subpacket(line, big.data(), big.size(), ZCRCG, true);
    Decoder d;
    auto events = DecodeAll(d, line);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[1].kind, Decoder::Kind::Overflow);
}

TEST(HalvetFrames, FiveCansCancelAnywhere) {
    std::vector<uint8_t> cancel;
    AppendCancel(cancel);
    for (int where = 0; where < 3; ++where) {
        Encoder e;
        std::vector<uint8_t> line;
        if (where >= 1) e.Binary(line, MakeHeader(ZDATA, 0), false);
        if (where == 2) line.insert(line.end(), {'a', 'b', ZDLE});
        line.insert(line.end(), cancel.begin(), cancel.end());
        Decoder d;
        auto events = DecodeAll(d, line);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().kind, Decoder::Kind::Cancel) << where;
    }
}
