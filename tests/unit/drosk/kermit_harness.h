// Helpers of Drosk's tests: parameter blocks, stepping our sender against our receiver over the
// shared test line, and a working folder for received files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "drosk.h"
#include "pexla_loop_line.h"

namespace kmtest {

using looptest::kPortA;  // our sender's end
using looptest::kPortB;  // our receiver's end

DroskParms DefaultParms();

struct Results {
    int send = kDroskGoOn;
    int receive = kDroskGoOn;
};
// Steps the sender on kPortA and the receiver on kPortB in turn until both have ended.
Results RunPair(int maxSteps = 400000);

// Makes a fresh folder current for the life of the object, and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& name);
    ~InFolder();
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

// One packet as a peer would send it (type 1 check unless given).
std::vector<uint8_t> PeerPacket(int seq, char type, const std::string& data, int checkType = 1);

}  // namespace kmtest
