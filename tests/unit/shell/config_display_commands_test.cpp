// What the display commands of the Config menu apply after OK, with the dialogs' values given
// directly: what is copied back, which changed-file marks and refits follow, what the frame is
// asked for and in which order, and which screen buttons go.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/color_settings_values.h"
#include "engine/colors.h"
#include "engine/screen_planes.h"
#include "fake_site.h"
#include "session_fixture.h"
#include "shell/config_display_commands.h"
#include "shell/dyn_buttons.h"
#include "shell/hotspot_table.h"
#include "test_key_map.h"

namespace {

// Records, in one list, what the document asks of its frame and what the command asks of the
// program around it.
class RecordingSite : public FakeSite, public ConfigCommandSite {
public:
    void UpdateAllViews() override
    {
        FakeSite::UpdateAllViews();
        log.push_back(FrameRefitPending ? "update views (refit)" : "update views");
    }
    void SetFrameTitle(const std::string& text) override
    {
        FakeSite::SetFrameTitle(text);
        log.push_back("title " + text);
    }
    void ReloadCountryMenu() override { log.push_back("country menu"); }
    void PostFrameCommand(int command) override { log.push_back("post " + std::to_string(command)); }
    void RepaintMainWindow() override { log.push_back("repaint"); }
    void RefitMaximisedWindow() override { log.push_back("refit maximised"); }
    void CloseMainWindow() override { log.push_back("close"); }
    void SetBusyCursor(bool on) override { log.push_back(on ? "busy on" : "busy off"); }
    std::string StatusPaneText() override
    {
        log.push_back("status read");
        return pane;
    }
    void SetStatusPaneText(const std::string& text) override
    {
        pane = text;
        log.push_back("status " + text);
    }
    void DropSelection() override { log.push_back("drop selection"); }

    std::vector<std::string> log;
    std::string pane = "Ready";
};

class NoButtonView : public ButtonView {
public:
    ButtonGeometry Geometry() override { return {8, 16, 800, 500, 0, 0, 0, 0, 7, 0, 0}; }
    void InvalidateButton(const ButtonRect&) override {}
    void PaintButton(const DynButton&) override {}
};

using Log = std::vector<std::string>;

class DisplayCommands : public SessionTest {
protected:
    void SetUp() override
    {
        Defaults();
        doc.SetSite(&site);
        doc.SetModifiedFlag(false);
        FrameRefitPending = 0;
        SetButtonView(&buttonView);
    }
    void TearDown() override
    {
        DynButtonMap.clear();
        SetButtonView(nullptr);
        DynHotspots.reset();
        doc.SetSite(nullptr);
        FrameRefitPending = 0;
    }
    // One host button (id 0) and one hotspot word's button (id 1).
    void MakeButtons()
    {
        Rec->EnableHotspots = Rec->EnableDynamicHotspots = 1;
        const int numbers[] = {1, 1, 1, 4, 1};
        ASSERT_TRUE(CreateDynButton(nullptr, numbers, 5, ";host;h0;;x;", 0));
        ASSERT_TRUE(CreateDynButton(nullptr, numbers, 5, ";word;h1;;y;", 1));
    }
    bool Button(const char* name) const { return DynButtonMap.count(name) != 0; }
    int Marks() const
    {
        return doc.KeyMapChanged + doc.KeyDefChanged + doc.TranslateChanged + doc.ButtonsChanged + doc.HotspotsChanged;
    }

    RecordingSite site;
    NoButtonView buttonView;
};

// The history rows already on the screen take the history colours when the history colouring was
// switched or its colours changed while on; another attribute's colour leaves them as they are.
TEST_F(DisplayCommands, ColorsRecolourTheHistoryOnlyWhenItsColoursChanged)
{
    SettingsRecord& rec = *Rec;
    FreeScreenBuffers();
    rec.HistoryRows = 10;
    ASSERT_EQ(1, AllocScreenBuffers());
    ASSERT_GT(rec.HistoryCells, 0);
    const int visibleCells = rec.MaxCols * rec.MaxRows;
    const auto historyBg = [](ColorSettingsValues& v) { v.rows[static_cast<std::size_t>(v.HistoryRow())][kAttrBg] = 5; };
    const struct {
        const char* what;
        bool mode3270;
        int historyBefore;
        void (*edit)(ColorSettingsValues&);
        int expectFg, expectBg;  // -1: the history keeps its bytes
    } cases[] = {
        {"history colouring on", false, 0, [](ColorSettingsValues& v) { v.historyLinesColor = 1; }, 11, 4},
        {"history colouring off", false, 1, [](ColorSettingsValues& v) { v.historyLinesColor = 0; }, 6, 1},
        {"history row while on", false, 1, historyBg, 11, 5},
        {"history row while off", false, 0, historyBg, -1, -1},
        {"bold colour only", false, 1, [](ColorSettingsValues& v) { v.rows[1][kAttrFg] = 12; }, -1, -1},
        {"3270 history row while on", true, 1, historyBg, 11, 5},
        {"3270 attribute only", true, 1, [](ColorSettingsValues& v) { v.rows[1][kAttrFg] = 12; }, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        rec.AttrColors[kAttrNormal][kAttrFg] = 6;
        rec.AttrColors[kAttrNormal][kAttrBg] = 1;
        rec.AttrColors[kAttrHistoryLines][kAttrFg] = 11;
        rec.AttrColors[kAttrHistoryLines][kAttrBg] = 4;
        rec.UseHistoryLinesColor = c.historyBefore;
        std::memset(rec.FgBase, 0x77, static_cast<std::size_t>(rec.HistoryCells + visibleCells));
        std::memset(rec.BgBase, 0x66, static_cast<std::size_t>(rec.HistoryCells + visibleCells));
        site.log.clear();
        FrameRefitPending = 0;
        doc.SetModifiedFlag(false);

        ColorSettingsValues values = ColorValuesFrom(rec, c.mode3270);
        c.edit(values);
        ColorsAfterOk(doc, values, site);

        const int32_t(&bold)[3] = c.mode3270 ? rec.Attr3270Colors[1] : rec.AttrColors[1];
        EXPECT_EQ(values.rows[1][kAttrFg], bold[kAttrFg]);  // copied back
        EXPECT_EQ(values.historyLinesColor, rec.UseHistoryLinesColor);
        const int fg = c.expectFg < 0 ? 0x77 : c.expectFg, bg = c.expectBg < 0 ? 0x66 : c.expectBg;
        EXPECT_EQ(fg, rec.FgBase[0]);
        EXPECT_EQ(fg, rec.FgBase[rec.HistoryCells - 1]);
        EXPECT_EQ(bg, rec.BgBase[rec.HistoryCells - 1]);
        EXPECT_EQ(0x77, rec.FgBase[rec.HistoryCells]);  // the visible screen is the view's to repaint
        EXPECT_EQ(0x66, rec.BgBase[rec.HistoryCells]);
        EXPECT_EQ(6, rec.NormalFg);  // the current colours follow
        EXPECT_EQ(Log{"update views (refit)"}, site.log);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(0, Marks());
    }
}

TEST_F(DisplayCommands, BoxesCopyBackAndRefit)
{
    BoxSettingsValues values = BoxValuesFrom(*Rec, false);
    values.fg[4] = kOutBox;
    values.enableLines = !Rec->LineGraphics3D;
    BoxesAfterOk(doc, values, site);
    EXPECT_EQ(kOutBox, Rec->BoxMapFg[4]);
    EXPECT_EQ(values.enableLines, Rec->LineGraphics3D);
    EXPECT_EQ(Log{"update views (refit)"}, site.log);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DisplayCommands, ViewPreferences)
{
    const struct {
        const char* what;
        void (*edit)(ViewPrefsValues&);
        bool refit, hostButtonKept;
        Log log;
    } cases[] = {
        {"nothing that moves the frame", [](ViewPrefsValues& v) { v.autoConnect = !v.autoConnect; }, false, true,
         {"title T", "update views"}},
        {"frame size", [](ViewPrefsValues& v) { v.frameSize += 1; }, true, true,
         {"refit maximised", "title T", "update views (refit)"}},
        {"alignment", [](ViewPrefsValues& v) { v.alignDisplay = (v.alignDisplay + 1) % 9; }, true, true,
         {"refit maximised", "title T", "update views (refit)"}},
        {"hotspots off", [](ViewPrefsValues& v) { v.enableHotspots = 0; }, true, false,
         {"refit maximised", "title T", "update views (refit)"}},
        {"button panel on", [](ViewPrefsValues& v) { v.enableButtonPanel = 1; }, false, true,
         {"post 32812", "title T", "update views"}},
        {"button panel off", [](ViewPrefsValues& v) { v.enableButtonPanel = 0; }, false, false,
         {"title T", "update views"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeButtons();
        Rec->EnableButtonPanel = std::string(c.what) == "button panel off";
        Rec->TitleAppName = 1;
        Rec->TitleConfig = Rec->TitleHostName = Rec->TitleConnected = Rec->TitleUniqueText = 0;
        site.log.clear();
        site.title.clear();
        FrameRefitPending = 0;
        doc.SetModifiedFlag(false);

        ViewPrefsValues values = ViewPrefsValuesFrom(*Rec, doc.strings);
        values.appName = "T";
        c.edit(values);
        ViewPrefsAfterOk(doc, values, site);

        EXPECT_EQ("T", doc.strings.AppName);
        EXPECT_EQ("T", doc.strings.AppNameShown);
        EXPECT_EQ(values.frameSize, Rec->FrameSize);
        EXPECT_EQ(values.enableButtonPanel, Rec->EnableButtonPanel);
        EXPECT_EQ(c.refit, FrameRefitPending != 0);
        EXPECT_EQ(c.hostButtonKept, Button("h0"));
        EXPECT_TRUE(Button("h1"));  // the hotspot words' buttons are not the host's
        EXPECT_EQ(c.log, site.log);
        EXPECT_TRUE(doc.IsModified());
        DynButtonMap.clear();
    }
}

class KeyboardMapOk : public DisplayCommands {
protected:
    void SetUp() override
    {
        DisplayCommands::SetUp();
        AddTestKey(doc.keyMap, 0x74, 0, "F5", "old");
        AddTestKey(doc.keyMap, 0x75, 0, "F6", "gone");
        doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("OLD", "o"));
        AddTestKey(map, 0x74, 0, "F5", "%hold%");
        defs.SetAt(std::make_unique<KeyDefEntry>("NEW", "n"));
        for (int i = 0; i < 256; ++i) {
            outbound[i] = static_cast<uint8_t>(255 - i);
            inbound[i] = static_cast<uint8_t>(i ^ 1);
        }
        edits.keyMap = &map;
        edits.keyDefs = &defs;
        edits.outbound = outbound;
        edits.inbound = inbound;
    }
    KeyMap map;
    KeyDefTable defs;
    uint8_t outbound[256], inbound[256];
    KeyboardMapEdits edits;
};

// Every table reported changed replaces the document's whole; the status pane text is kept
// across the work; changed key tables resolve the hotspot table again and mark it for saving.
TEST_F(KeyboardMapOk, ChangedTablesReplaceTheDocumentsAndResolveTheHotspots)
{
    DynHotspots = std::make_unique<HotspotTable>();
    ASSERT_EQ(0, DynHotspots->Add("go", kHotspotPcKey, "F5"));
    ASSERT_EQ("old", DynHotspots->GetEffectiveString("go"));
    edits.buttonsChanged = edits.keyDefsChanged = edits.keyMapChanged = edits.translateChanged = true;

    KeyboardMapAfterOk(doc, edits, site);

    EXPECT_EQ("%hold%", doc.keyMap.Lookup(0x74)->GetValue());
    EXPECT_EQ(nullptr, doc.keyMap.Lookup(0x75));
    EXPECT_EQ(1, Rec->KeyMapHasHold);
    EXPECT_EQ(nullptr, doc.keyDefs.Lookup("OLD"));
    EXPECT_NE(nullptr, doc.keyDefs.Lookup("NEW"));
    EXPECT_EQ(0, std::memcmp(doc.tables->Outgoing, outbound, 256));
    EXPECT_EQ(0, std::memcmp(doc.tables->Incoming, inbound, 256));
    EXPECT_EQ("%hold%", DynHotspots->GetEffectiveString("go"));
    EXPECT_EQ(5, Marks());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ((Log{"update views", "busy on", "status read", "status Ready", "busy off", "repaint"}), site.log);
    EXPECT_EQ("Ready", site.pane);
}

TEST_F(KeyboardMapOk, OnlyWhatWasReportedChangedIsTaken)
{
    const struct {
        const char* what;
        bool buttons, keyDefs, keyMap, translate;
        int keyMapMark, keyDefMark, translateMark, buttonsMark, hotspotsMark;
    } cases[] = {
        {"nothing", false, false, false, false, 0, 0, 0, 0, 0},
        {"buttons", true, false, false, false, 0, 0, 0, 1, 0},
        {"translate", false, false, false, true, 0, 0, 1, 0, 0},  // the hotspots keep their strings
        {"key map", false, false, true, false, 1, 0, 0, 0, 1},
        {"key definitions", false, true, false, false, 0, 1, 0, 0, 1},
    };
    const uint8_t liveOut = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DynHotspots = std::make_unique<HotspotTable>();
        AddTestKey(doc.keyMap, 0x74, 0, "F5", "old");
        std::memset(doc.tables->Outgoing, 1, 256);
        doc.KeyMapChanged = doc.KeyDefChanged = doc.TranslateChanged = doc.ButtonsChanged = doc.HotspotsChanged = 0;
        doc.SetModifiedFlag(false);
        edits.buttonsChanged = c.buttons;
        edits.keyDefsChanged = c.keyDefs;
        edits.keyMapChanged = c.keyMap;
        edits.translateChanged = c.translate;
        KeyboardMapAfterOk(doc, edits, site);
        EXPECT_EQ(c.keyMapMark, doc.KeyMapChanged);
        EXPECT_EQ(c.keyDefMark, doc.KeyDefChanged);
        EXPECT_EQ(c.translateMark, doc.TranslateChanged);
        EXPECT_EQ(c.buttonsMark, doc.ButtonsChanged);
        EXPECT_EQ(c.hotspotsMark, doc.HotspotsChanged);
        EXPECT_EQ(c.keyMap ? "%hold%" : "old", doc.keyMap.Lookup(0x74)->GetValue());
        EXPECT_EQ(c.translate ? outbound[1] : liveOut, doc.tables->Outgoing[1]);
        EXPECT_EQ(std::string(c.what) != "nothing", doc.IsModified());
    }
    // Without a hotspot table there is none to mark.
    DynHotspots.reset();
    doc.HotspotsChanged = 0;
    edits.keyMapChanged = true;
    KeyboardMapAfterOk(doc, edits, site);
    EXPECT_EQ(0, doc.HotspotsChanged);
}

TEST_F(DisplayCommands, DynamicHotspots)
{
    const struct {
        const char* what;
        bool settingsChanged, tableChanged;
    } cases[] = {
        {"nothing changed", false, false},
        {"settings only", true, false},
        {"table only", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeButtons();
        DynHotspots = std::make_unique<HotspotTable>();
        const HotspotTable* program = DynHotspots.get();
        doc.HotspotsChanged = 0;
        doc.SetModifiedFlag(false);
        site.log.clear();

        DynHotspotsSettings values = DynHotspotsSettingsFrom(*Rec);
        if (c.settingsChanged) values.extraChars = "-_.";
        std::unique_ptr<HotspotTable> edited;
        const HotspotTable* editedTable = nullptr;
        if (c.tableChanged) {
            edited = std::make_unique<HotspotTable>();
            edited->Add("date", kHotspotLiteral, "date\\r");
            editedTable = edited.get();
        }
        DynHotspotsAfterOk(doc, values, std::move(edited), site);

        const bool anything = c.settingsChanged || c.tableChanged;
        EXPECT_EQ(c.tableChanged ? editedTable : program, DynHotspots.get());
        EXPECT_EQ(c.tableChanged ? 1 : 0, doc.HotspotsChanged);
        EXPECT_EQ(anything, doc.IsModified());
        EXPECT_EQ(values.extraChars, std::string(Rec->ExtraDynWordChars));
        EXPECT_EQ(!anything, Button("h1"));
        EXPECT_TRUE(Button("h0"));
        EXPECT_EQ(anything ? Log{"repaint"} : Log{}, site.log);
        DynButtonMap.clear();
        Rec->ExtraDynWordChars[0] = 0;
    }
}

}  // namespace
