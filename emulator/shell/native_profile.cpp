#include "shell/native_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A name as the lookups see it: without blanks around it.
std::string_view TrimmedView(const char* name)
{
    const char* begin = name;
    while (*begin && IsBlank(*begin)) ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string_view(begin, static_cast<std::size_t>(end - begin));
}
std::string TrimmedName(const char* name) { return std::string(TrimmedView(name)); }

bool SameName(std::string_view a, std::string_view b)
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

NativeProfile::Section* FindSection(std::vector<NativeProfile::Section>& sections, std::string_view name)
{
    for (auto& section : sections) {
        if (!section.name.empty() && SameName(section.name, name)) return &section;
    }
    return nullptr;
}

NativeProfile::Entry* FindEntry(NativeProfile::Section& section, std::string_view name)
{
    for (auto& entry : section.entries) {
        if (SameName(entry.name, name)) return &entry;
    }
    return nullptr;
}

// A hash of a name that names SameName takes as one share.
uint64_t NameHash(std::string_view name)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
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

namespace {

// Calls line(begin, end) for every line of text that is not blank, without the blanks around it,
// and header(nameBegin, nameEnd) instead for a section header.
template <typename Header, typename Line>
void ForEachLine(const std::string& text, Header header, Line line)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        // The line ends at the first CR or LF: two searches of a single byte each, which cost
        // less than a search for either byte (that tests the pair at every character).
        const char* const from = text.data() + pos;
        const void* lf = std::memchr(from, '\n', text.size() - pos);
        std::size_t lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
        if (const void* cr = std::memchr(from, '\r', lineEnd - pos))
            lineEnd = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
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
                header(begin + 1, close);
                continue;
            }
        }
        if (begin == end) continue;  // blank lines are not kept
        line(begin, end);
    }
}

}  // namespace

std::vector<NativeProfile::Section> NativeProfile::Parse(const std::string& text)
{
    std::vector<Section> sections(1);  // the lines before the first header
    std::size_t current = 0;
    ForEachLine(
        text,
        [&](std::size_t begin, std::size_t end) {
            sections.emplace_back();
            sections[++current].name = TrimmedName(text.substr(begin, end - begin).c_str());
        },
        [&](std::size_t begin, std::size_t end) {
            Entry entry;
            const std::size_t equals = text.find('=', begin);
            if (equals != std::string::npos && equals < end) {
                std::size_t nameEnd = equals;
                while (nameEnd > begin && IsBlank(text[nameEnd - 1])) --nameEnd;
                std::size_t valueBegin = equals + 1;
                while (valueBegin < end && IsBlank(text[valueBegin])) ++valueBegin;
                entry.name.assign(text, begin, nameEnd - begin);
                entry.value.assign(text, valueBegin, end - valueBegin);
                entry.hasValue = true;
            } else {
                entry.name.assign(text, begin, end - begin);
            }
            sections[current].entries.push_back(std::move(entry));
        });
    return sections;
}

std::string NativeProfile::Format(const std::vector<Section>& sections)
{
    std::size_t size = 0;
    for (const auto& section : sections) {
        size += section.name.size() + 4;
        for (const auto& entry : section.entries) size += entry.name.size() + entry.value.size() + 3;
    }
    std::string text;
    text.reserve(size);
    for (const auto& section : sections) {
        if (!section.name.empty()) text.append("[").append(section.name).append("]\r\n");
        for (const auto& entry : section.entries) {
            text += entry.name;
            if (entry.hasValue) text.append("=").append(entry.value);
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
    memoryDirty_ = false;
    cacheValid_ = false;
}

const std::string& NativeProfile::MemoryText() const
{
    FlushMemory();
    return memoryText_;
}

void NativeProfile::FlushMemory() const
{
    if (!memoryDirty_) return;
    memoryText_ = Format(cachedSections_);
    memoryDirty_ = false;
}

bool NativeProfile::ReadText(const char* file, std::string& text) const
{
    if (!InMemory(file)) return ReadWholeFile(file, text);
    text = memoryText_;
    return true;
}

bool NativeProfile::WriteText(const char* file, const std::string& text)
{
    std::FILE* f = std::fopen(file, "wb");
    bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f) written = std::fclose(f) == 0 && written;
    return written;
}

std::vector<NativeProfile::Section>* NativeProfile::Load(const char* file)
{
    // The cache holds the memory file's sections from its first read on; nothing else changes it.
    if (InMemory(file) && cacheValid_ && cachedFile_ == file) return &cachedSections_;
    FlushMemory();
    std::string text;
    if (!ReadText(file, text)) {
        cacheValid_ = false;
        return nullptr;
    }
    if (!cacheValid_ || cachedFile_ != file || cachedText_ != text) {
        cachedSections_ = Parse(text);
        DropIndex();
        cachedFile_ = file;
        cachedText_ = std::move(text);
        cacheValid_ = true;
    }
    return &cachedSections_;
}

NativeProfile::Entry* NativeProfile::FindEntryIn(std::vector<Section>& sections, Section& section,
                                                std::string_view name)
{
    if (&sections != &cachedSections_) return FindEntry(section, name);
    const std::size_t at = static_cast<std::size_t>(&section - sections.data());
    if (entryIndex_.size() < sections.size()) entryIndex_.resize(sections.size());
    SectionIndex& index = entryIndex_[at];
    if (!index.built) {
        index.byHash.clear();
        index.byHash.reserve(section.entries.size());
        for (std::size_t i = 0; i < section.entries.size(); ++i)
            index.byHash.emplace_back(NameHash(section.entries[i].name), i);
        std::sort(index.byHash.begin(), index.byHash.end());
        index.built = true;
    }
    // Equal hashes lie in position order: the first real match is the first entry of the name.
    const uint64_t hash = NameHash(name);
    for (auto it = std::lower_bound(index.byHash.begin(), index.byHash.end(), std::make_pair(hash, std::size_t{0}));
         it != index.byHash.end() && it->first == hash; ++it) {
        if (SameName(section.entries[it->second].name, name)) return &section.entries[it->second];
    }
    return nullptr;
}

std::size_t NativeProfile::GetString(const char* section, const char* key, const char* fallback,
                                     char* out, std::size_t size, const char* file)
{
    if (!out || size == 0) return 0;
    std::vector<Section>* sections = (section && key && file) ? Load(file) : nullptr;
    if (sections) {
        // Only the first section of the name counts.
        if (Section* found = FindSection(*sections, TrimmedView(section))) {
            if (Entry* entry = FindEntryIn(*sections, *found, TrimmedView(key))) {
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
    std::vector<Section> fresh;
    std::vector<Section>* loaded = Load(file);
    if (!loaded) fresh.resize(1);
    std::vector<Section>& sections = loaded ? *loaded : fresh;

    const std::string sectionName = TrimmedName(section);
    const std::string keyName = TrimmedName(key);
    Section* target = FindSection(sections, sectionName);
    if (!target) {
        sections.push_back(Section{sectionName, {}});
        target = &sections.back();
    }
    Entry* entry = FindEntryIn(sections, *target, keyName);
    if (!entry) {
        target->entries.push_back(Entry{keyName, "", false});
        entry = &target->entries.back();
        const std::size_t at = static_cast<std::size_t>(target - sections.data());
        if (loaded && at < entryIndex_.size() && entryIndex_[at].built) {
            auto& byHash = entryIndex_[at].byHash;
            const auto item = std::make_pair(NameHash(keyName), target->entries.size() - 1);
            byHash.insert(std::upper_bound(byHash.begin(), byHash.end(), item), item);
        }
    }
    const char* v = value ? value : "";
    while (*v && IsBlank(*v)) ++v;
    std::string trimmed = v;
    while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.pop_back();
    if (entry->hasValue && entry->value == trimmed) return true;  // nothing changes, nothing is written
    entry->value = std::move(trimmed);
    entry->hasValue = true;
    if (!loaded) {
        cachedSections_ = std::move(fresh);
        DropIndex();
    }
    return Store(file);
}

bool NativeProfile::Store(const char* file)
{
    if (InMemory(file)) {
        cachedFile_ = file;
        cacheValid_ = true;
        memoryDirty_ = true;
        return true;
    }
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
            DropIndex();
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
            DropIndex();
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
