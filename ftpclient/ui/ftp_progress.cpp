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

void FtpProgress::Reset(std::int64_t total, const std::string& name)
{
    done_ = 0;
    total_ = total;
    percent_ = 0;
    name_ = name;
    speedText_.clear();
    speed_ = 0;
}

bool FtpProgress::Update(std::int64_t done, std::int64_t total, const char* name, std::uint64_t nowMs)
{
    if (name != nullptr)
        name_ = name;
    done_ = done;
    if (total < done)
        total_ = done;
    else if (total_ == 0)
        total_ = total;
    const int percent = ProgressPercent(done_, total_);
    if (percent == percent_ && percent != 0)
        return false;
    percent_ = percent;
    if (done_ == 0)
        startMs_ = nowMs;
    std::uint64_t elapsedMs = nowMs > startMs_ ? nowMs - startMs_ : 1;
    long long seconds = static_cast<long long>(elapsedMs / 1000);
    if (seconds < 1)
        seconds = 1;
    long long rate = done_ / seconds;
    if (rate < 1)
        rate = 1;
    long long remaining = (total_ - done_) / rate;
    if (remaining == 0)
        remaining = seconds;
    speed_ = static_cast<double>(done_) / static_cast<double>(elapsedMs);
    char text[128];
    std::snprintf(text, sizeof text, "%.02f Kb/s  %s", speed_, ProgressTimeText(remaining).c_str());
    speedText_ = text;
    return true;
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
    std::snprintf(numbers, sizeof numbers, "  %d %% (%lld/%lld) ", percent_, static_cast<long long>(done_),
                  static_cast<long long>(total_));
    return "    " + name_ + numbers + speedText_ + "    ";
}

int FtpProgress::FilledWidth(int width) const
{
    if (percent_ >= 100)
        return width;
    return width * percent_ / 100;
}
