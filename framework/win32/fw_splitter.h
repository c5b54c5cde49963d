// A splitter: a child window that lays out rows × columns of pane windows with a bar between
// them. The last row and column take the rest; the bars can be dragged with the mouse, and when
// the splitter's size changes the other rows and columns keep their share of it.
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
    // The bar under the point: a row bar (*row set) or a column bar (*column set); false for none.
    bool BarAt(int x, int y, int* row, int* column) const;
    void Resized(int width, int height);
    void StartDrag(int x, int y);
    void Drag(int x, int y);

    HWND window_ = nullptr;
    int rows_ = 1, columns_ = 1;
    std::vector<HWND> panes_;
    std::vector<int> heights_, widths_;
    int width_ = 0, height_ = 0;
    int dragRow_ = -1, dragColumn_ = -1;
    int dragFrom_ = 0, dragSize_ = 0;
};
