// A settings text through the variable expansion, at an output size taken from the first byte,
// and received bytes (after the text's NUL) against the text through the wait-for matcher.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "connections/auto_login.h"
#include "connections/variable_expander.h"
#include "session/session_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::size_t outputSize = data[0];
    ++data;
    --size;
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    std::size_t textLength = end ? static_cast<std::size_t>(end - data) : size;
    char* text = static_cast<char*>(std::malloc(textLength + 1));
    std::memcpy(text, data, textLength);
    text[textLength] = '\0';
    std::memset(Rec, 0, sizeof(SettingsRecord));
    Rec->Terminal = 2;
    Rec->CellWidth = 8;
    Rec->CellHeight = 16;
    std::strcpy(Rec->HostName, "host");

    char* output = static_cast<char*>(std::malloc(outputSize ? outputSize : 1));
    std::size_t stopped = ExpandVariables(text, output, outputSize);
    if (stopped > textLength) std::abort();
    if (outputSize && std::strlen(output) >= outputSize) std::abort();

    if (end) {
        const uint8_t* bytes = end + 1;
        int n = static_cast<int>(size - textLength - 1);
        int count = 0;
        int at = WaitForString(nullptr, bytes, n, text, count);
        if (at < 0 || at > n) std::abort();
    }
    std::free(output);
    std::free(text);
    return 0;
}
