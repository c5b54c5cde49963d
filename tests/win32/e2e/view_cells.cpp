// view_cells [--title TEXT] ROW COL [ROWS COLS]
//
// Reads what a running Tolvi (the one whose window title holds TEXT, when given) painted, cell by cell, from the screen. The cell grid is found from
// the terminal view's caret, which (with the block caret, CursorStyle 0) covers the cell of the
// terminal cursor: the caret is one pixel narrower than a cell and as high as one, and stands at
// the cursor's cell, whose row and column (0-based) the caller knows from the data stream.
// Prints
//
//   cell WIDTH HEIGHT origin X Y screen SX SY zoomed Z
//
// (the grid's top-left corner in the view's client pixels and on the screen; Z is 1 while the
// main window is maximised), then ROWS lines of COLS characters
// (default 24 x 80): '#' for a cell with more than one colour (something is drawn in it), '.' for a
// cell of one colour, and 'c' for the cursor's cell, which the blinking caret changes. Exit 0, 1
// for bad arguments, 2 when no Tolvi window or no caret is found, 3 when the grab fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "screen_copy.h"
#include "tolvi_frame.h"

int main(int argc, char** argv)
{
    std::string title;
    if (argc > 2 && std::string(argv[1]) == "--title") {
        title = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: view_cells [--title TEXT] ROW COL [ROWS COLS]\n");
        return 1;
    }
    const int cursorRow = std::atoi(argv[1]), cursorCol = std::atoi(argv[2]);
    const int rows = argc == 5 ? std::atoi(argv[3]) : 24, cols = argc == 5 ? std::atoi(argv[4]) : 80;
    if (rows <= 0 || cols <= 0 || cursorRow < 0 || cursorCol < 0) return 1;

    const HWND frame = FindTolviFrame(title);
    if (!frame) {
        std::fprintf(stderr, "view_cells: no Tolvi window\n");
        return 2;
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(frame, nullptr);
    if (!GetGUIThreadInfo(thread, &gui) || !gui.hwndCaret || gui.rcCaret.right <= gui.rcCaret.left) {
        std::fprintf(stderr, "view_cells: the view shows no caret\n");
        return 2;
    }
    const int cellWidth = gui.rcCaret.right - gui.rcCaret.left + 1;
    const int cellHeight = gui.rcCaret.bottom - gui.rcCaret.top;
    const int originX = gui.rcCaret.left - cursorCol * cellWidth;
    const int originY = gui.rcCaret.top - cursorRow * cellHeight;

    // The grid, copied from the screen as Windows painted it.
    POINT corner = {originX, originY};
    ClientToScreen(gui.hwndCaret, &corner);
    const int width = cols * cellWidth, height = rows * cellHeight;
    std::vector<uint32_t> pixels;
    if (!CopyScreen(RECT{corner.x, corner.y, corner.x + width, corner.y + height}, pixels)) {
        std::fprintf(stderr, "view_cells: could not copy the screen\n");
        return 3;
    }

    std::printf("cell %d %d origin %d %d screen %ld %ld zoomed %d\n", cellWidth, cellHeight, originX, originY, corner.x,
                corner.y, IsZoomed(frame) ? 1 : 0);
    for (int r = 0; r < rows; ++r) {
        std::string line(static_cast<std::size_t>(cols), '.');
        for (int c = 0; c < cols; ++c) {
            if (r == cursorRow && c == cursorCol) {
                line[static_cast<std::size_t>(c)] = 'c';
                continue;
            }
            const uint32_t* cell = pixels.data() + static_cast<std::size_t>(r) * cellHeight * width + c * cellWidth;
            const uint32_t first = cell[0];
            bool inked = false;
            for (int y = 0; y < cellHeight && !inked; ++y)
                for (int x = 0; x < cellWidth && !inked; ++x)
                    inked = cell[static_cast<std::size_t>(y) * width + x] != first;
            if (inked) line[static_cast<std::size_t>(c)] = '#';
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
