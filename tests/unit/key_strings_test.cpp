// The key-string notation: decoding with and without 8-bit controls and national conversion,
// the token parsers, the formatters, and the configuration-file escaping.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/key_strings.h"
#include "fake_platform.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct DecodeCase {
    const char* text;
    int maximum;
    bool eightBit;
    Bytes expected;
};

std::ostream& operator<<(std::ostream& os, const DecodeCase& c)
{
    return os << '"' << c.text << "\" max " << c.maximum << (c.eightBit ? " 8-bit" : "");
}

class Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, Bytes)
{
    const DecodeCase& c = GetParam();
    SettingsRecord rec{};
    TranslateTables tables;
    SetIdentityTables(tables);
    // The exact-size text buffer lets ASan see a read past the terminator.
    const std::string source = c.text;
    std::unique_ptr<char[]> text(new char[source.size() + 1]);
    std::copy(source.c_str(), source.c_str() + source.size() + 1, text.get());
    Bytes out(64, 0xEE);
    const int n = DecodeKeyString(rec, tables, text.get(), out.data(), c.maximum, c.eightBit, false);
    ASSERT_GE(n, 0);
    out.resize(static_cast<std::size_t>(n));
    EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Notation, Decode,
    testing::Values(
        DecodeCase{"ab<cr><lf>", 64, false, {'a', 'b', 0x0D, 0x0A}},
        DecodeCase{"<ESC>[A", 64, true, {0x9B, 'A'}},
        DecodeCase{"<ESC>[A", 64, false, {0x1B, '[', 'A'}},
        DecodeCase{"<esc><1b>", 64, true, {0x9B}},
        DecodeCase{"<esc cr>", 64, false, {0x1B, 0x0D}},
        DecodeCase{"^c", 64, false, {0x03}},
        DecodeCase{"^<esc>a", 64, false, {0x1B, 0x01}},
        DecodeCase{"<ctrl-a>", 64, false, {0x01}},
        DecodeCase{"<ctrl-[>", 64, false, {0x1B}},
        DecodeCase{"<us>", 64, false, {0x1F}},
        DecodeCase{"<bs><ff>", 64, false, {0x08, 0xFF}},
        DecodeCase{"<1b5b>", 64, false, {0x1B}},
        DecodeCase{"<csi>", 64, false, {0x9B}},
        DecodeCase{"\\<esc\\>", 64, false, {'<', 'e', 's', 'c', '>'}},
        DecodeCase{"\"quoted\\\"\"", 64, false, {'q', 'u', 'o', 't', 'e', 'd', '"'}},
        DecodeCase{"^\\a", 64, false, {'a'}},  // a backslash neither applies nor clears the caret
        DecodeCase{"<tab>x", 1, false, {0x09}},
        DecodeCase{"<zz q>x", 64, false, {'x'}},  // unknown tokens are skipped
        DecodeCase{"<esc>\x80", 64, true, {0x1B, 0x80}},  // only bytes below 0x80 fold
        // Texts that end inside a token or an escape stop at the terminator.
        DecodeCase{"a<esc", 64, false, {'a', 0x1B}},
        DecodeCase{"<ctrl-", 64, false, {}},
        DecodeCase{"<ct", 64, false, {}},
        DecodeCase{"<1", 64, false, {}},
        DecodeCase{"x\\", 64, false, {'x'}},
        DecodeCase{"^", 64, false, {}}));

TEST(DecodeNational, ConvertsPlainCharactersForTheHost)
{
    FakePlatform platform;  // code pages 437 / 1252
    ScopedPlatform installed(platform);
    SettingsRecord rec{};
    TranslateTables tables;
    SetIdentityTables(tables);
    tables.Outgoing['a'] = 'Z';
    tables.Outgoing['['] = '[';
    const char* text = "a\xE9<esc>[";
    uint8_t out[8] = {};

    struct {
        int charset;
        bool eightBit;
        Bytes expected;
    } cases[] = {
        {1, false, {'Z', 0xE9, 0x1B, '['}},
        {2, true, {'Z', 0xE9, 0x9B}},           // the table's byte folds after ESC
        {3, true, {'a', 0xE9, 0x1B, '['}},      // ISO 8859: as it is, no folding
        {4, false, {'a', 0x82, 0x1B, '['}},     // IBM PC: ANSI 0xE9 is OEM 0x82
    };
    for (const auto& c : cases) {
        rec.Charset = c.charset;
        const int n = DecodeKeyString(rec, tables, text, out, 8, c.eightBit, true);
        EXPECT_EQ(Bytes(out, out + n), c.expected) << "charset " << c.charset;
    }
}

TEST(DecodeProcessRecord, UsesTheSessionTables)
{
    SetIdentityTables(SessionTranslateTables);
    SessionTranslateTables.Outgoing['q'] = 'Q';
    Rec->Charset = 1;
    char out[4] = {};
    EXPECT_EQ(DecodeKeyString("q", out, 4, false, true), 1);
    EXPECT_EQ(out[0], 'Q');
    SetIdentityTables(SessionTranslateTables);
}

TEST(KeyNames, ParseConsumesWhatItRead)
{
    struct {
        const char* text;
        int used;
        int byte;
    } cases[] = {
        {"esc>", 3, 0x1B},  {"<  CR>", 5, 0x0D}, {"Null", 4, 0x00}, {"ctrl-a", 6, 0x01},
        {"CTRL-z>", 6, 0x1A}, {"del", 3, 0x7F},    {"escx", 0, -1},    {"ctrl-", 0, -1},
        {"", 0, -1},         {"esc-x", 0, -1},
    };
    for (const auto& c : cases) {
        uint8_t b = 0xAA;
        EXPECT_EQ(ParseKeyName(c.text, b), c.used) << c.text;
        if (c.byte >= 0) {
            EXPECT_EQ(b, c.byte) << c.text;
        }
    }
    // Every named row decodes to its code through the group syntax.
    for (const KeyStringName* row = KeyStringNames; row->name; ++row) {
        if (row->code == kKeyNameCtrl) continue;
        const std::string text = std::string("<") + row->name + ">";
        uint8_t out[2] = {};
        SettingsRecord rec{};
        TranslateTables tables;
        SetIdentityTables(tables);
        ASSERT_EQ(DecodeKeyString(rec, tables, text.c_str(), out, 2, false, false), 1) << text;
        EXPECT_EQ(out[0], row->code) << text;
    }
}

TEST(KeyNames, HexPairs)
{
    uint8_t b = 0;
    EXPECT_EQ(ParseHexPair("1b", b), 2);
    EXPECT_EQ(b, 0x1B);
    EXPECT_EQ(ParseHexPair("Ff", b), 2);
    EXPECT_EQ(b, 0xFF);
    EXPECT_EQ(ParseHexPair("g1", b), 0);
    EXPECT_EQ(ParseHexPair("1", b), 0);
    EXPECT_EQ(ParseHexPair("", b), 0);
}

TEST(KeyFormat, HexAndControlCharacters)
{
    char out[3] = {};
    EXPECT_EQ(FormatHexPair(0x0A, out), 2);
    EXPECT_EQ(std::string(out, 2), "0A");
    EXPECT_EQ(FormatHexPair(0xFE, out), 2);
    EXPECT_EQ(std::string(out, 2), "FE");

    EXPECT_EQ(FormatControlChar(0x0D, out), 2);
    EXPECT_EQ(std::string(out, 2), "^M");
    EXPECT_EQ(FormatControlChar(0x00, out), 2);
    EXPECT_EQ(std::string(out, 2), "^@");
    EXPECT_EQ(FormatControlChar(0x1B, out), 1);
    EXPECT_EQ(out[0], '\x1B');
    EXPECT_EQ(FormatControlChar('a', out), 1);
    EXPECT_EQ(out[0], 'a');
}

TEST(KeyFormat, FormattedBytesDecodeBack)
{
    SettingsRecord rec{};
    TranslateTables tables;
    SetIdentityTables(tables);
    for (int b = 0; b < 256; ++b) {
        char text[5] = {'<', 0, 0, '>', 0};
        FormatHexPair(static_cast<uint8_t>(b), text + 1);
        uint8_t out[2] = {};
        ASSERT_EQ(DecodeKeyString(rec, tables, text, out, 2, false, false), 1) << text;
        EXPECT_EQ(out[0], b) << text;
    }
    for (int b = 0; b < 0x10; ++b) {
        char text[3] = {};
        ASSERT_EQ(FormatControlChar(static_cast<uint8_t>(b), text), 2);
        uint8_t out[2] = {};
        ASSERT_EQ(DecodeKeyString(rec, tables, text, out, 2, false, false), 1) << text;
        EXPECT_EQ(out[0], b) << text;
    }
}

TEST(ConfigStrings, UnescapeRules)
{
    struct {
        const char* source;
        int maximum;
        const char* expected;
    } cases[] = {
        {"a\\nb\\rc", 64, "a\nb\rc"},
        {"\\\\x\\\"\\q", 64, "\\x\"q"},
        {"abcdef", 3, "abc"},
        {"tail\\", 64, "tail\\"},  // a final backslash is kept, nothing is read past the end
        {"", 5, ""},
        {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        char out[65];
        const int n = UnescapeString(c.source, out, c.maximum);
        EXPECT_STREQ(out, c.expected) << c.source;
        EXPECT_EQ(n, static_cast<int>(std::string(c.expected).size())) << c.source;
    }
}

TEST(ConfigStrings, QuoteRules)
{
    char out[64];
    EXPECT_EQ(QuoteString("a\rb", out, 60), 6);
    EXPECT_STREQ(out, "\"a\\rb\"");
    EXPECT_EQ(QuoteString("x\\y\n", out, 60), 8);
    EXPECT_STREQ(out, "\"x\\\\y\\n\"");

    // limit 4: the opening quote and three characters; an escape may end one past the limit.
    EXPECT_EQ(QuoteString("abcdef", out, 4), 5);
    EXPECT_STREQ(out, "\"abc\"");
    std::memset(out, 'E', sizeof out);
    EXPECT_EQ(QuoteString("a\\", out, 3), 5);  // the escape ends one past the limit: limit + 3 bytes
    EXPECT_STREQ(out, "\"a\\\\\"");
    EXPECT_EQ(out[6], 'E');

    std::memset(out, 'E', sizeof out);
    EXPECT_EQ(QuoteString("abc", out, 1), 0);
    EXPECT_EQ(out[0], 'E');  // nothing written
}

TEST(ConfigStrings, QuoteThenUnescapeRoundTrips)
{
    const std::string original = "line1\r\nC:\\dir\\ \"q\" <esc>^A";
    char quoted[128];
    const int q = QuoteString(original.c_str(), quoted, 120);
    ASSERT_GT(q, 2);
    quoted[q - 1] = '\0';
    char back[128];
    EXPECT_EQ(UnescapeString(quoted + 1, back, 127), static_cast<int>(original.size()));
    EXPECT_EQ(std::string(back), original);

    // The round-tripped text still decodes as a key string.
    SettingsRecord rec{};
    TranslateTables tables;
    SetIdentityTables(tables);
    uint8_t bytes[64];
    const int n = DecodeKeyString(rec, tables, back, bytes, 64, false, false);
    ASSERT_GE(n, 3);
    EXPECT_EQ(Bytes(bytes + n - 3, bytes + n), (Bytes{' ', 0x1B, 0x01}));
}

}  // namespace
