#include "shell/config_values.h"

#include <cstdio>

#include "shell/profile_store.h"

namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

}  // namespace

uint32_t ParseProfileLong(const char* text)
{
    const char* p = text ? text : "";
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool minus = false;
    if (*p == '+' || *p == '-') minus = *p++ == '-';
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    uint64_t total = 0;
    bool overflow = false;
    for (; DigitValue(*p) < static_cast<int>(base); ++p) {
        total = total * base + static_cast<unsigned>(DigitValue(*p));
        if (total > 0xFFFFFFFFu) overflow = true, total = 0xFFFFFFFFu;
    }
    if (overflow) return 0xFFFFFFFFu;
    const uint32_t value = static_cast<uint32_t>(total);
    return minus ? 0u - value : value;
}

uint8_t ParseProfileChar(const char* text)
{
    const char* p = text ? text : "";
    std::size_t length = 0;
    while (p[length]) ++length;
    if (length == 0) return 0;
    if (p[0] >= '0' && p[0] <= '9') {
        const uint32_t value = ParseProfileLong(p);
        return value <= 255 ? static_cast<uint8_t>(value) : 0;
    }
    if (p[0] == '^') {
        const unsigned char x = static_cast<unsigned char>(p[1]);
        return (length == 2 && x >= 64 && x <= 95) ? static_cast<uint8_t>(x - 64) : 0;
    }
    if (p[0] == '\\') {
        if (length != 2) return 0;
        switch (p[1]) {
        case 'a': return 7;
        case 'b': return 8;
        case 'f': return 12;
        case 'n': return 10;
        case 'r': return 13;
        case 't': return 9;
        case 'v': return 11;
        default: return static_cast<uint8_t>(p[1]);
        }
    }
    return length == 1 ? static_cast<uint8_t>(p[0]) : 0;
}

int ParseProfileBool(const char* text)
{
    static const char yes[] = "yes";
    const char* p = text ? text : "";
    for (int i = 0; i < 3 && p[i]; ++i) {
        char c = p[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != yes[i]) return 0;
    }
    return 1;
}

std::string FormatProfileChar(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, (value & 0x80) ? "0x%x" : "%d", value);
    return text;
}

std::string ScrambleProfileText(const std::string& text)
{
    const std::size_t n = text.size();
    std::string out(2 * n + 2, '"');
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned a =
            (~static_cast<unsigned>(static_cast<unsigned char>(text[i])) ^ static_cast<unsigned>(i + 94)) & 0xFF;
        out[2 * (n - i) - 1] = static_cast<char>('a' + (a >> 4));
        out[2 * (n - i)] = static_cast<char>('a' + (a & 15));
    }
    return out;
}

std::string UnscrambleProfileText(const std::string& letters, std::size_t limit)
{
    const std::size_t n = letters.size() / 2;
    std::string out;
    for (std::size_t i = 0; i < n && out.size() < limit; ++i) {
        const int high = letters[2 * (n - i) - 2] - 'a';
        const int low = letters[2 * (n - i) - 1] - 'a';
        if (high < 0 || high > 15 || low < 0 || low > 15) break;
        const unsigned b = static_cast<unsigned>(high << 4 | low);
        const unsigned c = (b ^ ~static_cast<unsigned>(i + 94)) & 0xFF;
        if (c == 0) break;
        out += static_cast<char>(c);
    }
    return out;
}

int32_t ReadProfileLong(const char* section, const char* key, int32_t current, const char* file)
{
    char fallback[16];
    std::snprintf(fallback, sizeof fallback, "%ld", static_cast<long>(current));
    char value[256];
    Profiles().GetString(section, key, fallback, value, sizeof value, file);
    return static_cast<int32_t>(ParseProfileLong(value));
}

uint8_t ReadProfileChar(const char* section, const char* key, uint8_t current, const char* file)
{
    char fallback[8];
    std::snprintf(fallback, sizeof fallback, "0x%x", current);
    char value[256];
    Profiles().GetString(section, key, fallback, value, sizeof value, file);
    return ParseProfileChar(value);
}

bool WriteProfileLong(const char* section, const char* key, int32_t value, const char* file)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return Profiles().WriteString(section, key, text, file);
}

bool WriteProfileColor(const char* section, const char* key, uint32_t value, const char* file)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(value));
    return Profiles().WriteString(section, key, text, file);
}

bool WriteProfileChar(const char* section, const char* key, uint8_t value, const char* file)
{
    return Profiles().WriteString(section, key, FormatProfileChar(value).c_str(), file);
}
