// The shared test line (two Pexla virtual ports back to back), and helpers to run our sender
// against our receiver or against a scripted peer.
#pragma once

#include <cstdint>
#include <vector>

#include "kestrix.h"
#include "pexla_loop_line.h"

namespace xytest {

using looptest::FakeClock;
using looptest::Ticker;
using looptest::kPortA;
using looptest::kPortB;
using looptest::LoopLine;
using looptest::FreshDir;
using looptest::WriteFile;
using looptest::ReadFile;
using looptest::Pattern;

// Steps a sender on kPortA and a receiver on kPortB in turn until both have ended; returns
// {send result, receive result}. The steps give up after a generous count.
struct Results {
    int send = 0;
    int receive = 0;
};
Results RunPair(const char* mode, int maxSteps = 200000);

// A complete block as a sender puts it on the line.
std::vector<uint8_t> Block(uint8_t number, const std::vector<uint8_t>& data, bool checksum,
                           uint8_t pad = 0x1A);

}  // namespace xytest
