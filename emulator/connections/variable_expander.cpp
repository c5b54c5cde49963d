// The expander's common variables: %terminal%, %hostname%, %% and environment variables. The
// variables that need the view or a dialog (%pin%, %pluser%, %plmach%, %row%, %col%, %hwnd%,
// %cdestination%, the waits) come with the full expander of the automation component; until then
// they read like any other name (an environment variable, else the name itself).
#include "connections/variable_expander.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "shell/session_record.h"

namespace {

struct TerminalWord {
    int code;
    const char* displayName;
};

// The EmulationCode table in display order with the display names.
const TerminalWord kTerminals[] = {
    {11, "ADDS viewpoint"},      {1, "DEC vt100"},         {2, "DEC vt220"},
    {10, "DEC vt320"},           {3, "Motorola tm220"},    {4, "SCO Console ansi"},
    {5, "V.4 Console at386"},    {6, "ANSI X3.64 uterm"},  {7, "Teletype dumb"},
    {12, "WYSE 50 wyse50"},      {8, "WYSE 60 PC kbd wyse60"},
    {9, "WYSE 60 ASCII kbd wyse60"},
};

bool SameName(const char* a, std::size_t length, const char* b) {
    if (std::strlen(b) != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// Appends text to the output, keeping room for the terminator.
void Append(char* output, std::size_t size, std::size_t& at, const char* text, std::size_t length,
            bool lower) {
    for (std::size_t i = 0; i < length && at + 1 < size; ++i) {
        char c = text[i];
        output[at++] = lower ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
    }
}

}  // namespace

const char* TerminalTypeWord(int terminal) {
    for (const TerminalWord& t : kTerminals) {
        if (t.code != terminal) continue;
        const char* word = std::strrchr(t.displayName, ' ');
        return word ? word + 1 : t.displayName;
    }
    return "";
}

std::size_t ExpandVariables(const char* source, char* output, std::size_t size) {
    if (size == 0) return 0;
    std::size_t at = 0;
    std::size_t i = 0;
    while (source[i] && at + 1 < size) {
        if (source[i] != '%') {
            output[at++] = source[i++];
            continue;
        }
        const char* name = source + i + 1;
        const char* end = std::strchr(name, '%');
        std::size_t length = end ? static_cast<std::size_t>(end - name) : std::strlen(name);
        i += 1 + length + (end ? 1 : 0);
        bool lower = std::islower(static_cast<unsigned char>(name[0])) != 0;
        if (length == 0) {
            Append(output, size, at, "%", 1, false);
        } else if (SameName(name, length, "terminal")) {
            const char* word = TerminalTypeWord(Rec->Terminal);
            Append(output, size, at, word, std::strlen(word), lower);
        } else if (SameName(name, length, "hostname")) {
            Append(output, size, at, Rec->HostName, std::strlen(Rec->HostName), false);
        } else {
            char variable[80];
            std::size_t n = length < sizeof(variable) - 1 ? length : sizeof(variable) - 1;
            std::memcpy(variable, name, n);
            variable[n] = '\0';
            const char* value = std::getenv(variable);
            if (value) Append(output, size, at, value, std::strlen(value) < 79 ? std::strlen(value) : 79, false);
            else Append(output, size, at, variable, n, false);
        }
    }
    output[at] = '\0';
    return i;
}
