// File names and facts carried in a ZFILE sub-packet: the receiver's safe local name, the
// sender's name by its file-name option, and the "size date mode ..." text after the name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace halvet {

struct FileInfo {
    std::string name;       // as the sender gave it
    bool hasSize = false;
    int64_t size = 0;
    bool hasTime = false;
    int64_t modTime = 0;    // seconds since 1970
    int64_t filesLeft = 0;
    int64_t bytesLeft = 0;
};

// Reads a ZFILE sub-packet: the name up to its NUL, then blank-separated decimal size, octal
// date, octal mode, octal serial, decimal files and bytes left (each optional).
FileInfo ParseFileInfo(const uint8_t* data, size_t length);
std::vector<uint8_t> BuildFileInfo(const std::string& name, int64_t size, int64_t modTime,
                                   int64_t filesLeft, int64_t bytesLeft);

// The local name for a name a sender gave: only its last path component ('/', '\' and ':'
// separate), characters a file name cannot hold replaced by '_'. False when nothing usable is
// left ("", "." or ".." and names of dots only).
bool SafeLocalName(const std::string& sent, std::string& local);

// The name sent for a local path: 11 (or 0) without its folder, 12 without its folder and every
// '.' as '/', 13 the whole path with '/' between its parts.
std::string NameToSend(const std::string& path, int option);

}  // namespace halvet
