#include "engine/printer_off_match.h"

#include <cstring>

namespace {

PrinterOffStep TryContinue(const PrinterOffString* strings, int count, uint8_t* held, int32_t& heldCount,
                           uint8_t byte)
{
    for (int i = 0; i < count; ++i) {
        const PrinterOffString& s = strings[i];
        if (heldCount >= s.length || s.bytes[heldCount] != byte) continue;
        if (std::memcmp(s.bytes, held, static_cast<std::size_t>(heldCount)) != 0) continue;
        if (heldCount + 1 == s.length) {
            heldCount = 0;
            return PrinterOffStep::Complete;
        }
        held[heldCount++] = byte;
        return PrinterOffStep::Held;
    }
    return PrinterOffStep::Print;
}

}  // namespace

PrinterOffStep MatchPrinterOff(const PrinterOffString* strings, int count, uint8_t* held, int32_t& heldCount,
                               uint8_t byte, void (*print)(uint8_t))
{
    // A count no string can have held (state left by another interpreter) holds nothing.
    int longest = 0;
    for (int i = 0; i < count; ++i) longest = strings[i].length > longest ? strings[i].length : longest;
    if (heldCount < 0 || heldCount >= longest) heldCount = 0;
    const PrinterOffStep step = TryContinue(strings, count, held, heldCount, byte);
    if (step != PrinterOffStep::Print || heldCount == 0) return step;
    for (int i = 0; i < heldCount; ++i) print(held[i]);
    heldCount = 0;
    return TryContinue(strings, count, held, heldCount, byte);
}
