// A play file's bytes through the token reader as the replay reads them: tokens, the texts after
// DATA:, CALL: and RUN:, and the bytes of every other token.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "connections/play_tokens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    char token[kPlayTokenMax + 1];
    char text[kPlayTextMax + 1];
    uint8_t bytes[2];
    while (ReadPlayToken(file, token) > 0) {
        if (std::strlen(token) > static_cast<std::size_t>(kPlayTokenMax)) __builtin_trap();
        switch (PlayKeywordOf(token)) {
        case PlayKeyword::Data:
        case PlayKeyword::Call:
        case PlayKeyword::Run:
            if (ReadPlayText(file, text) > kPlayTextMax) __builtin_trap();
            break;
        default:
            if (PlayTokenBytes(token, bytes) > 2) __builtin_trap();
        }
    }
    std::fclose(file);
    return 0;
}
