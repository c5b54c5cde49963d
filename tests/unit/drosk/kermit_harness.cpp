#include "kermit_harness.h"

#include "kermit_packet.h"

namespace kmtest {

DroskParms DefaultParms() {
    DroskParms p{};
    KmGetParms(50, &p);  // a port no test sets keeps the defaults
    return p;
}

Results RunPair(int maxSteps) {
    Results r;
    for (int i = 0; i < maxSteps && (r.send == kDroskGoOn || r.receive == kDroskGoOn); ++i) {
        if (r.send == kDroskGoOn) r.send = KmSendNext(kPortA);
        if (r.receive == kDroskGoOn) r.receive = KmReceiveNext(kPortB);
    }
    return r;
}

InFolder::InFolder(const std::string& name)
    : dir_(looptest::FreshDir("drosk-" + name)), previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_);
}

InFolder::~InFolder() { std::filesystem::current_path(previous_); }

std::vector<uint8_t> PeerPacket(int seq, char type, const std::string& data, int checkType) {
    return drosk::FramePacket(drosk::Framing{}, seq, type,
                              reinterpret_cast<const uint8_t*>(data.data()), data.size(), checkType);
}

}  // namespace kmtest
