#include "dialogs/color_settings_values.h"

#include <cstdio>
#include <cstring>

#include "engine/colors.h"

namespace {

constexpr int kRowsCharacter = kAttrColorEntries;
constexpr int kRowsMode3270 = kAttr3270ColorEntries;
constexpr int kHistoryRow3270 = 56;
constexpr int kFrameRow3270 = 57;
constexpr int kBlinkingRow = 8;

bool InPalette(int index) { return index >= 0 && index < kColorIndices; }

}  // namespace

int ColorButtonId(int index, int side)
{
    for (int i = 0; i < 16; ++i)
        if (kButtonColorIndices[i] == index) return kFirstColorButton + (side == kBackgroundSide ? 16 : 0) + i;
    return 0;
}

bool ColorButtonChoice(int id, int& index, int& side)
{
    const int offset = id - kFirstColorButton;
    if (offset < 0 || offset >= kColorButtonCount) return false;
    side = offset < 16 ? kForegroundSide : kBackgroundSide;
    index = kButtonColorIndices[offset % 16];
    return true;
}

std::string ColorBitmapName(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "COLOR%02d", ColorButtonId(index, kForegroundSide) ? index : 0);
    return name;
}

ColorSettingsValues ColorValuesFrom(const SettingsRecord& rec, bool mode3270)
{
    ColorSettingsValues v;
    v.mode3270 = mode3270;
    v.hostColor = rec.UseHostColor;
    v.trueBold = rec.TrueBold;
    v.trueUnderline = rec.TrueUnderline;
    v.historyLinesColor = rec.UseHistoryLinesColor;
    v.usePalette = rec.UsePalette;
    v.brightness = rec.Brightness;
    if (mode3270) {
        v.rows.resize(kRowsMode3270);
        std::memcpy(v.rows.data(), rec.Attr3270Colors, sizeof rec.Attr3270Colors);
        v.rows[kHistoryRow3270] = {rec.AttrColors[kAttrHistoryLines][0], rec.AttrColors[kAttrHistoryLines][1],
                                   rec.AttrColors[kAttrHistoryLines][2]};
        v.rows[kFrameRow3270] = {rec.AttrColors[kAttrFrame][0], rec.AttrColors[kAttrFrame][1], rec.AttrColors[kAttrFrame][2]};
    } else {
        v.lineGraphicsColor = rec.UseLineGraphicsColor;
        v.specialGraphicsColor = rec.UseSpecialGraphicsColor;
        v.rows.resize(kRowsCharacter);
        std::memcpy(v.rows.data(), rec.AttrColors, sizeof rec.AttrColors);
    }
    return v;
}

bool HistoryColorsChanged(const ColorSettingsValues& v, const SettingsRecord& rec)
{
    if ((rec.UseHistoryLinesColor != 0) != (v.historyLinesColor != 0)) return true;
    if (!v.historyLinesColor) return false;
    const ColorRow& row = v.rows[static_cast<std::size_t>(v.HistoryRow())];
    return row[kAttrFg] != rec.AttrColors[kAttrHistoryLines][kAttrFg] ||
           row[kAttrBg] != rec.AttrColors[kAttrHistoryLines][kAttrBg];
}

bool StoreColorValues(const ColorSettingsValues& v, SettingsRecord& rec)
{
    const bool historyChanged = HistoryColorsChanged(v, rec);
    if (v.mode3270 && v.rows.size() == kRowsMode3270) {
        std::memcpy(rec.Attr3270Colors, v.rows.data(), sizeof rec.Attr3270Colors);
        std::memcpy(rec.AttrColors[kAttrHistoryLines], v.rows[kHistoryRow3270].data(), sizeof(ColorRow));
        std::memcpy(rec.AttrColors[kAttrFrame], v.rows[kFrameRow3270].data(), sizeof(ColorRow));
    } else if (!v.mode3270 && v.rows.size() == kRowsCharacter) {
        std::memcpy(rec.AttrColors, v.rows.data(), sizeof rec.AttrColors);
        rec.UseLineGraphicsColor = v.lineGraphicsColor;
        rec.UseSpecialGraphicsColor = v.specialGraphicsColor;
    }
    rec.UseHostColor = v.hostColor;
    rec.UseHistoryLinesColor = v.historyLinesColor;
    rec.TrueBold = v.trueBold;
    rec.TrueUnderline = v.trueUnderline;
    rec.UsePalette = v.usePalette;
    rec.Brightness = v.brightness;
    return historyChanged;
}

void RecolorHistory(SettingsRecord& rec)
{
    if (!rec.FgBase || !rec.BgBase || rec.HistoryCells <= 0) return;
    const int32_t(&row)[3] = rec.UseHistoryLinesColor ? rec.AttrColors[kAttrHistoryLines] : rec.AttrColors[kAttrNormal];
    const std::size_t cells = static_cast<std::size_t>(rec.HistoryCells);
    std::memset(rec.FgBase, CheckedColorIndex(row[kAttrFg], kNormalFgIndex), cells);
    std::memset(rec.BgBase, CheckedColorIndex(row[kAttrBg], kNormalBgIndex), cells);
}

std::vector<AttributeListEntry> AttributeList(const ColorSettingsValues& v,
                                              const std::function<std::string(int attributes)>& label)
{
    std::vector<AttributeListEntry> list;
    if (v.hostColor) {
        list.push_back({0, label(0)});
        list.push_back({kBlinkingRow, "Blinking"});
    } else {
        const int attributeRows = v.mode3270 ? 48 : 16;
        for (int row = 0; row < attributeRows; ++row) list.push_back({row, label(row)});
        if (!v.mode3270 && v.lineGraphicsColor) list.push_back({kAttrLineGraphics, "Line Graphics "});
        if (!v.mode3270 && v.specialGraphicsColor) list.push_back({kAttrSpecialGraphics, "Special Graphics "});
    }
    if (v.historyLinesColor) list.push_back({v.HistoryRow(), "History Lines"});
    list.push_back({v.FrameRow(), "Frame  "});
    return list;
}

void SelectColorRow(ColorSettingsValues& v, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= v.rows.size()) return;
    v.currentRow = row;
    const ColorRow& colours = v.rows[static_cast<std::size_t>(row)];
    v.currentFg = InPalette(colours[kAttrFg]) ? colours[kAttrFg] : -1;
    v.currentBg = InPalette(colours[kAttrBg]) ? colours[kAttrBg] : -1;
}

bool PickRowColor(ColorSettingsValues& v, int side, int index)
{
    if (!InPalette(index) || v.currentRow < 0 || static_cast<std::size_t>(v.currentRow) >= v.rows.size()) return false;
    ColorRow& row = v.rows[static_cast<std::size_t>(v.currentRow)];
    if (side == kBackgroundSide) {
        v.currentBg = index;
        row[kAttrBg] = index;
    } else {
        v.currentFg = index;
        row[kAttrFg] = index;
    }
    return true;
}

ColorSample ColorSampleOf(const ColorSettingsValues& v, const std::string& selectedText)
{
    const ColorRow& normal = v.rows[kAttrNormal];
    const ColorRow& frame = v.rows[static_cast<std::size_t>(v.FrameRow())];
    ColorSample s{};
    s.frameFg = frame[kAttrFg];
    s.frameBg = frame[kAttrBg];
    s.fillBg = normal[kAttrBg];
    if (v.currentRow == v.FrameRow()) {
        s.text = " Normal ";
        s.fg = normal[kAttrFg];
        s.bg = normal[kAttrBg];
    } else {
        const ColorRow& row = v.rows[static_cast<std::size_t>(v.currentRow)];
        s.text = selectedText;
        s.fg = row[kAttrFg];
        s.bg = row[kAttrBg];
    }
    const int attributes = v.currentRow == v.FrameRow() ? 0 : v.currentRow;
    s.bold = v.trueBold && (attributes & 0x01);
    s.underline = v.trueUnderline && (attributes & 0x04);
    return s;
}
