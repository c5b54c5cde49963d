#include "screen_copy.h"

bool CopyScreen(const RECT& area, std::vector<uint32_t>& pixels)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        const auto* bgra = static_cast<const uint32_t*>(bits);
        pixels.assign(bgra, bgra + static_cast<size_t>(width) * height);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied;
}
