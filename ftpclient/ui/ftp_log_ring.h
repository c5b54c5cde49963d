// The main view's log: a ring of the last 200 lines, the splitting of a message into lines, the
// colour of a line by its content, and the texts of the log file.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

class FtpLogRing {
public:
    static constexpr int kLines = 200;

    // Stores a finished line in the next slot (the oldest line goes once the ring is full).
    void Add(const std::string& line);
    const std::string& Slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
    int Next() const { return next_; }
    // The slot shown in the first of `rows` rows at scroll position `position` (kLines shows the
    // newest lines at the bottom).
    int FirstShown(int position, int rows) const;

private:
    std::vector<std::string> slots_ = std::vector<std::string>(kLines);
    int next_ = 0;
};

// printf formatting without a length limit.
std::string FormatLogText(const char* format, va_list args);
// The lines of a message: an LF ends a line (a CR before it is dropped), an LF at the very end
// starts no empty line.
std::vector<std::string> SplitLogLines(const std::string& text);

// A line as the log shows it: each control byte (0-31 and 127) as ^X ("^[" for ESC, "^?" for
// DEL), so that no text of a server reaches the log file or the window raw.
std::string ShowControlBytes(const std::string& line);

// Colours as 0x00BBGGRR, the system's layout.
constexpr std::uint32_t FtpRgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
// Red for errors and warnings (also the Swedish "Fel:"), green for "Info:", grey for the
// protocol's "Ftp:" lines, white for "Dbg:", navy for everything else.
std::uint32_t LogLineColour(const std::string& line);

// "hh:mm:ss  " before each line.
std::string LogStamp(int hour, int minute, int second);
// "Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *" for the application name given.
std::string FtpVersionText(const std::string& appName);
// The first line of a new log file (without its line end).
std::string LogFileHeader(int hour, int minute, int second, const std::string& versionText, int year, int month,
                          int day);
