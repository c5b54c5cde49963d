// Line parsers of remote directory listings, one per listing style; the host type chooses the style.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Host types (0 not known yet, 1..16 the server kinds the client tells apart).
enum FtpHostType : int {
    kHostAutoDetect = 0,
    kHostUnix = 1,
    kHostIbmVm = 2,
    kHostVmsMultinet = 3,
    kHostVmsUcx = 4,
    kHostPcTcp = 5,
    kHostNcsa = 6,
    kHostKa9q = 7,
    kHostWinQvt = 8,
    kHostIbmPcTcpIp = 9,
    kHostChameleon = 10,
    kHostSuperTcp = 11,
    kHostSiNtFtpd = 12,
    kHostIbmMvs = 13,
    kHostUnisys5000 = 14,
    kHostWindowsNt = 15,
    kHostOs2 = 16,
};
constexpr int kHostTypeMax = 16;

// The client's label for a host type ("Unknown" outside 0..16).
const char* HostTypeLabel(int hostType);

enum ListingKind : int { kEntrySkip = -1, kEntryFile = 0, kEntryDirectory = 16 };

struct ListingEntry {
    std::string name;
    std::string info;      // the text in front of the name, verbatim (UNIX, sixth-field, NT)
    bool hasInfo = false;
    int kind = kEntrySkip;
};

// Column of the second entry on a line of the two-column style.
constexpr std::size_t kSecondColumn = 41;

// Parses one listing line (without its line end) for the host type. `column` is 0 for a line's
// first entry; for the two-column style it may be kSecondColumn. `pendingColumn` receives the
// column of a further entry on the same line, or 0 when there is none.
void ParseListingLine(int hostType, std::string_view line, std::size_t column, ListingEntry& out,
                      std::size_t& pendingColumn);

// The two field rules, exposed for the tests. Both first drop trailing blanks, CR, LF and tabs
// (keeping at least two characters).
std::string_view TrimListingLine(std::string_view line);
// The text after the last blank (or, without one, after the last tab); the whole line when it has
// neither.
std::string_view LastField(std::string_view line);
// The text from the start of the n-th blank- or tab-separated field (1-based) to the end of the
// line; with fewer fields, the last field found. `before` receives the text in front of it.
std::string_view FieldFrom(std::string_view line, int n, std::string_view* before);
