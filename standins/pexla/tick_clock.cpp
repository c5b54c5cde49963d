#include "tick_clock.h"

#include <chrono>
#include <thread>

namespace pexla {
namespace {

class SteadyClock : public TickClock {
public:
    uint32_t Now() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

SteadyClock steadyClock;
TickClock* installed = &steadyClock;

}  // namespace

TickClock& Clock() { return *installed; }
void SetClock(TickClock* clock) { installed = clock ? clock : &steadyClock; }

}  // namespace pexla
