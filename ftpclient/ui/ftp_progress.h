// The progress display of a running transfer: the percentage, the speed and time texts, the bar's
// text and width, and the rule that keeps fast transfers from spending their time drawing.
#pragma once

#include <cstdint>
#include <string>

// The percentage of `done` in `total` (0 when the total is 0), exact for any 64-bit sizes.
int ProgressPercent(std::int64_t done, std::int64_t total);
// "h:mm:ss" when there are hours, else "m:ss".
std::string ProgressTimeText(long long seconds);

// A rate: "12.34 Kb/s" (kilobytes a second), from 10000 Kb/s on "12.34 Mb/s".
std::string ProgressRateText(std::int64_t bytes, std::uint64_t elapsedMs);

class FtpProgress {
public:
    // Starts a new transfer display: 0 of `total`, named `name`.
    void Reset(std::int64_t total, const std::string& name);
    // A progress report at tick `nowMs`; the name replaces the shown one when not null; `total`
    // 0 is a size the server did not announce. False when nothing needs drawing: the percentage
    // did not change (and is not 0), or, without a total, less than kUnknownTotalEveryMs passed.
    bool Update(std::int64_t done, std::int64_t total, const char* name, std::uint64_t nowMs);
    // The end of the transfer: the rate over the whole transfer.
    void Finish(std::int64_t done, std::uint64_t nowMs);
    static constexpr std::uint64_t kUnknownTotalEveryMs = 250;
    // Whether this update draws the bar: every 30th, and always at 100 % or below 100 Kb/s.
    // Percent 0 (a cleared bar) restarts the count.
    bool DrawThisTime();

    std::int64_t Done() const { return done_; }
    std::int64_t Total() const { return total_; }
    int Percent() const { return percent_; }
    double Speed() const { return speed_; }
    const std::string& Name() const { return name_; }
    // The rate ("1.00 Kb/s") and the time: what is left with a total ("0:01 left"), else what
    // has passed ("0:05 elapsed").
    const std::string& SpeedText() const { return speedText_; }
    const std::string& TimeText() const { return timeText_; }
    bool KnownTotal() const { return total_ > 0; }
    // "    name  50 % (500/1000) 1.00 Kb/s  0:01 left    ", without a total
    // "    name  4096 bytes  1.00 Kb/s  0:04 elapsed    ".
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
    void Measure(std::uint64_t nowMs);

    std::string speedText_;
    std::string timeText_;
    std::uint64_t shownMs_ = 0;
    int redraw_ = 30;
};
