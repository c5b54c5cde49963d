// The File menu's list of recently opened files: newest first, at most `capacity` entries, one
// entry per file (Windows file names compare without regard to case).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class FwRecentFileList {
public:
    explicit FwRecentFileList(std::size_t capacity) : capacity_(capacity) {}

    // Puts the path first; an entry naming the same file moves up instead of being repeated, and
    // the oldest entry drops off a full list. Empty paths are ignored.
    void Add(const std::string& path);
    void Remove(std::size_t index);
    void Clear() { files_.clear(); }

    const std::vector<std::string>& Files() const { return files_; }
    std::size_t Capacity() const { return capacity_; }

    // The menu text of entry index: "&1 path", the path shortened to at most maxPath characters by
    // leaving out folders after the first one ("C:\...\folder\name.wcf"); '&' in names doubled.
    static std::string MenuText(std::size_t index, const std::string& path, std::size_t maxPath);

private:
    std::size_t capacity_;
    std::vector<std::string> files_;
};
