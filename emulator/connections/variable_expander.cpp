#include "connections/variable_expander.h"

#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "connections/automation_view.h"
#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "engine/key_strings.h"
#include "session/session_record.h"

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

// The longest name that can be looked up in the environment, and the longest value taken.
constexpr std::size_t kMaxVariableName = 79;
constexpr std::size_t kMaxVariableValue = 79;
constexpr std::size_t kUserNameCache = 9;
constexpr const char* kPinPrompt = "Pin code:";

bool SameName(const char* a, std::size_t length, const char* b) {
    if (std::strlen(b) != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// Copies at most size - 1 characters of text and a terminator.
void CopyCut(char* destination, std::size_t size, const char* text) {
    std::size_t n = strnlen(text, size - 1);
    std::memcpy(destination, text, n);
    destination[n] = '\0';
}

// The output being built: appends never pass the end and always leave room for the terminator.
struct Output {
    char* text;
    std::size_t size;
    std::size_t at = 0;

    bool Full() const { return at + 1 >= size; }
    void Append(const char* from, std::size_t length, bool lower = false) {
        for (std::size_t i = 0; i < length && !Full(); ++i) {
            char c = from[i];
            text[at++] = lower ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
        }
    }
    void Append(const char* from, bool lower = false) { Append(from, std::strlen(from), lower); }
    void AppendNumber(long long value) {
        char digits[24];
        std::snprintf(digits, sizeof(digits), "%lld", value);
        Append(digits);
    }
};

// The four numbers after %cdestination%, from source[i] on: each is copied in pixels with what
// precedes it. Stops early, leaving the rest to the usual scan, when a '%' or the end of the text
// comes before the next number.
std::size_t ConvertDestination(const char* source, std::size_t i, Output& out) {
    for (int k = 0; k < 4; ++k) {
        std::size_t j = i;
        while (source[j] && source[j] != '%' && !std::isdigit(static_cast<unsigned char>(source[j]))) ++j;
        if (!std::isdigit(static_cast<unsigned char>(source[j]))) break;
        out.Append(source + i, j - i);
        char* end = nullptr;
        long long n = std::strtoll(source + j, &end, 0);
        // Far beyond any screen; keeps the products below in range.
        if (n > 1000000) n = 1000000;
        long long value = 0;
        switch (k) {
        case 0: value = (n - 1) * Rec->CellWidth + AutoView().LeftMargin(); break;
        case 1: value = (n - 1) * Rec->CellHeight + AutoView().TopMargin(); break;
        case 2: value = n * Rec->CellWidth; break;
        default: value = n * Rec->CellHeight; break;
        }
        out.AppendNumber(value);
        i = static_cast<std::size_t>(end - source);
    }
    return i;
}

// The value of a variable that is not one of ours: the environment's, else the name itself.
void AppendEnvironment(const char* name, std::size_t length, Output& out) {
    char variable[kMaxVariableName + 1];
    std::memcpy(variable, name, length);
    variable[length] = '\0';
    const char* value = std::getenv(variable);
    if (!value) {
        out.Append(variable, length);
        return;
    }
    std::size_t n = std::strlen(value);
    out.Append(value, n < kMaxVariableValue ? n : kMaxVariableValue);
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

int AskUserName(char* output, std::size_t size) {
    if (size == 0) return 1;
    char* cache = Rec->UserNameCache;
    if (!cache[0]) {
        char typed[64] = "";
        if (AutoView().AskUserName(typed, sizeof(typed))) CopyCut(cache, kUserNameCache + 1, typed);
    }
    CopyCut(output, size, cache);
    return 1;
}

std::size_t ExpandVariables(const char* source, char* output, std::size_t size) {
    if (size == 0) return 0;
    Output out{output, size};
    std::size_t i = 0;
    while (source[i] && !out.Full()) {
        if (source[i] != '%') {
            output[out.at++] = source[i++];
            continue;
        }
        const char* name = source + i + 1;
        const char* close = std::strchr(name, '%');
        std::size_t length = close ? static_cast<std::size_t>(close - name) : std::strlen(name);
        std::size_t written = 1 + length + (close ? 1 : 0);
        bool lower = std::islower(static_cast<unsigned char>(name[0])) != 0;
        if (length > kMaxVariableName) {
            out.Append(source + i, written);
            i += written;
            continue;
        }
        i += written;
        if (length == 0) {
            out.Append("%");
        } else if (SameName(name, length, "pin")) {
            char pin[129] = "";
            if (!AutoView().AskPin(kPinPrompt, pin, sizeof(pin))) pin[0] = '\0';
            pin[sizeof(pin) - 1] = '\0';
            out.Append(pin);
            out.Append("<cr>");
        } else if (SameName(name, length, "w1") || SameName(name, length, "w5") ||
                   SameName(name, length, "w10")) {
            ConnView().DelayMs(1000 * std::atoi(name + 1));
        } else if (SameName(name, length, "pluser")) {
            char user[257] = "";
            if (!Names().UserName(user, sizeof(user))) AskUserName(user, kUserNameCache + 1);
            user[sizeof(user) - 1] = '\0';
            out.Append(user, lower);
        } else if (SameName(name, length, "plmach")) {
            char machine[16] = "";
            if (!Names().ComputerName(machine, sizeof(machine))) std::strcpy(machine, "%PLMACH%");
            machine[sizeof(machine) - 1] = '\0';
            out.Append(machine, lower);
        } else if (SameName(name, length, "terminal")) {
            out.Append(TerminalTypeWord(Rec->Terminal), lower);
        } else if (SameName(name, length, "row")) {
            out.AppendNumber(AutoView().ClickRow());
        } else if (SameName(name, length, "col")) {
            out.AppendNumber(AutoView().ClickColumn());
        } else if (SameName(name, length, "hwnd")) {
            char handle[24];
            std::snprintf(handle, sizeof(handle), "%" PRIuPTR,
                          reinterpret_cast<uintptr_t>(ConnView().Window()));
            out.Append(handle);
        } else if (SameName(name, length, "hostname")) {
            out.Append(Rec->HostName, strnlen(Rec->HostName, sizeof(Rec->HostName)));
        } else if (SameName(name, length, "cdestination")) {
            i = ConvertDestination(source, i, out);
        } else {
            AppendEnvironment(name, length, out);
        }
    }
    output[out.at] = '\0';
    return i;
}

int SendExpanded(ViewWindow window, const char* text, bool national) {
    char expanded[128];
    ExpandVariables(text, expanded, sizeof(expanded));
    uint8_t bytes[128];
    int n = DecodeKeyString(expanded, bytes, sizeof(bytes), Rec->ControlChar == 2, national);
    if (n <= 0) return 0;
    int sent = SendToHost(window, bytes, n);
    return sent > 0 ? sent : 0;
}
