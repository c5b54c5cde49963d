// The DDE server's execute and "gettxt" parsers and the client's trigger matcher on arbitrary
// data. The first byte picks the screen size checked by "gettxt"; the data is a heap block of its
// exact size, so a read beyond it is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "connections/dde/dde_commands.h"
#include "connections/dde/gettxt.h"
#include "connections/dde/look_for.h"

namespace {

struct Counter : CAction {
    int Run() override { return ++runs; }
    int runs = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int maxCols = (data[0] & 1) ? 132 : 80;
    const int maxRows = 1 + (data[0] >> 1) % 64;
    std::vector<uint8_t> block(data + 1, data + size);

    DdeExecuteCommand command = ParseDdeExecute(block.data(), block.size());
    const std::string& params = command.command == DdeCommand::GetTxt
                                    ? command.text
                                    : std::string(block.begin(), block.end());
    unsigned values[kGettxtMaxParams];
    int count = ParseGettxtParams(params.data(), params.size(), values);
    if (count < 0 || count > kGettxtMaxParams) __builtin_trap();
    ScreenTextRequest request;
    if (MakeGettxtRequest(values, count, maxCols, maxRows, request)) {
        if (request.left < 0 || request.top < 0 || request.width < 1 || request.height < 1 ||
            request.left + request.width > maxCols || request.top + request.height > maxRows)
            __builtin_trap();
    }

    // The first up-to-8 bytes are a pattern, the rest is the stream.
    std::size_t patternLength = block.size() < 8 ? block.size() : 8;
    std::string pattern(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(patternLength));
    pattern = pattern.c_str();
    Counter* counter = new Counter;
    CLookFor trigger(pattern.c_str(), counter);
    for (std::size_t i = patternLength; i < block.size(); ++i) {
        trigger.Feed(block[i]);
        if (trigger.MatchPosition() < 0 || trigger.MatchPosition() >= static_cast<int>(pattern.size() + 1))
            __builtin_trap();
    }
    return 0;
}
