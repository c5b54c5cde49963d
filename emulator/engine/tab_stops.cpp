// Setting and clearing tab stops. The table keeps ascending order for the stops it adds; a
// table loaded from the Tabs setting may hold any order, and the scans behave accordingly.
#include <cstring>

#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"

void SetTabStop(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const int count = ClampInt(rec.TabStopCount, 0, kMaxTabStops);
    const int col = ClampInt(rec.CursorCol, 0, LastColumn(rec));
    int place = 0;
    while (place < count && rec.TabStops[place] < col) ++place;
    if (place < count && rec.TabStops[place] == col) return;
    // A full table (only possible with duplicates from the setting) takes no more stops.
    if (count >= kMaxTabStops) return;
    std::memmove(rec.TabStops + place + 1, rec.TabStops + place, count - place);
    rec.TabStops[place] = static_cast<uint8_t>(col);
    rec.TabStopCount = count + 1;
}

void ClearTabStop(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const int count = ClampInt(rec.TabStopCount, 0, kMaxTabStops);
    for (int i = 0; i < count; ++i) {
        if (rec.TabStops[i] > rec.CursorCol) return;
        if (rec.TabStops[i] == rec.CursorCol) {
            std::memmove(rec.TabStops + i, rec.TabStops + i + 1, count - i - 1);
            rec.TabStops[count - 1] = 0;
            rec.TabStopCount = count - 1;
            return;
        }
    }
}

void ClearAllTabStops(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    const int count = ClampInt(rec.TabStopCount, 0, kMaxTabStops);
    std::memset(rec.TabStops, 0, count);
    rec.TabStopCount = 0;
}

void ParseTabStops(SettingsRecord& rec)
{
    // The text scanned is "," + the first 255 characters of Tabs; the leading "," only lets the
    // first number match, so it is enough to start at the first non-digit run or number.
    const char* text = rec.Tabs;
    std::size_t length = 0;
    while (length < 255 && length < sizeof rec.Tabs && text[length] != '\0') ++length;

    const int lastColumn =
        (rec.MaxCols >= 1 && rec.MaxCols <= kMaxTabStops) ? rec.MaxCols - 1 : kMaxTabStops - 1;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    int count = 0;
    std::size_t pos = 0;
    bool atStart = true;  // the virtual leading ","
    while (count < kMaxTabStops) {
        // "%*[^0123456789]": at least one non-digit (the virtual "," counts at the start).
        const std::size_t runStart = pos;
        while (pos < length && !isDigit(text[pos])) ++pos;
        if (pos == runStart && !atStart) break;
        atStart = false;
        // "%d": at least one digit.
        if (pos >= length) break;
        long value = 0;
        while (pos < length && isDigit(text[pos])) {
            value = value * 10 + (text[pos] - '0');
            if (value > 100000) value = 100000;  // saturate; far beyond any column
            ++pos;
        }
        // Only columns 1 to 132 name a tab stop; any other number is passed over.
        if (value < 1 || value > kMaxTabStops) continue;
        long column = value - 1;
        if (column > lastColumn) column = lastColumn;
        rec.TabStops[count++] = static_cast<uint8_t>(column);
    }
    rec.TabStopCount = count;
}
