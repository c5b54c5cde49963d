// The File menu's recent-file list: order, one entry per file, capacity, and the menu texts.
#include <gtest/gtest.h>

#include "recent_files.h"

namespace {

TEST(RecentFiles, NewestFirstOneEntryPerFileOldestDropsOff)
{
    FwRecentFileList list(3);
    for (const char* path : {"C:\\a.wcf", "C:\\b.wcf", "C:\\c.wcf"}) list.Add(path);
    list.Add("c:\\A.WCF");  // the same file in other case moves up, taking the new spelling
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"c:\\A.WCF", "C:\\c.wcf", "C:\\b.wcf"}));
    list.Add("C:\\d.wcf");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"C:\\d.wcf", "c:\\A.WCF", "C:\\c.wcf"}));
    list.Add("");
    list.Remove(1);
    list.Remove(7);
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"C:\\d.wcf", "C:\\c.wcf"}));
}

TEST(RecentFiles, MenuTextNumbersShortensAndDoublesAmpersands)
{
    struct Case {
        std::size_t index;
        const char* path;
        const char* text;
    };
    const Case cases[] = {
        {0, "C:\\tolvi\\a.wcf", "&1 C:\\tolvi\\a.wcf"},
        {3, "C:\\one\\two\\three\\four\\session.wcf", "&4 C:\\...\\three\\four\\session.wcf"},
        {1, "C:\\R&D\\x.wcf", "&2 C:\\R&&D\\x.wcf"},
        {0, "C:\\folder\\a-very-long-file-name-for-a-session.wcf", "&1 a-very-long-file-name-for-a-session.wcf"},
        {0, "relative.wcf", "&1 relative.wcf"},
    };
    for (const Case& c : cases) EXPECT_EQ(FwRecentFileList::MenuText(c.index, c.path, 30), c.text) << c.path;
}

}  // namespace
