// The terminal view's caret and painting: the cells under the clip box, line graphics, underlines,
// boxes, the frame and the selection.
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <commdlg.h>

#include "connections/dde/dde_commands.h"
#include "connections/telnet_engine.h"
#include "connections/transfer_libraries.h"
#include "engine/colors.h"
#include "engine/ibm3270/cell_look.h"
#include "engine/ibm3270/tn3270_state.h"
#include "engine/view_port.h"
#include "engine/win32/win32_view_port.h"
#include "session/session_record.h"
#include "shell/view_selection.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view_parts.h"

// The view's logical palette, made once per process on displays of 256 colours or fewer (a
// display of more colours needs none).
HPALETTE ScreenPalette = nullptr;

void MakeScreenPalette(HDC dc)
{
    const int bits = (GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES)) % 32;
    if ((1u << bits) <= 16) return;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } palette{0x300, 256, {}};
    int red = 0, green = 0, blue = 0;
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY& p = palette.entries[i];
        if (i < 10) {
            p.peRed = p.peGreen = p.peBlue = static_cast<BYTE>(i * 25);
            continue;
        }
        p.peRed = static_cast<BYTE>(red);
        p.peGreen = static_cast<BYTE>(green);
        p.peBlue = static_cast<BYTE>(blue);
        red += 32;
        if (red > 224) {
            red = 0;
            green += 32;
            if (green > 224) {
                green = 0;
                blue = (blue + 80) % 320;
            }
        }
    }
    ScreenPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
}


COLORREF PaletteColor(int index) { return static_cast<COLORREF>(Rec->ColorPalette[std::clamp(index, 0, kColorIndices - 1)]); }

namespace {

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The two edge colours of underlines and boxes, which avoid the colour of `avoid`.
COLORREF DarkEdge(int avoid) { return PaletteColor(DarkEdgeIndex(avoid)); }
COLORREF LightEdge(int avoid) { return PaletteColor(LightEdgeIndex(avoid)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Caret.

void CZolexView::OnSetFocus()
{
    Rec->ViewHasFocus = 1;
    if ((Rec->Connected || Rec->PlaybackState) && !(Rec->CursorFlags & kCaretExists) &&
        (Rec->CursorFlags & kCursorShown)) {
        Rec->CaretOffsetY = 0;
        if (Rec->CursorStyle == 0) CreateCaret(window_, nullptr, Rec->CellWidth - 1, Rec->CellHeight);
        else if (Rec->CursorStyle == 1) CreateCaret(window_, nullptr, 2, Rec->CellHeight);
        else {
            CreateCaret(window_, nullptr, Rec->CellWidth, 2);
            Rec->CaretOffsetY = Rec->CellHeight - 2;
        }
        ShowCaret(window_);
        Rec->CursorFlags |= kCaretExists;
    }
    UpdateCaretPos();
}

void CZolexView::OnKillFocus()
{
    Rec->ViewHasFocus = 0;
    if (Rec->CursorFlags & kCaretExists) {
        HideCaret(window_);
        DestroyCaret();
        Rec->CursorFlags &= ~kCaretExists;
    }
}

void CZolexView::UpdateCaretPos()
{
    if (!Rec->ViewHasFocus) return;
    if (Rec->CursorFlags & kCaretRecreate) {
        Rec->CursorFlags &= ~kCaretRecreate;
        OnKillFocus();
        OnSetFocus();
        return;
    }
    Rec->ScrollPosX = scrollX_;
    Rec->ScrollPosY = scrollY_ - (Rec->HistoryView ? Rec->HistoryRowsAlloc * Rec->CellHeight : 0);
    if (!Rec->PlaybackState && (!Rec->Connected || !(Rec->CursorFlags & kCaretExists))) return;
    int y = Rec->TopMargin + Rec->CaretOffsetY + Rec->CursorRow * Rec->CellHeight - scrollY_;
    if (Rec->HistoryView) y += Rec->HistoryRowsAlloc * Rec->CellHeight;
    SetCaretPos(Rec->CursorCol * Rec->CellWidth + Rec->LeftMargin - scrollX_, y);
}

// ---------------------------------------------------------------------------------------------
// Painting.

RECT CZolexView::CellsToPixels(int firstCol, int lastCol, int row) const
{
    RECT r;
    r.left = firstCol * Rec->CellWidth + Rec->LeftMargin;
    r.right = (lastCol + 1) * Rec->CellWidth + Rec->LeftMargin;
    r.top = row * Rec->CellHeight + Rec->TopMargin;
    r.bottom = r.top + Rec->CellHeight - 1;  // the last pixel row of the cell row
    return r;
}

// The planes a paint reads: the visible screen or, in history view, the history rows followed by
// the screen; in 3270 mode the buffer through the field model.
struct CZolexView::RowPlanes {
    bool mode3270 = false;
    int cols = 0;  // columns painted per row
    const uint8_t *chars = nullptr, *fg = nullptr, *bg = nullptr, *flags = nullptr;
};

int CZolexView::PaintScreen(HDC dc)
{
    const bool mode3270 = Rec->TerminalFamily3270 != 0;
    const bool history = Rec->HistoryView != 0 && !mode3270;
    RowPlanes planes;
    planes.mode3270 = mode3270;
    planes.cols = Rec->MaxCols;
    planes.chars = history ? Rec->CharsBase : Rec->CharsScreen;
    planes.fg = history ? Rec->FgBase : Rec->FgScreen;
    planes.bg = history ? Rec->BgBase : Rec->BgScreen;
    planes.flags = history ? Rec->FlagsBase : Rec->FlagsScreen;
    int rows = history ? Rec->HistoryCells / std::max(planes.cols, 1) + Rec->MaxRows : Rec->MaxRows;
    if (mode3270) {
        // The 3270 buffer may be smaller than the screen (and never larger is painted).
        rows = std::min(rows, Tn3270State.Rows3270);
        planes.cols = std::min(planes.cols, Tn3270State.Columns3270);
    }
    const int rowOffset = history ? Rec->HistoryRowsAlloc : 0;
    if (Rec->UsePalette && ScreenPalette) {
        SelectPalette(dc, ScreenPalette, FALSE);
        RealizePalette(dc);
    }
    if (Rec->ScreenFrozen || !planes.chars || planes.cols <= 0) return 1;

    HGDIOBJ oldFont = screenFont_ ? SelectObject(dc, screenFont_) : nullptr;
    fontBeforeBold_ = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    lastRunFlags_ = -1;
    RECT clip;
    GetClipBox(dc, &clip);
    const CellSpan span = CellsInClip(clip.left, clip.top, clip.right, clip.bottom, std::max(rows, 0), planes.cols,
                                      Margins(), Rec->CellWidth, Rec->CellHeight);
    bool boxInvalidated = false;
    for (int row = span.firstRow; row <= span.lastRow; ++row) PaintRow(dc, row, rowOffset, span, planes, boxInvalidated);
    boxRepaintPending_ = boxInvalidated;

    const GridMargins m = Margins();
    const int gridRight = m.left + Rec->MaxCols * Rec->CellWidth;
    // In history view the history rows stand above the screen in the document.
    const int historyHeight = rowOffset * Rec->CellHeight;
    const int gridBottom = m.top + Rec->MaxRows * Rec->CellHeight + historyHeight;
    if (clip.left < m.left || clip.top < m.top || clip.right > gridRight || clip.bottom > gridBottom) {
        const RECT document = {0, 0, std::max(docSize_.cx, static_cast<LONG>(gridRight + m.right)),
                               std::max(docSize_.cy + historyHeight, static_cast<LONG>(gridBottom + m.bottom))};
        DrawFrame(dc, document);
        if (logo_ && ShowLogoImage && m.top >= logo_->Height())
            logo_->DrawTransparent(dc, document.right / 2 - logo_->Width() / 2, 0, RGB(255, 255, 255));
        PaintBeyondDocument(dc, document);
    }
    paintDc_ = dc;
    if (!history) PaintButtons(dc, clip);
    if (!history && Rec->EnableDynamicHotspots)
        for (const HotspotWord& word : FindHotspotWords(*Rec, span)) CreateDynamicHotspot(word);
    paintDc_ = nullptr;
    PaintSelection(dc);

    if (oldFont) SelectObject(dc, oldFont);
    else SelectObject(dc, fontBeforeBold_);
    UpdateCaretPos();
    if (boldFont_) {
        DeleteObject(boldFont_);
        boldFont_ = nullptr;
    }
    return 1;
}

void CZolexView::PaintRow(HDC dc, int row, int rowOffset, const CellSpan& span, const RowPlanes& planes,
                          bool& boxInvalidated)
{
    const bool boxes = Rec->BoxEnable != 0;
    const int32_t* fgMap = boxes ? (planes.mode3270 ? Rec->BoxMap3270Fg : Rec->BoxMapFg) : nullptr;
    const int32_t* bgMap = boxes ? (planes.mode3270 ? Rec->BoxMap3270Bg : Rec->BoxMapBg) : nullptr;
    const int normalBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    const int lastCol = std::min(span.lastCol, planes.cols - 1);
    const std::size_t at = static_cast<std::size_t>(row) * planes.cols;
    const int address = static_cast<int>(at);  // 3270: the buffer address of column 0
    const uint8_t* fg = planes.fg + at;
    const uint8_t* bg = planes.bg + at;
    const uint8_t* flags = planes.flags + at;
    // The colours of a cell before box colours (used for the box neighbours).
    auto cellColors = [&](int c, int& f, int& b) {
        if (planes.mode3270) {
            const Look3270 look = CellLook3270(std::max(address + c, 0));
            f = look.fg;
            b = look.bg;
        } else {
            f = fg[c];
            b = bg[c];
        }
    };
    char text[kScreenCells];
    for (int col = span.firstCol; col <= lastCol;) {
        int length = 0, cellFg = 0, cellBg = 0;
        uint8_t cellFlags = 0;
        if (planes.mode3270) {
            const Look3270 look = CellLook3270(address + col);
            length = RunLength3270(address + col, address + lastCol);
            cellFg = look.fg;
            cellBg = look.bg;
            cellFlags = look.flags;
            for (int i = 0; i < length; ++i) text[i] = CellText3270(address + col + i);
        } else {
            length = CellRunLength(fg, bg, flags, col, lastCol);
            cellFg = fg[col];
            cellBg = bg[col];
            cellFlags = flags[col];
            std::memcpy(text, planes.chars + at + col, static_cast<std::size_t>(length));
        }
        const int last = col + length - 1;
        const RunColors colors = ColorsOfCell(cellFg, cellBg, fgMap, bgMap, normalBg);
        SetBkColor(dc, PaletteColor(colors.bg));
        SetTextColor(dc, PaletteColor(colors.fg));
        const RECT cells = CellsToPixels(col, last, row);

        // True bold: a bold copy of the screen font, made once per paint.
        if (cellFlags != lastRunFlags_) {
            if (cellFlags & kCellBold) {
                if (!boldFont_) {
                    LOGFONTA lf;
                    std::memcpy(&lf, &Rec->CurrentFont, sizeof lf);
                    lf.lfWeight = FW_BOLD;
                    lf.lfUnderline = 0;
                    boldFont_ = CreateFontIndirectA(&lf);
                }
                if (boldFont_) SelectObject(dc, boldFont_);
            } else {
                SelectObject(dc, screenFont_ ? screenFont_ : fontBeforeBold_);
            }
            lastRunFlags_ = cellFlags;
        }
        SetBkMode(dc, OPAQUE);
        if (cellFlags & kCellLineDrawing) {
            for (int c = col; c <= last; ++c)
                DrawLineGraphics(dc, CellsToPixels(c, c, row), static_cast<uint8_t>(text[c - col]));
        } else {
            DrawRunText(dc, cellFlags, col, row, text, length);
        }
        if (cellFlags & kCellUnderline) DrawTrueUnderline(dc, cells);
        if (colors.boxKind) {
            int nf = 0, nb = 0;
            int leftKind = 255, rightKind = 255;
            if (col > 0) {
                cellColors(col - 1, nf, nb);
                leftKind = BoxKindOf(nf, nb, fgMap, bgMap, colors.kindFromFg);
            }
            if (last < planes.cols - 1) {
                cellColors(last + 1, nf, nb);
                rightKind = BoxKindOf(nf, nb, fgMap, bgMap, colors.kindFromFg);
            }
            DrawBoxEdges(dc, cells, leftKind != colors.boxKind, rightKind != colors.boxKind, colors.boxKind);
            // A box continued from the left is painted once more whole, unless the previous paint
            // already asked for that.
            if (leftKind == colors.boxKind && !boxRepaintPending_ && window_) {
                RECT again = cells;
                OffsetRect(&again, -scrollX_, -scrollY_);
                again.left += 1;
                again.bottom += 1;
                InvalidateRect(window_, &again, FALSE);
                boxInvalidated = true;
            }
        }
        col = last + 1;
    }
    (void)rowOffset;
}

// The run's cells, filled with the background and each character drawn at its own cell: the
// font's advance never moves a glyph off its cell, and nothing drawn earlier survives in it.
void CZolexView::DrawRunText(HDC dc, uint8_t cellFlags, int col, int row, const char* text, int length)
{
    RECT cells = CellsToPixels(col, col + length - 1, row);
    cells.bottom += 1;
    std::vector<INT> advances(static_cast<std::size_t>(std::max(length, 1)), Rec->CellWidth);
    const UINT options = ETO_OPAQUE | ETO_CLIPPED;
    if (cellFlags & (kCellDoubleWidth | kCellDoubleTop)) {
        // Double-size lines are drawn as shadowed text, not enlarged.
        const COLORREF textColor = GetTextColor(dc);
        SetTextColor(dc, PaletteColor(19));
        ExtTextOutA(dc, cells.left, cells.top, options, &cells, text, static_cast<UINT>(length), advances.data());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColor);
        ExtTextOutA(dc, cells.left + 1, cells.top + 1, ETO_CLIPPED, &cells, text, static_cast<UINT>(length),
                    advances.data());
    } else {
        ExtTextOutA(dc, cells.left, cells.top, options, &cells, text, static_cast<UINT>(length), advances.data());
    }
}

void CZolexView::DrawLineGraphics(HDC dc, const RECT& cell, uint8_t character)
{
    const LineGlyph& g = FindLineGlyph(character);
    const COLORREF text = GetTextColor(dc);
    const char glyph = static_cast<char>(g.glyph);
    RECT whole = cell;
    whole.bottom += 1;
    INT advance = Rec->CellWidth;
    ExtTextOutA(dc, whole.left, whole.top, ETO_OPAQUE | ETO_CLIPPED, &whole, &glyph, 1, &advance);
    HPEN textPen = CreatePen(PS_SOLID, 1, text);
    HPEN white = CreatePen(PS_SOLID, 1, 0x02FFFFFF);
    HPEN grey = CreatePen(PS_SOLID, 1, 0x02808080);
    HGDIOBJ oldPen = SelectObject(dc, textPen);
    const int w = Rec->CellWidth, h = Rec->CellHeight;
    for (const auto& s : g.segments) {
        if (s[0] < 0) break;
        const int x1 = s[0] * w / 10 + cell.left, y1 = s[1] * h / 10 + cell.top;
        const int x2 = s[2] * w / 10 + cell.left, y2 = s[3] * h / 10 + cell.top;
        if (g.fill == 0) {
            if (Rec->LineGraphics3D) {
                SelectObject(dc, white);
                Line(dc, x1, y1, x2, y2);
                SelectObject(dc, grey);
                Line(dc, x1 - 1, y1 - 1, x2 - 1, y2 - 1);
            } else {
                SelectObject(dc, textPen);
                Line(dc, x1, y1, x2, y2);
            }
        } else {
            HBRUSH brush = g.fill < 10 ? CreateSolidBrush(text) : CreateHatchBrush(g.fill - 10, text);
            const RECT r = {x1, y1, x2, y2};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(textPen);
    DeleteObject(white);
    DeleteObject(grey);
    SetTextColor(dc, text);
}

void CZolexView::DrawTrueUnderline(HDC dc, const RECT& cells)
{
    // The erase background colour is the normal background of the screen.
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(eraseBg));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(eraseBg));
    HGDIOBJ old = SelectObject(dc, dark);
    Line(dc, cells.left, cells.bottom, cells.right, cells.bottom);
    SelectObject(dc, light);
    Line(dc, cells.left, cells.bottom - 1, cells.right, cells.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

void CZolexView::DrawBoxEdges(HDC dc, RECT r, bool leftEdge, bool rightEdge, int kind)
{
    if (rightEdge) r.right -= 1;
    if (!leftEdge) r.left -= 1;
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(eraseBg));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(eraseBg));
    HPEN first = kind == 2 ? dark : light;
    HPEN second = kind == 2 ? light : dark;
    HGDIOBJ old = SelectObject(dc, first);
    if (rightEdge) Line(dc, r.right, r.top, r.right, r.bottom);
    Line(dc, r.right, r.bottom, r.left, r.bottom);
    SelectObject(dc, second);
    if (leftEdge) Line(dc, r.left, r.bottom, r.left, r.top);
    Line(dc, r.left, r.top, r.right, r.top);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

void CZolexView::DrawFrame(HDC dc, RECT r)
{
    const int a = Rec->FrameSize;
    const int b = Rec->LeftMargin, c = Rec->TopMargin, d = Rec->RightMargin, e = Rec->BottomMargin;
    const int frameFg = Rec->AttrColors[kAttrFrame][kAttrFg];
    const int frameBg = Rec->AttrColors[kAttrFrame][kAttrBg];
    // The strips beyond the frame's band (a maximised frame's spare) in the frame background.
    if (b > a || c > a || d > a || e > a) {
        HBRUSH brush = CreateSolidBrush(PaletteColor(frameBg));
        const int top = std::max(0, c - a), bottom = std::max(0, e - a);
        const int left = std::max(0, b - a), right = std::max(0, d - a);
        RECT s = {r.left, r.top, r.right, r.top + top};
        FillRect(dc, &s, brush);
        s = {r.left, r.bottom - bottom, r.right, r.bottom};
        FillRect(dc, &s, brush);
        s = {r.left, r.top + top, r.left + left, r.bottom - bottom};
        FillRect(dc, &s, brush);
        s = {r.right - right, r.top + top, r.right, r.bottom - bottom};
        FillRect(dc, &s, brush);
        DeleteObject(brush);
    }
    // The band around the grid in the frame colour.
    if (b || c || d || e) {
        RECT band = {r.left + std::max(0, b - a), r.top + std::max(0, c - a), r.right - std::max(0, d - a),
                     r.bottom - std::max(0, e - a)};
        HBRUSH brush = CreateSolidBrush(PaletteColor(frameFg));
        const int across = std::min(b, a), down = std::min(c, a);
        RECT s = {band.left, band.top, band.right, band.top + down};
        FillRect(dc, &s, brush);
        s = {band.left, band.bottom - down, band.right, band.bottom};
        FillRect(dc, &s, brush);
        s = {band.left, band.top, band.left + across, band.bottom};
        FillRect(dc, &s, brush);
        s = {band.right - across, band.top, band.right, band.bottom};
        FillRect(dc, &s, brush);
        DeleteObject(brush);
    }
    if (a > b && a > c) return;

    // 3-D edges: raised at the band's outer edge, sunk at its inner edge.
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HPEN light = CreatePen(PS_SOLID, 1, LightEdge(frameFg));
    HPEN dark = CreatePen(PS_SOLID, 1, DarkEdge(frameFg));
    HGDIOBJ oldPen = SelectObject(dc, black);
    RECT o = r;
    o.top += c - a;
    o.bottom += a - e;
    o.left += b - a;
    o.right += a - d;
    const bool right = d >= a, bottom = e >= a, left = b >= a, top = c >= a;
    if (right) Line(dc, o.right - 1, o.top, o.right - 1, o.bottom);
    if (bottom) Line(dc, o.left, o.bottom - 1, o.right, o.bottom - 1);
    SelectObject(dc, light);
    if (left) Line(dc, o.left, o.top, o.left, o.bottom - 1);
    if (top) Line(dc, o.left, o.top, o.right - 1, o.top);
    SelectObject(dc, dark);
    if (right) Line(dc, o.right - 2, o.top + 1, o.right - 2, o.bottom - 1);
    if (bottom) Line(dc, o.left + 1, o.bottom - 2, o.right - 1, o.bottom - 2);
    RECT in = o;
    const int lead = a > 0 ? a - 1 : a;
    in.top += lead;
    in.left += lead;
    in.bottom -= a;
    in.right -= a;
    SelectObject(dc, light);
    if (right) Line(dc, in.right, in.top, in.right, in.bottom + 1);
    if (bottom) Line(dc, in.left, in.bottom, in.right + 1, in.bottom);
    SelectObject(dc, dark);
    if (left) Line(dc, in.left, in.top, in.left, in.bottom);
    if (top) Line(dc, in.left, in.top, in.right, in.top);
    SelectObject(dc, oldPen);
    DeleteObject(black);
    DeleteObject(light);
    DeleteObject(dark);
}

// The part of the client area right of and below the document (a window larger than the grid
// and its frame) in the frame's background colour.
void CZolexView::PaintBeyondDocument(HDC dc, const RECT& document)
{
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    OffsetRect(&client, scrollX_, scrollY_);
    HBRUSH brush = CreateSolidBrush(PaletteColor(Rec->AttrColors[kAttrFrame][kAttrBg]));
    if (client.right > document.right) {
        const RECT right = {document.right, client.top, client.right, client.bottom};
        FillRect(dc, &right, brush);
    }
    if (client.bottom > document.bottom) {
        const RECT below = {client.left, document.bottom, std::min(client.right, document.right), client.bottom};
        FillRect(dc, &below, brush);
    }
    DeleteObject(brush);
}

void CZolexView::DrawSelectionFrame(HDC dc, RECT r)
{
    HPEN grey = CreatePen(PS_DOT, 1, 0x02808080);
    HPEN lightGrey = CreatePen(PS_DOT, 1, 0x02C0C0C0);
    const int oldMode = SetBkMode(dc, OPAQUE);
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, grey);
    Line(dc, r.right, r.top, r.right, r.bottom);
    Line(dc, r.right, r.bottom, r.left, r.bottom);
    SetBkColor(dc, PaletteColor(19));
    SelectObject(dc, lightGrey);
    Line(dc, r.left, r.bottom, r.left, r.top);
    Line(dc, r.left, r.top, r.right, r.top);
    SelectObject(dc, oldPen);
    SetBkColor(dc, oldBack);
    SetBkMode(dc, oldMode);
    DeleteObject(grey);
    DeleteObject(lightGrey);
}

void CZolexView::PaintSelection(HDC dc)
{
    // What is painted now is what a drag compares its next rectangle with.
    PaintedSelection = Selection;
    if (Selection.IsEmpty()) return;
    const int rowOffset = Rec->HistoryView && !Rec->TerminalFamily3270 ? Rec->HistoryRowsAlloc : 0;
    const PixelRect p = CellRectToPixels(Selection, rowOffset, Margins(), Rec->CellWidth, Rec->CellHeight);
    // The selected cells are shown highlighted (inverted) inside the frame; the paint that
    // follows a change repaints the cells first, so no inversion is ever applied twice.
    const RECT cells = {p.left, p.top, p.right, p.bottom + 1};
    InvertRect(dc, &cells);
    DrawSelectionFrame(dc, RECT{p.left, p.top, p.right - 1, p.bottom});
    if (window_) SetStatusPane(SelectionStatusText(Selection).c_str(), 2, 0x800000, 0xC0C0C0);
}
