// DecodeKeyString and its token parsers on arbitrary text. The first byte picks the options and
// the output limit; the rest is the text, in a buffer that ends right after its terminator so any
// read past it is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/key_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const uint8_t options = data[0];
    std::vector<char> text(data + 1, data + size);
    text.push_back('\0');

    static bool tablesReady = false;
    if (!tablesReady) {
        SetIdentityTables(SessionTranslateTables);
        tablesReady = true;
    }
    Rec->Charset = 1 + (options >> 6);  // 1-4

    const int maximum = (options & 0x0F) == 0x0F ? 4096 : (options & 0x0F);
    std::vector<uint8_t> output(static_cast<std::size_t>(maximum) + 1, 0xEE);
    const int n = DecodeKeyString(text.data(), output.data(), maximum, (options & 0x10) != 0,
                                  (options & 0x20) != 0);
    if (n < 0 || n > maximum || output[static_cast<std::size_t>(maximum)] != 0xEE) std::abort();

    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        uint8_t b = 0;
        const int used = ParseKeyName(text.data() + i, b);
        if (used < 0 || static_cast<std::size_t>(used) > text.size() - 1 - i) std::abort();
        if (ParseHexPair(text.data() + i, b) == 2 && i + 2 > text.size() - 1) std::abort();
    }
    return 0;
}
