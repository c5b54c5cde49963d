// Our framework's dialog class, driven by control id through the test hook: data exchange of
// every control kind, the checks that refuse OK, Cancel, Help, and the hook's own safety rules.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "fw_app.h"
#include "fw_bitmap_button.h"
#include "fw_dialog.h"
#include "fw_dialog_test_hook.h"
#include "fw_dialog_test_ids.h"
#include "fw_file_dialog.h"
#include "fw_list_fill_win32.h"

namespace {

class TestDialog : public FwDialog {
public:
    TestDialog() : FwDialog(IDD_FW_TEST, nullptr)
    {
        OnCommand(IDC_T_HIDDEN, [this] { ++hiddenPressed; });
    }
    std::string name = "alpha", later = "keep";
    int number = 5, flag = 0, choice = 1, comboIndex = 0, listIndex = -1, hiddenPressed = 0;

protected:
    bool OnInitDialog() override
    {
        for (const char* entry : {"zero", "one", "two"}) {
            SendDlgItemMessageA(Handle(), IDC_T_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
            SendDlgItemMessageA(Handle(), IDC_T_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        return FwDialog::OnInitDialog();
    }
    void DoDataExchange(FwDataExchange& dx) override
    {
        DDX_Text(dx, IDC_T_NAME, name);
        DDV_MaxChars(dx, name, 8);
        DDX_Text(dx, IDC_T_NUMBER, number);
        DDV_MinMaxInt(dx, number, 1, 10);
        DDX_Text(dx, IDC_T_LATER, later);
        DDX_Check(dx, IDC_T_FLAG, flag);
        DDX_Radio(dx, IDC_T_RADIO_A, choice);
        DDX_CBIndex(dx, IDC_T_COMBO, comboIndex);
        DDX_LBIndex(dx, IDC_T_LIST, listIndex);
    }
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest() { FwSetDialogTestHook(&hook); }
    ~DialogTest() override { FwSetDialogTestHook(nullptr); }
    FwDialogTestHook hook;
};

TEST_F(DialogTest, ControlsShowTheMembersAndOkStoresWhatTheUserDid)
{
    TestDialog dialog;
    hook.Expect(IDD_FW_TEST, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_T_NAME), "alpha");
        EXPECT_EQ(d.Text(IDC_T_NUMBER), "5");
        EXPECT_FALSE(d.Checked(IDC_T_RADIO_A));
        EXPECT_TRUE(d.Checked(IDC_T_RADIO_B));  // the edit between the buttons is passed over
        EXPECT_EQ(d.Selection(IDC_T_COMBO), 0);
        EXPECT_EQ(d.Selection(IDC_T_LIST), -1);
        EXPECT_TRUE(d.SetText(IDC_T_NAME, "beta"));
        EXPECT_TRUE(d.SetText(IDC_T_NUMBER, " 7 "));
        EXPECT_TRUE(d.SetCheck(IDC_T_FLAG, true));
        EXPECT_TRUE(d.Click(IDC_T_RADIO_A));
        EXPECT_FALSE(d.Checked(IDC_T_RADIO_B));
        EXPECT_TRUE(d.Pick(IDC_T_COMBO, 2));
        EXPECT_TRUE(d.Pick(IDC_T_LIST, 1));
        EXPECT_TRUE(d.Press(IDOK));
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, "beta");
    EXPECT_EQ(dialog.number, 7);
    EXPECT_EQ(dialog.flag, 1);
    EXPECT_EQ(dialog.choice, 0);
    EXPECT_EQ(dialog.comboIndex, 2);
    EXPECT_EQ(dialog.listIndex, 1);
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(DialogTest, AFailedCheckKeepsTheDialogOpenAndStopsAtItsField)
{
    TestDialog dialog;
    hook.Expect(IDD_FW_TEST, [&dialog, this](FwDialogDriver& d) {
        const struct {
            int id;
            const char* text;
            const char* message;
        } refused[] = {
            {IDC_T_NUMBER, "11", "Please enter an integer between 1 and 10."},
            {IDC_T_NUMBER, "0", "Please enter an integer between 1 and 10."},
            {IDC_T_NUMBER, "7x", "Please enter an integer."},
            {IDC_T_NUMBER, "99999999999", "Please enter an integer."},
            {IDC_T_NAME, "ninechars", "Please enter no more than 8 characters."},
        };
        d.SetText(IDC_T_LATER, "changed");
        for (const auto& r : refused) {
            d.SetText(IDC_T_NAME, "ok");
            d.SetText(IDC_T_NUMBER, "3");
            d.SetText(r.id, r.text);
            d.Press(IDOK);
            ASSERT_TRUE(d.Open()) << r.text;
            ASSERT_FALSE(hook.messages.empty());
            EXPECT_EQ(hook.messages.back().text, r.message);
            EXPECT_EQ(GetFocus(), GetDlgItem(d.Handle(), r.id)) << r.text;
            EXPECT_EQ(dialog.later, "keep");  // the exchange stopped before it
        }
        d.SetText(IDC_T_NAME, "eightchr");
        d.SetText(IDC_T_NUMBER, "10");
        d.Press(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(hook.messages.size(), 5u);
    EXPECT_EQ(dialog.name, "eightchr");
    EXPECT_EQ(dialog.number, 10);
    EXPECT_EQ(dialog.later, "changed");
}

TEST_F(DialogTest, CancelKeepsTheMembersAndHiddenButtonsCannotBePressed)
{
    TestDialog dialog;
    hook.Expect(IDD_FW_TEST, [](FwDialogDriver& d) {
        EXPECT_TRUE(d.Exists(IDC_T_HIDDEN));
        EXPECT_FALSE(d.Visible(IDC_T_HIDDEN));
        EXPECT_FALSE(d.Press(IDC_T_HIDDEN));
        EnableWindow(GetDlgItem(d.Handle(), IDC_T_NAME), FALSE);
        EXPECT_FALSE(d.SetText(IDC_T_NAME, "typed"));
        EXPECT_FALSE(d.Press(4711));  // no such control
        d.SetText(IDC_T_NUMBER, "9");
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.hiddenPressed, 0);
    EXPECT_EQ(dialog.number, 5);
    EXPECT_EQ(dialog.name, "alpha");

    // A dialog that no script waits for is cancelled rather than left waiting for a human.
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(hook.unexpectedDialogs, 1);
}

class HelpApp : public FwApp {
public:
    bool InitInstance() override { return true; }
    void WinHelp(unsigned long data, unsigned command) override
    {
        helpData = data;
        helpCommand = command;
    }
    unsigned long helpData = 0;
    unsigned helpCommand = 0;
};

TEST_F(DialogTest, HelpOpensTheProgramsHelpAtTheDialogsContext)
{
    HelpApp app;
    app.instance = GetModuleHandleA(nullptr);
    FwSetApp(&app);
    TestDialog dialog;
    hook.Expect(IDD_FW_TEST, [](FwDialogDriver& d) {
        d.Press(IDC_T_HELP);
        EXPECT_TRUE(d.Open());
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    FwSetApp(nullptr);
    EXPECT_EQ(app.helpData, kFwHelpResourceBase + IDD_FW_TEST);
    EXPECT_EQ(app.helpCommand, static_cast<unsigned>(HELP_CONTEXT));
}

TEST_F(DialogTest, MessageBoxesAndFileDialogsAreAnsweredFromTheQueues)
{
    hook.messageAnswers = {IDNO};
    EXPECT_EQ(FwMessageBox(nullptr, "first", MB_YESNO), IDNO);
    EXPECT_EQ(FwMessageBox(nullptr, "second", MB_YESNO), IDYES);  // the first button
    EXPECT_EQ(FwMessageBox(nullptr, "third", MB_OKCANCEL), IDOK);
    ASSERT_EQ(hook.messages.size(), 3u);
    EXPECT_EQ(hook.messages[0].text, "first");

    hook.fileAnswers = {"C:\\data\\report.txt"};
    FwFileDialog chosen;
    chosen.fileName = "old.txt";
    ASSERT_TRUE(chosen.DoModal(nullptr));
    EXPECT_EQ(chosen.fileName, "C:\\data\\report.txt");
    EXPECT_EQ(chosen.fileTitle, "report.txt");
    FwFileDialog cancelled;
    EXPECT_FALSE(cancelled.DoModal(nullptr));
    EXPECT_EQ(hook.fileDialogNames, (std::vector<std::string>{"old.txt", ""}));
}

// What the settings dialogs add: a bitmap button kept pressed, lists filled from the string table
// with a value table, an editable combo box, a number from 0 up, focus and double-clicks.
class MoreDialog : public FwDialog {
public:
    MoreDialog() : FwDialog(IDD_FW_TEST_MORE, nullptr)
    {
        OnCommand(IDC_M_BITMAP, [this] { button.SetPressed(!button.Pressed()); });
        OnCommand(IDC_M_VALUES, [this] { ++doubleClicks; }, LBN_DBLCLK);
        OnCommand(IDC_M_VALUES, [this] { ++focusNotes; }, LBN_SETFOCUS);
        OnCommand(IDC_M_EDITCOMBO, [this] { edited = GetItemText(IDC_M_EDITCOMBO); }, CBN_EDITCHANGE);
    }
    static constexpr long kValues[3] = {40, 50, 60};
    int listValue = 50, comboValue = 99, doubleClicks = 0, focusNotes = 0;
    unsigned count = 7;
    std::string edited;
    FwBitmapButton button;
    bool attached = false;

protected:
    bool OnInitDialog() override
    {
        attached = button.Attach(Handle(), IDC_M_BITMAP);
        FwFillList(GetDlgItem(IDC_M_VALUES), IDS_M_COLOURS, kValues, 3, listValue);
        FwFillList(GetDlgItem(IDC_M_VALUECOMBO), IDS_M_COLOURS, kValues, 3, comboValue);
        for (const char* entry : {"alpha", "beta"})
            SendDlgItemMessageA(Handle(), IDC_M_EDITCOMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        return FwDialog::OnInitDialog();
    }
    void DoDataExchange(FwDataExchange& dx) override
    {
        DDX_ListValue(dx, IDC_M_VALUES, listValue);
        DDX_ListValue(dx, IDC_M_VALUECOMBO, comboValue);
        DDX_Text(dx, IDC_M_UNSIGNED, count);
    }
};

TEST_F(DialogTest, BitmapButtonsValueListsCombosAndFocus)
{
    MoreDialog dialog;
    hook.Expect(IDD_FW_TEST_MORE, [&dialog](FwDialogDriver& d) {
        EXPECT_TRUE(dialog.attached);
        EXPECT_FALSE(d.Pressed(IDC_M_BITMAP));
        EXPECT_TRUE(d.Click(IDC_M_BITMAP));
        EXPECT_TRUE(d.Pressed(IDC_M_BITMAP));
        EXPECT_FALSE(d.Pressed(IDC_M_VALUES));  // no bitmap button
        FwBitmapButton missing, unnamed;
        EXPECT_FALSE(missing.Attach(d.Handle(), 4711));     // no such control
        EXPECT_FALSE(unnamed.Attach(d.Handle(), IDC_M_UNSIGNED));  // its text names no bitmap
        EXPECT_FALSE(missing.Attached() || unnamed.Attached());

        ASSERT_EQ(d.Count(IDC_M_VALUES), 3);
        EXPECT_EQ(d.ItemText(IDC_M_VALUES, 2), "Blue");
        EXPECT_EQ(d.ItemData(IDC_M_VALUES, 2), 60);
        EXPECT_EQ(d.Selection(IDC_M_VALUES), 1);     // the setting's entry
        EXPECT_EQ(d.Selection(IDC_M_VALUECOMBO), -1);  // no entry has it
        EXPECT_EQ(d.Count(4711), 0);

        EXPECT_TRUE(d.Focus(IDC_M_VALUES));
        EXPECT_TRUE(d.HasFocus(IDC_M_VALUES));
        EXPECT_EQ(dialog.focusNotes, 1);  // the list box told it itself
        EXPECT_TRUE(d.DoubleClick(IDC_M_VALUES, 0));
        EXPECT_FALSE(d.DoubleClick(IDC_M_VALUES, 3));
        EXPECT_EQ(dialog.doubleClicks, 1);
        EXPECT_EQ(d.Selection(IDC_M_VALUES), 0);

        EXPECT_TRUE(d.TypeInCombo(IDC_M_EDITCOMBO, "gamma"));
        EXPECT_EQ(dialog.edited, "gamma");
        EXPECT_EQ(d.Text(IDC_M_EDITCOMBO), "gamma");
        EXPECT_FALSE(d.TypeInCombo(IDC_M_VALUES, "x"));

        d.SetText(IDC_M_UNSIGNED, "-3");
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_M_UNSIGNED, "4294967296");
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_M_UNSIGNED, " 4294967295 ");
        d.Press(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.listValue, 40);
    EXPECT_EQ(dialog.comboValue, 99);  // nothing selected: the setting stays
    EXPECT_EQ(dialog.count, 4294967295u);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[0].text, "Please enter a positive integer.");
    EXPECT_EQ(hook.messages[1].text, "Please enter a positive integer.");
}

}  // namespace
