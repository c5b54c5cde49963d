#include "connections/acl_words.h"

#include <cctype>

namespace {

// The next word of `rest`; `rest` keeps what follows from the blank after it on.
std::string NextWord(std::string& rest)
{
    const std::size_t start = rest.find_first_not_of(' ');
    if (start == std::string::npos) {
        rest.clear();
        return "";
    }
    const std::size_t end = rest.find(' ', start);
    std::string word = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    rest = end == std::string::npos ? "" : rest.substr(end);
    return word;
}

bool SameLetter(char a, char b)
{
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

}  // namespace

AclWords SplitAclCommand(const std::string& text)
{
    std::string rest = text;
    AclWords words;
    words.command = NextWord(rest);
    for (char& c : words.command) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    words.first = NextWord(rest);
    words.second = NextWord(rest);
    return words;
}

bool WildcardMatch(const std::string& name, const std::string& pattern)
{
    std::size_t n = 0, p = 0;
    std::size_t star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
