// Character-set translation: the DEC G-set paths, the graphics sets, the code-set step with fixed
// OEM/ANSI code pages, the line-drawing conversions and the national set of the country.
#include <gtest/gtest.h>

#include <ostream>

#include "code_page_cases.h"
#include "code_pages.h"
#include "engine/charsets.h"
#include "fake_platform.h"

namespace {

// A platform whose conversions use a fixed OEM page against 1252.
class FixedPagePlatform : public FakePlatform {
public:
    explicit FixedPagePlatform(int oemPage) : pages(oemPage) {}
    void AnsiToOemBytes(const uint8_t* s, uint8_t* d, std::size_t n) override
    {
        for (std::size_t i = 0; i < n; ++i) d[i] = pages.ToOem(s[i]);
    }
    void OemToAnsiBytes(const uint8_t* s, uint8_t* d, std::size_t n) override
    {
        for (std::size_t i = 0; i < n; ++i) d[i] = pages.ToAnsi(s[i]);
    }
    CodePagePair pages;
};

constexpr uint8_t kAnsiFont = 0;
constexpr uint8_t kOemFont = 255;

struct Config {
    int terminal = 2;
    uint8_t font = kAnsiFont;
    int charsetMode = 3;
    const char* g = "BBBB";  // G0-G3
    int gl = 0, gr = 2, singleShift = 0;
    int alternateFont = 0;
    int boxEnable = 0;
};

struct TranslateCase {
    const char* name;
    Config setup;
    uint8_t in;
    uint8_t out;
    int flags;
    int charClass;
};
void PrintTo(const TranslateCase& c, std::ostream* os) { *os << c.name; }

SettingsRecord MakeRecord(const Config& s)
{
    SettingsRecord rec{};
    rec.Terminal = s.terminal;
    rec.CurrentFont.CharSet = s.font;
    rec.Charset = s.charsetMode;
    for (int i = 0; i < 4; ++i) rec.CharsetDesignation[kCsG0 + i] = static_cast<uint8_t>(s.g[i]);
    rec.CharsetDesignation[kCsGL] = static_cast<uint8_t>(s.gl);
    rec.CharsetDesignation[kCsGR] = static_cast<uint8_t>(s.gr);
    rec.CharsetDesignation[kCsSingleShift] = static_cast<uint8_t>(s.singleShift);
    rec.AlternateFont = static_cast<uint8_t>(s.alternateFont);
    rec.BoxEnable = s.boxEnable;
    return rec;
}

class Translate : public testing::TestWithParam<TranslateCase> {
protected:
    FixedPagePlatform platform{437};
    ScopedPlatform installed{platform};
};

TEST_P(Translate, OneCharacter)
{
    const TranslateCase& c = GetParam();
    SettingsRecord rec = MakeRecord(c.setup);
    TranslateTables tables;
    SetIdentityTables(tables);
    tables.Incoming[0xC1] = 'Z';
    tables.Incoming['k'] = 'K';
    uint8_t ch = c.in;
    int flags = -1, cls = -1;
    TranslateChar(ch, flags, cls, rec, tables);
    EXPECT_EQ(ch, c.out);
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(cls, c.charClass);
    EXPECT_EQ(rec.CharsetDesignation[kCsSingleShift], c.setup.terminal <= 3 || c.setup.terminal == 10 ? 0 : c.setup.singleShift);
}

Config Vt(const char* g, uint8_t font = kAnsiFont) { Config s; s.g = g; s.font = font; return s; }
Config With(Config s, void (*f)(Config&)) { f(s); return s; }

INSTANTIATE_TEST_SUITE_P(
    Table, Translate,
    testing::Values(
        // DEC special graphics.
        TranslateCase{"VtLineOemFont", Vt("0BBB", kOemFont), 'q', 0xC4, 0, 1},
        TranslateCase{"VtLineAnsiFont", Vt("0BBB"), 'q', 'q', 0x08, 1},
        TranslateCase{"VtLineAnsiDegree", Vt("0BBB"), 'f', 0xB0, 0, 0},
        TranslateCase{"VtLineAnsiShade", Vt("0BBB"), 'a', 'a', 0x08, 2},
        TranslateCase{"VtLineOemShade", Vt("0BBB", kOemFont), 'a', 0xB1, 0, 2},
        TranslateCase{"VtLineOemPound", Vt("0BBB", kOemFont), '}', 0x9C, 0, 0},
        TranslateCase{"VtLineCentralEuropeanFont", Vt("0BBB", 238), 'g', 'g', 0x08, 0},
        TranslateCase{"VtLineBelow0x60Unchanged", Vt("0BBB"), 'A', 'A', 0, 0},
        // G-set invocation.
        TranslateCase{"SingleShift2UsesG2", With(Vt("0BBB"), [](Config& s) { s.singleShift = 2; }), 'q', 'q', 0, 0},
        TranslateCase{"SingleShift3UsesG3", With(Vt("BBB0"), [](Config& s) { s.singleShift = 3; }), 'x', 'x', 0x08, 1},
        TranslateCase{"LockingShiftG1", With(Vt("B0BB"), [](Config& s) { s.gl = 1; }), 'x', 'x', 0x08, 1},
        TranslateCase{"SupplementalThroughTable", With(Vt("<BBB"), [](Config& s) { s.charsetMode = 2; }), 'A', 'Z', 0, 0},
        TranslateCase{"SupplementalIso", Vt("<BBB"), 'A', 0xC1, 0, 0},
        // A line-drawing set in GR maps by the low seven bits.
        TranslateCase{"GrLineDrawing", Vt("BB0B"), 0xF1, 'q', 0x08, 1},
        TranslateCase{"GrLineDrawingOem", Vt("BB0B", kOemFont), 0xEA, 0xD9, 0, 1},
        TranslateCase{"GrLineDrawingLowHalf", Vt("BB0B"), 0xC1, 'A', 0, 0},
        TranslateCase{"GrAsciiGoesToTheCodeSet", Vt("0BBB"), 0xE9, 0xE9, 0, 0},
        // The code-set step.
        TranslateCase{"VtIsoOnOemFont", Vt("BBBB", kOemFont), 0xE9, 0x82, 0, 0},
        TranslateCase{"VtIsoOnOemFontBoxLetterStays", Vt("BBBB", kOemFont), 'k', 'k', 0, 0},
        TranslateCase{"DecNationalTable", With(Vt("BBBB"), [](Config& s) { s.charsetMode = 1; }), 'k', 'K', 0, 0},
        TranslateCase{"ConsoleOemByteOnAnsiFont", With(Config{}, [](Config& s) { s.terminal = 4; s.charsetMode = 1; }), 0xC4, 'q', 0x08, 1},
        TranslateCase{"ConsoleOemShadeOnAnsiFont", With(Config{}, [](Config& s) { s.terminal = 4; s.charsetMode = 1; }), 0xB1, 0xB1, 0x08, 2},
        TranslateCase{"ConsoleAlternateFont", With(Config{}, [](Config& s) { s.terminal = 5; s.alternateFont = 1; }), 0xDA, 'l', 0x08, 1},
        TranslateCase{"ConsoleAlternateFontAccent", With(Config{}, [](Config& s) { s.terminal = 5; s.alternateFont = 2; }), 0x82, 0xE9, 0, 0},
        TranslateCase{"ConsolePcModeOnOemFont", With(Config{}, [](Config& s) { s.terminal = 6; s.charsetMode = 4; s.font = kOemFont; }), 0xC4, 0xC4, 0, 1},
        TranslateCase{"DumbIsoOnAnsiFont", With(Config{}, [](Config& s) { s.terminal = 7; }), 0xC4, 0xC4, 0, 0},
        // Box underscores.
        TranslateCase{"UnderscoreBoxVt", With(Vt("BBBB"), [](Config& s) { s.boxEnable = 1; }), '_', '_', 0x08, 0},
        TranslateCase{"UnderscoreNoBox", Vt("BBBB"), '_', '_', 0, 0},
        // Wyse and ADDS graphics sets.
        TranslateCase{"Wyse0OemFont", With(Config{}, [](Config& s) { s.terminal = 8; s.g = "0BBB"; s.font = kOemFont; }), '3', 0xB3, 0, 1},
        TranslateCase{"Wyse0OemFontShade", With(Config{}, [](Config& s) { s.terminal = 8; s.g = "0BBB"; s.font = kOemFont; }), '0', 0xB0, 0, 2},
        TranslateCase{"Wyse0AnsiFont", With(Config{}, [](Config& s) { s.terminal = 9; s.g = "0BBB"; }), 'D', 'q', 0x08, 1},
        TranslateCase{"Wyse0AnsiFontOther", With(Config{}, [](Config& s) { s.terminal = 9; s.g = "0BBB"; }), 'a', 'a', 0, 0},
        TranslateCase{"Wyse0UnderscoreNotBoxed", With(Config{}, [](Config& s) { s.terminal = 12; s.g = "0BBB"; s.boxEnable = 1; }), '_', '_', 0, 0},
        TranslateCase{"Wyse3Low", With(Config{}, [](Config& s) { s.terminal = 12; s.g = "3BBB"; }), '/', '/', 0, 0},
        TranslateCase{"Wyse3Tee", With(Config{}, [](Config& s) { s.terminal = 12; s.g = "3BBB"; }), '0', 'w', 0x08, 1},
        TranslateCase{"Wyse3Block", With(Config{}, [](Config& s) { s.terminal = 12; s.g = "3BBB"; }), '7', 0xDB, 0x08, 2},
        TranslateCase{"Wyse3Shade", With(Config{}, [](Config& s) { s.terminal = 8; s.g = "3BBB"; }), 'o', 'a', 0x08, 2},
        TranslateCase{"GraphicsACorner", With(Config{}, [](Config& s) { s.terminal = 11; s.g = "ABBB"; }), 'B', 'm', 0x08, 1},
        TranslateCase{"GraphicsALine", With(Config{}, [](Config& s) { s.terminal = 11; s.g = "ABBB"; }), '\\', 'q', 0x08, 1},
        TranslateCase{"GraphicsAByLowBits", With(Config{}, [](Config& s) { s.terminal = 11; s.g = "ABBB"; }), 'R', 'l', 0x08, 1},
        TranslateCase{"GraphicsAOther", With(Config{}, [](Config& s) { s.terminal = 11; s.g = "ABBB"; }), 'A', 'A', 0, 0},
        TranslateCase{"WyseHighByteCodeSet", With(Config{}, [](Config& s) { s.terminal = 8; s.g = "0BBB"; s.font = kOemFont; }), 0xE9, 0x82, 0, 0}));

TEST(TranslateShift, SingleShiftLastsOneCharacter)
{
    SettingsRecord rec = MakeRecord(Vt("0BBB"));
    TranslateTables tables;
    SetIdentityTables(tables);
    rec.CharsetDesignation[kCsSingleShift] = 2;
    const int before = DisplayedCharCount;
    uint8_t c = 'q';
    int flags, cls;
    TranslateChar(c, flags, cls, rec, tables);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(rec.CharsetDesignation[kCsSingleShift], 0);
    c = 'q';
    TranslateChar(c, flags, cls, rec, tables);
    EXPECT_EQ(flags, 0x08);
    EXPECT_EQ(DisplayedCharCount, before + 2);
}

// The OEM/ANSI steps with the code page fixed: the same bytes on 437 and 850.
class FixedPages : public testing::TestWithParam<int> {};

TEST_P(FixedPages, ConversionsMatchTheTables)
{
    FixedPagePlatform platform(GetParam());
    ScopedPlatform installed(platform);
    for (const CodePageCase& c : kCodePageCases) {
        if (c.oemPage != 0 && c.oemPage != GetParam()) continue;
        EXPECT_EQ(AnsiToOemByte(c.ansi), c.oem) << std::hex << int(c.ansi);
        EXPECT_EQ(OemToAnsiByte(c.oem), c.ansi) << std::hex << int(c.oem);

        // Through TranslateChar: an ISO byte shown on an OEM font, an OEM byte on an ANSI font.
        SettingsRecord rec = MakeRecord(Vt("BBBB", kOemFont));
        TranslateTables tables;
        SetIdentityTables(tables);
        uint8_t ch = c.ansi;
        int flags, cls;
        TranslateChar(ch, flags, cls, rec, tables);
        EXPECT_EQ(ch, c.oem);
        rec = MakeRecord(With(Config{}, [](Config& s) { s.terminal = 4; s.charsetMode = 4; }));
        rec.AlternateFont = 1;
        ch = c.oem;
        TranslateChar(ch, flags, cls, rec, tables);
        EXPECT_EQ(ch, c.ansi);
    }
    // The pages differ: OEM 0x9D is the yen sign in 437 and O stroke in 850.
    EXPECT_EQ(OemToAnsiByte(0x9D), GetParam() == 437 ? 0xA5 : 0xD8);
    // A character the OEM page lacks becomes '?'.
    EXPECT_EQ(AnsiToOemByte(0x80), '?');
}

INSTANTIATE_TEST_SUITE_P(Pages, FixedPages, testing::Values(437, 850));

TEST(LineDraw, OemBoxCharactersAndLetters)
{
    FixedPagePlatform platform(437);
    ScopedPlatform installed(platform);
    SettingsRecord rec{};
    struct {
        uint8_t oem;
        uint8_t kept;  // keepUnknown 1
        int keptFlags;
        uint8_t printed;  // keepUnknown 0
    } cases[] = {
        {0xB3, 'x', 0x08, '|'}, {0xBA, 'x', 0x08, '|'}, {0xC4, 'q', 0x08, '-'}, {0xCD, 'q', 0x08, '-'},
        {0xC9, 'l', 0x08, '+'}, {0xBC, 'j', 0x08, '+'}, {0xCE, 'n', 0x08, '+'}, {0xB5, 'u', 0x08, '+'},
        {0xB0, 0xB0, 0x08, '#'}, {0xDB, 0xDB, 0x08, '#'}, {0xF3, 'y', 0x08, '#'}, {0xF4, 'z', 0x08, '#'},
        {0x82, 0xE9, 0, 0xE9},  {0xE1, 0xDF, 0, 0xDF},  {0x41, 'A', 0, 'A'},
    };
    for (const auto& c : cases) {
        uint8_t out = 0;
        int flags = 0;
        OemToAnsiLineDraw(c.oem, out, flags, rec, 1);
        EXPECT_EQ(out, c.kept) << std::hex << int(c.oem);
        EXPECT_EQ(flags, c.keptFlags) << std::hex << int(c.oem);
        flags = 0;
        OemToAnsiLineDraw(c.oem, out, flags, rec, 0);
        EXPECT_EQ(out, c.printed) << std::hex << int(c.oem);

        // Letters go back to the single-line box characters.
        if (c.keptFlags && c.kept >= 'j' && c.kept <= 'x') {
            int f = 0x08;
            uint8_t back = 0;
            AnsiToOemLineDraw(c.kept, back, f, rec, 1);
            EXPECT_EQ(f, 0);
            EXPECT_EQ(OemCharClass(back), 1) << c.kept;
        }
    }
    int f = 0x08;
    uint8_t out = 0;
    AnsiToOemLineDraw('a', out, f, rec, 1);
    EXPECT_EQ(out, 'a');
    EXPECT_EQ(f, 0x08);
    AnsiToOemLineDraw('a', out, f, rec, 0);
    EXPECT_EQ(out, '#');
    EXPECT_EQ(f, 0);
    f = 0x08;
    AnsiToOemLineDraw('_', out, f, rec, 0);
    EXPECT_EQ(out, '_');
    f = 0;
    AnsiToOemLineDraw('q', out, f, rec, 1);  // no flag: a plain conversion
    EXPECT_EQ(out, 'q');
}

TEST(Charsets, DefaultsByEmulation)
{
    SettingsRecord rec{};
    for (int code : {1, 2, 4, 8, 9, 11, 12}) {
        rec.Terminal = code;
        SetDefaultCharsets(rec);
        const bool wyse = code == 8 || code == 9 || code == 12;
        EXPECT_EQ(rec.CharsetDesignation[kCsG0], 'B');
        EXPECT_EQ(rec.CharsetDesignation[kCsG1], wyse ? '0' : 'B') << code;
        EXPECT_EQ(rec.CharsetDesignation[kCsG2], 'B');
        EXPECT_EQ(rec.CharsetDesignation[kCsG3], 'B');
    }
}

TEST(Charsets, FontTypes)
{
    SettingsRecord rec{};
    for (int cs : {0, 238, 186, 204, 161, 162}) {
        rec.CurrentFont.CharSet = static_cast<uint8_t>(cs);
        EXPECT_TRUE(AnsiTypeFont(rec)) << cs;
    }
    for (int cs : {1, 2, 128, 255}) {
        rec.CurrentFont.CharSet = static_cast<uint8_t>(cs);
        EXPECT_FALSE(AnsiTypeFont(rec)) << cs;
    }
}

TEST(Charsets, NationalSetOfTheCountry)
{
    FakePlatform platform;
    ScopedPlatform installed(platform);
    platform.windowsCountry = 46;
    Rec->Country = 0;
    EXPECT_EQ(NationalSetFromCountry(), 6);
    EXPECT_EQ(NationalSetFromCountry() + 4, 10);
    Rec->Country = 33;
    EXPECT_EQ(NationalSetFromCountry(), 8);
    Rec->Country = 0;
}

}  // namespace
