// Colours: the 20 display colours (ColorPalette) derived from the 16-colour palette and the
// brightness, the current colours of new characters in the two colour modes, and the colours of
// a 3270 cell.
//
// A colour index 0-19 names a ColorPalette entry: 2-9 black, blue, green, cyan, red, magenta,
// yellow, white; 12-19 their light forms (adding 10 brightens); 0/1 and 10/11 the normal and bold
// foreground and background, which the view fills in. Indices come from settings and hosts and
// may be anything: they are checked before they index the palette.
#pragma once

#include <cstdint>

#include "session/session_record.h"

// The default palette (SetDefaultPalette): Black ... LightWhite.
void SetDefaultPalette(SettingsRecord& rec);

// The slots the view fills with the normal foreground and background; out-of-range indices fall
// back to them.
constexpr int kNormalFgIndex = 0;
constexpr int kNormalBgIndex = 1;

// `index` when it names a ColorPalette entry (0-19), else `fallback`.
inline int CheckedColorIndex(int index, int fallback)
{
    return (index >= 0 && index < kColorIndices) ? index : fallback;
}
// The same as a colour byte of the planes and the record.
inline uint8_t ColorByte(int index, int fallback) { return static_cast<uint8_t>(CheckedColorIndex(index, fallback)); }

// The ColorPalette entry of an index; an index outside 0-19 gives the normal foreground slot.
inline uint32_t PaletteColor(const SettingsRecord& rec, int index)
{
    return rec.ColorPalette[CheckedColorIndex(index, kNormalFgIndex)];
}

// The light form of a normal colour index (0-9: + 10) and the normal form of a light one
// (10-19: - 10); anything else stays.
inline uint8_t BrightenColor(uint8_t index)
{
    if (index <= 9) return static_cast<uint8_t>(index + 10);
    if (index < kColorIndices) return static_cast<uint8_t>(index - 10);
    return index;
}

// The host-colour model keeps the colours a host chose (HostFg, HostBg) apart from the normal
// colours, which only the settings and the console colour sequences change. These are the
// colours a rendition starts from: the host's choice, else the normal (or normal reverse) ones.
inline uint8_t HostForeground(const SettingsRecord& rec) { return rec.HostFg ? rec.HostFg : rec.NormalFg; }
inline uint8_t HostBackground(const SettingsRecord& rec) { return rec.HostBg ? rec.HostBg : rec.NormalBg; }
inline uint8_t ReversedForeground(const SettingsRecord& rec) { return rec.HostBg ? rec.HostBg : rec.ReverseFg; }
inline uint8_t ReversedBackground(const SettingsRecord& rec) { return rec.HostFg ? rec.HostFg : rec.ReverseBg; }

// The palette colour (0x00BBGGRR) behind each colour index, in index order.
uint32_t PaletteSourceColor(const SettingsRecord& rec, int index);

// Stores the default palette (Black 0x000000 ... LightWhite 0xFFFFFF).
inline void SetDefaultPalette() { SetDefaultPalette(*Rec); }

// Recomputes ColorPalette: every non-zero channel of the palette colour gets Brightness added
// (the sum is kept within 0-255), and 0x02000000 marks each result palette-relative.
void BuildPaletteColors(SettingsRecord& rec);
inline void BuildPaletteColors() { BuildPaletteColors(*Rec); }

// Recomputes NormalFg ... ReverseBg, CurFg and CurBg from AttrColors entry 0 and the current
// rendition (SgrFlags), in the current colour mode (UseHostColor).
void UpdateCurrentColors(SettingsRecord& rec);
inline void UpdateCurrentColors() { UpdateCurrentColors(*Rec); }

// The colours of one 3270 cell from its field attribute, extended colour code (0xF1-0xF7, else
// none) and highlight byte. displayBits gets 0x02 (true bold) and 0x01 (true underline) added
// where those settings ask for font effects.
void AttributeColors(const SettingsRecord& rec, int attribute, int colorCode, int highlight,
                     int& foreground, int& background, int& displayBits);
inline void AttributeColors(int attribute, int colorCode, int highlight, int& foreground,
                            int& background, int& displayBits)
{
    AttributeColors(*Rec, attribute, colorCode, highlight, foreground, background, displayBits);
}

// The AttrColors row of the current rendition: bold 1 + reverse 2 + underline 4 (+ blink 8 when
// withBlink).
inline int RenditionRow(const SettingsRecord& rec, bool withBlink)
{
    int row = (rec.SgrFlags[kSgrBold] ? 1 : 0) + (rec.SgrFlags[kSgrReverse] ? 2 : 0) +
              (rec.SgrFlags[kSgrUnderline] ? 4 : 0);
    if (withBlink && rec.SgrFlags[kSgrBlink]) row += 8;
    return row;
}
// CurFg and CurBg from AttrColors row `row` (monochrome-style colours); invisible makes the
// foreground equal the background.
inline void LookUpRenditionColors(SettingsRecord& rec, int row)
{
    rec.CurFg = ColorByte(rec.AttrColors[row][kAttrFg], kNormalFgIndex);
    rec.CurBg = ColorByte(rec.AttrColors[row][kAttrBg], kNormalBgIndex);
    if (rec.SgrFlags[kSgrInvisible]) rec.CurFg = rec.CurBg;
}

// The default boxes of one mode, marked into cleared maps: character mode an out-box for Bold's
// foreground and an in-box for Reversed's background; 3270 mode edit-boxes for the backgrounds of
// Normal and Reversed and an out-box for Protected Reversed's.
void MarkDefaultBoxes(const SettingsRecord& rec, bool mode3270, int32_t (&fg)[kColorIndices], int32_t (&bg)[kColorIndices]);
