// The progress display of a running transfer: the percentage, the speed and time texts, the bar's
// text and width, and the rule that keeps fast transfers from spending their time drawing.
#pragma once

#include <cstdint>
#include <string>

// The percentage of `done` in `total` (0 when the total is 0), exact for any 64-bit sizes.
int ProgressPercent(std::int64_t done, std::int64_t total);
// "h:mm:ss" when there are hours, else "m:ss".
std::string ProgressTimeText(long long seconds);

class FtpProgress {
public:
    // Starts a new transfer display: 0 of `total`, named `name`.
    void Reset(std::int64_t total, const std::string& name);
    // A progress report at tick `nowMs`; the name replaces the shown one when not null. False
    // when the percentage did not change (and is not 0): nothing needs drawing.
    bool Update(std::int64_t done, std::int64_t total, const char* name, std::uint64_t nowMs);
    // Whether this update draws the bar: every 30th, and always at 100 % or below 100 Kb/s.
    // Percent 0 (a cleared bar) restarts the count.
    bool DrawThisTime();

    std::int64_t Done() const { return done_; }
    std::int64_t Total() const { return total_; }
    int Percent() const { return percent_; }
    double Speed() const { return speed_; }
    const std::string& Name() const { return name_; }
    const std::string& SpeedText() const { return speedText_; }
    // "    name  50 % (500/1000) 1.00 Kb/s  0:01    ".
    std::string BarText() const;
    // The filled part of a bar `width` pixels wide.
    int FilledWidth(int width) const;

private:
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    int percent_ = 0;
    std::uint64_t startMs_ = 0;
    double speed_ = 0;
    std::string name_;
    std::string speedText_;
    int redraw_ = 30;
};
