// clipboard_tool get text|oem FILE | set FILE | lock SECONDS | command ID
//
// The clipboard of the test display's Wine session, for the end-to-end tests:
//   get     writes the whole memory block of CF_TEXT or CF_OEMTEXT to FILE and prints
//           "size N first F": the block's size and the format the clipboard was given first
//   set     puts FILE's bytes (and a terminating NUL) on the clipboard as CF_TEXT
//   lock    keeps the clipboard open for SECONDS seconds (another program cannot copy meanwhile);
//           prints "locked" once it holds it
//   command posts the command ID to Tolvi's main window, as its menu or tool bar does
// Exit 0, 1 for bad arguments, 2 when the clipboard cannot be opened or holds no such text, 3
// when a file cannot be read or written.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tolvi_frame.h"

namespace {

bool OpenWithRetry()
{
    for (int i = 0; i < 50; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(100);
    }
    return false;
}

int Get(UINT format, const char* file)
{
    if (!OpenWithRetry()) return 2;
    const UINT first = EnumClipboardFormats(0);
    HANDLE data = GetClipboardData(format);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!text) {
        CloseClipboard();
        return 2;
    }
    const SIZE_T size = GlobalSize(data);
    FILE* out = std::fopen(file, "wb");
    if (!out) {
        GlobalUnlock(data);
        CloseClipboard();
        return 3;
    }
    std::fwrite(text, 1, size, out);
    std::fclose(out);
    GlobalUnlock(data);
    CloseClipboard();
    std::printf("size %lu first %u\n", static_cast<unsigned long>(size), first);
    return 0;
}

int Set(const char* file)
{
    FILE* in = std::fopen(file, "rb");
    if (!in) return 3;
    std::vector<char> bytes;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(in);
    bytes.push_back('\0');
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return 2;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (!OpenWithRetry()) {
        GlobalFree(memory);
        return 2;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return set ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "get" && argc == 4) return Get(std::strcmp(argv[2], "oem") == 0 ? CF_OEMTEXT : CF_TEXT, argv[3]);
    if (verb == "set" && argc == 3) return Set(argv[2]);
    if (verb == "lock" && argc == 3) {
        if (!OpenWithRetry()) return 2;
        std::printf("locked\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atoi(argv[2]) * 1000));
        CloseClipboard();
        return 0;
    }
    if (verb == "command" && argc == 3) {
        HWND frame = FindTolviFrame("");
        if (!frame) return 2;
        PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        return 0;
    }
    std::fprintf(stderr, "usage: clipboard_tool get text|oem FILE | set FILE | lock SECONDS | command ID\n");
    return 1;
}
