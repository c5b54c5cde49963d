#include "ftp_progress.h"

#include <cstdio>

int ProgressPercent(std::int64_t done, std::int64_t total)
{
    if (total <= 0 || done <= 0)
        return 0;
    if (done >= total)
        return 100;
    return static_cast<int>(static_cast<unsigned __int128>(done) * 100 / static_cast<unsigned __int128>(total));
}

std::string ProgressTimeText(long long seconds)
{
    if (seconds < 0)
        seconds = 0;
    const long long hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
    char text[64];
    if (hours > 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, rest);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", minutes, rest);
    return text;
}

std::string ProgressRateText(std::int64_t bytes, std::uint64_t elapsedMs)
{
    if (elapsedMs == 0)
        elapsedMs = 1;
    // Bytes per millisecond are kilobytes per second.
    const double kilobytes = static_cast<double>(bytes) / static_cast<double>(elapsedMs);
    char text[64];
    if (kilobytes >= 10000.0)
        std::snprintf(text, sizeof text, "%.2f Mb/s", kilobytes / 1000.0);
    else
        std::snprintf(text, sizeof text, "%.2f Kb/s", kilobytes);
    return text;
}

void FtpProgress::Reset(std::int64_t total, const std::string& name)
{
    done_ = 0;
    total_ = total;
    percent_ = 0;
    name_ = name;
    speedText_.clear();
    timeText_.clear();
    speed_ = 0;
    shownMs_ = 0;
}

bool FtpProgress::Update(std::int64_t done, std::int64_t total, const char* name, std::uint64_t nowMs)
{
    if (name != nullptr)
        name_ = name;
    const std::int64_t before = done_;
    done_ = done;
    if (total_ == 0 && total > 0)
        total_ = total;
    if (total_ > 0 && done_ > total_)
        total_ = done_;  // more arrived than announced (line ends): the bar stays full
    if (done_ == 0)
        startMs_ = nowMs;
    if (total_ > 0) {
        const int percent = ProgressPercent(done_, total_);
        if (percent == percent_ && percent != 0)
            return false;
        percent_ = percent;
    } else if (done_ != 0 && before != 0 && (done_ == before || nowMs - shownMs_ < kUnknownTotalEveryMs)) {
        // No size announced: no percentage, the count and the rate are shown now and then.
        return false;
    }
    shownMs_ = nowMs;
    Measure(nowMs);
    return true;
}

void FtpProgress::Finish(std::int64_t done, std::uint64_t nowMs)
{
    done_ = done;
    Measure(nowMs);
}

void FtpProgress::Measure(std::uint64_t nowMs)
{
    const std::uint64_t elapsedMs = nowMs > startMs_ ? nowMs - startMs_ : 1;
    speed_ = static_cast<double>(done_) / static_cast<double>(elapsedMs);
    speedText_ = ProgressRateText(done_, elapsedMs);
    long long seconds = static_cast<long long>(elapsedMs / 1000);
    if (total_ <= 0 || done_ <= 0) {
        timeText_ = ProgressTimeText(seconds) + " elapsed";
        return;
    }
    if (seconds < 1)
        seconds = 1;
    long long rate = done_ / seconds;
    if (rate < 1)
        rate = 1;
    timeText_ = ProgressTimeText((total_ - done_) / rate) + " left";
}

bool FtpProgress::DrawThisTime()
{
    if (percent_ == 0) {
        redraw_ = 30;
        return true;
    }
    const bool draw = redraw_ == 1 || percent_ == 100 || speed_ < 100.0;
    if (--redraw_ <= 0)
        redraw_ = 30;
    return draw;
}

std::string FtpProgress::BarText() const
{
    char numbers[96];
    if (total_ > 0)
        std::snprintf(numbers, sizeof numbers, "  %d %% (%lld/%lld) ", percent_, static_cast<long long>(done_),
                      static_cast<long long>(total_));
    else
        std::snprintf(numbers, sizeof numbers, "  %lld bytes  ", static_cast<long long>(done_));
    return "    " + name_ + numbers + speedText_ + "  " + timeText_ + "    ";
}

int FtpProgress::FilledWidth(int width) const
{
    if (percent_ >= 100)
        return width;
    return width * percent_ / 100;
}
