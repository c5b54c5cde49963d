// Colours: the brightness-adjusted palette, the current colours in both colour modes, the 3270
// cell colours, and the range checks on colour indices from settings.
#include <gtest/gtest.h>

#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "shell/record_defaults.h"

namespace {

class Colors : public testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultPalette(rec);
        SetDefaultAttrColors(rec);
        BuildDefaultAttr3270Colors(rec);
    }
    SettingsRecord rec{};
};

TEST_F(Colors, PaletteFollowsTheIndexTableAndBrightness)
{
    rec.Brightness = 100;
    BuildPaletteColors(rec);
    EXPECT_EQ(rec.ColorPalette[6], 0x020000E4u);   // Red 0x000080
    EXPECT_EQ(rec.ColorPalette[19], 0x02FFFFFFu);  // LightWhite
    EXPECT_EQ(rec.ColorPalette[2], 0x02000000u);   // Black: zero channels stay zero
    EXPECT_EQ(rec.ColorPalette[0], 0x02E40000u);   // index 0 starts as Blue
    EXPECT_EQ(rec.ColorPalette[12], 0x02E4E4E4u);  // LightBlack 0x808080

    rec.Brightness = 0;
    BuildPaletteColors(rec);
    const uint32_t expected[kColorIndices] = {
        0x800000, 0xC0C0C0, 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0xFF0000, 0xFFFFFF, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < kColorIndices; ++i) EXPECT_EQ(rec.ColorPalette[i], 0x02000000u | expected[i]) << i;

    // A negative brightness stops at zero.
    rec.Brightness = -200;
    BuildPaletteColors(rec);
    EXPECT_EQ(rec.ColorPalette[9], 0x02000000u);
    EXPECT_EQ(rec.ColorPalette[19], 0x02373737u);
}

TEST_F(Colors, HostColourModeFollowsTheNormalColours)
{
    rec.UseHostColor = 1;
    struct {
        int normalFg;
        bool bold, reverse, invisible;
        int fg, bg;
    } cases[] = {
        {3, false, false, false, 3, 9},  {3, true, false, false, 13, 9},  {13, true, false, false, 13, 9},
        {3, false, true, false, 9, 3},   {3, true, true, false, 19, 3},   {3, false, true, true, 3, 3},
        {3, false, false, true, 9, 9},
    };
    for (const auto& c : cases) {
        rec.AttrColors[0][kAttrFg] = c.normalFg;
        rec.SgrFlags[kSgrBold] = c.bold;
        rec.SgrFlags[kSgrReverse] = c.reverse;
        rec.SgrFlags[kSgrInvisible] = c.invisible;
        rec.CurFg = rec.CurBg = 17;  // a host colour chosen earlier is replaced
        UpdateCurrentColors(rec);
        EXPECT_EQ(rec.CurFg, c.fg) << c.normalFg << c.bold << c.reverse << c.invisible;
        EXPECT_EQ(rec.CurBg, c.bg) << c.normalFg << c.bold << c.reverse << c.invisible;
        EXPECT_EQ(rec.NormalFg, c.normalFg);
        EXPECT_EQ(rec.ReverseFg, 9);
        EXPECT_EQ(rec.ReverseBg, c.normalFg);
    }
}

TEST_F(Colors, AttributeModeIgnoresBlinkUntilTheSetterRuns)
{
    rec.SgrFlags[kSgrBold] = 1;
    rec.SgrFlags[kSgrBlink] = 1;
    UpdateCurrentColors(rec);
    EXPECT_EQ(rec.CurFg, rec.AttrColors[1][kAttrFg]);
    EXPECT_EQ(rec.CurBg, rec.AttrColors[1][kAttrBg]);

    DirtyRect dirty = kEmptyDirtyRect;
    rec.SgrFlags[kSgrBlink] = 0;
    SetBlink(nullptr, rec, dirty);
    EXPECT_EQ(rec.CurFg, rec.AttrColors[9][kAttrFg]);
    EXPECT_EQ(rec.CurBg, rec.AttrColors[9][kAttrBg]);

    rec.SgrFlags[kSgrInvisible] = 1;
    UpdateCurrentColors(rec);
    EXPECT_EQ(rec.CurFg, rec.AttrColors[0][kAttrBg]);
    EXPECT_EQ(rec.CurBg, rec.AttrColors[0][kAttrBg]);
}

TEST_F(Colors, SettingIndicesOutOfRangeNeverReachThePalette)
{
    rec.AttrColors[0][kAttrFg] = 20;
    rec.AttrColors[0][kAttrBg] = -1;
    rec.AttrColors[3][kAttrFg] = 1000;
    UpdateCurrentColors(rec);
    EXPECT_EQ(rec.NormalFg, kNormalFgIndex);
    EXPECT_EQ(rec.NormalBg, kNormalBgIndex);
    rec.SgrFlags[kSgrBold] = rec.SgrFlags[kSgrReverse] = 1;
    UpdateCurrentColors(rec);
    EXPECT_EQ(rec.CurFg, kNormalFgIndex);

    BuildPaletteColors(rec);
    EXPECT_EQ(PaletteColor(rec, 99), rec.ColorPalette[kNormalFgIndex]);
    EXPECT_EQ(PaletteColor(rec, -5), rec.ColorPalette[kNormalFgIndex]);
    EXPECT_EQ(PaletteColor(rec, 7), rec.ColorPalette[7]);
    EXPECT_EQ(BrightenColor(4), 14);
    EXPECT_EQ(BrightenColor(14), 4);
    EXPECT_EQ(BrightenColor(200), 200);
}

struct CellCase {
    int attribute, colorCode, highlight;
    int entry;          // Attr3270Colors entry of both colours
    int colourEntry;    // entry whose foreground replaces it, or -1
};

TEST_F(Colors, Cell3270ColoursByAttributeHighlightAndColour)
{
    for (int e = 0; e < kAttr3270ColorEntries; ++e) {
        rec.Attr3270Colors[e][kAttrFg] = e % 20;
        rec.Attr3270Colors[e][kAttrBg] = (e + 7) % 20;
    }
    const CellCase cases[] = {
        {0x08, 0, 0x01, 5, -1},      // intensified + underscore: entry 5 ...
        {0x08, 0, 0x61, 5, -1},      // ... whatever reverse or blink says
        {0x30, 0, 0x00, 32, -1},     // protected numeric: the numeric bit is dropped
        {0x10, 0, 0x20, 18, -1},     // numeric reversed
        {0x28, 0, 0x40, 41, -1},     // protected intensified blinking
        {0x00, 0xF2, 0x00, 0, 50},   // colour red: foreground of entry 50 only
        {0x20, 0xF7, 0x00, 32, 55},
        {0x00, 0xF8, 0x00, 0, -1},   // not a colour code
        {0x00, 0xF0, 0x00, 0, -1},
    };
    for (const CellCase& c : cases) {
        int fg = -1, bg = -1, bits = 0;
        AttributeColors(rec, c.attribute, c.colorCode, c.highlight, fg, bg, bits);
        const int fgEntry = c.colourEntry >= 0 ? c.colourEntry : c.entry;
        EXPECT_EQ(fg, rec.Attr3270Colors[fgEntry][kAttrFg]) << std::hex << c.attribute << " " << c.highlight;
        EXPECT_EQ(bg, rec.Attr3270Colors[c.entry][kAttrBg]) << std::hex << c.attribute << " " << c.highlight;
        EXPECT_EQ(bits, 0);
    }

    rec.TrueBold = rec.TrueUnderline = 1;
    int fg, bg, bits = 0x80;
    AttributeColors(rec, 0x08, 0, 0x01, fg, bg, bits);
    EXPECT_EQ(bits, 0x83);

    rec.Attr3270Colors[0][kAttrFg] = 55;
    rec.Attr3270Colors[0][kAttrBg] = -2;
    rec.Attr3270Colors[49][kAttrFg] = 20;
    AttributeColors(rec, 0, 0, 0, fg, bg, bits);
    EXPECT_EQ(fg, kNormalFgIndex);
    EXPECT_EQ(bg, kNormalBgIndex);
    AttributeColors(rec, 0, 0xF1, 0, fg, bg, bits);
    EXPECT_EQ(fg, kNormalFgIndex);
}

TEST(ColorsProcessRecord, FormsWithoutARecordUseRec)
{
    SetDefaultPalette();
    Rec->Brightness = 0;
    BuildPaletteColors();
    EXPECT_EQ(Rec->ColorPalette[4], 0x02008000u);
    Rec->AttrColors[0][kAttrFg] = 5;
    UpdateCurrentColors();
    EXPECT_EQ(Rec->NormalFg, 5);
}

}  // namespace
