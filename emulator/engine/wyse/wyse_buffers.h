// The Wyse interpreter's own buffers (single instance): a 400-byte sequence buffer, and whether
// transparent printing (started by DC2) also shows the bytes.
#pragma once

#include "engine/sequence_buffers.h"

constexpr int kWyseSequenceSize = 400;

using WyseBuffers = SequenceBuffers<kWyseSequenceSize>;
extern WyseBuffers WyseBuffer;
extern bool WysePrintAndDisplay;
