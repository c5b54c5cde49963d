// Reads TolviFTP's window from another process for the end-to-end test: the two file lists, the
// directory bar, the window title and which pane has the keyboard, or an entry's screen position.
//   ftp_lists.exe             prints the state (UTF-8; a tab in an entry shows as "\t")
//   ftp_lists.exe local N     prints the screen centre "x y" of entry N of the local list
//   ftp_lists.exe select local|remote NAME ...
//                             selects exactly the entries whose names (text before the first
//                             tab) are given; exit 5 when one is missing
//   ftp_lists.exe command ID  posts the menu command ID to the window (it runs in the active pane)
//   ftp_lists.exe close       posts WM_CLOSE to the window (as its close box does)
//   ftp_lists.exe maximize    posts the system command Maximize to the window (its caption's box)
//   ftp_lists.exe log         prints the main view's log lines (its window text), oldest first
//   ftp_lists.exe menu ID ...  prints each menu item's state after the window updated it: grey,
//                             enabled or missing
//   ftp_lists.exe open local|remote NAME COUNT
//                             selects entry NAME alone, presses Enter on it and waits until the
//                             list holds at least COUNT entries; prints the milliseconds it took
//   ftp_lists.exe ping MS     sends the window a message every 10 ms for MS milliseconds; prints
//                             how many it answered and its longest answer in milliseconds
//   ftp_lists.exe send ID [PATH]
//                             sends the menu command ID and prints the milliseconds until the
//                             window took it; with PATH also those until that file last grew
//                             and until it is gone
// Across processes Wine answers LB_GETTEXT of SendMessageA in UTF-16, so the texts are read with
// SendMessageW; the status bar's panes, which Wine does not carry across, are read through memory
// of the client's process.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Shown(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\t' ? std::string("\\t") : std::string(1, c);
    return out;
}

struct Found {
    std::vector<HWND> lists;
    HWND directoryBar = nullptr;
    HWND mainView = nullptr;
};

BOOL CALLBACK Collect(HWND window, LPARAM data)
{
    auto* found = reinterpret_cast<Found*>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    const int id = GetDlgCtrlID(window);
    if (lstrcmpiA(name, "ListBox") == 0 && id == 101)
        found->lists.push_back(window);
    else if (lstrcmpiA(name, STATUSCLASSNAMEA) == 0 && id == 104)
        found->directoryBar = window;
    else if (id == 0xE900 + 16)
        found->mainView = window;
    return TRUE;
}

// A buffer in the client's process for messages whose answers Wine does not carry across.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    std::vector<char> Read() const
    {
        std::vector<char> data(size_);
        SIZE_T got = 0;
        if (address_)
            ReadProcessMemory(process_, address_, data.data(), size_, &got);
        return data;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

std::string PaneText(HWND bar, int pane)
{
    RemoteBuffer buffer(bar, 4096);
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), buffer.Address());
    const std::vector<char> data = buffer.Read();
    return Utf8(reinterpret_cast<const wchar_t*>(data.data()));
}

std::vector<std::string> ListTexts(HWND list)
{
    std::vector<std::string> texts;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        texts.push_back(Utf8(text.c_str()));
    }
    return texts;
}

double Milliseconds(const LARGE_INTEGER& from)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A message the window answers once its thread takes messages again; false after 60 s.
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer)
{
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 60000, answer) != 0;
}

int OpenEntry(HWND list, const char* name, long count)
{
    // The entries that start with the name, in list order, until one is the name itself (a long
    // list is not read whole across processes).
    const int wide = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    std::wstring wanted(static_cast<std::size_t>(wide > 0 ? wide : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, &wanted[0], wide);
    wanted.resize(wcslen(wanted.c_str()));
    int at = -1;
    for (LRESULT from = -1;;) {
        const LRESULT hit = SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(wanted.c_str()));
        if (hit == LB_ERR || hit <= from)
            return 5;
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(hit), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(hit), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(wcslen(text.c_str()));
        if (text.substr(0, text.find(L'\t')) == wanted) {
            at = static_cast<int>(hit);
            break;
        }
        from = hit;
    }
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, at);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    DWORD_PTR held = 0;
    while (Ask(list, LB_GETCOUNT, 0, 0, &held) && static_cast<long>(held) < count) {
        if (Milliseconds(start) > 600000)
            return 6;
        Sleep(1);
    }
    std::printf("%.0f\n", Milliseconds(start));
    return static_cast<long>(held) >= count ? 0 : 6;
}

int Ping(HWND frame, int ms)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    double longest = 0;
    int answered = 0;
    while (Milliseconds(start) < ms) {
        LARGE_INTEGER sent;
        QueryPerformanceCounter(&sent);
        DWORD_PTR answer = 0;
        if (!Ask(frame, WM_NULL, 0, 0, &answer))
            break;
        ++answered;
        longest = std::max(longest, Milliseconds(sent));
        Sleep(10);
    }
    std::printf("%d %.0f\n", answered, longest);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    HWND frame = FindWindowA("TolviFtpFrame", nullptr);
    if (!frame) {
        std::fprintf(stderr, "ftp_lists: no TolviFTP window\n");
        return 2;
    }
    Found found;
    EnumChildWindows(frame, Collect, reinterpret_cast<LPARAM>(&found));
    if (found.lists.size() != 2 || !found.directoryBar) {
        std::fprintf(stderr, "ftp_lists: the window has no two lists and directory bar yet\n");
        return 3;
    }
    // The local list is the left one.
    std::sort(found.lists.begin(), found.lists.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    if (argc == 2 && std::strcmp(argv[1], "log") == 0 && found.mainView) {
        const LRESULT length = SendMessageW(found.mainView, WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(found.mainView, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        std::fputs(Utf8(text).c_str(), stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "maximize") == 0) {
        PostMessageA(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "command") == 0) {
        PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "menu") == 0) {
        // The menu as the program leaves it after updating its items: grey, enabled or missing.
        HMENU menu = GetMenu(frame);
        SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        for (int a = 2; a < argc; ++a) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(std::atoi(argv[a])), MF_BYCOMMAND);
            std::printf("%s\n", state == static_cast<UINT>(-1) ? "missing" : (state & MF_GRAYED) ? "grey" : "enabled");
        }
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "open") == 0)
        return OpenEntry(found.lists[std::strcmp(argv[2], "remote") == 0 ? 1 : 0], argv[3], std::atol(argv[4]));
    if (argc == 3 && std::strcmp(argv[1], "ping") == 0)
        return Ping(frame, std::atoi(argv[2]));
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "send") == 0) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        DWORD_PTR answer = 0;
        if (!Ask(frame, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0, &answer))
            return 6;
        std::printf("%.0f\n", Milliseconds(start));
        if (argc == 4) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            unsigned long long size = 0;
            double grew = 0;
            while (GetFileAttributesExA(argv[3], GetFileExInfoStandard, &data)) {
                const unsigned long long now = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
                if (now != size) {
                    size = now;
                    grew = Milliseconds(start);
                }
                if (Milliseconds(start) > 60000)
                    return 6;
                Sleep(1);
            }
            std::printf("%.0f\n%.0f\n", grew, Milliseconds(start));
        }
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "select") == 0) {
        HWND list = found.lists[std::strcmp(argv[2], "remote") == 0 ? 1 : 0];
        const std::vector<std::string> texts = ListTexts(list);
        // The names as given (any characters), in UTF-8 as the texts are.
        int wideCount = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
        int missing = 0;
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        for (int a = 3; a < argc && a < wideCount; ++a) {
            const std::string wanted = Utf8(wide[a]);
            bool hit = false;
            for (std::size_t i = 0; i < texts.size(); ++i) {
                if (texts[i].substr(0, texts[i].find('\t')) == wanted) {
                    SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
                    hit = true;
                }
            }
            missing += hit ? 0 : 1;
        }
        LocalFree(wide);
        return missing ? 5 : 0;
    }
    if (argc == 3) {
        HWND list = found.lists[std::strcmp(argv[1], "remote") == 0 ? 1 : 0];
        // Wine carries LB_GETITEMRECT's rectangle across processes itself.
        RECT item{};
        if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(std::atoi(argv[2])), reinterpret_cast<LPARAM>(&item)) ==
            LB_ERR)
            return 4;
        POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(list, &centre);
        std::printf("%ld %ld\n", centre.x, centre.y);
        return 0;
    }
    wchar_t title[256] = L"";
    GetWindowTextW(frame, title, 256);
    std::printf("title: %s\n", Utf8(title).c_str());
    std::printf("dirbar0: %s\n", PaneText(found.directoryBar, 0).c_str());
    std::printf("dirbar1: %s\n", PaneText(found.directoryBar, 1).c_str());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info);
    const char* focus = "other";
    char focusClass[64] = "";
    if (info.hwndFocus)
        GetClassNameA(info.hwndFocus, focusClass, sizeof focusClass);
    if (info.hwndFocus == found.lists[0])
        focus = "local";
    else if (info.hwndFocus == found.lists[1])
        focus = "remote";
    else if (lstrcmpA(focusClass, "TolviFwView") == 0)
        focus = "main";
    std::printf("focus: %s\n", focus);
    // Screen rectangles "left top right bottom": the window (and whether it is maximised), the
    // local list and the main view.
    RECT frameRect{}, localRect{}, mainRect{};
    GetWindowRect(frame, &frameRect);
    GetWindowRect(found.lists[0], &localRect);
    if (found.mainView)
        GetWindowRect(found.mainView, &mainRect);
    std::printf("frame: %ld %ld %ld %ld %d\n", frameRect.left, frameRect.top, frameRect.right, frameRect.bottom,
                IsZoomed(frame) ? 1 : 0);
    std::printf("local_box: %ld %ld %ld %ld\n", localRect.left, localRect.top, localRect.right, localRect.bottom);
    std::printf("main_box: %ld %ld %ld %ld\n", mainRect.left, mainRect.top, mainRect.right, mainRect.bottom);
    const char* names[] = {"local", "remote"};
    for (int i = 0; i < 2; ++i) {
        std::printf("%s:\n", names[i]);
        for (const std::string& text : ListTexts(found.lists[static_cast<std::size_t>(i)]))
            std::printf("  %s\n", Shown(text).c_str());
    }
    return 0;
}
