// Finding a running Tolvi's main window (and its terminal view) from the test tools.
#pragma once

#include <windows.h>

#include <string>

// A visible Tolvi main window whose title holds `title` (any, when empty). Class names are compared
// without case: Wine answers GetClassName with the spelling the name's atom got first, and the DDE
// service name "TOLVI" may have made that atom.
inline bool IsTolviFrame(HWND window, const std::string& title)
{
    char name[32] = {}, text[512] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, text, sizeof text);
    return lstrcmpiA(name, "TolviFrame") == 0 && IsWindowVisible(window) &&
           std::string(text).find(title) != std::string::npos;
}

// The first such main window; null when there is none.
inline HWND FindTolviFrame(const std::string& title)
{
    struct Search {
        std::string title;
        HWND frame = nullptr;
    } search{title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!IsTolviFrame(window, s->title)) return TRUE;
            s->frame = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.frame;
}

// The terminal view (the visible child of class "Tolvi") of the first such main window that has
// one; a window of a Tolvi that is still going away has none and is passed over.
inline HWND FindTolviView(const std::string& title)
{
    struct Search {
        std::string title;
        HWND view = nullptr;
    } search{title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!IsTolviFrame(window, s->title)) return TRUE;
            EnumChildWindows(
                window,
                [](HWND child, LPARAM found) -> BOOL {
                    char childName[32] = {};
                    GetClassNameA(child, childName, sizeof childName);
                    if (lstrcmpiA(childName, "Tolvi") == 0 && IsWindowVisible(child)) {
                        *reinterpret_cast<HWND*>(found) = child;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&s->view));
            return s->view ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.view;
}
