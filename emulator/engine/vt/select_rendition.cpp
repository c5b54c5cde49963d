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

void ToggleBright(SettingsRecord& rec) { rec.CurFg = static_cast<uint8_t>(rec.CurFg < 10 ? rec.CurFg + 10 : rec.CurFg - 10); }

bool BrightByColour(const SettingsRecord& rec) { return rec.SgrFlags[kSgrBold] && !rec.TrueBold; }

// 25 and 27: back to the normal colours.
void RestoreNormal(SettingsRecord& rec)
{
    rec.CurBg = rec.NormalBg;
    rec.CurFg = rec.SgrFlags[kSgrInvisible] ? rec.NormalBg : rec.NormalFg;
    if (BrightByColour(rec)) ToggleBright(rec);
}

// One parameter in the host-colour model; returns how many following parameters it used.
int HostColourParameter(SettingsRecord& rec, int p, const int* rest, int restCount, int fromVt)
{
    int32_t* f = rec.SgrFlags;
    switch (p) {
    case 0:
        rec.CurFg = rec.NormalFg;
        rec.CurBg = rec.NormalBg;
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
        rec.CurBg = rec.ReverseBg;
        rec.CurFg = f[kSgrInvisible] ? rec.ReverseBg : rec.ReverseFg;
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
        if (p >= 30 && p <= 37) {
            const uint8_t c = AnsiColor(p);
            rec.NormalFg = rec.ReverseBg = c;
            if (f[kSgrReverse]) {
                rec.CurBg = c;
                if (f[kSgrInvisible]) rec.CurFg = c;
            } else if (!f[kSgrInvisible]) {
                rec.CurFg = static_cast<uint8_t>(BrightByColour(rec) ? c + 10 : c);
            }
        } else if (p >= 40 && p <= 47) {
            const uint8_t c = AnsiColor(p);
            rec.NormalBg = rec.ReverseFg = c;
            if (f[kSgrReverse]) {
                if (!f[kSgrInvisible]) rec.CurFg = static_cast<uint8_t>(BrightByColour(rec) ? c + 10 : c);
            } else {
                rec.CurBg = c;
                if (f[kSgrInvisible]) rec.CurFg = c;
            }
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
