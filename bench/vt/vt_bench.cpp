// The VT benchmark. Six kinds of host stream of about 16 MiB on an 80 x 24 screen, each fed to:
// termfeed as a whole process (start, reading the file, feeding, printing the screen); the
// test feed's core in this process (FeedEmulation in 4 KiB blocks, no process start, no
// printing); libvterm's screen layer and the headless xterm.js, each in its own harness and
// measured as their users run them. The four take turns for a few rounds, so that a busy machine
// slows them alike, and the best round of each is printed with the ratio of termfeed to the
// better reference. Then termfeed's peak memory for a 16 MiB and a 256 MiB stream on standard
// input, and the plain-text and cursor-motion streams through the console and Wyse interpreters
// beside the vt100. Run by scripts/bench from the Release tree.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "term_feed.h"
#include "vt_streams.h"

#ifndef VT_BENCH_VTERM
#error VT_BENCH_VTERM, VT_BENCH_TERMFEED, VT_BENCH_XTERM_SCRIPT and VT_BENCH_XTERM_MODULES name the programs
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kStreamSize = 16u << 20;
constexpr std::size_t kBlock = 4096;
constexpr double kMegabyte = 1e6;
constexpr int kRounds = 3;

// One pass of the stream through a fresh terminal of the emulation: MB/s.
double OnePass(const std::string& stream, int emulation)
{
    TermFeedSetup setup;
    setup.emulation = emulation;
    SetUpTerminal(setup);
    const auto start = Clock::now();
    FeedTerminal(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), kBlock);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(stream.size()) / seconds / kMegabyte;
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

struct ProcessRun {
    double seconds = 0;
    long peakKiB = 0;  // the child's largest resident set
    bool ok = false;
};

// Runs termfeed with its output to /dev/null: on `file`, or, when file is empty, on standard
// input fed `repeat` times with `stream` through a pipe.
ProcessRun RunTermfeed(const std::string& file, const std::string& stream = {}, int repeat = 0)
{
    ProcessRun run;
    int fds[2] = {-1, -1};
    if (file.empty() && pipe(fds) != 0) return run;
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0) return run;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        if (file.empty()) {
            dup2(fds[0], 0);
            close(fds[0]);
            close(fds[1]);
        }
        if (file.empty())
            execl(VT_BENCH_TERMFEED, "termfeed", static_cast<char*>(nullptr));
        else
            execl(VT_BENCH_TERMFEED, "termfeed", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (file.empty()) {
        close(fds[0]);
        for (int i = 0; i < repeat; ++i) {
            std::size_t at = 0;
            while (at < stream.size()) {
                const ssize_t n = write(fds[1], stream.data() + at, stream.size() - at);
                if (n <= 0) break;
                at += static_cast<std::size_t>(n);
            }
        }
        close(fds[1]);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

std::string Cell(double value) { return value > 0 ? std::to_string(static_cast<long>(value + 0.5)) : "n/a"; }

std::string WriteStream(const std::string& stream, const std::string& file)
{
    if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(stream.data(), 1, stream.size(), f);
        std::fclose(f);
    }
    return file;
}

void CompareReferences(const std::string& dir)
{
    std::printf("VT throughput, 80x24, MB/s, best of %d interleaved rounds (streams of %zu MiB)\n", kRounds,
                kStreamSize >> 20);
    std::printf("%-30s %10s %10s %10s %10s %14s\n", "stream", "termfeed", "in-process", "libvterm", "xterm.js",
                "termfeed/best");
    double worstRatio = 1e9;
    for (VtStream kind : kVtStreams) {
        const std::string stream = MakeVtStream(kind, kStreamSize);
        const std::string file = WriteStream(stream, dir + "/stream" + std::to_string(static_cast<int>(kind)) + ".bin");
        const double size = static_cast<double>(stream.size());
        double process = 0, ours = 0, vterm = 0, xterm = 0;
        for (int round = 0; round < kRounds; ++round) {
            const ProcessRun run = RunTermfeed(file);
            if (run.ok) process = std::max(process, size / run.seconds / kMegabyte);
            ours = std::max(ours, OnePass(stream, 1));
            vterm = std::max(vterm, ReferenceThroughput(std::string(VT_BENCH_VTERM) + " 24 80 " + file + " --bench 1"));
            xterm = std::max(xterm, ReferenceThroughput(std::string("node ") + VT_BENCH_XTERM_SCRIPT + " " +
                                                        VT_BENCH_XTERM_MODULES + " 24 80 " + file + " --bench 2"));
        }
        const double best = std::max(vterm, xterm);
        char ratio[32] = "n/a";
        if (best > 0 && process > 0) {
            std::snprintf(ratio, sizeof ratio, "%.2fx", process / best);
            worstRatio = std::min(worstRatio, process / best);
        }
        std::printf("%-30s %10s %10s %10s %10s %14s\n", VtStreamName(kind), Cell(process).c_str(), Cell(ours).c_str(),
                    Cell(vterm).c_str(), Cell(xterm).c_str(), ratio);
        std::fflush(stdout);
    }
    if (worstRatio < 1e9) std::printf("lowest ratio: %.2fx (target 2x)\n", worstRatio);
}

// termfeed's peak memory does not grow with its input: the same stream once and 16 times.
void PeakMemory()
{
    const std::string stream = MakeVtStream(VtStream::ScreenScroll, kStreamSize);
    const ProcessRun small = RunTermfeed({}, stream, 1);
    const ProcessRun large = RunTermfeed({}, stream, 16);
    std::printf("\ntermfeed peak memory on standard input: %zu MiB %ld KiB, %zu MiB %ld KiB%s\n", kStreamSize >> 20,
                small.peakKiB, (kStreamSize >> 20) * 16, large.peakKiB, small.ok && large.ok ? "" : " (a run failed)");
}

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
        double vt = 0, console = 0, wy60 = 0;
        for (int round = 0; round < 5; ++round) {
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
    std::signal(SIGPIPE, SIG_IGN);
    const std::string dir = "vt-streams";
    std::system(("mkdir -p " + dir).c_str());
    CompareReferences(dir);
    PeakMemory();
    CompareCharacterInterpreters();
    return 0;
}
