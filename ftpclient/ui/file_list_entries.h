// The lines of TolviFTP's two file lists: drive, directory and file entries with their tab-separated
// columns, their order, and the walks over a list that the list views make. A list is reached
// through FileListModel, so the rules run on a vector as well as on a list box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class FileEntryKind { kDrive, kParent, kDirectory, kFile };

FileEntryKind EntryKind(const std::string& text);

class FileListModel {
public:
    virtual ~FileListModel() = default;
    virtual int Count() const = 0;
    virtual std::string Text(int index) const = 0;
    virtual bool Selected(int index) const = 0;
    virtual void Select(int index, bool on) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Remove(int index) = 0;
    // The kind recorded for an entry; a list that records none tells it by the text.
    virtual FileEntryKind Kind(int index) const { return EntryKind(Text(index)); }
    virtual void SetKind(int index, FileEntryKind kind) {}
};

// "<C:> <==\t12.50 Gig\t(40.00 Gig)" and so on; `current` adds the marker " <==".
std::string DriveEntry(char letter, bool current, const std::string& freeText, const std::string& totalText);
// A drive's space: the byte count below 1 MiB, "%3.2f Mb" below 1 GiB, "%3.2f Gig" from there.
std::string SpaceText(std::uint64_t bytes);

// The separator between groups of three digits in the file sizes of both lists ("" for none, the
// start): the window sets the one of the user's locale before the lists fill.
void SetSizeSeparator(const std::string& separator);
// A byte count in groups of three digits with that separator: "6,442,450,944" with ",".
std::string GroupedSize(std::uint64_t bytes);

// Local entries. `seconds` is the last-write time in seconds since 1970 (UTC); a time the C
// library cannot show (before 1970, say) leaves the date and time columns empty.
std::string LocalDirectoryEntry(const std::string& name, long long seconds);
std::string LocalFileEntry(const std::string& name, std::uint64_t size, long long seconds);
// Remote entries: the name ("[name]" for a directory) and the listing line's other columns, split
// at runs of blanks and tabs, each after a tab. The size column (digits before a month name, or
// after a time with AM or PM at the end) is grouped as GroupedSize does. A tab in the name is shown as kNameEscape 't', the
// escape itself as two.
constexpr char kNameEscape = '\x1a';
std::string RemoteEntry(const std::string& name, bool directory, const std::string& columns);

// The entry's name: its text before the first tab ("[name]" for a directory), escapes undone.
std::string EntryName(const std::string& text);
// The name between the brackets of a directory entry ("" for any other entry).
std::string DirectoryName(const std::string& text);

// Inserts `text` in its place: drive lines first, then "[..]", then directories, then files,
// each kind in ascending order with case ignored (a new entry goes after its equals). Returns
// the index it got.
int InsertSorted(FileListModel& list, const std::string& text);
// The same for an entry of a known kind, which the list records (a file named "[x]y" is a file).
int InsertSorted(FileListModel& list, const std::string& text, FileEntryKind kind);

// An entry on its way into a list: its text, its kind and whether it is shown selected.
struct PendingEntry {
    std::string text;
    FileEntryKind kind;
    bool selected;
};
// Puts a whole fill in the order InsertSorted gives it entry by entry, so that a list takes it in
// one pass: by kind, then by name with case ignored, equals in the order they came.
void SortEntries(std::vector<PendingEntry>& entries);

// Deselects the leading drive lines and "[..]" (and, with kind 16, the directory entries) and
// returns the number of entries still selected.
int DeselectNonFiles(FileListModel& list, int kind);

// The index of the entry whose name equals `name`: an exact match first, else one that differs
// only in case; -1 when there is none.
int FindEntryByName(const FileListModel& list, const std::string& name);

// Where the caret goes after a fill: the first selected entry, else the first file, else the
// first directory, else the last drive line; -1 for an empty list.
int CaretAfterFill(const FileListModel& list);
