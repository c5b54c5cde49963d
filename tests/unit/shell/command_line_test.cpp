// Splitting Tolvi's command line and taking its options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

std::vector<std::string> Split(std::string line, int limit = kMaxCommandTokens)
{
    StripEnclosingQuotes(line);
    std::vector<char*> tokens(static_cast<std::size_t>(limit));
    const int count = SplitCommandLine(tokens.data(), limit, &line[0]);
    return std::vector<std::string>(tokens.begin(), tokens.begin() + count);
}

using Tokens = std::vector<std::string>;

TEST(CommandLine, SplitsAtBlanksBeforeSlashesAndKeepsQuotedParts)
{
    const struct {
        const char* line;
        Tokens tokens;
    } cases[] = {
        {"host /c /ip:10.0.0.1", {"host", "/c", "/ip:10.0.0.1"}},
        {"\"C:\\my files\\s.wcf\"", {"C:\\my files\\s.wcf"}},
        // The closing quote of the name opens a quoted part that runs to the end.
        {"\"C:\\my files\\s.wcf\" /c /ip:1.2.3.4", {"\"C:\\my files\\s.wcf\" /c /ip:1.2.3.4"}},
        {"/t:\"two words /x\" /c", {"/t:\"two words /x\"", "/c"}},
        {"-c -ip:host", {"-c -ip:host"}},        // a blank before '-' does not end a token
        {"name -c", {"name -c"}},
        {"  a b /x  ", {"a b", "/x  "}},          // blanks inside, also trailing, are kept
        {"a\tb", {"a", "b"}},
        {"", {}},
        {"\"", {"\""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Split(c.line), c.tokens) << c.line;
}

TEST(CommandLine, TakesAtMostTwentyTokensStartingBeforeTheLimit)
{
    std::string line = "cfg";
    for (int i = 0; i < 25; ++i) line += " /o" + std::to_string(i);
    const Tokens tokens = Split(line);
    ASSERT_EQ(tokens.size(), 20u);
    EXPECT_EQ(tokens.back(), "/o18");

    const std::string longName(196, 'n');
    EXPECT_EQ(Split(longName + " /ab /cd").size(), 2u);  // "/ab" starts at 197, "/cd" at 201
    EXPECT_EQ(Split(std::string(198, ' ') + "/x /y").size(), 1u);
    EXPECT_EQ(Split(std::string(200, ' ') + "x").size(), 0u);
}

TEST(CommandLine, PositionalArgumentsStopAtTheFirstOption)
{
    std::string line = "first /c";
    char* tokens[kMaxCommandTokens];
    char* positional[kMaxPositionalArgs];
    const int count = SplitCommandLine(tokens, kMaxCommandTokens, &line[0]);
    EXPECT_EQ(PickPositionalArgs(count, tokens, positional, kMaxPositionalArgs), 1);
    EXPECT_STREQ(positional[0], "first");

    std::string options = "-c";
    EXPECT_EQ(PickPositionalArgs(SplitCommandLine(tokens, kMaxCommandTokens, &options[0]), tokens, positional,
                                 kMaxPositionalArgs),
              0);
}

struct Taken {
    int id;
    std::string name;
    std::string value;
    bool operator==(const Taken& o) const { return id == o.id && name == o.name && value == o.value; }
};

std::ostream& operator<<(std::ostream& out, const Taken& t)
{
    return out << t.id << " " << t.name << "=" << t.value;
}

std::vector<Taken> Options(std::vector<std::string> tokens)
{
    std::vector<char*> pointers;
    for (auto& t : tokens) pointers.push_back(&t[0]);
    std::vector<Taken> taken;
    std::string name, value;
    int cursor = 0;
    for (int id; (id = NextOption(static_cast<int>(pointers.size()), pointers.data(), kCommandOptions,
                                  kCommandOptionCount, name, value, cursor)) != 0;)
        taken.push_back({id, name, value});
    return taken;
}

TEST(CommandLine, OptionsGiveNameValueAndId)
{
    const struct {
        std::vector<std::string> tokens;
        std::vector<Taken> options;
    } cases[] = {
        {{"host", "/c", "/ip:10.0.0.1"}, {{2712, "c", ""}, {2703, "ip", "10.0.0.1"}}},
        {{"/IP: 10.0.0.1"}, {{2703, "IP", "10.0.0.1"}}},
        {{"/t:\"two words\" rest"}, {{2710, "t", "two words"}}},
        {{"/t:\"open"}, {{2710, "t", "open"}}},
        {{"/host:a b"}, {{2705, "host", "a"}}},
        {{"/host b"}, {{2705, "host", ""}}},      // blanks are skipped only after a colon
        {{"-term:", "vt100"}, {{2700, "term", "vt100"}}},
        {{"/bogus:1", "/c"}, {{-1, "bogus", "1"}, {2712, "c", ""}}},
        {{"/tdef", "/Section3:x"}, {{2702, "tdef", ""}, {2726, "Section3", "x"}}},
        {{"plain", "words"}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Options(c.tokens), c.options) << c.tokens[0];
}

}  // namespace
