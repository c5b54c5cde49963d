#include "recent_files.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "C:\a\b\c\name.wcf" -> "C:\...\c\name.wcf": keeps the root and as many trailing parts as fit;
// the file name itself is always kept.
std::string Shorten(const std::string& path, std::size_t maxPath)
{
    if (path.size() <= maxPath) return path;
    const std::size_t rootEnd = path.find('\\');
    const std::size_t nameStart = path.find_last_of('\\');
    if (rootEnd == std::string::npos || nameStart == std::string::npos || nameStart <= rootEnd)
        return path.substr(nameStart == std::string::npos ? 0 : nameStart + 1);
    const std::string root = path.substr(0, rootEnd + 1) + "...";
    std::size_t keepFrom = nameStart;
    // Take whole folders from the end while the result still fits.
    while (true) {
        const std::size_t previous = path.rfind('\\', keepFrom - 1);
        if (previous == std::string::npos || previous <= rootEnd) break;
        if (root.size() + (path.size() - previous) > maxPath) break;
        keepFrom = previous;
    }
    const std::string shortened = root + path.substr(keepFrom);
    return shortened.size() <= maxPath ? shortened : path.substr(nameStart + 1);
}

}  // namespace

void FwRecentFileList::Add(const std::string& path)
{
    if (path.empty() || capacity_ == 0) return;
    files_.erase(std::remove_if(files_.begin(), files_.end(),
                                [&](const std::string& f) { return SameFile(f, path); }),
                 files_.end());
    files_.insert(files_.begin(), path);
    if (files_.size() > capacity_) files_.resize(capacity_);
}

void FwRecentFileList::Remove(std::size_t index)
{
    if (index < files_.size()) files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string FwRecentFileList::MenuText(std::size_t index, const std::string& path, std::size_t maxPath)
{
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : Shorten(path, maxPath)) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}
