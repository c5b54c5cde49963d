// See dyn_button_paint.h.
#include "shell/win32/dyn_button_paint.h"

#include <algorithm>

#include "session/session_record.h"
#include "shell/win32/image_file.h"
#include "shell/view_layout.h"

namespace {

COLORREF Palette(int index) { return static_cast<COLORREF>(Rec->ColorPalette[std::clamp(index, 0, kColorIndices - 1)]); }

// `depth` rings, each one pixel inside the last: right and bottom edges with the first pen, left
// and top edges with the second. Style 2 is raised (dark first), any other sunken; 0 draws none.
void DrawButtonFrame(HDC dc, const ButtonRect& r, int style, int depth)
{
    if (style == 0) return;
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    HPEN dark = CreatePen(PS_SOLID, 1, Palette(DarkEdgeIndex(eraseBg)));
    HPEN light = CreatePen(PS_SOLID, 1, Palette(LightEdgeIndex(eraseBg)));
    HPEN first = style == 2 ? dark : light;
    HPEN second = style == 2 ? light : dark;
    HGDIOBJ old = SelectObject(dc, first);
    for (int i = 0; i < depth; ++i) {
        const int l = r.left + i, t = r.top + i, rt = r.right - i, b = r.bottom - i;
        SelectObject(dc, first);
        MoveToEx(dc, rt, t, nullptr);
        LineTo(dc, rt, b);
        LineTo(dc, l, b);
        SelectObject(dc, second);
        LineTo(dc, l, t);
        LineTo(dc, rt, t);
    }
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

}  // namespace

void PaintDynButton(HDC dc, const DynButton& b, const ButtonRect& r)
{
    if (b.hidden || (r.right - r.left <= 2 && r.bottom - r.top <= 2)) return;
    const auto* image = dynamic_cast<const ImageFile*>(b.image.get());
    if (!b.text.empty() || image) {
        HBRUSH face = CreateSolidBrush(b.faceColor);
        const RECT all = {r.left, r.top, r.right, r.bottom};
        FillRect(dc, &all, face);
        DeleteObject(face);
    }
    RECT inner = {r.left + b.boxDepth, r.top + b.boxDepth, r.right - b.boxDepth, r.bottom - b.boxDepth};
    if (image) {
        // Centred; with a text, centred in the room above a line of text.
        const int innerWidth = inner.right - inner.left, innerHeight = inner.bottom - inner.top;
        const int x = inner.left + (innerWidth - image->Width()) / 2;
        int y = b.text.empty() ? (innerHeight - image->Height()) / 2
                               : std::max((innerHeight - Rec->CellHeight - image->Height()) / 2, 0);
        image->Draw(dc, x, inner.top + y);
    }
    if (!b.text.empty()) {
        const COLORREF oldText = SetTextColor(dc, b.textColor);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
        const UINT place = image ? DT_BOTTOM : DT_VCENTER;
        DrawTextA(dc, b.text.c_str(), static_cast<int>(b.text.size()), &inner, DT_CENTER | DT_SINGLELINE | place);
        SelectObject(dc, oldFont);
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldText);
    }
    const int style = b.pressState == 1 ? (b.boxType == 1 ? 0 : 1) : b.boxType;
    DrawButtonFrame(dc, r, style, b.boxDepth);
}
