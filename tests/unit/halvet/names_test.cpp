// Names and facts of a ZFILE: the local name a sender's name may become, the name we send by
// the file-name option, and the facts text both ways.
#include <gtest/gtest.h>

#include "hv_names.h"

using namespace halvet;

TEST(HalvetNames, OnlyTheLastComponentOfASendersNameIsUsed) {
    struct Case {
        const char* sent;
        const char* local;  // null: refused
    } cases[] = {
        {"plain.txt", "plain.txt"},
        {"../../etc/passwd", "passwd"},
        {"/abs/path/x.bin", "x.bin"},
        {"..\\..\\Windows\\evil.exe", "evil.exe"},
        {"C:evil.dll", "evil.dll"},
        {"bad\x01na<me>?.txt", "bad_na_me__.txt"},
        {"", nullptr},
        {".", nullptr},
        {"..", nullptr},
        {"...", nullptr},
        {"dir/", nullptr},
        {"a/..", nullptr},
        {"x/.", nullptr},
    };
    for (const Case& c : cases) {
        std::string local;
        bool ok = SafeLocalName(c.sent, local);
        if (c.local) {
            EXPECT_TRUE(ok) << c.sent;
            EXPECT_EQ(local, c.local) << c.sent;
        } else {
            EXPECT_FALSE(ok) << c.sent << " became " << local;
        }
    }
}

TEST(HalvetNames, NameSentFollowsTheOption) {
    EXPECT_EQ(NameToSend("C:\\data\\report.v2.txt", 0), "report.v2.txt");
    EXPECT_EQ(NameToSend("C:\\data\\report.v2.txt", 11), "report.v2.txt");
    EXPECT_EQ(NameToSend("C:\\data\\report.v2.txt", 12), "report/v2/txt");
    EXPECT_EQ(NameToSend("C:\\data\\report.v2.txt", 13), "data/report.v2.txt");
    EXPECT_EQ(NameToSend("/tmp/x/y.bin", 13), "tmp/x/y.bin");
}

TEST(HalvetNames, FactsTextRoundTripsAndToleratesShortForms) {
    auto built = BuildFileInfo("a b.bin", 5242880, 01234567012, 3, 6000000);
    FileInfo i = ParseFileInfo(built.data(), built.size());
    EXPECT_EQ(i.name, "a b.bin");
    EXPECT_TRUE(i.hasSize);
    EXPECT_EQ(i.size, 5242880);
    EXPECT_TRUE(i.hasTime);
    EXPECT_EQ(i.modTime, 01234567012);
    EXPECT_EQ(i.filesLeft, 3);
    EXPECT_EQ(i.bytesLeft, 6000000);

    const uint8_t nameOnly[] = {'n', 0};
    i = ParseFileInfo(nameOnly, sizeof nameOnly);
    EXPECT_EQ(i.name, "n");
    EXPECT_FALSE(i.hasSize);

    i = ParseFileInfo(nullptr, 0);  // an empty ZFILE sub-packet
    EXPECT_EQ(i.name, "");
    EXPECT_FALSE(i.hasSize);

    const uint8_t noNul[] = {'a', 'b'};
    i = ParseFileInfo(noNul, sizeof noNul);
    EXPECT_EQ(i.name, "ab");
    EXPECT_FALSE(i.hasSize);

    const char sizeOnly[] = "s\0" "77";
    i = ParseFileInfo(reinterpret_cast<const uint8_t*>(sizeOnly), sizeof sizeOnly - 1);
    EXPECT_EQ(i.size, 77);
    EXPECT_FALSE(i.hasTime);

    const char huge[] = "h\0" "99999999999999999999999999 9";
    i = ParseFileInfo(reinterpret_cast<const uint8_t*>(huge), sizeof huge - 1);
    EXPECT_GT(i.size, 0);  // kept within range, not wrapped
}
