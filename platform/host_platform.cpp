#include "host_platform.h"

#include <cstdlib>

#include "code_pages.h"

void* HostPlatform::AllocBlock(std::size_t bytes) { return std::malloc(bytes); }
void HostPlatform::FreeBlock(void* block) { std::free(block); }

namespace {

const CodePagePair& DefaultPages()
{
    static const CodePagePair pages(437);
    return pages;
}

}  // namespace

void HostPlatform::AnsiToOemBytes(const uint8_t* source, uint8_t* destination, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) destination[i] = DefaultPages().ToOem(source[i]);
}

void HostPlatform::OemToAnsiBytes(const uint8_t* source, uint8_t* destination, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) destination[i] = DefaultPages().ToAnsi(source[i]);
}

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

void SetPlatform(HostPlatform* platform)
{
    installed = platform ? platform : &quietPlatform;
    ++PlatformGenerationCount;
}

unsigned PlatformGenerationCount = 0;
