// The small session dialogs, the one-line prompt and lock administration driven by control id:
// OK stores every field, a value out of its range or too long keeps the dialog open with the
// framework's message, Cancel leaves the record and the document strings byte-identical; the
// prompt's "..." button and '*' echo; the lock password, the padlocks, "Lock all" and the
// re-entry of a new password.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/lock_admin_values.h"
#include "dialog_pixels.h"
#include "dialogs/win32/keyin_dlg.h"
#include "fw_dialog_test_hook.h"
#include "resource_ids.h"
#include "session_dialog_ids.h"
#include "shell/session_document.h"
#include "shell/win32/session_settings_commands.h"

namespace {

class SessionDialogs : public ::testing::Test {
protected:
    SessionDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        rec->AllowCfg = rec->AllowDOS = rec->AllowReadCfg = rec->AllowWriteCfg = 1;
        rec->UnixEnvEnable = 1;
        std::strcpy(rec->UnixEnv, "TERM=%terminal%");
        std::strcpy(rec->EnableDisplay, "<esc>[y");
        rec->MciWaitIfBusy = 5;
        doc.record = rec.get();
        doc.strings.AutoHost1 = "login:";
        doc.strings.AutoUser1 = "%pluser%";
        doc.strings.FtpCommand = "TolviFTP.exe";
        FwSetDialogTestHook(&hook);
    }
    ~SessionDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    std::string Snapshot()
    {
        std::string all(reinterpret_cast<const char*>(rec.get()), sizeof *rec);
        for (std::size_t i = 0; i < DocumentStringDefaultCount; ++i)
            all += *FindDocumentString(doc.strings, DocumentStringDefaults[i].member) + '\0';
        return all;
    }
    // Queues the password prompt's answer: `typed` and OK, or Cancel when null.
    void AnswerPassword(const char* typed, const std::string& prompt)
    {
        hook.Expect(IDD_KEYIN, [typed, prompt](FwDialogDriver& d) {
            EXPECT_EQ(d.Text(IDC_KEYIN_PROMPT), prompt);
            EXPECT_FALSE(d.Visible(IDC_KEYIN_BROWSE));
            EXPECT_EQ(SendDlgItemMessageA(d.Handle(), IDC_KEYIN_ANSWER, EM_GETPASSWORDCHAR, 0, 0), '*');
            if (!typed) {
                d.Press(IDCANCEL);
                return;
            }
            d.SetText(IDC_KEYIN_ANSWER, typed);
            d.Press(IDOK);
        });
    }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
};

TEST_F(SessionDialogs, AutoLoginStoresPairsFlagsAndDisplayText)
{
    hook.Expect(IDD_AUTO_LOGIN, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Automatic Login");
        EXPECT_EQ(d.Text(IDC_AUTO_LOGIN_WAIT), "login:");
        EXPECT_EQ(d.Text(IDC_AUTO_DISPLAY_ON), "<esc>[y");
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(d.Handle(), IDC_AUTO_PASSWORD_REPLY), GWL_STYLE) & ES_PASSWORD);
        d.SetText(IDC_AUTO_SERVICE_WAIT, "service?");
        d.SetText(IDC_AUTO_PASSWORD_WAIT, "Password:");
        d.SetText(IDC_AUTO_PASSWORD_REPLY, "secret");
        d.SetText(IDC_AUTO_SECTION3_REPLY, "last");
        d.SetCheck(IDC_AUTO_ENABLE, true);
        d.SetCheck(IDC_AUTO_SEND_CR, true);
        d.SetCheck(IDC_AUTO_BLANK, true);
        d.SetText(IDC_AUTO_DISPLAY_ON, std::string(33, 'd'));  // one too many
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_AUTO_DISPLAY_ON, std::string(32, 'd'));
        d.Press(IDOK);
    });
    AutoLoginCommand(doc, nullptr);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Please enter no more than 32 characters.");
    EXPECT_EQ(doc.strings.AutoHost0, "service?");
    EXPECT_EQ(doc.strings.AutoHost2, "Password:");
    EXPECT_EQ(doc.strings.AutoUser2, "secret");
    EXPECT_EQ(doc.strings.AutoUser6, "last");
    EXPECT_EQ(doc.strings.AutoUser1, "%pluser%");
    EXPECT_EQ(rec->AutoLogin, 1);
    EXPECT_EQ(rec->AutoLoginCR, 1);
    EXPECT_EQ(rec->BlankAutoLogin, 1);
    EXPECT_EQ(rec->SendWakeup, 0);
    EXPECT_EQ(std::string(rec->EnableDisplay), std::string(32, 'd'));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SessionDialogs, HostEnvironmentLinesAreStoredAsEntries)
{
    hook.Expect(IDD_HOST_ENV, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Host environment table");
        EXPECT_EQ(d.Text(IDC_HOST_ENV_TABLE), "TERM=%terminal%");
        EXPECT_TRUE(d.Checked(IDC_HOST_ENV_ENABLE));
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(d.Handle(), IDC_HOST_ENV_TABLE), GWL_STYLE) & ES_WANTRETURN);
        d.SetText(IDC_HOST_ENV_TABLE, "TERM=%terminal%\r\nTOLVIVAR=hello");
        d.Press(IDOK);
    });
    HostEnvCommand(doc, nullptr);
    EXPECT_STREQ(rec->UnixEnv, "TERM=%terminal% TOLVIVAR=hello");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SessionDialogs, FileTransferCommandAndMultimedia)
{
    hook.Expect(IDD_FILE_TRANSFER_CMD, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "File transfer command");
        EXPECT_EQ(d.Text(IDC_FTP_COMMAND), "TolviFTP.exe");
        EXPECT_TRUE(d.Checked(IDC_XFER_AUTOMATIC));
        KeepScreenshot(d.Handle(), "dialog-129-file-transfer-command.png");
        d.SetText(IDC_FTP_DIRECTORY, std::string(129, 'f'));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_FTP_DIRECTORY, "c:\\transfer");
        d.SetCheck(IDC_FTP_ENABLE, true);
        d.Click(IDC_XFER_PROTOCOL);
        d.Press(IDOK);
    });
    FileTransferCmdCommand(doc, nullptr);
    EXPECT_EQ(doc.strings.FtpDirectory, "c:\\transfer");
    EXPECT_EQ(rec->FtpEnable, 1);
    EXPECT_EQ(rec->XferType, 2);

    hook.Expect(IDD_MULTIMEDIA, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Multimedia configuration");
        EXPECT_EQ(d.Text(IDC_MCI_WAIT_IF_BUSY), "5");
        d.SetCheck(IDC_MCI_ERROR_REPLY, true);
        d.SetCheck(IDC_MCI_DATA_REPLY, true);
        d.SetCheck(IDC_MCI_SHOW_ERROR, true);
        KeepScreenshot(d.Handle(), "dialog-610-multimedia.png");
        d.SetText(IDC_MCI_WAIT_IF_BUSY, "-3");
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_MCI_WAIT_IF_BUSY, "12");
        d.Press(IDOK);
    });
    MultimediaCommand(doc, nullptr);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[0].text, "Please enter no more than 128 characters.");
    EXPECT_EQ(hook.messages[1].text, "Please enter a positive integer.");
    EXPECT_EQ(rec->MciErrorReply, 1);
    EXPECT_EQ(rec->MciOkReply, 0);
    EXPECT_EQ(rec->MciDataReply, 1);
    EXPECT_EQ(rec->MciShowError, 1);
    EXPECT_EQ(rec->MciWaitIfBusy, 12);
}

// Every dialog changed and then cancelled: nothing moves, and the document stays unmodified.
TEST_F(SessionDialogs, CancelChangesNothingInEveryDialog)
{
    const struct {
        int dialog;
        int edit;
        std::function<void(CZolexDoc&, HWND)> command;
    } cases[] = {
        {IDD_AUTO_LOGIN, IDC_AUTO_LOGIN_WAIT, AutoLoginCommand},
        {IDD_HOST_ENV, IDC_HOST_ENV_TABLE, HostEnvCommand},
        {IDD_FILE_TRANSFER_CMD, IDC_FTP_COMMAND, FileTransferCmdCommand},
        {IDD_MULTIMEDIA, IDC_MCI_WAIT_IF_BUSY, MultimediaCommand},
        {IDD_LOCK_ADMIN, IDC_LOCK_PASSWORD, LockSettingsCommand},
    };
    for (const auto& c : cases) {
        const std::string before = Snapshot();
        hook.Expect(c.dialog, [&c](FwDialogDriver& d) {
            d.SetText(c.edit, "77");
            d.Click(IDC_LOCK_ALL);  // only where there is one
            d.Click(IDC_AUTO_ENABLE);
            d.Press(IDCANCEL);
        });
        c.command(doc, nullptr);
        EXPECT_EQ(Snapshot(), before) << c.dialog;
        EXPECT_FALSE(doc.IsModified()) << c.dialog;
    }
}

TEST_F(SessionDialogs, KeyinShowsBrowseOnlyWhenAskedAndLeavesTheCurrentFolder)
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);

    hook.Expect(IDD_KEYIN, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Keyin:");
        EXPECT_FALSE(d.Visible(IDC_KEYIN_BROWSE));
        EXPECT_EQ(SendDlgItemMessageA(d.Handle(), IDC_KEYIN_ANSWER, EM_GETPASSWORDCHAR, 0, 0), 0);
        d.SetText(IDC_KEYIN_ANSWER, "typed");
        d.Press(IDOK);
    });
    CKeyinDlg plain(nullptr);
    plain.prompt = "Anything:";
    ASSERT_EQ(plain.DoModal(), IDOK);
    EXPECT_EQ(plain.answer, "typed");

    hook.fileAnswers.push_back("c:\\windows\\temp\\chosen.trc");
    hook.Expect(IDD_KEYIN, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_KEYIN_PROMPT), "File to play");
        EXPECT_TRUE(d.Visible(IDC_KEYIN_BROWSE));
        KeepScreenshot(d.Handle(), "dialog-105-keyin-browse.png");
        d.Click(IDC_KEYIN_BROWSE);
        EXPECT_EQ(d.Text(IDC_KEYIN_ANSWER), "c:\\windows\\temp\\chosen.trc");
        d.Press(IDOK);
    });
    CKeyinDlg browse(nullptr);
    browse.prompt = "File to play";
    browse.answer = "c:\\windows\\system32\\old.trc";
    browse.browse = true;
    browse.defaultExtension = "trc";
    browse.filter = "Play Files (*.trc) | *.trc||";
    ASSERT_EQ(browse.DoModal(), IDOK);
    EXPECT_EQ(browse.answer, "c:\\windows\\temp\\chosen.trc");
    ASSERT_EQ(hook.fileDialogFolders.size(), 1u);
    EXPECT_EQ(hook.fileDialogFolders[0], "c:\\windows\\system32");
    EXPECT_EQ(hook.fileDialogNames[0], "c:\\windows\\system32\\old.trc");
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, folder);

    // Password mode: '*' for every typed character.
    AnswerPassword("1234", "Pin code:");
    std::string pin;
    ASSERT_TRUE(AskPassword(nullptr, "Pin code:", pin));
    EXPECT_EQ(pin, "1234");
}

// A configuration locked throughout (AllowCfg off) without a password opens with "VidEr" in any
// case; its first 22 padlocks show locked, and OK allows the configuration again.
TEST_F(SessionDialogs, BuiltInPasswordOpensALockedConfiguration)
{
    rec->AllowCfg = 0;
    rec->LockHistory = 1;
    AnswerPassword("vIDeR", "Lock administration  password");
    hook.Expect(IDD_LOCK_ADMIN, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Lock administration");
        for (int flag = 0; flag < kLockFlagCount; ++flag)
            EXPECT_EQ(d.Pressed(kLockButtonIds[flag]), flag < kLockGroupCount || flag == 22) << flag;
        EXPECT_EQ(d.Text(IDC_LOCK_PASSWORD), "VidEr");
        d.Press(IDOK);
    });
    LockSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->AllowCfg, 1);
    EXPECT_EQ(rec->AllowDOS, 1);
    EXPECT_EQ(rec->LockColors, 1);
    EXPECT_EQ(rec->LockRuntimeReset, 1);
    EXPECT_EQ(rec->LockHistory, 1);
    EXPECT_EQ(doc.strings.LockPassword, "VidEr");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SessionDialogs, WrongPasswordIsRefusedAndCancelEndsQuietly)
{
    doc.strings.LockPassword = "admin";
    const std::string before = Snapshot();
    AnswerPassword("admim", "Lock administration  password");
    LockSettingsCommand(doc, nullptr);  // 147 is never opened (no script queued for it)
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, "Invalid password");
    EXPECT_EQ(hook.messages[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    AnswerPassword(nullptr, "Lock administration  password");
    LockSettingsCommand(doc, nullptr);
    EXPECT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());
}

// Padlocks toggle; "Lock all" and "Open all" set the first 22 and leave History, Auto-scale font,
// DOS box, Loading settings and Saving settings; flags 25 and 26 store the inverse settings.
TEST_F(SessionDialogs, PadlocksLockAllAndOpenAll)
{
    rec->LockScaleFont = 1;
    rec->AllowWriteCfg = 0;
    hook.Expect(IDD_LOCK_ADMIN, [](FwDialogDriver& d) {
        EXPECT_FALSE(d.Pressed(kLockButtonIds[0]));
        EXPECT_TRUE(d.Pressed(kLockButtonIds[23]));
        EXPECT_TRUE(d.Pressed(kLockButtonIds[kLockSavingFlag]));
        d.Click(kLockButtonIds[22]);
        d.Click(IDC_LOCK_ALL);
        for (int flag = 0; flag < kLockFlagCount; ++flag)
            EXPECT_EQ(d.Pressed(kLockButtonIds[flag]), flag < 24 || flag == kLockSavingFlag) << flag;
        d.Click(IDC_OPEN_ALL);
        for (int flag = 0; flag < kLockFlagCount; ++flag)
            EXPECT_EQ(d.Pressed(kLockButtonIds[flag]), flag == 22 || flag == 23 || flag == kLockSavingFlag) << flag;
        d.Click(kLockButtonIds[3]);             // Colors
        d.Click(kLockButtonIds[kLockLoadingFlag]);
        d.Click(kLockButtonIds[kLockSavingFlag]);
        d.Press(IDOK);
    });
    LockSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->LockColors, 1);
    EXPECT_EQ(rec->LockGeneral, 0);
    EXPECT_EQ(rec->LockHistory, 1);
    EXPECT_EQ(rec->LockScaleFont, 1);
    EXPECT_EQ(rec->AllowReadCfg, 0);
    EXPECT_EQ(rec->AllowWriteCfg, 1);
    EXPECT_EQ(doc.strings.LockPassword, "");
}

// A new password stands only when typed again the same; a different re-entry, on leaving the
// field or on Enter (OK without leaving it), puts the old one back and keeps the dialog open.
TEST_F(SessionDialogs, NewPasswordMustBeTypedTwice)
{
    doc.strings.LockPassword = "old";
    AnswerPassword("OLD", "Lock administration  password");
    AnswerPassword("neu", "Re-enter password:");   // leaving the field: different
    AnswerPassword("nwe2", "Re-enter password:");  // Enter in the field: different
    AnswerPassword(nullptr, "Re-enter password:"); // leaving the field: cancelled
    AnswerPassword("new3", "Re-enter password:");  // OK: the same
    hook.Expect(IDD_LOCK_ADMIN, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_LOCK_PASSWORD), "old");
        d.Focus(IDC_LOCK_PASSWORD);
        d.SetText(IDC_LOCK_PASSWORD, "new");
        d.Focus(IDC_LOCK_ALL);
        EXPECT_EQ(d.Text(IDC_LOCK_PASSWORD), "old");

        d.Focus(IDC_LOCK_PASSWORD);
        d.SetText(IDC_LOCK_PASSWORD, "new2");
        SendMessageA(d.Handle(), WM_COMMAND, IDOK, 0);  // what Enter does
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(d.Text(IDC_LOCK_PASSWORD), "old");

        d.Focus(IDC_LOCK_PASSWORD);
        d.SetText(IDC_LOCK_PASSWORD, "x");
        d.Focus(IDC_OPEN_ALL);
        EXPECT_EQ(d.Text(IDC_LOCK_PASSWORD), "old");

        d.Focus(IDC_LOCK_PASSWORD);
        d.SetText(IDC_LOCK_PASSWORD, "new3");
        SendMessageA(d.Handle(), WM_COMMAND, IDOK, 0);
    });
    LockSettingsCommand(doc, nullptr);
    ASSERT_EQ(hook.messages.size(), 2u);
    for (const auto& m : hook.messages) EXPECT_EQ(m.text, "Passwords not the same, resetting to previous.");
    EXPECT_EQ(doc.strings.LockPassword, "new3");
}

}  // namespace
