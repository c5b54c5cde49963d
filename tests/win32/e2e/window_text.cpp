// window_text TITLE CLASS [--wait MS] [--close]
//
// Prints the text of the first control of class CLASS (a prefix of its class name, such as
// "RICHEDIT" or "Edit") inside the visible top-level window whose title contains TITLE, for the
// end-to-end tests of documents that Tolvi opens in another program. --close then asks that
// window to close. Exit code 0 when the text was read, 2 when no such window appeared in time
// (default 15000 ms), 3 when it has no such control.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
    const char* text;
    const char* prefix;
    HWND found;
};

BOOL CALLBACK TopLevel(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::strstr(title, search->text)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Child(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (_strnicmp(name, search->prefix, std::strlen(search->prefix)) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_text TITLE CLASS [--wait MS] [--close]\n");
        return 1;
    }
    int waitMs = 15000;
    bool close = false;
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--wait") && i + 1 < argc) waitMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--close")) close = true;
    }
    Search top{argv[1], nullptr, nullptr};
    const DWORD end = GetTickCount() + static_cast<DWORD>(waitMs);
    while (!top.found) {
        EnumWindows(TopLevel, reinterpret_cast<LPARAM>(&top));
        if (top.found) break;
        if (static_cast<int>(end - GetTickCount()) <= 0) return 2;
        Sleep(100);
    }
    Search child{nullptr, argv[2], nullptr};
    // The document is loaded once the window is up; give the control a moment to fill.
    for (int tries = 0; tries < 50 && !child.found; ++tries) {
        EnumChildWindows(top.found, Child, reinterpret_cast<LPARAM>(&child));
        if (!child.found) Sleep(100);
    }
    if (!child.found) return 3;
    Sleep(500);
    const LRESULT length = SendMessageA(child.found, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendMessageA(child.found, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::fwrite(text.data(), 1, std::strlen(text.data()), stdout);
    if (close) PostMessageA(top.found, WM_CLOSE, 0, 0);
    return 0;
}
