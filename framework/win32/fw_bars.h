// The control bars of a frame: a toolbar of bitmap buttons and a status bar of panes.
#pragma once

#include <windows.h>

#include <vector>

constexpr int kToolbarId = 0xE800;
constexpr int kStatusBarId = 0xE801;
constexpr int kSeparator = 0;  // a command of 0 in a button list is a separator

// Indicator ids of the status bar's key panes.
constexpr int kIndicatorCaps = 0xE701;
constexpr int kIndicatorNum = 0xE702;
constexpr int kIndicatorScroll = 0xE703;

class FwToolBar {
public:
    // Creates the bar with one button per command (images numbered over the non-separators).
    bool Create(HWND parent, HINSTANCE instance, int bitmapId, int imageCount, const std::vector<int>& commands,
                SIZE imageSize = {16, 15});
    HWND Handle() const { return window_; }
    int ButtonImage(int position) const;
    void SetButtonImage(int position, int image);
    void SetButtonState(int command, bool enabled, bool checked);
    int CommandAt(int position) const;
    int ButtonCount() const;

private:
    HWND window_ = nullptr;
};

class FwStatusBar {
public:
    // `top` places the bar under the frame's top edge instead of at the bottom.
    bool Create(HWND parent, const std::vector<int>& indicators, bool top = false, int id = kStatusBarId);
    HWND Handle() const { return window_; }
    int PaneCount() const { return static_cast<int>(indicators_.size()); }
    int PaneWidth(int pane) const { return widths_[static_cast<std::size_t>(pane)]; }
    void SetPaneWidth(int pane, int width);
    // The pane that takes what the others leave (0 by default): panes before it keep their
    // widths from the left edge, panes after it from the right.
    void SetStretchPane(int pane) { stretch_ = pane; Relayout(); }
    void SetPaneText(int pane, const char* text);
    bool PaneRect(int pane, RECT& rect) const;
    // The key indicators show their text while the key's toggle is on.
    void UpdateIndicators();
    // Lays the parts out again after the bar's width changed.
    void Relayout();

private:
    HWND window_ = nullptr;
    std::vector<int> indicators_;
    std::vector<int> widths_;
    int stretch_ = 0;
};
