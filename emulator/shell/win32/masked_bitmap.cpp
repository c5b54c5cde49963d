// See masked_bitmap.h.
#include "shell/win32/masked_bitmap.h"

#include <cstdlib>

namespace {

// A memory DC compatible with the target, in its mapping mode, holding a bitmap.
struct MemoryDc {
    MemoryDc(HDC target, HBITMAP bitmap) : dc(CreateCompatibleDC(target))
    {
        SetMapMode(dc, GetMapMode(target));
        old = SelectObject(dc, bitmap);
    }
    ~MemoryDc()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    HDC dc;
    HGDIOBJ old;
};

}  // namespace

CMaskedBitmap::~CMaskedBitmap()
{
    if (bitmap_) DeleteObject(bitmap_);
}

bool CMaskedBitmap::LoadBitmap(int resourceId)
{
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap_ || !GetObjectA(bitmap_, sizeof info, &info)) {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = nullptr;
        size_ = {0, 0};
        return false;
    }
    size_ = {info.bmWidth, info.bmHeight};
    return true;
}

void CMaskedBitmap::Draw(HDC dc, int x, int y) const
{
    if (!bitmap_) return;
    MemoryDc image(dc, bitmap_);
    BitBlt(dc, x, y, size_.cx, size_.cy, image.dc, 0, 0, SRCCOPY);
}

void CMaskedBitmap::DrawTransparent(HDC dc, int x, int y, COLORREF transparent) const
{
    if (!bitmap_) return;
    // A size, not a place: the difference of two converted corners, so that the target's origin
    // (a scrolled view's) does not enter it.
    POINT corners[2] = {{0, 0}, {size_.cx, size_.cy}};
    DPtoLP(dc, corners, 2);
    const int w = std::abs(corners[1].x - corners[0].x), h = std::abs(corners[1].y - corners[0].y);
    HBITMAP colourBits = CreateCompatibleBitmap(dc, w, h);
    HBITMAP maskBits = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP invertedBits = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP bufferBits = CreateCompatibleBitmap(dc, w, h);
    {
        MemoryDc image(dc, bitmap_);
        // A colour copy of the picture.
        MemoryDc colour(dc, colourBits);
        BitBlt(colour.dc, 0, 0, w, h, image.dc, 0, 0, SRCCOPY);

        // The mask: white where the picture has the transparent colour, black elsewhere.
        MemoryDc mask(dc, maskBits);
        const COLORREF oldBack = SetBkColor(image.dc, transparent);
        BitBlt(mask.dc, 0, 0, w, h, image.dc, 0, 0, SRCCOPY);
        SetBkColor(image.dc, oldBack);

        // The colour copy loses its transparent pixels (ANDed with the inverted mask).
        MemoryDc inverted(dc, invertedBits);
        BitBlt(inverted.dc, 0, 0, w, h, mask.dc, 0, 0, NOTSRCCOPY);
        SetBkColor(colour.dc, RGB(255, 255, 255));
        SetTextColor(colour.dc, RGB(0, 0, 0));
        BitBlt(colour.dc, 0, 0, w, h, inverted.dc, 0, 0, SRCAND);

        // The target's pixels stay where the mask is white and take the picture elsewhere.
        MemoryDc buffer(dc, bufferBits);
        BitBlt(buffer.dc, 0, 0, w, h, dc, x, y, SRCCOPY);
        SetBkColor(buffer.dc, RGB(255, 255, 255));
        SetTextColor(buffer.dc, RGB(0, 0, 0));
        BitBlt(buffer.dc, 0, 0, w, h, mask.dc, 0, 0, SRCAND);
        BitBlt(buffer.dc, 0, 0, w, h, colour.dc, 0, 0, SRCPAINT);
        BitBlt(dc, x, y, w, h, buffer.dc, 0, 0, SRCCOPY);
    }
    DeleteObject(bufferBits);
    DeleteObject(invertedBits);
    DeleteObject(maskBits);
    DeleteObject(colourBits);
}
