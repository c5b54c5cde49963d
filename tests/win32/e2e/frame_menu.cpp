// frame_menu [--title TEXT] COMMAND ...
//
// Reads and sets what a running Tolvi's main window (the one whose title holds TEXT, when given)
// shows in its menu bar and title, for the end-to-end tests. The commands run in order:
//
//   item ID          print the text of the menu item of command ID (as the menu holds it, '&'
//                    included), UTF-8
//   top              print the texts of the menu bar's entries, one line each, UTF-8
//   settitle TEXT    set the window's title text
//   title            print the window's title text
//
// Exit 0 when every command could be done, 1 on a usage error, 2 when there is no Tolvi window,
// 3 when the window has no menu or no item of that command.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tolvi_frame.h"

namespace {

std::string Utf8(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 1, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string title;
    int at = 1;
    if (argc > 2 && std::string(argv[1]) == "--title") {
        title = argv[2];
        at = 3;
    }
    if (at >= argc) {
        std::fprintf(stderr, "usage: frame_menu [--title TEXT] item ID | top | settitle TEXT | title ...\n");
        return 1;
    }
    const HWND frame = FindTolviFrame(title);
    if (!frame) {
        std::fprintf(stderr, "frame_menu: no Tolvi window\n");
        return 2;
    }
    while (at < argc) {
        const std::string command = argv[at++];
        if (command == "item" && at < argc) {
            const UINT id = static_cast<UINT>(std::atoi(argv[at++]));
            HMENU menu = GetMenu(frame);
            wchar_t text[256] = {};
            if (!menu || GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND) <= 0) return 3;
            std::printf("%s\n", Utf8(text).c_str());
        } else if (command == "top") {
            HMENU menu = GetMenu(frame);
            if (!menu) return 3;
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                wchar_t text[256] = {};
                GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
                std::printf("%s\n", Utf8(text).c_str());
            }
        } else if (command == "settitle" && at < argc) {
            SetWindowTextA(frame, argv[at++]);
        } else if (command == "title") {
            char text[512] = {};
            GetWindowTextA(frame, text, sizeof text);
            std::printf("%s\n", text);
        } else {
            return 1;
        }
    }
    return 0;
}
