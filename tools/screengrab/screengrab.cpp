// screengrab OUT.png [--window TITLE | --class CLASS] [--wait MS] [--delay MS]
//
// Copies the screen (or the rectangle of the top-level window whose title is TITLE, waited for up
// to --wait milliseconds) with BitBlt from the screen DC into a PNG file. Unlike an X grab, this
// sees what Windows painted, child dialogs included. --delay waits before the grab so that the
// window has painted. Exit code 0 on success, 1 on a usage error, 2 when the window never
// appeared, 3 when the grab or the file failed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "png_writer.h"
#include "screen_copy.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: screengrab OUT.png [--window TITLE | --class CLASS] [--wait MS] [--delay MS]\n");
        return 1;
    }
    std::string out = argv[1];
    const char* title = nullptr;
    const char* windowClass = nullptr;
    int waitMs = 0, delayMs = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--window"))
            title = argv[i + 1];
        else if (!std::strcmp(argv[i], "--class"))
            windowClass = argv[i + 1];
        else if (!std::strcmp(argv[i], "--wait"))
            waitMs = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--delay"))
            delayMs = std::atoi(argv[i + 1]);
        else {
            std::fprintf(stderr, "screengrab: unknown option %s\n", argv[i]);
            return 1;
        }
    }

    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (title || windowClass) {
        HWND window = nullptr;
        for (int waited = 0; !(window = FindWindowA(windowClass, title)) && waited < waitMs; waited += 100)
            Sleep(100);
        if (!window) {
            std::fprintf(stderr, "screengrab: no window \"%s\"\n", title ? title : windowClass);
            return 2;
        }
        RECT windowRect;
        GetWindowRect(window, &windowRect);
        // Only what is on the screen can be copied (a maximised window may reach beyond it).
        RECT screen = area;
        if (!IntersectRect(&area, &windowRect, &screen)) area = screen;
    }
    if (delayMs > 0)
        Sleep(static_cast<DWORD>(delayMs));

    int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<uint32_t> pixels;
    bool grabbed = CopyScreen(area, pixels);
    std::vector<uint8_t> rgb;
    if (grabbed) {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
            rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
            rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
            rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
        }
    }
    if (!grabbed || !WritePng(out, width, height, rgb)) {
        std::fprintf(stderr, "screengrab: could not grab or write %s\n", out.c_str());
        return 3;
    }
    return 0;
}
