#include "halvet_loop.h"

namespace hvtest {

int StartSend(int port, const std::string& files, const SendArgs& a) {
    return HvSendStart(port, a.management, a.conversion, a.nameOption, a.flags, a.subpacket, a.ackLength,
                       a.window, a.timeout, kHvZmodem, files.c_str());
}

HvResults RunPair(int maxSteps, void (*onStep)()) {
    HvResults r;
    for (int i = 0; i < maxSteps && (r.send == kHvGoOn || r.receive == kHvGoOn); ++i) {
        if (r.send == kHvGoOn) r.send = HvSendNext(xytest::kPortA);
        if (r.receive == kHvGoOn) {
            r.receive = HvRecvNext(xytest::kPortB);
            if (onStep) onStep();
        }
    }
    return r;
}

}  // namespace hvtest
