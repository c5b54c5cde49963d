#include "dialogs/win32/color_buttons.h"

#include <cstring>

#include "engine/colors.h"
#include "resource_ids.h"

namespace {

constexpr int kDarkPen = 12;
constexpr int kLightPen = 19;

COLORREF Rgb(const SettingsRecord& rec, int index) { return PaletteColor(rec, index) & 0x00FFFFFF; }

}  // namespace

void ColorButtonSet::Attach(HWND dialog)
{
    for (int i = 0; i < kColorButtonCount; ++i) buttons_[i].Attach(dialog, kFirstColorButton + i);
}

FwBitmapButton* ColorButtonSet::Button(int index, int side)
{
    const int id = ColorButtonId(index, side);
    if (!id) return nullptr;
    FwBitmapButton& button = buttons_[id - kFirstColorButton];
    return button.Attached() ? &button : nullptr;
}

void ColorButtonSet::Press(int index, int side, bool onlyOne)
{
    FwBitmapButton* chosen = Button(index, side);
    for (int i = 0; i < kColorButtonCount; ++i) {
        FwBitmapButton& button = buttons_[i];
        const int buttonSide = i < 16 ? kForegroundSide : kBackgroundSide;
        if (!button.Attached() || (!onlyOne && buttonSide != side)) continue;
        button.SetPressed(&button == chosen);
    }
}

void DrawColorBox(HDC dc, const SettingsRecord& rec, int kind, RECT rect, int extraPasses)
{
    if (kind < 1 || kind > 3) return;
    HPEN dark = CreatePen(PS_SOLID, 1, Rgb(rec, kDarkPen));
    HPEN light = CreatePen(PS_SOLID, 1, Rgb(rec, kLightPen));
    HPEN rightBottom = kind == 2 ? dark : light;
    HPEN leftTop = kind == 2 ? light : dark;
    HGDIOBJ old = SelectObject(dc, rightBottom);
    // Right and bottom edges first, then left and top, ending where they began.
    MoveToEx(dc, rect.right - 1, rect.top, nullptr);
    LineTo(dc, rect.right - 1, rect.bottom - 1);
    LineTo(dc, rect.left, rect.bottom - 1);
    SelectObject(dc, leftTop);
    LineTo(dc, rect.left, rect.top);
    LineTo(dc, rect.right - 1, rect.top);
    SelectObject(dc, light);
    for (int pass = 0; pass < extraPasses; ++pass) {
        InflateRect(&rect, -1, -1);
        MoveToEx(dc, rect.right - 1, rect.top, nullptr);
        LineTo(dc, rect.right - 1, rect.bottom - 1);
        LineTo(dc, rect.left, rect.bottom - 1);
        LineTo(dc, rect.left, rect.top);
        LineTo(dc, rect.right - 1, rect.top);
    }
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

HFONT CreateSampleFont(const SettingsRecord& rec, bool bold, bool underline)
{
    LOGFONTA font;
    static_assert(sizeof font == sizeof rec.CurrentFont, "LogFont is a LOGFONTA");
    std::memcpy(&font, &rec.CurrentFont, sizeof font);
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    if (bold) font.lfWeight = FW_BOLD;
    if (underline) font.lfUnderline = TRUE;
    return CreateFontIndirectA(&font);
}

RECT ControlRect(HWND dialog, int id)
{
    RECT rect{};
    HWND control = GetDlgItem(dialog, id);
    if (!control) return rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void FillPaletteRect(HDC dc, const SettingsRecord& rec, const RECT& rect, int index)
{
    HBRUSH brush = CreateSolidBrush(Rgb(rec, index));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

namespace {

// The palette selected and realised in a drawing context for as long as it lives, when one is given.
class PaletteInUse {
public:
    PaletteInUse(HDC dc, HPALETTE palette) : dc_(dc)
    {
        if (!palette) return;
        old_ = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~PaletteInUse()
    {
        if (old_) SelectPalette(dc_, old_, FALSE);
    }
    PaletteInUse(const PaletteInUse&) = delete;
    PaletteInUse& operator=(const PaletteInUse&) = delete;

private:
    HDC dc_;
    HPALETTE old_ = nullptr;
};

}  // namespace

bool ColorSampleDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result)
{
    HPALETTE samplePalette = SampleUsesPalette() ? palette : nullptr;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        {
            PaletteInUse inUse(dc, samplePalette);
            PaintFrame(dc);
        }
        EndPaint(Handle(), &paint);
        result = 0;
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_SAMPLE_TEXT) return false;
        PaletteInUse inUse(item->hDC, samplePalette);
        PaintText(*item);
        result = TRUE;
        return true;
    }
    return false;
}

void ColorSampleDialog::InvalidateSample()
{
    const RECT frame = ControlRect(Handle(), IDC_SAMPLE_FRAME);
    InvalidateRect(Handle(), &frame, TRUE);
    if (HWND text = GetDlgItem(IDC_SAMPLE_TEXT)) InvalidateRect(text, nullptr, TRUE);
}
