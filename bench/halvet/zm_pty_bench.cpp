// Halvet against lrzsz over the same pty pair (made with socat), natively: a 5 MB file by
// ZMODEM in both directions.
//
// Each iteration transfers the file twice: once from sz to rz (the baseline, until rz holds the
// whole file) and once with Halvet on one end (until our end has completed), stepped in a tight loop as the transfer driver steps it, with the driver's
// default send options (sub-packets of 512, an acknowledge every 1024 bytes, a window of 2048).
// The reported time is ours; the counter "ratio" is our time divided by the baseline's (below
// 1: faster than lrzsz).
#include <atomic>

#include "halvet.h"
#include "pty_peers.h"

namespace {

using namespace ptybench;

constexpr size_t kSize = 5 * 1024 * 1024;
const std::vector<std::pair<std::string, size_t>> kFiveMb = {{"five.bin", kSize}};

// sz to rz; time from the receiver's start until it holds the whole file. (Its end is not
// waited for: sz flushes its output right after its final "OO", which over a pty often drops
// it, and rz then waits twenty seconds for it.)
double LrzszBaseline(const Dirs& d, int window = 0) {
    fs::path peer = d.root / "baseline";
    Fresh(peer);
    PtyPair pair(d.root);
    std::vector<std::string> sz = {"sz", "-q", "five.bin"};
    if (window) sz.insert(sz.end(), {"-w", std::to_string(window)});
    pid_t s = Spawn(sz, d.src, pair.a());
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    pid_t r = Spawn({"rz", "-q"}, peer, pair.b());
    std::error_code ec;
    while (Seconds(t0) < 120 && fs::file_size(peer / "five.bin", ec) != kSize)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    double t = Seconds(t0);
    Stop(r);
    Stop(s);
    return t;
}

// Our receiver on a, sz on b; time from our start until our file is complete.
double OurReceive(const Dirs& d) {
    fs::path ours = d.root / "ours";
    Fresh(ours);
    PtyPair pair(d.root);
    fs::current_path(ours);
    int port = OpenOurs(pair.a());
    pid_t s = Spawn({"sz", "-q", "five.bin"}, d.src, pair.b());
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    int r = HvRecvStart(port, kHvZmodem, 30);
    double t = -1;
    while (r == kHvStarted || r == kHvGoOn) {
        r = HvRecvNext(port);
        int done = PxPortStatus(port)->filesCompleted;
        if (done == 1 && t < 0) t = Seconds(t0);
    }
    Stop(s);
    PxClosePort(port);
    return r == kHvComplete ? t : -1;
}

// Our sender on a with a window (0: none), rz on b; time from the receiver's start until it
// holds the whole file.
double OurSend(const Dirs& d, int window) {
    fs::path peer = d.root / "peer";
    Fresh(peer);
    PtyPair pair(d.root);
    fs::current_path(d.src);
    int port = OpenOurs(pair.a());
    if (HvSendStart(port, kHvManageOverwrite, kHvConvBinary, 0, kHvBatch, 512, window ? 1024 : 0, window, 100,
                    kHvZmodem, "five.bin") != kHvStarted)
        return -1;
    int r = HvSendNext(port);  // the request to begin goes out before the receiver starts
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    pid_t rz = Spawn({"rz", "-q"}, peer, pair.b());
    double t = -1;
    std::error_code ec;
    while (r == kHvGoOn) {
        r = HvSendNext(port);
        if (t < 0 && fs::file_size(peer / "five.bin", ec) == kSize) t = Seconds(t0);
    }
    Wait(rz, 10);
    Stop(rz);
    PxClosePort(port);
    return r == kHvComplete ? t : -1;
}

void BM_ReceiveFiveMbFromSz(benchmark::State& state) {
    Dirs d = MakeDirs("zm-recv", kFiveMb);
    Samples samples;
    for (auto _ : state) {
        double base = LrzszBaseline(d);
        double ours = OurReceive(d);
        if (ours < 0) state.SkipWithError("our receive failed");
        samples.Add(state, ours, base);
    }
}

// state.range(0): the window in bytes (2048 is the driver's default; 0 streams without one,
// as sz does by default); the baseline's sz is given the same window.
void BM_SendFiveMbToRz(benchmark::State& state) {
    Dirs d = MakeDirs("zm-send", kFiveMb);
    Samples samples;
    for (auto _ : state) {
        double base = LrzszBaseline(d, static_cast<int>(state.range(0)));
        double ours = OurSend(d, static_cast<int>(state.range(0)));
        if (ours < 0) state.SkipWithError("our send failed");
        samples.Add(state, ours, base);
    }
}

}  // namespace

BENCHMARK(BM_ReceiveFiveMbFromSz)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendFiveMbToRz)->Arg(2048)->Arg(0)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
