#include "connections/transfer_progress.h"

#include <cinttypes>
#include <cstdio>

namespace {

constexpr std::size_t kLineLimit = 80;

std::string Cut(std::string text)
{
    if (text.size() > kLineLimit) text.resize(kLineLimit);
    return text;
}

}  // namespace

std::string ProgressLine(const TransferCounts& c)
{
    char line[160];
    if (c.size == 0)
        std::snprintf(line, sizeof line, "%s, Pack: %" PRId64 " Bytes: %" PRId64, c.name.c_str(), c.packets, c.bytes);
    else
        std::snprintf(line, sizeof line, "%s %" PRId64 "%% Bytes:%" PRId64 " Size:%" PRId64, c.name.c_str(),
                      c.bytes * 100 / c.size, c.bytes, c.size);
    std::string text = line;
    if (c.retries != 0) text += " retry: " + std::to_string(c.retries);
    return Cut(text);
}

int ProgressPercent(const TransferCounts& c)
{
    if (c.size <= 0 || c.bytes <= 0) return 0;
    const int64_t percent = c.bytes * 100 / c.size;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

std::string TimeText(int64_t seconds)
{
    char text[64];
    const int64_t hours = seconds / 3600;
    const int64_t minutes = seconds % 3600 / 60;
    if (hours != 0)
        std::snprintf(text, sizeof text, "%" PRId64 ":%" PRId64 ":%02" PRId64, hours, minutes, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64, minutes, seconds % 60);
    return text;
}

std::string SpeedText(const TransferCounts& c, int64_t elapsedMs, bool complete)
{
    if (elapsedMs < 1) elapsedMs = 1;
    const int64_t total = c.size != 0 ? c.size : c.bytes;
    int64_t seconds = elapsedMs / 1000;
    if (seconds < 1) seconds = 1;
    int64_t rate = c.bytes / seconds;
    if (rate < 1) rate = 1;
    int64_t remaining = (total - c.bytes) / rate;
    if (remaining <= 0) remaining = elapsedMs / 1000;
    const float kbits = static_cast<float>(c.bytes) / 10.0f * 10.0f / static_cast<float>(elapsedMs) * 10.0f;
    char text[96];
    std::snprintf(text, sizeof text, "%.01f Kbit/s  %s", static_cast<double>(kbits), TimeText(remaining).c_str());
    std::string result = text;
    if (complete) {
        result += " Complete";
        if (c.retries != 0) result += ", (retries: " + std::to_string(c.retries) + ")";
    }
    return result;
}
