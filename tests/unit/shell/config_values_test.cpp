// The text forms of the configuration values and the attribute key names.
#include <gtest/gtest.h>

#include <string>

#include "shell/attribute_key_name.h"
#include "shell/config_values.h"

namespace {

TEST(ConfigValues, BoolTakesAPrefixOfYesFromAtMostThreeCharacters)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 1}, {"Y", 1}, {"ye", 1}, {"YES", 1}, {"yessir", 1}, {"Yes", 1},
        {"Nope", 0}, {"1", 0}, {"No", 0}, {"yeah", 0}, {"yex", 0}, {" yes", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseProfileBool(c.text), c.value) << c.text;
}

TEST(ConfigValues, CharAcceptsNumbersCaretsEscapesAndSingleCharacters)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"^M", 13}, {"\\r", 13}, {"13", 13}, {"0x0d", 13}, {"015", 13}, {"300", 0}, {"ab", 0},
        {"#", 35}, {"", 0}, {"^", 0}, {"^m", 0}, {"^MM", 0}, {"^@", 0}, {"^_", 31}, {"\\a", 7},
        {"\\q", 'q'}, {"\\rr", 0}, {"0xa0", 0xA0}, {"255", 255}, {"256", 0}, {"9x", 9},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseProfileChar(c.text), c.value) << c.text;
}

TEST(ConfigValues, CharIsWrittenInHexOnlyWithBitSeven)
{
    EXPECT_EQ(FormatProfileChar(0xA0), "0xa0");
    EXPECT_EQ(FormatProfileChar(65), "65");
    EXPECT_EQ(FormatProfileChar(0x7F), "127");
    for (int b = 0; b < 256; ++b) EXPECT_EQ(ParseProfileChar(FormatProfileChar(static_cast<uint8_t>(b)).c_str()), b);
}

TEST(ConfigValues, LongReadsCNumbersWithBasePrefixAndSign)
{
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"-1", 0xFFFFFFFFu}, {"0x8080", 0x8080}, {"0X00FF00", 0xFF00}, {"017", 15}, {"9600", 9600},
        {"", 0}, {"abc", 0}, {"99999999999", 0xFFFFFFFFu}, {"-99999999999", 0xFFFFFFFFu},
        {"  42", 42}, {"4294967295", 0xFFFFFFFFu}, {"08", 0}, {"0x", 0}, {"-0x10", 0xFFFFFFF0u},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseProfileLong(c.text), c.value) << c.text;
}

TEST(ConfigValues, ScrambledTextRoundTripsAndPutsTheLastCharacterFirst)
{
    // 'a' (0x61): ~0x61 ^ 94 = 0xC0 -> "ma".
    EXPECT_EQ(ScrambleProfileText("a"), "\"ma\"");
    EXPECT_EQ(ScrambleProfileText(""), "\"\"");
    const std::string two = ScrambleProfileText("ab");
    EXPECT_EQ(two.substr(3, 2), "ma");  // the first character's pair comes last

    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    for (const std::string& text : {std::string("secret"), std::string(128, 'x'), all.substr(0, 128),
                                     all.substr(127)}) {
        const std::string scrambled = ScrambleProfileText(text);
        EXPECT_EQ(UnscrambleProfileText(scrambled.substr(1, scrambled.size() - 2), 255), text);
    }
}

TEST(ConfigValues, UnscramblingStopsAtBadLettersAndIgnoresAnOddLetter)
{
    const std::string scrambled = ScrambleProfileText("abc");
    std::string letters = scrambled.substr(1, scrambled.size() - 2);
    EXPECT_EQ(UnscrambleProfileText(letters + "m", 255), "abc");       // odd count
    EXPECT_EQ(UnscrambleProfileText(letters, 2), "ab");                 // limit
    std::string bad = letters;
    bad[2] = 'z';                                                        // the pair of 'b'
    EXPECT_EQ(UnscrambleProfileText(bad, 255), "a");
    EXPECT_EQ(UnscrambleProfileText("", 255), "");
    EXPECT_EQ(UnscrambleProfileText("Q", 255), "");
}

TEST(AttributeKeyName, BuildsKeysAndLabelsFromTheAttributeWords)
{
    const struct {
        int attributes;
        const char* fg;
        const char* label;
    } cases[] = {
        {0, "NormalFgColor", "Normal "},
        {9, "BlinkingBoldFgColor", "Blinking Bold "},
        {0x30, "ProtectedFgColor", "Protected "},
        {0x14, "NumericUnderlineFgColor", "Numeric Underline "},
        {0x01, "BoldFgColor", "Bold "},
        {3, "BoldReversedFgColor", "Bold Reversed "},
        {13, "BlinkingBoldUnderlineFgColor", "Blinking Bold Underline "},
        {15, "BlinkingBoldReversedUnderlineFgColor", "Blinking Bold Reversed Underline "},
        {47, "ProtectedBlinkingBoldReversedUnderlineFgColor", "Protected Blinking Bold Reversed Underline "},
    };
    AttributeKeyName names;
    for (const auto& c : cases) {
        EXPECT_EQ(names.BuildFgKey(c.attributes), c.fg);
        std::string bg = c.fg;
        bg.replace(bg.size() - 7, 2, "Bg");
        EXPECT_EQ(names.BuildBgKey(c.attributes), bg);
        EXPECT_EQ(names.BuildLabel(c.attributes), c.label);
        EXPECT_EQ(names.Name(), c.label);
    }
}

}  // namespace
