// The Dynamic Hotspots Settings dialog's working table: what Accept takes and refuses and what it
// adds to the extra word characters, the radio-to-type mapping, filling from the key tables, and
// who owns the table (the program's table untouched, the working copy handed over once).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "session/key_tables.h"
#include "session_fixture.h"
#include "shell/dyn_hotspots_editor.h"
#include "test_key_map.h"

namespace {

class HotspotEditing : public SessionTest {
protected:
    void SetUp() override
    {
        Key(0x70, 0, "F1", "PF1");
        Key(0x71, 0, "F2", "hello\\r");
        Key(0x72, kShiftBit, "F3", "shifted");
        Key(0x73, kCtrlBit, "F4", "ctrl");
        Key(0x74, kAltBit, "F5", "alt");
        Key(0x75, 0, "", "nameless");
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "\\033OP"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("\"Do\"", "\\033[29~"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("\"\"", "x"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("\"half", "y"));
        program.Add("date", kHotspotLiteral, "date\\r");
    }
    void Key(uint16_t code, uint16_t modifiers, const std::string& name, const std::string& value)
    {
        AddTestKey(doc.keyMap, code, modifiers, name, value);
    }
    HotspotTable program;
};

TEST_F(HotspotEditing, AcceptTakesOrRefusesAndGrowsTheExtraCharacters)
{
    const std::string forty(40, '.');
    const struct {
        const char* text;
        int radio;
        const char* send;
        std::string extraBefore;
        HotspotAccept result;
        std::string extraAfter;
        int type;  // stored type, -1 nothing stored
    } cases[] = {
        {"a-b", 0, "x", "", HotspotAccept::kAccepted, "-", kHotspotLiteral},
        {"a-b", 0, "x", "_-", HotspotAccept::kAccepted, "_-", kHotspotLiteral},
        {"ls-la.x", 1, "F1", "", HotspotAccept::kAccepted, "-.", kHotspotPcKey},
        {"\xe4t\xe9", 2, "PF1", "", HotspotAccept::kAccepted, "\xe4\xe9", kHotspotKeyName},
        {"plain", -1, "x", "", HotspotAccept::kAccepted, "", kHotspotLiteral},  // no type chosen
        {"", 0, "x", "", HotspotAccept::kEmptyField, "", -1},
        {"word", 0, "", "", HotspotAccept::kEmptyField, "", -1},
        {"two words", 0, "x", "", HotspotAccept::kWhitespace, "", -1},
        {"a-b\t", 0, "x", "", HotspotAccept::kWhitespace, "", -1},
        {"a\rb", 0, "x", "", HotspotAccept::kWhitespace, "", -1},
        {"a\x7f", 0, "x", "", HotspotAccept::kWhitespace, "", -1},
        {"a-b", 0, "x", forty, HotspotAccept::kExtraCharsFull, forty, -1},
        {"a-b", 0, "x", std::string(39, '.'), HotspotAccept::kAccepted, std::string(39, '.') + "-", kHotspotLiteral},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DynHotspotsEditor editor(&program);
        std::string extra = c.extraBefore;
        EXPECT_EQ(editor.Accept(c.text, c.radio, c.send, extra), c.result);
        EXPECT_EQ(extra, c.extraAfter);
        EXPECT_EQ(editor.Table().GetType(c.text), *c.text ? c.type : -1);
        EXPECT_EQ(editor.IsModified(), c.type >= 0);
        EXPECT_EQ(editor.Table().GetCount(), 1u + (c.type >= 0));
    }
}

TEST_F(HotspotEditing, RadioButtonsMapToTypesBothWays)
{
    const int types[] = {kHotspotLiteral, kHotspotPcKey, kHotspotKeyName};
    for (int radio = 0; radio < 3; ++radio) {
        EXPECT_EQ(HotspotTypeOfRadio(radio), types[radio]);
        EXPECT_EQ(RadioOfHotspotType(types[radio]), radio);
    }
    EXPECT_EQ(HotspotTypeOfRadio(-1), kHotspotLiteral);
    EXPECT_EQ(RadioOfHotspotType(7), -1);
}

TEST_F(HotspotEditing, AcceptingAnExistingTextReplacesItsEntry)
{
    DynHotspotsEditor editor(&program);
    std::string extra;
    ASSERT_EQ(editor.Accept("date", 2, "PF1", extra), HotspotAccept::kAccepted);
    EXPECT_EQ(editor.Table().GetCount(), 1u);
    EXPECT_EQ(editor.Table().GetType("date"), kHotspotKeyName);
    EXPECT_EQ(editor.Table().GetSendString("date"), "PF1");
    EXPECT_EQ(editor.Table().GetEffectiveString("date"), "\\033OP");
}

TEST_F(HotspotEditing, AddAllPcKeysSkipsModifiedAndNamelessKeys)
{
    DynHotspotsEditor editor(nullptr);
    EXPECT_EQ(editor.AddAllPcKeys(), 2);
    EXPECT_EQ(editor.Table().Names(), (std::vector<std::string>{"F1", "F2"}));
    EXPECT_EQ(editor.Table().GetType("F1"), kHotspotKeyName);
    EXPECT_EQ(editor.Table().GetType("F2"), kHotspotLiteral);
    EXPECT_EQ(editor.Table().GetSendString("F2"), "hello\\r");
    EXPECT_TRUE(editor.IsModified());
}

TEST_F(HotspotEditing, TerminalKeysLoseEnclosingQuotesInTheSendStringOnly)
{
    DynHotspotsEditor editor(&program);
    EXPECT_EQ(editor.AddAllTerminalKeys(&doc.keyDefs), 4);
    EXPECT_EQ(editor.Table().GetSendString("\"Do\""), "Do");
    EXPECT_EQ(editor.Table().GetSendString("\"\""), "\"\"");
    EXPECT_EQ(editor.Table().GetSendString("\"half"), "\"half");
    EXPECT_EQ(editor.Table().GetSendString("PF1"), "PF1");
    EXPECT_EQ(editor.Table().GetType("\"Do\""), kHotspotKeyName);
    EXPECT_EQ(editor.Table().GetEffectiveString("PF1"), "\\033OP");

    DynHotspotsEditor noDocument(&program);
    EXPECT_EQ(noDocument.AddAllTerminalKeys(nullptr), 0);
    EXPECT_FALSE(noDocument.IsModified());
}

TEST_F(HotspotEditing, TheProgramTableStaysAsItWasAndTheCopyIsHandedOverOnce)
{
    {
        DynHotspotsEditor cancelled(&program);  // destroyed owning its copy
        std::string extra;
        cancelled.Accept("ls-la", 0, "ls -la\\r", extra);
        cancelled.Remove("date");
    }
    EXPECT_EQ(program.Names(), (std::vector<std::string>{"date"}));

    DynHotspotsEditor editor(&program);
    EXPECT_FALSE(editor.IsModified());
    editor.RemoveAll();
    EXPECT_TRUE(editor.IsModified());
    EXPECT_EQ(editor.Table().GetCount(), 0u);
    std::string extra;
    editor.Accept("w", 0, "x", extra);
    std::unique_ptr<HotspotTable> taken = editor.DetachTable();
    ASSERT_TRUE(taken);
    EXPECT_TRUE(editor.Detached());
    EXPECT_EQ(taken->Names(), (std::vector<std::string>{"w"}));
    EXPECT_FALSE(editor.DetachTable());
    // Once handed over the editor changes nothing.
    editor.Remove("w");
    editor.AddAllPcKeys();
    EXPECT_EQ(editor.Table().GetCount(), 0u);
    EXPECT_EQ(taken->Names(), (std::vector<std::string>{"w"}));
    EXPECT_EQ(program.Names(), (std::vector<std::string>{"date"}));
}

TEST_F(HotspotEditing, SettingsCopyInAndBackWithTheExtraCharactersCutToTheirField)
{
    Rec->EnableDynamicHotspots = 1, Rec->DynamicRow = 2, Rec->DynamicColumn = 3;
    Rec->DynamicWidth = 40, Rec->DynamicHeight = 5, Rec->DynamicDepth = 2;
    std::strcpy(Rec->ExtraDynWordChars, "-_");
    DynHotspotsSettings s = DynHotspotsSettingsFrom(*Rec);
    EXPECT_EQ(s, (DynHotspotsSettings{1, 2, 3, 40, 5, 2, "-_"}));
    DynHotspotsSettings changed = s;
    changed.depth = 3;
    EXPECT_NE(changed, s);
    changed.extraChars = std::string(45, '.');
    StoreDynHotspotsSettings(changed, *Rec);
    EXPECT_EQ(Rec->DynamicDepth, 3);
    EXPECT_EQ(std::string(Rec->ExtraDynWordChars), std::string(40, '.'));
}

}  // namespace
