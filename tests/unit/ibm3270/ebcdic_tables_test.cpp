// EBCDIC tables: the defaults, the national variants and, natively, every variant cell against the
// host code page that iconv knows for that country.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/ibm3270/ebcdic_tables.h"

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace {

enum Column { kAnsi = 1, kOem = 2 };
enum Variant { kEnglishUs = 0, kAustrianGerman = 1 };

TEST(EbcdicTables, DefaultsRoundTripEveryPrintableCharacter)
{
    Build3270CodeTables(-1, 1);
    for (int ch = 0x20; ch < 0x7F; ++ch) EXPECT_EQ(EbcdicToAscii[AsciiToEbcdic[ch]], ch) << ch;
    const struct {
        int ascii, ebcdic;
    } fixed[] = {{'[', 0xAD}, {']', 0xBD}, {'^', 0x5F}, {'!', 0x5A}, {'|', 0x4F}, {0x1E, 0x1E},
                 {0x1F, 0x1C}, {0x0D, 0x00}, {0x7F, 0x00}, {0xE9, 0x40}};
    for (const auto& f : fixed) EXPECT_EQ(AsciiToEbcdic[f.ascii], f.ebcdic) << f.ascii;
    EXPECT_EQ(EbcdicToAscii[0x4A], '\\');
    EXPECT_EQ(EbcdicToAscii[0x71], '^');
    EXPECT_EQ(EbcdicToAscii[0x00], ' ');
    EXPECT_EQ(EbcdicToAscii[0xFF], ' ');
}

TEST(EbcdicTables, NationalVariantsOverlayTheDefaults)
{
    struct Cell {
        int variant, column;
        uint8_t ebcdic, shown;
    };
    const Cell cells[] = {
        {kEnglishUs, kAnsi, 0x4A, 0xA2},      {kAustrianGerman, kAnsi, 0x7C, 0xA7},
        {kAustrianGerman, kAnsi, 0xC0, 0xE4}, {kAustrianGerman, kOem, 0x7C, 0xF5},
        {kAustrianGerman, kOem, 0xC0, 0x84},  {18, kAnsi, 0x6A, '|'},
    };
    for (const Cell& c : cells) {
        Build3270CodeTables(c.variant, c.column);
        EXPECT_EQ(EbcdicToAscii[c.ebcdic], c.shown);
        EXPECT_EQ(AsciiToEbcdic[c.shown], c.ebcdic);
    }
    Build3270CodeTables(kEnglishUs, kAnsi);
    EXPECT_EQ(AsciiToEbcdic[0xE9], 0x40) << "not in the table: typed as a blank";
    Build3270CodeTables(19, kAnsi);
    EXPECT_EQ(EbcdicToAscii[0x4A], '\\') << "no such variant: the defaults";
    Build3270CodeTables(kEnglishUs, 3);
    EXPECT_EQ(EbcdicToAscii[0x4A], '\\') << "no such column: the defaults";
    EXPECT_EQ(CodeTableColumnForFont(0), kAnsi);
    EXPECT_EQ(CodeTableColumnForFont(238), kAnsi);
    EXPECT_EQ(CodeTableColumnForFont(255), kOem);
}

#if !defined(_WIN32)

// One EBCDIC byte of a code page as one byte of another; -1 when it has no such character.
int Convert(const char* from, const char* to, uint8_t byte)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return -2;
    char in[1] = {static_cast<char>(byte)};
    char out[8];
    char* inp = in;
    char* outp = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || sizeof out - outLeft != 1) return -1;
    return static_cast<uint8_t>(out[0]);
}

TEST(EbcdicTables, DefaultsAreCodePage1047)
{
    Build3270CodeTables(-1, 1);
    for (int ch = 0x20; ch < 0x7F; ++ch) EXPECT_EQ(AsciiToEbcdic[ch], Convert("ASCII", "IBM1047", ch)) << ch;
}

// Every variant with a host code page in iconv, cell by cell, in both columns (ANSI: Windows
// 1252, OEM: code page 850). The cells listed as kept show the older national 3270 character the
// table was made for, where the host code page has something else.
TEST(EbcdicTables, VariantsMatchTheHostCodePages)
{
    struct Page {
        int variant;
        const char* name;
    };
    const Page pages[] = {{0, "IBM037"},  {1, "IBM273"},  {3, "IBM277"},  {5, "IBM278"},  {7, "IBM297"},
                          {8, "IBM280"},  {10, "IBM284"}, {12, "IBM285"}, {13, "IBM274"}, {14, "IBM275"},
                          {15, "IBM281"}, {16, "IBM284"}, {18, "IBM500"}};
    struct Kept {
        int variant;
        uint8_t ebcdic;
    };
    const Kept kept[] = {{5, 0xE0}, {7, 0x79}, {12, 0xA1}, {15, 0xA1}, {18, 0x6A}};
    for (const Page& page : pages) {
        for (int i = 0; i < 14; ++i) {
            const uint8_t code = kNationalCodes[i];
            bool keep = false;
            for (const Kept& k : kept) keep |= k.variant == page.variant && k.ebcdic == code;
            const NationalCell& cell = kNationalCells[page.variant][i];
            const int ansi = Convert(page.name, "CP1252", code);
            const int oem = Convert(page.name, "CP850", code);
            ASSERT_NE(ansi, -2) << page.name;
            SCOPED_TRACE(std::string(page.name) + " code " + std::to_string(code));
            if (keep) {
                EXPECT_NE(cell.ansi, ansi) << "a kept cell that now matches: drop it from the list";
            } else {
                EXPECT_EQ(cell.ansi, ansi);
                EXPECT_EQ(cell.oem, oem);
            }
        }
    }
}

#endif

}  // namespace
