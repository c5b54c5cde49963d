#include "ftp_log_ring.h"

#include <cstdio>

void FtpLogRing::Add(const std::string& line)
{
    slots_[static_cast<std::size_t>(next_)] = line;
    next_ = next_ + 1 == kLines ? 0 : next_ + 1;
}

int FtpLogRing::FirstShown(int position, int rows) const
{
    int first = next_ + position - rows - kLines;
    while (first < 0)
        first += kLines;
    return first % kLines;
}

std::string FormatLogText(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    char small[512];
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::vector<std::string> SplitLogLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    if (text.empty())
        lines.emplace_back();
    return lines;
}

std::string ShowControlBytes(const std::string& line)
{
    std::string shown;
    shown.reserve(line.size());
    for (const char c : line) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 && u != 127) {
            shown += c;
            continue;
        }
        shown += '^';
        shown += u == 127 ? '?' : static_cast<char>(u + 64);
    }
    return shown;
}

std::uint32_t LogLineColour(const std::string& line)
{
    auto has = [&](const char* word) { return line.find(word) != std::string::npos; };
    if (has("rror") || has("arning") || has("el:"))
        return FtpRgb(255, 0, 0);
    if (has("Info:"))
        return FtpRgb(0, 128, 0);
    if (has("Ftp:"))
        return FtpRgb(100, 100, 100);
    if (has("Dbg:"))
        return FtpRgb(255, 255, 255);
    return FtpRgb(0, 0, 128);
}

std::string LogStamp(int hour, int minute, int second)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d  ", hour % 100, minute % 100, second % 100);
    return text;
}

std::string FtpVersionText(const std::string& appName)
{
    return appName + " - Version 4.0.0.5 * 32 Bit *";
}

std::string LogFileHeader(int hour, int minute, int second, const std::string& versionText, int year, int month,
                          int day)
{
    char date[32];
    std::snprintf(date, sizeof date, "%02d-%02d-%02d", year % 100, month % 100, day % 100);
    return LogStamp(hour, minute, second) + versionText + ". Logfile created " + date;
}
