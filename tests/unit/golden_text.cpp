#include "golden_text.h"

#include <cstdio>

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'e': out += '\x1b'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 's': out += ' '; break;
        case 'x':
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        default: out += c; break;
        }
    }
    return out;
}

std::string Escape(const std::string& bytes)
{
    std::string out;
    char hex[8];
    for (unsigned char c : bytes) {
        if (c == 0x1b) {
            out += "\\e";
        } else if (c < 0x20 || c >= 0x7f || c == '\\') {
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string RightTrimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

