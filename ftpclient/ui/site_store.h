// The sites of TOLVIFTP.INI: the [SiteNumbers] list, one [Site:n] section per site, the default
// site of [TolviFTP], the name tables of the stored choices and the scrambling of stored
// passwords. Everything goes through ProfileStore, so the rules run on the native store too.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "general_settings.h"
#include "shell/profile_store.h"

// Longest text a site keeps (name, host, user, password, folders, masks, script).
constexpr std::size_t kSiteTextMax = 79;
// The scrambled form of the longest password: the marker, two letters a character, the marker.
constexpr std::size_t kSiteScrambledMax = 2 * kSiteTextMax + 2;

struct SiteRecord {
    std::string name;
    std::string host;
    std::string user;
    std::string password;  // plain
    std::string localDirectory;
    std::string remoteDirectory;
    std::string localMask;
    std::string remoteMask;
    std::string script;
    char mode = 'I';
    int loginType = 2;
    int charset = 1;
    int localCharset = 4;
    bool translate = false;
    bool showDir = true;
    bool localShowDir = true;
    bool savePassword = true;
};

// The password as stored: the marker, two letters 'a'-'p' per character with the last
// character's pair first, the marker.
std::string ScrambleText(const std::string& plain, char marker = '?');
// The letters between the markers unscrambled: at most `limit` characters, stopping at a
// character 0 or at a pair with a letter outside 'a'-'p'; an odd trailing letter is ignored.
std::string UnscrambleText(const std::string& letters, std::size_t limit);
// A stored Password value: scrambled when it starts and ends with "?", else the plain text (at
// most kSiteTextMax characters of it).
std::string StoredPassword(const std::string& value);
// A password given to the log-on: longer than 3 characters between question marks is scrambled.
std::string LoginPassword(const std::string& password);

// Name tables, looked up ignoring case: an unknown name gives the first row's code, an unknown
// code the first row's name.
int CharsetCode(const std::string& name);
std::string CharsetName(int code);
int LoginTypeCode(const std::string& name);
std::string LoginTypeName(int code);

// Radio button orders (index to code).
constexpr int kRemoteCharsetOrder[] = {4, 3, 1, 2};
constexpr int kLocalCharsetOrder[] = {4, 3};
constexpr int kLoginTypeOrder[] = {1, 2};
constexpr char kModeOrder[] = {'I', 'A', 'U'};
// The position of code in an order; 0 when it is not there.
template <typename T, std::size_t N>
int RadioIndex(const T (&order)[N], T code)
{
    for (std::size_t i = 0; i < N; ++i)
        if (order[i] == code)
            return static_cast<int>(i);
    return 0;
}
// The code of a position; the first code for a position outside the order.
template <typename T, std::size_t N>
T RadioCode(const T (&order)[N], int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? order[index] : order[0];
}

// The site number list from the key names of [SiteNumbers]: numbers 1..99 in file order, each
// once; other keys are skipped. The rest of the slots hold -1.
std::array<int, kFtpSiteSlots> SiteNumbersFromKeys(const std::vector<std::string>& keys);

class SiteStore {
public:
    SiteStore(ProfileStore& profile, std::string file) : profile_(profile), file_(std::move(file)) { numbers_.fill(-1); }

    // Reads the list from [SiteNumbers].
    void LoadNumbers();
    const std::array<int, kFtpSiteSlots>& Numbers() const { return numbers_; }
    void SetNumbers(const std::array<int, kFtpSiteSlots>& numbers) { numbers_ = numbers; }

    // The number of the site called `name` (case ignored), or -1.
    int FindByName(const std::string& name);
    // The list entry at `index` (0..99): -1 past the end, 0 for a hole (no name), else the number
    // (and the name).
    int NameAt(int index, std::string& name);
    // The names of the sites in list order, holes skipped.
    std::vector<std::string> Names();
    // The smallest free number 1..99 when a slot is free for it, else -1; nothing is entered.
    int FreeNumber() const;
    // FreeNumber, entered in the first free slot.
    int NewNumber();
    void ForgetNumber(int number);
    bool IsDefault(const std::string& name);
    std::string DefaultSite();

    SiteRecord Read(int number);
    // Writes the site's section, DefaultSite (the name when `asDefault`; emptied when it named
    // this site before and `asDefault` is off) and its [SiteNumbers] key. False when a write
    // failed.
    bool Write(int number, const SiteRecord& site, bool asDefault);
    // Removes the section and the number, and empties DefaultSite when it named the site.
    bool Delete(int number);

private:
    std::string Value(const std::string& section, const char* key, const char* fallback, std::size_t size = kSiteTextMax);

    ProfileStore& profile_;
    std::string file_;
    std::array<int, kFtpSiteSlots> numbers_;
};

// Writes every [TolviFTP] key the General settings dialog edits.
bool WriteGeneralSettings(ProfileStore& profile, const char* file, const FtpGeneralSettings& s);
