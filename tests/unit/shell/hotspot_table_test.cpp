// The dynamic-hotspot table: resolution of each type against the session's key tables, the table
// built from the keyboard map, the file read and written back unchanged, hostile lines, and the
// document saving it.
#include <gtest/gtest.h>

#include <string>

#include "session/key_tables.h"
#include "session_fixture.h"
#include "test_key_map.h"
#include "shell/hotspot_table.h"

namespace {

class Hotspots : public SessionTest {
protected:
    void SetUp() override
    {
        Key(0x70, 0, "F1", "PF1");       // a terminal key name
        Key(0x71, 0, "F2", "hello\\r");  // an action string
        Key(0x72, kShiftBit, "F3", "PF1");
        Key(0x73, 0, "", "nameless");
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "\\033OP"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF2", "\\033OQ"));
    }
    void TearDown() override { DynHotspots.reset(); }
    void Key(uint16_t code, uint16_t modifiers, const std::string& name, const std::string& value)
    {
        AddTestKey(doc.keyMap, code, modifiers, name, value);
    }
    HotspotTable table;
};

TEST_F(Hotspots, EachTypeResolvesAgainstTheKeyTables)
{
    const struct {
        const char* word;
        unsigned type;
        const char* send;
        int typeAfter;
        const char* sendAfter;
        const char* effective;
    } cases[] = {
        {"go", kHotspotPcKey, "F1", 0, "F1", "\\033OP"},  // PC key -> key name -> definition
        {"hi", kHotspotPcKey, "F2", 0, "F2", "hello\\r"}, // PC key -> its action string
        {"no", kHotspotPcKey, "F9", 0, "F9", ""},         // a missing PC key marks nothing
        {"sh", kHotspotPcKey, "F3", 0, "F3", ""},         // only unmodified keys count
        {"pf", kHotspotKeyName, "PF2", 1, "PF2", "\\033OQ"},
        {"xx", kHotspotKeyName, "PF9", 1, "PF9", ""},
        {"lit", kHotspotLiteral, " ls -l\\r", 2, " ls -l\\r", " ls -l\\r"},
        {"odd", 7, "PF1", 7, "PF1", ""},                  // an unknown type never resolves
        // A word that is a PC key's name takes that key over.
        {"F1", kHotspotLiteral, "anything", 1, "PF1", "\\033OP"},
        {"F2", kHotspotKeyName, "PF2", 2, "hello\\r", "hello\\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        ASSERT_EQ(0, table.Add(c.word, c.type, c.send));
        EXPECT_EQ(c.typeAfter, table.GetType(c.word));
        EXPECT_EQ(c.sendAfter, table.GetSendString(c.word));
        EXPECT_EQ(c.effective, table.GetEffectiveString(c.word));
    }
    EXPECT_EQ(-1, table.GetType("absent"));
    EXPECT_EQ("", table.GetEffectiveString("absent"));

    // Key tables reloaded: the document resolves the program's table again.
    DynHotspots = std::make_unique<HotspotTable>();
    DynHotspots->CopyFrom(table);
    doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "\\033[11~"));
    EXPECT_EQ("\\033OP", DynHotspots->GetEffectiveString("go"));
    doc.RefreshHotspotStrings();
    EXPECT_EQ("\\033[11~", DynHotspots->GetEffectiveString("go"));
    doc.keyDefs.RemoveKey("PF2");
    doc.RefreshHotspotStrings();
    EXPECT_EQ("", DynHotspots->GetEffectiveString("pf"));
}

TEST_F(Hotspots, AddRefusesNamesAndStringsThatCannotBeStored)
{
    EXPECT_EQ(1, table.Add("", kHotspotLiteral, "x"));
    EXPECT_EQ(1, table.Add("two words", kHotspotLiteral, "x"));
    EXPECT_EQ(1, table.Add("tab\tbed", kHotspotLiteral, "x"));
    EXPECT_EQ(1, table.Add("word", kHotspotLiteral, "two\nlines"));
    EXPECT_EQ(0u, table.GetCount());
    // Replacing keeps the entry's place.
    table.Add("a", kHotspotLiteral, "1");
    table.Add("b", kHotspotLiteral, "2");
    table.Add("a", kHotspotLiteral, "3");
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), table.Names());
    EXPECT_EQ("3", table.GetSendString("a"));
    table.Remove("a");
    table.Remove("a");
    EXPECT_EQ((std::vector<std::string>{"b"}), table.Names());
}

TEST_F(Hotspots, BuiltFromTheKeyboardMapWithoutAFile)
{
    EXPECT_EQ(0, table.Load(folder.File("missing.dyn")));
    EXPECT_EQ((std::vector<std::string>{"F1", "F2"}), table.Names());  // no modified, no nameless key
    EXPECT_EQ(1, table.GetType("F1"));
    EXPECT_EQ("\\033OP", table.GetEffectiveString("F1"));
    EXPECT_EQ(2, table.GetType("F2"));
    EXPECT_EQ("hello\\r", table.GetEffectiveString("F2"));
    SetHotspotSources(nullptr, nullptr);
    HotspotTable bare;
    EXPECT_EQ(0, bare.BuildFromKeyMap());
}

// The table is a text file: its lines end as the system's text files do.
std::string TextLines(const std::string& lines)
{
#ifdef _WIN32
    std::string text;
    for (char c : lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
#else
    return lines;
#endif
}

TEST_F(Hotspots, FileIsWrittenBackAsItWasRead)
{
    // Every type and send strings with leading, inner and trailing blanks, printf and scanf
    // directives, the field names themselves, backslashes, 8-bit characters and nothing at all.
    const std::string file = TextLines(
        "name: HELP type: 2 sendstring: <f1>\n"
        "name: zeta type: 0 sendstring: F2\n"
        "name: alpha type: 1 sendstring: PF1\n"
        "name: blanks type: 2 sendstring:   three leading, two trailing  \n"
        "name: percent type: 2 sendstring: %s%n%d %[^\\n] 100%\n"
        "name: nested type: 2 sendstring: name: x type: 1 sendstring: y\n"
        "name: empty type: 2 sendstring: \n"
        "name: caf\xc3\xa9 type: 2 sendstring: \xe4\xf6\xfc \\x1b[A\n"
        "name: Menu-2 type: 9 sendstring: unknown type kept\n"
        "name: long type: 2 sendstring: " + std::string(267, 'x') + "\n");  // 298 in all
    TempFolder::Write(folder.File("in.dyn"), file);
    EXPECT_EQ(10, table.Load(folder.File("in.dyn")));
    EXPECT_EQ("  three leading, two trailing  ", table.GetSendString("blanks"));
    ASSERT_EQ(1, table.Save(folder.File("out.dyn")));
    EXPECT_EQ(file, TempFolder::Read(folder.File("out.dyn")));
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(Hotspots, HostileLinesAreSkipped)
{
    const std::string tooLong = "name: over type: 2 sendstring: " + std::string(300, 'y') +
                                "name: tail type: 2 sendstring: second half\n";
    TempFolder::Write(folder.File("bad.dyn"),
                      tooLong +
                          "\n"
                          "name:\n"
                          "name: onlyname\n"
                          "name: notype sendstring: x\n"
                          "name: badtype type: -1 sendstring: x\n"
                          "name: huge type: 99999999999999999999 sendstring: x\n"
                          "name: nosend type: 2\n"
                          "garbage line\n"
                          "  name:   spaced   type:2 sendstring:tight\r\n"
                          "name: last type: 2 sendstring: no line end");
    EXPECT_EQ(2, table.Load(folder.File("bad.dyn")));
    EXPECT_EQ((std::vector<std::string>{"spaced", "last"}), table.Names());
    EXPECT_EQ("tight", table.GetSendString("spaced"));
    EXPECT_EQ("no line end", table.GetSendString("last"));
}

TEST_F(Hotspots, SaveWritesWholeEntriesOrRefusesWithMessage94)
{
    table.Add("ok", kHotspotLiteral, "fine");
    TempFolder::Write(folder.File("keep.dyn"), "name: old type: 2 sendstring: kept\n");
    // An entry must fit a line the reader takes (298 characters): one more is not stored, and one
    // that grew past it, taking over a long key of the keyboard map, is not written.
    EXPECT_EQ(1, table.Add("big", kHotspotLiteral, std::string(269, 'z')));
    ASSERT_EQ(0, table.Add("big", kHotspotLiteral, std::string(268, 'z')));
    Key(0x74, 0, "big", std::string(269, 'k'));
    table.ResolveAll();
    EXPECT_EQ(0, table.Save(folder.File("keep.dyn")));
    EXPECT_EQ("name: old type: 2 sendstring: kept\n", TempFolder::Read(folder.File("keep.dyn")));
    ASSERT_EQ(1u, prompts.asked.size());
    EXPECT_EQ(94, prompts.asked[0].id);
    EXPECT_NE(std::string::npos, prompts.asked[0].text.find("Error open/writing file: "));
    EXPECT_NE(std::string::npos, prompts.asked[0].text.find("keep.dyn, error: "));
    EXPECT_EQ(kMsgOk | kMsgIconExclamation, prompts.asked[0].style);

    table.Remove("big");
    EXPECT_EQ(0, table.Save(folder.File("no-such-folder/h.dyn")));
    ASSERT_EQ(2u, prompts.asked.size());
    EXPECT_EQ(94, prompts.asked[1].id);
}

TEST_F(Hotspots, SavingTheConfigurationWritesTheTable)
{
    Defaults();
    DynHotspots = std::make_unique<HotspotTable>();
    DynHotspots->Add("word", kHotspotLiteral, "sent");
    Rec->AutonameFiles = 0;
    doc.strings.DynHotspotFile = folder.File("session.dyn");
    doc.HotspotsChanged = 1;
    ASSERT_TRUE(doc.OnSaveDocument(folder.File("session.wcf")));
    EXPECT_EQ(0, doc.HotspotsChanged);
    EXPECT_EQ(TextLines("name: word type: 2 sendstring: sent\n"), TempFolder::Read(folder.File("session.dyn")));

    // A folder that cannot be written: message 94, and the table stays marked changed.
    doc.strings.DynHotspotFile = folder.File("missing/session.dyn");
    doc.HotspotsChanged = 1;
    doc.OnSaveDocument(folder.File("session.wcf"));
    EXPECT_EQ(1, doc.HotspotsChanged);
    EXPECT_EQ(94, prompts.Ids().back());
}

}  // namespace
