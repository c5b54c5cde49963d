// ParseCsiParams on arbitrary collected sequences: the count stays within 1-20 and every value
// within 0-32767 (or the code of an appended intermediate byte). The first byte is the final byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/screen_planes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int finalByte = data[0];
    std::vector<uint8_t> sequence(data + 1, data + size);
    int count = -1;
    int params[kCsiMaxParams];
    const int marker = ParseCsiParams(sequence.data(), sequence.size(), count, params, finalByte);
    if (count < 1 || count > kCsiMaxParams) std::abort();
    for (int i = 0; i < count; ++i)
        if (params[i] < 0 || params[i] > kCsiParamLimit) std::abort();
    if (marker != 0 && marker != 'P' && marker != '=' && marker != '?' && marker != '"') std::abort();
    return 0;
}
