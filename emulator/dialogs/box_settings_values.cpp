#include "dialogs/box_settings_values.h"

#include <cstring>

#include "engine/colors.h"

namespace {

bool InPalette(int index) { return index >= 0 && index < kColorIndices; }

}  // namespace

BoxSettingsValues BoxValuesFrom(const SettingsRecord& rec, bool mode3270)
{
    BoxSettingsValues v;
    v.mode3270 = mode3270;
    std::memcpy(v.fg, mode3270 ? rec.BoxMap3270Fg : rec.BoxMapFg, sizeof v.fg);
    std::memcpy(v.bg, mode3270 ? rec.BoxMap3270Bg : rec.BoxMapBg, sizeof v.bg);
    v.enableBoxes = rec.BoxEnable;
    v.enableLines = rec.LineGraphics3D;
    v.enable3270Boxes = rec.BoxEnable32;
    return v;
}

void StoreBoxValues(const BoxSettingsValues& v, SettingsRecord& rec)
{
    std::memcpy(v.mode3270 ? rec.BoxMap3270Fg : rec.BoxMapFg, v.fg, sizeof v.fg);
    std::memcpy(v.mode3270 ? rec.BoxMap3270Bg : rec.BoxMapBg, v.bg, sizeof v.bg);
    rec.BoxEnable = v.enableBoxes;
    rec.LineGraphics3D = v.enableLines;
    rec.BoxEnable32 = v.enable3270Boxes;
}

int BoxKindOf(const BoxSettingsValues& v, int index, int side)
{
    if (!InPalette(index)) return kNoBox;
    return side == kBackgroundSide ? v.bg[index] : v.fg[index];
}

bool SelectBoxColor(BoxSettingsValues& v, int index, int side)
{
    if (!InPalette(index)) return false;
    v.selectedIndex = index;
    v.selectedSide = side == kBackgroundSide ? kBackgroundSide : kForegroundSide;
    (v.selectedSide == kBackgroundSide ? v.lastBg : v.lastFg) = index;
    return true;
}

bool ChooseBoxKind(BoxSettingsValues& v, int kind)
{
    if (kind < kNoBox || kind > kEditBox || !InPalette(v.selectedIndex)) return false;
    (v.selectedSide == kBackgroundSide ? v.bg : v.fg)[v.selectedIndex] = kind;
    return true;
}

void ResetBoxDefaults(BoxSettingsValues& v, const SettingsRecord& rec)
{
    v.enableBoxes = 1;
    v.enableLines = 1;
    std::memset(v.fg, 0, sizeof v.fg);
    std::memset(v.bg, 0, sizeof v.bg);
    MarkDefaultBoxes(rec, v.mode3270, v.fg, v.bg);
}

BoxSample BoxSampleOf(const BoxSettingsValues& v, const SettingsRecord& rec)
{
    BoxSample s{};
    const int kind = SelectedBoxKind(v);
    // Only the three kinds draw a box; any other stored value counts as none.
    s.kind = v.enableBoxes && kind >= kInBox && kind <= kEditBox ? kind : kNoBox;
    if (s.kind == kEditBox) s.bg = 19;
    else if (s.kind != kNoBox) s.bg = rec.AttrColors[kAttrNormal][kAttrBg];
    else s.bg = v.lastBg;
    s.fg = v.lastFg;
    if (s.kind != kNoBox && s.fg == s.bg) {
        s.fg = v.lastBg;
        if (s.fg == s.bg) s.fg = 13;
    }
    return s;
}
