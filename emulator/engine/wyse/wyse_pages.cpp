// The three Wyse display pages. Each keeps the screen planes, the protection plane and the
// cursor of a page that is not shown; the shown page lives in the session record's planes.
#include <cstring>
#include <memory>
#include <new>

#include "engine/screen_actions.h"
#include "engine/screen_geometry.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"
#include "engine/wyse/wyse_interpreter.h"

namespace {

constexpr int kPages = 3;
constexpr int kPlanes = 5;  // characters, foreground, background, flags, protection
constexpr int kStatusPagePane = 0;
constexpr uint32_t kPageTextColor = 0xFF0000;  // blue
constexpr uint32_t kPageBackColor = 0xC0C0C0;  // light grey

struct WysePage {
    int cursorCol;
    int cursorRow;
    uint8_t planes[kPlanes][kScreenCells];
};

std::unique_ptr<WysePage[]> pages;
int currentPage = 0;

uint8_t* const* ScreenPlanes(SettingsRecord& rec, uint8_t* (&out)[kPlanes])
{
    out[0] = rec.CharsScreen;
    out[1] = rec.FgScreen;
    out[2] = rec.BgScreen;
    out[3] = rec.FlagsScreen;
    out[4] = rec.ProtectionPlane;
    return out;
}

void MakeFresh(const SettingsRecord& rec, WysePage& page)
{
    page.cursorCol = 0;
    page.cursorRow = 0;
    std::memset(page.planes[0], ' ', kScreenCells);
    std::memset(page.planes[1], rec.NormalFg, kScreenCells);
    std::memset(page.planes[2], rec.NormalBg, kScreenCells);
    std::memset(page.planes[3], 0, kScreenCells);
    std::memset(page.planes[4], 0, kScreenCells);
}

// The pages, allocated and made fresh at the first use; null when there is no memory for them.
WysePage* Pages(const SettingsRecord& rec)
{
    if (!pages) {
        pages.reset(new (std::nothrow) WysePage[kPages]);
        if (!pages) return nullptr;
        for (int i = 0; i < kPages; ++i) MakeFresh(rec, pages[i]);
        currentPage = 0;
    }
    return pages.get();
}

void SavePage(SettingsRecord& rec, WysePage& page)
{
    uint8_t* planes[kPlanes];
    ScreenPlanes(rec, planes);
    for (int i = 0; i < kPlanes; ++i)
        if (planes[i]) std::memcpy(page.planes[i], planes[i], kScreenCells);
    page.cursorCol = rec.CursorCol;
    page.cursorRow = rec.CursorRow;
}

void LoadPage(SettingsRecord& rec, const WysePage& page, DirtyRect& dirty)
{
    uint8_t* planes[kPlanes];
    ScreenPlanes(rec, planes);
    for (int i = 0; i < kPlanes; ++i)
        if (planes[i]) std::memcpy(planes[i], page.planes[i], kScreenCells);
    PlanesRewritten(rec);
    // The screen may have changed its size since the page was saved.
    rec.CursorCol = ClampInt(page.cursorCol, 0, LastColumn(rec));
    rec.CursorRow = ClampInt(page.cursorRow, 0, LastRow(rec));
    DirtyScreen(rec, dirty);
}

}  // namespace

int CurrentWysePage() { return currentPage; }

void WyseSelectPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty, int page)
{
    (void)window;
    WysePage* all = Pages(rec);
    if (!all || page < 0 || page >= kPages) return;
    char text[] = "Page 0";
    text[5] = static_cast<char>('0' + page);
    View().SetStatusPane(text, kStatusPagePane, kPageTextColor, kPageBackColor);
    if (page == currentPage) return;
    SavePage(rec, all[currentPage]);
    currentPage = page;
    LoadPage(rec, all[page], dirty);
}

void WyseNextPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (!Pages(rec)) return;
    WyseSelectPage(window, rec, dirty, currentPage < kPages - 1 ? currentPage + 1 : currentPage);
}

void WysePreviousPage(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    if (!Pages(rec)) return;
    WyseSelectPage(window, rec, dirty, currentPage > 0 ? currentPage - 1 : 0);
}

void WyseResetPages(ViewWindow window, SettingsRecord& rec, DirtyRect& dirty)
{
    (void)window;
    WysePage* all = Pages(rec);
    if (!all) return;
    for (int i = 0; i < kPages; ++i) MakeFresh(rec, all[i]);
    LoadPage(rec, all[currentPage], dirty);
}

void FreeWysePageBuffer()
{
    pages.reset();
    currentPage = 0;
}
