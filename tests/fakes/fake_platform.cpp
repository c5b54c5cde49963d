#include "fake_platform.h"

#include <cstdlib>

void FakePlatform::ShowMessage(int stringId, const char* text)
{
    messages.push_back(Message{stringId, text ? text : ""});
}

void* FakePlatform::AllocBlock(std::size_t bytes)
{
    requests.push_back(bytes);
    if (bytes > refuseAbove) return nullptr;
    if (allowedAllocations >= 0 && granted >= allowedAllocations) return nullptr;
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (!block) return nullptr;
    ++granted;
    ++liveBlocks;
    return block;
}

void FakePlatform::FreeBlock(void* block)
{
    if (!block) return;
    --liveBlocks;
    std::free(block);
}
