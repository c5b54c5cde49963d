// A HostPlatform for the native tests: settable screen width and country, recorded messages, and a
// block allocator that can be told to refuse.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host_platform.h"

class FakePlatform : public HostPlatform {
public:
    struct Message {
        int id;
        std::string text;
    };

    int ScreenWidth() override { return screenWidth; }
    int WindowsCountry() override { return windowsCountry; }
    void ShowMessage(int stringId, const char* text) override;

    void* AllocBlock(std::size_t bytes) override;
    void FreeBlock(void* block) override;

    // What the platform reports.
    int screenWidth = 1024;
    int windowsCountry = 1;

    // Every ShowMessage, in order.
    std::vector<Message> messages;

    // Allocation control: blocks larger than refuseAbove are refused; once allowedAllocations
    // blocks were handed out (when >= 0), every further request is refused.
    std::size_t refuseAbove = static_cast<std::size_t>(-1);
    long allowedAllocations = -1;

    // Bookkeeping: every request (granted or not) and the blocks not yet freed.
    std::vector<std::size_t> requests;
    long granted = 0;
    long liveBlocks = 0;
};

// Installs a platform for the lifetime of the object and puts the quiet default back afterwards.
class ScopedPlatform {
public:
    explicit ScopedPlatform(HostPlatform& platform) { SetPlatform(&platform); }
    ~ScopedPlatform() { SetPlatform(nullptr); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;
};
