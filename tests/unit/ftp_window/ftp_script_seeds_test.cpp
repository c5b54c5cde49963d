// The script fuzz target's seeds, run once each as a unit test (the fuzz tree runs them for
// longer with scripts/fuzz).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

#ifdef _WIN32
const std::string seedFolder = std::string("Z:") + TOLVI_SCRIPT_SEEDS;  // Wine's view of the tree
#else
const std::string seedFolder = TOLVI_SCRIPT_SEEDS;
#endif

TEST(ScriptFuzzSeeds, EverySeedRunsClean)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(seedFolder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0)
            << entry.path();
        ++count;
    }
    EXPECT_GE(count, 4);
}

}  // namespace
