// Character-set translation: what happens to a received byte before it is stored in a cell.
//
// The DEC emulations designate sets into G0-G3 and invoke them into the left (GL) and right (GR)
// halves; the Wyse and ADDS emulations have their own graphics sets; the others use the
// translate tables or the OEM/ANSI code-page conversion. Line-drawing characters become glyphs of
// an OEM-type screen font, or DEC line letters ('j' ... 'x') flagged 0x08 for the painter to draw
// as lines on an ANSI-type font.
#pragma once

#include <cstdint>

#include "session/session_record.h"
#include "session/translate_tables.h"

// The cell flag of a line-drawing cell.
constexpr int kLineDrawingFlag = 0x08;
// Character classes: the interpreters colour classes 1 and 2 with AttrColors entries 16 and 17.
enum CharClass { kClassPlain = 0, kClassLineGraphics = 1, kClassSpecialGraphics = 2 };

// Characters displayed since the connection began: counted by every TranslateChar, reset and
// read by the connection layer.
extern int DisplayedCharCount;

// Translates one received byte in place; flags gets 0 or kLineDrawingFlag, charClass a CharClass.
// The first form uses the session's translate tables.
void TranslateChar(uint8_t& character, int& flags, int& charClass, SettingsRecord& rec);
void TranslateChar(uint8_t& character, int& flags, int& charClass, SettingsRecord& rec,
                   const TranslateTables& tables);

// G0 'B'; G1 '0' for the Wyse emulation codes 8, 9 and 12, else 'B'; G2 'B'; G3 'B'.
void SetDefaultCharsets(SettingsRecord& rec);
inline void SetDefaultCharsets() { SetDefaultCharsets(*Rec); }

// True for the character sets of ANSI-type screen fonts (0, 238, 186, 204, 161, 162); every other
// font is OEM-type and has the IBM PC box-drawing glyphs.
bool AnsiTypeFont(const SettingsRecord& rec);

// One character between the OEM code page and DEC line letters. Flags in/out (kLineDrawingFlag).
// keepUnknown 1 (the translation) keeps what has no counterpart; 0 (printing) substitutes
// printable characters.
void AnsiToOemLineDraw(uint8_t source, uint8_t& destination, int& flags, const SettingsRecord& rec,
                       int keepUnknown);
void OemToAnsiLineDraw(uint8_t source, uint8_t& destination, int& flags, const SettingsRecord& rec,
                       int keepUnknown);

// The graphics sets, one character each (character in place, flags and class out).
void DecLineDrawing(uint8_t& c, int& flags, int& charClass, const SettingsRecord& rec);
void WyseGraphics0(uint8_t& c, int& flags, int& charClass, const SettingsRecord& rec);
void WyseGraphics3(uint8_t& c, int& flags, int& charClass);
void GraphicsA(uint8_t& c, int& flags, int& charClass);

// The class of an OEM code-page byte, and of a DEC line letter (0x60-0x7F) on an ANSI-type font.
int OemCharClass(uint8_t c);
int LineLetterClass(uint8_t c);

// The code-page conversion of one byte by the installed platform (cached per platform).
uint8_t AnsiToOemByte(uint8_t c);
uint8_t OemToAnsiByte(uint8_t c);

// The national character set (1-18) of a telephone country code
// (NationalSetFromCountry); country 0 means the Windows country (Platform().WindowsCountry()).
// Only the low 16 bits of the country count.
int NationalSetForCountry(int country);

// The national character set (1-18) of the Country setting (0: the Windows country).
int NationalSetFromCountry();
