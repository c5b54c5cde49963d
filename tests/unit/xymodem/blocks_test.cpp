// Block and header formats: parse, build, strip and checks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pexla.h"
#include "xy_blocks.h"

using namespace kestrix;

namespace {

std::vector<uint8_t> Field(const std::string& s, size_t size = 128) {
    std::vector<uint8_t> v(size, 0);
    std::memcpy(v.data(), s.data(), std::min(s.size(), size));
    return v;
}

}  // namespace

TEST(XyBlocks, CrcIsTheXmodemCrcAndBlocksWithTheirCrcCheckToZero) {
    EXPECT_EQ(PxCrc16("123456789", 9), 0x31C3);
    EXPECT_EQ(PxChecksum("\x01\x02\xFF", 3), 0x02);
    uint8_t packet[1100] = {};
    for (bool checksum : {true, false}) {
        std::memcpy(packet + 3, "hello", 5);
        int len = FinishBlock(packet, 128, 5, 7, checksum, false, 0x1A);
        EXPECT_EQ(len, checksum ? 132 : 133);
        EXPECT_EQ(packet[0], 0x01);
        EXPECT_EQ(packet[1], 7);
        EXPECT_EQ(packet[2], 0xF8);
        EXPECT_EQ(packet[3 + 5], 0x1A);
        EXPECT_TRUE(CheckBlock(packet, 128, checksum));
        packet[40] ^= 0x10;
        EXPECT_FALSE(CheckBlock(packet, 128, checksum));
    }
}

TEST(XyBlocks, ShortBlockWithStripHasOneNulThenPad) {
    uint8_t packet[1100] = {};
    std::memcpy(packet + 3, "abc", 3);
    EXPECT_EQ(FinishBlock(packet, 1024, 3, 1, false, true, 0x1A), 1029);
    EXPECT_EQ(packet[0], 0x02);
    EXPECT_EQ(packet[3 + 3], 0);
    EXPECT_EQ(packet[3 + 4], 0x1A);
    EXPECT_EQ(packet[3 + 1023], 0x1A);
    EXPECT_EQ(StripLength(packet + 3, 1024, 0x1A), 3);
}

TEST(XyBlocks, StripRule) {
    struct Case {
        std::string tail;  // the end of a 1024-byte block of 'x'
        uint8_t pad;
        int written;
    };
    const Case cases[] = {
        {std::string("ab\0\0", 4), 0, 1022},              // pad 0: exactly the two NULs go
        {std::string("ab\0\x1A\x1A\x1A", 6), 0x1A, 1020}, // data, NUL, a run of pad
        {"ab\x1A\x1A", 0x1A, 1024},                        // pad run without NUL: all kept
        {"abc", 0x1A, 1024},                               // last byte is not the pad
        {std::string("ab\0\x90", 4), 0x90, 1024},          // pad of 0x80 and above strips nothing
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block(1024, 'x');
        std::memcpy(block.data() + 1024 - c.tail.size(), c.tail.data(), c.tail.size());
        EXPECT_EQ(StripLength(block.data(), 1024, c.pad), c.written) << c.tail.size();
    }
    std::vector<uint8_t> allPad(1024, 0x1A);
    EXPECT_EQ(StripLength(allPad.data(), 1024, 0x1A), 0);
}

TEST(XyBlocks, HeaderParse) {
    struct Case {
        std::string field;
        const char* name;
        bool end, hasSize;
        int64_t size;
        bool hasDate;
        int64_t date;
    };
    const Case cases[] = {
        {std::string("", 0), "", true, false, 0, false, 0},
        {std::string("a.txt\0", 6), "a.txt", false, false, 0, false, 0},
        {std::string("a.txt\0" "300", 9), "a.txt", false, true, 300, false, 0},
        {std::string("a.txt\0" "300 14371573245", 21), "a.txt", false, true, 300, true, 014371573245},
        // the sender's further fields (mode, serial) after the date are ignored
        {std::string("b\0" "7 17 100644 0 1 7", 19), "b", false, true, 7, true, 017},
        {std::string("b\0" "-5 17", 7), "b", false, false, 0, true, 017},
        {std::string("b\0" "12x 17", 8), "b", false, false, 0, true, 017},
        {std::string("b\0" "99999999999", 14), "b", false, false, 0, false, 0},
        {std::string("b\0" "5 8", 5), "b", false, true, 5, false, 0},
    };
    for (const Case& c : cases) {
        auto data = Field(c.field);
        HeaderInfo h = ParseHeader(data.data(), 128);
        EXPECT_STREQ(h.name, c.name);
        EXPECT_EQ(h.endOfBatch, c.end);
        EXPECT_EQ(h.hasSize, c.hasSize) << c.field;
        if (c.hasSize) {
            EXPECT_EQ(h.size, c.size);
        }
        EXPECT_EQ(h.hasDate, c.hasDate) << c.field;
        if (c.hasDate) {
            EXPECT_EQ(h.modTime, c.date);
        }
    }
}

TEST(XyBlocks, HeaderParseStaysInsideTheDataField) {
    // A name that fills the whole field without its NUL ends at the field's end.
    std::vector<uint8_t> data(128, 'n');
    HeaderInfo h = ParseHeader(data.data(), 128);
    EXPECT_EQ(std::strlen(h.name), 128u);
    EXPECT_FALSE(h.hasSize);
    std::vector<uint8_t> big(1024, '7');
    big[0] = 'f';
    big[1] = 0;
    h = ParseHeader(big.data(), 1024);
    EXPECT_FALSE(h.hasSize);  // 50 digits and more: no number
}

TEST(XyBlocks, LocalFileNameKeepsOnlyTheLastComponent) {
    struct Case {
        const char* sent;
        const char* local;  // null: refused
    };
    const Case cases[] = {
        {"a.txt", "a.txt"}, {"../../etc/passwd", "passwd"}, {"dir\\sub\\x.bin", "x.bin"},
        {"C:autoexec.bat", "autoexec.bat"}, {"/abs/path/y", "y"}, {"..", nullptr}, {".", nullptr},
        {"dir/", nullptr}, {"a/..", nullptr}, {"bad\x01name", nullptr},
    };
    for (const Case& c : cases) {
        char out[260];
        bool ok = LocalFileName(c.sent, out, sizeof out);
        EXPECT_EQ(ok, c.local != nullptr) << c.sent;
        if (ok && c.local) {
            EXPECT_STREQ(out, c.local);
        }
    }
}

TEST(XyBlocks, HeaderBuildRoundTripsAndGrowsTo1KWhenTheFieldsDoNotFit) {
    uint8_t packet[1100];
    int len = BuildHeader(packet, "report.txt", 12345, 01234567);
    EXPECT_EQ(len, 133);
    EXPECT_EQ(packet[0], 0x01);
    EXPECT_EQ(packet[1], 0);
    EXPECT_EQ(packet[2], 0xFF);
    EXPECT_TRUE(CheckBlock(packet, 128, false));
    HeaderInfo h = ParseHeader(packet + 3, 128);
    EXPECT_STREQ(h.name, "report.txt");
    EXPECT_EQ(h.size, 12345);
    EXPECT_EQ(h.modTime, 01234567);

    // The size test counts name, NUL, size, space, date and the last NUL.
    std::string name(123, 'n');  // with size "1" and date "0": exactly 128 bytes
    EXPECT_EQ(BuildHeader(packet, name.c_str(), 1, 0), 133);
    name += 'n';
    len = BuildHeader(packet, name.c_str(), 1, 0);
    EXPECT_EQ(len, 1029);
    EXPECT_EQ(packet[0], 0x02);
    EXPECT_TRUE(CheckBlock(packet, 1024, false));

    EXPECT_EQ(BuildHeader(packet, "", 0, 0), 133);
    EXPECT_TRUE(ParseHeader(packet + 3, 128).endOfBatch);
}
