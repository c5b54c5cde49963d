// termfeed: feeds a byte stream to the terminal engine and prints the final screen.
//
//   termfeed [--emulation N] [--cols C] [--rows R] [--block B] [--replies FILE] [--planes]
//            [--host-colours] [FILE]
//
// Reads FILE (standard input when not given) block by block, feeding each block of B bytes
// (default 64 KiB) through FeedEmulation as it arrives, so that memory does not grow with the
// input, to a C x R terminal of emulation code N (default 1, 80 x 24), then prints
// R lines of C characters, the line "cursor ROW COL" (0-based) and, with --planes, the
// foreground, background and flag planes as hex rows. --replies writes every byte sent to the
// host to FILE. --host-colours lets the host choose the colours (UseHostColor) instead of the
// attribute colours. Exit 0, or 2 with a one-line message for bad arguments or an unreadable file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "term_feed.h"

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "termfeed: %s\n", message.c_str());
    return 2;
}

bool Number(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == 0 && value >= low && value <= high;
}

constexpr long kDefaultBlock = 65536;

// Feeds the input to the terminal in blocks of `block` bytes as they are read (the last one may
// be shorter). False when reading fails.
bool FeedStream(std::FILE* in, std::size_t block)
{
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[block]);
    std::size_t n;
    while ((n = std::fread(buffer.get(), 1, block, in)) > 0) FeedTerminal(buffer.get(), n, block);
    return !std::ferror(in);
}

}  // namespace

int main(int argc, char** argv)
{
    TermFeedSetup setup;
    long block = kDefaultBlock;
    const char* repliesFile = nullptr;
    const char* inputFile = nullptr;
    bool planes = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        auto numberArgument = [&](long low, long high) {
            return i + 1 < argc && Number(argv[++i], low, high, value);
        };
        if (arg == "--emulation") {
            if (!numberArgument(0, 99)) return Fail("--emulation needs an emulation code");
            setup.emulation = static_cast<int>(value);
        } else if (arg == "--cols") {
            if (!numberArgument(1, 1000)) return Fail("--cols needs 80 or 132");
            setup.cols = static_cast<int>(value);
        } else if (arg == "--rows") {
            if (!numberArgument(1, 1000)) return Fail("--rows needs a row count");
            setup.rows = static_cast<int>(value);
        } else if (arg == "--block") {
            if (!numberArgument(1, 1L << 30)) return Fail("--block needs a positive byte count");
            block = value;
        } else if (arg == "--replies") {
            if (i + 1 >= argc) return Fail("--replies needs a file name");
            repliesFile = argv[++i];
        } else if (arg == "--planes") {
            planes = true;
        } else if (arg == "--host-colours") {
            setup.hostColours = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail("unknown option " + arg);
        } else if (inputFile) {
            return Fail("only one input file");
        } else {
            inputFile = argv[i];
        }
    }

    std::FILE* in = inputFile ? std::fopen(inputFile, "rb") : stdin;
    if (!in) return Fail(std::string("cannot read ") + inputFile);
    if (!SetUpTerminal(setup)) {
        if (inputFile) std::fclose(in);
        return Fail("the screen must be 80 or 132 columns and fit the planes");
    }
    const bool read = FeedStream(in, static_cast<std::size_t>(block));
    if (inputFile) std::fclose(in);
    if (!read) return Fail(std::string("cannot read ") + (inputFile ? inputFile : "standard input"));

    if (repliesFile) {
        std::FILE* out = std::fopen(repliesFile, "wb");
        if (!out) return Fail(std::string("cannot write ") + repliesFile);
        const std::string& replies = TerminalReplies();
        std::fwrite(replies.data(), 1, replies.size(), out);
        std::fclose(out);
    }
    const std::string screen = TerminalScreenText(planes);
    std::fwrite(screen.data(), 1, screen.size(), stdout);
    return 0;
}
