// The OEM/ANSI steps with the system's own conversion functions (CharToOemBuff/OemToCharBuff):
// the fixed tables of the native build must agree with them wherever a character exists in both
// pages, and the character translation gives the same results as with the fixed pages.
#include <windows.h>

#include <gtest/gtest.h>

#include "code_page_cases.h"
#include "code_pages.h"
#include "engine/charsets.h"
#include "engine/key_strings.h"
#include "win32_platform.h"

namespace {

class SystemCodePages : public testing::Test {
protected:
    void SetUp() override
    {
        SetPlatform(&platform);
        oemPage = static_cast<int>(GetOEMCP());
        if (GetACP() != 1252 || (oemPage != 437 && oemPage != 850))
            GTEST_SKIP() << "code pages " << GetACP() << "/" << oemPage << " have no fixed tables";
    }
    void TearDown() override { SetPlatform(nullptr); }

    Win32Platform platform;
    int oemPage = 0;
};

TEST_F(SystemCodePages, FixedTablesAgreeWithTheSystem)
{
    const CodePagePair fixed(oemPage);
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const uint8_t c = static_cast<uint8_t>(b);
        uint8_t real = 0;
        if (fixed.ToOem(c) != '?' || c == '?') {
            platform.AnsiToOemBytes(&c, &real, 1);
            EXPECT_EQ(real, fixed.ToOem(c)) << "ANSI " << std::hex << b;
            ++compared;
        }
        if (fixed.ToAnsi(c) != '?' || c == '?') {
            platform.OemToAnsiBytes(&c, &real, 1);
            EXPECT_EQ(real, fixed.ToAnsi(c)) << "OEM " << std::hex << b;
            ++compared;
        }
    }
    EXPECT_GT(compared, 300);
}

TEST_F(SystemCodePages, TranslationUsesTheSystemConversions)
{
    for (const CodePageCase& c : kCodePageCases) {
        if (c.oemPage != 0 && c.oemPage != oemPage) continue;
        EXPECT_EQ(AnsiToOemByte(c.ansi), c.oem) << std::hex << int(c.ansi);
        EXPECT_EQ(OemToAnsiByte(c.oem), c.ansi) << std::hex << int(c.oem);

        SettingsRecord rec{};
        rec.Terminal = 2;
        rec.Charset = 3;
        rec.CurrentFont.CharSet = 255;  // OEM-type font
        for (int i = 0; i < 4; ++i) rec.CharsetDesignation[i] = 'B';
        TranslateTables tables;
        SetIdentityTables(tables);
        uint8_t ch = c.ansi;
        int flags, cls;
        TranslateChar(ch, flags, cls, rec, tables);
        EXPECT_EQ(ch, c.oem);

        // A key string sent in IBM PC mode is converted to the OEM page.
        rec.Charset = 4;
        const char text[2] = {static_cast<char>(c.ansi), 0};
        uint8_t out[2] = {};
        ASSERT_EQ(DecodeKeyString(rec, tables, text, out, 2, false, true), 1);
        EXPECT_EQ(out[0], c.oem);
    }
    // Line drawing is the engine's own, whatever the page.
    SettingsRecord rec{};
    uint8_t out = 0;
    int flags = 0;
    OemToAnsiLineDraw(0xC4, out, flags, rec, 1);
    EXPECT_EQ(out, 'q');
    EXPECT_EQ(flags, 0x08);
}

}  // namespace
