// The Boxes dialog's window-free side: the map pair by mode, selection and kinds, "Reset to
// default" with colour rows outside the maps, and the sample's colours.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/box_settings_values.h"
#include "engine/colors.h"
#include "shell/record_defaults.h"

namespace {

std::unique_ptr<SettingsRecord> DefaultRecord()
{
    auto rec = std::make_unique<SettingsRecord>();
    SetDefaultAttrColors(*rec);
    BuildDefaultAttr3270Colors(*rec);
    return rec;
}

TEST(BoxValues, EachModeEditsOnlyItsOwnMaps)
{
    auto rec = DefaultRecord();
    for (int i = 0; i < kColorIndices; ++i) rec->BoxMapFg[i] = 1, rec->BoxMap3270Fg[i] = 2;
    rec->BoxEnable32 = 1;
    BoxSettingsValues v = BoxValuesFrom(*rec, true);
    EXPECT_EQ(v.fg[5], 2);
    ASSERT_TRUE(SelectBoxColor(v, 5, kBackgroundSide));
    ASSERT_TRUE(ChooseBoxKind(v, kEditBox));
    v.enableBoxes = 1;
    auto before = std::make_unique<SettingsRecord>(*rec);
    StoreBoxValues(v, *rec);
    EXPECT_EQ(rec->BoxMap3270Bg[5], kEditBox);
    EXPECT_EQ(std::memcmp(rec->BoxMapFg, before->BoxMapFg, sizeof rec->BoxMapFg), 0);
    EXPECT_EQ(std::memcmp(rec->BoxMapBg, before->BoxMapBg, sizeof rec->BoxMapBg), 0);
    EXPECT_EQ(rec->BoxEnable, 1);
    EXPECT_EQ(rec->BoxEnable32, 1);
}

TEST(BoxValues, SelectionAndKinds)
{
    auto rec = DefaultRecord();
    BoxSettingsValues v = BoxValuesFrom(*rec, false);
    EXPECT_FALSE(SelectBoxColor(v, 20, kForegroundSide));
    EXPECT_FALSE(SelectBoxColor(v, -1, kForegroundSide));
    ASSERT_TRUE(SelectBoxColor(v, 6, kForegroundSide));
    ASSERT_TRUE(SelectBoxColor(v, 13, kBackgroundSide));
    EXPECT_EQ(v.lastFg, 6);
    EXPECT_EQ(v.lastBg, 13);
    EXPECT_EQ(v.selectedSide, kBackgroundSide);
    EXPECT_FALSE(ChooseBoxKind(v, 4));
    EXPECT_TRUE(ChooseBoxKind(v, kOutBox));
    EXPECT_EQ(v.bg[13], kOutBox);
    EXPECT_EQ(v.fg[13], kNoBox);
    EXPECT_EQ(BoxKindOf(v, 13, kBackgroundSide), kOutBox);
    EXPECT_EQ(BoxKindOf(v, 99, kBackgroundSide), kNoBox);
}

TEST(BoxValues, ResetMarksTheModesDefaultsAndSkipsRowsOutsideTheMaps)
{
    auto rec = DefaultRecord();
    BoxSettingsValues v = BoxValuesFrom(*rec, false);
    for (int i = 0; i < kColorIndices; ++i) v.fg[i] = v.bg[i] = kEditBox;
    v.enable3270Boxes = 1;
    ResetBoxDefaults(v, *rec);
    EXPECT_EQ(v.enableBoxes, 1);
    EXPECT_EQ(v.enableLines, 1);
    EXPECT_EQ(v.enable3270Boxes, 1);  // keeps its state
    for (int i = 0; i < kColorIndices; ++i) {
        EXPECT_EQ(v.fg[i], i == rec->AttrColors[1][kAttrFg] ? kOutBox : kNoBox) << i;
        EXPECT_EQ(v.bg[i], i == rec->AttrColors[2][kAttrBg] ? kInBox : kNoBox) << i;
    }

    BoxSettingsValues m = BoxValuesFrom(*rec, true);
    ResetBoxDefaults(m, *rec);
    EXPECT_EQ(m.bg[rec->Attr3270Colors[0][kAttrBg]], kEditBox);
    EXPECT_EQ(m.bg[rec->Attr3270Colors[34][kAttrBg]], kOutBox);

    rec->AttrColors[1][kAttrFg] = 2000;  // from a hand-edited file
    rec->AttrColors[2][kAttrBg] = -3;
    ResetBoxDefaults(v, *rec);
    for (int i = 0; i < kColorIndices; ++i) EXPECT_EQ(v.fg[i] + v.bg[i], 0) << i;
}

TEST(BoxValues, SampleColours)
{
    auto rec = DefaultRecord();
    const int normalBg = rec->AttrColors[kAttrNormal][kAttrBg];
    BoxSettingsValues v = BoxValuesFrom(*rec, false);
    std::memset(v.fg, 0, sizeof v.fg);
    std::memset(v.bg, 0, sizeof v.bg);
    SelectBoxColor(v, 6, kForegroundSide);
    SelectBoxColor(v, 4, kBackgroundSide);
    v.enableBoxes = 1;
    BoxSample s = BoxSampleOf(v, *rec);  // no box: the last colours
    EXPECT_EQ(s.fg, 6);
    EXPECT_EQ(s.bg, 4);
    EXPECT_EQ(s.kind, kNoBox);

    ChooseBoxKind(v, kEditBox);
    s = BoxSampleOf(v, *rec);
    EXPECT_EQ(s.bg, 19);
    EXPECT_EQ(s.kind, kEditBox);

    ChooseBoxKind(v, kInBox);
    SelectBoxColor(v, normalBg, kForegroundSide);  // text colour equal to the background
    v.fg[normalBg] = kInBox;
    s = BoxSampleOf(v, *rec);
    EXPECT_EQ(s.bg, normalBg);
    EXPECT_EQ(s.fg, 4);  // the last background instead
    v.lastBg = normalBg;
    EXPECT_EQ(BoxSampleOf(v, *rec).fg, 13);

    v.enableBoxes = 0;
    s = BoxSampleOf(v, *rec);
    EXPECT_EQ(s.kind, kNoBox);
    EXPECT_EQ(s.bg, normalBg);
    v.fg[normalBg] = 9;  // a stored kind that draws nothing
    v.enableBoxes = 1;
    EXPECT_EQ(BoxSampleOf(v, *rec).kind, kNoBox);
}

}  // namespace
