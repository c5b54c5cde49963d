// Size and modification time of a file in seconds since 1970, and setting that time, through
// std::filesystem: shared by the transfer engines' window-free file layers.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace pexla {

// The file clock's reading minus the system clock's. Both count the same time from epochs a
// whole number of seconds apart; two readings a moment apart are rounded to that number, so that
// a time set is exactly the time read back.
inline std::chrono::nanoseconds FileClockOffset() {
    using namespace std::chrono;
    auto file = duration_cast<nanoseconds>(std::filesystem::file_time_type::clock::now().time_since_epoch());
    auto sys = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
    return round<seconds>(file - sys);
}

inline int64_t UnixTime(std::filesystem::file_time_type when) {
    using namespace std::chrono;
    auto sys = duration_cast<nanoseconds>(when.time_since_epoch()) - FileClockOffset();
    return round<seconds>(sys).count();
}

// False when the size or the time cannot be read.
inline bool SizeAndTime(const char* path, int64_t* size, int64_t* modTime) {
    namespace fs = std::filesystem;
    std::error_code ec;
    auto bytes = fs::file_size(path, ec);
    if (ec) return false;
    auto when = fs::last_write_time(path, ec);
    if (ec) return false;
    *size = static_cast<int64_t>(bytes);
    *modTime = UnixTime(when);
    return true;
}

inline bool SetUnixTime(const char* path, int64_t modTime) {
    namespace fs = std::filesystem;
    using namespace std::chrono;
    std::error_code ec;
    auto since = duration_cast<fs::file_time_type::duration>(seconds(modTime) + FileClockOffset());
    fs::last_write_time(path, fs::file_time_type(since), ec);
    return !ec;
}

}  // namespace pexla
