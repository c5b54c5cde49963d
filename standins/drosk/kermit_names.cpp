#include "kermit_names.h"

namespace drosk {
namespace {

// Past the last folder separator or drive colon of either system.
std::string LastComponent(const std::string& name) {
    size_t cut = name.find_last_of("/\\:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

}  // namespace

bool LocalNameFor(const std::string& sent, std::string* local) {
    std::string name = LastComponent(sent);
    bool onlyDotsAndBlanks = true;
    for (unsigned char c : name) {
        if (c < 32 || c == 127) return false;
        if (c != '.' && c != ' ') onlyDotsAndBlanks = false;
    }
    if (name.empty() || onlyDotsAndBlanks) return false;
    *local = name;
    return true;
}

std::string SentNameFor(const std::string& path) { return LastComponent(path); }

}  // namespace drosk
