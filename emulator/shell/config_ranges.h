// The values of a configuration file that would leave the terminal unusable: a screen size the
// planes cannot hold, colour indices outside the palette, a history beyond its dialog's range, an
// alignment that names no position. After reading, each such value goes back to the one the
// record had before (the default when the session starts), and the keys are reported together.
#pragma once

#include <string>
#include <vector>

#include "session/session_record.h"

// The attribute colour entries a configuration file holds (the rest are named keys or kept).
constexpr int kAttrColorEntriesInFile = 16;
constexpr int kAttr3270ColorEntriesInFile = 48;

// Puts back the out-of-range values of `rec` from `before`; returns the keys, in file order.
std::vector<std::string> RestoreValuesOutOfRange(SettingsRecord& rec, const SettingsRecord& before);

// The one message that lists them: "" when there are none.
std::string ValuesOutOfRangeText(const std::string& file, const std::vector<std::string>& keys);
