// What the benchmarks against lrzsz share: a Pexla line over a pty, socat pty pairs, the peers
// started and stopped by PID, the folders and files of a case, the lrzsz-to-lrzsz baseline
// and the medians that the ratio is taken between.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "port_table.h"

namespace ptybench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPort = 50;
// Every sender is started first and the receiver a moment later, and the time runs from the
// receiver's start to its end: a receiver that solicits before its sender listens waits for
// its own retry (seconds), which would measure nothing but that.
constexpr auto kSenderHeadStart = std::chrono::milliseconds(300);

// A Pexla line over a pty: the bench's stand-in for a serial port.
class PtyLine : public pexla::PortLine {
public:
    explicit PtyLine(int fd) : fd_(fd) {}
    ~PtyLine() override { close(fd_); }
    int Receive(uint8_t* buffer, int max, int waitMs) override {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0) return 0;
        ssize_t n = read(fd_, buffer, static_cast<size_t>(max));
        return n < 0 ? -1 : static_cast<int>(n);
    }
    int Send(const uint8_t* data, int length) override {
        int sent = 0;
        while (sent < length) {
            ssize_t w = write(fd_, data + sent, static_cast<size_t>(length - sent));
            if (w <= 0) break;
            sent += static_cast<int>(w);
        }
        return sent;
    }
    int InQueue() override {
        int n = 0;
        return ioctl(fd_, FIONREAD, &n) == 0 ? n : 0;
    }
    int OutQueue() override { return 0; }
    void DiscardInput() override { tcflush(fd_, TCIFLUSH); }
    void DiscardOutput() override { tcflush(fd_, TCOFLUSH); }
    int Baud() override { return 115200; }

private:
    int fd_;
};

inline pid_t Spawn(const std::vector<std::string>& args, const fs::path& dir, const fs::path& tty) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(126);
        if (!tty.empty()) {
            int fd = open(tty.c_str(), O_RDWR | O_NOCTTY);
            if (fd < 0) _exit(126);
            dup2(fd, 0);
            dup2(fd, 1);
        }
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

inline bool Wait(pid_t pid, int seconds);

// Asks the process to end; one that does not within two seconds (a peer that answers the
// signal with a cancel written to a line nobody reads any more) is killed.
inline void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (Wait(pid, 2)) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

inline bool Wait(pid_t pid, int seconds) {
    for (int i = 0; i < seconds * 1000; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// A socat pty pair with the links a and b in dir; both ends are held open so that the pair
// outlives its users (a closed end would end socat, and a peer closing the other end would then
// wait half a minute for its last bytes to drain).
class PtyPair {
public:
    explicit PtyPair(const fs::path& dir) : a_(dir / "a.tty"), b_(dir / "b.tty") {
        fs::remove(a_);
        fs::remove(b_);
        pid_ = Spawn({"socat", "pty,raw,echo=0,link=" + a_.string(), "pty,raw,echo=0,link=" + b_.string()},
                     dir, {});
        for (int i = 0; i < 200 && !(fs::exists(a_) && fs::exists(b_)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        holdA_ = open(a_.c_str(), O_RDWR | O_NOCTTY);
        holdB_ = open(b_.c_str(), O_RDWR | O_NOCTTY);
    }
    ~PtyPair() {
        if (holdA_ >= 0) close(holdA_);
        if (holdB_ >= 0) close(holdB_);
        Stop(pid_);
    }
    const fs::path& a() const { return a_; }
    const fs::path& b() const { return b_; }

private:
    fs::path a_, b_;
    pid_t pid_ = -1;
    int holdA_ = -1;
    int holdB_ = -1;
};

struct Dirs {
    fs::path root, src, ours, peer;
};

inline Dirs MakeDirs(const std::string& name, const std::vector<std::pair<std::string, size_t>>& files) {
    Dirs d;
    d.root = fs::temp_directory_path() / ("ptybench-" + name);
    fs::remove_all(d.root);
    d.src = d.root / "src";
    fs::create_directories(d.src);
    uint32_t x = 7;
    for (auto& [file, size] : files) {
        std::vector<char> data(size);
        for (auto& c : data) c = static_cast<char>((x = x * 1103515245u + 12345) >> 16);
        std::ofstream(d.src / file, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
    }
    return d;
}

inline void Fresh(const fs::path& p) {
    fs::remove_all(p);
    fs::create_directories(p);
}

inline int OpenOurs(const fs::path& tty) {
    int fd = open(tty.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return pexla::AttachPort(kPort, std::make_unique<PtyLine>(fd), false);
}

inline double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// lrzsz on both ends: the sender on a, the receiver on b; time until the receiver ends.
inline double Baseline(const Dirs& d, const std::vector<std::string>& send, const std::vector<std::string>& recv) {
    fs::path peer = d.root / "baseline";
    Fresh(peer);
    PtyPair pair(d.root);
    pid_t s = Spawn(send, d.src, pair.a());
    std::this_thread::sleep_for(kSenderHeadStart);
    auto t0 = Clock::now();
    pid_t r = Spawn(recv, peer, pair.b());
    Wait(r, 120);
    double t = Seconds(t0);
    Stop(s);
    return t;
}

// A transfer stalls now and then for seconds (a peer waiting out its time-out): the ratio is
// taken between the medians of the iterations so that one stall does not decide it.
struct Samples {
    std::vector<double> ours, base;
    static double Median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
    void Add(benchmark::State& state, double o, double b) {
        ours.push_back(o);
        base.push_back(b);
        state.SetIterationTime(o);
        state.counters["ratio"] = Median(ours) / Median(base);
        state.counters["ours_s"] = Median(ours);
        state.counters["lrzsz_s"] = Median(base);
    }
};

}  // namespace ptybench
