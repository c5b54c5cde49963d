// The shell's DDE open commands: one or more [open("path")], nothing else.
#include <gtest/gtest.h>

#include <cstring>

#include "shell_open_commands.h"

namespace {

TEST(ShellOpenCommands, AcceptsOpenCommandsOnly)
{
    struct Case {
        const char* text;
        bool valid;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"[open(\"C:\\a b\\s.wcf\")]", true, {"C:\\a b\\s.wcf"}},
        {" [OPEN( \"x.wcf\" )] [open(\"y.wcf\")] ", true, {"x.wcf", "y.wcf"}},
        {"[open(\"say \"\"hi\"\".wcf\")]", true, {"say \"hi\".wcf"}},
        {"", false, {}},
        {"[]", false, {}},
        {"[open(\"\")]", false, {}},
        {"[open(\"x.wcf\")", false, {}},
        {"[open(\"x.wcf)]", false, {}},
        {"[print(\"x.wcf\")]", false, {}},
        {"[open(\"a\")] junk", false, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> paths;
        EXPECT_EQ(ParseShellOpenCommands(c.text, std::strlen(c.text), paths), c.valid) << c.text;
        EXPECT_EQ(paths, c.paths) << c.text;
    }
}

TEST(ShellOpenCommands, ReadsNoFurtherThanTheLengthOrANul)
{
    const char text[] = "[open(\"a.wcf\")][open(\"b.wcf\")]";
    std::vector<std::string> paths;
    EXPECT_TRUE(ParseShellOpenCommands(text, 15, paths));  // the first command exactly
    EXPECT_EQ(paths, std::vector<std::string>{"a.wcf"});
    const char withNul[] = "[open(\"a.wcf\")]\0[open(\"b";
    paths.clear();
    EXPECT_TRUE(ParseShellOpenCommands(withNul, sizeof withNul, paths));
    EXPECT_EQ(paths, std::vector<std::string>{"a.wcf"});
    EXPECT_FALSE(ParseShellOpenCommands(text, 10, paths));  // cut inside the first
}

}  // namespace
