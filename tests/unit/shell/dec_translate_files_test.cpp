// The shipped DEC translate tables (DECMULTI, DECNRC.nnn): made by tools/xlt/make_xlt_tables.py
// and compared with glibc's iconv tables of the same national sets. iconv knows the ISO 646
// national variants and DEC-MCS; where the DEC terminals' national replacement set differs from the
// ISO 646 variant, the difference is listed below and our table follows the DEC terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadDataFile(const std::string& name)
{
    std::ifstream in(std::string(TOLVI_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

uint8_t Out(const std::string& file, int c) { return static_cast<uint8_t>(file[c]); }
uint8_t In(const std::string& file, int c) { return static_cast<uint8_t>(file[256 + c]); }

// What iconv makes of the bytes in `charset`, as Windows-1252; "" when iconv cannot.
std::string Iconv(const std::string& charset, const std::string& bytes)
{
    const std::string hex = [&] {
        std::string s;
        char buf[8];
        for (unsigned char b : bytes) { std::snprintf(buf, sizeof buf, "\\%03o", b); s += buf; }
        return s;
    }();
    const std::string command =
        "printf '" + hex + "' | iconv -f " + charset + " -t CP1252 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "";
    std::string result;
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) result.append(buf, n);
    return pclose(pipe) == 0 ? result : "";
}

const char kPositions[] = "#@[\\]^_`{|}~";

struct NrcCase {
    int country;
    const char* iconvSet;   // the ISO 646 variant of the same country in glibc
    const char* dec;        // what the DEC set shows at kPositions, in Windows-1252
};

// Windows-1252 strings, one character per position of kPositions.
const NrcCase kNrc[] = {
    {1, "ANSI_X3.4-1968", "#@[\\]^_`{|}~"},
    {44, "BS_4730", "\xA3@[\\]^_`{|}~"},  // ISO: overline at ~, DEC keeps the tilde
    {49, "DIN_66003", "#\xA7\xC4\xD6\xDC^_`\xE4\xF6\xFC\xDF"},
    {43, "DIN_66003", "#\xA7\xC4\xD6\xDC^_`\xE4\xF6\xFC\xDF"},
    {33, "NF_Z_62-010", "\xA3\xE0\xB0\xE7\xA7^_`\xE9\xF9\xE8\xA8"},  // ISO: micro at `
    {32, "NF_Z_62-010", "\xA3\xE0\xB0\xE7\xA7^_`\xE9\xF9\xE8\xA8"},
    {352, "NF_Z_62-010", "\xA3\xE0\xB0\xE7\xA7^_`\xE9\xF9\xE8\xA8"},
    {34, "ES", "\xA3\xA7\xA1\xD1\xBF^_`\xB0\xF1\xE7~"},
    {39, "IT", "\xA3\xA7\xB0\xE7\xE9^_\xF9\xE0\xF2\xE8\xEC"},
    {351, "PT", "#@\xC3\xC7\xD5^_`\xE3\xE7\xF5~"},  // ISO: section sign at @, degree at ~
    {55, "PT", "#@\xC3\xC7\xD5^_`\xE3\xE7\xF5~"},
    {46, "SEN_850200_C", "#\xC9\xC4\xD6\xC5\xDC_\xE9\xE4\xF6\xE5\xFC"},
    {358, "SEN_850200_C", "#@\xC4\xD6\xC5\xDC_\xE9\xE4\xF6\xE5\xFC"},  // DEC Finnish keeps @
    {45, "NS_4551-1", "#\xC4\xC6\xD8\xC5\xDC_\xE4\xE6\xF8\xE5\xFC"},  // ISO: only the six letters
    {47, "NS_4551-1", "#\xC4\xC6\xD8\xC5\xDC_\xE4\xE6\xF8\xE5\xFC"},
    {2, "CSA_Z243.4-1985-1", "#\xE0\xE2\xE7\xEA\xEE_\xF4\xE9\xF9\xE8\xFB"},
    {41, nullptr, "\xF9\xE0\xE9\xE7\xEA\xEE\xE8\xF4\xE4\xF6\xFC\xFB"},  // Swiss: no ISO variant
    {31, nullptr, "\xA3\xBE\xFF\xBD|^_`\xA8\x83\xBC\xB4"},  // Dutch: ij shown as y diaeresis
};

// Where the DEC set and the ISO 646 variant differ: country and position.
bool KnownDifference(int country, char pos)
{
    switch (country) {
    case 44: return pos == '~';
    case 33: case 32: case 352: return pos == '`';
    case 351: case 55: return pos == '@' || pos == '~';
    case 358: return pos == '@';
    case 45: case 47: return pos == '@' || pos == '^' || pos == '`' || pos == '~';
    default: return false;
    }
}

TEST(DecTranslateFiles, GeneratorOutputIsWhatShips)
{
    const std::string command = "python3 " TOLVI_SOURCE_DIR "/tools/xlt/make_xlt_tables.py --check " TOLVI_DATA_DIR;
    EXPECT_EQ(std::system(command.c_str()), 0) << "run the generator into resources/data";
}

TEST(DecTranslateFiles, NationalSetsShowAndSendTheNationalCharacters)
{
    for (const NrcCase& c : kNrc) {
        char name[32];
        std::snprintf(name, sizeof name, "DECNRC.%03d", c.country);
        SCOPED_TRACE(name);
        const std::string file = ReadDataFile(name);
        ASSERT_EQ(file.size(), 512u);
        for (int i = 0; kPositions[i]; ++i) {
            const int pos = static_cast<uint8_t>(kPositions[i]);
            const int shown = static_cast<uint8_t>(c.dec[i]);
            EXPECT_EQ(In(file, pos), shown) << "host byte " << kPositions[i];
            if (shown != pos) {
                EXPECT_EQ(Out(file, shown), pos) << "typing the character sends the host byte";
            }
        }
        for (int b = 0; b < 256; ++b) {
            if (!std::strchr(kPositions, b) || b == 0) {
                EXPECT_EQ(In(file, b), b) << "unreplaced host byte " << b;
            }
        }
        if (c.iconvSet == nullptr) continue;
        for (int i = 0; kPositions[i]; ++i) {
            if (KnownDifference(c.country, kPositions[i])) continue;
            const std::string iso = Iconv(c.iconvSet, std::string(1, kPositions[i]));
            ASSERT_EQ(iso.size(), 1u) << c.iconvSet << " at " << kPositions[i];
            EXPECT_EQ(static_cast<uint8_t>(iso[0]), static_cast<uint8_t>(c.dec[i]))
                << c.iconvSet << " at " << kPositions[i];
        }
    }
    EXPECT_EQ(ReadDataFile("DECNRC.000"), ReadDataFile("DECNRC.001")) << "Windows country: plain ASCII";
}

TEST(DecTranslateFiles, MultinationalAgreesWithIconv)
{
    const std::string file = ReadDataFile("DECMULTI");
    ASSERT_EQ(file.size(), 512u);
    int differences = 0;
    for (int b = 0xA1; b < 0x100; ++b) {
        const std::string ref = Iconv("DEC-MCS", std::string(1, static_cast<char>(b)));
        if (ref.size() != 1) continue;  // reserved in DEC-MCS: shown as Latin-1
        const uint8_t shown = static_cast<uint8_t>(ref[0]);
        EXPECT_EQ(In(file, b), shown) << "host byte " << b;
        EXPECT_EQ(Out(file, shown), b) << "round trip of host byte " << b;
        differences += shown != b;
    }
    EXPECT_EQ(differences, 5) << "currency sign, OE, Y diaeresis, oe, y diaeresis";
    for (int b = 0; b < 0xA0; ++b) EXPECT_EQ(In(file, b), b);
}

}  // namespace
