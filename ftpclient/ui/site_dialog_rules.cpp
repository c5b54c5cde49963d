#include "site_dialog_rules.h"

#include <strings.h>

SiteNameProblem CheckSiteName(const std::string& name, const std::vector<std::string>& entries, int current)
{
    if (name.empty())
        return SiteNameProblem::kEmpty;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (static_cast<int>(i) != current && strcasecmp(entries[i].c_str(), name.c_str()) == 0)
            return SiteNameProblem::kInUse;
    return SiteNameProblem::kNone;
}

int FindNewSiteEntry(const std::vector<std::string>& entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == kNewSiteName)
            return static_cast<int>(i);
    return -1;
}

void SiteNameHostMirror::ComboFocus(const std::string& host)
{
    comboFocused = true;
    hostFocused = false;
    hostWasEmpty = host.empty();
}

void SiteNameHostMirror::HostFocus(const std::string& name)
{
    hostFocused = true;
    comboFocused = false;
    nameWasEmpty = name.empty() || name == kNewSiteName;
}
