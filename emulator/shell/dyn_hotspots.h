// Dynamic hotspots: the words of the hotspot area that the view repainted, looked up in the
// hotspot table; each word found gets a hotspot button over it. This part is window-free: finding
// the words and defining their buttons.
#pragma once

#include <string>
#include <vector>

#include "shell/view_layout.h"

struct SettingsRecord;

struct HotspotWord {
    int row = 0, first = 0, last = 0;  // 0-based cells, inclusive
    std::string text;                  // up to the first empty cell
};

// The words of the repainted cells inside the hotspot area (DynamicRow, DynamicColumn,
// DynamicWidth, DynamicHeight; 1-based). Word characters are letters, digits and the characters of
// ExtraDynWordChars; a line-drawing cell other than '_' and an empty cell break words. A word is
// taken whole from its start (not when it starts left of the area) and dropped when it runs past
// the area's last column.
std::vector<HotspotWord> FindHotspotWords(const SettingsRecord& rec, const CellSpan& repainted);

// The definition of a word's hotspot button for CreateDynButton: twelve numbers (placement 1 over
// the word, box depth DynamicDepth, text and face colours by DynamicFgColor and DynamicBgColor
// from the word's first cell) and the texts (the word as text, `name` as name, `action` as the
// left click).
struct HotspotButtonDefinition {
    int numbers[12];
    std::string text;
};
HotspotButtonDefinition HotspotButton(const SettingsRecord& rec, const HotspotWord& word, const std::string& name,
                                      const std::string& action);

// The hotspot table's string for a word: empty when the word is no hotspot.
std::string HotspotEffectiveString(const std::string& word);
