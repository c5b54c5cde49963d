// view_pixels --title TEXT FILE
//
// Copies the client area of the terminal view (as far as it is on the screen) of a running Tolvi (the one whose window title holds
// TEXT) from the screen, as Windows painted it, into FILE as a binary PPM (P6), and prints where
// the client area's top-left corner is on the screen ("X Y"). Exit 0, 1 for bad arguments, 2 when
// no Tolvi window or view is found, 3 when the grab or the write fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "screen_copy.h"
#include "tolvi_frame.h"

int main(int argc, char** argv)
{
    if (argc != 4 || std::string(argv[1]) != "--title") {
        std::fprintf(stderr, "usage: view_pixels --title TEXT FILE\n");
        return 1;
    }
    const HWND view = FindTolviView(argv[2]);
    if (!view) {
        std::fprintf(stderr, "view_pixels: no Tolvi view\n");
        return 2;
    }
    RECT client;
    GetClientRect(view, &client);
    POINT corner = {0, 0};
    ClientToScreen(view, &corner);
    // The view may be larger than what its frame shows: only the part on the screen is copied.
    const int width = std::min<int>(client.right, GetSystemMetrics(SM_CXSCREEN) - corner.x);
    const int height = std::min<int>(client.bottom, GetSystemMetrics(SM_CYSCREEN) - corner.y);
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0 ||
        !CopyScreen(RECT{corner.x, corner.y, corner.x + width, corner.y + height}, pixels))
        return 3;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 3;
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            row[x * 3] = static_cast<unsigned char>(p >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(p);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    if (std::fclose(out) != 0) return 3;
    std::printf("%ld %ld\n", corner.x, corner.y);
    return 0;
}
