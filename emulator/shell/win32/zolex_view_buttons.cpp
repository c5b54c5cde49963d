// The terminal view as the screen buttons' view (ButtonView): placement, painting and the
// dynamic hotspots.
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/dde/dde_commands.h"
#include "connections/telnet_engine.h"
#include "connections/transfer_libraries.h"
#include "connections/win32/win32_transfer_host.h"
#include "session/session_record.h"
#include "shell/win32/dyn_button_paint.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view_parts.h"

// ---------------------------------------------------------------------------------------------
// Screen buttons and dynamic hotspots.

ButtonGeometry CZolexView::Geometry()
{
    ButtonGeometry g;
    g.cellWidth = Rec->CellWidth;
    g.cellHeight = Rec->CellHeight;
    g.viewWidth = docSize_.cx;
    g.viewHeight = docSize_.cy;
    g.left = Rec->LeftMargin;
    g.top = Rec->TopMargin;
    g.right = Rec->RightMargin;
    g.bottom = Rec->BottomMargin;
    g.frameSize = Rec->FrameSize;
    g.scrollX = scrollX_;
    g.scrollY = scrollY_;
    return g;
}

void CZolexView::InvalidateButton(const ButtonRect& r)
{
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    if (window_) InvalidateRect(window_, &rect, TRUE);
}

void CZolexView::PaintButton(const DynButton& button)
{
    ButtonRect r = button.GetScreenRect(Geometry());
    if (paintDc_) {
        // The paint's DC is in document coordinates.
        r = {r.left + scrollX_, r.top + scrollY_, r.right + scrollX_, r.bottom + scrollY_};
        PaintDynButton(paintDc_, button, r);
        return;
    }
    if (!window_) return;
    HDC dc = GetDC(window_);
    PaintDynButton(dc, button, r);
    ReleaseDC(window_, dc);
}

void CZolexView::SetButtonsShown(int lowestMode, int kind)
{
    for (auto& entry : DynButtonMap)
        if (entry.second->placement >= lowestMode) entry.second->SetState(kind, *this);
}

// Buttons under the clip box: hotspot buttons go (the word scan makes them again where their word
// still is), the others are painted.
void CZolexView::PaintButtons(HDC dc, const RECT& clip)
{
    if (!Rec->EnableHotspots && !Rec->EnableDynamicHotspots) return;
    const ButtonGeometry g = Geometry();
    const ButtonRect area = {clip.left, clip.top, clip.right, clip.bottom};
    for (auto it = DynButtonMap.begin(); it != DynButtonMap.end();) {
        ButtonRect r = it->second->GetScreenRect(g);
        r = {r.left + scrollX_, r.top + scrollY_, r.right + scrollX_, r.bottom + scrollY_};
        // The frame's last pixels lie on the right and bottom coordinates.
        const ButtonRect drawn = {r.left, r.top, r.right + 1, r.bottom + 1};
        if (!drawn.Meets(area)) {
            ++it;
        } else if (it->second->isHotspot) {
            it = DynButtonMap.erase(it);
        } else {
            PaintDynButton(dc, *it->second, r);
            ++it;
        }
    }
}

void CZolexView::CreateDynamicHotspot(const HotspotWord& word)
{
    static int hotspotCount = 0;
    uint8_t& mark = Rec->FlagsScreen[word.row * Rec->MaxCols + word.first];
    const std::string action = HotspotEffectiveString(word.text);
    if (action.empty()) {
        // The word is no longer a hotspot: its button goes and its area is repainted.
        if (!(mark & kCellHotspot)) return;
        for (auto it = DynButtonMap.begin(); it != DynButtonMap.end();) {
            DynButton& b = *it->second;
            if (b.isHotspot && b.cellRect.col == word.first + 1 && b.cellRect.row == word.row + 1) {
                b.hotspotChanged = 1;
                it = DynButtonMap.erase(it);
            } else {
                ++it;
            }
        }
        return;
    }
    const HotspotButtonDefinition d = HotspotButton(*Rec, word, "MgX" + std::to_string(++hotspotCount), action);
    if (CreateDynButton(Window(), d.numbers, 12, d.text.c_str(), 1)) mark |= kCellHotspot;
}
