// 8-bit controls against plain text: 5 MB of host text with 5 % of its bytes C1 controls (IND,
// NEL, HTS and CSI-started cursor moves as single 8-bit bytes) and the same text without them,
// fed through the vt220 in 4 KiB blocks. The view port counts the repaint reports (caret hidden,
// rectangle invalidated, caret shown) and spends on each what a window call costs at the least,
// so that a report per control shows in the time as it does in the program. Printed: the time of
// each stream, their ratio and the reports per block.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "engine/view_port.h"
#include "term_feed.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kStreamSize = 5'000'000;
constexpr std::size_t kBlock = 4096;
constexpr int kRounds = 3;

// One window call: a small amount of real work the compiler cannot drop.
volatile unsigned sink = 0;
void WindowCall()
{
    for (int i = 0; i < 200; ++i) sink = sink + static_cast<unsigned>(i);
}

class CountingPort : public ViewPort {
public:
    void Invalidate(ViewWindow, const DirtyRect&, bool) override { WindowCall(); }
    void HideCaret(ViewWindow) override
    {
        ++reports;
        WindowCall();
    }
    void ShowCaret(ViewWindow) override { WindowCall(); }
    long reports = 0;
};

// The text with its 8-bit controls.
std::string ControlStream()
{
    std::mt19937 random(1);
    std::string text;
    const unsigned char controls[] = {0x84, 0x85, 0x88, 0x9B};
    while (text.size() < kStreamSize) {
        const unsigned r = random() % 100;
        if (r < 5) {
            const unsigned char control = controls[random() % 4];
            text += static_cast<char>(control);
            if (control == 0x9B) text += "2C";  // CSI 2 C: two columns right
        } else if (r < 7) {
            text += "\r\n";
        } else {
            text += static_cast<char>(' ' + random() % 95);
        }
    }
    return text;
}

// The same text without them.
std::string WithoutControls(const std::string& stream)
{
    std::string text;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(stream[i]);
        if (b == 0x9B) i += 2;
        else if (b < 0x80) text += stream[i];
    }
    return text;
}

struct Result {
    double seconds;
    long reports;
};

Result Feed(const std::string& stream)
{
    Result best{1e9, 0};
    for (int round = 0; round < kRounds; ++round) {
        TermFeedSetup setup;
        setup.emulation = 2;
        SetUpTerminal(setup);
        CountingPort port;
        SetViewPort(&port);
        const auto start = Clock::now();
        FeedTerminal(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), kBlock);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        SetViewPort(nullptr);
        if (seconds < best.seconds) best = {seconds, port.reports};
    }
    return best;
}

}  // namespace

int main()
{
    const std::string controls = ControlStream();
    const std::string plain = WithoutControls(controls);
    const Result p = Feed(plain);
    const Result c = Feed(controls);
    const double blocksPlain = static_cast<double>((plain.size() + kBlock - 1) / kBlock);
    const double blocksC1 = static_cast<double>((controls.size() + kBlock - 1) / kBlock);
    std::printf("vt220, %zu KiB blocks\n", kBlock / 1024);
    std::printf("  plain text      %6.2f MB  %7.3f s  %6.2f repaint reports per block\n", plain.size() / 1e6,
                p.seconds, p.reports / blocksPlain);
    std::printf("  with 5%% C1      %6.2f MB  %7.3f s  %6.2f repaint reports per block\n", controls.size() / 1e6,
                c.seconds, c.reports / blocksC1);
    std::printf("  ratio (C1 / plain) %.2f\n", c.seconds / p.seconds);
    return 0;
}
