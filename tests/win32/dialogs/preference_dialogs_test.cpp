// The connection and preference dialogs opened by their commands on a session record and its
// document strings, driven by control id: OK stores every member, Cancel changes nothing, each
// range is refused with the framework's message and the focus on its field, the enabling rules
// act at once, and the printer and pick lists hold what they should. Screenshots of every dialog
// are kept in the test's folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "connections/automation_view.h"
#include "connections/variable_expander.h"
#include "dialog_pixels.h"
#include "dialogs/win32/pick_string_dlg.h"
#include "fw_dialog_test_hook.h"
#include "quiet_config_site.h"
#include "resource_ids.h"
#include "shell/session_document.h"
#include "shell/win32/display_settings_commands.h"
#include "shell/win32/preference_commands.h"
#include "shell/win32/view_automation.h"

namespace {

// Config/Preferences/View with no main frame around it.
void OpenViewPrefs(CZolexDoc& doc, HWND owner)
{
    QuietConfigSite site;
    ViewPrefsCommand(doc, owner, site);
}

std::string Strings(const DocumentStrings& s)
{
    std::string all;
    for (const std::string* text : {&s.TerminalKeyDef, &s.KeyboardMap, &s.Translate, &s.CaptureFile, &s.DynHotspotFile,
                                    &s.ButtonFile, &s.MouseClick, &s.MouseDoubleClick, &s.StartupFile, &s.TraceFile,
                                    &s.AppName, &s.MsgExit, &s.Printer1, &s.Printer2, &s.Printer3, &s.AppNameShown})
        all += *text + '\x01';
    return all;
}

class PreferenceDialogs : public ::testing::Test {
protected:
    PreferenceDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        std::strcpy(rec->ModemInit, "ATZ");
        std::strcpy(rec->DialPrefix, "ATDT");
        std::strcpy(rec->PhoneNumber, "123");
        rec->DialTimeout = 30, rec->TcpipAutodial = 2, rec->FrameSize = 5, rec->AlignDisplay = 4;
        rec->WhenHostHungup = 1, rec->MaxInstance = 3, rec->SingleInstance = 1, rec->TermPrt1Xlate = 4;
        rec->DelaySpool2 = 100;
        doc.record = rec.get();
        doc.strings.KeyboardMap = "tolvi.map", doc.strings.TerminalKeyDef = "tolvi.key";
        doc.strings.Translate = "tolvi.xlt", doc.strings.ButtonFile = "tolvi.but";
        doc.strings.DynHotspotFile = "tolvi.dyn", doc.strings.TraceFile = "tolvi.trc";
        doc.strings.CaptureFile = "capture.txt", doc.strings.AppName = "Tolvi - ";
        doc.strings.MsgExit = "Really?", doc.strings.MouseClick = "<esc>[%row%;%col%H";
        doc.strings.Printer1 = "LPT1:", doc.strings.Printer2 = "Windows Default Printer";
        FwSetDialogTestHook(&hook);
    }
    ~PreferenceDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    std::string Snapshot() const
    {
        return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec) + Strings(doc.strings);
    }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
};

using Command = void (*)(CZolexDoc&, HWND);

struct DialogCase {
    const char* name;
    Command command;
    int dialog;
    const char* caption;
};

const DialogCase kDialogs[] = {
    {"modem", ModemCommand, IDD_MODEM, "Modem commands"},
    {"phone", PhoneNumberCommand, IDD_PHONE_NUMBER, "Phone number"},
    {"mouse", MouseCommand, IDD_MOUSE, "Mouse"},
    {"view", OpenViewPrefs, IDD_VIEW_PREFS, "View Preferences"},
    {"files", FilePrefsCommand, IDD_FILE_NAME_PREFS, "File name preferences"},
    {"printers", TerminalPrintersCommand, IDD_TERMINAL_PRINTERS, "Terminal Printers"},
};

TEST_F(PreferenceDialogs, CancelLeavesRecordAndStringsByteIdentical)
{
    const std::string before = Snapshot();
    for (const DialogCase& c : kDialogs) {
        hook.Expect(c.dialog, [&c](FwDialogDriver& d) {
            EXPECT_EQ(d.Caption(), c.caption);
            KeepScreenshot(d.Handle(), std::string("dialog-") + c.name + ".png");
            // Edit something before cancelling.
            for (int id : {IDC_MODEM_INIT, IDC_PHONE_NUMBER, IDC_MOUSE_CLICK, IDC_VIEW_APP_NAME, IDC_FILES_TRACE})
                d.SetText(id, "changed");
            d.Click(IDC_MODEM_ENABLE);
            d.Press(IDCANCEL);
        });
        c.command(doc, nullptr);
        EXPECT_EQ(Snapshot(), before) << c.name;
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PreferenceDialogs, RangesAreRefusedWithTheFocusOnTheField)
{
    const struct {
        Command command;
        int dialog, id;
        const char* tooLow;
        const char* tooHigh;
        const char* message;
        int enableFirst;  // a check box that enables the field, 0 none
    } cases[] = {
        {PhoneNumberCommand, IDD_PHONE_NUMBER, IDC_PHONE_TIMEOUT, "-1", "241",
         "Please enter an integer between 0 and 240.", 0},
        {OpenViewPrefs, IDD_VIEW_PREFS, IDC_VIEW_FRAME_SIZE, "2", "21", "Please enter an integer between 3 and 20.", 0},
        {OpenViewPrefs, IDD_VIEW_PREFS, IDC_VIEW_MAX_INSTANCE, "-1", "32001",
         "Please enter an integer between 0 and 32000.", 0},
        {TerminalPrintersCommand, IDD_TERMINAL_PRINTERS, IDC_PRINTER1_DELAY, "-1", "10001",
         "Please enter an integer between 0 and 10000.", 0},
        {TerminalPrintersCommand, IDD_TERMINAL_PRINTERS, IDC_PRINTER2_DELAY, "-5", "20000",
         "Please enter an integer between 0 and 10000.", 0},
        {TerminalPrintersCommand, IDD_TERMINAL_PRINTERS, IDC_PRINTER3_DELAY, "-1", "10001",
         "Please enter an integer between 0 and 10000.", 0},
    };
    const std::string before = Snapshot();
    for (const auto& c : cases) {
        hook.Expect(c.dialog, [this, &c](FwDialogDriver& d) {
            const std::string kept = d.Text(c.id);
            for (const char* wrong : {c.tooLow, c.tooHigh, "x1"}) {
                ASSERT_TRUE(d.SetText(c.id, wrong)) << c.id;
                d.Press(IDOK);
                ASSERT_TRUE(d.Open()) << c.id << " " << wrong;
                EXPECT_EQ(hook.messages.back().text,
                          std::string(wrong) == "x1" ? "Please enter an integer." : c.message) << c.id;
                EXPECT_EQ(GetFocus(), GetDlgItem(d.Handle(), c.id)) << c.id;
            }
            d.SetText(c.id, kept);
            d.Press(IDCANCEL);
        });
        c.command(doc, nullptr);
    }
    EXPECT_EQ(Snapshot(), before);
}

// A text one longer than its field's limit (a document string's 128 characters, the trace file's
// 80) is refused at OK (the dialog stays open with the framework's message), never cut; the
// longest is stored whole.
TEST_F(PreferenceDialogs, TextsLongerThanTheirStringAreRefused)
{
    const struct {
        Command command;
        int dialog, id;
        std::string DocumentStrings::*stored;
        std::size_t limit;
    } cases[] = {
        {MouseCommand, IDD_MOUSE, IDC_MOUSE_CLICK, &DocumentStrings::MouseClick, kDocumentStringLimit},
        {MouseCommand, IDD_MOUSE, IDC_MOUSE_DOUBLE_CLICK, &DocumentStrings::MouseDoubleClick, kDocumentStringLimit},
        {FilePrefsCommand, IDD_FILE_NAME_PREFS, IDC_FILES_KEYBOARD_MAP, &DocumentStrings::KeyboardMap,
         kDocumentStringLimit},
        {FilePrefsCommand, IDD_FILE_NAME_PREFS, IDC_FILES_TRACE, &DocumentStrings::TraceFile, 80},
        {TerminalPrintersCommand, IDD_TERMINAL_PRINTERS, IDC_PRINTER1_NAME, &DocumentStrings::Printer1,
         kDocumentStringLimit},
    };
    for (const auto& c : cases) {
        const std::string longest(c.limit, 'n');
        hook.Expect(c.dialog, [this, &c, &longest](FwDialogDriver& d) {
            const std::size_t shown = hook.messages.size();
            ASSERT_TRUE(d.SetText(c.id, longest + "n")) << c.id;
            d.Press(IDOK);
            ASSERT_TRUE(d.Open()) << c.id;
            EXPECT_EQ(hook.messages.size(), shown + 1) << c.id;
            EXPECT_EQ(hook.messages.back().text, "Please enter no more than " + std::to_string(c.limit) + " characters.");
            d.SetText(c.id, longest);
            d.Press(IDOK);
        });
        c.command(doc, nullptr);
        EXPECT_EQ(doc.strings.*c.stored, longest) << c.id;
    }
}

TEST_F(PreferenceDialogs, ModemAndPhoneOkStoreEveryMember)
{
    const std::string longest(32, '7');
    hook.Expect(IDD_MODEM, [&longest](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_MODEM_INIT), "ATZ");
        EXPECT_FALSE(d.Checked(IDC_MODEM_ENABLE));
        d.Click(IDC_MODEM_ENABLE);
        d.SetText(IDC_MODEM_DIAL_PREFIX, "ATDP");
        d.SetText(IDC_MODEM_DIAL_POSTFIX, ";");
        d.SetText(IDC_MODEM_HANGUP_PREFIX, "+++");
        d.SetText(IDC_MODEM_HANGUP_POSTFIX, "ATH0");
        d.SetText(IDC_MODEM_CONNECT, "CONNECT");
        d.SetText(IDC_MODEM_INIT, longest + "9");  // one more than the dialog takes
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        d.SetText(IDC_MODEM_INIT, longest);
        d.Press(IDOK);
    });
    ModemCommand(doc, nullptr);
    EXPECT_EQ(hook.messages.back().text, "Please enter no more than 32 characters.");
    EXPECT_EQ(rec->ModemEnable, 1);
    EXPECT_EQ(std::string(rec->ModemInit), longest);
    EXPECT_STREQ(rec->DialPrefix, "ATDP");
    EXPECT_STREQ(rec->DialPostfix, ";");
    EXPECT_STREQ(rec->HangupPrefix, "+++");
    EXPECT_STREQ(rec->HangupPostfix, "ATH0");
    EXPECT_STREQ(rec->ModemConnect, "CONNECT");
    EXPECT_TRUE(doc.IsModified());

    // The longest stored value shows whole.
    hook.Expect(IDD_MODEM, [&longest](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_MODEM_INIT), longest);
        d.Press(IDCANCEL);
    });
    ModemCommand(doc, nullptr);

    hook.Expect(IDD_PHONE_NUMBER, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_PHONE_NUMBER), "123");
        EXPECT_EQ(d.Text(IDC_PHONE_TIMEOUT), "30");
        EXPECT_TRUE(d.Checked(IDC_PHONE_AUTODIAL_DISABLE));
        d.Click(IDC_PHONE_DIAL_ENABLE);
        d.SetText(IDC_PHONE_NUMBER, std::string(33, '5'));  // one more than the dialog takes
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        d.SetText(IDC_PHONE_NUMBER, "555");
        d.SetText(IDC_PHONE_TIMEOUT, "240");
        d.Click(IDC_PHONE_AUTODIAL_AUTOMATIC);
        d.Press(IDOK);
    });
    PhoneNumberCommand(doc, nullptr);
    EXPECT_EQ(hook.messages.back().text, "Please enter no more than 32 characters.");
    EXPECT_EQ(rec->DialEnable, 1);
    EXPECT_STREQ(rec->PhoneNumber, "555");
    EXPECT_EQ(rec->DialTimeout, 240);
    EXPECT_EQ(rec->TcpipAutodial, 0);

    hook.Expect(IDD_MOUSE, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_MOUSE_CLICK), "<esc>[%row%;%col%H");
        d.Click(IDC_MOUSE_ENABLE);
        d.SetText(IDC_MOUSE_DOUBLE_CLICK, "%row%,%col%<cr>");
        d.Press(IDOK);
    });
    MouseCommand(doc, nullptr);
    EXPECT_EQ(rec->EnableSendMousePos, 1);
    EXPECT_EQ(doc.strings.MouseDoubleClick, "%row%,%col%<cr>");
    EXPECT_EQ(doc.strings.MouseClick, "<esc>[%row%;%col%H");
}

TEST_F(PreferenceDialogs, ViewOkStoresEveryMemberAndTheInstanceRuleActsAtOnce)
{
    rec->MaxInstance = 0;  // no second instance
    hook.Expect(IDD_VIEW_PREFS, [](FwDialogDriver& d) {
        for (int id : {IDC_VIEW_TITLE_HOST_TEXT, IDC_VIEW_TITLE_UNIQUE_TEXT, IDC_VIEW_TITLE_STATE_TEXT,
                       IDC_VIEW_TITLE_CONFIG_TEXT})
            EXPECT_EQ(d.Text(id), "<dynamic>") << id;
        EXPECT_EQ(d.Text(IDC_VIEW_MAX_INSTANCE), "0");
        EXPECT_TRUE(d.Enabled(IDC_VIEW_MAX_INSTANCE));
        d.Click(IDC_VIEW_SINGLE_INSTANCE);
        EXPECT_FALSE(d.Enabled(IDC_VIEW_MAX_INSTANCE));
        d.Click(IDC_VIEW_SINGLE_INSTANCE);
        EXPECT_TRUE(d.Enabled(IDC_VIEW_MAX_INSTANCE));
        EXPECT_TRUE(d.Checked(IDC_VIEW_ALIGN_FIRST + 4));
        EXPECT_TRUE(d.Checked(IDC_VIEW_HOST_CLOSE));
        d.SetText(IDC_VIEW_MAX_INSTANCE, "32000");
        d.SetText(IDC_VIEW_FRAME_SIZE, "20");
        d.SetText(IDC_VIEW_APP_NAME, "Host A - ");
        d.SetText(IDC_VIEW_MSG_EXIT, "");
        d.Click(IDC_VIEW_ALIGN_FIRST + 8);
        d.Click(IDC_VIEW_PC_RECONNECT);
        d.Click(IDC_VIEW_HOST_IDLE);
        for (int id : {IDC_VIEW_AUTO_CONNECT, IDC_VIEW_STATUSBAR, IDC_VIEW_TOOLBAR, IDC_VIEW_HOST_CLEAR, IDC_VIEW_PC_CLEAR,
                       IDC_VIEW_PROMPT_FOR_HOST, IDC_VIEW_TITLE_CONFIG, IDC_VIEW_TITLE_APP_NAME, IDC_VIEW_TITLE_HOST,
                       IDC_VIEW_TITLE_CONNECTED, IDC_VIEW_TITLE_UNIQUE, IDC_VIEW_SHOW_MENU, IDC_VIEW_SHOW_TITLEBAR,
                       IDC_VIEW_ENABLE_HOTSPOTS, IDC_VIEW_BUTTON_PANEL})
            EXPECT_TRUE(d.Click(id)) << id;
        d.Press(IDOK);
    });
    OpenViewPrefs(doc, nullptr);
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(rec->MaxInstance, 32000);
    EXPECT_EQ(rec->FrameSize, 20);
    EXPECT_EQ(rec->AlignDisplay, 8);
    EXPECT_EQ(rec->WhenPCHungup, 2);
    EXPECT_EQ(rec->WhenHostHungup, 0);
    EXPECT_EQ(doc.strings.AppName, "Host A - ");
    EXPECT_EQ(doc.strings.AppNameShown, "Host A - ");
    EXPECT_EQ(doc.strings.MsgExit, "");
    EXPECT_EQ(rec->SingleInstance, 1);
    for (int32_t flag : {rec->AutoConnect, rec->Statusbar, rec->Toolbar, rec->HostHangupClearScreen,
                         rec->PCHangupClearScreen, rec->PromptForHost, rec->TitleConfig, rec->TitleAppName,
                         rec->TitleHostName, rec->TitleConnected, rec->TitleUniqueText, rec->ShowMenu, rec->ShowTitlebar,
                         rec->EnableHotspots, rec->EnableButtonPanel})
        EXPECT_EQ(flag, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PreferenceDialogs, FilesCaptureAndAutonameRulesActAtOnceAndRenamesMarkTheFiles)
{
    rec->AutonameFiles = 1;
    const int perSession[] = {IDC_FILES_KEYBOARD_MAP, IDC_FILES_KEY_DEFS, IDC_FILES_TRANSLATE, IDC_FILES_DYN_HOTSPOTS,
                              IDC_FILES_BUTTON_PANEL};
    hook.Expect(IDD_FILE_NAME_PREFS, [&perSession](FwDialogDriver& d) {
        for (int id : perSession) EXPECT_FALSE(d.Enabled(id)) << id;
        EXPECT_FALSE(d.SetText(IDC_FILES_KEYBOARD_MAP, "other.map"));
        EXPECT_TRUE(d.Enabled(IDC_FILES_TRACE));
        EXPECT_TRUE(d.Enabled(IDC_FILES_STARTUP));
        EXPECT_FALSE(d.Enabled(IDC_FILES_CAPTURE));
        d.Click(IDC_FILES_CAPTURE_TO_FILE);
        EXPECT_TRUE(d.Enabled(IDC_FILES_CAPTURE));
        d.Click(IDC_FILES_AUTONAME);
        for (int id : perSession) EXPECT_TRUE(d.Enabled(id)) << id;
        d.SetText(IDC_FILES_KEYBOARD_MAP, "other.map");
        d.SetText(IDC_FILES_TRACE, std::string(80, 't'));
        d.SetText(IDC_FILES_STARTUP, "start.trc");
        d.SetText(IDC_FILES_CAPTURE, "c.txt");
        d.Click(IDC_FILES_SORTED);
        d.Press(IDOK);
    });
    FilePrefsCommand(doc, nullptr);
    EXPECT_EQ(doc.strings.KeyboardMap, "other.map");
    EXPECT_EQ(doc.strings.TraceFile, std::string(80, 't'));
    EXPECT_EQ(doc.strings.StartupFile, "start.trc");
    EXPECT_EQ(doc.strings.CaptureFile, "c.txt");
    EXPECT_EQ(rec->CaptureToFile, 1);
    EXPECT_EQ(rec->SortedKeyMapFile, 1);
    EXPECT_EQ(rec->AutonameFiles, 0);
    EXPECT_EQ(doc.KeyMapChanged, 1);
    EXPECT_EQ(doc.KeyDefChanged + doc.TranslateChanged + doc.ButtonsChanged + doc.HotspotsChanged, 0);
}

TEST_F(PreferenceDialogs, PrinterListsOfferTheDefaultOnceAndKeepUnknownCharsets)
{
    doc.strings.Printer2 = "windows default PRINTER";
    rec->TermPrt3Xlate = 1;  // none of Raw, ISO8859, IBM-PC
    hook.Expect(IDD_TERMINAL_PRINTERS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_PRINTER1_NAME), "LPT1:");
        EXPECT_EQ(d.ItemText(IDC_PRINTER1_NAME, 0), "Windows Default Printer");
        EXPECT_EQ(d.ItemText(IDC_PRINTER1_NAME, 1), "LPT1:");
        EXPECT_EQ(d.Text(IDC_PRINTER2_NAME), "windows default PRINTER");
        int defaults = 0;
        for (int i = 0; i < d.Count(IDC_PRINTER2_NAME); ++i)
            defaults += lstrcmpiA(d.ItemText(IDC_PRINTER2_NAME, i).c_str(), "Windows Default Printer") == 0;
        EXPECT_EQ(defaults, 1);
        EXPECT_EQ(d.Count(IDC_PRINTER2_NAME) + 1, d.Count(IDC_PRINTER1_NAME));
        EXPECT_TRUE(d.Checked(IDC_PRINTER1_RAW + 2));  // stored 4: IBM-PC
        EXPECT_TRUE(d.Checked(IDC_PRINTER2_RAW));      // stored 0: Raw
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(d.Checked(IDC_PRINTER3_RAW + i));
        EXPECT_EQ(d.Text(IDC_PRINTER2_DELAY), "100");
        d.Pick(IDC_PRINTER2_NAME, 0);
        d.Click(IDC_PRINTER1_RAW + 1);
        d.SetText(IDC_PRINTER3_NAME, "C:\\print.out");
        d.SetText(IDC_PRINTER3_DELAY, "10000");
        d.Press(IDOK);
    });
    TerminalPrintersCommand(doc, nullptr);
    EXPECT_EQ(doc.strings.Printer1, "LPT1:");
    EXPECT_EQ(doc.strings.Printer2, "Windows Default Printer");
    EXPECT_EQ(doc.strings.Printer3, "C:\\print.out");
    EXPECT_EQ(rec->TermPrt1Xlate, 3);
    EXPECT_EQ(rec->TermPrt2Xlate, 0);
    EXPECT_EQ(rec->TermPrt3Xlate, 1);
    EXPECT_EQ(rec->DelaySpool3, 10000);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PreferenceDialogs, PickAStringListsPcKeysWithoutModifiersAndDoubleClickPicks)
{
    auto key = [](KeyMap& map, uint16_t code, const char* name) {
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetName(name);
        map.SetEntry(code, std::move(entry));
    };
    key(doc.keyMap, 0x70, "F1");
    key(doc.keyMap, 0x41 | kCtrlBit, "CtrlA");
    key(doc.keyMap, 0x124, "Home");
    doc.keyDefs.SetAt(std::make_unique<KeyDefEntry>("PF1", "<esc>OP"));

    CPickStringDlg pcKeys(nullptr, &doc.keyMap, &doc.keyDefs);
    hook.Expect(IDD_PICK_STRING, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Pick a string");
        ASSERT_EQ(d.Count(IDC_PICK_LIST), 2);
        EXPECT_EQ(d.ItemText(IDC_PICK_LIST, 0), "F1");
        EXPECT_EQ(d.ItemText(IDC_PICK_LIST, 1), "Home");
        KeepScreenshot(d.Handle(), "dialog-pick-string.png");
        d.DoubleClick(IDC_PICK_LIST, 1);
    });
    EXPECT_EQ(pcKeys.DoModal(), IDOK);
    EXPECT_EQ(pcKeys.picked, "Home");

    CPickStringDlg terminalKeys(nullptr, &doc.keyMap, &doc.keyDefs);
    terminalKeys.pcKeys = false;
    hook.Expect(IDD_PICK_STRING, [](FwDialogDriver& d) {
        ASSERT_EQ(d.Count(IDC_PICK_LIST), 1);
        d.Pick(IDC_PICK_LIST, 0);
        d.Press(IDOK);
    });
    EXPECT_EQ(terminalKeys.DoModal(), IDOK);
    EXPECT_EQ(terminalKeys.picked, "PF1");

    CPickStringDlg noDocument(nullptr, nullptr, nullptr);
    hook.Expect(IDD_PICK_STRING, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Count(IDC_PICK_LIST), 0);
        d.Press(IDOK);
    });
    EXPECT_EQ(noDocument.DoModal(), IDOK);
    EXPECT_EQ(noDocument.picked, "");
}

class NoPcUserName : public PcNames {
public:
    bool UserName(char*, std::size_t) override { return false; }
};

TEST_F(PreferenceDialogs, PlUserAsksForTheNameOnceWhenThePcGivesNone)
{
    InstallViewAutomation(&doc, nullptr);
    NoPcUserName names;
    SetPcNames(&names);
    std::memset(Rec->UserNameCache, 0, sizeof Rec->UserNameCache);
    hook.Expect(IDD_USER_NAME, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "USER NAME");
        EXPECT_TRUE(d.HasFocus(IDC_USER_NAME));
        KeepScreenshot(d.Handle(), "dialog-user-name.png");
        d.SetText(IDC_USER_NAME, "NineChars");
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "Please enter no more than 8 characters.");
        EXPECT_TRUE(d.HasFocus(IDC_USER_NAME));
        d.SetText(IDC_USER_NAME, "Operator");
        d.Press(IDOK);
    });
    char out[64];
    ExpandVariables("user %PLUSER% %pluser%", out, sizeof out);
    RemoveViewAutomation();
    EXPECT_STREQ(out, "user Operator operator");  // asked once: the second comes from the cache
    std::memset(Rec->UserNameCache, 0, sizeof Rec->UserNameCache);
}

}  // namespace
