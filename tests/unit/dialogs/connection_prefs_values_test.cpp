// The connection and preference dialogs' values: each member comes from its setting and goes
// back to it whole, a radio group without a choice keeps its setting, and the file-name
// preferences tell which data files must be written anew.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "dialogs/connection_dialog_values.h"
#include "dialogs/file_name_prefs_values.h"
#include "dialogs/view_prefs_values.h"

namespace {

std::unique_ptr<SettingsRecord> FilledRecord()
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
    return rec;
}

TEST(ConnectionDialogValues, ModemStringsTheLengthOfTheirFieldsGoBackWhole)
{
    auto rec = FilledRecord();
    const std::string longest(sizeof rec->ModemInit - 1, 'M');  // a configuration file may hold it
    ModemValues v;
    v.enable = 1;
    v.dialPrefix = "ATDT", v.dialPostfix = "", v.hangupPrefix = "+++", v.hangupPostfix = "ATH";
    v.init = longest, v.connect = "CONNECT";
    StoreModemValues(v, *rec);
    EXPECT_EQ(kModemStringLimit, 32u);  // what the dialog lets the user type
    EXPECT_EQ(std::string(rec->ModemInit), longest);
    EXPECT_STREQ(rec->DialPrefix, "ATDT");
    EXPECT_STREQ(rec->HangupPostfix, "ATH");
    EXPECT_STREQ(rec->ModemConnect, "CONNECT");

    const ModemValues back = ModemValuesFrom(*rec);
    EXPECT_EQ(back.enable, 1);
    EXPECT_EQ(back.init, longest);  // a stored value longer than the dialog's limit shows whole
    EXPECT_EQ(back.hangupPrefix, "+++");
    EXPECT_EQ(back.dialPostfix, "");
}

TEST(ConnectionDialogValues, PhoneAutodialWithoutChoiceKeepsItsSetting)
{
    auto rec = FilledRecord();
    rec->TcpipAutodial = 7;  // none of the three buttons
    PhoneValues v = PhoneValuesFrom(*rec);
    EXPECT_EQ(v.autodial, -1);
    v.dialEnable = 1, v.number = "555", v.timeout = 240;
    StorePhoneValues(v, *rec);
    EXPECT_EQ(rec->TcpipAutodial, 7);
    EXPECT_STREQ(rec->PhoneNumber, "555");
    EXPECT_EQ(rec->DialTimeout, 240);
    EXPECT_EQ(rec->DialEnable, 1);
    v.autodial = 2;
    StorePhoneValues(v, *rec);
    EXPECT_EQ(rec->TcpipAutodial, 2);
    EXPECT_EQ(PhoneValuesFrom(*rec).autodial, 2);
}

TEST(ConnectionDialogValues, MouseStringsAreDocumentStrings)
{
    auto rec = FilledRecord();
    DocumentStrings strings;
    strings.MouseClick = "<esc>[%row%;%col%H";
    MouseValues v = MouseValuesFrom(*rec, strings);
    EXPECT_EQ(v.click, "<esc>[%row%;%col%H");
    v.enable = 1, v.doubleClick = "%row%,%col%<cr>";
    StoreMouseValues(v, *rec, strings);
    EXPECT_EQ(rec->EnableSendMousePos, 1);
    EXPECT_EQ(strings.MouseDoubleClick, "%row%,%col%<cr>");
}

TEST(ViewPrefsValues, EveryMemberReachesItsSetting)
{
    auto rec = FilledRecord();
    DocumentStrings strings;
    ViewPrefsValues v;
    v.autoConnect = 1, v.frameSize = 7, v.statusbar = 1, v.toolbar = 0, v.hostHangupClear = 1, v.pcHangupClear = 0;
    v.whenPCHungup = 2, v.whenHostHungup = 1, v.promptForHost = 1, v.alignDisplay = 8, v.appName = "Session A - ";
    v.titleConfig = 1, v.titleAppName = 0, v.titleHostName = 1, v.titleConnected = 0, v.titleUniqueText = 1;
    v.showMenu = 1, v.showTitlebar = 0, v.singleInstance = 1, v.enableHotspots = 1, v.msgExit = "";
    v.maxInstance = 32000, v.enableButtonPanel = 1;
    StoreViewPrefsValues(v, *rec, strings);
    const ViewPrefsValues back = ViewPrefsValuesFrom(*rec, strings);
    EXPECT_EQ(back.autoConnect, 1);
    EXPECT_EQ(back.statusbar, 1);
    EXPECT_EQ(back.toolbar, 0);
    EXPECT_EQ(back.hostHangupClear, 1);
    EXPECT_EQ(back.promptForHost, 1);
    EXPECT_EQ(back.appName, "Session A - ");
    EXPECT_EQ(strings.AppNameShown, "Session A - ");
    EXPECT_EQ(rec->WhenPCHungup, 2);
    EXPECT_EQ(rec->WhenHostHungup, 1);
    EXPECT_EQ(rec->AlignDisplay, 8);
    EXPECT_EQ(rec->FrameSize, 7);
    EXPECT_EQ(rec->TitleUniqueText, 1);
    EXPECT_EQ(rec->TitleHostName, 1);
    EXPECT_EQ(rec->SingleInstance, 1);
    EXPECT_EQ(rec->MaxInstance, 32000);
    EXPECT_EQ(rec->EnableButtonPanel, 1);
    EXPECT_EQ(rec->EnableHotspots, 1);
    EXPECT_EQ(rec->ShowMenu, 1);
    EXPECT_EQ(rec->ShowTitlebar, 0);
    EXPECT_EQ(strings.MsgExit, "");
}

TEST(ViewPrefsValues, StoredZeroInstancesShowsZeroAndUnknownChoicesAreKept)
{
    auto rec = FilledRecord();
    DocumentStrings strings;
    rec->MaxInstance = 0;
    rec->AlignDisplay = 9, rec->WhenHostHungup = -3, rec->WhenPCHungup = 1;
    ViewPrefsValues v = ViewPrefsValuesFrom(*rec, strings);
    EXPECT_EQ(v.maxInstance, 0);
    EXPECT_EQ(v.alignDisplay, -1);
    EXPECT_EQ(v.whenHostHungup, -1);
    EXPECT_EQ(v.whenPCHungup, 1);
    StoreViewPrefsValues(v, *rec, strings);
    EXPECT_EQ(rec->AlignDisplay, 9);
    EXPECT_EQ(rec->WhenHostHungup, -3);
    EXPECT_EQ(rec->MaxInstance, 0);
}

TEST(FileNamePrefsValues, ChangedNamesAndAutonameMarkTheDataFiles)
{
    struct Case {
        const char* what;
        int autonameBefore, autonameAfter;
        const char* keyboardMap;  // edited name (stored "tolvi.map")
        const char* translate;    // edited name (stored "tolvi.xlt")
        unsigned marks;
    };
    const Case cases[] = {
        {"nothing changed", 0, 0, "tolvi.map", "tolvi.xlt", 0},
        {"the map renamed", 0, 0, "other.map", "tolvi.xlt", kKeyMapFileMark},
        {"letter case counts", 0, 0, "tolvi.map", "TOLVI.xlt", kTranslateFileMark},
        {"autoname switched on", 0, 1, "tolvi.map", "tolvi.xlt", kAllDataFileMarks},
        {"autoname switched off", 1, 0, "tolvi.map", "tolvi.xlt", 0},
        {"autoname kept on", 1, 1, "other.map", "tolvi.xlt", kKeyMapFileMark},
    };
    for (const Case& c : cases) {
        auto rec = FilledRecord();
        DocumentStrings strings;
        strings.KeyboardMap = "tolvi.map", strings.Translate = "tolvi.xlt", strings.TerminalKeyDef = "tolvi.key";
        strings.ButtonFile = "tolvi.but", strings.DynHotspotFile = "tolvi.dyn";
        rec->AutonameFiles = c.autonameBefore;
        FileNamePrefsValues v = FileNamePrefsValuesFrom(*rec, strings);
        v.keyboardMap = c.keyboardMap, v.translate = c.translate, v.autoname = c.autonameAfter;
        EXPECT_EQ(StoreFileNamePrefsValues(v, *rec, strings), c.marks) << c.what;
        EXPECT_EQ(strings.KeyboardMap, c.keyboardMap) << c.what;
        EXPECT_EQ(strings.Translate, c.translate) << c.what;
        EXPECT_EQ(rec->AutonameFiles, c.autonameAfter) << c.what;
    }
}

TEST(FileNamePrefsValues, EveryNameAndSettingGoesBack)
{
    auto rec = FilledRecord();
    DocumentStrings strings;
    FileNamePrefsValues v;
    v.captureFile = "capture.txt", v.captureToFile = 1, v.terminalKeyDef = "a.key", v.keyboardMap = "b.map";
    v.sortedKeyMap = 1, v.traceFile = std::string(128, 't'), v.translate = "c.xlt", v.startupFile = "start.trc";
    v.autoname = 0, v.buttonFile = "d.but", v.dynHotspotFile = "e.dyn";
    EXPECT_EQ(StoreFileNamePrefsValues(v, *rec, strings), kAllDataFileMarks);  // all five were empty
    const FileNamePrefsValues back = FileNamePrefsValuesFrom(*rec, strings);
    EXPECT_EQ(back.captureFile, v.captureFile);
    EXPECT_EQ(back.traceFile, v.traceFile);
    EXPECT_EQ(back.startupFile, v.startupFile);
    EXPECT_EQ(back.buttonFile, v.buttonFile);
    EXPECT_EQ(back.dynHotspotFile, v.dynHotspotFile);
    EXPECT_EQ(back.terminalKeyDef, v.terminalKeyDef);
    EXPECT_EQ(rec->CaptureToFile, 1);
    EXPECT_EQ(rec->SortedKeyMapFile, 1);
}

}  // namespace
