#include "shell/native_profile.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A name as the lookups see it: without blanks around it.
std::string TrimmedName(const char* name)
{
    const char* begin = name;
    while (*begin && IsBlank(*begin)) ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool ReadWholeFile(const char* file, std::string& text)
{
    std::FILE* f = std::fopen(file, "rb");
    if (!f) return false;
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) text.append(block, n);
    std::fclose(f);
    return true;
}

NativeProfile::Section* FindSection(std::vector<NativeProfile::Section>& sections, const std::string& name)
{
    for (auto& section : sections) {
        if (!section.name.empty() && SameName(section.name, name)) return &section;
    }
    return nullptr;
}

NativeProfile::Entry* FindEntry(NativeProfile::Section& section, const std::string& name)
{
    for (auto& entry : section.entries) {
        if (SameName(entry.name, name)) return &entry;
    }
    return nullptr;
}

// Copies value into out (size > 0) as the platform does: one pair of matching quotes around the
// value is dropped; with a buffer too small for the whole value the copy is cut to size - 1
// characters, and when that cut kept exactly the characters before the closing quote the last
// of them is dropped as well (the platform's rule, kept so both stores agree).
std::size_t CopyValue(const std::string& value, char* out, std::size_t size)
{
    std::size_t start = 0;
    bool quoted = false;
    if (!value.empty() && (value[0] == '"' || value[0] == '\'') && value.size() > 1 &&
        value.back() == value[0]) {
        quoted = true;
        start = 1;
    }
    const std::size_t rest = value.size() - start;  // includes the closing quote when quoted
    std::size_t n = rest < size - 1 ? rest : size - 1;
    std::memcpy(out, value.data() + start, n);
    out[n] = '\0';
    if (quoted && size >= rest && n > 0) out[--n] = '\0';
    return n;
}

}  // namespace

std::vector<NativeProfile::Section> NativeProfile::Parse(const std::string& text)
{
    std::vector<Section> sections(1);  // the lines before the first header
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lineEnd = text.find_first_of("\r\n", pos);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        std::size_t begin = pos;
        std::size_t end = lineEnd;
        pos = lineEnd;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        while (begin < end && IsBlank(text[begin])) ++begin;
        while (end > begin && IsBlank(text[end - 1])) --end;

        if (begin < end && text[begin] == '[') {
            const std::size_t close = text.rfind(']', end - 1);
            if (close != std::string::npos && close > begin) {
                Section section;
                section.name = TrimmedName(text.substr(begin + 1, close - begin - 1).c_str());
                sections.push_back(std::move(section));
                continue;
            }
        }
        if (begin == end) continue;  // blank lines are not kept

        Entry entry;
        const std::size_t equals = text.find('=', begin);
        if (equals != std::string::npos && equals < end) {
            std::size_t nameEnd = equals;
            while (nameEnd > begin && IsBlank(text[nameEnd - 1])) --nameEnd;
            std::size_t valueBegin = equals + 1;
            while (valueBegin < end && IsBlank(text[valueBegin])) ++valueBegin;
            entry.name = text.substr(begin, nameEnd - begin);
            entry.value = text.substr(valueBegin, end - valueBegin);
            entry.hasValue = true;
        } else {
            entry.name = text.substr(begin, end - begin);
        }
        sections.back().entries.push_back(std::move(entry));
    }
    return sections;
}

std::string NativeProfile::Format(const std::vector<Section>& sections)
{
    std::string text;
    for (const auto& section : sections) {
        if (!section.name.empty()) text += "[" + section.name + "]\r\n";
        for (const auto& entry : section.entries) {
            text += entry.name;
            if (entry.hasValue) text += "=" + entry.value;
            text += "\r\n";
        }
    }
    return text;
}

void NativeProfile::ServeFromMemory(const std::string& file, std::string text)
{
    memoryServed_ = true;
    memoryFile_ = file;
    memoryText_ = std::move(text);
    cacheValid_ = false;
}

bool NativeProfile::ReadText(const char* file, std::string& text) const
{
    if (!InMemory(file)) return ReadWholeFile(file, text);
    text = memoryText_;
    return true;
}

bool NativeProfile::WriteText(const char* file, const std::string& text)
{
    if (InMemory(file)) {
        memoryText_ = text;
        return true;
    }
    std::FILE* f = std::fopen(file, "wb");
    bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f) written = std::fclose(f) == 0 && written;
    return written;
}

std::vector<NativeProfile::Section>* NativeProfile::Load(const char* file)
{
    std::string text;
    if (!ReadText(file, text)) {
        cacheValid_ = false;
        return nullptr;
    }
    if (!cacheValid_ || cachedFile_ != file || cachedText_ != text) {
        cachedSections_ = Parse(text);
        cachedFile_ = file;
        cachedText_ = std::move(text);
        cacheValid_ = true;
    }
    return &cachedSections_;
}

std::size_t NativeProfile::GetString(const char* section, const char* key, const char* fallback,
                                     char* out, std::size_t size, const char* file)
{
    if (!out || size == 0) return 0;
    std::vector<Section>* sections = (section && key && file) ? Load(file) : nullptr;
    if (sections) {
        // Only the first section of the name counts.
        if (Section* found = FindSection(*sections, TrimmedName(section))) {
            if (Entry* entry = FindEntry(*found, TrimmedName(key))) {
                if (entry->hasValue) return CopyValue(entry->value, out, size);
            }
        }
    }
    // The default, without trailing blanks.
    std::string value = fallback ? fallback : "";
    while (!value.empty() && value.back() == ' ') value.pop_back();
    std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return n;
}

unsigned NativeProfile::GetInt(const char* section, const char* key, int fallback, const char* file)
{
    char buffer[30];
    if (GetString(section, key, "", buffer, sizeof buffer, file) == 0) return static_cast<unsigned>(fallback);
    const char* p = buffer;
    while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
    bool minus = false;
    if (*p == '+' || *p == '-') minus = *p++ == '-';
    unsigned total = 0;
    while (*p >= '0' && *p <= '9') total = total * 10u + static_cast<unsigned>(*p++ - '0');
    return minus ? 0u - total : total;
}

bool NativeProfile::WriteString(const char* section, const char* key, const char* value,
                                const char* file)
{
    if (!section || !key || !file) return false;
    std::vector<Section> fresh(1);
    std::vector<Section>* loaded = Load(file);
    std::vector<Section>& sections = loaded ? *loaded : fresh;

    const std::string sectionName = TrimmedName(section);
    const std::string keyName = TrimmedName(key);
    Section* target = FindSection(sections, sectionName);
    if (!target) {
        sections.push_back(Section{sectionName, {}});
        target = &sections.back();
    }
    Entry* entry = FindEntry(*target, keyName);
    if (!entry) {
        target->entries.push_back(Entry{keyName, "", false});
        entry = &target->entries.back();
    }
    const char* v = value ? value : "";
    while (*v && IsBlank(*v)) ++v;
    std::string trimmed = v;
    while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.pop_back();
    if (entry->hasValue && entry->value == trimmed) return true;  // nothing changes, nothing is written
    entry->value = std::move(trimmed);
    entry->hasValue = true;
    if (!loaded) cachedSections_ = std::move(fresh);
    return Store(file);
}

bool NativeProfile::Store(const char* file)
{
    std::string formatted = Format(cachedSections_);
    const bool written = WriteText(file, formatted);
    if (written) {
        cachedFile_ = file;
        cachedText_ = std::move(formatted);
        cacheValid_ = true;
    } else {
        cacheValid_ = false;
    }
    return written;
}

std::vector<std::string> NativeProfile::KeyNames(const char* section, const char* file)
{
    std::vector<std::string> names;
    std::vector<Section>* sections = (section && file) ? Load(file) : nullptr;
    const Section* found = sections ? FindSection(*sections, TrimmedName(section)) : nullptr;
    if (!found) return names;
    for (const auto& entry : found->entries) {
        if (entry.hasValue && !entry.name.empty()) names.push_back(entry.name);
    }
    return names;
}

bool NativeProfile::DeleteKey(const char* section, const char* key, const char* file)
{
    if (!section || !key || !file) return false;
    std::vector<Section>* sections = Load(file);
    if (!sections) return true;
    Section* found = FindSection(*sections, TrimmedName(section));
    if (!found) return true;
    const std::string keyName = TrimmedName(key);
    for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
        if (SameName(it->name, keyName)) {
            found->entries.erase(it);
            return Store(file);
        }
    }
    return true;
}

bool NativeProfile::DeleteSection(const char* section, const char* file)
{
    if (!section || !file) return false;
    std::vector<Section>* sections = Load(file);
    if (!sections) return true;
    const std::string name = TrimmedName(section);
    for (auto it = sections->begin(); it != sections->end(); ++it) {
        if (!it->name.empty() && SameName(it->name, name)) {
            sections->erase(it);
            return Store(file);
        }
    }
    return true;
}

bool NativeProfile::SectionHasKeys(const char* section, const char* file)
{
    std::vector<Section>* sections = (section && file) ? Load(file) : nullptr;
    if (!sections) return false;
    const Section* found = FindSection(*sections, section);  // the name as given, blanks included
    if (!found) return false;
    for (const auto& entry : found->entries) {
        if (!entry.name.empty()) return true;
    }
    return false;
}

namespace {
NativeProfile nativeProfile;
ProfileStore* installedStore = &nativeProfile;
}  // namespace

ProfileStore& Profiles() { return *installedStore; }
void SetProfiles(ProfileStore* store) { installedStore = store ? store : &nativeProfile; }
