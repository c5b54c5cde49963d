// Stepping Halvet's sender and receiver against each other over the two-port loop of the
// X/YMODEM tests, with the options the transfer driver passes by default.
#pragma once

#include <string>

#include "halvet.h"
#include "loop_line.h"

namespace hvtest {

// The driver's defaults: management "Overwrite", binary, name without folder, flags 0x800,
// sub-packets of 512, acknowledge every 1024, window 2048, time-out 10 s.
struct SendArgs {
    int management = kHvManageOverwrite;
    int conversion = kHvConvBinary;
    int nameOption = 0;
    int flags = kHvBatch;
    int subpacket = 512;
    int ackLength = 1024;
    int window = 2048;
    int timeout = 100;
};

int StartSend(int port, const std::string& files, const SendArgs& a = SendArgs());

struct HvResults {
    int send = kHvGoOn;
    int receive = kHvGoOn;
};
// Steps the sender on kPortA and the receiver on kPortB until both have ended; the steps
// give up after a generous count. onStep runs after each receiver step.
HvResults RunPair(int maxSteps = 400000, void (*onStep)() = nullptr);

}  // namespace hvtest

namespace hvtest {
// Files completed on the port so far (read out of the packed status block).
inline int FilesCompleted(int port) {
    int n = PxPortStatus(port)->filesCompleted;
    return n;
}
}  // namespace hvtest
