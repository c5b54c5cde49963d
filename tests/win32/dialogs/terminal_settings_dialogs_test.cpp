// General Settings (101), Terminal Configuration (601), 3270 Terminal Configuration (611) and the
// first-time setup (142), opened by their commands on a session record and driven by control id:
// every list against its value table, settings outside their lists kept, the connected state, the
// enabling, family and rows rules, the field limits, Cancel changing nothing and OK storing every
// member.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "dialogs/settings_value_tables.h"
#include "fw_dialog_test_hook.h"
#include "fw_list_fill_win32.h"
#include "quiet_config_site.h"
#include "resource_ids.h"
#include "shell/session_document.h"
#include "shell/win32/terminal_settings_commands.h"

namespace {

constexpr const char* kRangeMessage = "Please enter an integer between 0 and 400.";

class TerminalSettingsDialogs : public ::testing::Test {
protected:
    TerminalSettingsDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        rec->ComType = 2, rec->Port = 2, rec->ByteSize = 8, rec->BaudRateLong = 9600, rec->Parity = 0;
        rec->StopBits = 0, rec->FlowCtrl = 2, rec->NetWork = 1, rec->Lana = 0, rec->TelnetPort = 23;
        std::strcpy(rec->HostName, "unix.example");
        rec->Platform = 10, rec->Country = 1, rec->Language = 1;
        rec->Terminal = 1, rec->Charset = 3, rec->ControlChar = 1, rec->DecCNM = 0, rec->CursorStyle = 0;
        rec->MaxCols = 80, rec->MaxRows = 24, rec->HistoryRows = 50, rec->AutoWrap = 1;
        std::strcpy(rec->Tabs, "9,17");
        rec->Terminal3270 = 16, rec->Charset3270 = 5;
        doc.record = rec.get();
        FwSetDialogTestHook(&hook);
    }
    ~TerminalSettingsDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    std::string Snapshot() const { return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec); }
    std::string LastMessage() const { return hook.messages.empty() ? std::string() : hook.messages.back().text; }

    // The list's texts and values are its table's.
    static void ExpectTable(FwDialogDriver& d, int id, const SettingsValueTable& table)
    {
        ASSERT_EQ(d.Count(id), static_cast<int>(table.count)) << id;
        for (int i = 0; i < static_cast<int>(table.count); ++i) {
            EXPECT_EQ(d.ItemText(id, i), FwLoadString(table.baseId + i)) << id << " " << i;
            EXPECT_FALSE(d.ItemText(id, i).empty()) << id << " " << i;
            EXPECT_EQ(d.ItemData(id, i), table.values[i]) << id << " " << i;
        }
    }
    static int IndexOf(FwDialogDriver& d, int id, long value)
    {
        for (int i = 0; i < d.Count(id); ++i)
            if (d.ItemData(id, i) == value) return i;
        return -1;
    }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
    QuietConfigSite site;
};

TEST_F(TerminalSettingsDialogs, GeneralListsShowTheirTablesAndTheSettings)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "General Settings");
        ExpectTable(d, IDC_GEN_BAUD, kBaudRateTable);
        ExpectTable(d, IDC_GEN_PARITY, kParityTable);
        ExpectTable(d, IDC_GEN_STOP_BITS, kStopBitsTable);
        ExpectTable(d, IDC_GEN_NETWORK, kNetworkTable);
        ExpectTable(d, IDC_GEN_PLATFORM, kPlatformTable);
        ExpectTable(d, IDC_GEN_COUNTRY, kCountryTable);
        ExpectTable(d, IDC_GEN_LANGUAGE, kLanguageTable);
        EXPECT_EQ(d.ItemText(IDC_GEN_BAUD, 10), "56k");
        EXPECT_EQ(d.ItemText(IDC_GEN_BAUD, 11), "128k");
        EXPECT_EQ(d.ItemText(IDC_GEN_BAUD, 12), "256k");
        EXPECT_EQ(d.ItemText(IDC_GEN_PLATFORM, 9), "IBM Mainframe");
        EXPECT_EQ(d.ItemText(IDC_GEN_LANGUAGE, 3), "Espa\xF1ol");  // in the ANSI code page
        ASSERT_EQ(d.Count(IDC_GEN_PORT), 9);
        EXPECT_EQ(d.ItemText(IDC_GEN_PORT, 0), "COM1");
        EXPECT_EQ(d.ItemText(IDC_GEN_PORT, 8), "COM9");
        EXPECT_EQ(d.Count(IDC_GEN_DATA_BITS), 4);
        ASSERT_EQ(d.Count(IDC_GEN_ADAPTER), 11);
        EXPECT_EQ(d.ItemText(IDC_GEN_ADAPTER, 10), "AUTO");
        // The settings: COM2, 9600, 8 bits, RTS/CTS, Linux, America, English, Telnet.
        EXPECT_EQ(d.Selection(IDC_GEN_PORT), 1);
        EXPECT_EQ(d.Selection(IDC_GEN_BAUD), 6);
        EXPECT_EQ(d.Selection(IDC_GEN_DATA_BITS), 3);
        EXPECT_TRUE(d.Checked(IDC_GEN_RTS_CTS));
        EXPECT_FALSE(d.Checked(IDC_GEN_DTR_DSR));
        EXPECT_EQ(d.Selection(IDC_GEN_PLATFORM), 7);
        EXPECT_EQ(d.Selection(IDC_GEN_COUNTRY), 0);
        EXPECT_EQ(d.Selection(IDC_GEN_LANGUAGE), 2);
        EXPECT_TRUE(d.Checked(IDC_GEN_TELNET));
        EXPECT_EQ(d.Text(IDC_GEN_HOST_NAME), "unix.example");
        EXPECT_EQ(d.Text(IDC_GEN_TELNET_PORT), "23");
        EXPECT_TRUE(d.HasFocus(IDC_GEN_HOST_NAME));
        d.Press(IDCANCEL);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_TRUE(Snapshot() == before);  // Cancel: byte for byte
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, GeneralEnablingRuleFollowsTheConnectionType)
{
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        // Telnet: the LAN side and the port field.
        EXPECT_TRUE(d.Enabled(IDC_GEN_TELNET_PORT));
        EXPECT_TRUE(d.Enabled(IDC_GEN_HOST_NAME));
        EXPECT_TRUE(d.Enabled(IDC_GEN_ADAPTER));
        EXPECT_FALSE(d.Enabled(IDC_GEN_BAUD));
        EXPECT_FALSE(d.Enabled(IDC_GEN_CHECK_ERROR));
        ASSERT_TRUE(d.Click(IDC_GEN_ASYNC));
        EXPECT_TRUE(d.Enabled(IDC_GEN_PORT));
        EXPECT_TRUE(d.Enabled(IDC_GEN_BAUD));
        EXPECT_TRUE(d.Enabled(IDC_GEN_XON_XOFF));
        EXPECT_TRUE(d.Enabled(IDC_GEN_CHECK_ERROR));
        EXPECT_FALSE(d.Enabled(IDC_GEN_HOST_NAME));
        EXPECT_FALSE(d.Enabled(IDC_GEN_NETWORK));
        EXPECT_FALSE(d.Enabled(IDC_GEN_TELNET_PORT));
        EXPECT_FALSE(d.Enabled(IDC_GEN_TELNET_PORT_LABEL));
        ASSERT_TRUE(d.Click(IDC_GEN_NETBIOS));
        EXPECT_TRUE(d.Enabled(IDC_GEN_NETWORK));
        EXPECT_TRUE(d.Enabled(IDC_GEN_ADAPTER_LABEL));
        EXPECT_FALSE(d.Enabled(IDC_GEN_TELNET_PORT));
        EXPECT_FALSE(d.Enabled(IDC_GEN_STOP_BITS));
        d.Press(IDCANCEL);
    });
    GeneralSettingsCommand(doc, nullptr, site);
}

TEST_F(TerminalSettingsDialogs, GeneralSettingsOutsideTheirListsShowNoSelectionAndOkKeepsThem)
{
    rec->Port = 12;
    rec->BaudRateLong = 57600;
    rec->Platform = 77;
    const std::string before = Snapshot();
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Selection(IDC_GEN_PORT), -1);
        EXPECT_EQ(d.Selection(IDC_GEN_BAUD), -1);
        EXPECT_EQ(d.Selection(IDC_GEN_PLATFORM), -1);
        d.Press(IDOK);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->Port, 12);
    EXPECT_EQ(rec->BaudRateLong, 57600);
    EXPECT_EQ(rec->Platform, 77);
    EXPECT_TRUE(Snapshot() == before);  // nothing else changed either
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, GeneralOkStoresEveryMember)
{
    rec->HostNameMissing = 0;
    hook.Expect(IDD_GENERAL_SETTINGS, [](FwDialogDriver& d) {
        ASSERT_TRUE(d.Click(IDC_GEN_ASYNC));
        EXPECT_TRUE(d.Pick(IDC_GEN_PORT, 6));                                 // COM7
        EXPECT_TRUE(d.Pick(IDC_GEN_BAUD, IndexOf(d, IDC_GEN_BAUD, 128000)));
        EXPECT_TRUE(d.Pick(IDC_GEN_DATA_BITS, 2));                            // 7 bits
        EXPECT_TRUE(d.Pick(IDC_GEN_PARITY, IndexOf(d, IDC_GEN_PARITY, 1)));  // Odd
        EXPECT_TRUE(d.Pick(IDC_GEN_STOP_BITS, 2));
        EXPECT_TRUE(d.Click(IDC_GEN_DTR_DSR));
        EXPECT_TRUE(d.Click(IDC_GEN_RTS_CTS));
        EXPECT_TRUE(d.Click(IDC_GEN_XON_XOFF));
        EXPECT_TRUE(d.Click(IDC_GEN_CHECK_ERROR));
        EXPECT_TRUE(d.Click(IDC_GEN_NETBIOS));
        EXPECT_TRUE(d.Pick(IDC_GEN_NETWORK, 3));
        EXPECT_TRUE(d.Pick(IDC_GEN_ADAPTER, 10));
        EXPECT_TRUE(d.SetText(IDC_GEN_HOST_NAME, "mainframe.example"));
        EXPECT_TRUE(d.Pick(IDC_GEN_PLATFORM, 9));
        EXPECT_TRUE(d.Pick(IDC_GEN_COUNTRY, IndexOf(d, IDC_GEN_COUNTRY, 46)));
        EXPECT_TRUE(d.Pick(IDC_GEN_LANGUAGE, IndexOf(d, IDC_GEN_LANGUAGE, 358)));
        EXPECT_TRUE(d.Click(IDC_GEN_TELNET));
        EXPECT_TRUE(d.SetText(IDC_GEN_TELNET_PORT, "2323"));
        EXPECT_TRUE(d.Click(IDC_GEN_FAMILY_3270));
        EXPECT_TRUE(d.Checked(IDC_GEN_FAMILY_3270));  // with Telnet the click stands
        d.Press(IDOK);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->ComType, 2);
    EXPECT_EQ(rec->Port, 7);
    EXPECT_EQ(rec->BaudRateLong, 128000);
    EXPECT_EQ(rec->ByteSize, 7);
    EXPECT_EQ(rec->Parity, 1);
    EXPECT_EQ(rec->StopBits, 2);
    EXPECT_EQ(rec->FlowCtrl, 1 | 4);
    EXPECT_EQ(rec->GeneralSpare[1], 1);
    EXPECT_EQ(rec->NetWork, 4);
    EXPECT_EQ(rec->Lana, 10);
    EXPECT_STREQ(rec->HostName, "mainframe.example");
    EXPECT_EQ(rec->TelnetPort, 2323);
    EXPECT_EQ(rec->Platform, 9);
    EXPECT_EQ(rec->Country, 46);
    EXPECT_EQ(rec->Language, 358);
    EXPECT_EQ(rec->TerminalFamily3270, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, GeneralFieldsAreBoundToTheirSettings)
{
    hook.Expect(IDD_GENERAL_SETTINGS, [this](FwDialogDriver& d) {
        // Typing stops at 60 characters; a longer text set otherwise is refused, not cut.
        HWND host = GetDlgItem(d.Handle(), IDC_GEN_HOST_NAME);
        SetWindowTextA(host, "");
        for (int i = 0; i < 61; ++i) SendMessageA(host, WM_CHAR, 'h', 0);
        EXPECT_EQ(d.Text(IDC_GEN_HOST_NAME).size(), 60u);
        d.SetText(IDC_GEN_HOST_NAME, std::string(61, 'h'));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(LastMessage(), "Please enter no more than 60 characters.");
        d.SetText(IDC_GEN_HOST_NAME, "host");
        for (const char* port : {"0", "65536", "-1"}) {
            d.SetText(IDC_GEN_TELNET_PORT, port);
            d.Press(IDOK);
            EXPECT_TRUE(d.Open()) << port;
            EXPECT_EQ(LastMessage(), "Please enter an integer between 1 and 65535.") << port;
        }
        d.SetText(IDC_GEN_TELNET_PORT, "65535");
        d.Press(IDOK);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->TelnetPort, 65535);
    EXPECT_STREQ(rec->HostName, "host");
}

TEST_F(TerminalSettingsDialogs, WhileConnectedTheConnectionStaysAndTheHostNameIsKept)
{
    rec->Connected = 1;
    hook.Expect(IDD_GENERAL_SETTINGS, [this](FwDialogDriver& d) {
        for (int id : {IDC_GEN_ASYNC, IDC_GEN_NETBIOS, IDC_GEN_TELNET, IDC_GEN_PORT, IDC_GEN_ADAPTER})
            EXPECT_FALSE(d.Enabled(id)) << id;
        EXPECT_EQ(d.Text(IDC_GEN_HOST_NAME), "unix.example");  // shown, read-only
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(d.Handle(), IDC_GEN_HOST_NAME), GWL_STYLE) & ES_READONLY);
        ASSERT_TRUE(d.Click(IDC_GEN_FAMILY_3270));
        EXPECT_FALSE(d.Checked(IDC_GEN_FAMILY_3270));  // undone
        EXPECT_EQ(LastMessage(), "Disconnect first");
        d.SetText(IDC_GEN_HOST_NAME, "");
        d.Press(IDOK);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_STREQ(rec->HostName, "unix.example");
    EXPECT_EQ(rec->HostNameMissing, 0);
    EXPECT_EQ(rec->TerminalFamily3270, 0);
}

TEST_F(TerminalSettingsDialogs, TheFamilyGoesWithTelnetOnly)
{
    hook.Expect(IDD_GENERAL_SETTINGS, [this](FwDialogDriver& d) {
        ASSERT_TRUE(d.Click(IDC_GEN_ASYNC));
        ASSERT_TRUE(d.Click(IDC_GEN_FAMILY_3270));
        EXPECT_FALSE(d.Checked(IDC_GEN_FAMILY_3270));  // undone
        EXPECT_EQ(LastMessage(), "Only for telnet TCP/IP transport");
        // Checked with Telnet, then Async chosen: OK refuses.
        ASSERT_TRUE(d.Click(IDC_GEN_TELNET));
        ASSERT_TRUE(d.Click(IDC_GEN_FAMILY_3270));
        EXPECT_TRUE(d.Checked(IDC_GEN_FAMILY_3270));
        const std::size_t shown = hook.messages.size();
        ASSERT_TRUE(d.Click(IDC_GEN_ASYNC));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.size(), shown + 1);
        EXPECT_EQ(LastMessage(), "Only for telnet TCP/IP transport");
        d.Press(IDCANCEL);
    });
    GeneralSettingsCommand(doc, nullptr, site);
    EXPECT_EQ(rec->TerminalFamily3270, 0);
    EXPECT_EQ(rec->ComType, 2);
}

TEST_F(TerminalSettingsDialogs, TerminalListsAndTheRowsRule)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_TERMINAL_SETTINGS, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Terminal Configuration");
        ExpectTable(d, IDC_TERM_EMULATION, kEmulationTable);
        ExpectTable(d, IDC_TERM_CHARSET, kCharsetTable);
        EXPECT_EQ(d.Selection(IDC_TERM_EMULATION), 1);  // DEC vt100
        EXPECT_EQ(d.Selection(IDC_TERM_CHARSET), 2);
        EXPECT_TRUE(d.Checked(IDC_TERM_ROWS_24));
        ASSERT_TRUE(d.Pick(IDC_TERM_EMULATION, IndexOf(d, IDC_TERM_EMULATION, 4)));
        EXPECT_EQ(d.ItemText(IDC_TERM_EMULATION, d.Selection(IDC_TERM_EMULATION)), "SCO Console ansi");
        EXPECT_TRUE(d.Checked(IDC_TERM_ROWS_25));
        EXPECT_FALSE(d.Checked(IDC_TERM_ROWS_24));
        ASSERT_TRUE(d.Pick(IDC_TERM_EMULATION, IndexOf(d, IDC_TERM_EMULATION, 1)));
        EXPECT_TRUE(d.Checked(IDC_TERM_ROWS_24));
        EXPECT_FALSE(d.Checked(IDC_TERM_ROWS_25));
        d.Press(IDCANCEL);
    });
    TerminalEmulationCommand(doc, nullptr, site);
    EXPECT_TRUE(Snapshot() == before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, TerminalFieldLimitsKeepTheDialogOpen)
{
    hook.Expect(IDD_TERMINAL_SETTINGS, [this](FwDialogDriver& d) {
        HWND answerBack = GetDlgItem(d.Handle(), IDC_TERM_ANSWERBACK);
        for (int i = 0; i < 33; ++i) SendMessageA(answerBack, WM_CHAR, 'a', 0);
        EXPECT_EQ(d.Text(IDC_TERM_ANSWERBACK), std::string(32, 'a'));  // the 33rd cannot be typed
        for (const char* rows : {"401", "-1", "many"}) {
            d.SetText(IDC_TERM_HISTORY_ROWS, rows);
            d.Press(IDOK);
            EXPECT_TRUE(d.Open()) << rows;
            EXPECT_TRUE(d.HasFocus(IDC_TERM_HISTORY_ROWS)) << rows;
        }
        EXPECT_EQ(hook.messages[0].text, kRangeMessage);
        EXPECT_EQ(hook.messages[1].text, kRangeMessage);
        EXPECT_EQ(hook.messages[2].text, "Please enter an integer.");
        d.SetText(IDC_TERM_HISTORY_ROWS, "400");
        d.SetText(IDC_TERM_TABS, std::string(256, '1'));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(LastMessage(), "Please enter no more than 255 characters.");
        d.SetText(IDC_TERM_TABS, "1,9,17");
        d.Press(IDOK);
    });
    TerminalEmulationCommand(doc, nullptr, site);
    EXPECT_EQ(rec->HistoryRows, 400);
    EXPECT_STREQ(rec->AnswerBack, std::string(32, 'a').c_str());
    EXPECT_STREQ(rec->Tabs, "1,9,17");
}

TEST_F(TerminalSettingsDialogs, TerminalOkStoresEveryMember)
{
    hook.Expect(IDD_TERMINAL_SETTINGS, [](FwDialogDriver& d) {
        ASSERT_TRUE(d.Pick(IDC_TERM_EMULATION, IndexOf(d, IDC_TERM_EMULATION, 2)));
        ASSERT_TRUE(d.Pick(IDC_TERM_CHARSET, IndexOf(d, IDC_TERM_CHARSET, 2)));
        EXPECT_TRUE(d.Click(IDC_TERM_8BIT));
        EXPECT_TRUE(d.Click(IDC_TERM_DECCNM_BEEP));
        EXPECT_TRUE(d.Click(IDC_TERM_CURSOR_UNDERLINE));
        EXPECT_TRUE(d.Click(IDC_TERM_NEW_LINE));
        EXPECT_TRUE(d.Click(IDC_TERM_LOCAL_ECHO));
        EXPECT_TRUE(d.Click(IDC_TERM_COLS_132));
        EXPECT_TRUE(d.Focus(IDC_TERM_EMULATION));  // leaving the list again keeps the rows chosen below
        EXPECT_TRUE(d.Click(IDC_TERM_ROWS_25));
        EXPECT_TRUE(d.Focus(IDC_TERM_ANSWERBACK));
        EXPECT_TRUE(d.Click(IDC_TERM_AUTOWRAP));
        EXPECT_TRUE(d.SetText(IDC_TERM_ANSWERBACK, "answer"));
        EXPECT_TRUE(d.SetText(IDC_TERM_HISTORY_ROWS, "0"));
        EXPECT_TRUE(d.SetText(IDC_TERM_TABS, "5,10"));
        EXPECT_TRUE(d.Click(IDC_TERM_UPDATE_HIDDEN));
        EXPECT_TRUE(d.Click(IDC_TERM_PROTECTED_REVERSED));
        d.Press(IDOK);
    });
    TerminalEmulationCommand(doc, nullptr, site);
    EXPECT_EQ(rec->Terminal, 2);
    EXPECT_EQ(rec->Charset, 2);
    EXPECT_EQ(rec->ControlChar, 2);
    EXPECT_EQ(rec->DecCNM, 2);
    EXPECT_EQ(rec->CursorStyle, 2);
    EXPECT_EQ(rec->NewLine, 1);
    EXPECT_EQ(rec->LocalEcho, 1);
    EXPECT_EQ(rec->MaxCols, 132);
    EXPECT_EQ(rec->MaxRows, 25);
    EXPECT_EQ(rec->ScrollBottom, 24);
    EXPECT_EQ(rec->AutoWrap, 0);
    EXPECT_STREQ(rec->AnswerBack, "answer");
    EXPECT_EQ(rec->HistoryRows, 0);
    EXPECT_STREQ(rec->Tabs, "5,10");
    EXPECT_EQ(rec->UpdateHiddenHistory, 1);
    EXPECT_EQ(rec->ProtectedReversed, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, In3270ModeTheModelDialogLeavesTheScreenSize)
{
    rec->TerminalFamily3270 = 1;
    rec->Terminal3270 = 17;  // model 3: 32 rows
    rec->MaxRows = 32;
    hook.Expect(IDD_TERMINAL_3270, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "3270 Terminal Configuration");
        ExpectTable(d, IDC_TERM_EMULATION, kModel3270Table);
        ExpectTable(d, IDC_TERM_CHARSET, kNationalTable);
        EXPECT_EQ(d.ItemText(IDC_TERM_CHARSET, 0), "English US");
        EXPECT_EQ(d.ItemText(IDC_TERM_CHARSET, 18), "International");
        EXPECT_EQ(d.Selection(IDC_TERM_EMULATION), 1);
        EXPECT_EQ(d.Selection(IDC_TERM_CHARSET), 0);
        EXPECT_TRUE(d.Pick(IDC_TERM_CHARSET, 12));
        EXPECT_TRUE(d.Click(IDC_TERM_CURSOR_LINE));
        EXPECT_TRUE(d.SetText(IDC_TERM_HISTORY_ROWS, "401"));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_TRUE(d.SetText(IDC_TERM_HISTORY_ROWS, "10"));
        d.Press(IDOK);
    });
    TerminalEmulationCommand(doc, nullptr, site);
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(rec->Charset3270, 17);
    EXPECT_EQ(rec->CursorStyle, 1);
    EXPECT_EQ(rec->HistoryRows, 10);
    EXPECT_EQ(rec->Terminal3270, 17);
    EXPECT_EQ(rec->MaxRows, 32);
    EXPECT_EQ(rec->MaxCols, 80);
}

TEST_F(TerminalSettingsDialogs, FirstTimeListsFollowTheFamily)
{
    rec->Country = 46;
    hook.Expect(IDD_FIRST_TIME_SETUP, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Tolvi - First time setup");
        ExpectTable(d, IDC_FIRST_PLATFORM, kPlatformTable);
        ExpectTable(d, IDC_TERM_EMULATION, kEmulationTable);
        ExpectTable(d, IDC_TERM_CHARSET, kCharsetTable);
        EXPECT_EQ(d.ItemData(IDC_FIRST_PLATFORM, d.Selection(IDC_FIRST_PLATFORM)), 10);
        EXPECT_EQ(d.ItemData(IDC_TERM_EMULATION, d.Selection(IDC_TERM_EMULATION)), 1);
        EXPECT_EQ(d.ItemData(IDC_TERM_CHARSET, d.Selection(IDC_TERM_CHARSET)), 3);
        ASSERT_TRUE(d.Click(IDC_FIRST_FAMILY_3270));
        ExpectTable(d, IDC_TERM_EMULATION, kModel3270Table);
        ExpectTable(d, IDC_TERM_CHARSET, kNationalTable);
        EXPECT_EQ(d.ItemText(IDC_TERM_EMULATION, d.Selection(IDC_TERM_EMULATION)), "Model 2 (24x80) IBM-3278-2");
        EXPECT_EQ(d.ItemText(IDC_FIRST_PLATFORM, d.Selection(IDC_FIRST_PLATFORM)), "IBM Mainframe");
        EXPECT_EQ(d.ItemText(IDC_TERM_CHARSET, d.Selection(IDC_TERM_CHARSET)), "Finnish Swedish");
        ASSERT_TRUE(d.Click(IDC_FIRST_FAMILY_3270));  // back: the record's choices again
        EXPECT_EQ(d.ItemData(IDC_TERM_EMULATION, d.Selection(IDC_TERM_EMULATION)), 1);
        EXPECT_EQ(d.ItemData(IDC_FIRST_PLATFORM, d.Selection(IDC_FIRST_PLATFORM)), 10);
        ASSERT_TRUE(d.Click(IDC_FIRST_FAMILY_3270));
        EXPECT_TRUE(d.Pick(IDC_TERM_EMULATION, 4));  // Model 2 (24x80) IBM-3279-2
        d.Press(IDOK);
    });
    EXPECT_TRUE(RunFirstTimeSetup(doc, nullptr));
    EXPECT_EQ(rec->TerminalFamily3270, 1);
    EXPECT_EQ(rec->Platform, 9);
    EXPECT_EQ(rec->Terminal3270, 20);
    EXPECT_EQ(rec->Charset3270, 10);
    EXPECT_EQ(rec->MaxRows, 24);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TerminalSettingsDialogs, FirstTimeCancelChangesNothing)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_FIRST_TIME_SETUP, [](FwDialogDriver& d) {
        d.Click(IDC_FIRST_FAMILY_3270);
        d.Press(IDCANCEL);
    });
    EXPECT_FALSE(RunFirstTimeSetup(doc, nullptr));
    EXPECT_TRUE(Snapshot() == before);
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
