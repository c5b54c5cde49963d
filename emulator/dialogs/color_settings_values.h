// The colours and attributes dialogs, window-free: the working rows of the attribute colour
// table, the attribute list, the colour buttons and their pressed choice, the sample's colours,
// and the write-back with its history test. Shared by the character-cell dialog (20 rows of
// AttrColors) and the 3270 one (58 rows of Attr3270Colors, whose rows 56 and 57 are the history
// lines and frame rows of AttrColors).
//
// A colour index 0-19 names a ColorPalette entry; the dialogs offer 2-9 and 12-19 as buttons.
// Stored values outside 0-19 come from hand-edited files: they show no pressed button, never
// index anything, and are kept unless the user picks a colour for them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "session/session_record.h"

enum ColorSide { kForegroundSide = 0, kBackgroundSide = 1 };

// The 32 colour buttons: foreground 2-9 are 3000-3007 and 12-19 are 3008-3015; background 2-9
// are 3016-3023 and 12-19 are 3024-3031.
constexpr int kFirstColorButton = 3000;
constexpr int kColorButtonCount = 32;
// The colour indices that have a button, in button order of one side.
constexpr int kButtonColorIndices[16] = {2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19};

// The button of an index on a side; 0 when the index has none (0, 1, 10, 11, outside 0-19).
int ColorButtonId(int index, int side);
// The index and side of a colour button; false for any other id.
bool ColorButtonChoice(int id, int& index, int& side);
// The name of the bitmaps of an index, without their "U"/"D": "COLOR02" ... "COLOR19", and
// "COLOR00" for the indices that name no fixed colour.
std::string ColorBitmapName(int index);

using ColorRow = std::array<int32_t, 3>;  // foreground, background, third value (carried)

struct ColorSettingsValues {
    bool mode3270 = false;
    int hostColor = 0;          // UseHostColor: 0 local colours, 1 the host's
    int trueBold = 0, trueUnderline = 0;
    int lineGraphicsColor = 0, specialGraphicsColor = 0;  // the character-cell dialog only
    int historyLinesColor = 0;
    int usePalette = 0;
    int brightness = 0;
    std::vector<ColorRow> rows;  // 20 or 58

    int currentRow = 1;
    int currentFg = -1, currentBg = -1;  // the pressed colour of each side, -1 none

    int HistoryRow() const { return mode3270 ? 56 : kAttrHistoryLines; }
    int FrameRow() const { return mode3270 ? 57 : kAttrFrame; }
};

constexpr int kBrightnessLimit = 255;

ColorSettingsValues ColorValuesFrom(const SettingsRecord& rec, bool mode3270);

// True when OK must recolour the history: the history colouring was switched, or it is on and
// the history lines' colours differ from the record's.
bool HistoryColorsChanged(const ColorSettingsValues& values, const SettingsRecord& rec);
// Copies the rows and flags back: all rows to their table; in 3270 mode rows 56 and 57 also to
// AttrColors rows 18 and 19. Returns HistoryColorsChanged as it was before the copy.
bool StoreColorValues(const ColorSettingsValues& values, SettingsRecord& rec);
// Fills the history part of the foreground and background planes (exactly the HistoryCells
// bytes before the visible screen) with the history lines' colours, or the Normal row's when
// history colouring is off. Nothing without planes.
void RecolorHistory(SettingsRecord& rec);

struct AttributeListEntry {
    int row;
    std::string label;
};
// The attribute list for the current choices (host colours, graphics and history rows); `label`
// names an attribute combination ("Blinking Bold ", the attribute key names' labels).
std::vector<AttributeListEntry> AttributeList(const ColorSettingsValues& values,
                                              const std::function<std::string(int attributes)>& label);

// Selecting a list row: it becomes current and its colours the pressed choice of each side (an
// index without a button presses none). The row's values are not changed.
void SelectColorRow(ColorSettingsValues& values, int row);
// Picking a colour for the current row; false (nothing changes) for an index outside 0-19.
bool PickRowColor(ColorSettingsValues& values, int side, int index);

// What the sample shows.
struct ColorSample {
    std::string text;
    int fg, bg;             // colour indices of the text
    int frameFg, frameBg;   // the Frame row's colours
    int fillBg;             // the Normal row's background around the frame
    bool bold, underline;
};
ColorSample ColorSampleOf(const ColorSettingsValues& values, const std::string& selectedText);
