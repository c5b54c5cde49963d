// UnescapeString on arbitrary text, and the QuoteString -> UnescapeString round trip: a quoted
// text without its quotes unescapes to the original whenever it was not cut.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/key_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int maximum = data[0];
    std::vector<char> text(data + 1, data + size);
    text.push_back('\0');
    const std::size_t length = std::strlen(text.data());

    std::vector<char> plain(static_cast<std::size_t>(maximum) + 1);
    const int n = UnescapeString(text.data(), plain.data(), maximum);
    if (n < 0 || n > maximum || plain[static_cast<std::size_t>(n)] != '\0') std::abort();

    const int limit = static_cast<int>(length) * 2 + 2;
    std::vector<char> quoted(static_cast<std::size_t>(limit) + 3);
    const int q = QuoteString(text.data(), quoted.data(), limit);
    if (q < 2 || q > limit + 2 || quoted[static_cast<std::size_t>(q)] != '\0') std::abort();
    quoted[static_cast<std::size_t>(q) - 1] = '\0';  // drop the closing quote
    std::vector<char> back(length + 1);
    const int r = UnescapeString(quoted.data() + 1, back.data(), static_cast<int>(length));
    if (static_cast<std::size_t>(r) != length || std::memcmp(back.data(), text.data(), length) != 0)
        std::abort();
    return 0;
}
