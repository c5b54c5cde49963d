// The terminal view paints what the planes say: the test fills the screen planes, lets the view
// paint into a bitmap and reads pixels at cell centres and on glyph strokes, 80 and 132 columns.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "engine/screen_planes.h"
#include "shell/record_defaults.h"
#include "shell/session_record.h"
#include "shell/translate_tables.h"
#include "shell/win32/zolex_view.h"

namespace {

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

COLORREF Rgb(int index) { return Rec->ColorPalette[index] & 0xFFFFFF; }

class ViewPaint : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        ASSERT_TRUE(SetRecordDefaults(*Rec, true, false, AllocScreenBuffers, SessionTranslateTables));
        ASSERT_EQ(GetParam(), SetColumns(*Rec, GetParam()));
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
    }
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
    void Paint()
    {
        const SIZE size = view.DocumentSize();
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
    Rec->HistoryView = 1;
    Paint();  // the bitmap is the screen's size: enough for the history rows of this test
    EXPECT_EQ(Rgb(2), At(0, 1, 5, 5));
    if (rows < Rec->MaxRows) {
        EXPECT_EQ(Rgb(5), At(Rec->HistoryRowsAlloc, 1, 5, 5));
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, ViewPaint, testing::Values(80, 132));

}  // namespace
