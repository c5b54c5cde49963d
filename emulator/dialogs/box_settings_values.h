// The Boxes dialog, window-free: the working box maps of one mode (the character-mode maps, or
// the 3270 ones when the dialog opens in 3270 mode), the selected colour and its kind, "Reset to
// default", and the colours of the sample.
#pragma once

#include <cstdint>

#include "dialogs/color_settings_values.h"
#include "session/session_record.h"

// Box kinds of the map entries.
enum BoxKind { kNoBox = 0, kInBox = 1, kOutBox = 2, kEditBox = 3 };

struct BoxSettingsValues {
    bool mode3270 = false;
    int32_t fg[kColorIndices] = {};
    int32_t bg[kColorIndices] = {};
    int enableBoxes = 0, enableLines = 0, enable3270Boxes = 0;

    int selectedIndex = 2, selectedSide = kForegroundSide;
    int lastFg = 2, lastBg = 9;  // the sample's colours
};

BoxSettingsValues BoxValuesFrom(const SettingsRecord& rec, bool mode3270);
// Copies the maps back to the pair they came from, and the three switches.
void StoreBoxValues(const BoxSettingsValues& values, SettingsRecord& rec);

// The kind a side's map gives an index; kNoBox outside 0-19.
int BoxKindOf(const BoxSettingsValues& values, int index, int side);
// The selected colour's kind.
inline int SelectedBoxKind(const BoxSettingsValues& v) { return BoxKindOf(v, v.selectedIndex, v.selectedSide); }

// Selecting a colour: it becomes the selected one and the sample's colour of its side; false for
// an index outside 0-19 (nothing changes).
bool SelectBoxColor(BoxSettingsValues& values, int index, int side);
// Choosing a kind (0-3) for the selected colour; false for another kind.
bool ChooseBoxKind(BoxSettingsValues& values, int kind);
// "Reset to default": 3-D boxes and lines on, both maps cleared and the mode's default boxes
// marked (MarkDefaultBoxes); "Enable 3270 boxes" keeps its state.
void ResetBoxDefaults(BoxSettingsValues& values, const SettingsRecord& rec);

struct BoxSample {
    int fg, bg;  // colour indices of the text and its background
    int kind;    // the box around the text, kNoBox for none
};
BoxSample BoxSampleOf(const BoxSettingsValues& values, const SettingsRecord& rec);
