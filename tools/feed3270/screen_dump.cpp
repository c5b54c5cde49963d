#include "screen_dump.h"

#include <cctype>
#include <cstdio>

#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/ibm3270/field_model.h"

std::string Row3270Text(int row)
{
    const Tn3270Globals& s = Tn3270State;
    std::string text;
    if (row < 0 || row >= s.Rows3270) return text;
    for (int column = 0; column < s.Columns3270; ++column) {
        const int a = row * s.Columns3270 + column;
        const uint8_t ch = Chars3270()[a];
        text += (Attributes3270()[a] >= kFaMarker || ch == 0) ? ' ' : static_cast<char>(ch);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Fields3270Text()
{
    const Tn3270Globals& s = Tn3270State;
    std::string text;
    char item[40];
    for (int a = 0; a < s.BufferSize; ++a) {
        const uint8_t attribute = Attributes3270()[a];
        if (attribute < kFaMarker) continue;
        int n = std::snprintf(item, sizeof item, "%s%d,%d:%02X", text.empty() ? "" : " ", a / s.Columns3270,
                              a % s.Columns3270, attribute);
        if (Colour3270()[a]) n += std::snprintf(item + n, sizeof item - n, "/c%02X", Colour3270()[a]);
        if (Flags3270()[a]) std::snprintf(item + n, sizeof item - n, "/h%02X", Flags3270()[a]);
        text += item;
    }
    return text;
}

std::string Dump3270Screen()
{
    const Tn3270Globals& s = Tn3270State;
    char header[120];
    std::snprintf(header, sizeof header, "screen %dx%d cursor %d,%d keyboard %s\n", s.Rows3270, s.Columns3270,
                  s.CursorAddress / s.Columns3270, s.CursorAddress % s.Columns3270,
                  s.KeyboardUnlocked ? "unlocked" : "locked");
    std::string text = header;
    for (int row = 0; row < s.Rows3270; ++row) text += "|" + Row3270Text(row) + "\n";
    text += "fields " + Fields3270Text() + "\n";
    return text;
}

bool Parse3270Hex(const std::string& text, std::vector<uint8_t>& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (c == '\'') {
            const std::size_t end = text.find('\'', i + 1);
            if (end == std::string::npos) return false;
            for (std::size_t k = i + 1; k < end; ++k) out.push_back(AsciiToEbcdic[static_cast<uint8_t>(text[k])]);
            i = end + 1;
        } else if (i + 1 < text.size() && std::isxdigit(c) && std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
            out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

std::string Hex3270(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char pair[4];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%s%02X", text.empty() ? "" : " ", b);
        text += pair;
    }
    return text;
}
