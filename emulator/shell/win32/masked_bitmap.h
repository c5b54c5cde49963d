// A bitmap that draws itself plainly or with one colour left transparent (the view's logo).
#pragma once

#include <windows.h>

class CMaskedBitmap {
public:
    CMaskedBitmap() = default;
    ~CMaskedBitmap();
    CMaskedBitmap(const CMaskedBitmap&) = delete;
    CMaskedBitmap& operator=(const CMaskedBitmap&) = delete;

    // Loads a bitmap resource of the program; false when there is none.
    bool LoadBitmap(int resourceId);
    int Width() const { return size_.cx; }
    int Height() const { return size_.cy; }

    // Copies the whole bitmap to (x, y).
    void Draw(HDC dc, int x, int y) const;
    // Draws the bitmap at (x, y); pixels of `transparent` leave the target as it was. Composed
    // off-screen and copied to the target once.
    void DrawTransparent(HDC dc, int x, int y, COLORREF transparent) const;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_ = {0, 0};
};
