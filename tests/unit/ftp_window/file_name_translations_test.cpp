// File-name translations: the direction table, the two translations, the section's lines both
// ways, the dialog's order, checks and dot handling, and the section writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_name_translations.h"

namespace {

using Rules = std::vector<FileNameTranslation>;

TEST(TranslationDirection, TableBothWays)
{
    const char* names[] = {"deactivated", "sending", "receiving", "both"};
    const int radios[] = {-1, 2, 1, 0};
    for (int code = 0; code < 4; ++code) {
        EXPECT_STREQ(DirectionName(code), names[code]);
        EXPECT_EQ(DirectionRadio(code), radios[code]);
        if (code > 0) {
            EXPECT_EQ(DirectionFromRadio(radios[code]), code);
        }
    }
    EXPECT_STREQ(DirectionName(7), "");
    EXPECT_EQ(DirectionRadio(-1), -1);
    EXPECT_EQ(DirectionFromRadio(-1), 0);
    EXPECT_EQ(DirectionFromRadio(3), 0);
    // Name to code: the first of both, receiving, sending that contains the text.
    const std::pair<const char*, int> texts[] = {{"", 3},  {"both", 3},  {"send", 1},        {"rec", 2},
                                                 {"ing", 2}, {"sending", 1}, {"deactivated", 0}, {"upload", 0},
                                                 {"Both", 0}};
    for (const auto& [text, code] : texts)
        EXPECT_EQ(DirectionFromName(text), code) << text;
}

TEST(FileNameTranslation, BothDirectionsAndCase)
{
    const Rules rules = {{".html", ".htm", kTranslateBoth}};
    EXPECT_EQ(TranslateFileName(rules, "index.html", kTranslateSending), "index.htm");
    EXPECT_EQ(TranslateFileName(rules, "index.htm", kTranslateReceiving), "index.html");
    EXPECT_EQ(TranslateFileName(rules, "INDEX.HTM", kTranslateReceiving), "INDEX.HTM");
    EXPECT_EQ(TranslateFileName(rules, "index.htm", kTranslateSending), "index.htm");
    EXPECT_EQ(TranslateFileName(rules, "", kTranslateSending), "");
    // The whole name as the ending.
    EXPECT_EQ(TranslateFileName(rules, ".html", kTranslateSending), ".htm");
}

TEST(FileNameTranslation, DirectionOrderAndRulesNeverApplied)
{
    const Rules sendOnly = {{".txt", ".asc", kTranslateSending}};
    EXPECT_EQ(TranslateFileName(sendOnly, "a.txt", kTranslateSending), "a.asc");
    EXPECT_EQ(TranslateFileName(sendOnly, "a.asc", kTranslateReceiving), "a.asc");
    const Rules receiveOnly = {{".txt", ".asc", kTranslateReceiving}};
    EXPECT_EQ(TranslateFileName(receiveOnly, "a.txt", kTranslateSending), "a.txt");
    EXPECT_EQ(TranslateFileName(receiveOnly, "a.asc", kTranslateReceiving), "a.txt");

    // Of two matching rules the first in list order wins.
    const Rules two = {{".html", ".htm", kTranslateBoth}, {"l", "x", kTranslateBoth}};
    EXPECT_EQ(TranslateFileName(two, "a.html", kTranslateSending), "a.htm");
    const Rules swapped = {two[1], two[0]};
    EXPECT_EQ(TranslateFileName(swapped, "a.html", kTranslateSending), "a.htmx");

    // Never applied, and so never hiding a later rule: direction 0 or unknown, two empty endings,
    // a refused character (a name would leave its folder).
    const FileNameTranslation later = {".c", ".cpp", kTranslateBoth};
    const Rules hidden[] = {
        {{".c", ".x", kTranslateNever}, later},   {{".c", ".x", 9}, later},
        {{"", "", kTranslateBoth}, later},        {{".c", "\\..\\evil", kTranslateBoth}, later},
        {{".c", "/x", kTranslateBoth}, later},    {{".c", "a:b", kTranslateBoth}, later},
        {{".c", ".x y", kTranslateBoth}, later},
    };
    for (const Rules& rules : hidden) {
        EXPECT_FALSE(TranslationApplies(rules[0])) << TranslationLine(rules[0]);
        EXPECT_EQ(TranslateFileName(rules, "main.c", kTranslateSending), "main.cpp") << TranslationLine(rules[0]);
    }
    // One empty ending is fine: it stands at the end of every name.
    const Rules append = {{"", ".bak", kTranslateSending}};
    EXPECT_EQ(TranslateFileName(append, "notes", kTranslateSending), "notes.bak");
}

TEST(FileNameTranslation, LinesOfTheSection)
{
    const std::vector<std::string> lines = {".html*.htm*both", "*.x*send", "**both", ".a*.b", "no stars",
                                            ".c*.d*rec", ".e*.f*upload", ".g*.h*", "*"};
    const Rules want = {{".html", ".htm", 3}, {"", ".x", 1}, {".a", ".b", 0},    {"no stars", "", 0},
                        {".c", ".d", 2},      {".e", ".f", 0}, {".g", ".h", 3}};
    EXPECT_EQ(TranslationsFromLines(lines), want);
    EXPECT_EQ(TranslationLines({{".html", ".htm", 3}, {".a", ".b", 0}, {"", "", 3}}),
              (std::vector<std::string>{".html*.htm*both", ".a*.b*deactivated", "**both"}));
    // A rule written and read again is the same rule.
    for (const FileNameTranslation& rule : want)
        EXPECT_EQ(TranslationFromLine(TranslationLine(rule)), rule);
}

TEST(FileNameTranslation, SortIsStableByLocalBytes)
{
    Rules rules = {{".htm", "1", 3}, {".html", "2", 3}, {".h", "3", 3}, {"\xe4x", "4", 3},
                   {".htm", "5", 1}, {"Z", "6", 3},     {"", "7", 3}};
    SortTranslations(rules);
    std::string order;
    for (const FileNameTranslation& rule : rules)
        order += rule.remote;
    EXPECT_EQ(order, "7315264");  // "", ".h", ".htm" (twice, kept in order), ".html", "Z", 0xE4
}

TEST(FileNameTranslation, EditChecksAndDots)
{
    EXPECT_EQ(CheckEndings("", ""), EndingCheck::kBothEmpty);
    EXPECT_EQ(CheckEndings("htm", ""), EndingCheck::kOk);
    for (char c : std::string("*\t\"\\;:/[] "))
        EXPECT_EQ(CheckEndings("a", std::string("b") + c), EndingCheck::kIllegalCharacter) << int(c);
    EXPECT_STREQ(EndingCheckMessage(EndingCheck::kIllegalCharacter), "Illegal character in filename.");
    EXPECT_STREQ(EndingCheckMessage(EndingCheck::kBothEmpty),
                 "One of the filenames must be at least one character long.");

    // htm and html with the dot box store .htm and .html; opening the rule shows them again.
    TranslationEditValues typed{"html", "htm", 0, true};
    const FileNameTranslation rule = RuleOfEditValues(typed);
    EXPECT_EQ(rule, (FileNameTranslation{".html", ".htm", kTranslateBoth}));
    const TranslationEditValues shown = EditValuesOf(rule);
    EXPECT_EQ(shown.local, "html");
    EXPECT_EQ(shown.remote, "htm");
    EXPECT_TRUE(shown.dots);
    EXPECT_EQ(shown.radio, 0);

    struct Case {
        FileNameTranslation rule;
        const char* local;
        const char* remote;
        bool dots;
    };
    const Case cases[] = {
        {{"", "", 3}, "", "", true},           {{".", ".x", 3}, ".", ".x", false}, {{".a", "b", 3}, ".a", "b", false},
        {{".ab", ".c", 1}, "ab", "c", true}, {{".ab", ".", 1}, ".ab", ".", false}, {{".ab", ".cd", 2}, "ab", "cd", true},
    };
    for (const Case& c : cases) {
        const TranslationEditValues v = EditValuesOf(c.rule);
        EXPECT_EQ(v.local, c.local);
        EXPECT_EQ(v.remote, c.remote);
        EXPECT_EQ(v.dots, c.dots) << c.local;
        EXPECT_EQ(v.radio, DirectionRadio(c.rule.direction));
    }
}

TEST(FileNameTranslation, ListEditing)
{
    Rules rules = {{".b", ".x", 3}, {".a", ".y", 1}};
    // New, then Cancel: the empty rule goes again and nothing changed.
    int index = AddNewTranslation(rules);
    EXPECT_EQ(rules[0], (FileNameTranslation{"", "", 3}));
    EXPECT_FALSE(EndTranslationEdit(rules, index, true, false, false, {}));
    EXPECT_EQ(rules, (Rules{{".b", ".x", 3}, {".a", ".y", 1}}));
    // Cancel on an existing rule keeps it.
    EXPECT_FALSE(EndTranslationEdit(rules, 1, false, false, false, {}));
    EXPECT_EQ(rules.size(), 2u);
    // New, then OK: stored and sorted in.
    index = AddNewTranslation(rules);
    EXPECT_TRUE(EndTranslationEdit(rules, index, true, true, false, {"html", "htm", 2, true}));
    EXPECT_EQ(rules, (Rules{{".a", ".y", 1}, {".b", ".x", 3}, {".html", ".htm", 1}}));
    // Delete.
    EXPECT_TRUE(EndTranslationEdit(rules, 1, false, true, true, {}));
    EXPECT_EQ(rules, (Rules{{".a", ".y", 1}, {".html", ".htm", 1}}));
    EXPECT_FALSE(EndTranslationEdit(rules, 5, false, true, true, {}));
}

TEST(ProfileSection, ReadAndReplace)
{
    const std::string file =
        "[TolviFTP]\r\nEmail=me@x\r\n\r\n[FileNameTranslations]\r\n.html*.htm*both\r\n; a note\r\n  .a*.b*send \r\n"
        "[Site:1]\r\nHost=h\r\n[filenametranslations]\r\n.c*.d*rec\r\n";
    EXPECT_EQ(ProfileSectionLines(file, kTranslationSection),
              (std::vector<std::string>{".html*.htm*both", ".a*.b*send", ".c*.d*rec"}));
    EXPECT_TRUE(ProfileSectionLines(file, "Nothing").empty());

    const std::string replaced = ReplaceProfileSection(file, kTranslationSection, {".x*.y*both"});
    EXPECT_EQ(replaced,
              "[TolviFTP]\r\nEmail=me@x\r\n\r\n[FileNameTranslations]\r\n.x*.y*both\r\n[Site:1]\r\nHost=h\r\n");
    // A long section is read whole, never cut in the middle of a line.
    std::vector<std::string> many;
    for (int i = 0; i < 600; ++i)
        many.push_back(".local" + std::to_string(i) + "*.remote" + std::to_string(i) + "*both");
    const std::string big = ReplaceProfileSection("", kTranslationSection, many);
    EXPECT_GT(big.size(), 5000u);
    EXPECT_EQ(ProfileSectionLines(big, kTranslationSection), many);
    EXPECT_EQ(ReplaceProfileSection("[A]\nk=v", kTranslationSection, {}), "[A]\r\nk=v\r\n[FileNameTranslations]\r\n");
}

class MemoryStore : public TranslationStore {
public:
    std::string file;
    std::vector<std::string> ReadLines() override { return ProfileSectionLines(file, kTranslationSection); }
    bool writable = true;
    bool WriteLines(const std::vector<std::string>& lines) override
    {
        if (!writable)
            return false;
        file = ReplaceProfileSection(file, kTranslationSection, lines);
        return true;
    }
};

class ScriptedEditor : public TranslationEditor {
public:
    bool ok = true;
    std::vector<FileNameTranslation> result;
    std::vector<FileNameTranslation> seen;
    bool Edit(std::vector<FileNameTranslation>& rules) override
    {
        seen = rules;
        if (ok)
            rules = result;
        return ok;
    }
};

TEST(StdFileNameTranslator, LoadsEditsSavesAndReloads)
{
    MemoryStore store;
    store.file = "[TolviFTP]\r\nAppendMode=Off\r\n[FileNameTranslations]\r\n.html*.htm*both\r\n**both\r\n";
    ScriptedEditor editor;
    EXPECT_EQ(CreateFileNameTranslator("other", store, editor), nullptr);
    auto translator = CreateFileNameTranslator("std", store, editor);
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(translator->TranslateSentName("index.html"), "index.htm");
    EXPECT_EQ(translator->TranslateReceivedName("index.htm"), "index.html");

    // Cancel changes nothing.
    editor.ok = false;
    EXPECT_EQ(translator->EditTranslations(), 0);
    EXPECT_EQ(editor.seen, (Rules{{".html", ".htm", 3}}));
    // OK replaces the rules and writes the section in the file's own line format.
    editor.ok = true;
    editor.result = {{".txt", ".asc", kTranslateSending}, {".html", ".htm", kTranslateBoth}};
    EXPECT_EQ(translator->EditTranslations(), 1);
    EXPECT_EQ(store.file, "[TolviFTP]\r\nAppendMode=Off\r\n[FileNameTranslations]\r\n.txt*.asc*sending\r\n"
                          ".html*.htm*both\r\n");
    EXPECT_EQ(translator->TranslateReceivedName("a.asc"), "a.asc");
    auto again = CreateFileNameTranslator("std", store, editor);
    EXPECT_EQ(static_cast<StdFileNameTranslator&>(*again).Rules(), editor.result);

    // A store that cannot be written: the rules are in use for this run, the failure is told.
    store.writable = false;
    editor.result = {{".c", ".cc", kTranslateBoth}};
    EXPECT_EQ(translator->EditTranslations(), -1);
    EXPECT_EQ(translator->TranslateSentName("a.c"), "a.cc");
}

}  // namespace
