#include "dialog_pixels.h"

#include <cstdint>
#include <vector>

#include "png_writer.h"
#include "screen_copy.h"

void RepaintNow(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

COLORREF DialogPixel(HWND dialog, int x, int y)
{
    HDC dc = GetDC(dialog);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(dialog, dc);
    return colour;
}

bool AnyPixel(HWND dialog, const RECT& area, COLORREF colour)
{
    HDC dc = GetDC(dialog);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y)
        for (int x = area.left; x < area.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
    ReleaseDC(dialog, dc);
    return found;
}

RECT ItemRect(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void KeepScreenshot(HWND dialog, const std::string& name)
{
    RepaintNow(dialog);
    RECT area{};
    GetWindowRect(dialog, &area);
    std::vector<uint32_t> pixels;
    if (!CopyScreen(area, pixels)) return;
    std::vector<uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (uint32_t p : pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    WritePng(name, area.right - area.left, area.bottom - area.top, rgb);
}
