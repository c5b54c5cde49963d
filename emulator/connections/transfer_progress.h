// The progress texts of a file transfer: the line of status pane 1 (name, percentage or packets,
// bytes, retries) and the speed text of pane 0 (Kbit/s, time left, the completion note). All
// counts are 64-bit: files beyond 2 GB and byte counts times 100 stay exact.
#pragma once

#include <cstdint>
#include <string>

struct TransferCounts {
    std::string name;  // as the port shows it (at most 19 characters)
    int64_t bytes = 0;
    int64_t packets = 0;
    int64_t size = 0;  // 0 when unknown
    int retries = 0;
};

// "name, Pack: p Bytes: b" while the size is unknown, else "name P% Bytes:b Size:s"; then
// " retry: r" when there were retries. At most 80 characters.
std::string ProgressLine(const TransferCounts& counts);
// The percentage of the size reached (0 while the size is unknown), at most 100.
int ProgressPercent(const TransferCounts& counts);
// Time as "[h:]m:ss".
std::string TimeText(int64_t seconds);
// "R Kbit/s  T" with ten line bits a byte, T the time left (or the time spent when nothing is
// left); complete appends " Complete" and ", (retries: r)" when there were retries.
// elapsedMs is at least 1.
std::string SpeedText(const TransferCounts& counts, int64_t elapsedMs, bool complete);
