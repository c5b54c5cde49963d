// A private-profile store in plain C++, following the platform's rules: section and key names
// compare without case; blanks around names and values are dropped (also when written); one pair of matching quotes
// around a value is removed when read; only the first section of a name is used; a new key goes to the end of its section and a new section
// to the end of the file; blank lines are dropped; lines end with CR LF; every write rewrites the whole file.
// One store object serves one thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/profile_store.h"

class NativeProfile final : public ProfileStore {
public:
    std::size_t GetString(const char* section, const char* key, const char* fallback, char* out,
                          std::size_t size, const char* file) override;
    unsigned GetInt(const char* section, const char* key, int fallback, const char* file) override;
    bool WriteString(const char* section, const char* key, const char* value,
                     const char* file) override;
    bool SectionHasKeys(const char* section, const char* file) override;
    std::vector<std::string> KeyNames(const char* section, const char* file) override;
    bool DeleteKey(const char* section, const char* key, const char* file) override;
    bool DeleteSection(const char* section, const char* file) override;

    // Serves one file name from memory: it reads as `text` and never touches the disk, and what
    // is written to it stays in memory (MemoryText). The fuzz targets read inputs this way.
    void ServeFromMemory(const std::string& file, std::string text);
    const std::string& MemoryText() const;

    // The parsed form of a file (public for the fuzz target and the tests).
    struct Entry {
        std::string name;
        std::string value;
        bool hasValue = false;
    };
    struct Section {
        std::string name;   // empty for the lines before the first header
        std::vector<Entry> entries;
    };
    static std::vector<Section> Parse(const std::string& text);
    static std::string Format(const std::vector<Section>& sections);

private:
    // The sections of file as the store last wrote or read them, kept while the file's text on
    // disk stays what it was (a whole configuration is a few hundred reads of one file).
    std::vector<Section>* Load(const char* file);
    // Writes the cached sections to file; false when it cannot be written.
    bool Store(const char* file);
    bool InMemory(const char* file) const { return memoryServed_ && memoryFile_ == file; }
    bool ReadText(const char* file, std::string& text) const;
    bool WriteText(const char* file, const std::string& text);

    // The entry of `name` in a section (the first one of that name); sections of the cache are
    // looked up through an index, a configuration being hundreds of keys in one section.
    Entry* FindEntryIn(std::vector<Section>& sections, Section& section, std::string_view name);
    // The cache changed other than by appending: the index is made again when next needed.
    void DropIndex() { entryIndex_.clear(); }

    std::string cachedFile_;
    std::string cachedText_;
    std::vector<Section> cachedSections_;
    bool cacheValid_ = false;
    // Per cached section (by position), once built: the hash of each entry's name (compared
    // without case) and the entry's position, in that order.
    struct SectionIndex {
        bool built = false;
        std::vector<std::pair<uint64_t, std::size_t>> byHash;
    };
    std::vector<SectionIndex> entryIndex_;
    bool memoryServed_ = false;
    std::string memoryFile_;
    // The file in memory is written back into text only when someone asks for it: while the
    // cache holds its sections they are its content (a configuration writes hundreds of keys).
    mutable std::string memoryText_;
    mutable bool memoryDirty_ = false;
    void FlushMemory() const;
};
