// The colours dialogs (103 character cells, 612 in 3270 mode) and the Boxes dialog (602), opened
// by their commands on a session record and driven by control id: the attribute list, the colour
// buttons, OK storing exactly what was edited, Cancel changing nothing, the checks that keep the
// dialog open, and the samples read back as pixels after they painted.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialog_pixels.h"
#include "dialogs/box_settings_values.h"
#include "dialogs/win32/color_buttons.h"
#include "dialogs/win32/color_dialogs.h"
#include "engine/colors.h"
#include "shell/record_defaults.h"
#include "fw_dialog_test_hook.h"
#include "quiet_config_site.h"
#include "resource_ids.h"
#include "shell/session_document.h"
#include "shell/win32/color_settings_commands.h"

namespace {

COLORREF Colour(const SettingsRecord& rec, int index) { return PaletteColor(rec, index) & 0x00FFFFFF; }

class ColorDialogs : public ::testing::Test {
protected:
    ColorDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        SetDefaultPalette(*rec);
        SetDefaultAttrColors(*rec);
        BuildDefaultAttr3270Colors(*rec);
        SetDefaultBoxMaps(*rec, true, false);
        BuildPaletteColors(*rec);
        // Third values the dialogs must carry unchanged.
        for (int i = 0; i < kAttrColorEntries; ++i) rec->AttrColors[i][kAttrThird] = 100 + i;
        for (int i = 0; i < kAttr3270ColorEntries; ++i) rec->Attr3270Colors[i][kAttrThird] = 300 + i;
        doc.record = rec.get();
        FwSetDialogTestHook(&hook);
    }
    ~ColorDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    std::string Snapshot() const { return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec); }
    // The list entry that carries a row, -1 when none does.
    static int EntryOf(FwDialogDriver& d, int row)
    {
        for (int i = 0; i < d.Count(IDC_COLOR_ATTRIBUTES); ++i)
            if (d.ItemData(IDC_COLOR_ATTRIBUTES, i) == row) return i;
        return -1;
    }
    static int PressedButtons(FwDialogDriver& d, int first, int count)
    {
        int pressed = 0;
        for (int id = first; id < first + count; ++id) pressed += d.Pressed(id) ? 1 : 0;
        return pressed;
    }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    QuietConfigSite site;
    FwDialogTestHook hook;
};

TEST_F(ColorDialogs, HostColoursLeaveFourEntriesAndDisableTheGraphicsChecks)
{
    rec->UseHistoryLinesColor = 1;
    rec->UseLineGraphicsColor = 1;
    const std::string before = Snapshot();
    hook.Expect(IDD_COLORS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Colors");
        EXPECT_EQ(d.Count(IDC_COLOR_ATTRIBUTES), 19);  // 16 attributes, Line Graphics, History, Frame
        EXPECT_EQ(d.Selection(IDC_COLOR_ATTRIBUTES), 0);
        EXPECT_EQ(d.ItemText(IDC_COLOR_ATTRIBUTES, 3), "Bold Reversed ");
        EXPECT_TRUE(d.Enabled(IDC_COLOR_LINE_GRAPHICS));
        EXPECT_TRUE(d.Click(IDC_COLOR_HOST));
        ASSERT_EQ(d.Count(IDC_COLOR_ATTRIBUTES), 4);
        const char* labels[] = {"Normal ", "Blinking", "History Lines", "Frame  "};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(d.ItemText(IDC_COLOR_ATTRIBUTES, i), labels[i]);
        EXPECT_FALSE(d.Enabled(IDC_COLOR_LINE_GRAPHICS));
        EXPECT_FALSE(d.Enabled(IDC_COLOR_SPECIAL_GRAPHICS));
        EXPECT_TRUE(d.Click(IDC_COLOR_HISTORY_LINES));  // off: the entry goes
        EXPECT_EQ(d.Count(IDC_COLOR_ATTRIBUTES), 3);
        EXPECT_EQ(d.ItemText(IDC_COLOR_ATTRIBUTES, 2), "Frame  ");
        EXPECT_TRUE(d.Click(IDC_COLOR_LOCAL));
        EXPECT_TRUE(d.Enabled(IDC_COLOR_LINE_GRAPHICS));
        EXPECT_EQ(d.Count(IDC_COLOR_ATTRIBUTES), 18);
        d.Press(IDCANCEL);
    });
    ColorsCommand(doc, nullptr, site);
    EXPECT_TRUE(Snapshot() == before);  // Cancel: byte for byte
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ColorDialogs, OkStoresExactlyTheEditedRowAndFlags)
{
    auto expected = std::make_unique<SettingsRecord>(*rec);
    hook.Expect(IDD_COLORS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_COLOR_BRIGHTNESS), "0");
        ASSERT_TRUE(d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 1)));  // Bold: 13 on 9
        EXPECT_TRUE(d.Pressed(ColorButtonId(13, kForegroundSide)));
        EXPECT_TRUE(d.Pressed(ColorButtonId(9, kBackgroundSide)));
        EXPECT_TRUE(d.Click(ColorButtonId(6, kForegroundSide)));  // red
        EXPECT_TRUE(d.Pressed(ColorButtonId(6, kForegroundSide)));
        EXPECT_EQ(PressedButtons(d, 3000, 16), 1);  // one per side
        EXPECT_EQ(PressedButtons(d, 3016, 16), 1);
        EXPECT_TRUE(d.Click(IDC_COLOR_TRUE_BOLD));
        EXPECT_TRUE(d.Click(IDC_COLOR_USE_PALETTE));
        EXPECT_TRUE(d.SetText(IDC_COLOR_BRIGHTNESS, "-255"));
        d.Press(IDOK);
    });
    ColorsCommand(doc, nullptr, site);
    expected->AttrColors[1][kAttrFg] = 6;
    EXPECT_EQ(std::memcmp(rec->AttrColors, expected->AttrColors, sizeof rec->AttrColors), 0);
    EXPECT_EQ(std::memcmp(rec->Attr3270Colors, expected->Attr3270Colors, sizeof rec->Attr3270Colors), 0);
    EXPECT_EQ(rec->TrueBold, 1);
    EXPECT_EQ(rec->UsePalette, 1);
    EXPECT_EQ(rec->Brightness, -255);
    EXPECT_EQ(rec->TrueUnderline, 0);
    EXPECT_EQ(rec->UseHostColor, 0);
    EXPECT_TRUE(doc.IsModified());
}

// The sample text is painted through the program's palette exactly while "Use palette" is checked.
TEST_F(ColorDialogs, TheSampleGoesThroughThePaletteWhileUsePaletteIsChecked)
{
    struct Probe : CColorsDlg {
        using CColorsDlg::CColorsDlg;
        std::vector<HGDIOBJ> seen;  // the palette in the drawing context of each sample paint
        void PaintText(const DRAWITEMSTRUCT& item) override
        {
            seen.push_back(GetCurrentObject(item.hDC, OBJ_PAL));
            CColorsDlg::PaintText(item);
        }
    };
    LOGPALETTE one{0x300, 1, {{10, 20, 30, 0}}};
    HPALETTE palette = CreatePalette(&one);
    Probe dialog(nullptr, *rec, ColorValuesFrom(*rec, false), [](int) { return std::string(" Normal "); });
    dialog.palette = palette;
    hook.Expect(IDD_COLORS, [&dialog, palette](FwDialogDriver& d) {
        for (bool on : {false, true}) {
            dialog.seen.clear();
            RepaintNow(d.Handle());
            ASSERT_FALSE(dialog.seen.empty()) << on;
            for (HGDIOBJ used : dialog.seen) EXPECT_EQ(used == palette, on);
            EXPECT_TRUE(d.Click(IDC_COLOR_USE_PALETTE));
        }
        d.Press(IDCANCEL);
    });
    dialog.DoModal();
    DeleteObject(palette);
}

TEST_F(ColorDialogs, BadBrightnessKeepsTheDialogOpen)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_COLORS, [this](FwDialogDriver& d) {
        for (const char* text : {"256", "-256", "bright"}) {
            d.SetText(IDC_COLOR_BRIGHTNESS, text);
            d.Press(IDOK);
            EXPECT_TRUE(d.Open()) << text;
            EXPECT_TRUE(d.HasFocus(IDC_COLOR_BRIGHTNESS)) << text;
        }
        d.Press(IDCANCEL);
    });
    ColorsCommand(doc, nullptr, site);
    ASSERT_EQ(hook.messages.size(), 3u);
    EXPECT_EQ(hook.messages[0].text, "Please enter an integer between -255 and 255.");
    EXPECT_EQ(hook.messages[1].text, "Please enter an integer between -255 and 255.");
    EXPECT_EQ(hook.messages[2].text, "Please enter an integer.");
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ColorDialogs, ColoursOutsideThePaletteShowNoButtonAndAreKept)
{
    rec->AttrColors[1][kAttrFg] = 77;
    rec->AttrColors[1][kAttrBg] = -2;
    rec->AttrColors[2][kAttrFg] = 10;  // in the palette, without a button
    hook.Expect(IDD_COLORS, [](FwDialogDriver& d) {
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 1));
        EXPECT_EQ(PressedButtons(d, 3000, 32), 0);
        RepaintNow(d.Handle());  // the sample paints them with the checked palette lookup
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 2));
        EXPECT_EQ(PressedButtons(d, 3000, 16), 0);
        EXPECT_EQ(PressedButtons(d, 3016, 16), 1);
        d.Press(IDOK);
    });
    ColorsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->AttrColors[1][kAttrFg], 77);
    EXPECT_EQ(rec->AttrColors[1][kAttrBg], -2);
    EXPECT_EQ(rec->AttrColors[2][kAttrFg], 10);
}

TEST_F(ColorDialogs, TheFrameEntryRepaintsTheFrameWhileTheTextStaysNormal)
{
    hook.Expect(IDD_COLORS, [this](FwDialogDriver& d) {
        HWND dialog = d.Handle();
        const int frame = d.Count(IDC_COLOR_ATTRIBUTES) - 1;
        ASSERT_EQ(d.ItemText(IDC_COLOR_ATTRIBUTES, frame), "Frame  ");
        d.Pick(IDC_COLOR_ATTRIBUTES, frame);
        d.Click(ColorButtonId(4, kBackgroundSide));   // the frame: green
        d.Click(ColorButtonId(14, kForegroundSide));  // its inner line: light green
        RepaintNow(dialog);
        const RECT group = ItemRect(dialog, IDC_SAMPLE_FRAME);
        const int x = group.left + 3, y = group.top + 8;
        EXPECT_EQ(DialogPixel(dialog, x + 2, y + 2), Colour(*rec, 4));
        EXPECT_EQ(DialogPixel(dialog, x + 25 + 2, y + 10 + 2), Colour(*rec, 14));
        EXPECT_EQ(DialogPixel(dialog, x + 30 + 1, y + 15 + 1), Colour(*rec, rec->AttrColors[0][kAttrBg]));
        const RECT text = ItemRect(dialog, IDC_SAMPLE_TEXT);
        EXPECT_TRUE(AnyPixel(dialog, text, Colour(*rec, rec->AttrColors[0][kAttrFg])));  // " Normal "
        EXPECT_FALSE(AnyPixel(dialog, text, Colour(*rec, 14)));
        // Reversed's text: light red on blue.
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 2));
        RepaintNow(dialog);
        EXPECT_TRUE(AnyPixel(dialog, text, Colour(*rec, 16)));
        EXPECT_TRUE(AnyPixel(dialog, text, Colour(*rec, 3)));
        KeepScreenshot(dialog, "dialog-103-colors.png");
        d.Press(IDOK);
    });
    ColorsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrBg], 4);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrFg], 14);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrThird], 100 + kAttrFrame);
}

TEST_F(ColorDialogs, NewHistoryColoursRecolourTheWholeHistory)
{
    rec->UseHistoryLinesColor = 1;
    rec->MaxCols = 80;
    rec->HistoryCells = 25 * 80;
    std::vector<uint8_t> fg(rec->HistoryCells + kScreenCells, 3), bg(rec->HistoryCells + kScreenCells, 9);
    rec->FgBase = fg.data();
    rec->BgBase = bg.data();
    hook.Expect(IDD_COLORS, [](FwDialogDriver& d) {
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, kAttrHistoryLines));
        d.Click(ColorButtonId(15, kForegroundSide));
        d.Click(ColorButtonId(2, kBackgroundSide));
        d.Press(IDOK);
    });
    ColorsCommand(doc, nullptr, site);
    EXPECT_EQ(std::vector<uint8_t>(fg.begin(), fg.begin() + rec->HistoryCells), std::vector<uint8_t>(rec->HistoryCells, 15));
    EXPECT_EQ(std::vector<uint8_t>(bg.begin(), bg.begin() + rec->HistoryCells), std::vector<uint8_t>(rec->HistoryCells, 2));
    EXPECT_EQ(fg[rec->HistoryCells], 3);  // the screen keeps its colours
    rec->FgBase = rec->BgBase = nullptr;
}

TEST_F(ColorDialogs, The3270DialogWritesHistoryAndFrameToBothTables)
{
    rec->TerminalFamily3270 = 1;
    rec->UseHistoryLinesColor = 1;
    auto before = std::make_unique<SettingsRecord>(*rec);
    hook.Expect(IDD_COLORS_3270, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Colors and Attributes");
        EXPECT_FALSE(d.Exists(IDC_COLOR_LINE_GRAPHICS));
        ASSERT_EQ(d.Count(IDC_COLOR_ATTRIBUTES), 50);
        EXPECT_EQ(d.ItemText(IDC_COLOR_ATTRIBUTES, 0x20 | 2), "Protected Reversed ");
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 56));
        d.Click(ColorButtonId(17, kForegroundSide));
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 57));
        d.Click(ColorButtonId(5, kBackgroundSide));
        d.Pick(IDC_COLOR_ATTRIBUTES, EntryOf(d, 0x20 | 1));
        d.Click(ColorButtonId(18, kForegroundSide));
        KeepScreenshot(d.Handle(), "dialog-612-colors-3270.png");
        d.Press(IDOK);
    });
    ColorsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->Attr3270Colors[56][kAttrFg], 17);
    EXPECT_EQ(rec->AttrColors[kAttrHistoryLines][kAttrFg], 17);
    EXPECT_EQ(rec->Attr3270Colors[57][kAttrBg], 5);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrBg], 5);
    EXPECT_EQ(rec->Attr3270Colors[0x21][kAttrFg], 18);
    // History and frame rows came from AttrColors, third values included.
    EXPECT_EQ(rec->Attr3270Colors[56][kAttrThird], 100 + kAttrHistoryLines);
    EXPECT_EQ(rec->AttrColors[kAttrFrame][kAttrThird], 100 + kAttrFrame);
    for (int row = 0; row < 56; ++row) {
        if (row != 0x21) {
            EXPECT_EQ(rec->Attr3270Colors[row][kAttrFg], before->Attr3270Colors[row][kAttrFg]) << row;
        }
        EXPECT_EQ(rec->Attr3270Colors[row][kAttrBg], before->Attr3270Colors[row][kAttrBg]) << row;
        EXPECT_EQ(rec->Attr3270Colors[row][kAttrThird], 300 + row) << row;
    }
    for (int row = 0; row < kAttrHistoryLines; ++row)
        EXPECT_EQ(std::memcmp(rec->AttrColors[row], before->AttrColors[row], sizeof rec->AttrColors[row]), 0) << row;
}

// ---- Boxes

TEST_F(ColorDialogs, BoxesPressesOneColourButtonAtATime)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_BOXES, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Boxes");
        EXPECT_TRUE(d.Pressed(3000));  // colour 2, foreground
        EXPECT_TRUE(d.Click(ColorButtonId(13, kForegroundSide)));
        EXPECT_TRUE(d.Click(ColorButtonId(4, kBackgroundSide)));
        EXPECT_TRUE(d.Pressed(ColorButtonId(4, kBackgroundSide)));
        EXPECT_EQ(PressedButtons(d, 3000, 32), 1);
        EXPECT_TRUE(d.Checked(IDC_BOX_NONE));
        d.Click(IDC_BOX_OUT);
        d.Press(IDCANCEL);
    });
    BoxesCommand(doc, nullptr, site);
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ColorDialogs, AnEditBoxRingsItsForegroundButtonOnly)
{
    rec->BoxEnable = 1;
    hook.Expect(IDD_BOXES, [this](FwDialogDriver& d) {
        HWND dialog = d.Handle();
        const int fgButton = ColorButtonId(6, kForegroundSide), bgButton = ColorButtonId(6, kBackgroundSide);
        d.Click(fgButton);
        d.Click(IDC_BOX_EDIT);
        EXPECT_TRUE(d.Checked(IDC_BOX_EDIT));
        RepaintNow(dialog);
        const COLORREF light = Colour(*rec, 19), dark = Colour(*rec, 12);
        const RECT b = ItemRect(dialog, fgButton);
        const int midY = (b.top + b.bottom) / 2, midX = (b.left + b.right) / 2;
        EXPECT_EQ(DialogPixel(dialog, b.left - 4, midY), dark);  // the sunken edge
        EXPECT_EQ(DialogPixel(dialog, midX, b.top - 4), dark);
        for (int ring = 1; ring <= 3; ++ring) {  // then three light rings
            EXPECT_EQ(DialogPixel(dialog, b.left - ring, midY), light) << ring;
            EXPECT_EQ(DialogPixel(dialog, midX, b.top - ring), light) << ring;
            EXPECT_EQ(DialogPixel(dialog, b.right - 1 + ring, midY), light) << ring;
            EXPECT_EQ(DialogPixel(dialog, midX, b.bottom - 1 + ring), light) << ring;
        }
        const RECT g = ItemRect(dialog, bgButton);
        const COLORREF face = DialogPixel(dialog, g.left - 8, (g.top + g.bottom) / 2);
        for (int ring = 1; ring <= 4; ++ring) EXPECT_EQ(DialogPixel(dialog, g.left - ring, (g.top + g.bottom) / 2), face) << ring;
        KeepScreenshot(dialog, "dialog-602-boxes.png");
        d.Press(IDOK);
    });
    BoxesCommand(doc, nullptr, site);
    EXPECT_EQ(rec->BoxMapFg[6], kEditBox);
    EXPECT_EQ(rec->BoxMapBg[6], kNoBox);
}

TEST_F(ColorDialogs, ResetToDefaultMarksBoldAndReversedAndKeeps3270Boxes)
{
    std::memset(rec->BoxMapFg, 0, sizeof rec->BoxMapFg);
    for (int32_t& kind : rec->BoxMapBg) kind = kEditBox;
    rec->BoxEnable32 = 1;
    hook.Expect(IDD_BOXES, [](FwDialogDriver& d) {
        EXPECT_FALSE(d.Checked(IDC_BOX_ENABLE));
        d.Click(IDC_BOX_RESET);
        EXPECT_TRUE(d.Checked(IDC_BOX_ENABLE));
        EXPECT_TRUE(d.Checked(IDC_BOX_LINES));
        EXPECT_TRUE(d.Checked(IDC_BOX_3270));
        d.Press(IDOK);
    });
    BoxesCommand(doc, nullptr, site);
    for (int i = 0; i < kColorIndices; ++i) {
        EXPECT_EQ(rec->BoxMapFg[i], i == rec->AttrColors[1][kAttrFg] ? kOutBox : kNoBox) << i;
        EXPECT_EQ(rec->BoxMapBg[i], i == rec->AttrColors[2][kAttrBg] ? kInBox : kNoBox) << i;
    }
    EXPECT_EQ(rec->BoxEnable, 1);
    EXPECT_EQ(rec->LineGraphics3D, 1);
    EXPECT_EQ(rec->BoxEnable32, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ColorDialogs, BoxesIn3270ModeWritesOnlyThe3270Maps)
{
    rec->TerminalFamily3270 = 1;
    auto before = std::make_unique<SettingsRecord>(*rec);
    hook.Expect(IDD_BOXES, [](FwDialogDriver& d) {
        d.Click(ColorButtonId(5, kBackgroundSide));
        d.Click(IDC_BOX_OUT);
        d.Click(ColorButtonId(16, kForegroundSide));
        d.Click(IDC_BOX_IN);
        d.Press(IDOK);
    });
    BoxesCommand(doc, nullptr, site);
    EXPECT_EQ(rec->BoxMap3270Bg[5], kOutBox);
    EXPECT_EQ(rec->BoxMap3270Fg[16], kInBox);
    EXPECT_EQ(std::memcmp(rec->BoxMapFg, before->BoxMapFg, sizeof rec->BoxMapFg), 0);
    EXPECT_EQ(std::memcmp(rec->BoxMapBg, before->BoxMapBg, sizeof rec->BoxMapBg), 0);
}

}  // namespace
