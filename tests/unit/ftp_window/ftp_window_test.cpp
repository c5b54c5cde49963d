// The window-free parts of TolviFTP's window: the general settings, the file list entries and
// their order, the log ring and its lines, the progress display and the layout.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdarg>
#include <map>
#include <set>

#include "file_list_entries.h"
#include "ftp_log_ring.h"
#include "ftp_progress.h"
#include "general_settings.h"
#include "local_strings.h"
#include "main_view_layout.h"

namespace {

// ---- general settings

class FakeSettings : public FtpSettingsSource {
public:
    std::map<std::string, std::string> values;  // "Section/Key"
    std::vector<std::string> siteKeys;
    std::vector<std::string> environment;
    std::set<std::string> directories;
    std::vector<std::string> made;
    int makeError = 0;

    std::string Value(const char* section, const char* key, const char* fallback) override
    {
        const auto found = values.find(std::string(section) + "/" + key);
        return found != values.end() ? found->second : fallback;
    }
    std::vector<std::string> Keys(const char* section) override
    {
        return std::string(section) == "SiteNumbers" ? siteKeys : std::vector<std::string>{};
    }
    std::vector<std::string> Environment() override { return environment; }
    bool IsDirectory(const std::string& path) override { return directories.count(path) > 0; }
    int MakeDirectory(const std::string& path) override
    {
        made.push_back(path);
        if (makeError == 0)
            directories.insert(path);
        return makeError;
    }
};

TEST(FtpGeneralSettings, MissingFileGivesTheDefaults)
{
    FakeSettings source;
    source.environment = {"TEMP=C:\\Users\\me\\Temp"};
    source.directories = {"C:\\Users\\me\\Temp"};
    const FtpGeneralSettings s = LoadGeneralSettings(source);
    EXPECT_EQ(s.defaultSite, "DefaultSite");
    EXPECT_EQ(s.tempDir, "C:\\Users\\me\\Temp");
    EXPECT_EQ(s.logFile, "C:\\Users\\me\\Temp\\TOLVIFTP.LOG");
    EXPECT_TRUE(s.autoSizeWindow);
    EXPECT_TRUE(s.avoidZero);
    for (bool flag : {s.enableLog, s.retain, s.autoDelete, s.autoName, s.confirm, s.verbose, s.debug,
                      s.warningIfZeroLength, s.appendMode})
        EXPECT_FALSE(flag);
    EXPECT_EQ(s.tempDirMessage, 0);
    EXPECT_EQ(s.siteNumbers[0], -1);
}

TEST(FtpGeneralSettings, ReadsTheSectionFlagsInAnyCaseAndTheSiteNumbers)
{
    FakeSettings source;
    source.directories = {"D:\\ftp"};
    source.values = {{"TolviFTP/TempDir", "D:\\ftp"},       {"TolviFTP/EnableLog", "ON"},
                     {"TolviFTP/Retain", "On"},             {"TolviFTP/Verbose", "on"},
                     {"TolviFTP/Debug", "yes"},             {"TolviFTP/AvoidZero", "Off"},
                     {"TolviFTP/LogFile", "D:\\my.log"},    {"TolviFTP/DefaultSite", "home"}};
    source.siteKeys = {"1", "2", "junk", "4"};
    const FtpGeneralSettings s = LoadGeneralSettings(source);
    EXPECT_TRUE(s.enableLog);
    EXPECT_TRUE(s.retain);
    EXPECT_TRUE(s.verbose);
    EXPECT_FALSE(s.debug);
    EXPECT_FALSE(s.avoidZero);
    EXPECT_EQ(s.logFile, "D:\\my.log");
    EXPECT_EQ(s.defaultSite, "home");
    EXPECT_EQ(s.siteNumbers[0], 1);
    EXPECT_EQ(s.siteNumbers[1], 2);
    EXPECT_EQ(s.siteNumbers[2], 4);
    EXPECT_EQ(s.siteNumbers[3], -1);
    EXPECT_TRUE(source.made.empty());
}

TEST(FtpGeneralSettings, TempAndTmpAreTakenByTheirExactNames)
{
    struct Case {
        std::vector<std::string> environment;
        std::string expected;
    } cases[] = {
        {{"TEMPLATE=C:\\tpl", "TMPDIR=C:\\tmpdir", "TMP=C:\\tmp"}, "C:\\tmp"},
        {{"TEMPLATE=C:\\tpl", "TMPDIR=C:\\tmpdir"}, "c:\\temp"},
        {{"temp=C:\\t", "TMP=C:\\tmp"}, "C:\\t"},
        {{"TEMP=C:\\missing", "TMP=C:\\tmp"}, "C:\\tmp"},
        {{"TEMP=", "TMP="}, "c:\\temp"},
    };
    for (const Case& c : cases) {
        FakeSettings source;
        source.directories = {"C:\\tpl", "C:\\tmpdir", "C:\\tmp", "C:\\t"};
        EXPECT_EQ(ChooseTempDir(c.environment, source), c.expected) << c.environment[0];
    }
}

TEST(FtpGeneralSettings, TempDirIsCreatedOrTheFailureReported)
{
    FakeSettings created;
    created.values["TolviFTP/TempDir"] = "C:\\new";
    FtpGeneralSettings s = LoadGeneralSettings(created);
    EXPECT_EQ(s.tempDirMessage, 3046);
    EXPECT_EQ(created.made, std::vector<std::string>{"C:\\new"});
    EXPECT_EQ(s.logFile, "C:\\new\\TOLVIFTP.LOG");

    FakeSettings failing;
    failing.values["TolviFTP/TempDir"] = "Q:\\nowhere";
    failing.makeError = ENOENT;
    s = LoadGeneralSettings(failing);
    EXPECT_EQ(s.tempDirMessage, 3045);
    EXPECT_EQ(s.tempDirError, ENOENT);
    EXPECT_EQ(s.tempDir, "Q:\\nowhere");  // still used

    // A name longer than a path may be is reported in full, never cut and created.
    FakeSettings tooLong;
    const std::string name = "C:\\" + std::string(300, 'x');
    tooLong.values["TolviFTP/TempDir"] = name;
    s = LoadGeneralSettings(tooLong);
    EXPECT_EQ(s.tempDirMessage, 3045);
    EXPECT_EQ(s.tempDirError, ENAMETOOLONG);
    EXPECT_EQ(s.tempDir, name);
    EXPECT_TRUE(tooLong.made.empty());
}

TEST(FtpGeneralSettings, PortOverrideOutsideThePortRangeIsNone)
{
    EXPECT_EQ(PortOverrideFrom(2121), 2121);
    EXPECT_EQ(PortOverrideFrom(65535), 65535);
    EXPECT_EQ(PortOverrideFrom(0), 0);
    EXPECT_EQ(PortOverrideFrom(65536), 0);
    EXPECT_EQ(PortOverrideFrom(-21), 0);
    EXPECT_EQ(PortOverrideFrom(0x100000015LL), 0);
}

TEST(FtpLocalStrings, SwedishTwinWhenItExistsElseEnglish)
{
    const std::map<int, std::string> table = {{3005, "Welcome"}, {4005, "Välkommen"}, {3007, "Only English"}};
    auto load = [&](int id, std::string& text) {
        const auto found = table.find(id);
        if (found == table.end())
            return false;
        text = found->second;
        return true;
    };
    EXPECT_EQ(LoadLocalText(3005, 1, load), "Welcome");
    EXPECT_EQ(LoadLocalText(3005, 46, load), "Välkommen");
    EXPECT_EQ(LoadLocalText(3007, 46, load), "Only English");
    EXPECT_EQ(LoadLocalText(3999, 46, load), "");
}

// ---- file list entries

class VectorList : public FileListModel {
public:
    std::vector<std::string> texts;
    std::vector<bool> selected;
    std::vector<FileEntryKind> kinds;
    int Count() const override { return static_cast<int>(texts.size()); }
    std::string Text(int i) const override { return texts[static_cast<std::size_t>(i)]; }
    bool Selected(int i) const override { return selected[static_cast<std::size_t>(i)]; }
    void Select(int i, bool on) override { selected[static_cast<std::size_t>(i)] = on; }
    void Insert(int i, const std::string& text) override
    {
        texts.insert(texts.begin() + i, text);
        selected.insert(selected.begin() + i, false);
        kinds.insert(kinds.begin() + i, EntryKind(text));
    }
    void Remove(int i) override
    {
        texts.erase(texts.begin() + i);
        selected.erase(selected.begin() + i);
        kinds.erase(kinds.begin() + i);
    }
    FileEntryKind Kind(int i) const override { return kinds[static_cast<std::size_t>(i)]; }
    void SetKind(int i, FileEntryKind kind) override { kinds[static_cast<std::size_t>(i)] = kind; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& t : texts)
            names.push_back(EntryName(t));
        return names;
    }
};

TEST(FtpFileList, EntryTexts)
{
    EXPECT_EQ(DriveEntry('C', true, "1.00 Mb", "2.00 Gig"), "<C:> <==\t1.00 Mb\t(2.00 Gig)");
    EXPECT_EQ(DriveEntry('A', false, "", ""), "<A:>\t\t()");
    EXPECT_EQ(SpaceText(1048575), "1048575");
    EXPECT_EQ(SpaceText(512), "   512");
    EXPECT_EQ(SpaceText(3u << 20), "3.00 Mb");
    EXPECT_EQ(SpaceText(5ull << 40), "5120.00 Gig");
    // Sizes past 4 GiB are kept whole.
    const std::string big = LocalFileEntry("disk.img", 6442450944ull, 0);
    EXPECT_EQ(big.substr(0, big.find('\t', 9)), "disk.img\t6442450944");
    // A time before 1970 leaves the date columns empty.
    EXPECT_EQ(LocalFileEntry("old.txt", 10, -86400), "old.txt\t10\t\t");
    EXPECT_EQ(LocalDirectoryEntry("src", -1), "[src]\t\t\t");
    const std::string dated = LocalDirectoryEntry("src", 86400 * 365);
    EXPECT_EQ(dated.substr(0, 12), "[src]\t\t1971-");
    EXPECT_EQ(RemoteEntry("pub", true, "  drwxr-xr-x  2 ftp\tftp   4096 "), "[pub]\tdrwxr-xr-x\t2\tftp\tftp\t4096");
    EXPECT_EQ(RemoteEntry("a.txt", false, ""), "a.txt");
    // A tab inside a name does not end it: the whole name comes back, the columns stay apart.
    for (const std::string name : {"tab\tx.txt", "\t", "esc\x1at", "two\x1a\x1a\t", "end\x1a"}) {
        const std::string text = RemoteEntry(name, false, "-rw-r--r-- 1 u g 10");
        EXPECT_EQ(EntryName(text), name);
        EXPECT_EQ(text.substr(text.find('\t')), "\t-rw-r--r--\t1\tu\tg\t10");
        EXPECT_EQ(DirectoryName(RemoteEntry(name, true, "")), name);
    }
    EXPECT_NE(RemoteEntry("a\tb", false, ""), RemoteEntry("a\x1atb", false, "")) << "two names, two entries";
    EXPECT_EQ(DirectoryName("[my dir]\t\t2020-01-01\t10:00"), "my dir");
    EXPECT_EQ(DirectoryName("file.txt\t1"), "");
}

// Sizes in groups of three digits with the locale's separator: local sizes, and in a remote
// listing the column before the month (UNIX) or after a time with AM/PM (Windows servers) only.
TEST(FtpFileList, SizesAreGroupedByTheSeparator)
{
    SetSizeSeparator(",");
    EXPECT_EQ(GroupedSize(0), "0");
    EXPECT_EQ(GroupedSize(999), "999");
    EXPECT_EQ(GroupedSize(1000), "1,000");
    EXPECT_EQ(GroupedSize(18446744073709551615ull), "18,446,744,073,709,551,615");
    EXPECT_EQ(LocalFileEntry("disk.img", 6442450944ull, -1), "disk.img\t6,442,450,944\t\t");
    const struct {
        const char* columns;
        const char* shown;
    } remote[] = {
        {"-rw-r--r-- 1 1000 1000 209715200 Dec 11 16:20", "\t-rw-r--r--\t1\t1000\t1000\t209,715,200\tDec\t11\t16:20"},
        {"-rw-r--r-- 1 root 4096 JAN 01 2020", "\t-rw-r--r--\t1\troot\t4,096\tJAN\t01\t2020"},
        {"12-11-26  04:20PM  1234567", "\t12-11-26\t04:20PM\t1,234,567"},
        {"12-11-26  04:20PM  <DIR>", "\t12-11-26\t04:20PM\t<DIR>"},
        {"-rw-r--r-- 1 u g 123456", "\t-rw-r--r--\t1\tu\tg\t123456"},  // no month after it
        {"-rw-r--r-- 1 u g 12a456 Dec 1 2020", "\t-rw-r--r--\t1\tu\tg\t12a456\tDec\t1\t2020"},
    };
    for (const auto& c : remote)
        EXPECT_EQ(RemoteEntry("f", false, c.columns), std::string("f") + c.shown) << c.columns;
    SetSizeSeparator("\xa0");  // Swedish: a no-break space
    EXPECT_EQ(GroupedSize(1234567), "1\xa0" "234\xa0" "567");
    SetSizeSeparator("");
    EXPECT_EQ(GroupedSize(1234567), "1234567");
}

TEST(FtpFileList, InsertSortedKeepsDrivesParentDirectoriesAndFilesInOrder)
{
    VectorList list;
    for (const char* text : {"<A:>\t\t()", "<C:> <==\t1\t(2)"})
        list.Insert(list.Count(), text);
    for (const char* text : {"b.txt\t1", "[Zeta]\t\t", "A.txt\t2", "[..]\t\t", "[alpha]\t\t", "a.TXT\t3",
                             "[!x]\t\t", "C.txt\t4", "[beta]\t\t"})
        InsertSorted(list, text);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"<A:>", "<C:> <==", "[..]", "[!x]", "[alpha]", "[beta]",
                                                       "[Zeta]", "A.txt", "a.TXT", "b.txt", "C.txt"}));
    // Names that differ only in case stay in the order they came.
    EXPECT_EQ(list.texts[7], "A.txt\t2");
}

TEST(FtpFileList, SortEntriesGivesTheOrderOfInsertingOneByOne)
{
    // Kinds given by the caller (a file named like a directory stays a file), names equal but for
    // case, a name that is the start of another, bytes above 127 and the tab that ends a name.
    const std::vector<PendingEntry> fill = {
        {"b.txt\t1", FileEntryKind::kFile, false},      {"[Zeta]\t\t", FileEntryKind::kDirectory, false},
        {"A.txt\t2", FileEntryKind::kFile, true},       {"[old]x.txt\t9", FileEntryKind::kFile, false},
        {"[..]", FileEntryKind::kParent, false},         {"a.TXT\t3", FileEntryKind::kFile, false},
        {"a\t4", FileEntryKind::kFile, false},          {"\xe5ngen\t5", FileEntryKind::kFile, true},
        {"a.txt\t6", FileEntryKind::kFile, false},      {"[alpha]\t\t", FileEntryKind::kDirectory, false},
        {"a b\t7", FileEntryKind::kFile, false},        {"Zulu\t8", FileEntryKind::kFile, false},
    };
    VectorList one;
    for (const PendingEntry& entry : fill) {
        const int at = InsertSorted(one, entry.text, entry.kind);
        one.Select(at, entry.selected);
    }
    std::vector<PendingEntry> bulk = fill;
    SortEntries(bulk);
    std::vector<std::string> texts;
    std::vector<bool> selected;
    for (const PendingEntry& entry : bulk) {
        texts.push_back(entry.text);
        selected.push_back(entry.selected);
    }
    EXPECT_EQ(texts, one.texts);
    EXPECT_EQ(selected, one.selected);
    EXPECT_EQ(bulk[3].text, "[old]x.txt\t9");  // sorted among the files
}

TEST(FtpFileList, DeselectNonFilesCountsWhatIsLeftSelected)
{
    VectorList list;
    for (const char* text : {"<C:> <==\t1\t(2)", "[..]", "[dir]\t\t", "a\t1", "b\t2"})
        list.Insert(list.Count(), text);
    list.selected = {true, true, true, true, false};
    EXPECT_EQ(DeselectNonFiles(list, 0), 2);  // the directory stays selected for a delete
    EXPECT_EQ(list.selected, (std::vector<bool>{false, false, true, true, false}));
    EXPECT_EQ(DeselectNonFiles(list, 16), 1);
    EXPECT_FALSE(list.selected[2]);
}

TEST(FtpFileList, FindEntryByNameTakesTheWholeName)
{
    VectorList list;
    for (const char* text : {"[abc]\t\t", "abc.txt.bak\t1", "ABC.TXT\t2", "abc.txt\t3"})
        list.Insert(list.Count(), text);
    EXPECT_EQ(FindEntryByName(list, "abc.txt"), 3);
    EXPECT_EQ(FindEntryByName(list, "Abc.Txt"), 2);
    EXPECT_EQ(FindEntryByName(list, "[abc]"), 0);
    EXPECT_EQ(FindEntryByName(list, "abc"), -1);
}

TEST(FtpFileList, CaretAfterFill)
{
    VectorList list;
    EXPECT_EQ(CaretAfterFill(list), -1);
    for (const char* text : {"<A:>\t\t()", "<C:>\t1\t(2)"})
        list.Insert(list.Count(), text);
    EXPECT_EQ(CaretAfterFill(list), 1);
    InsertSorted(list, "[d]\t\t");
    EXPECT_EQ(CaretAfterFill(list), 2);
    InsertSorted(list, "f\t1");
    InsertSorted(list, "g\t1");
    EXPECT_EQ(CaretAfterFill(list), 3);
    list.Select(4, true);
    EXPECT_EQ(CaretAfterFill(list), 4);
}

// ---- log

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatLogText(format, args);
    va_end(args);
    return text;
}

TEST(FtpLog, RingKeepsTheLast200Lines)
{
    FtpLogRing ring;
    for (int i = 1; i <= 201; ++i)
        ring.Add("line " + std::to_string(i));
    EXPECT_EQ(ring.Next(), 1);
    // At the bottom position with 10 rows the view shows lines 192 to 201.
    const int first = ring.FirstShown(FtpLogRing::kLines, 10);
    EXPECT_EQ(ring.Slot(first), "line 192");
    EXPECT_EQ(ring.Slot((first + 9) % FtpLogRing::kLines), "line 201");
    // At the top of the range the oldest lines show: line 2 first.
    EXPECT_EQ(ring.Slot(ring.FirstShown(10, 10)), "line 2");
}

TEST(FtpLog, SplittingIntoLines)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLogLines("a\n\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitLogLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(SplitLogLines("a\rb\r\nc"), (V{"a\rb", "c"}));
    EXPECT_EQ(SplitLogLines(""), (V{""}));
}

TEST(FtpLog, ControlBytesOfAServerNeverReachTheLogRaw)
{
    EXPECT_EQ(ShowControlBytes("Ftp: 150 \x1b[2J\x1b]0;owned\x07name\tx\rmore\x7f"),
              "Ftp: 150 ^[[2J^[]0;owned^Gname^Ix^Mmore^?");
    EXPECT_EQ(ShowControlBytes("plain \xe5\xe4\xf6 text"), "plain \xe5\xe4\xf6 text") << "letters stay";
}

TEST(FtpLog, LongTextsAreKeptWholeAndServerTextIsNoFormat)
{
    const std::string name(2000, 'n');
    EXPECT_EQ(Format("Deleted %s", name.c_str()), "Deleted " + name);
    EXPECT_EQ(Format("Ftp: %s", "100% %s %n done"), "Ftp: 100% %s %n done");
}

TEST(FtpLog, ColourByContent)
{
    struct Case {
        const char* line;
        std::uint32_t colour;
    } cases[] = {
        {"10:00:00  Error: Delete local file x failed", FtpRgb(255, 0, 0)},
        {"10:00:00  Warning: File x size was zero", FtpRgb(255, 0, 0)},
        {"10:00:00  Fel: kunde inte", FtpRgb(255, 0, 0)},
        {"10:00:00  Info: script step", FtpRgb(0, 128, 0)},
        {"10:00:00  Ftp: 226 Transfer complete", FtpRgb(100, 100, 100)},
        {"10:00:00  Dbg: [socket]", FtpRgb(255, 255, 255)},
        {"10:00:00  Welcome", FtpRgb(0, 0, 128)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogLineColour(c.line), c.colour) << c.line;
}

TEST(FtpLog, FileHeaderAndVersion)
{
    const std::string version = FtpVersionText("Tolvi - FTP Client");
    EXPECT_EQ(version, "Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *");
    EXPECT_EQ(LogFileHeader(9, 5, 7, version, 2026, 12, 3),
              "09:05:07  Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *. Logfile created 26-12-03");
}

// ---- progress

TEST(FtpProgressDisplay, PercentAndTexts)
{
    EXPECT_EQ(ProgressPercent(0, 0), 0);
    EXPECT_EQ(ProgressPercent(50, 200), 25);
    EXPECT_EQ(ProgressPercent(200, 200), 100);
    // 9 EB files: no overflow in done × 100.
    EXPECT_EQ(ProgressPercent(INT64_MAX / 2, INT64_MAX), 49);
    EXPECT_EQ(ProgressTimeText(5), "0:05");
    EXPECT_EQ(ProgressTimeText(125), "2:05");
    EXPECT_EQ(ProgressTimeText(3725), "1:02:05");

    FtpProgress p;
    p.Reset(0, "");
    ASSERT_TRUE(p.Update(0, 1000, "big.bin", 10000));
    EXPECT_EQ(p.Percent(), 0);
    ASSERT_TRUE(p.Update(500, 1000, nullptr, 12000));
    EXPECT_EQ(p.Percent(), 50);
    EXPECT_EQ(p.SpeedText(), "0.25 Kb/s");
    EXPECT_EQ(p.BarText(), "    big.bin  50 % (500/1000) 0.25 Kb/s  0:02 left    ");
    EXPECT_EQ(p.FilledWidth(200), 100);
    EXPECT_FALSE(p.Update(501, 1000, nullptr, 12001));  // still 50 %
    // The end: the rate over the whole transfer.
    p.Finish(1000, 14000);
    EXPECT_EQ(p.SpeedText(), "0.25 Kb/s");
}

TEST(FtpProgressDisplay, UnknownTotalShowsBytesAndARealRate)
{
    // A server that announces no size: no percentage and an empty bar; bytes, rate and the time
    // passed, refreshed while data arrives (not frozen at the first block).
    FtpProgress p;
    p.Reset(0, "x");
    ASSERT_TRUE(p.Update(0, 0, nullptr, 1000));
    ASSERT_TRUE(p.Update(4000, 0, nullptr, 1015));
    EXPECT_EQ(p.Percent(), 0);
    EXPECT_EQ(p.FilledWidth(333), 0);
    EXPECT_FALSE(p.Update(8000, 0, nullptr, 1100));  // too soon to draw again
    ASSERT_TRUE(p.Update(52000000, 0, nullptr, 3000));
    EXPECT_EQ(p.SpeedText(), "26.00 Mb/s");
    EXPECT_EQ(p.BarText(), "    x  52000000 bytes  26.00 Mb/s  0:02 elapsed    ");
    EXPECT_FALSE(p.Update(52000000, 0, nullptr, 9000));  // nothing new arrived
    p.Finish(52000000, 5000);
    EXPECT_EQ(p.SpeedText(), "13.00 Mb/s");
    EXPECT_EQ(ProgressRateText(9999, 1), "9999.00 Kb/s");
    EXPECT_EQ(ProgressRateText(0, 0), "0.00 Kb/s");
}

TEST(FtpProgressDisplay, FastTransfersDrawEveryThirtiethUpdate)
{
    FtpProgress p;
    p.Reset(0, "fast");
    p.Update(0, 1000000000, nullptr, 0);
    EXPECT_TRUE(p.DrawThisTime());  // 0 % clears the bar and restarts the count
    int drawn = 0;
    for (int i = 1; i <= 60; ++i) {
        p.Update(i * 10000000LL, 1000000000, nullptr, static_cast<std::uint64_t>(i));  // ~10 GB/s
        drawn += p.DrawThisTime() ? 1 : 0;
    }
    EXPECT_EQ(drawn, 2);
    // Slow transfers draw every change.
    FtpProgress slow;
    slow.Reset(0, "slow");
    slow.Update(0, 100, nullptr, 0);
    slow.DrawThisTime();
    slow.Update(10, 100, nullptr, 10000);
    EXPECT_TRUE(slow.DrawThisTime());
}

// ---- layout

TEST(FtpMainViewLayout, RectanglesAndRows)
{
    MainViewLayout l;
    EXPECT_FALSE(LayoutMainView(0, 100, 7, 16, 18, l));
    ASSERT_TRUE(LayoutMainView(600, 300, 7, 16, 18, l));
    EXPECT_EQ(l.progressBox.bottom, 42);
    EXPECT_EQ(l.logBox.top, 64);
    EXPECT_EQ(l.logBox.bottom, 284);
    EXPECT_EQ(l.rows, (220 - 8) / 16);
    EXPECT_EQ(l.scrollBar.left, 568);
    EXPECT_EQ(l.firstLineY, 72);
    EXPECT_EQ(l.newestLineY, (l.rows - 1) * 18 + 72);
    ASSERT_TRUE(LayoutMainView(600, 70, 7, 16, 18, l));
    EXPECT_EQ(l.rows, 0);  // too small for a row: nothing shown, nothing negative
}

}  // namespace
