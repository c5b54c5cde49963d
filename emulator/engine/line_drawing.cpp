// The graphics sets and the conversions between OEM box characters and DEC line letters.
#include "engine/charsets.h"
#include "host_platform.h"

namespace {

// The code-page tables of the installed platform, rebuilt when another platform is installed.
struct CodePageCache {
    unsigned generation = ~0u;
    uint8_t toOem[256];
    uint8_t toAnsi[256];

    void Refresh()
    {
        if (generation == PlatformGeneration()) return;
        uint8_t all[256];
        for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
        Platform().AnsiToOemBytes(all, toOem, sizeof all);
        Platform().OemToAnsiBytes(all, toAnsi, sizeof all);
        generation = PlatformGeneration();
    }
};

CodePageCache& Pages()
{
    static CodePageCache cache;
    cache.Refresh();
    return cache;
}

// OEM box characters 0xB3-0xDA as DEC line letters.
constexpr char kBoxLetters[] = "xuuukkuxkjjjkmvwtqnttmlvwtqnvvwwmmllnnjl";
static_assert(sizeof kBoxLetters - 1 == 0xDA - 0xB3 + 1, "one letter per box character");

// Wyse graphics set 0 is the OEM box range with the high bit clear: '3' ... 'Z' take the letters
// of 0xB3 ... 0xDA.
static_assert('3' + 0x80 == 0xB3 && 'Z' + 0x80 == 0xDA, "Wyse set 0 mirrors the box range");

// WyseGraphics3 by the low four bits.
constexpr uint8_t kWyse3Letters[16] = {'w', 'm', 'l', 'k', 't', 'j', 'x', 0xDB,
                                       'n', 'u', 'q', 'a', 'q', 'v', 'x', 'a'};

// DEC line letters as OEM box characters.
uint8_t LetterToBox(uint8_t c)
{
    switch (c) {
    case 'j': return 0xD9;
    case 'k': return 0xBF;
    case 'l': return 0xDA;
    case 'm': return 0xC0;
    case 'n': return 0xC5;
    case 'q': return 0xC4;
    case 't': return 0xC3;
    case 'u': return 0xB4;
    case 'v': return 0xC1;
    case 'w': return 0xC2;
    case 'x': return 0xB3;
    default: return 0;
    }
}

}  // namespace

uint8_t AnsiToOemByte(uint8_t c) { return Pages().toOem[c]; }
uint8_t OemToAnsiByte(uint8_t c) { return Pages().toAnsi[c]; }

int OemCharClass(uint8_t c)
{
    if (c == 0x04 || c == 0x07 || c == 0x1E || (c >= 0xB0 && c <= 0xB2) || (c >= 0xDB && c <= 0xDF) ||
        c == 0xFA)
        return kClassSpecialGraphics;
    if (c >= 0xB3 && c <= 0xDA) return kClassLineGraphics;
    return kClassPlain;
}

int LineLetterClass(uint8_t c)
{
    if (c == '`' || (c >= 'a' && c <= 'f') || c == 'h' || c == 'i') return kClassSpecialGraphics;
    if ((c >= 'j' && c <= 'x') || c == 0x7F) return kClassLineGraphics;
    return kClassPlain;
}

void DecLineDrawing(uint8_t& c, int& flags, int& charClass, const SettingsRecord& rec)
{
    const uint8_t charset = rec.CurrentFont.CharSet;
    if (AnsiTypeFont(rec)) {
        uint8_t glyph = 0;
        if (charset == 0 || charset == 238) {
            switch (c) {
            case 'f': glyph = 0xB0; break;
            case 'g': glyph = charset == 0 ? 0xB1 : 0; break;
            case '}': glyph = 0xA3; break;
            case '~': glyph = 0xB7; break;
            default: break;
            }
        }
        if (glyph) {
            c = glyph;
            flags = 0;
            charClass = kClassPlain;
            return;
        }
    } else {
        uint8_t glyph = 0;
        int cls = kClassPlain;
        switch (c) {
        case 'a': glyph = 0xB1; cls = kClassSpecialGraphics; break;
        case 'f': glyph = 0xF9; break;
        case 'g': glyph = 0xF1; break;
        case 'y': glyph = 0xF3; break;
        case 'z': glyph = 0xF2; break;
        case '{': glyph = 0xE3; break;
        case '}': glyph = 0x9C; break;
        case '~': glyph = 0xFA; break;
        default:
            glyph = LetterToBox(c);
            cls = kClassLineGraphics;
            break;
        }
        if (glyph) {
            c = glyph;
            flags = 0;
            charClass = cls;
            return;
        }
    }
    if (c >= 0x60 && c <= 0x7F) {
        flags = kLineDrawingFlag;
        charClass = LineLetterClass(c);
    }
}

void WyseGraphics0(uint8_t& c, int& flags, int& charClass, const SettingsRecord& rec)
{
    flags = 0;
    if (!AnsiTypeFont(rec)) {
        if (c < 0x80) c = static_cast<uint8_t>(c + 0x80);
        charClass = OemCharClass(c);
        return;
    }
    if (c >= '3' && c <= 'Z') {
        c = static_cast<uint8_t>(kBoxLetters[c - '3']);
        flags = kLineDrawingFlag;
        charClass = kClassLineGraphics;
    }
}

void WyseGraphics3(uint8_t& c, int& flags, int& charClass)
{
    if (c < '0') {
        flags = 0;
        return;
    }
    const int low = c & 0x0F;
    c = kWyse3Letters[low];
    flags = kLineDrawingFlag;
    charClass = (low == 7 || low == 11 || low == 15) ? kClassSpecialGraphics : kClassLineGraphics;
}

void GraphicsA(uint8_t& c, int& flags, int& charClass)
{
    uint8_t letter = 0;
    switch (c) {
    case 'B': letter = 'm'; break;
    case 'C': letter = 'l'; break;
    case 'D': letter = 'k'; break;
    case 'F': letter = 'j'; break;
    case 'H': letter = 'u'; break;
    case 'I': letter = 't'; break;
    case '\\': letter = 'q'; break;
    case '^': letter = 'x'; break;
    default: break;
    }
    if (letter) {
        c = letter;
        flags = kLineDrawingFlag;
        charClass = kClassLineGraphics;
    } else if (c >= 'P' && c <= '_') {
        WyseGraphics3(c, flags, charClass);
    } else {
        flags = 0;
    }
}

void AnsiToOemLineDraw(uint8_t source, uint8_t& destination, int& flags, const SettingsRecord& rec,
                       int keepUnknown)
{
    (void)rec;
    if (!(flags & kLineDrawingFlag)) {
        destination = AnsiToOemByte(source);
        return;
    }
    flags &= ~kLineDrawingFlag;
    if (const uint8_t box = LetterToBox(source)) {
        destination = box;
    } else if (keepUnknown) {
        destination = source;
        flags |= kLineDrawingFlag;
    } else {
        destination = source == '_' ? '_' : '#';
    }
}

void OemToAnsiLineDraw(uint8_t source, uint8_t& destination, int& flags, const SettingsRecord& rec,
                       int keepUnknown)
{
    (void)rec;
    const uint8_t c = source;
    if (keepUnknown) {
        if ((c >= 0xB0 && c <= 0xB2) || (c >= 0xDB && c <= 0xDF)) {
            destination = c;
            flags |= kLineDrawingFlag;
        } else if (c >= 0xB3 && c <= 0xDA) {
            destination = static_cast<uint8_t>(kBoxLetters[c - 0xB3]);
            flags |= kLineDrawingFlag;
        } else if (c == 0xF3 || c == 0xF4) {
            destination = c == 0xF3 ? 'y' : 'z';
            flags |= kLineDrawingFlag;
        } else {
            destination = OemToAnsiByte(c);
        }
        return;
    }
    if ((c >= 0xB0 && c <= 0xB2) || (c >= 0xDB && c <= 0xDF) || c == 0xF3 || c == 0xF4)
        destination = '#';
    else if (c == 0xB3 || c == 0xBA)
        destination = '|';
    else if (c == 0xC4 || c == 0xCD)
        destination = '-';
    else if (c >= 0xB0 && c <= 0xDA)
        destination = '+';
    else
        destination = OemToAnsiByte(c);
}
