#include "kermit_names.h"

#include <cctype>

namespace drosk {
namespace {

// A device of the system rather than a file of the folder: CON, PRN, AUX, NUL, COM1-9 and
// LPT1-9, with or without an extension.
bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

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
    if (name.empty() || onlyDotsAndBlanks || IsDeviceName(name)) return false;
    *local = name;
    return true;
}

std::string SentNameFor(const std::string& path) { return LastComponent(path); }

}  // namespace drosk
