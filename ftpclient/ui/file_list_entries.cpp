#include "file_list_entries.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <iterator>

namespace {

// The date and time columns: "%Y-%m-%d\t%H:%M" in local time, or one empty column pair.
std::string TimeColumns(long long seconds)
{
    if (seconds < 0)
        return "\t";
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0)
        return "\t";
#else
    if (localtime_r(&t, &local) == nullptr)
        return "\t";
#endif
    char text[64];
    if (std::strftime(text, sizeof text, "%Y-%m-%d\t%H:%M", &local) == 0)
        return "\t";
    return text;
}

int Rank(FileEntryKind kind)
{
    switch (kind) {
    case FileEntryKind::kDrive: return 0;
    case FileEntryKind::kParent: return 1;
    case FileEntryKind::kDirectory: return 2;
    case FileEntryKind::kFile: return 3;
    }
    return 3;
}

// Compares the names of two entries of one kind ignoring case.
int CompareNames(const std::string& a, const std::string& b)
{
    const std::string na = EntryName(a), nb = EntryName(b);
    const std::size_t n = na.size() < nb.size() ? na.size() : nb.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(na[i]));
        const int cb = std::tolower(static_cast<unsigned char>(nb[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return na.size() == nb.size() ? 0 : (na.size() < nb.size() ? -1 : 1);
}

// Whether `text` sorts after `entry` (entries equal to it stay before it).
bool SortsAfter(FileEntryKind kind, const std::string& text, const std::string& entry, int entryRank)
{
    const int rank = Rank(kind);
    if (rank != entryRank)
        return rank > entryRank;
    if (rank == 0)
        return false;  // drive lines keep the order they were listed in
    return CompareNames(text, entry) > 0;
}

std::string& SizeSeparator()
{
    static std::string separator;
    return separator;
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "1234567" with "," gives "1,234,567".
std::string GroupDigits(const std::string& digits)
{
    const std::string& separator = SizeSeparator();
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

bool IsMonth(const std::string& text)
{
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3)
        return false;
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(std::begin(kMonths), std::end(kMonths), lower) != std::end(kMonths);
}

// A time of day the way the Windows servers list it: "03:04PM".
bool IsClockTime(const std::string& text)
{
    if (text.size() < 6 || text.find(':') == std::string::npos)
        return false;
    const std::string end = text.substr(text.size() - 2);
    return end == "AM" || end == "PM" || end == "am" || end == "pm";
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::string DriveEntry(char letter, bool current, const std::string& freeText, const std::string& totalText)
{
    std::string text = "<";
    text += letter;
    text += ":>";
    if (current)
        text += " <==";
    return text + "\t" + freeText + "\t(" + totalText + ")";
}

std::string SpaceText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMb = 1ull << 20, kGig = 1ull << 30;
    char text[64];
    if (bytes < kMb)
        std::snprintf(text, sizeof text, "%6llu", static_cast<unsigned long long>(bytes));
    else if (bytes >= kGig)
        std::snprintf(text, sizeof text, "%3.2f Gig", static_cast<double>(bytes) / static_cast<double>(kGig));
    else
        std::snprintf(text, sizeof text, "%3.2f Mb", static_cast<double>(bytes) / static_cast<double>(kMb));
    return text;
}

std::string LocalDirectoryEntry(const std::string& name, long long seconds)
{
    return "[" + name + "]\t\t" + TimeColumns(seconds);
}

void SetSizeSeparator(const std::string& separator) { SizeSeparator() = separator; }

std::string GroupedSize(std::uint64_t bytes) { return GroupDigits(std::to_string(bytes)); }

std::string LocalFileEntry(const std::string& name, std::uint64_t size, long long seconds)
{
    return name + "\t" + GroupedSize(size) + "\t" + TimeColumns(seconds);
}

std::string RemoteEntry(const std::string& name, bool directory, const std::string& columns)
{
    // A tab ends the name column: one inside the name is written as kNameEscape 't' (and the
    // escape itself doubled), so that EntryName gives the whole name back.
    std::string shown;
    for (const char c : name) {
        if (c == '\t')
            shown += {kNameEscape, 't'};
        else if (c == kNameEscape)
            shown += {kNameEscape, kNameEscape};
        else
            shown += c;
    }
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < columns.size()) {
        while (i < columns.size() && (columns[i] == ' ' || columns[i] == '\t'))
            ++i;
        if (i == columns.size())
            break;
        const std::size_t start = i;
        while (i < columns.size() && columns[i] != ' ' && columns[i] != '\t')
            ++i;
        fields.emplace_back(columns, start, i - start);
    }
    std::string text = directory ? "[" + shown + "]" : shown;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const bool size = AllDigits(fields[f]) && ((f + 1 < fields.size() && IsMonth(fields[f + 1])) ||
                                                   (f + 1 == fields.size() && f > 0 && IsClockTime(fields[f - 1])));
        text += '\t';
        text += size ? GroupDigits(fields[f]) : fields[f];
    }
    return text;
}

FileEntryKind EntryKind(const std::string& text)
{
    if (text.size() >= 4 && text[0] == '<' && text[2] == ':' && text[3] == '>')
        return FileEntryKind::kDrive;
    if (EntryName(text) == "[..]")
        return FileEntryKind::kParent;
    if (!text.empty() && text[0] == '[')
        return FileEntryKind::kDirectory;
    return FileEntryKind::kFile;
}

std::string EntryName(const std::string& text)
{
    const std::string shown = text.substr(0, text.find('\t'));
    std::string name;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == kNameEscape && i + 1 < shown.size() && (shown[i + 1] == 't' || shown[i + 1] == kNameEscape))
            name += shown[++i] == 't' ? '\t' : kNameEscape;
        else
            name += shown[i];
    }
    return name;
}

std::string DirectoryName(const std::string& text)
{
    const std::string name = EntryName(text);
    if (name.size() < 2 || name.front() != '[' || name.back() != ']')
        return std::string();
    return name.substr(1, name.size() - 2);
}

int InsertSorted(FileListModel& list, const std::string& text) { return InsertSorted(list, text, EntryKind(text)); }

int InsertSorted(FileListModel& list, const std::string& text, FileEntryKind kind)
{
    const int rank = Rank(kind);
    // The first entry that sorts after the new one; entries sort by kind, then by name.
    int low = 0, high = list.Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (SortsAfter(list.Kind(middle), list.Text(middle), text, rank))
            high = middle;
        else
            low = middle + 1;
    }
    list.Insert(low, text);
    list.SetKind(low, kind);
    return low;
}

void SortEntries(std::vector<PendingEntry>& entries)
{
    // The keys are made once: rank and the name in lower case compare as SortsAfter does.
    struct Key {
        int rank;
        std::string name;
        std::size_t index;
    };
    std::vector<Key> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int rank = Rank(entries[i].kind);
        std::string name = rank == 0 ? std::string() : EntryName(entries[i].text);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        keys.push_back(Key{rank, std::move(name), i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.name < b.name;  // std::string compares its bytes unsigned, as CompareNames does
    });
    std::vector<PendingEntry> sorted;
    sorted.reserve(entries.size());
    for (const Key& key : keys)
        sorted.push_back(std::move(entries[key.index]));
    entries.swap(sorted);
}

int DeselectNonFiles(FileListModel& list, int kind)
{
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const FileEntryKind k = list.Kind(i);
        const bool leading = k == FileEntryKind::kDrive || k == FileEntryKind::kParent ||
                             (kind == 16 && k == FileEntryKind::kDirectory);
        if (!leading)
            break;
        if (list.Selected(i))
            list.Select(i, false);
    }
    int selected = 0;
    for (int i = 0; i < count; ++i)
        selected += list.Selected(i) ? 1 : 0;
    return selected;
}

int FindEntryByName(const FileListModel& list, const std::string& name)
{
    int other = -1;
    for (int i = 0, n = list.Count(); i < n; ++i) {
        const std::string entry = EntryName(list.Text(i));
        if (entry == name)
            return i;
        if (other < 0 && EqualIgnoringCase(entry, name))
            other = i;
    }
    return other;
}

int CaretAfterFill(const FileListModel& list)
{
    const int count = list.Count();
    int firstFile = -1, firstDirectory = -1, lastDrive = -1;
    for (int i = 0; i < count; ++i) {
        if (list.Selected(i))
            return i;
        const FileEntryKind k = list.Kind(i);
        if (k == FileEntryKind::kFile && firstFile < 0)
            firstFile = i;
        else if ((k == FileEntryKind::kDirectory || k == FileEntryKind::kParent) && firstDirectory < 0)
            firstDirectory = i;
        else if (k == FileEntryKind::kDrive)
            lastDrive = i;
    }
    if (firstFile >= 0)
        return firstFile;
    if (firstDirectory >= 0)
        return firstDirectory;
    return lastDrive;
}
