// ZFILE names and facts.
#include "hv_names.h"

#include <cstdio>
#include <cstring>

namespace halvet {
namespace {

// Reads one blank-separated number in the base from text[pos...]; false when none is there.
bool NextNumber(const std::string& text, size_t& pos, int base, int64_t& value) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    size_t start = pos;
    int64_t v = 0;
    while (pos < text.size()) {
        char c = text[pos];
        int d = c >= '0' && c <= '9' ? c - '0' : -1;
        if (d < 0 || d >= base) break;
        if (v < (INT64_MAX - d) / base) v = v * base + d;
        ++pos;
    }
    if (pos == start) return false;
    value = v;
    return true;
}

std::string BaseName(const std::string& path) {
    size_t cut = path.find_last_of("/\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

FileInfo ParseFileInfo(const uint8_t* data, size_t length) {
    FileInfo info;
    if (!data || length == 0) return info;  // an empty sub-packet names nothing
    const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, length));
    size_t nameLength = nul ? static_cast<size_t>(nul - data) : length;
    info.name.assign(reinterpret_cast<const char*>(data), nameLength);
    if (!nul) return info;
    const uint8_t* rest = nul + 1;
    size_t restLength = length - nameLength - 1;
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(rest, 0, restLength));
    std::string text(reinterpret_cast<const char*>(rest), end ? static_cast<size_t>(end - rest) : restLength);
    size_t pos = 0;
    int64_t v = 0;
    if (!NextNumber(text, pos, 10, v)) return info;
    info.hasSize = true;
    info.size = v;
    if (!NextNumber(text, pos, 8, v)) return info;
    info.hasTime = v != 0;
    info.modTime = v;
    if (!NextNumber(text, pos, 8, v)) return info;  // mode
    if (!NextNumber(text, pos, 8, v)) return info;  // serial
    if (!NextNumber(text, pos, 10, v)) return info;
    info.filesLeft = v;
    if (NextNumber(text, pos, 10, v)) info.bytesLeft = v;
    return info;
}

std::vector<uint8_t> BuildFileInfo(const std::string& name, int64_t size, int64_t modTime,
                                   int64_t filesLeft, int64_t bytesLeft) {
    std::vector<uint8_t> out(name.begin(), name.end());
    out.push_back(0);
    char facts[96];
    int n = std::snprintf(facts, sizeof facts, "%lld %llo 100644 0 %lld %lld",
                          static_cast<long long>(size), static_cast<unsigned long long>(modTime),
                          static_cast<long long>(filesLeft), static_cast<long long>(bytesLeft));
    out.insert(out.end(), facts, facts + n);
    out.push_back(0);
    return out;
}

bool SafeLocalName(const std::string& sent, std::string& local) {
    local = BaseName(sent);
    for (char& c : local) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr("<>\"|?*", c)) c = '_';
    }
    // A name of dots only ("", ".", "..", "...") names no file of its own.
    return local.find_first_not_of('.') != std::string::npos;
}

std::string NameToSend(const std::string& path, int option) {
    if (option == 13) {
        std::string whole = path;
        for (char& c : whole) if (c == '\\') c = '/';
        size_t colon = whole.find(':');
        if (colon != std::string::npos) whole.erase(0, colon + 1);
        while (!whole.empty() && whole[0] == '/') whole.erase(0, 1);
        return whole;
    }
    std::string name = BaseName(path);
    if (option == 12) for (char& c : name) if (c == '.') c = '/';
    return name;
}

}  // namespace halvet
