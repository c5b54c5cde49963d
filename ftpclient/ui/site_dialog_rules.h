// The rules of the Site Settings dialog that need no window: the name check of Save, the entry of
// a new site, and the mirroring of the site name and the host field while one of them is typed.
#pragma once

#include <string>
#include <vector>

// The combo entry of a site that has no name yet.
constexpr const char* kNewSiteName = "Enter new site name";

enum class SiteNameProblem { kNone, kEmpty, kInUse };

// Save's check of the combo text: empty, or standing in the combo at another position than the
// current entry (case ignored, as sites are found).
SiteNameProblem CheckSiteName(const std::string& name, const std::vector<std::string>& entries, int current);

// The position of the new-site entry in the combo, or -1.
int FindNewSiteEntry(const std::vector<std::string>& entries);

// Which field follows the other while typing. The dialog notes, when the combo gets the focus,
// whether the host was empty, and, when the host field gets it, whether the name was empty (the
// new-site text counts as empty).
struct SiteNameHostMirror {
    bool hostWasEmpty = false;
    bool nameWasEmpty = false;
    bool hostFocused = false;
    bool comboFocused = false;

    void ComboFocus(const std::string& host);
    void HostFocus(const std::string& name);
    void FocusLost() { hostFocused = comboFocused = false; }
    // True when the host field takes the name just typed in the combo.
    bool HostFollowsName() const { return hostWasEmpty && !hostFocused; }
    // True when the combo takes the host just typed.
    bool NameFollowsHost() const { return nameWasEmpty && !comboFocused; }
};
