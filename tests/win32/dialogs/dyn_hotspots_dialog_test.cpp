// Dynamic Hotspots Settings, opened by its command inside the test program and driven by control
// id: Accept's checks and what it adds to the extra characters, replacing an entry, the pick
// buttons, Add all PC-keys / terminal keys and Remove all with their question, OK while editing,
// Cancel with changes, and the area and depth ranges. After OK the program's table is the
// dialog's; after Cancel the table and the record are byte-identical to before.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog_pixels.h"
#include "fw_dialog_test_hook.h"
#include "quiet_config_site.h"
#include "resource_ids.h"
#include "shell/hotspot_table.h"
#include "shell/session_document.h"
#include "shell/win32/display_settings_commands.h"
#include "test_key_map.h"

namespace {

constexpr const char* kBoth = "both on-screen-text and sendstring must be filled in";
constexpr const char* kWhitespace = "Whitespace not allowed in 'on-screen text' string";
constexpr const char* kDiscardItem = "The currently edited item will be discarded!";
constexpr const char* kDiscardAll = "All changes will be discarded!";
constexpr const char* kSaveItem = "Save modifications to current item ?";

class DynHotspotsDialog : public ::testing::Test {
protected:
    DynHotspotsDialog() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        rec->EnableDynamicHotspots = 1, rec->DynamicRow = 1, rec->DynamicColumn = 1;
        rec->DynamicWidth = 80, rec->DynamicHeight = 24, rec->DynamicDepth = 2;
        std::strcpy(rec->ExtraDynWordChars, "_");
        doc.record = rec.get();
        Key(0x70, 0, "F1", "PF1");
        Key(0x71, 0, "F2", "hello\\r");
        Key(0x72, kShiftBit, "F3", "x");
        Key(0x73, kCtrlBit, "F4", "x");
        Key(0x74, kAltBit, "F5", "x");
        Key(0x75, 0, "", "nameless");
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "\\033OP"));
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("\"Do\"", "\\033[29~"));
        SetHotspotSources(&doc.keyMap, &doc.keyDefs);
        DynHotspots = std::make_unique<HotspotTable>();
        DynHotspots->Add("date", kHotspotLiteral, "date\\r");
        DynHotspots->Add("help", kHotspotKeyName, "PF1");
        DynHotspots->Add("go", kHotspotPcKey, "F2");
        FwSetDialogTestHook(&hook);
    }
    ~DynHotspotsDialog() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
        DynHotspots.reset();
        SetHotspotSources(nullptr, nullptr);
    }
    void Key(uint16_t code, uint16_t modifiers, const char* name, const char* value)
    {
        AddTestKey(doc.keyMap, code, modifiers, name, value);
    }
    // Runs the command with the script in the dialog.
    void Run(std::function<void(FwDialogDriver&)> script)
    {
        hook.Expect(IDD_DYN_HOTSPOTS, std::move(script));
        QuietConfigSite site;
        DynHotspotsCommand(doc, nullptr, site);
    }
    static std::string Lines(const HotspotTable& table)
    {
        std::string all;
        for (const std::string& name : table.Names()) all += HotspotTable::FileLine(name, *table.Lookup(name));
        return all;
    }
    std::string Snapshot() const
    {
        return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec) + Lines(*DynHotspots);
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : hook.messages) texts.push_back(m.text);
        return texts;
    }
    static std::vector<std::string> ComboItems(FwDialogDriver& d)
    {
        std::vector<std::string> items;
        for (int i = 0; i < d.Count(IDC_DYN_TEXT); ++i) items.push_back(d.ItemText(IDC_DYN_TEXT, i));
        return items;
    }
    // The type radio button checked: 0 as-is, 1 PC key, 2 terminal key, -1 none.
    static int Radio(FwDialogDriver& d)
    {
        if (d.Checked(IDC_DYN_TYPE_AS_IS)) return 0;
        if (d.Checked(IDC_DYN_TYPE_PC_KEY)) return 1;
        return d.Checked(IDC_DYN_TYPE_TERMINAL_KEY) ? 2 : -1;
    }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
};

TEST_F(DynHotspotsDialog, StartsWithTheTableListedAndNothingToAccept)
{
    Run([](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Dynamic Hotspots Settings");
        EXPECT_EQ(ComboItems(d), (std::vector<std::string>{"date", "help", "go"}));
        EXPECT_EQ(d.Selection(IDC_DYN_TEXT), -1);
        EXPECT_EQ(d.Text(IDC_DYN_TEXT), "");
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "");
        EXPECT_EQ(Radio(d), 0);
        EXPECT_FALSE(d.Enabled(IDC_DYN_ACCEPT));
        EXPECT_TRUE(d.Checked(IDC_DYN_ENABLE));
        EXPECT_EQ(d.Text(IDC_DYN_WIDTH), "80");
        EXPECT_EQ(d.Text(IDC_DYN_EXTRA_CHARS), "_");
        KeepScreenshot(d.Handle(), "dialog-dyn-hotspots.png");
        // Each entry shows its send string and its type's button (type 0, 1, 2 -> 1, 2, 0).
        const int radios[] = {0, 2, 1};
        const char* sends[] = {"date\\r", "PF1", "F2"};
        for (int i = 0; i < 3; ++i) {
            d.Pick(IDC_DYN_TEXT, i);
            EXPECT_EQ(d.Text(IDC_DYN_SEND), sends[i]);
            EXPECT_EQ(Radio(d), radios[i]);
            EXPECT_FALSE(d.Enabled(IDC_DYN_ACCEPT));
        }
        d.Press(IDCANCEL);  // nothing changed: no question
    });
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(DynHotspotsDialog, AcceptChecksTheItemAndGrowsTheExtraCharacters)
{
    const std::string forty(40, '.');
    const struct {
        const char* text;
        const char* send;
        const char* extraBefore;
        const char* message;  // null: accepted
        std::string extraAfter;
    } cases[] = {
        {"a-b", "x", "_", nullptr, "_-"},
        {"a-b", "x", "-_", nullptr, "-_"},
        {"\xe4ri", "x", "_", nullptr, "_\xe4"},
        {"two words", "x", "_", kWhitespace, "_"},
        {"w", "", "_", kBoth, "_"},
        {"a-b", "x", forty.c_str(),
         "The non-alphanumerical characters to allow would take more than 40 characters.", forty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::strcpy(rec->ExtraDynWordChars, c.extraBefore);
        hook.messages.clear();
        bool accepted = false;
        Run([&](FwDialogDriver& d) {
            d.TypeInCombo(IDC_DYN_TEXT, c.text);
            EXPECT_TRUE(d.Enabled(IDC_DYN_ACCEPT));
            d.SetText(IDC_DYN_SEND, c.send);
            d.Press(IDC_DYN_ACCEPT);
            EXPECT_EQ(d.Text(IDC_DYN_EXTRA_CHARS), c.extraAfter);
            accepted = !d.Enabled(IDC_DYN_ACCEPT);
            EXPECT_EQ(accepted, c.message == nullptr);
            if (accepted) {
                EXPECT_EQ(ComboItems(d).back(), c.text);
                EXPECT_EQ(d.Text(IDC_DYN_TEXT), c.text);
            }
            hook.messageAnswers.push_back(IDOK);
            d.Press(IDCANCEL);
        });
        std::vector<std::string> expected;
        if (c.message) expected.push_back(c.message);
        expected.push_back(kDiscardAll);
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(DynHotspots->GetCount(), 3u);
    }
}

TEST_F(DynHotspotsDialog, AcceptedItemsReachTheProgramTableAtOk)
{
    Run([](FwDialogDriver& d) {
        // An existing text replaces its entry; the combo keeps one item for it.
        d.TypeInCombo(IDC_DYN_TEXT, "date");
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "date\\r");
        d.SetText(IDC_DYN_SEND, "PF1");
        d.Click(IDC_DYN_TYPE_TERMINAL_KEY);
        d.Press(IDC_DYN_ACCEPT);
        EXPECT_EQ(ComboItems(d), (std::vector<std::string>{"date", "help", "go"}));
        EXPECT_EQ(d.Selection(IDC_DYN_TEXT), 0);
        d.TypeInCombo(IDC_DYN_TEXT, "ls-la");
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "");
        EXPECT_EQ(Radio(d), 2);  // a new text leaves the type as it was
        d.Click(IDC_DYN_TYPE_AS_IS);
        d.SetText(IDC_DYN_SEND, "ls -la<cr>");
        d.Press(IDC_DYN_ACCEPT);
        // Delete removes the entry of the text and empties the text.
        d.Pick(IDC_DYN_TEXT, 2);
        d.Press(IDC_DYN_DELETE);
        EXPECT_EQ(d.Text(IDC_DYN_TEXT), "");
        EXPECT_EQ(ComboItems(d), (std::vector<std::string>{"date", "help", "ls-la"}));
        d.Press(IDOK);
    });
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(DynHotspots->Names(), (std::vector<std::string>{"date", "help", "ls-la"}));
    EXPECT_EQ(DynHotspots->GetType("date"), kHotspotKeyName);
    EXPECT_EQ(DynHotspots->GetEffectiveString("date"), "\\033OP");
    EXPECT_EQ(DynHotspots->GetSendString("ls-la"), "ls -la<cr>");
    EXPECT_EQ(DynHotspots->GetType("ls-la"), kHotspotLiteral);
    EXPECT_STREQ(rec->ExtraDynWordChars, "_-");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.HotspotsChanged, 1);
}

TEST_F(DynHotspotsDialog, PickButtonsFillTheTextOrTheSendStringAndItsType)
{
    const struct {
        int button;
        int pickIndex;
        const char* text;
        const char* send;
        int radio;
    } cases[] = {
        {IDC_DYN_TEXT_PICK_PC, 1, "F2", "", 0},
        {IDC_DYN_TEXT_PICK_TERMINAL, 1, "PF1", "", 0},
        {IDC_DYN_SEND_PICK_PC, 0, "", "F1", 1},
        {IDC_DYN_SEND_PICK_TERMINAL, 1, "", "PF1", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        Run([&](FwDialogDriver& d) {
            hook.Expect(IDD_PICK_STRING, [&c](FwDialogDriver& pick) {
                pick.Pick(IDC_PICK_LIST, c.pickIndex);
                pick.Press(IDOK);
            });
            d.Press(c.button);
            EXPECT_EQ(d.Text(IDC_DYN_TEXT), c.text);
            EXPECT_EQ(d.Text(IDC_DYN_SEND), c.send);
            EXPECT_EQ(Radio(d), c.radio);
            EXPECT_TRUE(d.Enabled(IDC_DYN_ACCEPT));
            hook.messageAnswers.push_back(IDOK);
            d.Press(IDCANCEL);
        });
    }
    // The on-screen pick of a text already in the table shows its entry.
    DynHotspots->Add("F1", kHotspotLiteral, "ignored");  // the key map's F1 takes the entry over
    Run([](FwDialogDriver& d) {
        FwGetDialogTestHook()->Expect(IDD_PICK_STRING, [](FwDialogDriver& pick) { pick.DoubleClick(IDC_PICK_LIST, 0); });
        d.Press(IDC_DYN_TEXT_PICK_PC);
        EXPECT_EQ(d.Selection(IDC_DYN_TEXT), 3);
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "PF1");
        EXPECT_EQ(Radio(d), 2);
        FwGetDialogTestHook()->messageAnswers.push_back(IDOK);
        d.Press(IDCANCEL);
    });
}

TEST_F(DynHotspotsDialog, FillingFromTheKeyTablesAndRemoveAllAskWhileEditing)
{
    Run([this](FwDialogDriver& d) {
        d.Press(IDC_DYN_REMOVE_ALL);  // not editing: no question
        EXPECT_EQ(d.Count(IDC_DYN_TEXT), 0);
        d.Press(IDC_DYN_ADD_PC_KEYS);
        EXPECT_EQ(ComboItems(d), (std::vector<std::string>{"F1", "F2"}));
        d.Pick(IDC_DYN_TEXT, 0);
        EXPECT_EQ(Radio(d), 2);  // its value is a terminal key name
        d.Pick(IDC_DYN_TEXT, 1);
        EXPECT_EQ(Radio(d), 0);
        d.Press(IDC_DYN_ADD_TERMINAL_KEYS);
        EXPECT_EQ(ComboItems(d), (std::vector<std::string>{"F1", "F2", "\"Do\"", "PF1"}));
        d.Pick(IDC_DYN_TEXT, 2);
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "Do");
        EXPECT_EQ(Radio(d), 2);

        // While an item is edited each asks first; Cancel keeps everything.
        d.SetText(IDC_DYN_SEND, "edited");
        hook.messageAnswers.push_back(IDCANCEL);
        d.Press(IDC_DYN_REMOVE_ALL);
        EXPECT_EQ(d.Count(IDC_DYN_TEXT), 4);
        EXPECT_EQ(d.Text(IDC_DYN_SEND), "edited");
        hook.messageAnswers.push_back(IDOK);
        d.Press(IDC_DYN_REMOVE_ALL);
        EXPECT_EQ(d.Count(IDC_DYN_TEXT), 0);
        EXPECT_FALSE(d.Enabled(IDC_DYN_ACCEPT));
        d.Press(IDOK);
    });
    EXPECT_EQ(Messages(), (std::vector<std::string>{kDiscardItem, kDiscardItem}));
    EXPECT_EQ(DynHotspots->GetCount(), 0u);
    EXPECT_EQ(doc.HotspotsChanged, 1);
}

TEST_F(DynHotspotsDialog, OkWhileEditingAsksAndAFailedAcceptKeepsTheDialogOpen)
{
    Run([this](FwDialogDriver& d) {
        d.TypeInCombo(IDC_DYN_TEXT, "new");
        hook.messageAnswers.push_back(IDYES);  // save it: the send string is empty
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        hook.messageAnswers.push_back(IDCANCEL);
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        d.SetText(IDC_DYN_DEPTH, "4");
        hook.messageAnswers.push_back(IDNO);  // leave the item, keep the rest
        d.Press(IDOK);
    });
    EXPECT_EQ(Messages(), (std::vector<std::string>{kSaveItem, kBoth, kSaveItem, kSaveItem}));
    EXPECT_EQ(hook.messages[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(rec->DynamicDepth, 4);
    EXPECT_EQ(DynHotspots->GetType("new"), -1);
    EXPECT_EQ(doc.HotspotsChanged, 0);  // the table was not changed
    EXPECT_TRUE(doc.IsModified());

    // Yes with a good item accepts it before OK.
    hook.messages.clear();
    Run([this](FwDialogDriver& d) {
        d.TypeInCombo(IDC_DYN_TEXT, "new");
        d.SetText(IDC_DYN_SEND, "n");
        hook.messageAnswers.push_back(IDYES);
        d.Press(IDOK);
    });
    EXPECT_EQ(DynHotspots->GetSendString("new"), "n");
}

TEST_F(DynHotspotsDialog, CancelWithChangesAsksAndLeavesTableAndRecordByteIdentical)
{
    const std::string before = Snapshot();
    const HotspotTable* table = DynHotspots.get();
    Run([this](FwDialogDriver& d) {
        d.Press(IDC_DYN_ADD_PC_KEYS);
        d.SetText(IDC_DYN_ROW, "5");
        d.Click(IDC_DYN_ENABLE);
        hook.messageAnswers.push_back(IDCANCEL);
        d.Press(IDCANCEL);
        ASSERT_TRUE(d.Open());
        hook.messageAnswers.push_back(IDOK);
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(Messages(), (std::vector<std::string>{kDiscardAll, kDiscardAll}));
    EXPECT_EQ(hook.messages[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(DynHotspots.get(), table);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());

    // OK without any change keeps everything too.
    Run([](FwDialogDriver& d) { d.Press(IDOK); });
    EXPECT_EQ(DynHotspots.get(), table);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DynHotspotsDialog, AreaAndDepthOutsideTheirRangesAreShownAndRefused)
{
    const struct {
        int id;
        int32_t SettingsRecord::*field;
        int stored;
        const char* message;
        const char* good;
    } cases[] = {
        {IDC_DYN_ROW, &SettingsRecord::DynamicRow, 0, "Please enter an integer between 1 and 25.", "25"},
        {IDC_DYN_HEIGHT, &SettingsRecord::DynamicHeight, 26, "Please enter an integer between 1 and 25.", "1"},
        {IDC_DYN_COLUMN, &SettingsRecord::DynamicColumn, 133, "Please enter an integer between 1 and 132.", "132"},
        {IDC_DYN_WIDTH, &SettingsRecord::DynamicWidth, 0, "Please enter an integer between 1 and 132.", "1"},
        {IDC_DYN_DEPTH, &SettingsRecord::DynamicDepth, 11, "Please enter an integer between 1 and 10.", "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const int kept = rec.get()->*c.field;
        rec.get()->*c.field = c.stored;
        hook.messages.clear();
        Run([&](FwDialogDriver& d) {
            EXPECT_EQ(d.Text(c.id), std::to_string(c.stored));
            d.Press(IDOK);
            ASSERT_TRUE(d.Open());
            EXPECT_TRUE(d.HasFocus(c.id));
            // Accept stops at the failed check too: the item is not added.
            d.TypeInCombo(IDC_DYN_TEXT, "w");
            d.SetText(IDC_DYN_SEND, "x");
            d.Press(IDC_DYN_ACCEPT);
            EXPECT_EQ(d.Count(IDC_DYN_TEXT), 3);
            EXPECT_TRUE(d.Enabled(IDC_DYN_ACCEPT));
            d.SetText(c.id, c.good);
            d.Press(IDC_DYN_ACCEPT);
            EXPECT_EQ(d.Count(IDC_DYN_TEXT), 4);
            d.Press(IDOK);
        });
        EXPECT_EQ(Messages(), (std::vector<std::string>{c.message, c.message}));
        EXPECT_EQ(rec.get()->*c.field, std::stoi(c.good));
        EXPECT_EQ(DynHotspots->GetSendString("w"), "x");
        DynHotspots->Remove("w");
        rec.get()->*c.field = kept;
    }
}

// The extra word characters fill their field at most: a longer text is refused with the focus on
// it, never stored cut short.
TEST_F(DynHotspotsDialog, ExtraCharactersLongerThanTheirFieldAreRefused)
{
    const std::string full(40, '.');
    Run([&](FwDialogDriver& d) {
        d.SetText(IDC_DYN_EXTRA_CHARS, full + "-");
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        EXPECT_TRUE(d.HasFocus(IDC_DYN_EXTRA_CHARS));
        d.SetText(IDC_DYN_EXTRA_CHARS, full);
        d.Press(IDOK);
    });
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Please enter no more than 40 characters."}));
    EXPECT_EQ(std::string(rec->ExtraDynWordChars), full);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace
