#include "shell/config_ranges.h"

#include <utility>

#include "shell/attribute_key_name.h"

namespace {

constexpr int kMaxHistoryRows = 400;
constexpr int kMaxAlignment = 8;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

class Restorer {
public:
    Restorer(SettingsRecord& rec, const SettingsRecord& before) : rec_(rec), before_(before) {}

    void Check(const std::string& key, int32_t SettingsRecord::*field, int low, int high)
    {
        if (InRange(rec_.*field, low, high)) return;
        rec_.*field = before_.*field;
        keys.push_back(key);
    }

    // The foreground and background colour indices of one attribute entry; `keyNames` gives
    // their two key names, made only for a value out of range (a file has hundreds of them).
    template <typename KeyNames>
    void CheckColors(int32_t* entry, const int32_t* old, KeyNames keyNames)
    {
        const bool fgOut = !InRange(entry[kAttrFg], 0, kColorIndices - 1);
        const bool bgOut = !InRange(entry[kAttrBg], 0, kColorIndices - 1);
        if (!fgOut && !bgOut) return;
        const auto [fgKey, bgKey] = keyNames();
        if (fgOut) {
            entry[kAttrFg] = old[kAttrFg];
            keys.push_back(fgKey);
        }
        if (bgOut) {
            entry[kAttrBg] = old[kAttrBg];
            keys.push_back(bgKey);
        }
    }

    std::vector<std::string> keys;

private:
    SettingsRecord& rec_;
    const SettingsRecord& before_;
};

}  // namespace

std::vector<std::string> RestoreValuesOutOfRange(SettingsRecord& rec, const SettingsRecord& before)
{
    Restorer restorer(rec, before);
    restorer.Check("AlignDisplay", &SettingsRecord::AlignDisplay, 0, kMaxAlignment);
    // The screen size as a pair: a width the planes take, then the rows that fit beside it.
    if (rec.MaxCols != kNarrowColumns && rec.MaxCols != kWideColumns) {
        rec.MaxCols = before.MaxCols;
        restorer.keys.push_back("MaxCols");
    }
    if (!ValidScreenGeometry(rec.MaxRows, rec.MaxCols)) {
        rec.MaxRows = ValidScreenGeometry(before.MaxRows, rec.MaxCols) ? before.MaxRows : 24;
        restorer.keys.push_back("MaxRows");
    }
    restorer.Check("HistoryRows", &SettingsRecord::HistoryRows, 0, kMaxHistoryRows);

    AttributeKeyName names;
    const char* const named[] = {"LineGraphics", "SpecialGraphics", "HistoryLines", "Frame"};
    // The key builder holds one name at a time: each is copied before the next is built.
    auto keysOf = [&names](int i, const std::string& prefix) {
        const std::string fg = prefix + names.BuildFgKey(i);
        return std::make_pair(fg, prefix + names.BuildBgKey(i));
    };
    for (int i = 0; i < kAttrColorEntriesInFile; ++i)
        restorer.CheckColors(rec.AttrColors[i], before.AttrColors[i], [&] { return keysOf(i, ""); });
    for (int i = kAttrLineGraphics; i <= kAttrFrame; ++i) {
        restorer.CheckColors(rec.AttrColors[i], before.AttrColors[i], [&] {
            const std::string name = named[i - kAttrLineGraphics];
            return std::make_pair(name + "FgColor", name + "BgColor");
        });
    }
    for (int i = 0; i < kAttr3270ColorEntriesInFile; ++i)
        restorer.CheckColors(rec.Attr3270Colors[i], before.Attr3270Colors[i], [&] { return keysOf(i, "[3270Attributes] "); });
    return restorer.keys;
}

std::string ValuesOutOfRangeText(const std::string& file, const std::vector<std::string>& keys)
{
    if (keys.empty()) return "";
    std::string text = "Values out of range in '" + file + "' were replaced by their defaults:\n";
    for (std::size_t i = 0; i < keys.size(); ++i) text += (i ? ", " : "") + keys[i];
    return text;
}
