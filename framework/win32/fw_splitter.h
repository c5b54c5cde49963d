// A static splitter: a child window that lays out rows × columns of pane windows at fixed sizes
// with a bar between them. The bars cannot be dragged; the last row and column take the rest.
#pragma once

#include <windows.h>

#include <vector>

class FwSplitter {
public:
    bool Create(HWND parent, int rows, int columns, int id);
    HWND Handle() const { return window_; }
    // The parent of the pane windows.
    void SetPane(int row, int column, HWND pane);
    HWND Pane(int row, int column) const;
    // Heights of the rows and widths of the columns but the last (at least `minimum` each).
    void SetRowHeight(int row, int height, int minimum = 10);
    void SetColumnWidth(int column, int width, int minimum = 10);
    void RecalcLayout();
    // The pane after (or before) `pane` in row order, wrapping; null when `pane` is none.
    HWND NextPane(HWND pane, bool previous) const;

    static constexpr int kBar = 6;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    int rows_ = 1, columns_ = 1;
    std::vector<HWND> panes_;
    std::vector<int> heights_, widths_;
};
