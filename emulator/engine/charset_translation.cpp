// TranslateChar: the DEC G-set machinery, the Wyse/ADDS graphics sets and the code-set step.
#include "engine/charsets.h"
#include "host_platform.h"

int DisplayedCharCount = 0;

namespace {

bool DecEmulation(int code) { return code == 1 || code == 2 || code == 3 || code == 10; }
bool WyseOrAdds(int code) { return code == 8 || code == 9 || code == 11 || code == 12; }

// The designation of G set n (0-3).
uint8_t GSet(const SettingsRecord& rec, int n) { return rec.CharsetDesignation[kCsG0 + (n & 3)]; }

// The code-set step: translate table or OEM/ANSI conversion by the mode (CharsetMode, or 4 for
// the alternate font), then the screen font's needs.
void CodeSetStep(uint8_t& c, int& flags, int& charClass, const SettingsRecord& rec,
                 const TranslateTables& tables, int mode)
{
    if (mode == 1 && c >= 0x80) {
        charClass = OemCharClass(c);
        OemToAnsiLineDraw(c, c, flags, rec, 1);
    } else if (mode == 1 || mode == 2) {
        c = tables.Incoming[c];
    }
    const bool ansiFont = AnsiTypeFont(rec);
    if (!ansiFont && mode != 4) {
        AnsiToOemLineDraw(c, c, flags, rec, 1);
    } else if (ansiFont && mode == 4) {
        charClass = OemCharClass(c);
        OemToAnsiLineDraw(c, c, flags, rec, 1);
    }
    if (!ansiFont) charClass = OemCharClass(c);
}

}  // namespace

bool AnsiTypeFont(const SettingsRecord& rec)
{
    switch (rec.CurrentFont.CharSet) {
    case 0:
    case 238:
    case 186:
    case 204:
    case 161:
    case 162: return true;
    default: return false;
    }
}

void SetDefaultCharsets(SettingsRecord& rec)
{
    const bool wyse = rec.Terminal == 8 || rec.Terminal == 9 || rec.Terminal == 12;
    rec.CharsetDesignation[kCsG0] = 'B';
    rec.CharsetDesignation[kCsG1] = wyse ? '0' : 'B';
    rec.CharsetDesignation[kCsG2] = 'B';
    rec.CharsetDesignation[kCsG3] = 'B';
}

void TranslateChar(uint8_t& character, int& flags, int& charClass, SettingsRecord& rec,
                   const TranslateTables& tables)
{
    uint8_t c = character;
    flags = 0;
    charClass = kClassPlain;
    ++DisplayedCharCount;
    uint8_t& singleShift = rec.CharsetDesignation[kCsSingleShift];

    if (DecEmulation(rec.Terminal)) {
        uint8_t set;
        if (c >= 0x80) {
            set = GSet(rec, rec.CharsetDesignation[kCsGR]);
            // A line-drawing set in GR shows the same characters as in GL.
            if (set == '0') c &= 0x7F;
        } else {
            set = (singleShift == 2 || singleShift == 3) ? GSet(rec, singleShift)
                                                          : GSet(rec, rec.CharsetDesignation[kCsGL]);
        }
        if (set == '0') {
            DecLineDrawing(c, flags, charClass, rec);
            singleShift = 0;
            character = c;
            return;
        }
        if (set == '<' && c < 0x80) c = static_cast<uint8_t>(c + 0x80);
        CodeSetStep(c, flags, charClass, rec, tables, rec.Charset);
        singleShift = 0;
    } else if (WyseOrAdds(rec.Terminal)) {
        if (c < 0x80) {
            switch (GSet(rec, rec.CharsetDesignation[kCsGL])) {
            case '0': WyseGraphics0(c, flags, charClass, rec); character = c; return;
            case '3': WyseGraphics3(c, flags, charClass); character = c; return;
            case 'A': GraphicsA(c, flags, charClass); character = c; return;
            default: break;
            }
        }
        CodeSetStep(c, flags, charClass, rec, tables, rec.Charset);
    } else {
        CodeSetStep(c, flags, charClass, rec, tables, rec.AlternateFont ? 4 : rec.Charset);
    }

    if (c == '_' && rec.BoxEnable) flags = kLineDrawingFlag;
    character = c;
}

void TranslateChar(uint8_t& character, int& flags, int& charClass, SettingsRecord& rec)
{
    TranslateChar(character, flags, charClass, rec, SessionTranslateTables);
}

int NationalSetFromCountry() { return NationalSetForCountry(Rec->Country); }

int NationalSetForCountry(int country)
{
    if (country == 0) country = Platform().WindowsCountry();
    switch (country & 0xFFFF) {
    case 2: return 18;
    case 32:
    case 352: return 14;
    case 33: return 8;
    case 34: return 11;
    case 39: return 9;
    case 41:
    case 43:
    case 49: return 2;
    case 44: return 13;
    case 46:
    case 358: return 6;
    case 55: return 15;
    case 351: return 10;
    default: return 1;
    }
}
