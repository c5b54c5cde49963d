// Host data in blocks of 1 to 64 bytes whose sizes follow from one seed byte, as a connection
// delivers them; `after` runs after every block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "connections/connection_dispatch.h"

template <typename After>
void FeedInRandomBlocks(uint8_t seedByte, const uint8_t* bytes, size_t left, After after)
{
    unsigned seed = seedByte * 2654435761u + 1;
    while (left > 0) {
        seed = seed * 1103515245u + 12345u;
        size_t block = 1 + (seed >> 16) % 64;
        if (block > left) block = left;
        FeedEmulation(nullptr, bytes, static_cast<int>(block));
        after();
        bytes += block;
        left -= block;
    }
}
