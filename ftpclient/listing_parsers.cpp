#include "listing_parsers.h"

#include <array>

namespace {

bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

bool Contains(std::string_view text, std::string_view what) { return text.find(what) != std::string_view::npos; }

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

// Drops a trailing "/" or "\"; true when there was one.
bool StripDirectoryMark(std::string_view& name)
{
    if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
        name.remove_suffix(1);
        return true;
    }
    return false;
}

std::string_view TrimTrailingBlanks(std::string_view text)
{
    while (!text.empty() && IsSpaceOrTab(text.back()))
        text.remove_suffix(1);
    return text;
}

void SetEntry(ListingEntry& out, std::string_view name, int kind)
{
    out.name.assign(name.data(), name.size());
    out.kind = kind;
}

void ParseUnix(int hostType, std::string_view line, ListingEntry& out)
{
    std::string_view before;
    const std::string_view name = FieldFrom(line, 9, &before);
    const char first = line.empty() ? '\0' : line.front();
    int kind = kEntrySkip;
    if (first == 'd' || first == 'l')
        kind = kEntryDirectory;
    else if (first == '-' || first == 'f' || hostType == kHostSiNtFtpd)
        kind = kEntryFile;
    SetEntry(out, name, kind);
    out.info.assign(before.data(), before.size());
    out.hasInfo = true;
}

void ParseVms(std::string_view line, ListingEntry& out)
{
    const std::size_t semi = line.find(';');
    if (line.empty() || line.front() == ' ' || semi == std::string_view::npos)
        return;
    std::size_t end = semi + 1;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9')
        ++end;
    std::string_view name = line.substr(0, end);
    const std::size_t dir = name.find(".DIR");
    if (line.size() > 4 && dir != std::string_view::npos)
        SetEntry(out, name.substr(0, dir), kEntryDirectory);
    else
        SetEntry(out, name, kEntryFile);
}

void ParsePcTcp(std::string_view line, ListingEntry& out)
{
    const std::string_view rest = line.size() > 30 ? line.substr(30) : std::string_view();
    const std::string_view name = LastField(rest);
    SetEntry(out, name, line.substr(0, 5) == "<dir>" ? kEntryDirectory : kEntryFile);
}

void ParseFirstWord(std::string_view line, ListingEntry& out)
{
    const std::string_view name = line.substr(0, line.find(' '));
    if (Contains(line, "<DIR>"))
        SetEntry(out, name, kEntryDirectory);
    else if (!name.empty())
        SetEntry(out, name, kEntryFile);
}

void ParseTwoColumns(std::string_view line, std::size_t column, ListingEntry& out, std::size_t& pending)
{
    if (column == 0 && line.size() > kSecondColumn)
        pending = kSecondColumn;
    if (Contains(line, "Disk size")) {
        pending = 0;
        return;
    }
    std::string_view name = column < line.size() ? line.substr(column, 13) : std::string_view();
    name = TrimTrailingBlanks(name);
    const bool dir = StripDirectoryMark(name);
    if (name.empty())
        return;
    if (column == 0) {
        if (name == ".")
            return;
        SetEntry(out, name, (dir || name == "..") ? kEntryDirectory : kEntryFile);
    } else {
        if (IsDotName(name))
            return;
        SetEntry(out, name, dir ? kEntryDirectory : kEntryFile);
    }
}

void ParseTrailingSlash(std::string_view line, ListingEntry& out)
{
    const bool dir = StripDirectoryMark(line);
    if (!line.empty())
        SetEntry(out, line, dir ? kEntryDirectory : kEntryFile);
}

void ParseSixthField(std::string_view line, ListingEntry& out)
{
    std::string_view before;
    const std::string_view name = FieldFrom(line, 6, &before);
    SetEntry(out, name, Contains(line, " DIR ") ? kEntryDirectory : kEntryFile);
    out.info.assign(before.data(), before.size());
    out.hasInfo = true;
}

void ParseMvs(std::string_view line, ListingEntry& out)
{
    if (Contains(line, "Lrecl") || line.size() <= 54)
        return;
    const std::string_view name = TrimListingLine(line.substr(54));
    if (!TrimTrailingBlanks(name).empty())
        SetEntry(out, name, kEntryFile);
}

void ParseWindowsNt(std::string_view line, ListingEntry& out)
{
    int fields = 0;
    for (std::size_t i = 0; i < line.size() && fields < 10;) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i >= line.size())
            break;
        ++fields;
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    std::string_view before;
    const std::string_view name = FieldFrom(line, fields < 9 ? 4 : 9, &before);
    const bool dir = Contains(line, "<DIR>") || (!line.empty() && line.front() == 'd');
    SetEntry(out, name, dir ? kEntryDirectory : kEntryFile);
    out.info.assign(before.data(), before.size());
    out.hasInfo = true;
}

void ParseLongLines(std::string_view line, ListingEntry& out)
{
    if (line.size() <= 60 || Contains(line, "--LOGICAL RECORD"))
        return;
    std::string_view name = LastField(line);
    if (!name.empty() && name.front() == '*')
        name.remove_prefix(1);
    const bool dir = StripDirectoryMark(name);
    SetEntry(out, name, dir ? kEntryDirectory : kEntryFile);
}

}  // namespace

const char* HostTypeLabel(int hostType)
{
    static const std::array<const char*, kHostTypeMax + 1> labels = {
        "AutoDetect",   "Unix",     "IBM VM",   "VMS/Multinet",  "VMS/UCX",         "FTP Software PCTCP",
        "CUTCP/NCSA",   "NOS/KA9Q", "WinQVT/Net", "IBMPC TCP/IP", "CHAMELEON",       "SuperTCP",
        "SI NT/FTPD",   "IBM MVS",  "UniSys 5000", "Windows NT",  "OS/2",
    };
    return hostType >= 0 && hostType <= kHostTypeMax ? labels[hostType] : "Unknown";
}

std::string_view TrimListingLine(std::string_view line)
{
    while (line.size() > 2) {
        const char c = line.back();
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
            break;
        line.remove_suffix(1);
    }
    return line;
}

std::string_view LastField(std::string_view line)
{
    line = TrimListingLine(line);
    std::size_t cut = line.rfind(' ');
    if (cut == std::string_view::npos)
        cut = line.rfind('\t');
    if (cut == std::string_view::npos)
        return line;
    std::string_view field = line.substr(cut + 1);
    while (!field.empty() && IsSpaceOrTab(field.front()))
        field.remove_prefix(1);
    return field;
}

std::string_view FieldFrom(std::string_view line, int n, std::string_view* before)
{
    line = TrimListingLine(line);
    std::size_t start = 0;
    std::size_t i = 0;
    for (int field = 0; field < n; ++field) {
        while (i < line.size() && IsSpaceOrTab(line[i]))
            ++i;
        if (i >= line.size())
            break;
        start = i;
        while (i < line.size() && !IsSpaceOrTab(line[i]))
            ++i;
    }
    if (before != nullptr)
        *before = line.substr(0, start);
    return line.substr(start);
}

void ParseListingLine(int hostType, std::string_view line, std::size_t column, ListingEntry& out,
                      std::size_t& pendingColumn)
{
    out = ListingEntry();
    pendingColumn = 0;
    switch (hostType) {
    case kHostIbmVm:
        SetEntry(out, line.substr(0, 12), kEntryFile);
        break;
    case kHostVmsMultinet:
    case kHostVmsUcx:
        ParseVms(line, out);
        break;
    case kHostPcTcp:
        ParsePcTcp(line, out);
        break;
    case kHostNcsa:
    case kHostChameleon:
    case kHostSuperTcp:
        ParseFirstWord(line, out);
        break;
    case kHostKa9q:
        ParseTwoColumns(line, column, out, pendingColumn);
        return;  // handles "." and ".." itself
    case kHostWinQvt:
        ParseTrailingSlash(line, out);
        break;
    case kHostIbmPcTcpIp:
        ParseSixthField(line, out);
        break;
    case kHostIbmMvs:
        ParseMvs(line, out);
        break;
    case kHostWindowsNt:
        ParseWindowsNt(line, out);
        return;  // "." and ".." are listed as they are
    case kHostOs2:
        ParseLongLines(line, out);
        return;  // no exception for "." and ".."
    default:
        ParseUnix(hostType, line, out);
        break;
    }
    if (out.kind == kEntryDirectory && IsDotName(out.name))
        out.kind = kEntrySkip;
}
