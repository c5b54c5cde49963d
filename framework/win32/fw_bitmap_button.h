// A push button that shows bitmaps instead of a drawn face: the button's caption names them, the
// resource "<caption>U" when it is up and "<caption>D" when it is down. A button can be kept
// pressed (a choice among several, like a colour), when it shows its "D" bitmap as its normal face;
// while the mouse holds it down it shows "D" too. Its pressed state can be read from the window
// alone (FwBitmapButtonPressed), also by a test driver in another process.
//
// The template declares the button BS_OWNERDRAW; Attach loads the bitmaps and sizes the button to
// them. FwDialog hands the button's WM_DRAWITEM to it.
#pragma once

#include <windows.h>

#include <string>

class FwBitmapButton {
public:
    FwBitmapButton() = default;
    ~FwBitmapButton();
    FwBitmapButton(const FwBitmapButton&) = delete;
    FwBitmapButton& operator=(const FwBitmapButton&) = delete;

    // Attaches to the dialog's control `id`, loading the bitmaps its caption names from the
    // program's resources; false when the control or the "U" bitmap is missing (the button then
    // stays unattached and is never drawn by it).
    bool Attach(HWND dialog, int id);
    // Loads another pair of bitmaps by name (the "U" one required).
    bool LoadBitmaps(const std::string& up, const std::string& down);
    void Detach();

    bool Attached() const { return window_ != nullptr; }
    HWND Handle() const { return window_; }
    int Id() const { return window_ ? GetDlgCtrlID(window_) : 0; }
    // Its rectangle in the dialog's client coordinates.
    RECT DialogRect() const;

    void SetPressed(bool pressed);
    bool Pressed() const { return pressed_; }

    // WM_DRAWITEM of this button.
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    HWND window_ = nullptr;
    HBITMAP up_ = nullptr, down_ = nullptr;
    bool pressed_ = false;
};

// The pressed state of a bitmap button window (false for any other window).
bool FwBitmapButtonPressed(HWND button);
// The FwBitmapButton attached to a window, or null.
FwBitmapButton* FwBitmapButtonOf(HWND button);
