// The network install without a window: the remote-name proposal, the instructions, the lines
// logged from the version and readme files, and the terminal's command line for each kind of
// archive, with values that need quoting.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "install_rules.h"

namespace {

TEST(InstallRemoteName, Proposal)
{
    struct Case {
        const char* remote;
        const char* base;
        const char* extension;
        const char* full;
        const char* want;
    };
    const Case cases[] = {
        {"/tmp/old.tar.Z", "KIT", ".TAZ", "KIT.TAZ", "/tmp/kit.tar.Z"},
        {"/tmp/old.tar.Z", "base", ".tar", "base.tar", "/tmp/base.tar"},
        {"/tmp/pkg.tar", "New", ".Taz", "New.Taz", "/tmp/new.tar.Z"},
        {"/Opt/Dir/x.tar", "a", ".tar", "a.tar", "/opt/dir/a.tar"},
        // ".Z" is dropped only at the end: a folder with ".Z" in its name stays.
        {"/tmp/a.Zfolder/x.tar", "b", ".tar", "b.tar", "/tmp/a.zfolder/b.tar"},
        {"/x.Z", "b", ".tar", "b.tar", "/b.tar"},
        // No '/' in the remote name: nothing is proposed.
        {"pkg.tar", "b", ".tar", "b.tar", "pkg.tar"},
        {"", "b", ".tar", "b.tar", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProposeRemoteName(c.remote, c.base, c.extension, c.full), c.want) << c.remote << " " << c.full;
    EXPECT_EQ(DefaultRemoteName("pkg.tar.Z"), "/tmp/pkg.tar.Z");
}

TEST(InstallCommandLine, EachKindOfArchive)
{
    const std::string prefix = "C:\\tolvi\\Tolvi.exe install.wcf  /c  /ip:host1 /user:root /pw:secret";
    struct Case {
        const char* remote;
        const char* defaultRemote;
        const char* option;
        bool tar;
    };
    const Case cases[] = {
        {"/tmp/pkg.tar", "/tmp/pkg.tar", " /program:\"tar -xvf /tmp/pkg.tar\"", true},
        {"/tmp/pkg.tar.Z", "/tmp/kit.tar.Z", " /program:\"uncompress /tmp/pkg.tar;tar -xvf /tmp/pkg.tar\"", true},
        {"/tmp/kit.tar.Z", "/tmp/kit.tar.Z", "", true},
        {"/tmp/notes.txt", "/tmp/kit.tar.Z", " /program:\"tar -xvf /tmp/notes.txt\"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InstallCommandLine("C:\\tolvi\\Tolvi.exe", "host1", "root", "secret", c.remote, c.defaultRemote),
                  prefix + c.option)
            << c.remote;
        EXPECT_EQ(IsTarArchive(c.remote), c.tar) << c.remote;
    }
}

TEST(InstallCommandLine, BlanksAreQuotedAndQuotesRefused)
{
    // A password with blanks stays one value: it cannot add options of its own.
    EXPECT_EQ(InstallCommandLine("C:\\Program Files\\Tolvi\\Tolvi.exe", "my host", "root", "x /program:rm", "/tmp/a b.tar",
                                 "/tmp/c.tar"),
              "\"C:\\Program Files\\Tolvi\\Tolvi.exe\" install.wcf  /c  /ip:\"my host\" /user:root "
              "/pw:\"x /program:rm\" /program:\"tar -xvf /tmp/a b.tar\"");
    for (const char* value : {"a\"b", "a\nb", "\t", "x\x7f"})
        EXPECT_TRUE(InstallValueRefused(value)) << value;
    for (const char* value : {"", "plain", "with blank", "sl/ash\\;%"})
        EXPECT_FALSE(InstallValueRefused(value)) << value;
    // Long values are never cut.
    const std::string longPassword(600, 'p');
    EXPECT_NE(InstallCommandLine("t.exe", "h", "u", longPassword, "/tmp/a.tar", "").find("/pw:" + longPassword + " "),
              std::string::npos);
}

TEST(InstallInstructions, Texts)
{
    EXPECT_EQ(InstallInstructions("root", "/tmp/pkg.tar"),
              "- Login as root to UNIX\n- Expand the archive\n- Start the installation");
    EXPECT_EQ(InstallInstructions("joe", "/tmp/pkg.tar.Z"),
              "- Login as joe to UNIX\n- uncompress \n- Expand the archive\n- Start the installation");
    EXPECT_EQ(ManualHostCommands("/tmp/pkg.tar.Z"),
              "uncompress /tmp/pkg.tar\ntar -xvf /tmp/pkg.tar\n/tmp/usr/kavern95/install/install");
    EXPECT_EQ(ManualHostCommands("/tmp/pkg.tar"), "tar -xvf /tmp/pkg.tar\n/tmp/usr/kavern95/install/install");
    EXPECT_EQ(UncompressedName("/tmp/a.Z/b.tar.Z"), "/tmp/a");
}

TEST(InstallFiles, VersionAndReadmeLines)
{
    EXPECT_EQ(TextLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(TextLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));

    // A readme line longer than 160 characters goes on in the next one; a NUL ends a line's text.
    const char* name = "install_readme_lines.txt";
    FILE* file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    const std::string text = std::string(170, 'x') + "\r\nshort\n" + std::string("a\0b\n", 4) + "last";
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    file = std::fopen(name, "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadmeLogLines(file),
              (std::vector<std::string>{std::string(160, 'x'), std::string(10, 'x'), "short", "a", "last"}));
    std::fclose(file);
    std::remove(name);
}

}  // namespace
