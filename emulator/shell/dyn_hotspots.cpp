// Dynamic-hotspot words; see dyn_hotspots.h.
#include "shell/dyn_hotspots.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "session/session_record.h"

namespace {

constexpr uint8_t kLineDrawing = 0x08;

bool IsWordCell(const SettingsRecord& rec, int at)
{
    const uint8_t c = rec.CharsScreen[at];
    if (c == 0) return false;
    if ((rec.FlagsScreen[at] & kLineDrawing) && c != '_') return false;
    if (c < 0x80 && std::isalnum(c)) return true;
    return std::memchr(rec.ExtraDynWordChars, c, strnlen(rec.ExtraDynWordChars, sizeof rec.ExtraDynWordChars)) != nullptr;
}

// A colour of the button by its setting: 0 the button's default, 1 the cell's own colour, 10 the
// other colour of the cell, 11 the own colour with bright and normal swapped, else the index.
int ButtonColor(int setting, int own, int other)
{
    switch (setting) {
    case 0: return 0;
    case 1: return own;
    case 10: return other;
    case 11: return own < 10 ? own + 10 : own - 10;
    default: return setting;
    }
}

}  // namespace

std::vector<HotspotWord> FindHotspotWords(const SettingsRecord& rec, const CellSpan& repainted)
{
    std::vector<HotspotWord> words;
    const int cols = rec.MaxCols, rows = rec.MaxRows;
    if (!rec.CharsScreen || !rec.FlagsScreen || cols <= 0) return words;
    const int areaFirstCol = std::min(rec.DynamicColumn, cols) - 1;
    const int areaLastCol = std::min(rec.DynamicColumn + rec.DynamicWidth, cols - 1);
    const int areaFirstRow = std::min(rec.DynamicRow, rows) - 1;
    const int areaLastRow = std::min(rec.DynamicRow + rec.DynamicHeight - 2, rows - 1);
    const int firstRow = std::max({repainted.firstRow, areaFirstRow, 0});
    const int lastRow = std::min(repainted.lastRow, areaLastRow);
    const int firstCol = std::max({repainted.firstCol, areaFirstCol, 0});
    const int lastCol = std::min(repainted.lastCol, areaLastCol);
    if (firstCol > lastCol) return words;
    const int stop = std::min(areaLastCol + 1, cols - 1);  // the walk's last column
    for (int row = firstRow; row <= lastRow; ++row) {
        const int base = row * cols;
        auto word = [&](int c) { return IsWordCell(rec, base + c); };
        // A word that starts before the repainted columns is taken from its start.
        int col = firstCol;
        while (col > 0 && word(col - 1)) --col;
        while (col <= stop && col <= lastCol) {
            if (!word(col)) {
                ++col;
                continue;
            }
            int end = col;
            while (end + 1 <= stop && word(end + 1)) ++end;
            // Taken only whole inside the area: not started left of it, not running past it.
            if (col >= areaFirstCol && end <= areaLastCol) {
                HotspotWord w{row, col, end, {}};
                for (int c = col; c <= end; ++c) w.text += static_cast<char>(rec.CharsScreen[base + c]);
                words.push_back(w);
            }
            col = end + 1;
        }
    }
    return words;
}

HotspotButtonDefinition HotspotButton(const SettingsRecord& rec, const HotspotWord& w, const std::string& name,
                                      const std::string& action)
{
    const int at = w.row * rec.MaxCols + w.first;
    const int fg = rec.FgScreen[at], bg = rec.BgScreen[at];
    HotspotButtonDefinition d{{1, w.first + 1, w.row + 1, w.last - w.first + 1, 1, 0, 0, 2, 2, rec.DynamicDepth,
                               ButtonColor(rec.DynamicFgColor, fg, bg), ButtonColor(rec.DynamicBgColor, bg, fg)},
                              ";" + w.text + ";" + name + ";;" + action + ";"};
    return d;
}
