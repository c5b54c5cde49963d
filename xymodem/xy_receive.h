// Entry points of the receive engine.
#pragma once

namespace kestrix {

// Starts a receive in the mode of the letter ("X", "C", "Y", "S", "T") into path (unused for
// "T"); 1 or -1.
int ReceiveStart(int port, const char* path, const char* letter);
// One step; threshold is the waiting count below which a growing block is left to arrive.
int ReceiveStep(int port, int threshold);

}  // namespace kestrix
