// The keyboard dialogs' editing of their working tables: key codes and names, accepting and
// deleting a key's values with the PC-key list, terminal key names, the translate tables' texts,
// values and mirror edits, and the questions' substitutions.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/key_table_editing.h"
#include "fake_platform.h"

namespace {

KeyMap MapOf(std::initializer_list<std::tuple<const char*, uint16_t, const char*>> entries)
{
    KeyMap map;
    for (const auto& [name, code, value] : entries) {
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetName(name);
        entry->ParseKeyCode(KeyCodeText(code & kKeyBits));
        entry->SetModifiers(code & kModifierBits);
        entry->SetValue(value);
        const uint16_t stored = entry->Code();
        map.SetEntry(stored, std::move(entry));
    }
    return map;
}

// A keyboard where the characters of the Ctrl and Alt state exist too.
int TestKeyScan(char c)
{
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return 0x100 | c;
    if (c == '@') return 0x632;  // Ctrl+Alt+2
    if (c == '1') return '1';
    return -1;
}

TEST(KeyCodeText, HexadecimalAndQuotedCharactersGiveNineBitCodes)
{
    SetKeyScanner(TestKeyScan);
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"70", 0x70}, {"1ff", 0x1FF}, {"1FF", 0x1FF}, {"0", 0}, {"200", -1}, {"ffff", -1},
        {"10070", -1}, {"1000001ff", -1},  // refused, not cut to 16 bits {"x", -1}, {"", -1},
        {"'a'", 0x41}, {"'A'", 0x41},  // Shift is no part of the key (0x141 would be an extended key)
        {"'@'", 0x32},                 // nor are Ctrl and Alt
        {"'\x01'", -1},                // a character no key types
        {"'1", -1},                    // no closing quote: hexadecimal without a digit
    };
    for (const auto& c : cases) EXPECT_EQ(ParseKeyCodeText(c.text), c.code) << c.text;
    EXPECT_EQ(KeyCodeText(0x7), "07");
    EXPECT_EQ(KeyCodeText(0x1ff), "1ff");

    // The map's own parser agrees, and refuses a keyless character with message 3.
    FakePlatform platform;
    ScopedPlatform scoped(platform);
    KeyMapEntry entry;
    entry.SetModifiers(0x600);
    EXPECT_EQ(entry.ParseKeyCode("'A'"), 0x41);
    EXPECT_EQ(entry.Code(), 0x641);
    EXPECT_EQ(entry.ParseKeyCode("'\x01'"), -1);
    EXPECT_EQ(entry.Code(), 0x641);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].id, 3);
    SetKeyScanner(nullptr);
}

TEST(KeyNames, TheListIsSortedByNameAndHoldsOneItemPerCodeAndName)
{
    const KeyMap map = MapOf({{"F5", 0x74, "a"},
                              {"F5", 0x274, "b"},
                              {"enter", 0x0D, "c"},
                              {"Home", 0x124, "d"},
                              {"pf1", 0x70, "e"},
                              {"PF1", 0x71, "f"}});
    EXPECT_EQ(KeyNamesOf(map), (KeyNameList{{"enter", 0x0D}, {"F5", 0x74}, {"Home", 0x124}, {"PF1", 0x71}, {"pf1", 0x70}}));

    KeyNameList list = KeyNamesOf(map);
    UpdateKeyNames(list, "Return", 0x0D);  // another name for the code replaces its item
    UpdateKeyNames(list, "F5", 0x74);      // the same item: nothing
    EXPECT_EQ(list, (KeyNameList{{"F5", 0x74}, {"Home", 0x124}, {"PF1", 0x71}, {"pf1", 0x70}, {"Return", 0x0D}}));
    EXPECT_EQ(FindKeyName(list, "pf1"), 3);  // exactly, never the other case
    EXPECT_EQ(FindKeyName(list, "PF1"), 2);
    EXPECT_EQ(FindKeyName(list, "Pf1"), -1);
    EXPECT_EQ(FindKeyName(list, "F"), -1);   // never a prefix
    EXPECT_EQ(FindKeyCode(list, 0x274), 0);  // by the 9-bit code
    EXPECT_EQ(KeyNameFromText("Num Pad 0"), "Num_Pad_0");
}

TEST(AcceptKey, StoresTheEightValuesAndAnEmptiedEditRemovesItsEntry)
{
    KeyMap map = MapOf({{"F5", 0x74, "old"}, {"F5", 0x474, "ctrl"}, {"F6", 0x75, "six"}});
    KeyNameList list = KeyNamesOf(map);
    KeyValues values;
    values[0] = "echo mapped<cr>";
    values[1] = "shifted";
    EXPECT_TRUE(AcceptKey(map, list, 0x74, "F5", values));
    EXPECT_EQ(ValuesOfKey(map, 0x74), values);  // Ctrl's entry went with its emptied edit
    const KeyMapEntry* shifted = map.Lookup(0x274);
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->Modifiers(), 0x200);
    EXPECT_EQ(shifted->GetName(), "F5");
    EXPECT_EQ(map.Lookup(0x75)->GetValue(), "six");

    // Only removals: still a change (the working map differs from the document's).
    EXPECT_TRUE(AcceptKey(map, list, 0x74, "F5", KeyValues{}));
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(FindKeyCode(list, 0x74), 0) << "the item stays until the key is deleted";
    EXPECT_FALSE(AcceptKey(map, list, 0x74, "F5", KeyValues{})) << "nothing left to change";

    // A new name for a new code is added to the list.
    values = KeyValues{};
    values[7] = "all";
    EXPECT_TRUE(AcceptKey(map, list, 0x1FF, "Top_Key", values));
    EXPECT_EQ(map.Lookup(0xFFF)->GetValue(), "all");
    EXPECT_EQ(list[FindKeyName(list, "Top_Key")].code, 0x1FF);
}

TEST(DeleteKeyCode, RemovesAllEightCombinationsAndTheItemsOfTheCode)
{
    KeyMap map = MapOf({{"F5", 0x74, "a"}, {"F5", 0xE74, "b"}, {"F6", 0x75, "c"}});
    KeyNameList list = KeyNamesOf(map);
    EXPECT_TRUE(DeleteKeyCode(map, list, 0x74));
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(list, (KeyNameList{{"F6", 0x75}}));
    list.push_back({"Bare", 0x30});  // an item without entries: removed, no change of the map
    EXPECT_FALSE(DeleteKeyCode(map, list, 0x30));
    EXPECT_EQ(list.size(), 1u);

    KeyMap fresh = MapOf({{"F1", 0x70, "x"}});
    ReplaceKeyMap(map, fresh);
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_NE(map.Lookup(0x70), fresh.Lookup(0x70)) << "a copy of its own";
}

TEST(KeyboardPicture, ButtonsSelectTheirCodesAndTheKeypadFollowsTheNumLockCaptions)
{
    const struct {
        int id, off, on;
    } cases[] = {{1030, 0x1B, 0x1B}, {1005, 0x70, 0x70}, {1003, 0x73, 0x73}, {1014, 0x74, 0x74},
                 {1021, 0x7B, 0x7B}, {1062, 0x30, 0x30}, {1091, 0x41, 0x41}, {1126, 0x5A, 0x5A},
                 {1159, 0x111, 0x111}, {1026, 0x190, 0x190}, {1047, 0x10D, 0x10D}, {1048, 0x2D, 0x60},
                 {1041, 0x0C, 0x65}, {1050, 0x2E, 0x6E}, {1022, -1, -1}, {1143, -1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(KeyButtonCode(c.id, false), c.off) << c.id;
        EXPECT_EQ(KeyButtonCode(c.id, true), c.on) << c.id;
    }
    EXPECT_EQ(FixedKeyButtons().size(), 29u + 8 + 10 + 26);
    EXPECT_EQ(KeypadButtons().size(), 11u);
}

TEST(KeyDefinitions, AcceptReplacesExactlyTheNameAndRefusesEmptyTexts)
{
    KeyDefTable table;
    table.SetAt(std::make_unique<KeyDefEntry>("PF1", "<esc>OP"));
    table.SetAt(std::make_unique<KeyDefEntry>("Do", "<esc>[29~"));
    std::string stored;
    EXPECT_EQ(AcceptKeyDef(table, "MY KEY", "echo viakey<cr>", &stored), KeyDefRefusal::None);
    EXPECT_EQ(stored, "MY_KEY");
    EXPECT_EQ(AcceptKeyDef(table, "MY KEY", "again", &stored), KeyDefRefusal::None);
    EXPECT_EQ(table.Lookup("MY_KEY")->GetDefinition(), "again");
    EXPECT_EQ(AcceptKeyDef(table, "pf1", "lower"), KeyDefRefusal::None);
    EXPECT_EQ(table.Lookup("PF1")->GetDefinition(), "<esc>OP") << "names compare with case";
    EXPECT_EQ(AcceptKeyDef(table, "", "x"), KeyDefRefusal::NoName);
    EXPECT_EQ(AcceptKeyDef(table, "New", ""), KeyDefRefusal::NoString);
    EXPECT_EQ(table.GetCount(), 4u);
    EXPECT_EQ(KeyDefNames(table), (std::vector<std::string>{"Do", "MY_KEY", "PF1", "pf1"}));

    const std::string longer(200, 'x');  // longer than any old cut: kept whole
    EXPECT_EQ(AcceptKeyDef(table, "Long", longer), KeyDefRefusal::None);
    EXPECT_EQ(table.Lookup("Long")->GetDefinition(), longer);
}

TEST(TranslateTables, EntryTextsAndValues)
{
    const struct {
        int index, value;
        bool hex;
        const char* text;
    } texts[] = {{0x41, 0x61, true, "41 -> 61"}, {0x00, 0xFF, true, "00 -> FF"}, {0x41, 0x61, false, "A -> a"},
                 {0x00, 0x0D, false, "^@ -> ^M"}, {0x10, 0x1F, false, "\x10 -> \x1F"}, {0xE9, 0x0F, false, "\xE9 -> ^O"}};
    for (const auto& t : texts) EXPECT_EQ(TranslateEntryText(t.index, static_cast<uint8_t>(t.value), t.hex), t.text);

    const struct {
        const char* text;
        int value;
    } values[] = {{"41", 0x41}, {"fF", 0xFF}, {"4", -1}, {"412", 0x41}, {"g1", -1}, {"", -1}, {"'a'", 'a'},
                  {"'\xE9'", 0xE9}, {"'\xFF'", 0xFF}, {"' '", ' '}, {"'a", -1}};
    for (const auto& v : values) EXPECT_EQ(ParseTranslateValue(v.text), v.value) << v.text;
}

TEST(TranslateTables, MirrorModeKeepsTheTablesInverseAndIndividualChangesOne)
{
    uint8_t out[256], in[256];
    for (int i = 0; i < 256; ++i) out[i] = in[i] = static_cast<uint8_t>(i);
    TranslateEdit edit = AcceptTranslateValue(out, in, true, 0x61, 0x41, true);
    EXPECT_EQ(out[0x61], 0x41);
    EXPECT_EQ(in[0x41], 0x61);
    EXPECT_EQ(edit.changedIndex, 0x61);
    EXPECT_EQ(edit.mirroredIndex, 0x41);

    edit = AcceptTranslateValue(out, in, false, 0x78, 0x79, true);
    EXPECT_EQ(in[0x78], 0x79);
    EXPECT_EQ(out[0x79], 0x78);

    uint8_t out2[256], in2[256];
    std::memcpy(out2, out, 256);
    std::memcpy(in2, in, 256);
    edit = AcceptTranslateValue(out, in, true, 0x61, 0x62, false);
    EXPECT_EQ(edit.mirroredIndex, -1);
    EXPECT_EQ(out[0x61], 0x62);
    out2[0x61] = 0x62;
    EXPECT_EQ(std::memcmp(out, out2, 256), 0);
    EXPECT_EQ(std::memcmp(in, in2, 256), 0) << "the inbound table is untouched";
}

TEST(Questions, NamesAndCodesAreSubstitutedNeverFormatted)
{
    EXPECT_EQ(QuestionText(7, "F5", "74"),
              "The KeyName 'F5' is alreay assigned to the Virtual Key Code '74'.\nReplace old Key Code mapping?");
    EXPECT_EQ(QuestionText(7, "%2%s%n", "%1"),
              "The KeyName '%2%s%n' is alreay assigned to the Virtual Key Code '%1'.\nReplace old Key Code mapping?");
    EXPECT_EQ(QuestionText(57, "41 -> 62"), "Accept '41 -> 62' modification ?");
    EXPECT_EQ(QuestionText(59, "c:\\tolvi\\vt220.map"), "Load default Keyboard Mapping from: 'c:\\tolvi\\vt220.map'  ?");
}

}  // namespace
