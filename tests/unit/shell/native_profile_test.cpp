// The native private-profile store: how values are found and cut, and where writes land.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/native_profile.h"
#include "temp_folder.h"

namespace {

class NativeProfileTest : public ::testing::Test {
protected:
    std::string Get(const char* section, const char* key, std::size_t size = 256, const char* fallback = "def")
    {
        std::string out(size ? size : 1, '\0');
        const std::size_t n = profile.GetString(section, key, fallback, &out[0], size, file.c_str());
        out.resize(n);
        return out;
    }

    NativeProfile profile;
    TempFolder folder;
    std::string file = folder.File("p.ini");
};

TEST_F(NativeProfileTest, FindsValuesAsThePlatformDoes)
{
    TempFolder::Write(file,
                      "top=1\r\n[ App ]\r\n  Key  =  spaced value  \nQuoted=\"in quotes\"\n"
                      "Single='x'\nHalf=\"open\nBare\nEmpty=\n;comment=1\n[other]\nKey=second\n"
                      "[APP]\nLater=only the first section of a name counts\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"app", "KEY", "spaced value"},     // names without case; blanks around values dropped
        {" App ", " Key ", "spaced value"}, // blanks around the asked names too
        {"App", "Quoted", "in quotes"},
        {"App", "Single", "x"},
        {"App", "Half", "\"open"},          // no closing quote: kept
        {"App", "Bare", "def"},             // a line without '=' has no value
        {"App", "Empty", ""},
        {"App", "missing", "def"},
        {"other", "Key", "second"},
        {"App", "Later", "def"},
        {"nowhere", "Key", "def"},
        {"", "top", "def"},                 // lines before the first header belong to no section
    };
    for (const auto& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(NativeProfileParse, EveryLineEndAndHeaderShape)
{
    // CR, LF and CR LF end lines; a header ends at its last ']'; a '[' line without one is a key.
    const auto sections = NativeProfile::Parse("a=1\r[S]\rk = v\r\n[T] tail\nb\n\n  [unclosed\nz=\"q\"");
    EXPECT_EQ(NativeProfile::Format(sections), "a=1\r\n[S]\r\nk=v\r\n[T]\r\nb\r\n[unclosed\r\nz=\"q\"\r\n");
    ASSERT_EQ(sections.size(), 3u);
    ASSERT_EQ(sections[2].entries.size(), 3u);
    EXPECT_FALSE(sections[2].entries[0].hasValue);
    EXPECT_EQ(sections[2].entries[2].value, "\"q\"");
}

TEST_F(NativeProfileTest, CutsLongValuesToTheBuffer)
{
    TempFolder::Write(file, "[s]\nk=abcdef\nq=\"abcdef\"\n");
    EXPECT_EQ(Get("s", "k", 4), "abc");
    EXPECT_EQ(Get("s", "q", 8), "abcdef");
    EXPECT_EQ(Get("s", "q", 7), "abcde");  // the platform's rule: the cut drops one more
    EXPECT_EQ(Get("s", "q", 3), "ab");
    EXPECT_EQ(Get("s", "none", 3, "default  "), "de");
    EXPECT_EQ(Get("s", "none", 256, "trailing  "), "trailing");
    EXPECT_EQ(Get("s", "k", 0), "");
}

TEST_F(NativeProfileTest, ReadsIntegersInDecimal)
{
    TempFolder::Write(file, "[s]\na=42\nb= -7x\nc=0x10\nd=\ne=abc\n");
    EXPECT_EQ(profile.GetInt("s", "a", 5, file.c_str()), 42u);
    EXPECT_EQ(static_cast<int>(profile.GetInt("s", "b", 5, file.c_str())), -7);
    EXPECT_EQ(profile.GetInt("s", "c", 5, file.c_str()), 0u);
    EXPECT_EQ(profile.GetInt("s", "d", 5, file.c_str()), 5u);
    EXPECT_EQ(profile.GetInt("s", "e", 5, file.c_str()), 0u);
    EXPECT_EQ(profile.GetInt("s", "none", -3, file.c_str()), static_cast<unsigned>(-3));
}

TEST_F(NativeProfileTest, WritesNewKeysAtTheEndOfTheirSectionAndKeepsTheRest)
{
    TempFolder::Write(file, "; note\n[a]\nx=1\n\n\n[b]\ny=2\n");
    ASSERT_TRUE(profile.WriteString("A", "z", "  3", file.c_str()));
    ASSERT_TRUE(profile.WriteString("b", "Y", "two", file.c_str()));
    ASSERT_TRUE(profile.WriteString("c", "w", "new", file.c_str()));
    EXPECT_EQ(TempFolder::Read(file), "; note\r\n[a]\r\nx=1\r\nz=3\r\n[b]\r\ny=two\r\n[c]\r\nw=new\r\n");
    EXPECT_TRUE(profile.SectionHasKeys("C", file.c_str()));
    EXPECT_FALSE(profile.SectionHasKeys("d", file.c_str()));
}

TEST_F(NativeProfileTest, CreatesTheFileAndFailsWhenItCannot)
{
    ASSERT_TRUE(profile.WriteString("s", "k", "v", file.c_str()));
    EXPECT_EQ(TempFolder::Read(file), "[s]\r\nk=v\r\n");
    EXPECT_FALSE(profile.WriteString("s", "k", "v", folder.File("no/such/folder.ini").c_str()));
}

}  // namespace

namespace {

TEST_F(NativeProfileTest, AFileServedFromMemoryNeverTouchesTheDisk)
{
    profile.ServeFromMemory(file, "[App]\r\nKey=from memory\r\n");
    EXPECT_EQ(Get("App", "Key"), "from memory");
    EXPECT_TRUE(profile.WriteString("App", "New", "value", file.c_str()));
    EXPECT_EQ(profile.MemoryText(), "[App]\r\nKey=from memory\r\nNew=value\r\n");
    EXPECT_EQ(Get("App", "New"), "value");
    EXPECT_FALSE(std::filesystem::exists(file));

    // Other names still go to their files.
    const std::string other = folder.File("other.ini");
    EXPECT_TRUE(profile.WriteString("S", "K", "v", other.c_str()));
    EXPECT_TRUE(std::filesystem::exists(other));

    // What was written in memory survives the store turning to another file and back.
    EXPECT_TRUE(profile.WriteString("App", "Later", "x", file.c_str()));
    EXPECT_TRUE(profile.WriteString("S", "K", "w", other.c_str()));
    EXPECT_EQ(Get("App", "Later"), "x");
    EXPECT_TRUE(profile.DeleteKey("App", "Key", file.c_str()));
    EXPECT_EQ(TempFolder::Read(other), "[S]\r\nK=w\r\n");
    EXPECT_EQ(profile.MemoryText(), "[App]\r\nNew=value\r\nLater=x\r\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
