// Two Pexla virtual ports wired back to back in memory, a clock whose pauses advance time at
// once, and file helpers: the test line of the transfer libraries' unit tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tick_clock.h"

namespace looptest {

class FakeClock : public pexla::TickClock {
public:
    uint32_t Now() override { return now_; }
    void Sleep(int ms) override { now_ += static_cast<uint32_t>(ms); }
    std::atomic<uint32_t> now_{1000};
};

// Moves a fake clock on by a millisecond about every 20 microseconds while it lives, for calls
// that loop without pausing.
class Ticker {
public:
    explicit Ticker(FakeClock& clock);
    ~Ticker();

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Port numbers of the two ends (virtual indexes 1 and 2).
constexpr int kPortA = 91;
constexpr int kPortB = 92;

// Opens both ends with the fake clock (or the real one) and closes them at the end.
class LoopLine {
public:
    explicit LoopLine(bool fakeClock = true);
    ~LoopLine();
    LoopLine(const LoopLine&) = delete;
    LoopLine& operator=(const LoopLine&) = delete;

    // Bytes waiting at a port, and bytes put there as if the other side had sent them.
    std::vector<uint8_t> Take(int port);
    void Put(int port, const std::vector<uint8_t>& bytes);
    // Everything written by a port so far (a log that Take does not empty).
    const std::vector<uint8_t>& Written(int port);
    // Called with each write of the port; may change or drop the bytes before delivery.
    void SetTamper(int port, std::function<void(std::vector<uint8_t>&)> tamper);

    FakeClock clock;
};

// A fresh empty folder under the system's temporary folder.
std::filesystem::path FreshDir(const std::string& name);
void WriteFile(const std::filesystem::path& p, const std::vector<uint8_t>& data);
std::vector<uint8_t> ReadFile(const std::filesystem::path& p);
// Deterministic test data of n bytes.
std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1);

}  // namespace looptest
