// Listing parsers and the listing reader over fixture listings of every host type, the field
// rules, and MatchMask.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ftp_api.h"
#include "ftp_session.h"
#include "listing_parsers.h"
#include "listing_reader.h"
#include "match_mask.h"

namespace {

const std::string kListings = std::string(TOLVI_FTP_DATA_DIR) + "/listings/";

struct Entry {
    char kind;  // 'D' or 'F'
    std::string name;
    bool operator==(const Entry& o) const { return kind == o.kind && name == o.name; }
};

std::ostream& operator<<(std::ostream& os, const Entry& e) { return os << e.kind << " \"" << e.name << '"'; }

std::vector<Entry> ReadWanted(const std::string& path)
{
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        entries.push_back({line[0], line.substr(tab + 1)});
    }
    return entries;
}

// Every entry the reader gives for the listing file under the host type.
std::vector<Entry> ReadListing(int hostType, const std::string& file, const char* mask, int wantDirs)
{
    ResetFtpSession();
    EXPECT_EQ(FtpSetHostType(hostType), hostType);
    FtpSetListingFile(file.c_str());
    std::vector<Entry> entries;
    char name[512];
    char info[512];
    int kind = -2;
    for (int r = ListingFindFirst(mask, wantDirs, name, sizeof name, info, sizeof info, &kind); r == 0;
         r = ListingParser(name, sizeof name, info, sizeof info, &kind)) {
        EXPECT_TRUE(kind == kEntryFile || kind == kEntryDirectory) << name;
        entries.push_back({kind == kEntryDirectory ? 'D' : 'F', name});
    }
    EXPECT_EQ(errno, ENOENT);
    return entries;
}

struct Fixture {
    int hostType;
    const char* file;
};

class ListingFixtures : public testing::TestWithParam<Fixture> {};

TEST_P(ListingFixtures, GivesTheEntriesOfTheHostType)
{
    const Fixture f = GetParam();
    const std::vector<Entry> wanted = ReadWanted(kListings + f.file + ".want");
    ASSERT_FALSE(wanted.empty());
    EXPECT_EQ(ReadListing(f.hostType, kListings + f.file + ".lst", "*", 1), wanted);
}

INSTANTIATE_TEST_SUITE_P(
    EveryHostType, ListingFixtures,
    testing::Values(Fixture{kHostAutoDetect, "unix"}, Fixture{kHostUnix, "unix"}, Fixture{kHostUnisys5000, "unix"},
                    Fixture{kHostSiNtFtpd, "sintftpd"}, Fixture{kHostIbmVm, "ibmvm"},
                    Fixture{kHostVmsMultinet, "vms"}, Fixture{kHostVmsUcx, "vms"}, Fixture{kHostPcTcp, "pctcp"},
                    Fixture{kHostNcsa, "firstword"}, Fixture{kHostChameleon, "firstword"},
                    Fixture{kHostSuperTcp, "firstword"}, Fixture{kHostKa9q, "ka9q"}, Fixture{kHostWinQvt, "qvt"},
                    Fixture{kHostIbmPcTcpIp, "sixthfield"}, Fixture{kHostIbmMvs, "mvs"},
                    Fixture{kHostWindowsNt, "windowsnt"}, Fixture{kHostOs2, "longlines"}),
    [](const testing::TestParamInfo<Fixture>& info) {
        return std::string(info.param.file) + "_" + std::to_string(info.param.hostType);
    });

TEST(ListingReader, FiltersByMaskAndSkipsDirectoriesWhenNotWanted)
{
    const std::string unix = kListings + "unix.lst";
    EXPECT_EQ(ReadListing(kHostUnix, unix, "*.md", 1), (std::vector<Entry>{{'F', "README.md"}}));
    EXPECT_EQ(ReadListing(kHostUnix, unix, "s*", 0), std::vector<Entry>{}) << "src is a directory";
    EXPECT_EQ(ReadListing(kHostUnix, unix, "s*", 1), (std::vector<Entry>{{'D', "src"}}));
    const std::vector<Entry> files = ReadListing(kHostUnix, unix, "*", 0);
    for (const Entry& e : files)
        EXPECT_EQ(e.kind, 'F') << e;
    EXPECT_EQ(files.size(), 4u);
}

TEST(ListingReader, MissingFileEndsAtOnce)
{
    ResetFtpSession();
    FtpSetListingFile((kListings + "no-such-listing.lst").c_str());
    char name[64] = "untouched";
    int kind = 7;
    EXPECT_EQ(ListingFindFirst("*", 1, name, sizeof name, nullptr, 0, &kind), 1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(ListingParser(name, sizeof name, nullptr, 0, &kind), 1);
}

TEST(ListingReader, NamesAreWholeOrNotListed)
{
    // A cut name would be another file's name: a name longer than the caller's buffer, or on a
    // line longer than the reader keeps, is passed over; a tab inside a name is part of it.
    const std::string path = testing::TempDir() + "hostile-names.lst";
    {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& name : {std::string("README.md"), std::string("tab\tx.txt"), std::string(40, 'w'),
                                        std::string(kMaxListingLine, 'n'), std::string("last.txt")})
            out << "-rw-r--r--   1 ftp  ftp   10 Jan 01  2024 " << name << "\r\n";
    }
    ResetFtpSession();
    FtpSetListingFile(path.c_str());
    std::vector<std::string> names;
    char name[32];
    int kind = 0;
    for (int r = ListingFindFirst("*", 1, name, sizeof name, nullptr, 0, &kind); r == 0;
         r = ListingParser(name, sizeof name, nullptr, 0, &kind))
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"README.md", "tab\tx.txt", "last.txt"}));
    std::remove(path.c_str());
}

TEST(ListingParsers, InfoTextIsTheLineInFrontOfTheName)
{
    struct Case {
        int hostType;
        const char* line;
        int kind;
        const char* name;
        const char* info;
    } cases[] = {
        {kHostUnix, "drwxr-xr-x    2 1000     1000         4096 Mar 01 12:00 src", kEntryDirectory, "src",
         "drwxr-xr-x    2 1000     1000         4096 Mar 01 12:00 "},
        {kHostUnix, "lrwxrwxrwx 1 0 0 7 Mar 01 12:00 lib -> usr/lib \r", kEntryDirectory, "lib -> usr/lib",
         "lrwxrwxrwx 1 0 0 7 Mar 01 12:00 "},
        {kHostUnix, "total 24", kEntrySkip, "24", "total "},
        {kHostIbmPcTcpIp, "  0   DIR   A  03-01-94   12:00  SUB DIR", kEntryDirectory, "SUB DIR",
         "  0   DIR   A  03-01-94   12:00  "},
        {kHostWindowsNt, "03-01-94  12:00PM                 1234 readme.txt", kEntryFile, "readme.txt",
         "03-01-94  12:00PM                 1234 "},
    };
    for (const Case& c : cases) {
        ListingEntry entry;
        std::size_t pending = 99;
        ParseListingLine(c.hostType, c.line, 0, entry, pending);
        EXPECT_EQ(entry.kind, c.kind) << c.line;
        EXPECT_EQ(entry.name, c.name) << c.line;
        EXPECT_TRUE(entry.hasInfo);
        EXPECT_EQ(entry.info, c.info) << c.line;
        EXPECT_EQ(pending, 0u);
    }
}

TEST(ListingParsers, FieldRules)
{
    EXPECT_EQ(LastField("a b\tc  last \r\n"), "last");
    EXPECT_EQ(LastField("one\ttwo"), "two");
    EXPECT_EQ(LastField("single"), "single");
    EXPECT_EQ(TrimListingLine("x \r\n"), "x ") << "at least two characters stay";
    std::string_view before;
    EXPECT_EQ(FieldFrom("  a  b c d", 3, &before), "c d");
    EXPECT_EQ(before, "  a  b ");
    EXPECT_EQ(FieldFrom("a b", 9, &before), "b") << "fewer fields: the last one found";
    EXPECT_EQ(FieldFrom("", 9, &before), "");
}

TEST(ListingParsers, TwoColumnLineGivesBothEntries)
{
    const std::string line = std::string("docs/").append(36, ' ') + "readme.txt";
    ListingEntry entry;
    std::size_t pending = 0;
    ParseListingLine(kHostKa9q, line, 0, entry, pending);
    EXPECT_EQ(entry.kind, kEntryDirectory);
    EXPECT_EQ(entry.name, "docs");
    ASSERT_EQ(pending, kSecondColumn);
    ParseListingLine(kHostKa9q, line, pending, entry, pending);
    EXPECT_EQ(entry.kind, kEntryFile);
    EXPECT_EQ(entry.name, "readme.txt");
    EXPECT_EQ(pending, 0u);
}

TEST(ListingParsers, HostTypeLabels)
{
    EXPECT_STREQ(HostTypeLabel(kHostVmsUcx), "VMS/UCX");
    EXPECT_STREQ(HostTypeLabel(kHostOs2), "OS/2");
    EXPECT_STREQ(HostTypeLabel(17), "Unknown");
    EXPECT_STREQ(HostTypeLabel(-1), "Unknown");
}

TEST(MatchMask, Cases)
{
    struct Case {
        const char* name;
        const char* mask;
        int mode0;
        int mode1;
    } cases[] = {
        {"readme.txt", "*.txt", 1, 1},
        {"a.b.txt", "*.txt", 0, 0},  // the star stops at the first dot
        {"ABC", "abc", 0, 1},
        {"abc", "*.*", 0, 1},
        {"abc.def", "*.*", 1, 1},
        {"abc", "*", 1, 1},
        {"", "*", 1, 1},
        {"", "", 1, 1},
        {"abc", "", 0, 0},
        {"", "a", 0, 0},
        {"abc", "a?c", 1, 1},
        {"ac", "a?c", 0, 0},
        {"abcd", "abc", 0, 0},
        {"data01.log", "data*.log", 1, 1},
        {"DATA01.LOG", "data*.log", 0, 1},
        {"file.tar.gz", "file.*", 1, 1},
        {"x", "x*", 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchMask(c.name, c.mask, 0), c.mode0) << c.name << " / " << c.mask;
        EXPECT_EQ(MatchMask(c.name, c.mask, 1), c.mode1) << c.name << " / " << c.mask << " (mode 1)";
    }
}

TEST(FtpApi, HostTypeRange)
{
    ResetFtpSession();
    EXPECT_EQ(FtpSetHostType(4), 4);
    EXPECT_EQ(FtpSetHostType(17), -1);
    EXPECT_EQ(FtpSetHostType(-1), -1);
    EXPECT_EQ(Ftp().hostType, 4);
}

}  // namespace
