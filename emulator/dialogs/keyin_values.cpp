#include "dialogs/keyin_values.h"

std::string StartFolderOf(const std::string& answer)
{
    const std::size_t slash = answer.find_last_of("\\/");
    if (slash != std::string::npos) return slash == 0 || answer[slash - 1] == ':' ? answer.substr(0, slash + 1) : answer.substr(0, slash);
    const std::size_t colon = answer.find(':');
    return colon == 1 ? answer.substr(0, 2) : std::string();
}
