#include "local_strings.h"

std::string LoadLocalText(int id, int country, const std::function<bool(int, std::string&)>& load)
{
    std::string text;
    if (country == kCountrySweden && load(id + 1000, text))
        return text;
    if (load(id, text))
        return text;
    return std::string();
}
