// Cleaning a host's status-line text: escape sequences, controls and surplus blanks out.
#include <cstring>

#include "engine/vt/vt_interpreter.h"

std::size_t SequenceSpan(const char* text)
{
    if (text[1] != '[' && text[1] != 'P') return text[1] ? 2 : 1;
    std::size_t i = 2;
    for (; text[i]; ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if ((b >= 0x40 && b <= 0x5A) || (b >= 0x61 && b <= 0x7E) || b == '#') return i + 1;
    }
    return i;  // unterminated: to the end of the text
}

void StripSequences(char* text)
{
    // Work from the end towards the start, so every removal only shifts text already cleaned.
    std::size_t length = std::strlen(text);
    for (std::size_t p = length; p-- > 0;) {
        const unsigned char b = static_cast<unsigned char>(text[p]);
        std::size_t span = 0;
        if (b == 0x1B)
            span = SequenceSpan(text + p);
        else if (b < 0x20)
            span = 1;
        else if (b == ' ' && text[p + 1] == ' ')
            span = 1;
        if (span) {
            std::memmove(text + p, text + p + span, length - p - span + 1);
            length -= span;
        }
    }
    std::size_t start = 0;
    while (text[start] == ' ') ++start;
    while (length > start && text[length - 1] == ' ') --length;
    std::memmove(text, text + start, length - start);
    text[length - start] = 0;
}
