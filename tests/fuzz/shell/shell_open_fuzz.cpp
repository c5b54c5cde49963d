// The shell's DDE open commands, from arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell_open_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> paths;
    ParseShellOpenCommands(reinterpret_cast<const char*>(data), size, paths);
    return 0;
}
