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
