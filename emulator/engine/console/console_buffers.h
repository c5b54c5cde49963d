// The console interpreter's own buffers (single instance): a 200-byte sequence buffer.
#pragma once

#include "engine/sequence_buffers.h"

constexpr int kConsoleSequenceSize = 200;
using ConsoleBuffers = SequenceBuffers<kConsoleSequenceSize>;
extern ConsoleBuffers ConsoleBuffer;
