#include "site_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <strings.h>

namespace {

// The key of character i counts down from this value.
constexpr unsigned kKeyStart = 0x6B;

unsigned KeyAt(std::size_t i) { return (kKeyStart - static_cast<unsigned>(i)) & 0xFF; }

struct NamedCode {
    const char* name;
    int code;
};

constexpr NamedCode kCharsets[] = {{"ibmpc", 4}, {"iso8859", 3}, {"7bit", 1}, {"8bit", 2}};
constexpr NamedCode kLoginTypes[] = {{"Anonymous", 1}, {"Normal", 2}};

template <std::size_t N>
int CodeOf(const NamedCode (&table)[N], const std::string& name)
{
    for (const NamedCode& row : table)
        if (strcasecmp(row.name, name.c_str()) == 0)
            return row.code;
    return table[0].code;
}

template <std::size_t N>
std::string NameOf(const NamedCode (&table)[N], int code)
{
    for (const NamedCode& row : table)
        if (row.code == code)
            return row.name;
    return table[0].name;
}

std::string SectionOf(int number) { return "Site:" + std::to_string(number); }

const char* OnOff(bool on) { return on ? "On" : "Off"; }

bool IsValueBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The text written for a value so that it reads back as itself: the read drops the blanks around
// a value and one pair of matching quotes around it, so such a value is written in quotes.
std::string StoredText(const std::string& value)
{
    if (value.empty())
        return value;
    const char first = value.front();
    const char last = value.back();
    const bool quoted = value.size() > 1 && (first == '"' || first == '\'') && last == first;
    return quoted || IsValueBlank(first) || IsValueBlank(last) ? '"' + value + '"' : value;
}

}  // namespace

std::string ScrambleText(const std::string& plain, char marker)
{
    const std::size_t n = plain.size();
    std::string out(2 * n + 2, marker);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned x = (static_cast<unsigned char>(plain[i]) ^ KeyAt(i)) & 0xFF;
        out[2 * n - 2 * i - 1] = static_cast<char>('a' + (x >> 4));
        out[2 * n - 2 * i] = static_cast<char>('a' + (x & 15));
    }
    return out;
}

std::string UnscrambleText(const std::string& letters, std::size_t limit)
{
    const std::size_t n = letters.size() / 2;
    std::string out;
    for (std::size_t i = 0; i < n && out.size() < limit; ++i) {
        const int high = letters[2 * (n - i) - 2] - 'a';
        const int low = letters[2 * (n - i) - 1] - 'a';
        if (high < 0 || high > 15 || low < 0 || low > 15)
            break;
        const unsigned c = (static_cast<unsigned>(high << 4 | low) ^ KeyAt(i)) & 0xFF;
        if (c == 0)
            break;
        out += static_cast<char>(c);
    }
    return out;
}

std::string StoredPassword(const std::string& value)
{
    // A plain password is kept to the length of every site text: scrambled, a longer one would
    // not fit the value that is read back.
    if (value.empty() || value.front() != '?' || value.back() != '?')
        return value.substr(0, kSiteTextMax);
    if (value.size() < 2)
        return std::string();
    return UnscrambleText(value.substr(1, value.size() - 2), kSiteTextMax);
}

std::string LoginPassword(const std::string& password)
{
    if (password.size() > 3 && password.front() == '?' && password.back() == '?')
        return UnscrambleText(password.substr(1, password.size() - 2), kSiteTextMax);
    return password;
}

int CharsetCode(const std::string& name) { return CodeOf(kCharsets, name); }
std::string CharsetName(int code) { return NameOf(kCharsets, code); }
int LoginTypeCode(const std::string& name) { return CodeOf(kLoginTypes, name); }
std::string LoginTypeName(int code) { return NameOf(kLoginTypes, code); }

std::array<int, kFtpSiteSlots> SiteNumbersFromKeys(const std::vector<std::string>& keys)
{
    std::array<int, kFtpSiteSlots> numbers;
    numbers.fill(-1);
    bool seen[kFtpSiteSlots] = {};
    std::size_t slot = 0;
    for (const std::string& key : keys) {
        if (slot == numbers.size())
            break;
        char* end = nullptr;
        const long number = std::strtol(key.c_str(), &end, 10);
        if (end == key.c_str() || number < 1 || number >= kFtpSiteSlots || seen[number])
            continue;
        seen[number] = true;
        numbers[slot++] = static_cast<int>(number);
    }
    return numbers;
}

std::string SiteStore::Value(const std::string& section, const char* key, const char* fallback, std::size_t size)
{
    // Two characters to spare: a quoted value of exactly `size` characters is then read whole
    // (a buffer cut just before the closing quote drops one more), and cut here instead.
    std::string text(size + 3, '\0');
    const std::size_t n = profile_.GetString(section.c_str(), key, fallback, &text[0], text.size(), file_.c_str());
    text.resize(n < text.size() ? n : 0);
    // The value is the C string the store gives: a NUL in the file ends it.
    text.resize(std::min(std::strlen(text.c_str()), size));
    return text;
}

void SiteStore::LoadNumbers() { numbers_ = SiteNumbersFromKeys(profile_.KeyNames("SiteNumbers", file_.c_str())); }

int SiteStore::FindByName(const std::string& name)
{
    for (int number : numbers_) {
        if (number == -1)
            break;
        if (number == 0)
            continue;
        if (strcasecmp(Value(SectionOf(number), "Site", "").c_str(), name.c_str()) == 0)
            return number;
    }
    return -1;
}

int SiteStore::NameAt(int index, std::string& name)
{
    if (index < 0 || index >= kFtpSiteSlots || numbers_[index] == -1)
        return -1;
    if (numbers_[index] == 0)
        return 0;
    const std::string value = Value(SectionOf(numbers_[index]), "Site", "");
    if (value.empty())
        return 0;
    name = value;
    return numbers_[index];
}

std::vector<std::string> SiteStore::Names()
{
    std::vector<std::string> names;
    std::string name;
    for (int i = 0; i < kFtpSiteSlots; ++i) {
        const int number = NameAt(i, name);
        if (number < 0)
            break;
        if (number > 0)
            names.push_back(name);
    }
    return names;
}

int SiteStore::FreeNumber() const
{
    bool used[kFtpSiteSlots] = {};
    bool slotFree = false;
    for (int number : numbers_) {
        if (number > 0 && number < kFtpSiteSlots)
            used[number] = true;
        slotFree = slotFree || number == 0 || number == -1;
    }
    if (!slotFree)
        return -1;
    for (int number = 1; number < kFtpSiteSlots; ++number)
        if (!used[number])
            return number;
    return -1;
}

int SiteStore::NewNumber()
{
    const int number = FreeNumber();
    if (number < 0)
        return -1;
    for (int& slot : numbers_) {
        if (slot == 0 || slot == -1) {
            slot = number;
            break;
        }
    }
    return number;
}

void SiteStore::ForgetNumber(int number)
{
    for (int& slot : numbers_)
        if (slot == number)
            slot = 0;
}

std::string SiteStore::DefaultSite() { return Value("TolviFTP", "DefaultSite", "DefaultSite"); }

bool SiteStore::IsDefault(const std::string& name) { return DefaultSite() == name; }

SiteRecord SiteStore::Read(int number)
{
    const std::string s = SectionOf(number);
    SiteRecord r;
    r.name = Value(s, "Site", "");
    r.host = Value(s, "Host", "");
    r.user = Value(s, "User", "");
    // Room for the scrambled form of the longest password, so its closing marker is never cut.
    r.password = StoredPassword(Value(s, "Password", "", kSiteScrambledMax));
    r.localDirectory = Value(s, "lcd", "");
    r.remoteDirectory = Value(s, "cd", "");
    r.localMask = Value(s, "lmask", "");
    r.remoteMask = Value(s, "mask", "");
    r.script = Value(s, "Script", "");
    const std::string mode = Value(s, "Mode", "I");
    r.mode = mode.empty() ? 'I' : mode[0];
    r.loginType = LoginTypeCode(Value(s, "LoginType", "Normal"));
    r.charset = CharsetCode(Value(s, "Charset", "7bit"));
    r.localCharset = CharsetCode(Value(s, "LocalCharset", "ibmpc"));
    r.translate = FtpProfileFlag(Value(s, "Xlate", "off"));
    r.showDir = FtpProfileFlag(Value(s, "ShowDir", "on"));
    r.localShowDir = FtpProfileFlag(Value(s, "lShowDir", "on"));
    r.savePassword = FtpProfileFlag(Value(s, "SavePassword", "on"));
    return r;
}

bool SiteStore::Write(int number, const SiteRecord& r, bool asDefault)
{
    if (number < 1 || number >= kFtpSiteSlots)
        return false;
    const std::string s = SectionOf(number);
    const std::string oldName = Value(s, "Site", "");
    const char* f = file_.c_str();
    bool ok = true;
    auto put = [&](const char* key, const std::string& value) {
        ok = profile_.WriteString(s.c_str(), key, StoredText(value).c_str(), f) && ok;
    };
    put("Site", r.name);
    put("Host", r.host);
    put("User", r.user);
    // A password that is already in its stored form (a script's "?...?") is kept as it is.
    const bool scrambled = LoginPassword(r.password) != r.password;
    put("Password", !r.savePassword || r.password.empty() ? std::string()
                    : scrambled                         ? r.password
                                                        : ScrambleText(r.password));
    put("LCD", r.localDirectory);
    put("CD", r.remoteDirectory);
    put("LMask", r.localMask);
    put("Mask", r.remoteMask);
    put("Script", r.script);
    put("Mode", std::string(1, r.mode ? r.mode : 'I'));
    put("LoginType", LoginTypeName(r.loginType));
    put("Charset", CharsetName(r.charset));
    put("LocalCharset", CharsetName(r.localCharset));
    put("Xlate", OnOff(r.translate));
    put("ShowDir", OnOff(r.showDir));
    put("LShowDir", OnOff(r.localShowDir));
    put("SavePassword", OnOff(r.savePassword));
    const std::string current = DefaultSite();
    if (asDefault)
        ok = profile_.WriteString("TolviFTP", "DefaultSite", StoredText(r.name).c_str(), f) && ok;
    else if (!current.empty() && (current == r.name || (!oldName.empty() && current == oldName)))
        ok = profile_.WriteString("TolviFTP", "DefaultSite", "", f) && ok;
    ok = profile_.WriteString("SiteNumbers", std::to_string(number).c_str(), "", f) && ok;
    return ok;
}

bool SiteStore::Delete(int number)
{
    const std::string s = SectionOf(number);
    const std::string name = Value(s, "Site", "");
    const char* f = file_.c_str();
    bool ok = profile_.DeleteSection(s.c_str(), f);
    ok = profile_.DeleteKey("SiteNumbers", std::to_string(number).c_str(), f) && ok;
    ForgetNumber(number);
    if (!name.empty() && IsDefault(name))
        ok = profile_.WriteString("TolviFTP", "DefaultSite", "", f) && ok;
    return ok;
}

bool WriteGeneralSettings(ProfileStore& profile, const char* file, const FtpGeneralSettings& s)
{
    bool ok = true;
    auto put = [&](const char* key, const std::string& value) {
        ok = profile.WriteString("TolviFTP", key, StoredText(value).c_str(), file) && ok;
    };
    put("Email", s.email);
    put("TempDir", s.tempDir);
    put("LogFile", s.logFile);
    put("EnableLog", OnOff(s.enableLog));
    put("Retain", OnOff(s.retain));
    put("AutoDelete", OnOff(s.autoDelete));
    put("AutoName", OnOff(s.autoName));
    put("Confirm", OnOff(s.confirm));
    put("Verbose", OnOff(s.verbose));
    put("Debug", OnOff(s.debug));
    put("WarningIfZeroLength", OnOff(s.warningIfZeroLength));
    put("AutoSizeWindow", OnOff(s.autoSizeWindow));
    put("AppendMode", OnOff(s.appendMode));
    put("AvoidZero", OnOff(s.avoidZero));
    return ok;
}
