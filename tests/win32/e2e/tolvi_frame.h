// Finding a running Tolvi's main window (and its terminal view) from the test tools.
#pragma once

#include <windows.h>

#include <string>

// The visible main window whose title holds `title` (any, when empty); null when there is none.
inline HWND FindTolviFrame(const std::string& title)
{
    struct Search {
        std::string title;
        HWND frame = nullptr;
    } search{title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[32] = {}, text[512] = {};
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, text, sizeof text);
            if (lstrcmpA(name, "TolviFrame") == 0 && IsWindowVisible(window) &&
                std::string(text).find(s->title) != std::string::npos) {
                s->frame = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.frame;
}
