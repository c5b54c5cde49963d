#include "fw_bitmap_button.h"

#include "fw_app.h"

namespace {

constexpr const char* kObjectProperty = "FwBitmapButton";
constexpr const char* kPressedProperty = "FwBitmapButtonPressed";

HINSTANCE ResourceInstance() { return FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr); }

HBITMAP LoadNamed(const std::string& name)
{
    return static_cast<HBITMAP>(LoadImageA(ResourceInstance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

FwBitmapButton::~FwBitmapButton() { Detach(); }

bool FwBitmapButton::Attach(HWND dialog, int id)
{
    Detach();
    HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    char caption[64] = {};
    GetWindowTextA(control, caption, sizeof caption);
    window_ = control;
    if (!LoadBitmaps(std::string(caption) + "U", std::string(caption) + "D")) {
        window_ = nullptr;
        return false;
    }
    SetPropA(window_, kObjectProperty, this);
    SetPropA(window_, kPressedProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pressed_ ? 1 : 0)));
    BITMAP size{};
    GetObjectA(up_, sizeof size, &size);
    SetWindowPos(window_, nullptr, 0, 0, size.bmWidth, size.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
    return true;
}

bool FwBitmapButton::LoadBitmaps(const std::string& up, const std::string& down)
{
    HBITMAP newUp = LoadNamed(up);
    if (!newUp) return false;
    if (up_) DeleteObject(up_);
    if (down_) DeleteObject(down_);
    up_ = newUp;
    down_ = LoadNamed(down);
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return true;
}

void FwBitmapButton::Detach()
{
    if (window_ && IsWindow(window_)) {
        RemovePropA(window_, kObjectProperty);
        RemovePropA(window_, kPressedProperty);
    }
    window_ = nullptr;
    if (up_) DeleteObject(up_);
    if (down_) DeleteObject(down_);
    up_ = down_ = nullptr;
}

RECT FwBitmapButton::DialogRect() const
{
    RECT rect{};
    if (!window_) return rect;
    GetWindowRect(window_, &rect);
    MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void FwBitmapButton::SetPressed(bool pressed)
{
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    if (!window_) return;
    SetPropA(window_, kPressedProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pressed ? 1 : 0)));
    InvalidateRect(window_, nullptr, FALSE);
}

void FwBitmapButton::Draw(const DRAWITEMSTRUCT& item) const
{
    const bool down = pressed_ || (item.itemState & ODS_SELECTED);
    HBITMAP bitmap = down && down_ ? down_ : up_;
    if (!bitmap) return;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    const RECT& r = item.rcItem;
    StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

bool FwBitmapButtonPressed(HWND button) { return button && GetPropA(button, kPressedProperty) != nullptr; }

FwBitmapButton* FwBitmapButtonOf(HWND button)
{
    return button ? static_cast<FwBitmapButton*>(GetPropA(button, kObjectProperty)) : nullptr;
}
