// The colours and attributes dialogs' window-free side: buttons and bitmaps by colour index, the
// attribute list, row and colour selection with stored values outside the palette, the sample's
// colours, and the write-back with its history test and recolouring.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "dialogs/color_settings_values.h"
#include "engine/colors.h"
#include "shell/record_defaults.h"
#include "shell/attribute_key_name.h"

namespace {

std::unique_ptr<SettingsRecord> DefaultRecord()
{
    auto rec = std::make_unique<SettingsRecord>();
    SetDefaultPalette(*rec);
    SetDefaultAttrColors(*rec);
    BuildDefaultAttr3270Colors(*rec);
    for (int i = 0; i < kAttr3270ColorEntries; ++i) rec->Attr3270Colors[i][kAttrThird] = 1000 + i;
    for (int i = 0; i < kAttrColorEntries; ++i) rec->AttrColors[i][kAttrThird] = 2000 + i;
    return rec;
}

std::vector<AttributeListEntry> AttributeList(const ColorSettingsValues& v)
{
    AttributeKeyName names;
    return AttributeList(v, [&names](int attributes) { return names.BuildLabel(attributes); });
}

std::vector<int> Rows(const std::vector<AttributeListEntry>& list)
{
    std::vector<int> rows;
    for (const auto& e : list) rows.push_back(e.row);
    return rows;
}

TEST(ColorButtons, IdsIndicesAndBitmapsMatch)
{
    const struct {
        int index, side, id;
    } cases[] = {{2, kForegroundSide, 3000}, {9, kForegroundSide, 3007}, {12, kForegroundSide, 3008},
                 {19, kForegroundSide, 3015}, {2, kBackgroundSide, 3016}, {12, kBackgroundSide, 3024},
                 {19, kBackgroundSide, 3031}};
    for (const auto& c : cases) {
        EXPECT_EQ(ColorButtonId(c.index, c.side), c.id);
        int index = -1, side = -1;
        ASSERT_TRUE(ColorButtonChoice(c.id, index, side));
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(side, c.side);
    }
    for (int none : {0, 1, 10, 11, -1, 20, 255}) EXPECT_EQ(ColorButtonId(none, kForegroundSide), 0) << none;
    int index, side;
    EXPECT_FALSE(ColorButtonChoice(2999, index, side));
    EXPECT_FALSE(ColorButtonChoice(3032, index, side));
    EXPECT_EQ(ColorBitmapName(5), "COLOR05");
    EXPECT_EQ(ColorBitmapName(17), "COLOR17");
    EXPECT_EQ(ColorBitmapName(10), "COLOR00");
    EXPECT_EQ(ColorBitmapName(-7), "COLOR00");
}

TEST(ColorAttributeList, FollowsHostColoursAndTheOptionalRows)
{
    auto rec = DefaultRecord();
    ColorSettingsValues v = ColorValuesFrom(*rec, false);
    v.hostColor = 0, v.lineGraphicsColor = 1, v.specialGraphicsColor = 0, v.historyLinesColor = 1;
    auto list = AttributeList(v);
    ASSERT_EQ(list.size(), 19u);
    EXPECT_EQ(list[0].label, "Normal ");
    EXPECT_EQ(list[15].label, "Blinking Bold Reversed Underline ");
    EXPECT_EQ(list[16].label, "Line Graphics ");
    EXPECT_EQ(Rows(list).back(), kAttrFrame);
    EXPECT_EQ(list.back().label, "Frame  ");
    EXPECT_EQ(list[17].label, "History Lines");

    v.hostColor = 1;
    EXPECT_EQ(Rows(AttributeList(v)), (std::vector<int>{0, 8, 18, 19}));
    v.historyLinesColor = 0;  // the row's colours stay in the table
    EXPECT_EQ(Rows(AttributeList(v)), (std::vector<int>{0, 8, 19}));
    EXPECT_EQ(AttributeList(v)[1].label, "Blinking");

    ColorSettingsValues m = ColorValuesFrom(*rec, true);
    m.hostColor = 0, m.historyLinesColor = 1;
    list = AttributeList(m);
    ASSERT_EQ(list.size(), 50u);
    EXPECT_EQ(list[0x20 | 0x08 | 1].label, "Protected Blinking Bold ");
    EXPECT_EQ(list[0x10 | 2].label, "Numeric Reversed ");
    EXPECT_EQ(list[48].row, 56);
    EXPECT_EQ(list[49].row, 57);
}

TEST(ColorSelection, PressedColoursFollowTheRowAndOutOfPaletteValuesAreKept)
{
    auto rec = DefaultRecord();
    rec->AttrColors[3][kAttrFg] = 10;   // no button
    rec->AttrColors[3][kAttrBg] = 99;   // outside the palette
    ColorSettingsValues v = ColorValuesFrom(*rec, false);
    SelectColorRow(v, 1);
    EXPECT_EQ(v.currentFg, rec->AttrColors[1][kAttrFg]);
    EXPECT_EQ(v.currentBg, rec->AttrColors[1][kAttrBg]);
    SelectColorRow(v, 3);
    EXPECT_EQ(v.currentFg, 10);  // in the palette; it simply has no button
    EXPECT_EQ(v.currentBg, -1);
    EXPECT_EQ(v.rows[3][kAttrBg], 99);
    EXPECT_FALSE(PickRowColor(v, kBackgroundSide, 20));
    EXPECT_EQ(v.rows[3][kAttrBg], 99);
    EXPECT_TRUE(PickRowColor(v, kBackgroundSide, 12));
    EXPECT_EQ(v.rows[3][kAttrBg], 12);
    EXPECT_EQ(v.currentBg, 12);
    SelectColorRow(v, 20);  // no such row: nothing changes
    EXPECT_EQ(v.currentRow, 3);
}

TEST(ColorSample, FrameRowShowsNormalAndFontEffectsFollowTheRow)
{
    auto rec = DefaultRecord();
    ColorSettingsValues v = ColorValuesFrom(*rec, false);
    v.trueBold = 1, v.trueUnderline = 1;
    SelectColorRow(v, 5);  // Bold Underline
    PickRowColor(v, kForegroundSide, 6);
    ColorSample s = ColorSampleOf(v, "Bold Underline ");
    EXPECT_EQ(s.text, "Bold Underline ");
    EXPECT_EQ(s.fg, 6);
    EXPECT_TRUE(s.bold);
    EXPECT_TRUE(s.underline);
    SelectColorRow(v, kAttrFrame);
    PickRowColor(v, kBackgroundSide, 4);
    s = ColorSampleOf(v, "Frame  ");
    EXPECT_EQ(s.text, " Normal ");
    EXPECT_EQ(s.fg, v.rows[0][kAttrFg]);
    EXPECT_EQ(s.frameBg, 4);
    EXPECT_EQ(s.fillBg, v.rows[0][kAttrBg]);
    EXPECT_FALSE(s.bold || s.underline);  // the Frame row counts as Normal
}

TEST(ColorWriteBack, CharacterDialogStoresRowsAndFlags)
{
    auto rec = DefaultRecord();
    ColorSettingsValues v = ColorValuesFrom(*rec, false);
    SelectColorRow(v, 1);
    PickRowColor(v, kForegroundSide, 6);
    v.trueBold = 1, v.usePalette = 1, v.brightness = -40, v.lineGraphicsColor = 1, v.hostColor = 1;
    auto before = std::make_unique<SettingsRecord>(*rec);
    EXPECT_FALSE(StoreColorValues(v, *rec));
    EXPECT_EQ(rec->AttrColors[1][kAttrFg], 6);
    EXPECT_EQ(rec->AttrColors[1][kAttrThird], 2001);
    EXPECT_EQ(rec->TrueBold, 1);
    EXPECT_EQ(rec->Brightness, -40);
    EXPECT_EQ(rec->UseLineGraphicsColor, 1);
    EXPECT_EQ(rec->UseHostColor, 1);
    EXPECT_EQ(std::memcmp(rec->Attr3270Colors, before->Attr3270Colors, sizeof rec->Attr3270Colors), 0);
}

TEST(ColorWriteBack, The3270DialogWritesHistoryAndFrameToBothTables)
{
    auto rec = DefaultRecord();
    ColorSettingsValues v = ColorValuesFrom(*rec, true);
    ASSERT_EQ(v.rows.size(), 58u);
    EXPECT_EQ(v.rows[56][kAttrFg], rec->AttrColors[kAttrHistoryLines][kAttrFg]);  // copied in
    EXPECT_EQ(v.rows[57][kAttrThird], 2019);
    v.rows[56] = {13, 3, 7};
    v.rows[57] = {14, 5, 8};
    v.rows[1][kAttrFg] = 16;
    auto before = std::make_unique<SettingsRecord>(*rec);
    StoreColorValues(v, *rec);
    for (int row = 48; row < 56; ++row)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(rec->Attr3270Colors[row][c], before->Attr3270Colors[row][c]);
    EXPECT_EQ(rec->Attr3270Colors[1][kAttrFg], 16);
    EXPECT_EQ(rec->Attr3270Colors[1][kAttrThird], 1001);
    EXPECT_EQ(rec->Attr3270Colors[56][kAttrFg], 13);
    EXPECT_EQ(rec->AttrColors[kAttrHistoryLines][kAttrBg], 3);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrFg], 14);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrThird], 8);
    EXPECT_EQ(rec->AttrColors[1][kAttrFg], before->AttrColors[1][kAttrFg]);  // the rest untouched
    EXPECT_EQ(rec->UseLineGraphicsColor, before->UseLineGraphicsColor);
}

TEST(ColorWriteBack, HistoryChangesAreDetected)
{
    auto rec = DefaultRecord();
    rec->UseHistoryLinesColor = 1;
    ColorSettingsValues v = ColorValuesFrom(*rec, false);
    EXPECT_FALSE(HistoryColorsChanged(v, *rec));
    v.rows[kAttrHistoryLines][kAttrBg] = 5;
    EXPECT_TRUE(HistoryColorsChanged(v, *rec));
    v.historyLinesColor = 0;  // switched off: a change of its own
    EXPECT_TRUE(HistoryColorsChanged(v, *rec));
    rec->UseHistoryLinesColor = 0;  // off before and after: colours do not matter
    EXPECT_FALSE(HistoryColorsChanged(v, *rec));
    ColorSettingsValues m = ColorValuesFrom(*rec, true);
    m.historyLinesColor = 1;
    rec->UseHistoryLinesColor = 1;
    m.rows[56][kAttrFg] = 17;
    EXPECT_TRUE(HistoryColorsChanged(m, *rec));
}

TEST(ColorWriteBack, HistoryRecolouringWritesExactlyTheHistoryCells)
{
    auto rec = DefaultRecord();
    // Planes as the allocator left them after halving the history: HistoryCells, not
    // HistoryRows x columns, bytes lie before the screen.
    rec->HistoryRows = 100;
    rec->MaxCols = 80;
    rec->HistoryCells = 40 * 80;
    std::vector<uint8_t> fg(rec->HistoryCells + 16, 0xEE), bg(rec->HistoryCells + 16, 0xEE);
    rec->FgBase = fg.data();
    rec->BgBase = bg.data();
    rec->UseHistoryLinesColor = 1;
    rec->AttrColors[kAttrHistoryLines][kAttrFg] = 13;
    rec->AttrColors[kAttrHistoryLines][kAttrBg] = 42;  // outside the palette
    RecolorHistory(*rec);
    EXPECT_EQ(fg[0], 13);
    EXPECT_EQ(fg[rec->HistoryCells - 1], 13);
    EXPECT_EQ(bg[rec->HistoryCells - 1], kNormalBgIndex);
    EXPECT_EQ(fg[rec->HistoryCells], 0xEE);
    EXPECT_EQ(bg[rec->HistoryCells], 0xEE);
    rec->UseHistoryLinesColor = 0;
    RecolorHistory(*rec);
    EXPECT_EQ(fg[0], rec->AttrColors[kAttrNormal][kAttrFg]);
    rec->FgBase = nullptr;
    RecolorHistory(*rec);  // no planes: nothing
}

}  // namespace
