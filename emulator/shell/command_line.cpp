#include "shell/command_line.h"

#include <cstring>

namespace {

bool IsOptionToken(const char* token) { return token && (token[0] == '/' || token[0] == '-'); }

bool SameNameNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

const CommandOption kCommandOptions[] = {
    {2700, "term"}, {2701, "tport"}, {2702, "tdef"}, {2703, "ip"}, {2704, "htype"},
    {2705, "host"}, {2706, "user"}, {2707, "pw"}, {2708, "ah1"}, {2709, "ah2"},
    {2710, "t"}, {2711, "cs"}, {2712, "c"}, {2713, "record"}, {2714, "trace"},
    {2715, "play"}, {2716, "untrace"}, {2717, "ah0"}, {2718, "ah3"}, {2719, "ah4"},
    {2720, "service"}, {2721, "program"}, {2722, "section"}, {2723, "ah5"}, {2724, "ah6"},
    {2725, "section2"}, {2726, "section3"}, {2727, "hot"},
};
const int kCommandOptionCount = static_cast<int>(sizeof kCommandOptions / sizeof kCommandOptions[0]);

void StripEnclosingQuotes(std::string& line)
{
    if (line.size() > 1 && line.front() == '"' && line.back() == '"') {
        line.front() = ' ';
        line.pop_back();
    }
}

int SplitCommandLine(char** tokens, int limit, char* text)
{
    for (int i = 0; i < limit; ++i) tokens[i] = nullptr;
    if (!text) return 0;
    const std::size_t length = std::strlen(text);
    auto code = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };

    int count = 0;
    std::size_t pos = 0;
    while (count < limit && pos < kCommandScanLimit) {
        while (pos < length && code(pos) < 33) ++pos;
        if (pos >= length || pos >= kCommandScanLimit) break;
        tokens[count++] = text + pos;
        std::size_t end = pos + 1;
        for (; end < length; ++end) {
            if (code(end) < 32) break;
            if (text[end] == ' ' && end + 1 < length && text[end + 1] == '/') break;
            if (text[end] == '"') {
                const char* close = std::strchr(text + end + 1, '"');
                if (!close) {
                    end = length;
                    break;
                }
                end = static_cast<std::size_t>(close - text);
            }
        }
        if (end >= length) break;  // the text ends the token
        text[end] = '\0';
        pos = end + 1;
    }
    return count;
}

int PickPositionalArgs(int count, char** tokens, char** positional, int limit)
{
    int picked = 0;
    for (int i = 0; i < count && picked < limit; ++i) {
        if (!tokens[i] || IsOptionToken(tokens[i])) break;
        positional[picked++] = tokens[i];
    }
    return picked;
}

int NextOption(int tokenCount, char** tokens, const CommandOption* options, int optionCount,
               std::string& name, std::string& value, int& cursor)
{
    name.clear();
    value.clear();
    while (cursor < tokenCount && !IsOptionToken(tokens[cursor])) ++cursor;
    if (cursor >= tokenCount) return 0;

    const char* p = tokens[cursor++] + 1;
    while (*p && *p != ':' && *p != ' ') name += *p++;
    if (*p == ':') {
        ++p;
        while (*p == ' ') ++p;
    }
    if (!*p && cursor < tokenCount && tokens[cursor] && !IsOptionToken(tokens[cursor])) p = tokens[cursor++];

    if (*p == '"') {
        const char* close = std::strchr(++p, '"');
        value.assign(p, close ? close : p + std::strlen(p));
    } else {
        const char* blank = std::strchr(p, ' ');
        value.assign(p, blank ? blank : p + std::strlen(p));
    }

    for (int i = 0; i < optionCount; ++i) {
        if (SameNameNoCase(name, options[i].name)) return options[i].id;
    }
    return -1;
}
