#include "match_mask.h"

#include <cctype>
#include <cstring>

namespace {

bool SameChar(char a, char b, int mode)
{
    if (mode == 1)
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    return a == b;
}

}  // namespace

int MatchMask(const char* name, const char* mask, int mode)
{
    if (mode == 1 && std::strcmp(mask, "*.*") == 0)
        return 1;
    std::size_t i = 0;  // mask
    std::size_t j = 0;  // name
    for (;;) {
        if (mask[i] == '*' && mask[i + 1] == '\0')
            return 1;
        if (name[j] == '\0')
            return mask[i] == '\0' ? 1 : 0;
        if (mask[i] == '\0')
            return 0;
        if (mask[i] == '*') {
            const char stop = mask[i + 1];
            while (name[j] != '\0' && name[j] != '.' && !SameChar(name[j], stop, mode))
                ++j;
            ++i;
            continue;
        }
        if (mask[i] != '?' && !SameChar(mask[i], name[j], mode))
            return 0;
        ++i;
        ++j;
    }
}
