// Select graphic rendition (CSI ... m) in the two colour models: host colours (UseHostColor on)
// and the attribute colours of AttrColors.
#include "engine/colors.h"
#include "engine/vt/vt_sequences.h"

namespace {

constexpr uint8_t kTrueUnderlineFlag = 0x01;
constexpr uint8_t kTrueBoldFlag = 0x02;
constexpr int kBlinkingEntry = 8;

// ANSI colour order (black, red, green, yellow, blue, magenta, cyan, white) to palette indices.
uint8_t AnsiColor(int p) { return static_cast<uint8_t>((const int[]){0, 4, 2, 6, 1, 5, 3, 7}[p % 10] + 2); }
// Console colour c & 15: 0-7 give 2-9, 8-15 give 12-19.
uint8_t ConsoleColor(int c)
{
    c &= 15;
    return static_cast<uint8_t>(c < 8 ? c + 2 : c + 4);
}

uint8_t Toggled(uint8_t c) { return static_cast<uint8_t>(c < 10 ? c + 10 : c - 10); }
void ToggleBright(SettingsRecord& rec) { rec.CurFg = Toggled(rec.CurFg); }

bool BrightByColour(const SettingsRecord& rec) { return rec.SgrFlags[kSgrBold] && !rec.TrueBold; }
// The foreground c as drawn: bold without true bold brightens it.
uint8_t Foreground(const SettingsRecord& rec, uint8_t c) { return BrightByColour(rec) ? Toggled(c) : c; }

// 25 and 27: back to the unreversed colours (the host's, else the normal ones).
void RestoreNormal(SettingsRecord& rec)
{
    rec.CurBg = HostBackground(rec);
    rec.CurFg = rec.SgrFlags[kSgrInvisible] ? rec.CurBg : HostForeground(rec);
    if (BrightByColour(rec)) ToggleBright(rec);
}

// A new foreground c (a host colour, or the normal one for 39) under the current rendition.
void PutForeground(SettingsRecord& rec, uint8_t c)
{
    const int32_t* f = rec.SgrFlags;
    if (f[kSgrReverse]) {
        rec.CurBg = c;
        if (f[kSgrInvisible]) rec.CurFg = c;
    } else if (!f[kSgrInvisible]) {
        rec.CurFg = Foreground(rec, c);
    }
}

// A new background c (a host colour, or the normal one for 49) under the current rendition.
void PutBackground(SettingsRecord& rec, uint8_t c)
{
    const int32_t* f = rec.SgrFlags;
    if (f[kSgrReverse]) {
        if (!f[kSgrInvisible]) rec.CurFg = Foreground(rec, c);
    } else {
        rec.CurBg = c;
        if (f[kSgrInvisible]) rec.CurFg = c;
    }
}

// One parameter in the host-colour model; returns how many following parameters it used.
int HostColourParameter(SettingsRecord& rec, int p, const int* rest, int restCount, int fromVt)
{
    int32_t* f = rec.SgrFlags;
    switch (p) {
    case 0:
        rec.CurFg = rec.NormalFg;
        rec.CurBg = rec.NormalBg;
        rec.HostFg = rec.HostBg = 0;
        rec.CellFlags = 0;
        f[kSgrBold] = f[kSgrInvisible] = f[kSgrReverse] = f[kSgrBlink] = 0;
        break;
    case 1:
        if (f[kSgrBold]) break;
        f[kSgrBold] = 1;
        if (f[kSgrInvisible]) break;
        if (rec.TrueBold)
            rec.CellFlags |= kTrueBoldFlag;
        else
            ToggleBright(rec);
        break;
    case 2: {
        if (fromVt) break;
        const uint8_t fg = ConsoleColor(restCount > 0 ? rest[0] : 0);
        const uint8_t bg = ConsoleColor(restCount > 1 ? rest[1] : 0);
        rec.NormalFg = rec.ReverseBg = fg;
        rec.NormalBg = rec.ReverseFg = bg;
        rec.HostFg = rec.HostBg = 0;
        rec.CurFg = f[kSgrReverse] ? bg : fg;
        rec.CurBg = f[kSgrReverse] ? fg : bg;
        return restCount < 2 ? restCount : 2;
    }
    case 4:
        if (rec.TrueUnderline) rec.CellFlags |= kTrueUnderlineFlag;
        break;
    case 5:
        f[kSgrBlink] = 1;
        rec.CurFg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kBlinkingEntry][kAttrFg], kNormalFgIndex));
        rec.CurBg = static_cast<uint8_t>(CheckedColorIndex(rec.AttrColors[kBlinkingEntry][kAttrBg], kNormalBgIndex));
        break;
    case 7:
        if (f[kSgrReverse]) break;
        rec.CurBg = ReversedBackground(rec);
        rec.CurFg = f[kSgrInvisible] ? rec.CurBg : ReversedForeground(rec);
        if (BrightByColour(rec)) ToggleBright(rec);
        f[kSgrReverse] = 1;
        break;
    case 8:
        rec.CurFg = rec.CurBg;
        f[kSgrInvisible] = 1;
        break;
    case 10:
    case 11:
    case 12:
        if (!fromVt) rec.AlternateFont = static_cast<uint8_t>(p - 10);
        break;
    case 22:
        rec.CellFlags &= static_cast<uint8_t>(~kTrueBoldFlag);
        if (!f[kSgrBold]) break;
        f[kSgrBold] = 0;
        if (!rec.TrueBold) ToggleBright(rec);
        break;
    case 24: rec.CellFlags &= static_cast<uint8_t>(~kTrueUnderlineFlag); break;
    case 25:
        if (!f[kSgrBlink]) break;
        RestoreNormal(rec);
        f[kSgrBlink] = 0;
        break;
    case 27:
        if (!f[kSgrReverse]) break;
        RestoreNormal(rec);
        f[kSgrReverse] = 0;
        break;
    default:
        // The host's colours change the current colours only: the normal ones stay for 0, 39, 49.
        if (p >= 30 && p <= 37) {
            rec.HostFg = AnsiColor(p);
            PutForeground(rec, rec.HostFg);
        } else if (p == 39) {
            rec.HostFg = 0;
            PutForeground(rec, f[kSgrReverse] ? rec.ReverseBg : rec.NormalFg);
        } else if (p >= 40 && p <= 47) {
            rec.HostBg = AnsiColor(p);
            PutBackground(rec, rec.HostBg);
        } else if (p == 49) {
            rec.HostBg = 0;
            PutBackground(rec, f[kSgrReverse] ? rec.ReverseFg : rec.NormalBg);
        }
        break;
    }
    return 0;
}

// One parameter in the attribute model; returns how many following parameters it used.
int AttributeParameter(SettingsRecord& rec, int p, int restCount, int fromVt)
{
    int32_t* f = rec.SgrFlags;
    int used = 0;
    switch (p) {
    case 0:
        rec.CellFlags = 0;
        for (int i = 0; i < kSgrFlagCount; ++i) f[i] = 0;
        break;
    case 1:
        f[kSgrBold] = 1;
        if (rec.TrueBold) rec.CellFlags |= kTrueBoldFlag;
        break;
    case 2:
        if (!fromVt) used = restCount < 2 ? restCount : 2;
        break;
    case 4:
        f[kSgrUnderline] = 1;
        if (rec.TrueUnderline) rec.CellFlags |= kTrueUnderlineFlag;
        break;
    case 5: f[kSgrBlink] = 1; break;
    case 7: f[kSgrReverse] = 1; break;
    case 8: f[kSgrInvisible] = 1; break;
    case 10:
    case 11:
    case 12:
        if (!fromVt) rec.AlternateFont = static_cast<uint8_t>(p - 10);
        break;
    case 22:
        f[kSgrBold] = 0;
        rec.CellFlags &= static_cast<uint8_t>(~kTrueBoldFlag);
        break;
    case 24:
        f[kSgrUnderline] = 0;
        rec.CellFlags &= static_cast<uint8_t>(~kTrueUnderlineFlag);
        break;
    case 25: f[kSgrBlink] = 0; break;
    case 27: f[kSgrReverse] = 0; break;
    default: break;
    }
    return used;
}

}  // namespace

void SelectGraphicRendition(SettingsRecord& rec, int count, const int* params, int fromVt)
{
    if (rec.UseHostColor) {
        for (int i = 0; i < count; ++i) i += HostColourParameter(rec, params[i], params + i + 1, count - i - 1, fromVt);
        return;
    }
    // The attribute colours follow the flags alone, so looking them up once after the last
    // parameter gives what a look-up after every parameter would.
    for (int i = 0; i < count; ++i) i += AttributeParameter(rec, params[i], count - i - 1, fromVt);
    LookUpRenditionColors(rec, RenditionRow(rec, true));
}
