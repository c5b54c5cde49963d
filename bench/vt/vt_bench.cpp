// The VT benchmark: throughput of the test feed's core (FeedEmulation in 4 KiB blocks on an
// 80 x 24 screen, no process start, no printing) on six kinds of host stream of about 8 MiB,
// beside the same streams through libvterm and the headless xterm.js, with the ratio of ours to
// the better of the two; then the plain-text and cursor-motion streams through the console and
// Wyse interpreters beside the vt100. Run by scripts/bench from the Release tree.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "term_feed.h"
#include "vt_streams.h"

#ifndef VT_BENCH_VTERM
#error VT_BENCH_VTERM, VT_BENCH_XTERM_SCRIPT and VT_BENCH_XTERM_MODULES name the references
#endif

namespace {

constexpr std::size_t kStreamSize = 8u << 20;
constexpr std::size_t kBlock = 4096;
constexpr double kMegabyte = 1e6;

// One pass of the stream through a fresh terminal of the emulation: MB/s.
double OnePass(const std::string& stream, int emulation)
{
    using Clock = std::chrono::steady_clock;
    TermFeedSetup setup;
    setup.emulation = emulation;
    SetUpTerminal(setup);
    const auto start = Clock::now();
    FeedTerminal(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), kBlock);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(stream.size()) / seconds / kMegabyte;
}

double OurThroughput(const std::string& stream)
{
    double best = 0;
    for (int round = 0; round < 5; ++round) best = std::max(best, OnePass(stream, 1));
    return best;
}

// A reference's throughput printed by its harness (MiB/s), or 0 when it could not run.
double ReferenceThroughput(const std::string& command)
{
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return 0;
    double value = 0;
    if (std::fscanf(pipe, "%lf", &value) != 1) value = 0;
    pclose(pipe);
    return value * 1048576.0 / kMegabyte;
}

std::string Cell(double value) { return value > 0 ? std::to_string(static_cast<long>(value + 0.5)) : "n/a"; }

// The console (code 4) and Wyse 60 (code 9) interpreters on the same screens as the vt100, each
// with its own cursor addressing. The rate is of the content: the vt100 form's bytes per second.
void CompareCharacterInterpreters()
{
    std::printf("\nConsole and Wyse interpreters on the same content, 80x24, MB/s of the vt100 form\n");
    std::printf("%-30s %10s %10s %10s %14s %14s\n", "stream", "vt100", "console", "wyse60", "console / vt",
                "wyse / vt");
    for (VtStream kind : {VtStream::PlainText, VtStream::CursorMotion}) {
        std::size_t rounds = 0;
        const std::string csi = MakeVtStream(kind, kStreamSize, Addressing::Csi, &rounds);
        const std::string wyse = MakeVtStream(kind, kStreamSize, Addressing::Wyse, &rounds);
        const double scale = static_cast<double>(csi.size()) / static_cast<double>(wyse.size());
        // The three take turns, so that a busy machine slows them alike; the best pass of each.
        double vt = 0, console = 0, wy60 = 0;
        for (int round = 0; round < 7; ++round) {
            vt = std::max(vt, OnePass(csi, 1));
            console = std::max(console, OnePass(csi, 4));
            wy60 = std::max(wy60, OnePass(wyse, 9) * scale);
        }
        std::printf("%-30s %10s %10s %10s %13.2fx %13.2fx\n", VtStreamName(kind), Cell(vt).c_str(), Cell(console).c_str(),
                    Cell(wy60).c_str(), console / vt, wy60 / vt);
        std::fflush(stdout);
    }
}

}  // namespace

int main()
{
    const std::string dir = "vt-streams";
    std::system(("mkdir -p " + dir).c_str());
    std::printf("VT throughput, 80x24, MB/s (streams of %zu MiB, ours in %zu-byte blocks)\n", kStreamSize >> 20, kBlock);
    std::printf("%-30s %10s %10s %10s %14s\n", "stream", "ours", "libvterm", "xterm.js", "ours / best");
    double worstRatio = 1e9;
    for (VtStream kind : kVtStreams) {
        const std::string stream = MakeVtStream(kind, kStreamSize);
        const std::string file = dir + "/stream" + std::to_string(static_cast<int>(kind)) + ".bin";
        if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
            std::fwrite(stream.data(), 1, stream.size(), f);
            std::fclose(f);
        }
        const double ours = OurThroughput(stream);
        const double vterm = ReferenceThroughput(std::string(VT_BENCH_VTERM) + " 24 80 " + file + " --bench 5");
        const double xterm = ReferenceThroughput(std::string("node ") + VT_BENCH_XTERM_SCRIPT + " " +
                                                 VT_BENCH_XTERM_MODULES + " 24 80 " + file + " --bench 3");
        const double best = std::max(vterm, xterm);
        char ratio[32] = "n/a";
        if (best > 0) {
            std::snprintf(ratio, sizeof ratio, "%.2fx", ours / best);
            worstRatio = std::min(worstRatio, ours / best);
        }
        std::printf("%-30s %10s %10s %10s %14s\n", VtStreamName(kind), Cell(ours).c_str(), Cell(vterm).c_str(),
                    Cell(xterm).c_str(), ratio);
        std::fflush(stdout);
    }
    if (worstRatio < 1e9) std::printf("lowest ratio: %.2fx (target 2x)\n", worstRatio);
    CompareCharacterInterpreters();
    return 0;
}
