// The terminal view paints what the planes say: the test fills the screen planes, lets the view
// paint into a bitmap and reads pixels at cell centres and on glyph strokes, 80 and 132 columns.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/host_commands/host_commands.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/ibm3270/tn3270_state.h"
#include "engine/ibm3270/view_hooks.h"
#include "engine/screen_planes.h"
#include "engine/win32/win32_3270_hooks.h"
#include "engine/win32/win32_view_port.h"
#include "shell/record_defaults.h"
#include "session/session_record.h"
#include "session/translate_tables.h"
#include "shell/dyn_buttons.h"
#include "shell/dyn_hotspots.h"
#include "shell/hotspot_table.h"
#include "shell/view_selection.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view.h"

namespace {

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

COLORREF Rgb(int index) { return Rec->ColorPalette[index] & 0xFFFFFF; }

class ViewPaint : public testing::TestWithParam<int> {
protected:
    void SetUp() override { SetUpColumns(GetParam()); }
    void SetUpColumns(int columns)
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Selection = PaintedSelection = CellRect{};
        ASSERT_TRUE(SetRecordDefaults(*Rec, true, false, AllocScreenBuffers, SessionTranslateTables));
        ASSERT_EQ(columns, SetColumns(*Rec, columns));
        Rec->FrameSize = 3;
        Rec->BoxEnable = 0;  // the box colours are checked natively
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TolviViewPaintParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, wc.lpszClassName, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, parent) << GetLastError();
        ASSERT_NE(nullptr, view.Create(parent, 0xE900));
        screen = CreateCompatibleDC(nullptr);
        HDC probe = GetDC(nullptr);
        ASSERT_EQ(1, view.ResetTTYScreen(screen));
        ReleaseDC(nullptr, probe);
    }
    void TearDown() override
    {
        if (bitmap) DeleteObject(bitmap);
        DeleteDC(screen);
        DestroyWindow(parent);
        FreeScreenBuffers(*Rec);
        Selection = PaintedSelection = CellRect{};
    }
    // The pixel at document coordinates.
    COLORREF Pixel(int x, int y) { return GetPixel(screen, x, y) & 0xFFFFFF; }
    void Put(int row, int col, const char* text, int fg, int bg, uint8_t flags = 0)
    {
        for (int i = 0; text[i]; ++i) {
            const int at = row * Rec->MaxCols + col + i;
            Rec->CharsScreen[at] = static_cast<uint8_t>(text[i]);
            Rec->FgScreen[at] = static_cast<uint8_t>(fg);
            Rec->BgScreen[at] = static_cast<uint8_t>(bg);
            Rec->FlagsScreen[at] = flags;
        }
    }
    // Paints over a bitmap of `size` (the document's when empty) filled with magenta, which no
    // pixel may keep.
    void Paint(SIZE size = {0, 0})
    {
        if (size.cx == 0) size = view.DocumentSize();
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = size.cx;
        bi.bmiHeader.biHeight = -size.cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(nullptr, bitmap);
        SelectObject(screen, bitmap);
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        const RECT all = {0, 0, size.cx, size.cy};
        FillRect(screen, &all, magenta);
        DeleteObject(magenta);
        ASSERT_EQ(1, view.PaintScreen(screen));
    }
    // Pixel at a point of a cell given in tenths of the cell.
    COLORREF At(int row, int col, int xTenths, int yTenths)
    {
        const int x = Rec->LeftMargin + col * Rec->CellWidth + xTenths * Rec->CellWidth / 10;
        const int y = Rec->TopMargin + row * Rec->CellHeight + yTenths * Rec->CellHeight / 10;
        return GetPixel(screen, x, y) & 0xFFFFFF;
    }
    int CountInCell(int row, int col, COLORREF color)
    {
        int n = 0;
        for (int y = 0; y < Rec->CellHeight; ++y)
            for (int x = 0; x < Rec->CellWidth; ++x)
                if ((GetPixel(screen, Rec->LeftMargin + col * Rec->CellWidth + x,
                              Rec->TopMargin + row * Rec->CellHeight + y) & 0xFFFFFF) == color)
                    ++n;
        return n;
    }

    // The pixels of a cell, row by row.
    std::vector<COLORREF> CellPicture(int row, int col)
    {
        std::vector<COLORREF> picture;
        for (int y = 0; y < Rec->CellHeight; ++y)
            for (int x = 0; x < Rec->CellWidth; ++x)
                picture.push_back(GetPixel(screen, Rec->LeftMargin + col * Rec->CellWidth + x,
                                           Rec->TopMargin + row * Rec->CellHeight + y) & 0xFFFFFF);
        return picture;
    }
    // How many pixels of the area (0, 0, width, height) are still the magenta of Paint().
    int Unpainted(int width, int height)
    {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) n += Pixel(x, y) == RGB(255, 0, 255);
        return n;
    }

    HWND parent = nullptr;
    CZolexView view{nullptr};
    HDC screen = nullptr;
    HBITMAP bitmap = nullptr;
};

TEST_P(ViewPaint, CellsShowThePlanes)
{
    const int last = Rec->MaxCols - 1;
    ASSERT_GT(Rec->CellWidth, 2);
    ASSERT_GT(Rec->CellHeight, 4);
    Put(0, 0, "   ", 7, 4);                        // blue background
    Put(0, last - 1, "  ", 2, 5);                  // up to the last column
    Put(1, 0, "MMMM", 15, 0);                      // text strokes in the foreground colour
    Put(2, 0, "qqq", 14, 0, kCellLineDrawing);     // horizontal line through the middle
    Put(2, 4, "x", 14, 0, kCellLineDrawing);       // vertical line
    Put(2, 6, "a", 12, 0, kCellLineDrawing);       // solid block
    Put(3, 0, "    ", 7, 0, kCellUnderline);       // true underline at the cell bottom
    Put(4, 0, " MM", 9, 3, kCellDoubleWidth);      // shadowed double-size text
    Put(5, 0, "q", 14, 0, kCellLineDrawing);       // 3-D: white line with a grey one above it
    Put(Rec->MaxRows - 1, 0, " ", 7, 6);
    Rec->LineGraphics3D = 0;
    Paint();

    EXPECT_EQ(Rgb(4), At(0, 1, 5, 5));
    EXPECT_EQ(Rgb(5), At(0, last, 5, 5));
    EXPECT_EQ(Rgb(6), At(Rec->MaxRows - 1, 0, 5, 5));
    EXPECT_GT(CountInCell(1, 1, Rgb(15)), 2);
    EXPECT_EQ(Rgb(0), At(1, 1, 0, 0));
    EXPECT_EQ(Rgb(14), At(2, 1, 2, 5));
    EXPECT_EQ(Rgb(14), At(2, 1, 8, 5));
    EXPECT_EQ(Rgb(0), At(2, 1, 5, 1));
    EXPECT_EQ(Rgb(14), At(2, 4, 5, 2));
    EXPECT_EQ(Rgb(12), At(2, 6, 3, 3));
    const COLORREF dark = Rgb(Rec->AttrColors[kAttrNormal][kAttrBg] == 12 ? 2 : 12);
    const int bottom = Rec->TopMargin + 4 * Rec->CellHeight - 1;
    EXPECT_EQ(dark, GetPixel(screen, Rec->LeftMargin + Rec->CellWidth, bottom) & 0xFFFFFF);
    EXPECT_EQ(Rgb(3), At(4, 0, 5, 5));
    EXPECT_GT(CountInCell(4, 1, Rgb(9)), 0);
    EXPECT_GT(CountInCell(4, 1, Rgb(19)), 0);  // the shadow
    Rec->LineGraphics3D = 1;
    view.PaintScreen(screen);
    const int middle = Rec->TopMargin + 5 * Rec->CellHeight + Rec->CellHeight / 2;
    const int x = Rec->LeftMargin + Rec->CellWidth / 2;
    EXPECT_EQ(0xFFFFFFu, GetPixel(screen, x, middle) & 0xFFFFFF);
    EXPECT_EQ(0x808080u, GetPixel(screen, x, middle - 1) & 0xFFFFFF);
    // The frame covers the margin; nothing is left unpainted there.
    EXPECT_NE(static_cast<COLORREF>(RGB(255, 0, 255)), GetPixel(screen, 1, 1) & 0xFFFFFF);
}

// Each character is drawn at its own cell whatever the font's advance: with cells wider and
// narrower than the glyphs, every 'M' of a run, plain or bold, is the same picture in its cell,
// and every pixel of the document is painted over.
TEST_P(ViewPaint, GlyphsStayInTheirCells)
{
    const int fontWidth = Rec->CellWidth;
    for (int extra : {5, -2}) {
        Rec->CellWidth = fontWidth + extra;
        view.RecalcFramesize(false);
        Put(1, 0, "MMMMMMMM", 15, 0);
        Put(2, 0, "MMMMMMMM", 15, 0, kCellBold);
        Put(2, 8, "M", 15, 4, kCellBold);
        Paint();
        for (int row : {1, 2}) {
            const std::vector<COLORREF> first = CellPicture(row, 1);
            EXPECT_GT(CountInCell(row, 1, Rgb(15)), 2) << extra;
            for (int col = 2; col < 7; ++col)
                EXPECT_TRUE(first == CellPicture(row, col)) << "cells " << extra << " px wider, row " << row << " col " << col;
        }
        EXPECT_EQ(0, CountInCell(1, 9, Rgb(15))) << extra;
        EXPECT_EQ(0, Unpainted(view.DocumentSize().cx, view.DocumentSize().cy)) << extra;
    }
}

// A view larger than the document: the strips right of it and below it are the frame's
// background, whatever was there before.
TEST_P(ViewPaint, AreaBeyondTheDocumentInTheFrameColour)
{
    const SIZE doc = view.DocumentSize();
    MoveWindow(view.Handle(), 0, 0, doc.cx + 60, doc.cy + 50, FALSE);
    ShowScrollBar(view.Handle(), SB_BOTH, FALSE);
    RECT client;
    GetClientRect(view.Handle(), &client);
    ASSERT_GT(client.right, doc.cx);
    ASSERT_GT(client.bottom, doc.cy);
    Paint({client.right, client.bottom});
    const COLORREF frameBg = Rgb(Rec->AttrColors[kAttrFrame][kAttrBg]);
    EXPECT_EQ(frameBg, Pixel(client.right - 1, 5));
    EXPECT_EQ(frameBg, Pixel(5, client.bottom - 1));
    EXPECT_EQ(frameBg, Pixel(client.right - 1, client.bottom - 1));
    EXPECT_EQ(0, Unpainted(client.right, client.bottom));
}

// The font dialog opens on the font the screen shows: a face that exists (the configured one may
// be substituted) at the size in use, which makes the same cells again.
TEST_P(ViewPaint, FontInUseMakesTheScreenFont)
{
    const LOGFONTA in = view.FontInUse();
    HFONT font = CreateFontIndirectA(&in);
    ASSERT_NE(nullptr, font);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm{};
    char face[LF_FACESIZE] = {};
    GetTextMetricsA(screen, &tm);
    GetTextFaceA(screen, sizeof face, face);
    SelectObject(screen, old);
    DeleteObject(font);
    EXPECT_STREQ(in.lfFaceName, face);
    EXPECT_EQ(Rec->CellWidth, tm.tmAveCharWidth);
    EXPECT_EQ(Rec->CellHeight, tm.tmHeight + tm.tmExternalLeading);
}

TEST_P(ViewPaint, FrozenScreenPaintsNothing)
{
    Rec->ScreenFrozen = 1;
    Put(0, 0, "  ", 7, 4);
    Paint();
    EXPECT_EQ(static_cast<COLORREF>(RGB(255, 0, 255)), At(0, 0, 5, 5));
}

// In history view the rows kept above the screen come first: history row 0 is painted at the top
// and the screen's first row below the history rows.
TEST_P(ViewPaint, HistoryRowsAreScrolledIntoView)
{
    FreeScreenBuffers(*Rec);
    Rec->HistoryRows = 5;
    ASSERT_EQ(1, AllocScreenBuffers(*Rec));
    ASSERT_GT(Rec->HistoryRowsAlloc, 0);
    const int rows = Rec->HistoryRowsAlloc;
    ASSERT_EQ(GetParam(), SetColumns(*Rec, GetParam()));
    for (int i = 0; i < 3; ++i) {
        Rec->CharsBase[i] = ' ';
        Rec->FgBase[i] = 7;
        Rec->BgBase[i] = 2;
    }
    Put(0, 0, "   ", 7, 5);
    Put(Rec->MaxRows - 1, 0, "   ", 7, 6);
    Rec->HistoryView = 1;
    // The whole document: the frame, the history rows and the screen below them.
    const SIZE doc = view.DocumentSize();
    Paint({doc.cx, doc.cy + rows * Rec->CellHeight});
    EXPECT_EQ(Rgb(2), At(0, 1, 5, 5));
    EXPECT_EQ(Rgb(5), At(rows, 1, 5, 5));
    EXPECT_EQ(Rgb(6), At(rows + Rec->MaxRows - 1, 1, 5, 5));  // the last row is not the frame's
    EXPECT_EQ(0, Unpainted(doc.cx, doc.cy + rows * Rec->CellHeight));
}

// The selection frame: dotted grey on black on the right and bottom, light grey on colour 19 on
// the left and top, around the selected cells; the status bar's third pane gives its place and
// size.
TEST_P(ViewPaint, SelectionFrameAroundTheCells)
{
    InitCommonControls();
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(0xE801), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, bar);
    int parts[] = {60, 120, 200, -1};
    SendMessageA(bar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    const int last = Rec->MaxCols - 1;
    Selection = CellRect{2, 1, 6, 3};
    Paint();
    const int left = Rec->LeftMargin + 2 * Rec->CellWidth;
    const int right = Rec->LeftMargin + 6 * Rec->CellWidth - 1;
    const int top = Rec->TopMargin + Rec->CellHeight;
    const int bottom = Rec->TopMargin + 3 * Rec->CellHeight - 1;
    int grey = 0, lightGrey = 0;
    for (int y = top + 1; y < bottom; ++y) {
        const COLORREF r = Pixel(right, y), l = Pixel(left, y);
        EXPECT_TRUE(r == 0x808080 || r == 0) << std::hex << r << " at row " << y;
        EXPECT_TRUE(l == 0xC0C0C0 || l == Rgb(19)) << std::hex << l << " at row " << y;
        grey += r == 0x808080;
        lightGrey += l == 0xC0C0C0;
    }
    EXPECT_GT(grey, 0);
    EXPECT_GT(lightGrey, 0);
    for (int x = left + 1; x < right; ++x) {
        const COLORREF b = Pixel(x, bottom), t = Pixel(x, top);
        EXPECT_TRUE(b == 0x808080 || b == 0) << std::hex << b;
        EXPECT_TRUE(t == 0xC0C0C0 || t == Rgb(19)) << std::hex << t;
    }
    // Inside the frame the cells are highlighted (inverted); outside it they are untouched.
    EXPECT_EQ(Rgb(Rec->BgScreen[Rec->MaxCols + 3]) ^ 0xFFFFFFu, At(1, 3, 5, 5));
    EXPECT_EQ(Rgb(Rec->BgScreen[Rec->MaxCols + 7]), At(1, 7, 5, 5));
    EXPECT_NE(0x808080u, Pixel(right + 2, top + 2));
    EXPECT_TRUE(PaintedSelection == Selection);
    char text[64] = {};
    SendMessageA(bar, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("3:2 4/2", text);
    // A selection up to the last column stays inside the grid.
    Selection = CellRect{last, 0, last + 1, 1};
    view.PaintScreen(screen);
    EXPECT_NE(0x808080u, Pixel(Rec->LeftMargin + (last + 1) * Rec->CellWidth, Rec->TopMargin + 2));
    // No selection: no frame.
    Selection = CellRect{};
    Paint();
    for (int y = top + 1; y < bottom; ++y) EXPECT_NE(0x808080u, Pixel(right, y));
}

// A frame wider than the logo is high shows the logo at the top centre, white left transparent;
// the frame's band has raised outer and sunken inner 3-D edges.
TEST_P(ViewPaint, LogoAndFrameEdges)
{
    Rec->FrameSize = 40;
    view.RecalcFramesize(false);
    ASSERT_EQ(40, Rec->TopMargin);
    ASSERT_EQ(1, view.ResetTTYScreen(screen));
    view.LoadLogo();
    ShowLogoImage = 1;
    Paint();
    const SIZE doc = view.DocumentSize();
    const int frameFg = Rec->AttrColors[kAttrFrame][kAttrFg];
    const int logoX = doc.cx / 2 - 100 / 2;  // the logo is 100 x 33
    EXPECT_EQ(0x800000u, Pixel(logoX + 3, 16));               // the logo's plate
    EXPECT_EQ(Rgb(frameFg), Pixel(logoX + 1, 1));             // white is transparent: the band shows
    EXPECT_EQ(Rgb(frameFg), Pixel(logoX - 4, 16));            // beside the logo
    EXPECT_EQ(Rgb(frameFg == 19 ? 9 : 19), Pixel(0, 60));     // outer edge: light left
    EXPECT_EQ(0u, Pixel(doc.cx - 1, 60));                     // black right
    EXPECT_EQ(Rgb(frameFg == 12 ? 2 : 12), Pixel(doc.cx - 2, 60));  // dark inside it
    EXPECT_EQ(Rgb(frameFg == 12 ? 2 : 12), Pixel(39, 60));    // inner edge: dark left
    EXPECT_EQ(Rgb(frameFg == 19 ? 9 : 19), Pixel(doc.cx - 40, 60));  // light right
    EXPECT_EQ(Rgb(frameFg), Pixel(20, 60));
    ShowLogoImage = 0;
    Paint();
    EXPECT_EQ(Rgb(frameFg), Pixel(logoX + 3, 16));
    // A top margin lower than the logo shows no logo.
    ShowLogoImage = 1;
    Rec->FrameSize = 20;
    view.RecalcFramesize(false);
    ASSERT_EQ(1, view.ResetTTYScreen(screen));
    Paint();
    EXPECT_NE(0x800000u, Pixel(view.DocumentSize().cx / 2 - 50 + 3, 16));
}

// A maximised frame places the grid by AlignDisplay in the view's client area; restored, every
// margin is the frame size again.
TEST_P(ViewPaint, MaximisedFrameMargins)
{
    Rec->FrameSize = 10;
    Rec->Font80Cols.Height = Rec->Font132Cols.Height = -9;  // room to spare on any screen
    ASSERT_EQ(1, view.ResetTTYScreen(screen));
    ShowWindow(parent, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(parent));
    RECT client;
    GetClientRect(parent, &client);
    MoveWindow(view.Handle(), 0, 0, client.right, client.bottom, FALSE);
    ShowScrollBar(view.Handle(), SB_BOTH, FALSE);
    GetClientRect(view.Handle(), &client);
    const int spareX = client.right - Rec->MaxCols * Rec->CellWidth;
    const int spareY = client.bottom - Rec->MaxRows * Rec->CellHeight;
    ASSERT_GT(spareX, 2 * Rec->FrameSize);
    ASSERT_GT(spareY, 2 * Rec->FrameSize);
    const struct { int align, left, top; } cases[] = {
        {0, Rec->FrameSize, Rec->FrameSize},
        {4, spareX / 2, spareY / 2},
        {8, spareX - Rec->FrameSize, spareY - Rec->FrameSize},
        {2, spareX - Rec->FrameSize, Rec->FrameSize},
        {6, Rec->FrameSize, spareY - Rec->FrameSize},
    };
    for (const auto& c : cases) {
        Rec->AlignDisplay = c.align;
        view.RecalcFramesize(false);
        EXPECT_EQ(c.left, Rec->LeftMargin) << c.align;
        EXPECT_EQ(c.top, Rec->TopMargin) << c.align;
        EXPECT_EQ(spareX - c.left, Rec->RightMargin) << c.align;
        EXPECT_EQ(spareY - c.top, Rec->BottomMargin) << c.align;
        EXPECT_EQ(Rec->MaxCols * Rec->CellWidth + 2 * (spareX / 2), view.DocumentSize().cx);
    }
    // Painted: the first cell where the margins put it, the spare around the band in the frame's
    // background.
    Rec->AlignDisplay = 4;
    view.RecalcFramesize(false);
    Put(0, 0, "  ", 7, 4);
    Paint();
    EXPECT_EQ(Rgb(4), At(0, 0, 5, 5));
    EXPECT_EQ(Rgb(Rec->AttrColors[kAttrFrame][kAttrBg]), Pixel(Rec->LeftMargin / 2 - 2, Rec->TopMargin / 2));
    EXPECT_EQ(Rgb(Rec->AttrColors[kAttrFrame][kAttrFg]),
              Pixel(Rec->LeftMargin - Rec->FrameSize / 2, Rec->TopMargin + Rec->CellHeight));

    ShowWindow(parent, SW_RESTORE);
    view.RecalcFramesize(false);
    for (int margin : {Rec->LeftMargin, Rec->TopMargin, Rec->RightMargin, Rec->BottomMargin, Rec->HalfSpareX})
        EXPECT_EQ(Rec->FrameSize, margin);
}

INSTANTIATE_TEST_SUITE_P(Columns, ViewPaint, testing::Values(80, 132));

// The 3270 screen: each cell in the colours of its field's attribute, highlight and colour code.
class ViewPaint3270 : public ViewPaint {
protected:
    void SetUp() override
    {
        SetUpColumns(80);
        Rec->TerminalFamily3270 = 1;
        Rec->Charset3270 = 5;
        Rec->TrueUnderline = 1;
        Rec->TrueBold = 0;
        Rec->LineGraphics3D = 0;
        const int pairs[][3] = {{0, 7, 2}, {1, 14, 3}, {4, 15, 5}, {16, 9, 6}, {32, 12, 8}, {33, 16, 4}, {50, 17, 0}};
        for (const auto& p : pairs) {
            Rec->Attr3270Colors[p[0]][kAttrFg] = p[1];
            Rec->Attr3270Colors[p[0]][kAttrBg] = p[2];
        }
        Load3270State();
        ASSERT_EQ(1, Set3270Geometry(24, 80));
        Init3270Screen();
    }
    void Feed(const std::vector<uint8_t>& record)
    {
        Process3270Stream(nullptr, record.data(), static_cast<int>(record.size()), 1);
    }
    COLORREF AtAddress(int a, int xTenths = 5, int yTenths = 5) { return At(a / 80, a % 80, xTenths, yTenths); }
    // Background of a cell: its top left corner (glyphs leave it free).
    COLORREF BgAt(int a) { return AtAddress(a, 0, 0); }
};

TEST_F(ViewPaint3270, FieldsInTheirColours)
{
    Feed({0xF5, 0xC3,
          0x11, 0x40, 0x40, 0x1D, 0xF0, 0xC8, 0xC9,                          // 0: protected numeric "HI"
          0x11, 0x40, 0x4A, 0x1D, 0xC8, 0xC1, 0xC2,                          // 10: intensified "AB"
          0x11, 0x40, 0xD4, 0x29, 0x02, 0xC0, 0xC0, 0x42, 0xF2, 0xD9, 0xD9,  // 20: red "RR"
          0x11, 0x40, 0x5E, 0x1D, 0xCC, 0xE7, 0xE7,                          // 30: non-display "XX"
          0x11, 0x40, 0xE8, 0x29, 0x02, 0xC0, 0xC0, 0x41, 0xF4, 0x40, 0x40,  // 40: underscore
          0x11, 0xC1, 0x50, 0x1D, 0xE0, 0x6D, 0x6D, 0x6D});                  // 80: protected "___"
    Paint();
    EXPECT_EQ(Rgb(8), BgAt(0));   // a protected attribute cell keeps the protected colours
    EXPECT_EQ(Rgb(8), BgAt(1));
    EXPECT_GT(CountInCell(0, 1, Rgb(12)), 2);
    EXPECT_EQ(Rgb(4), BgAt(10));  // attribute cell of an unprotected field: protected colours
    EXPECT_EQ(Rgb(3), BgAt(11));
    EXPECT_GT(CountInCell(0, 11, Rgb(14)), 2);
    EXPECT_EQ(Rgb(2), BgAt(21));  // colour code red: only the foreground changes
    EXPECT_GT(CountInCell(0, 21, Rgb(17)), 2);
    EXPECT_EQ(Rgb(3), BgAt(31));  // non-display: background only, no glyph
    EXPECT_EQ(0, CountInCell(0, 31, Rgb(14)));
    EXPECT_EQ(Rgb(5), BgAt(41));  // underscore: its own entry and a true underline
    const COLORREF dark = Rgb(Rec->AttrColors[kAttrNormal][kAttrBg] == 12 ? 2 : 12);
    EXPECT_EQ(dark, Pixel(Rec->LeftMargin + 41 * Rec->CellWidth + 2, Rec->TopMargin + Rec->CellHeight - 1));
    EXPECT_EQ(Rgb(12), AtAddress(82, 5, 9));  // '_' cells are drawn lines
    EXPECT_EQ(Rgb(8), AtAddress(82, 5, 4));
    EXPECT_EQ(Rgb(8), BgAt(100));  // the protected field of address 80 goes on to the end
}

// A screen of more columns than the 3270 buffer: the cells beyond the buffer are not painted.
TEST_F(ViewPaint3270, CellsBeyondTheBufferStayUnpainted)
{
    ASSERT_EQ(132, SetColumns(*Rec, 132));
    ASSERT_EQ(1, view.ResetTTYScreen(screen));
    Feed({0xF5, 0xC3, 0x11, 0x40, 0x40, 0x1D, 0xF0, 0xC8, 0xC9});
    Paint();
    EXPECT_EQ(Rgb(8), At(0, 79, 0, 0));
    EXPECT_EQ(static_cast<COLORREF>(RGB(255, 0, 255)), At(0, 80, 5, 5));
    EXPECT_EQ(static_cast<COLORREF>(RGB(255, 0, 255)), At(Rec->MaxRows - 1, 100, 5, 5));
}

}  // namespace

// A host record invalidates the cells it wrote in the view (client pixels: margins added, scroll
// position taken off), so that the view repaints them.
TEST_F(ViewPaint3270, HostRecordsInvalidateTheirCells)
{
    Install3270ViewHooksWin32();
    HWND window = view.Handle();
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    MoveWindow(parent, 0, 0, 1000, 700, FALSE);
    MoveWindow(window, 0, 0, 900, 600, FALSE);
    const std::vector<uint8_t> record = {0xF1, 0xC3, 0x11, 0xC1, 0x5A, 0xC1, 0xC2, 0xC3};  // "ABC" at row 1, column 10
    Process3270Stream(EngineWindow(window), record.data(), static_cast<int>(record.size()), 1);  // the cleared screen
    ValidateRect(window, nullptr);
    Process3270Stream(EngineWindow(window), record.data(), static_cast<int>(record.size()), 1);
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    EXPECT_EQ(Rec->LeftMargin + 10 * Rec->CellWidth, dirty.left);
    EXPECT_EQ(Rec->TopMargin + Rec->CellHeight, dirty.top);
    EXPECT_EQ(Rec->LeftMargin + 13 * Rec->CellWidth, dirty.right);
    EXPECT_EQ(Rec->TopMargin + 2 * Rec->CellHeight, dirty.bottom);
    ViewHooks3270 = Default3270ViewHooks();
}

// A 3270 replay hands its DATA: texts to the 3270 private commands: here the capture file name.
TEST_F(ViewPaint3270, ReplayedPrivateCommandsRun)
{
    InstallHostCommandHooks();
    const std::string data = "\x1b[13yreplayed.cap\x1b\\";
    view.PrivateCommand3270(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()));
    EXPECT_EQ(CaptureFileName(), "replayed.cap");
}

namespace {

// Screen buttons are painted over the cells: face, text and a raised frame; sunken while pressed;
// not at all while hidden.
TEST_P(ViewPaint, ScreenButtons)
{
    SetButtonView(&view);
    Rec->EnableHotspots = 1;
    Put(1, 0, "                    ", 7, 6);
    const int numbers[] = {1, 3, 2, 6, 1, 0, 0, 2, 2, 2, 14, 4};
    ASSERT_TRUE(CreateDynButton(nullptr, numbers, 12, ";OK;ok;;<cr>;", 0));
    ASSERT_EQ(1u, DynButtonMap.size());
    DynButton& button = *DynButtonMap.at("ok");
    EXPECT_EQ("<cr>", button.clickLeft);
    Paint();
    const int left = Rec->LeftMargin + 2 * Rec->CellWidth, right = left + 6 * Rec->CellWidth - 1;
    const int top = Rec->TopMargin + Rec->CellHeight, bottom = top + Rec->CellHeight - 1;
    const int middle = (top + bottom) / 2;
    const int eraseBg = Rec->AttrColors[kAttrNormal][kAttrBg];
    const COLORREF dark = Rgb(eraseBg == 12 ? 2 : 12), light = Rgb(eraseBg == 19 ? 9 : 19);
    EXPECT_EQ(Rgb(4), Pixel(left + 3, top + 3));  // the face
    EXPECT_EQ(light, Pixel(left, middle));
    EXPECT_EQ(light, Pixel(left + 1, middle));    // depth 2
    EXPECT_EQ(dark, Pixel(right, middle));
    EXPECT_EQ(dark, Pixel(left + 10, bottom));
    int text = 0;
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y) text += Pixel(x, y) == Rgb(14);
    EXPECT_GT(text, 3);
    EXPECT_EQ(Rgb(6), At(1, 10, 5, 5));  // beside the button the cells show

    button.pressState = 1;
    view.PaintScreen(screen);
    EXPECT_EQ(dark, Pixel(left, middle));
    EXPECT_EQ(light, Pixel(right, middle));
    button.SetState(1, view);
    Paint();
    EXPECT_EQ(Rgb(6), Pixel(left + 3, top + 3));
    EXPECT_EQ(0, button.HitTest(left + 3, top + 3, 1, view.Geometry()));

    // The same name replaces the button; switched off, no button is made.
    ASSERT_TRUE(CreateDynButton(nullptr, numbers, 12, ";Other;ok;;;", 0));
    EXPECT_EQ(1u, DynButtonMap.size());
    EXPECT_EQ("Other", DynButtonMap.at("ok")->text);
    Rec->EnableHotspots = 0;
    EXPECT_FALSE(CreateDynButton(nullptr, numbers, 12, ";More;more;;;", 0));
    DynButtonMap.clear();
    SetButtonView(nullptr);
}

// Words of the hotspot table get hotspot buttons when their cells are painted; a word that is no
// longer there loses its button and its mark; painting again makes no second button.
TEST_P(ViewPaint, DynamicHotspots)
{
    SetButtonView(&view);
    Rec->EnableDynamicHotspots = 1;
    // The hotspot table: two words with strings, every other word none.
    DynHotspots = std::make_unique<HotspotTable>();
    DynHotspots->Add("HELP", kHotspotLiteral, "<f1>");
    DynHotspots->Add("Menu-2", kHotspotLiteral, "%menu%");
    std::strcpy(Rec->ExtraDynWordChars, "-");
    Rec->DynamicColumn = 1;
    Rec->DynamicWidth = 30;  // the area's last column is 31 (0-based)
    Put(5, 0, "HELP Menu-2 other                    ", 7, 2);
    Put(6, 29, "HELP", 7, 2);    // runs past column 31: no button
    Put(7, 28, "HELP", 7, 2);    // ends exactly at the area's edge
    Paint();
    std::vector<const DynButton*> hotspots;
    for (const auto& entry : DynButtonMap) hotspots.push_back(entry.second.get());
    ASSERT_EQ(3u, hotspots.size());
    auto find = [&](int row, int col) -> const DynButton* {
        for (const DynButton* b : hotspots)
            if (b->cellRect.row == row + 1 && b->cellRect.col == col + 1) return b;
        return nullptr;
    };
    const DynButton* help = find(5, 0);
    ASSERT_NE(nullptr, help);
    EXPECT_EQ("<f1>", help->clickLeft);
    EXPECT_EQ(4, help->cellRect.width);
    ASSERT_NE(nullptr, find(5, 5));
    EXPECT_EQ("%menu%", find(5, 5)->clickLeft);
    EXPECT_NE(nullptr, find(7, 28));
    EXPECT_EQ(nullptr, find(6, 29));
    EXPECT_TRUE(Rec->FlagsScreen[5 * Rec->MaxCols] & kCellHotspot);
    // The button lies over the word in its default face colour, framed.
    EXPECT_EQ(0xC0C0C0u, Pixel(Rec->LeftMargin + 3, Rec->TopMargin + 5 * Rec->CellHeight + 3));

    Paint();  // painted again: the buttons are made anew, not added
    EXPECT_EQ(3u, DynButtonMap.size());

    // The word changes: its button goes, and its mark with it; the cell diagonally below keeps
    // its own flags.
    Rec->FlagsScreen[6 * Rec->MaxCols + 1] = kCellHotspot;
    Put(5, 0, "HELX", 7, 2);
    Paint();
    EXPECT_EQ(2u, DynButtonMap.size());
    EXPECT_FALSE(Rec->FlagsScreen[5 * Rec->MaxCols] & kCellHotspot);
    EXPECT_EQ(kCellHotspot, Rec->FlagsScreen[6 * Rec->MaxCols + 1]);
    EXPECT_EQ(Rgb(2), At(5, 0, 1, 1));

    // An entry deleted from the table: its word loses its button at the next repaint.
    DynHotspots->Remove("Menu-2");
    InvalidateRect(view.Handle(), nullptr, FALSE);
    Paint();
    EXPECT_EQ(1u, DynButtonMap.size());
    EXPECT_FALSE(Rec->FlagsScreen[5 * Rec->MaxCols + 5] & kCellHotspot);
    DynButtonMap.clear();
    DynHotspots.reset();
    SetButtonView(nullptr);
}

}  // namespace
