// Packets and their data fields: block checks, framing, finding packets in a damaged stream,
// prefixing and repeat counts.
#include <gtest/gtest.h>

#include <string>

#include "kermit_chars.h"
#include "kermit_encoding.h"
#include "kermit_packet.h"

using namespace drosk;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> AllBytesTwice() {
    std::vector<uint8_t> v;
    for (int round = 0; round < 2; ++round)
        for (int b = 0; b < 256; ++b) v.push_back(static_cast<uint8_t>(b));
    return v;
}

}  // namespace

TEST(KermitChecks, KnownValues) {
    // The generic Finish command a terminal sends to a server: "$ GF" checks as '4'.
    const auto finish = Bytes("$ GF");
    uint8_t c[3];
    MakeCheck(finish.data(), finish.size(), 1, c);
    EXPECT_EQ(c[0], '4');
    const auto digits = Bytes("123456789");
    EXPECT_EQ(Crc16(digits.data(), digits.size()), 0x2189);
    MakeCheck(digits.data(), digits.size(), 2, c);
    EXPECT_EQ(c[0], ToChar((477 >> 6) & 63));  // the digits sum to 477
    EXPECT_EQ(c[1], ToChar(477 & 63));
}

TEST(KermitPackets, FinishPacketIsFramedAsTerminalsSendIt) {
    auto frame = FramePacket(Framing{}, 0, 'G', reinterpret_cast<const uint8_t*>("F"), 1, 1);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0x01, '$', ' ', 'G', 'F', '4', 0x0D}));
}

TEST(KermitPackets, RoundTripNormalAndLongWithEachCheck) {
    for (size_t n : {0u, 10u, 88u, 89u, 90u, 300u, 1000u, 9000u}) {
        for (int check = 1; check <= 3; ++check) {
            std::vector<uint8_t> data(n);
            for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(33 + i % 90);
            Framing f;
            f.padCount = 2;
            auto frame = FramePacket(f, 70, 'D', data.data(), n, check);
            EXPECT_EQ(frame[3] == ' ', n + 2 + CheckLength(check) > 94) << n;  // behind pads and mark
            PacketReader reader;
            reader.Feed(frame.data(), frame.size());
            RawPacket raw;
            ASSERT_EQ(reader.Next(&raw), PacketReader::Event::Packet) << n << " " << check;
            Packet p;
            ASSERT_TRUE(VerifyPacket(raw, check, &p));
            EXPECT_EQ(p.seq, 70 & 63);
            EXPECT_EQ(p.type, 'D');
            EXPECT_EQ(p.data, data);
        }
    }
}

TEST(KermitPackets, DamageIsSeenAndTheNextPacketStillFound) {
    const auto data = Bytes("HELLO");
    auto good = FramePacket(Framing{}, 1, 'D', data.data(), data.size(), 3);
    struct Case {
        const char* what;
        std::vector<uint8_t> damaged;
    };
    std::vector<uint8_t> flipped = good;
    flipped[5] ^= 0x01;
    std::vector<uint8_t> cut(good.begin(), good.begin() + 6);  // the next mark arrives early
    std::vector<uint8_t> badLen = {0x01, '!', ' ', 'D'};  // LEN 1 is not a packet
    for (const Case& c : {Case{"flipped", flipped}, Case{"cut", cut}, Case{"length", badLen}}) {
        PacketReader reader;
        reader.Feed(c.damaged.data(), c.damaged.size());
        reader.Feed(good.data(), good.size());
        RawPacket raw;
        Packet p;
        PacketReader::Event e = reader.Next(&raw);
        bool sawDamage = e == PacketReader::Event::Damaged ||
                         (e == PacketReader::Event::Packet && !VerifyPacket(raw, 3, &p));
        EXPECT_TRUE(sawDamage) << c.what;
        // Whatever came of the damage, the good packet behind it is found.
        bool found = false;
        while ((e = reader.Next(&raw)) != PacketReader::Event::None)
            if (e == PacketReader::Event::Packet && VerifyPacket(raw, 3, &p) && p.data == data) found = true;
        EXPECT_TRUE(found) << c.what;
    }
}

TEST(KermitPackets, LongPacketHeaderCheckGuardsTheLength) {
    std::vector<uint8_t> data(500, 'x');
    auto frame = FramePacket(Framing{}, 3, 'D', data.data(), data.size(), 1);
    frame[4] += 1;  // LENX1 changed: without the header check the reader would wait for more
    PacketReader reader;
    reader.Feed(frame.data(), frame.size());
    RawPacket raw;
    EXPECT_EQ(reader.Next(&raw), PacketReader::Event::Damaged);
}

TEST(KermitEncoding, RoundTripUnderEachQuoting) {
    const std::vector<uint8_t> data = [] {
        auto v = AllBytesTwice();
        v.insert(v.end(), 200, 'A');    // a long run
        v.insert(v.end(), 5, '~');      // runs of the prefixes themselves
        v.insert(v.end(), 4, '#');
        v.insert(v.end(), 3, '&');
        v.insert(v.end(), 7, 0x8D);     // 8-bit control
        return v;
    }();
    const Quoting cases[] = {
        {'#', 0, 0}, {'#', '&', 0}, {'#', 0, '~'}, {'#', '&', '~'}, {'!', '>', '`'},
    };
    for (const Quoting& q : cases) {
        for (size_t limit : {5u, 7u, 90u, 1000u}) {  // 5: the longest unit
            std::vector<uint8_t> decoded;
            size_t at = 0;
            while (at < data.size()) {
                std::vector<uint8_t> field;
                size_t took = EncodeData(q, data.data() + at, data.size() - at, limit, field);
                ASSERT_GT(took, 0u);
                ASSERT_LE(field.size(), limit);
                for (uint8_t c : field) ASSERT_TRUE((c & 0x7F) >= 32 && (c & 0x7F) != 127);
                if (q.eighthBit) {
                    for (uint8_t c : field) ASSERT_LT(c, 0x80);
                }
                ASSERT_TRUE(DecodeData(q, field.data(), field.size(), decoded));
                at += took;
            }
            EXPECT_EQ(decoded, data) << q.control << " " << q.eighthBit << " " << q.repeat << " " << limit;
        }
    }
}

TEST(KermitEncoding, RepeatCountsShortenRuns) {
    std::vector<uint8_t> run(94, 0);
    std::vector<uint8_t> field;
    EXPECT_EQ(EncodeData(Quoting{'#', 0, '~'}, run.data(), run.size(), 90, field), 94u);
    EXPECT_EQ(field, Bytes("~~#@"));  // 94 as tochar is '~'
}

TEST(KermitEncoding, MalformedFieldsAreRefused) {
    const Quoting q{'#', '&', '~'};
    for (const char* bad : {"#", "&", "~", "~(", "AB#"}) {
        std::vector<uint8_t> out;
        auto field = Bytes(bad);
        EXPECT_FALSE(DecodeData(q, field.data(), field.size(), out)) << bad;
    }
    std::vector<uint8_t> out;
    auto field = Bytes("~\x1F" "A");  // a count below zero
    EXPECT_FALSE(DecodeData(q, field.data(), field.size(), out));
}
