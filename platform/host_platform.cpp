#include "host_platform.h"

#include <cstdlib>

void* HostPlatform::AllocBlock(std::size_t bytes) { return std::malloc(bytes); }
void HostPlatform::FreeBlock(void* block) { std::free(block); }

namespace {

class QuietPlatform final : public HostPlatform {
public:
    int ScreenWidth() override { return 1024; }
    int WindowsCountry() override { return 1; }
    void ShowMessage(int, const char*) override {}
};

QuietPlatform quietPlatform;
HostPlatform* installed = &quietPlatform;

}  // namespace

HostPlatform& Platform() { return *installed; }

void SetPlatform(HostPlatform* platform) { installed = platform ? platform : &quietPlatform; }
