// The framework's window-free dialog support: the data-exchange prompts and filling a list from
// the string table and a value table.
#include <gtest/gtest.h>

#include <string>

#include "fw_list_fill.h"
#include "fw_prompts.h"

TEST(FwPrompts, ArgumentsReplaceTheirNumbers)
{
    EXPECT_EQ(FwFormatPrompt(kFwPromptIntRange, {"-255", "255"}), "Please enter an integer between -255 and 255.");
    EXPECT_EQ(FwFormatPrompt(kFwPromptMaxChars, {"12"}), "Please enter no more than 12 characters.");
    // Repeated, out of order, missing and escaped markers.
    EXPECT_EQ(FwFormatPrompt("%2-%1-%2 %3 100%% %x", {"a", "b"}), "b-a-b %3 100% %x");
    EXPECT_EQ(FwFormatPrompt("ends in %", {}), "ends in %");
}

namespace {

std::string Strings(int id) { return id == 2 ? "" : "s" + std::to_string(id); }

}  // namespace

TEST(FwListFill, EntriesCarryTheirValuesAndTheFirstMatchSelects)
{
    const long values[] = {10, 20, 10, -1};
    const auto entries = FwListEntries(0, values, 4, Strings);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].text, "s1");
    EXPECT_EQ(entries[2].text, "");  // a missing string still takes its place
    EXPECT_EQ(entries[3].value, -1);
    EXPECT_EQ(FwListSelection(entries, 10), 0);
    EXPECT_EQ(FwListSelection(entries, -1), 3);
    EXPECT_EQ(FwListSelection(entries, 99), -1);
    EXPECT_TRUE(FwListEntries(5, values, 0, Strings).empty());
}

TEST(FwListFill, NoSelectionKeepsTheSetting)
{
    const long values[] = {7, 8};
    const auto entries = FwListEntries(100, values, 2, Strings);
    EXPECT_EQ(FwListChosenValue(entries, 1, 99), 8);
    EXPECT_EQ(FwListChosenValue(entries, -1, 99), 99);
    EXPECT_EQ(FwListChosenValue(entries, 2, 99), 99);
}
