#include "engine/vt/direct_sequence.h"

#include "engine/screen_planes.h"
#include "engine/vt/vt_sequences.h"

int DirectControlSequence(ViewWindow window, SettingsRecord& rec, const uint8_t* data, int i, int length,
                          DirtyRect& dirty, const DirectSequenceTarget& target)
{
    int at = i + 2;
    if (at >= length || data[i + 1] != '[') return -1;
    const bool privateMarker = data[at] == '?';
    if (privateMarker) ++at;
    int count = 0;
    int value = 0;
    const int limit = i + target.bufferSize - 1;
    for (; at < length && at < limit; ++at) {
        const uint8_t b = data[at];
        if (b >= '0' && b <= '9') {
            value = value * 10 + (b - '0');
            if (value > kCsiParamLimit) value = kCsiParamLimit;
        } else if (b == ';') {
            if (count == kCsiMaxParams - 1) return -1;
            target.params[count++] = value;
            value = 0;
        } else if ((b >= 0x40 && b <= 0x5A) || (b >= 0x61 && b <= 0x7E) || (target.graveFinal && b == '`')) {
            target.params[count++] = value;
            target.paramCount = count;
            if (privateMarker)
                DecPrivateDispatch(window, rec, b, count, target.params, dirty, target.fromVt);
            else
                CsiDispatch(window, rec, b, count, target.params, dirty, target.fromVt);
            return at;
        } else {
            return -1;
        }
    }
    return -1;
}
