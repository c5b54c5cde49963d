// Path helpers: extensions, folders, configuration names, file copies.
#include <gtest/gtest.h>

#include "shell/path_helpers.h"
#include "temp_folder.h"

namespace {

TEST(PathHelpers, NamesAndFolders)
{
    const struct {
        const char* in;
        const char* replaced;  // extension "map"
        const char* folder;
        const char* config;
    } cases[] = {
        {"host", "host.map", "host\\", "host.wcf"},
        {"C:\\cfg\\host.wcf", "C:\\cfg\\host.map", "C:\\cfg\\", "C:\\cfg\\host.wcf"},
        {"C:\\my.dir\\host", "C:\\my.dir\\host.map", "C:\\my.dir\\", "C:\\my.dir\\host.wcf"},
        {"/home/a.b/c", "/home/a.b/c.map", "/home/a.b/", "/home/a.b/c.wcf"},
        {"C:\\cfg\\", "C:\\cfg\\.map", "C:\\cfg\\", "C:\\cfg\\tolvi.wcf"},
        {"a.b.c", "a.b.map", "a.b.c\\", "a.b.c"},
        {"", "", "", ".wcf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceExtension(c.in, "map"), c.replaced) << c.in;
        EXPECT_EQ(GetPathDirectory(c.in), c.folder) << c.in;
        EXPECT_EQ(CompleteConfigName(c.in), c.config) << c.in;
    }
    EXPECT_TRUE(IsBareName("host.wcf"));
    EXPECT_FALSE(IsBareName("C:host.wcf"));
    EXPECT_FALSE(IsBareName(".\\host.wcf"));
}

TEST(PathHelpers, NetbiosNamesAreSixteenCharacters)
{
    EXPECT_EQ(PadNetbiosName("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(PadNetbiosName(""), std::string(16, ' '));
    EXPECT_EQ(PadNetbiosName("PC1"), "PC1             ");
}

TEST(PathHelpers, CopyOrAppendNeverEmptiesAFileOntoItself)
{
    TempFolder folder;
    const std::string a = folder.File("a.txt"), b = folder.File("b.txt");
    TempFolder::Write(a, "abc");
    EXPECT_EQ(CopyOrAppendFile(a, b, true), 0);  // append onto a missing target creates it
    EXPECT_EQ(CopyOrAppendFile(a, b, true), 0);
    EXPECT_EQ(TempFolder::Read(b), "abcabc");
    EXPECT_EQ(CopyOrAppendFile(a, b, false), 0);
    EXPECT_EQ(TempFolder::Read(b), "abc");
    EXPECT_EQ(CopyOrAppendFile(a, a, false), -1);
    EXPECT_EQ(CopyOrAppendFile(a, folder.File("./a.txt"), false), -1);
    EXPECT_EQ(TempFolder::Read(a), "abc");
    EXPECT_EQ(CopyOrAppendFile(folder.File("none"), b, false), -1);
    EXPECT_EQ(CopyOrAppendFile(a, folder.File("no/such/dir"), false), -1);
}

TEST(PathHelpers, FindsFilesInTheCurrentFolderFirst)
{
    TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    TempFolder::Write("here.wcf", "x");
    EXPECT_FALSE(FindAlongPath("here.wcf").empty());
    EXPECT_TRUE(FindAlongPath("nowhere-at-all.wcf").empty());
    EXPECT_EQ(ChangeToPathDirectory(""), -1);
    std::filesystem::current_path(previous);
}

}  // namespace
