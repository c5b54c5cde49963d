// frame_title [--title TEXT] COMMAND ...
//
// Sets and reads the title of a running Tolvi's main window (the one whose title holds TEXT, when
// given), for the end-to-end tests of what rebuilds it, and asks that window to close. The
// commands run in order:
//
//   set TEXT    set the window's title text
//   get         print the window's title text
//   close       post WM_CLOSE to the window, as its close box does
//
// Exit 0 when every command could be done, 1 on a usage error, 2 when there is no Tolvi window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tolvi_frame.h"

int main(int argc, char** argv)
{
    std::string title;
    int at = 1;
    if (argc > 2 && std::string(argv[1]) == "--title") {
        title = argv[2];
        at = 3;
    }
    if (at >= argc) {
        std::fprintf(stderr, "usage: frame_title [--title TEXT] set TEXT | get | close ...\n");
        return 1;
    }
    const HWND frame = FindTolviFrame(title);
    if (!frame) {
        std::fprintf(stderr, "frame_title: no Tolvi window\n");
        return 2;
    }
    while (at < argc) {
        const std::string command = argv[at++];
        if (command == "set" && at < argc) {
            SetWindowTextA(frame, argv[at++]);
        } else if (command == "get") {
            char text[512] = {};
            GetWindowTextA(frame, text, sizeof text);
            std::printf("%s\n", text);
        } else if (command == "close") {
            PostMessageA(frame, WM_CLOSE, 0, 0);
        } else {
            return 1;
        }
    }
    return 0;
}
