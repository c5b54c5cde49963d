// The ADDS interpreter's own buffers (single instance): a 400-byte sequence buffer, and the two
// address states of SequenceLength.
#pragma once

#include "engine/sequence_buffers.h"

constexpr int kAddsSequenceSize = 400;
constexpr int kAddsColumnAddress = -1;
constexpr int kAddsRowAddress = -2;

using AddsBuffers = SequenceBuffers<kAddsSequenceSize>;
extern AddsBuffers AddsBuffer;
