// Play-file tokens and texts; see play_tokens.h.
#include "connections/play_tokens.h"

#include <cstring>

namespace {

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of the leading hexadecimal digits of `text` (as "%x" reads them).
unsigned HexValue(const char* text)
{
    unsigned value = 0;
    for (int d; (d = HexDigit(*text)) >= 0; ++text) value = value * 16 + static_cast<unsigned>(d);
    return value;
}

}  // namespace

int ReadPlayToken(std::FILE* file, char* token)
{
    int c;
    do c = std::fgetc(file);
    while (c != EOF && IsBlank(c));
    int length = 0;
    while (c != EOF && !IsBlank(c)) {
        token[length++] = static_cast<char>(c);
        if (length == kPlayTokenMax) break;
        c = std::fgetc(file);
    }
    token[length] = '\0';
    return length;
}

int ReadPlayText(std::FILE* file, char* text)
{
    int c;
    do c = std::fgetc(file);
    while (c != EOF && static_cast<unsigned char>(c) <= ' ');
    int length = 0;
    auto keep = [&](int ch) {
        if (ch != '\r' && ch != '\n' && length < kPlayTextMax) text[length++] = static_cast<char>(ch);
    };
    if (c == '"') {
        keep(c);
        bool escaped = false;
        while ((c = std::fgetc(file)) != EOF) {
            keep(c);
            if (c == '"' && !escaped) break;
            escaped = c == '\\' && !escaped;
        }
    } else {
        for (; c != EOF && c != '\n'; c = std::fgetc(file)) keep(c);
    }
    text[length] = '\0';
    return length;
}

int PlayTokenBytes(const char* token, uint8_t* bytes)
{
    static const struct { const char* name; uint8_t byte; } names[] = {
        {"CR", 13}, {"LF", 10}, {"SP", 32}, {"ESC", 27}, {"HT", 9}};
    for (const auto& n : names)
        if (std::strcmp(token, n.name) == 0) {
            bytes[0] = n.byte;
            return 1;
        }
    const std::size_t length = std::strlen(token);
    if (length == 1) {
        bytes[0] = static_cast<uint8_t>(token[0]);
        return 1;
    }
    if (length == 5 && std::strncmp(token, "ESC", 3) == 0) {
        bytes[0] = 27;
        bytes[1] = static_cast<uint8_t>(HexValue(token + 3));
        return 2;
    }
    // Read as "0x" followed by the token, so only its leading hexadecimal digits count.
    bytes[0] = static_cast<uint8_t>(HexValue(token) & 0xFF);
    return 1;
}

PlayKeyword PlayKeywordOf(const char* token)
{
    static const struct { const char* text; PlayKeyword keyword; } words[] = {
        {"COMM:", PlayKeyword::Comm},     {"DATA:", PlayKeyword::Data},
        {"SEND:", PlayKeyword::Send},     {"KEYB:", PlayKeyword::Keyb},
        {"TIME:", PlayKeyword::Time},     {"DELTA:", PlayKeyword::Delta},
        {"RETURN:", PlayKeyword::Return}, {"EXIT:", PlayKeyword::Exit},
        {"QUIT:", PlayKeyword::Quit},     {"WAIT:", PlayKeyword::Wait},
        {"PAUSE:", PlayKeyword::Pause},   {"LOOP:", PlayKeyword::Loop},
        {"CALL:", PlayKeyword::Call},     {"RUN:", PlayKeyword::Run}};
    for (const auto& w : words)
        if (std::strcmp(token, w.text) == 0) return w.keyword;
    return PlayKeyword::None;
}
