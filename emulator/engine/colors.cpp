#include "engine/colors.h"

namespace {

uint32_t AdjustChannel(uint32_t channel, int brightness)
{
    if (channel == 0) return 0;
    const int value = static_cast<int>(channel) + brightness;
    if (value >= 255) return 255;
    if (value < 0) return 0;
    return static_cast<uint32_t>(value);
}

}  // namespace

uint32_t PaletteSourceColor(const SettingsRecord& rec, int index)
{
    // Indices 0/1 and 10/11 start as blue/white and their light forms; the view later puts the
    // normal and bold colours there.
    const uint32_t normal[10] = {rec.Blue, rec.White,  rec.Black, rec.Blue,   rec.Green,
                                 rec.Cyan, rec.Red,    rec.Magenta, rec.Yellow, rec.White};
    const uint32_t light[10] = {rec.LightBlue, rec.LightWhite, rec.LightBlack,   rec.LightBlue,
                                rec.LightGreen, rec.LightCyan, rec.LightRed,     rec.LightMagenta,
                                rec.LightYellow, rec.LightWhite};
    index = CheckedColorIndex(index, 0);
    return index < 10 ? normal[index] : light[index - 10];
}

void BuildPaletteColors(SettingsRecord& rec)
{
    for (int i = 0; i < kColorIndices; ++i) {
        const uint32_t c = PaletteSourceColor(rec, i);
        const uint32_t red = AdjustChannel(c & 0xFF, rec.Brightness);
        const uint32_t green = AdjustChannel((c >> 8) & 0xFF, rec.Brightness);
        const uint32_t blue = AdjustChannel((c >> 16) & 0xFF, rec.Brightness);
        rec.ColorPalette[i] = 0x02000000u | (blue << 16) | (green << 8) | red;
    }
}

void UpdateCurrentColors(SettingsRecord& rec)
{
    rec.NormalFg = ColorByte(rec.AttrColors[kAttrNormal][kAttrFg], kNormalFgIndex);
    rec.NormalBg = ColorByte(rec.AttrColors[kAttrNormal][kAttrBg], kNormalBgIndex);
    rec.HostFg = rec.HostBg = 0;
    const bool bold = rec.SgrFlags[kSgrBold] != 0;
    const bool reverse = rec.SgrFlags[kSgrReverse] != 0;
    const bool invisible = rec.SgrFlags[kSgrInvisible] != 0;

    if (!rec.UseHostColor) {
        if (invisible) {
            rec.CurFg = rec.CurBg = rec.NormalBg;
        } else {
            LookUpRenditionColors(rec, RenditionRow(rec, false));
        }
        return;
    }

    rec.ReverseFg = rec.NormalBg;
    rec.ReverseBg = rec.NormalFg;
    if (reverse && invisible) {
        rec.CurFg = rec.CurBg = rec.ReverseBg;
    } else if (reverse) {
        rec.CurFg = rec.ReverseFg;
        rec.CurBg = rec.ReverseBg;
        if (bold && rec.CurFg < 10) rec.CurFg = static_cast<uint8_t>(rec.CurFg + 10);
    } else if (invisible) {
        rec.CurFg = rec.CurBg = rec.NormalBg;
    } else {
        rec.CurFg = rec.NormalFg;
        rec.CurBg = rec.NormalBg;
        if (bold && rec.CurFg < 10) rec.CurFg = static_cast<uint8_t>(rec.CurFg + 10);
    }
}

void AttributeColors(const SettingsRecord& rec, int attribute, int colorCode, int highlight,
                     int& foreground, int& background, int& displayBits)
{
    int entry = 0;
    if (attribute & 0x08) {
        entry |= 1;
        if (rec.TrueBold) displayBits |= 0x02;
    }
    if (highlight & 0x01) {
        entry |= 4;
        if (rec.TrueUnderline) displayBits |= 0x01;
    } else {
        if (attribute & 0x20)
            entry |= 0x20;
        else if (attribute & 0x10)
            entry |= 0x10;
        if (highlight & 0x20) entry |= 2;
        if (highlight & 0x40) entry |= 8;
    }
    foreground = CheckedColorIndex(rec.Attr3270Colors[entry][kAttrFg], kNormalFgIndex);
    background = CheckedColorIndex(rec.Attr3270Colors[entry][kAttrBg], kNormalBgIndex);
    if (colorCode >= 0xF1 && colorCode <= 0xF7)
        foreground = CheckedColorIndex(rec.Attr3270Colors[49 + (colorCode - 0xF1)][kAttrFg], kNormalFgIndex);
}

void SetDefaultPalette(SettingsRecord& rec)
{
    rec.Black = 0x000000;
    rec.Blue = 0x800000;
    rec.Green = 0x008000;
    rec.Cyan = 0x808000;
    rec.Red = 0x000080;
    rec.Magenta = 0x800080;
    rec.Yellow = 0x008080;
    rec.White = 0xC0C0C0;
    rec.LightBlack = 0x808080;
    rec.LightBlue = 0xFF0000;
    rec.LightGreen = 0x00FF00;
    rec.LightCyan = 0xFFFF00;
    rec.LightRed = 0x0000FF;
    rec.LightMagenta = 0xFF00FF;
    rec.LightYellow = 0x00FFFF;
    rec.LightWhite = 0xFFFFFF;
}

void MarkDefaultBoxes(const SettingsRecord& rec, bool mode3270, int32_t (&fg)[kColorIndices], int32_t (&bg)[kColorIndices])
{
    // The colour indices come from the colour tables, which a file may have set to anything: an
    // index outside the maps marks nothing.
    auto put = [](int32_t (&map)[kColorIndices], int index, int value) {
        if (index >= 0 && index < kColorIndices) map[index] = value;
    };
    if (mode3270) {
        put(bg, rec.Attr3270Colors[0][kAttrBg], 3);
        put(bg, rec.Attr3270Colors[2][kAttrBg], 3);
        put(bg, rec.Attr3270Colors[34][kAttrBg], 2);
    } else {
        put(fg, rec.AttrColors[1][kAttrFg], 2);
        put(bg, rec.AttrColors[2][kAttrBg], 1);
    }
}
