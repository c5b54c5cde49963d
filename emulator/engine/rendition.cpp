// The rendition (SGR) setters. With the colour mode off (UseHostColor 0) the rendition picks a
// whole colour pair from AttrColors; with it on, the host's colours are kept and modified.
#include "engine/colors.h"
#include "engine/screen_actions.h"

namespace {

constexpr int kBlinkingEntry = 8;

// CurFg, CurBg from the AttrColors row of the current rendition, blink included.
void LookUp(SettingsRecord& rec) { LookUpRenditionColors(rec, RenditionRow(rec, true)); }

}  // namespace

void SetBold(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.SgrFlags[kSgrBold]) return;
    rec.SgrFlags[kSgrBold] = 1;
    if (!rec.UseHostColor) {
        if (rec.TrueBold) rec.CellFlags |= 0x02;
        LookUp(rec);
    } else if (!rec.SgrFlags[kSgrInvisible]) {
        if (rec.TrueBold)
            rec.CellFlags |= 0x02;
        else
            rec.CurFg = BrightenColor(rec.CurFg);
    }
}

void SetReverse(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (rec.SgrFlags[kSgrReverse]) return;
    rec.SgrFlags[kSgrReverse] = 1;
    if (!rec.UseHostColor) {
        LookUp(rec);
    } else if (rec.SgrFlags[kSgrInvisible]) {
        rec.CurFg = rec.CurBg = ReversedBackground(rec);
    } else {
        rec.CurFg = ReversedForeground(rec);
        rec.CurBg = ReversedBackground(rec);
        if (rec.SgrFlags[kSgrBold] && !rec.TrueBold) rec.CurFg = BrightenColor(rec.CurFg);
    }
}

void SetUnderline(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.SgrFlags[kSgrUnderline] = 1;
    if (rec.TrueUnderline) rec.CellFlags |= 0x01;
    if (!rec.UseHostColor) LookUp(rec);
}

void SetBlink(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.SgrFlags[kSgrBlink] = 1;
    if (!rec.UseHostColor) {
        LookUp(rec);
    } else {
        rec.CurFg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kBlinkingEntry][kAttrFg], kNormalFgIndex));
        rec.CurBg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kBlinkingEntry][kAttrBg], kNormalBgIndex));
    }
}

void SetInvisible(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.SgrFlags[kSgrInvisible] = 1;
    if (!rec.UseHostColor)
        LookUp(rec);
    else
        rec.CurFg = rec.CurBg;
}

void ResetRendition(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    rec.CellFlags = 0;
    rec.HostFg = rec.HostBg = 0;
    for (int32_t& flag : rec.SgrFlags) flag = 0;
    if (!rec.UseHostColor) {
        LookUpRenditionColors(rec, kAttrNormal);
    } else {
        rec.CurFg = rec.NormalFg;
        rec.CurBg = rec.NormalBg;
    }
}

void AddAttributeCode(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, uint8_t code)
{
    const bool plainRow = code >= 0x30 && code <= 0x3F;
    const bool boldRow = code >= 0x70 && code <= 0x7F;
    if (!plainRow && !boldRow) return;
    if (boldRow) SetBold(window, rec, dirty);
    if (code & 0x04) SetReverse(window, rec, dirty);
    if (code & 0x08) SetUnderline(window, rec, dirty);
    if (code & 0x02) SetBlink(window, rec, dirty);
    if (code & 0x01) SetInvisible(window, rec, dirty);
}
