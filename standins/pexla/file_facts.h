// Size and modification time of a file in seconds since 1970, and setting that time, through
// std::filesystem: shared by the transfer engines' window-free file layers.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace pexla {

inline int64_t UnixTime(std::filesystem::file_time_type when) {
    using namespace std::chrono;
    auto sys = time_point_cast<seconds>(when - std::filesystem::file_time_type::clock::now() + system_clock::now());
    return sys.time_since_epoch().count();
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
    std::error_code ec;
    auto now = fs::file_time_type::clock::now();
    fs::last_write_time(path, now + std::chrono::seconds(modTime - UnixTime(now)), ec);
    return !ec;
}

}  // namespace pexla
