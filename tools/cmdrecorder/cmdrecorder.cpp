// cmdrecorder: a tiny program that the host-command tests start with WinExec and ShellExecute.
// Its first argument names a file; it writes its whole command line and its current directory
// into that file, one per line, and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showMode)
{
    const char* line = GetCommandLineA();
    // Skip the program name (quoted or not) and the blanks after it.
    const char* p = line;
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p ? p + 1 : line + std::strlen(line);
    } else {
        while (*p && *p != ' ') ++p;
    }
    while (*p == ' ') ++p;
    std::string file;
    while (*p && *p != ' ') file.push_back(*p++);
    if (file.empty()) return 1;

    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof directory, directory);
    // Written to a temporary name first, so a reader never sees half a file.
    const std::string temporary = file + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return 2;
    std::fprintf(out, "%s\n%s\n%d\n", line, directory, showMode);
    std::fclose(out);
    MoveFileExA(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
    return 0;
}
