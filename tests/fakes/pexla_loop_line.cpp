#include "pexla_loop_line.h"

#include <deque>
#include <fstream>
#include <map>
#include <mutex>

#include "pexla.h"

namespace looptest {
namespace {

struct End {
    std::deque<uint8_t> inbox;
    std::vector<uint8_t> written;
    std::function<void(std::vector<uint8_t>&)> tamper;
};

std::mutex lock;
std::map<int, End> ends;

int Peer(int port) { return port == kPortA ? kPortB : kPortA; }

int ReadFn(int port, char* buffer, int length) {
    std::lock_guard<std::mutex> hold(lock);
    auto& in = ends[port].inbox;
    int n = 0;
    while (n < length && !in.empty()) {
        buffer[n++] = static_cast<char>(in.front());
        in.pop_front();
    }
    return n;
}

int WriteFn(int port, const char* bytes, int length) {
    std::lock_guard<std::mutex> hold(lock);
    std::vector<uint8_t> data(bytes, bytes + length);
    End& self = ends[port];
    self.written.insert(self.written.end(), data.begin(), data.end());
    if (self.tamper) self.tamper(data);
    auto& in = ends[Peer(port)].inbox;
    in.insert(in.end(), data.begin(), data.end());
    return length;
}

int InCountFn(int port) {
    std::lock_guard<std::mutex> hold(lock);
    return static_cast<int>(ends[port].inbox.size());
}

int OutCountFn(int) { return 0; }

void FlushInFn(int port) {
    std::lock_guard<std::mutex> hold(lock);
    ends[port].inbox.clear();
}

void FlushOutFn(int) {}

void Open(int index) {
    int port = PxOpenVirtual(index, 0x3000, 0x3000);
    PxSetReadFn(port, ReadFn);
    PxSetWriteFn(port, WriteFn);
    PxSetInCountFn(port, InCountFn);
    PxSetOutCountFn(port, OutCountFn);
    PxSetFlushInFn(port, FlushInFn);
    PxSetFlushOutFn(port, FlushOutFn);
}

}  // namespace

LoopLine::LoopLine(bool fakeClock) {
    if (fakeClock) pexla::SetClock(&clock);
    {
        std::lock_guard<std::mutex> hold(lock);
        ends.clear();
    }
    Open(kPortA - 90);
    Open(kPortB - 90);
}

LoopLine::~LoopLine() {
    PxCloseVirtual(kPortA);
    PxCloseVirtual(kPortB);
    pexla::SetClock(nullptr);
    std::lock_guard<std::mutex> hold(lock);
    ends.clear();
}

std::vector<uint8_t> LoopLine::Take(int port) {
    std::lock_guard<std::mutex> hold(lock);
    auto& in = ends[port].inbox;
    std::vector<uint8_t> out(in.begin(), in.end());
    in.clear();
    return out;
}

void LoopLine::Put(int port, const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> hold(lock);
    auto& in = ends[port].inbox;
    in.insert(in.end(), bytes.begin(), bytes.end());
}

const std::vector<uint8_t>& LoopLine::Written(int port) {
    std::lock_guard<std::mutex> hold(lock);
    return ends[port].written;
}

void LoopLine::SetTamper(int port, std::function<void(std::vector<uint8_t>&)> tamper) {
    std::lock_guard<std::mutex> hold(lock);
    ends[port].tamper = std::move(tamper);
}

Ticker::Ticker(FakeClock& clock)
    : thread_([this, &clock] {
          while (!stop_) {
              clock.now_ += 1;
              std::this_thread::sleep_for(std::chrono::microseconds(20));
          }
      }) {}

Ticker::~Ticker() {
    stop_ = true;
    thread_.join();
}

std::filesystem::path FreshDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("looptest-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void WriteFile(const std::filesystem::path& p, const std::vector<uint8_t>& data) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Pattern(size_t n, uint32_t seed) {
    std::vector<uint8_t> v(n);
    uint32_t x = seed * 2654435761u + 12345;
    for (auto& b : v) {
        x = x * 1103515245u + 12345;
        b = static_cast<uint8_t>(x >> 16);
    }
    return v;
}

}  // namespace looptest
