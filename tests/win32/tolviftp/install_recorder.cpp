// Stands in for the terminal in the network install's end-to-end test: the program the ".wcf"
// association names. It appends its command line, exactly as it was given, as one line to
// "recorded.txt" beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\') + 1) + "recorded.txt";
    FILE* out = std::fopen(file.c_str(), "ab");
    if (!out)
        return 1;
    std::fprintf(out, "%s\n", GetCommandLineA());
    return std::fclose(out) == 0 ? 0 : 1;
}
