#include "loop_line.h"

#include <algorithm>

#include "xy_blocks.h"

namespace xytest {

Results RunPair(const char* mode, int maxSteps) {
    Results r{kXYGoOn, kXYGoOn};
    for (int i = 0; i < maxSteps && (r.send == kXYGoOn || r.receive == kXYGoOn); ++i) {
        if (r.send == kXYGoOn) r.send = ComSXY_Next(kPortA, mode);
        if (r.receive == kXYGoOn) r.receive = ComRXY_Next(kPortB, mode);
    }
    return r;
}

std::vector<uint8_t> Block(uint8_t number, const std::vector<uint8_t>& data, bool checksum, uint8_t pad) {
    uint8_t packet[1100] = {};
    const int size = data.size() > 128 ? 1024 : 128;
    std::copy(data.begin(), data.end(), packet + 3);
    int len = kestrix::FinishBlock(packet, size, static_cast<int>(data.size()), number, checksum, false, pad);
    return std::vector<uint8_t>(packet, packet + len);
}

}  // namespace xytest
