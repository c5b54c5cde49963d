// Our X/YMODEM engines against lrzsz over the same pty pair (made with socat), natively.
//
// Each case transfers the same files twice per iteration: once between two lrzsz programs
// (the baseline) and once with our engine on one end (stepped in a tight loop, as the
// whole-transfer calls do). The reported time is ours; the counter
// "ratio" is our time divided by the baseline's (below 1: faster than lrzsz).
//
// Note on the send cases: lrzsz's XMODEM receiver flushes its input at every block (seen with
// strace: one TCIFLUSH per block), so a block that follows the ACK quickly can be thrown away
// and the receiver then waits out its time-out of several seconds before its NAK. The faster
// the sender answers an ACK, the more often it loses that race.
#include <atomic>

#include "kestrix.h"
#include "pty_peers.h"

namespace {

using namespace ptybench;

// Our receiver on a, lrzsz's sender on b.
double OurReceive(const Dirs& d, const std::vector<std::string>& send, const char* mode, const char* target) {
    fs::path ours = d.root / "ours";
    Fresh(ours);
    PtyPair pair(d.root);
    fs::current_path(ours);
    int port = OpenOurs(pair.a());
    ComSetXYPadchar(port, 0x1A);
    if (const char* log = std::getenv("XY_BENCH_LOG")) ComSetXYDebugFile(port, log);
    pid_t s = Spawn(send, d.src, pair.b());
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    int r = ComRXY_Start(port, target, mode) == 1 ? kXYGoOn : kXYFailed;
    while (r == kXYGoOn) r = ComRXY_Next(port, mode);
    double t = Seconds(t0);
    Stop(s);
    PxClosePort(port);
    return r == kXYComplete ? t : -1;
}

// Our sender on a, lrzsz's receiver on b; time until the receiver ends (lrzsz's receivers may
// leave the last ACK out, so our sender is stopped once the receiver has its files).
double OurSend(const Dirs& d, const std::vector<std::string>& recv, const char* mode, const char* files) {
    fs::path peer = d.root / "peer";
    Fresh(peer);
    PtyPair pair(d.root);
    fs::current_path(d.src);
    int port = OpenOurs(pair.a());
    ComSetXYPadchar(port, 0x1A);
    if (const char* log = std::getenv("XY_BENCH_LOG")) ComSetXYDebugFile(port, log);
    if (ComSXY_Start(port, files, mode) != 1) return -1;
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    pid_t r = Spawn(recv, peer, pair.b());
    std::atomic<bool> stop{false};
    std::thread sender([&] {
        int s = kXYGoOn;
        while (s == kXYGoOn && !stop) s = ComSXY_Next(port, mode);
        if (s == kXYGoOn) ComRXY_Abort(port);
    });
    Wait(r, 120);
    double t = Seconds(t0);
    stop = true;
    sender.join();
    PxClosePort(port);
    return t;
}

const std::vector<std::pair<std::string, size_t>> kOne = {{"data.bin", 256 * 1024}};
const std::vector<std::pair<std::string, size_t>> kBatch = {
    {"a.bin", 300000}, {"b.bin", 1}, {"c.bin", 500000}, {"d.bin", 1029}};

void BM_ReceiveXmodemCrcFromSx(benchmark::State& state) {
    Dirs d = MakeDirs("recv-x", kOne);
    Samples samples;
    for (auto _ : state) {
        double base = Baseline(d, {"sx", "-q", "data.bin"}, {"rx", "-q", "-c", "data.bin"});
        double ours = OurReceive(d, {"sx", "-q", "data.bin"}, "C", (d.root / "ours" / "data.bin").c_str());
        if (ours < 0) state.SkipWithError("our receive failed");
        samples.Add(state, ours, base);
    }
}

void BM_ReceiveYmodemBatchFromSb(benchmark::State& state) {
    Dirs d = MakeDirs("recv-t", kBatch);
    Samples samples;
    for (auto _ : state) {
        std::vector<std::string> sb = {"sb", "-q", "-k", "a.bin", "b.bin", "c.bin", "d.bin"};
        double base = Baseline(d, sb, {"rb", "-q"});
        double ours = OurReceive(d, sb, "T", "");
        if (ours < 0) state.SkipWithError("our receive failed");
        samples.Add(state, ours, base);
    }
}

void BM_SendXmodemCrcToRx(benchmark::State& state) {
    Dirs d = MakeDirs("send-x", kOne);
    Samples samples;
    for (auto _ : state) {
        double base = Baseline(d, {"sx", "-q", "data.bin"}, {"rx", "-q", "-c", "data.bin"});
        double ours = OurSend(d, {"rx", "-q", "-c", "data.bin"}, "C", "data.bin");
        if (ours < 0) state.SkipWithError("our send failed");
        samples.Add(state, ours, base);
    }
}

void BM_SendYmodemBatchToRb(benchmark::State& state) {
    Dirs d = MakeDirs("send-t", kBatch);
    Samples samples;
    for (auto _ : state) {
        double base = Baseline(d, {"sb", "-q", "-k", "a.bin", "b.bin", "c.bin", "d.bin"}, {"rb", "-q"});
        double ours = OurSend(d, {"rb", "-q"}, "T", "a.bin b.bin c.bin d.bin");
        if (ours < 0) state.SkipWithError("our send failed");
        samples.Add(state, ours, base);
    }
}

}  // namespace

BENCHMARK(BM_ReceiveXmodemCrcFromSx)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiveYmodemBatchFromSb)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendXmodemCrcToRx)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendYmodemBatchToRb)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
