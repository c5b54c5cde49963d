#include "fw_splitter.h"

#include "fw_app.h"

namespace {
constexpr const char* kSplitterClass = "TolviFwSplitter";
}

bool FwSplitter::Create(HWND parent, int rows, int columns, int id)
{
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kSplitterClass, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kSplitterClass;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    rows_ = rows < 1 ? 1 : rows;
    columns_ = columns < 1 ? 1 : columns;
    panes_.assign(static_cast<std::size_t>(rows_ * columns_), nullptr);
    heights_.assign(static_cast<std::size_t>(rows_), 50);
    widths_.assign(static_cast<std::size_t>(columns_), 50);
    window_ = CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (window_)
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return window_ != nullptr;
}

void FwSplitter::SetPane(int row, int column, HWND pane)
{
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return;
    panes_[static_cast<std::size_t>(row * columns_ + column)] = pane;
}

HWND FwSplitter::Pane(int row, int column) const
{
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return nullptr;
    return panes_[static_cast<std::size_t>(row * columns_ + column)];
}

void FwSplitter::SetRowHeight(int row, int height, int minimum)
{
    if (row >= 0 && row < rows_)
        heights_[static_cast<std::size_t>(row)] = height < minimum ? minimum : height;
}

void FwSplitter::SetColumnWidth(int column, int width, int minimum)
{
    if (column >= 0 && column < columns_)
        widths_[static_cast<std::size_t>(column)] = width < minimum ? minimum : width;
}

void FwSplitter::RecalcLayout()
{
    if (!window_)
        return;
    RECT client;
    GetClientRect(window_, &client);
    int y = 0;
    for (int r = 0; r < rows_; ++r) {
        int h = r == rows_ - 1 ? client.bottom - y : heights_[static_cast<std::size_t>(r)];
        if (h < 0)
            h = 0;
        int x = 0;
        for (int c = 0; c < columns_; ++c) {
            int w = c == columns_ - 1 ? client.right - x : widths_[static_cast<std::size_t>(c)];
            if (w < 0)
                w = 0;
            if (HWND pane = Pane(r, c))
                MoveWindow(pane, x, y, w, h, TRUE);
            x += w + kBar;
        }
        y += h + kBar;
    }
    InvalidateRect(window_, nullptr, TRUE);
}

// The bar after which of sizes (each pane followed by a bar but the last) lies at pos, or -1.
static int BarAfter(const std::vector<int>& sizes, int count, int pos, int bar)
{
    int start = 0;
    for (int i = 0; i + 1 < count; ++i) {
        start += sizes[static_cast<std::size_t>(i)];
        if (pos >= start && pos < start + bar)
            return i;
        start += bar;
    }
    return -1;
}

bool FwSplitter::BarAt(int x, int y, int* row, int* column) const
{
    *row = BarAfter(heights_, rows_, y, kBar);
    *column = *row >= 0 ? -1 : BarAfter(widths_, columns_, x, kBar);
    return *row >= 0 || *column >= 0;
}

void FwSplitter::Resized(int width, int height)
{
    // The rows and columns before the last keep their share of a splitter that grows or shrinks.
    if (height_ > 0 && height > 0)
        for (int& h : heights_)
            h = static_cast<int>(static_cast<long long>(h) * height / height_);
    if (width_ > 0 && width > 0)
        for (int& w : widths_)
            w = static_cast<int>(static_cast<long long>(w) * width / width_);
    if (height > 0)
        height_ = height;
    if (width > 0)
        width_ = width;
    RecalcLayout();
}

void FwSplitter::StartDrag(int x, int y)
{
    if (!BarAt(x, y, &dragRow_, &dragColumn_))
        return;
    // The bar keeps its place under the pointer: sizes follow the pointer's moves.
    dragFrom_ = dragRow_ >= 0 ? y : x;
    dragSize_ = dragRow_ >= 0 ? heights_[static_cast<std::size_t>(dragRow_)]
                              : widths_[static_cast<std::size_t>(dragColumn_)];
    SetCapture(window_);
}

void FwSplitter::Drag(int x, int y)
{
    constexpr int kMinimum = 20;
    if (dragRow_ >= 0) {
        int top = 0;
        for (int r = 0; r < dragRow_; ++r)
            top += heights_[static_cast<std::size_t>(r)] + kBar;
        int h = dragSize_ + y - dragFrom_;
        if (h > height_ - top - kBar - kMinimum)
            h = height_ - top - kBar - kMinimum;
        SetRowHeight(dragRow_, h, kMinimum);
    } else if (dragColumn_ >= 0) {
        int left = 0;
        for (int c = 0; c < dragColumn_; ++c)
            left += widths_[static_cast<std::size_t>(c)] + kBar;
        int w = dragSize_ + x - dragFrom_;
        if (w > width_ - left - kBar - kMinimum)
            w = width_ - left - kBar - kMinimum;
        SetColumnWidth(dragColumn_, w, kMinimum);
    }
    RecalcLayout();
    UpdateWindow(window_);
}

HWND FwSplitter::NextPane(HWND pane, bool previous) const
{
    const int count = static_cast<int>(panes_.size());
    for (int i = 0; i < count; ++i) {
        if (panes_[static_cast<std::size_t>(i)] != pane)
            continue;
        const int next = (i + (previous ? count - 1 : 1)) % count;
        return panes_[static_cast<std::size_t>(next)];
    }
    return nullptr;
}

LRESULT CALLBACK FwSplitter::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FwSplitter* splitter = reinterpret_cast<FwSplitter*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (splitter)
            splitter->Resized(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETCURSOR: {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(window, &at);
        int row, column;
        if (splitter && LOWORD(lParam) == HTCLIENT && splitter->BarAt(at.x, at.y, &row, &column)) {
            SetCursor(LoadCursor(nullptr, row >= 0 ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (splitter)
            splitter->StartDrag(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        if (splitter && GetCapture() == window)
            splitter->Drag(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (splitter && GetCapture() == window && message == WM_LBUTTONUP)
            ReleaseCapture();
        if (splitter)
            splitter->dragRow_ = splitter->dragColumn_ = -1;
        return 0;
    case WM_PAINT: {
        // The bars between the panes: a raised edge in the gap.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (splitter) {
            RECT client;
            GetClientRect(window, &client);
            int y = 0;
            for (int r = 0; r + 1 < splitter->rows_; ++r) {
                y += splitter->heights_[static_cast<std::size_t>(r)];
                RECT bar{client.left, y, client.right, y + kBar};
                DrawEdge(dc, &bar, EDGE_RAISED, BF_RECT | BF_MIDDLE);
                y += kBar;
            }
            int x = 0;
            for (int c = 0; c + 1 < splitter->columns_; ++c) {
                x += splitter->widths_[static_cast<std::size_t>(c)];
                RECT bar{x, client.top, x + kBar, client.bottom};
                DrawEdge(dc, &bar, EDGE_RAISED, BF_RECT | BF_MIDDLE);
                x += kBar;
            }
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
        // Notifications of the panes go on to the frame.
        return SendMessageA(GetParent(window), message, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
