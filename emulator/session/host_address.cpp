#include "session/host_address.h"

bool SplitHostPort(const std::string& text, std::string& host, int& port)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size() || colon + 6 < text.size()) return false;
    if (text.find(':') != colon) return false;
    long number = 0;
    for (std::size_t i = colon + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + (text[i] - '0');
    }
    if (number < 1 || number > 65535) return false;
    host = text.substr(0, colon);
    port = static_cast<int>(number);
    return true;
}
