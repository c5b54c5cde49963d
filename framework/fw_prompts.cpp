#include "fw_prompts.h"

#include <vector>

std::string FwFormatPrompt(const char* pattern, std::initializer_list<std::string> arguments)
{
    const std::vector<std::string> args(arguments);
    std::string text;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '%' && p[1] == '%') {
            text += '%';
            ++p;
        } else if (*p == '%' && p[1] >= '1' && p[1] <= '9' && static_cast<std::size_t>(p[1] - '1') < args.size()) {
            text += args[static_cast<std::size_t>(p[1] - '1')];
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}
