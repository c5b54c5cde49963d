// The Keyboard Mapping dialog opened by Config/Keyboard Map on a session document, with the
// Terminal KeyName Definitions and Translate Tables dialogs opened from it, driven by control id:
// the keyboard picture's buttons and codes, accepting, replacing and deleting keys with the PC-key
// list read back, the questions answered through the hook, the default loads (whole files only),
// and what OK and Cancel leave in the document. Screenshots of the three dialogs are kept in the
// test's folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dialog_pixels.h"
#include "fw_dialog_test_hook.h"
#include "quiet_config_site.h"
#include "dialogs/key_table_editing.h"
#include "keyboard_dialog_ids.h"
#include "resource_ids.h"
#include "shell/key_data_files.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"
#include "shell/win32/keyboard_map_command.h"
#include "shell/win32/win32_prompts.h"

namespace {

constexpr int kF5Button = 1014, kF6Button = 1015, kF1Button = 1005, kKeypad0 = 1048, kAButton = 1091;
constexpr int kNormal = IDC_KMAP_VALUE_FIRST, kShift = IDC_KMAP_VALUE_FIRST + 1, kAltShiftCtrl = IDC_KMAP_VALUE_LAST;

std::string TableText(const KeyMap& map)
{
    std::string text;
    for (const auto& item : map) text += KeyMapLine(*item.second);
    return text;
}

std::string TableText(const KeyDefTable& table)
{
    std::string text;
    for (const auto& item : table) text += KeyDefLine(*item.second);
    return text;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Config/Keyboard Map with no main frame around it.
void OpenKeyboardMap(CZolexDoc& doc)
{
    QuietConfigSite site;
    KeyboardMapCommand(doc, nullptr, site);
}

// A dialog that ended is hidden at once (its window goes when the script returns).
bool Showing(const FwDialogDriver& d) { return IsWindowVisible(d.Handle()) != FALSE; }

// The PC-key combo's items as "name=code" lines.
// (in byte order: the combo box itself keeps names equal but for case in either order).
std::string ComboItems(FwDialogDriver& d)
{
    std::vector<std::string> lines;
    for (int i = 0; i < d.Count(IDC_KMAP_KEY_NAME); ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "%lx", d.ItemData(IDC_KMAP_KEY_NAME, i));
        lines.push_back(d.ItemText(IDC_KMAP_KEY_NAME, i) + "=" + code + "\n");
    }
    std::sort(lines.begin(), lines.end());
    std::string items;
    for (const std::string& line : lines) items += line;
    return items;
}

class KeyboardDialogs : public ::testing::Test {
protected:
    KeyboardDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        rec->Terminal = 2, rec->Platform = 3, rec->DisplayMirror = 1, rec->DisplayFormat = 0;
        doc.record = rec.get();
        for (int i = 0; i < 256; ++i) tables.Outgoing[i] = tables.Incoming[i] = static_cast<uint8_t>(i);
        doc.tables = &tables;
        AddKey("F1", 0x70, "PF1");
        AddKey("F1", 0x270, "<esc>[23~");
        AddKey("Enter", 0x0D, "<cr>");
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "<esc>OP"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF2", "<esc>OQ"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("Do", "<esc>[29~"));

        // The program folder with the default files of a vt220 on a plain platform.
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "tolvi-keyboard-dialogs\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        savedProgramPath = Startup.ProgramPath;
        Startup.ProgramPath = folder + "Tolvi.exe";
        WriteFile(folder + "zldec.map", "pckey: F2 code: 71  tx: PF2\npckey: Home code: 124  tx: <esc>[1~\n");
        WriteFile(folder + "zldec.key", "define: PF1 tx: <esc>OP\ndefine: Find tx: <esc>[1~\n");
        WriteFile(folder + "zldec.but", "BUTTON: Help\n");
        std::string xlt(512, '\0');
        for (int i = 0; i < 256; ++i) xlt[i] = xlt[256 + i] = static_cast<char>(255 - i);
        WriteFile(folder + "zlansi.xlt", xlt);

        SetPrompts(&prompts);
        FwSetDialogTestHook(&hook);
    }
    ~KeyboardDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        SetPrompts(nullptr);
        Startup.ProgramPath = savedProgramPath;
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    void AddKey(const char* name, uint16_t code, const char* value)
    {
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetName(name);
        entry->ParseKeyCode(KeyCodeText(code & kKeyBits));
        entry->SetModifiers(code & kModifierBits);
        entry->SetValue(value);
        const uint16_t stored = entry->Code();
        doc.keyMap.SetEntry(stored, std::move(entry));
    }
    std::string Snapshot() const
    {
        return TableText(doc.keyMap) + "|" + TableText(doc.keyDefs) + "|" +
               std::string(reinterpret_cast<const char*>(&tables), sizeof tables) + "|" +
               std::to_string(rec->DisplayMirror) + std::to_string(rec->DisplayFormat) +
               std::to_string(doc.KeyMapChanged) + std::to_string(doc.KeyDefChanged) +
               std::to_string(doc.TranslateChanged) + std::to_string(doc.ButtonsChanged);
    }
    std::string LastMessage() const { return hook.messages.empty() ? std::string() : hook.messages.back().text; }

    std::unique_ptr<SettingsRecord> rec;
    TranslateTables tables{};
    CZolexDoc doc;
    Win32Prompts prompts;
    FwDialogTestHook hook;
    std::string folder, savedProgramPath;
};

TEST_F(KeyboardDialogs, KeyButtonsSelectTheirKeysAndAcceptedValuesReachTheDocumentOnOK)
{
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Keyboard Mapping");
        // F1 is selected at the start, with its values by modifier combination.
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_NAME), "F1");
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), "70");
        EXPECT_EQ(d.Text(kNormal), "PF1");
        EXPECT_EQ(d.Text(kShift), "<esc>[23~");
        EXPECT_FALSE(d.Enabled(IDC_KMAP_ACCEPT));
        EXPECT_TRUE(d.Enabled(IDC_KMAP_DELETE));
        EXPECT_EQ(ComboItems(d), "Enter=d\nF1=70\n");
        for (int id : {1022, 1052, 1090, 1124, 1136, 1143, 1158}) EXPECT_FALSE(d.Enabled(id)) << id;

        ASSERT_TRUE(d.Click(kF5Button));  // unmapped: the code, no name, no Delete
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), "74");
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_NAME), "");
        EXPECT_EQ(d.Selection(IDC_KMAP_KEY_NAME), -1);
        EXPECT_FALSE(d.Enabled(IDC_KMAP_DELETE));
        d.SetText(kNormal, "echo mapped<cr>");
        EXPECT_TRUE(d.Enabled(IDC_KMAP_ACCEPT));
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(LastMessage(), "PC KEY name must be specified");
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "Func 5");  // blanks are stored as '_'
        const std::string longValue(80, 'v');        // as long as the map file keeps
        d.SetText(kAltShiftCtrl, longValue);
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(ComboItems(d), "Enter=d\nF1=70\nFunc_5=74\n");
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_NAME), "Func_5");
        EXPECT_EQ(d.Text(kAltShiftCtrl), longValue);
        EXPECT_FALSE(d.Enabled(IDC_KMAP_ACCEPT));

        // A quoted character names its key's code ('A' is the A key, not an extended key).
        d.Click(kAButton);
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), "41");
        d.SetText(IDC_KMAP_KEY_CODE, "'A'");
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "Letter A");
        d.SetText(kNormal, "a");
        d.SetText(kShift, "%hold%");
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), "41");
        KeepScreenshot(d.Handle(), "dialog-keyboard-map.png");
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    ASSERT_NE(doc.keyMap.Lookup(0x74), nullptr);
    EXPECT_EQ(doc.keyMap.Lookup(0x74)->GetValue(), "echo mapped<cr>");
    EXPECT_EQ(doc.keyMap.Lookup(0x74)->GetName(), "Func_5");
    EXPECT_EQ(doc.keyMap.Lookup(0xE74)->GetValue(), std::string(80, 'v'));
    EXPECT_EQ(doc.keyMap.Lookup(0x41)->GetValue(), "a");
    EXPECT_EQ(doc.keyMap.Lookup(0x141), nullptr);
    EXPECT_EQ(doc.keyMap.Lookup(0x241)->GetValue(), "%hold%");
    EXPECT_EQ(rec->KeyMapHasHold, 1) << "the session's hold key follows the new map";
    EXPECT_EQ(doc.KeyMapChanged, 1);
    EXPECT_EQ(doc.KeyDefChanged, 0);
    EXPECT_EQ(doc.TranslateChanged, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(KeyboardDialogs, AcceptDeleteAndTheQuestionsOfTheKeyboardDialog)
{
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        // All eight edits emptied: the key's entries go, its item stays until Delete.
        d.SetText(kNormal, "");
        d.SetText(kShift, "");
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(ComboItems(d), "Enter=d\nF1=70\n");
        EXPECT_EQ(d.Text(kNormal), "");

        // An existing name for another code asks string 7: No keeps everything, Yes moves the name.
        d.Click(kF6Button);
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "Enter");
        d.SetText(kNormal, "six");
        hook.messageAnswers = {IDNO};
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(LastMessage(),
                  "The KeyName 'Enter' is alreay assigned to the Virtual Key Code '0d'.\nReplace old Key Code mapping?");
        EXPECT_EQ(ComboItems(d), "Enter=d\nF1=70\n");
        hook.messageAnswers = {IDYES};
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(ComboItems(d), "Enter=75\nF1=70\n");

        // Names compare with case: "f1" is a name of its own.
        d.Click(kF5Button);
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "f1");
        d.SetText(kNormal, "five");
        d.Press(IDC_KMAP_ACCEPT);
        EXPECT_EQ(ComboItems(d), "Enter=75\nF1=70\nf1=74\n");

        // Another key while values are pending asks string 56; No discards them.
        d.SetText(kNormal, "discarded");
        hook.messageAnswers = {IDNO};
        d.Click(kF1Button);
        EXPECT_EQ(LastMessage(), "Accept modifications to selected key ?");
        d.Click(kF5Button);
        EXPECT_EQ(d.Text(kNormal), "five");

        // Delete: the name must be in the list and match the code.
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "nothing");
        d.Press(IDC_KMAP_DELETE);
        EXPECT_EQ(LastMessage(), "PC KEY must be selected");
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "F1");
        d.Press(IDC_KMAP_DELETE);
        EXPECT_EQ(LastMessage(), "Invalid PC KEY selection.  Does not match Keycode in list.");
        d.Click(kF1Button);
        d.Press(IDC_KMAP_DELETE);
        EXPECT_EQ(ComboItems(d), "Enter=75\nf1=74\n");
        EXPECT_FALSE(d.Enabled(IDC_KMAP_DELETE));

        // NumLock captions: the keypad's 0 key selects 60, without them Ins (2D).
        const bool on = d.Text(kKeypad0) == "0";
        d.Click(kKeypad0);
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), on ? "60" : "2d");
        d.Click(IDC_KMAP_NUMLOCK_SHIFT);
        EXPECT_EQ(d.Text(kKeypad0), on ? "Ins" : "0");
        d.Click(kKeypad0);
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_CODE), on ? "2d" : "60");
        d.Click(IDC_KMAP_NUMLOCK);
        EXPECT_EQ(d.Text(kKeypad0), on ? "0" : "Ins");

        // OK with pending values whose Accept is refused stays open with them.
        d.Click(kF5Button);
        d.SetText(kShift, "kept");
        d.SetText(IDC_KMAP_KEY_CODE, "zz");
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
        EXPECT_TRUE(Showing(d));
        EXPECT_EQ(LastMessage(), "Invalid code. \nEnter hex code as: 00 - 1ff\nor any character as: 'a', '1' ...");
        EXPECT_EQ(d.Text(kShift), "kept");
        d.SetText(IDC_KMAP_KEY_CODE, "'\x01'");  // a character no key types
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
        EXPECT_TRUE(Showing(d));
        d.SetText(IDC_KMAP_KEY_CODE, "74");
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(doc.keyMap.Lookup(0x70), nullptr);
    EXPECT_EQ(doc.keyMap.Lookup(0x270), nullptr);
    EXPECT_EQ(doc.keyMap.Lookup(0x0D), nullptr);
    EXPECT_EQ(doc.keyMap.Lookup(0x75)->GetName(), "Enter");
    EXPECT_EQ(doc.keyMap.Lookup(0x74)->GetValue(), "five");
    EXPECT_EQ(doc.keyMap.Lookup(0x274)->GetValue(), "kept");
}

TEST_F(KeyboardDialogs, PredefinedKeysAreOfferedFromTheWorkingDefinitions)
{
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        EXPECT_FALSE(d.Visible(IDC_KMAP_USE_PREDEFINED));
        ASSERT_TRUE(d.Focus(kShift));
        EXPECT_TRUE(d.Visible(IDC_KMAP_USE_PREDEFINED));
        d.Click(IDC_KMAP_USE_PREDEFINED);
        EXPECT_TRUE(d.Visible(IDC_KMAP_PREDEFINED_LIST));
        ASSERT_EQ(d.Count(IDC_KMAP_PREDEFINED_LIST), 3);
        d.Pick(IDC_KMAP_PREDEFINED_LIST, 2);
        EXPECT_EQ(d.ItemText(IDC_KMAP_PREDEFINED_LIST, 2), "PF2");
        EXPECT_EQ(d.Text(IDC_KMAP_PREDEFINED_PREVIEW), "<esc>OQ");
        d.DoubleClick(IDC_KMAP_PREDEFINED_LIST, 2);
        EXPECT_EQ(d.Text(kShift), "PF2");
        EXPECT_FALSE(d.Visible(IDC_KMAP_PREDEFINED_LIST));
        EXPECT_TRUE(d.Enabled(IDC_KMAP_ACCEPT)) << "the chosen name is pending";
        d.Press(IDC_KMAP_ACCEPT);
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(doc.keyMap.Lookup(0x270)->GetValue(), "PF2");

    doc.keyDefs.RemoveAllDefs();
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        d.Focus(kNormal);
        d.Click(IDC_KMAP_USE_PREDEFINED);
        EXPECT_EQ(LastMessage(), "Key Definition list is empty.\nUse 'Advanced ..' button to define new keys.");
        d.Press(IDCANCEL);
    });
    OpenKeyboardMap(doc);
}

TEST_F(KeyboardDialogs, CancelLeavesTheDocumentByteIdenticalAndAsksOnlyAfterKeyChanges)
{
    const std::string before = Snapshot();
    // Changes in all three dialogs, then Cancel: string 51, Yes ends.
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        d.Click(kF5Button);
        d.TypeInCombo(IDC_KMAP_KEY_NAME, "F5");
        d.SetText(kNormal, "x");
        d.Press(IDC_KMAP_ACCEPT);
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Click(IDC_KMAP_TRANSLATE);
        hook.messageAnswers = {IDNO};
        d.Press(IDCANCEL);
        EXPECT_EQ(LastMessage(), "Your modifications will be canceled");
        ASSERT_TRUE(Showing(d));
        hook.messageAnswers = {IDYES};
        d.Press(IDCANCEL);
        EXPECT_FALSE(Showing(d));
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [](FwDialogDriver& d) {
        d.TypeInCombo(IDC_KDEF_NAME, "MYKEY");
        d.SetText(IDC_KDEF_STRING, "echo viakey<cr>");
        d.Press(IDC_KDEF_ACCEPT);
        d.Press(IDOK);
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [](FwDialogDriver& d) {
        d.Pick(IDC_XLT_OUTBOUND, 0x61);
        d.SetText(IDC_XLT_NEW_OUTBOUND, "62");
        d.Press(IDC_XLT_ACCEPT);
        d.Click(IDC_XLT_CHARACTER);
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(rec->DisplayFormat, 1) << "the Translate Tables dialog's OK sets its display at once";
    rec->DisplayFormat = 0;
    EXPECT_EQ(Snapshot(), before);

    // Changes made only in the inner dialogs: Cancel ends without the question.
    const std::size_t asked = hook.messages.size();
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Press(IDCANCEL);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [](FwDialogDriver& d) {
        d.Pick(IDC_KDEF_NAME, 0);
        d.SetText(IDC_KDEF_STRING, "changed");
        d.Press(IDC_KDEF_ACCEPT);
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(hook.messages.size(), asked);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(KeyboardDialogs, OkCopiesBackOnlyTheTablesTheDialogsChanged)
{
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Press(IDOK);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [](FwDialogDriver& d) {
        d.TypeInCombo(IDC_KDEF_NAME, "MYKEY");
        d.SetText(IDC_KDEF_STRING, "echo viakey<cr>");
        d.Press(IDC_KDEF_ACCEPT);
        d.Press(IDOK);
    });
    const std::string map = TableText(doc.keyMap);
    OpenKeyboardMap(doc);
    EXPECT_EQ(doc.keyDefs.Lookup("MYKEY")->GetDefinition(), "echo viakey<cr>");
    EXPECT_EQ(doc.KeyDefChanged, 1);
    EXPECT_EQ(doc.KeyMapChanged, 0);
    EXPECT_EQ(doc.TranslateChanged, 0);
    EXPECT_EQ(TableText(doc.keyMap), map);

    // A Translate Tables Cancel keeps the working tables as they were.
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TRANSLATE);
        d.Click(IDC_KMAP_TRANSLATE);
        d.Press(IDOK);
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [](FwDialogDriver& d) {
        d.Pick(IDC_XLT_OUTBOUND, 0x61);
        d.SetText(IDC_XLT_NEW_OUTBOUND, "62");
        d.Press(IDC_XLT_ACCEPT);
        d.Press(IDCANCEL);  // string 51, answered Yes
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [](FwDialogDriver& d) {
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0x61), "61 -> 61");
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(tables.Outgoing[0x61], 0x61);
    EXPECT_EQ(doc.TranslateChanged, 0);
}

TEST_F(KeyboardDialogs, TerminalKeyNameDefinitions)
{
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        EXPECT_EQ(d.Count(IDC_KMAP_PREDEFINED_LIST), 5) << "refilled from the accepted table";
        d.Press(IDOK);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Terminal KeyName Definitions");
        ASSERT_EQ(d.Count(IDC_KDEF_NAME), 3);
        EXPECT_EQ(d.Text(IDC_KDEF_NAME), "Do");
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), "<esc>[29~");
        // A name with blanks, new and again.
        d.TypeInCombo(IDC_KDEF_NAME, "My Key");
        d.SetText(IDC_KDEF_STRING, "one");
        d.Press(IDC_KDEF_ACCEPT);
        d.TypeInCombo(IDC_KDEF_NAME, "My Key");
        d.SetText(IDC_KDEF_STRING, "two");
        d.Press(IDC_KDEF_ACCEPT);
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), 4);
        EXPECT_EQ(d.Text(IDC_KDEF_NAME), "My_Key");
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), "two");
        // "pf1" is no "PF1", and no prefix decides either.
        d.TypeInCombo(IDC_KDEF_NAME, "pf1");
        d.SetText(IDC_KDEF_STRING, "lower");
        d.Press(IDC_KDEF_ACCEPT);
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), 5);
        d.TypeInCombo(IDC_KDEF_NAME, "PF");
        d.Press(IDC_KDEF_DELETE);
        EXPECT_EQ(LastMessage(), "DEC KEY must be selected");
        const std::size_t shown = hook.messages.size();
        d.TypeInCombo(IDC_KDEF_NAME, "nothing");
        d.Press(IDC_KDEF_DELETE);
        EXPECT_EQ(hook.messages.size(), shown + 1);
        d.TypeInCombo(IDC_KDEF_NAME, "");
        d.Press(IDC_KDEF_ACCEPT);
        EXPECT_EQ(LastMessage(), "DEC KEY name must be specified");
        d.TypeInCombo(IDC_KDEF_NAME, "New");
        d.SetText(IDC_KDEF_STRING, "");
        d.Press(IDC_KDEF_ACCEPT);
        EXPECT_EQ(LastMessage(), "The Send String must be defined");

        // A changed string, then another name: string 56; No keeps the old definition.
        d.Pick(IDC_KDEF_NAME, 0);
        d.SetText(IDC_KDEF_STRING, "not kept");
        hook.messageAnswers = {IDNO};
        d.Pick(IDC_KDEF_NAME, 1);
        EXPECT_EQ(LastMessage(), "Accept modifications to selected key ?");
        d.Pick(IDC_KDEF_NAME, 0);
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), "<esc>[29~");

        // Deleting the last item selects the one before it.
        const int last = d.Count(IDC_KDEF_NAME) - 1;
        const std::string before = d.ItemText(IDC_KDEF_NAME, last - 1);
        d.Pick(IDC_KDEF_NAME, last);
        d.Press(IDC_KDEF_DELETE);
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), last);
        EXPECT_EQ(d.Text(IDC_KDEF_NAME), before);
        KeepScreenshot(d.Handle(), "dialog-key-definitions.png");

        // OK with a modified string whose Accept is refused stays open.
        d.TypeInCombo(IDC_KDEF_NAME, "");
        d.SetText(IDC_KDEF_STRING, "typed");
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
        EXPECT_TRUE(Showing(d));
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), "typed");
        d.TypeInCombo(IDC_KDEF_NAME, "Typed");
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(TableText(doc.keyDefs),
              "define: Do tx: <esc>[29~\ndefine: My_Key tx: two\ndefine: PF1 tx: <esc>OP\ndefine: Typed tx: typed\n"
              "define: pf1 tx: lower\n");
}

TEST_F(KeyboardDialogs, DeletingTheOnlyTerminalKeyEmptiesTheString)
{
    doc.keyDefs.RemoveAllDefs();
    doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("Only", std::string(120, 's')));
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Press(IDOK);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), std::string(120, 's')) << "a longer stored definition shows whole";
        d.Press(IDC_KDEF_DELETE);
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), 0);
        EXPECT_EQ(d.Text(IDC_KDEF_STRING), "");
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(doc.keyDefs.GetCount(), 0u);
}

TEST_F(KeyboardDialogs, TranslateTablesMirrorIndividualFormatsAndValues)
{
    rec->DisplayMirror = 0;
    hook.Expect(IDD_KEYBOARD_MAP, [](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TRANSLATE);
        d.Press(IDOK);
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Translate Tables");
        EXPECT_TRUE(d.Checked(IDC_XLT_MIRROR));
        EXPECT_TRUE(d.Checked(IDC_XLT_HEX));
        ASSERT_EQ(d.Count(IDC_XLT_OUTBOUND), 256);
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x41), "41 -> 41");
        EXPECT_FALSE(d.Enabled(IDC_XLT_ACCEPT));
        EXPECT_FALSE(d.Enabled(IDC_XLT_NEW_INBOUND));

        // Mirror: outbound 61 := 41 also sets inbound 41 := 61 and selects it.
        d.Pick(IDC_XLT_OUTBOUND, 0x61);
        d.SetText(IDC_XLT_NEW_OUTBOUND, "41");
        EXPECT_TRUE(d.Enabled(IDC_XLT_ACCEPT));
        d.Press(IDC_XLT_ACCEPT);
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0x61), "61 -> 41");
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x41), "41 -> 61");
        EXPECT_EQ(d.Selection(IDC_XLT_INBOUND), 0x41);

        // Invalid values: one digit, a letter; a third character after two digits is ignored.
        for (const char* wrong : {"4", "g1"}) {
            d.SetText(IDC_XLT_NEW_OUTBOUND, wrong);
            d.Press(IDC_XLT_ACCEPT);
            EXPECT_EQ(LastMessage(), "Invalid code. \nEnter hex code as: 00 - 1ff\nor any character as: 'a', '1' ...");
        }
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0x61), "61 -> 41");

        // Individual, on the inbound table: only it changes; a quoted 8-bit character.
        d.Click(IDC_XLT_INDIVIDUAL);
        hook.messageAnswers = {IDNO};  // the refused "g1" is dropped when the other table is taken
        ASSERT_TRUE(d.Focus(IDC_XLT_INBOUND));
        EXPECT_EQ(LastMessage(), "Accept '61 -> g1' modification ?");
        EXPECT_TRUE(d.Enabled(IDC_XLT_NEW_INBOUND));
        EXPECT_FALSE(d.Enabled(IDC_XLT_NEW_OUTBOUND));
        EXPECT_TRUE(d.Visible(IDC_XLT_INBOUND_FRAME));
        EXPECT_FALSE(d.Visible(IDC_XLT_OUTBOUND_FRAME));
        d.Pick(IDC_XLT_INBOUND, 0x78);
        d.SetText(IDC_XLT_NEW_INBOUND, "'\xE9'");
        d.Press(IDC_XLT_ACCEPT);
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x78), "78 -> E9");
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0xE9), "E9 -> E9");
        d.SetText(IDC_XLT_NEW_INBOUND, "79z");
        d.Press(IDC_XLT_ACCEPT);
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x78), "78 -> 79");

        // The character format changes the texts only.
        d.Click(IDC_XLT_CHARACTER);
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x78), "x -> y");
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x0D), "^M -> ^M");
        KeepScreenshot(d.Handle(), "dialog-translate-tables.png");
        d.Click(IDC_XLT_HEX);
        EXPECT_EQ(d.ItemText(IDC_XLT_INBOUND, 0x78), "78 -> 79");

        // A pending value at a selection change asks string 57 with the entry.
        d.SetText(IDC_XLT_NEW_INBOUND, "7a");
        hook.messageAnswers = {IDNO};
        d.Pick(IDC_XLT_INBOUND, 0x10);
        EXPECT_EQ(LastMessage(), "Accept '78 -> 7A' modification ?");
        EXPECT_EQ(d.Text(IDC_XLT_NEW_INBOUND), "");

        // OK with a pending value whose Accept is refused stays open with it.
        d.SetText(IDC_XLT_NEW_INBOUND, "q");
        hook.messageAnswers = {IDYES};
        d.Press(IDOK);
        EXPECT_TRUE(Showing(d));
        EXPECT_EQ(d.Text(IDC_XLT_NEW_INBOUND), "q");
        d.SetText(IDC_XLT_NEW_INBOUND, "");
        hook.messageAnswers = {IDNO};
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(tables.Outgoing[0x61], 0x41);
    EXPECT_EQ(tables.Incoming[0x41], 0x61);
    EXPECT_EQ(tables.Incoming[0x78], 0x79);
    EXPECT_EQ(tables.Outgoing[0xE9], 0xE9);
    EXPECT_EQ(doc.TranslateChanged, 1);
    EXPECT_EQ(rec->DisplayMirror, 1);
    EXPECT_EQ(rec->DisplayFormat, 0);
}

TEST_F(KeyboardDialogs, DefaultLoadsReplaceTheWorkingTablesOnlyWhenTheWholeFileWasRead)
{
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Click(IDC_KMAP_TRANSLATE);
        d.Click(IDC_KMAP_DEFAULT_BUTTONS);
        EXPECT_EQ(LastMessage(), "Load default Buttons from: '" + folder + "zldec.but'  ?");
        d.Click(IDC_KMAP_DEFAULT_MAP);
        EXPECT_EQ(LastMessage(), "Load default Keyboard Mapping from: '" + folder + "zldec.map'  ?");
        EXPECT_EQ(ComboItems(d), "F2=71\nHome=124\n");
        EXPECT_EQ(d.Text(IDC_KMAP_KEY_NAME), "F2");
        EXPECT_EQ(d.Text(kNormal), "PF2");
        d.Press(IDOK);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [this](FwDialogDriver& d) {
        d.Press(IDC_KDEF_DEFAULT);
        EXPECT_EQ(LastMessage(), "Load default Terminal Key Definitions from: '" + folder + "zldec.key'  ?");
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), 2);
        d.Press(IDOK);
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [this](FwDialogDriver& d) {
        d.Press(IDC_XLT_DEFAULT);
        EXPECT_EQ(LastMessage(), "Load default Translate table from: '" + folder + "zlansi.xlt' ?");
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0), "00 -> FF");
        d.Press(IDOK);
    });
    OpenKeyboardMap(doc);
    EXPECT_EQ(doc.ButtonsChanged, 1);
    EXPECT_EQ(doc.strings.ActiveButtonFile, "default.trc");
    EXPECT_EQ(TableText(doc.keyMap), "pckey: F2 code: 71  tx: PF2\npckey: Home code: 124  tx: <esc>[1~\n");
    EXPECT_EQ(doc.keyDefs.Lookup("Find")->GetDefinition(), "<esc>[1~");
    EXPECT_EQ(tables.Incoming[1], 254);

    // Missing or short default files are reported and change nothing.
    DeleteFileA((folder + "zldec.map").c_str());
    DeleteFileA((folder + "zldec.key").c_str());
    WriteFile(folder + "zlansi.xlt", std::string(300, 'x'));
    const std::string before = Snapshot();
    hook.Expect(IDD_KEYBOARD_MAP, [this](FwDialogDriver& d) {
        d.Click(IDC_KMAP_DEFAULT_MAP);
        EXPECT_EQ(LastMessage(), "Failed to open Keyboard mapping file: " + folder + "zldec.map");
        EXPECT_EQ(ComboItems(d), "F2=71\nHome=124\n");
        d.Click(IDC_KMAP_TERMINAL_KEYS);
        d.Click(IDC_KMAP_TRANSLATE);
        d.Press(IDCANCEL);
    });
    hook.Expect(IDD_KEY_DEFINITIONS, [this](FwDialogDriver& d) {
        d.Press(IDC_KDEF_DEFAULT);
        EXPECT_EQ(LastMessage(), "Failed to open Terminal Key Definition file: " + folder + "zldec.key");
        EXPECT_EQ(d.Count(IDC_KDEF_NAME), 2);
        d.Press(IDCANCEL);
    });
    hook.Expect(IDD_TRANSLATE_TABLES, [this](FwDialogDriver& d) {
        d.Press(IDC_XLT_DEFAULT);
        EXPECT_EQ(LastMessage(), "Failed to read Display xlate table from " + folder + "zlansi.xlt");
        EXPECT_EQ(d.ItemText(IDC_XLT_OUTBOUND, 0), "00 -> FF");
        d.Press(IDCANCEL);
    });
    const std::size_t asked = hook.messages.size();
    OpenKeyboardMap(doc);
    EXPECT_EQ(Snapshot(), before);
    for (std::size_t i = asked; i < hook.messages.size(); ++i)
        EXPECT_NE(hook.messages[i].text, "Your modifications will be canceled") << "nothing changed to cancel";
}

}  // namespace
