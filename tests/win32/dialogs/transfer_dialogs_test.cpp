// The file-transfer dialogs driven by control id under Wine: each settings command stores what
// OK confirms and leaves everything as it was after Cancel; the Start dialog's buttons, checks
// and end codes, and what it copies back to the document.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fw_dialog_test_hook.h"
#include "resource_ids.h"
#include "shell/session_document.h"
#include "dialogs/win32/transfer_dialog_calls.h"
#include "dialogs/win32/start_transfer_dlg.h"
#include "shell/win32/transfer_settings_commands.h"

namespace {

class TransferDialogs : public ::testing::Test {
protected:
    TransferDialogs() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        doc.record = rec.get();
        KermitParms& k = rec->KermitParms;
        k.Fixed0 = 30, k.Fixed1 = 10, k.Fixed2 = 1, k.Fixed4 = 1, k.Fixed5 = 25, k.FixedByte6 = 1;
        k.PacketLength = 94, k.Timeout = 10, k.Eol = 13, k.Quotechar = '#', k.Quote8char = '&', k.Reptchar = '~';
        rec->XYModemParms.Timeout = 20, rec->XYModemParms.MaxErrors = 10, rec->XYModemParms.Retries = 10;
        rec->Manag = 6, rec->Conv = 1, rec->EscCtl = 1;
        rec->AllowCfg = 1;
        FwSetDialogTestHook(&hook);
    }
    ~TransferDialogs() override
    {
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty()) << "a dialog that was expected did not open";
    }

    // A copy of the record to compare with after Cancel.
    std::string Snapshot() const { return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec); }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
};

TEST_F(TransferDialogs, KermitSettingsStoreOnOkAndRefuseValuesOutOfRange)
{
    hook.Expect(IDD_KERMIT_SETTINGS, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_KERMIT_PACKET_SIZE), "94");
        EXPECT_EQ(d.Text(IDC_KERMIT_QUOTE), "#");
        const struct {
            int id;
            const char* text;
        } refused[] = {
            {IDC_KERMIT_PACKET_SIZE, "93"},  {IDC_KERMIT_PACKET_SIZE, "1025"}, {IDC_KERMIT_PACKET_RETRY, "21"},
            {IDC_KERMIT_INITIAL_RETRY, "0"}, {IDC_KERMIT_WINDOW, "9"},        {IDC_KERMIT_PADDING, "51"},
            {IDC_KERMIT_PAD_CHAR, "256"},    {IDC_KERMIT_QUOTE, ""},          {IDC_KERMIT_REPEAT, "~~"},
        };
        for (const auto& r : refused) {
            const std::string before = d.Text(r.id);
            d.SetText(r.id, r.text);
            d.Press(IDOK);
            ASSERT_TRUE(d.Open()) << r.id << " " << r.text;
            d.SetText(r.id, before);
        }
        EXPECT_EQ(hook.messages.size(), std::size(refused));
        d.SetText(IDC_KERMIT_PACKET_SIZE, "95");  // long packets
        d.SetText(IDC_KERMIT_QUOTE, "!");
        d.SetText(IDC_KERMIT_WINDOW, "8");
        d.Click(IDC_KERMIT_QUOTE8_ALWAYS);
        d.Click(IDC_KERMIT_CHECK_16);
        d.SetCheck(IDC_KERMIT_IMAGE, false);
        d.Press(IDOK);
    });
    KermitSettingsCommand(doc, nullptr);
    const KermitParms& k = rec->KermitParms;
    EXPECT_EQ(+k.PacketLength, 95);
    EXPECT_EQ(k.Quotechar, '!');
    EXPECT_EQ(+k.Winsize, 8);
    EXPECT_EQ(+k.Fixed3, 2);
    EXPECT_EQ(k.ChkType, 2);
    EXPECT_EQ(+k.Fixed2, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TransferDialogs, ResetToDefaultsLeavesRunLengthAndCancelLeavesEverything)
{
    rec->KermitParms.Fixed4 = 0;
    rec->KermitParms.PacketLength = 500;
    rec->KermitParms.Reptchar = '^';
    const std::string before = Snapshot();
    hook.Expect(IDD_KERMIT_SETTINGS, [](FwDialogDriver& d) {
        d.SetText(IDC_KERMIT_TIMEOUT, "77");
        d.Press(IDC_RESET_DEFAULTS);
        EXPECT_EQ(d.Text(IDC_KERMIT_PACKET_SIZE), "94");
        EXPECT_EQ(d.Text(IDC_KERMIT_TIMEOUT), "10");
        EXPECT_EQ(d.Text(IDC_KERMIT_REPEAT), "~");
        EXPECT_EQ(d.Text(IDC_KERMIT_EOL), "13");
        EXPECT_FALSE(d.Checked(IDC_KERMIT_RUN_LENGTH));
        d.Press(IDCANCEL);
    });
    KermitSettingsCommand(doc, nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TransferDialogs, XYModemSettingsResetAndTheirPadCharacterFitsItsByte)
{
    hook.Expect(IDD_XYMODEM_SETTINGS, [this](FwDialogDriver& d) {
        d.SetText(IDC_XYMODEM_TIMEOUT, "45");
        d.SetText(IDC_XYMODEM_PAD_CHAR, "300");
        d.Press(IDOK);
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "Please enter an integer between 0 and 255.");
        d.Press(IDC_RESET_DEFAULTS);
        EXPECT_EQ(d.Text(IDC_XYMODEM_TIMEOUT), "20");
        EXPECT_EQ(d.Text(IDC_XYMODEM_PAD_CHAR), "0");
        d.SetText(IDC_XYMODEM_PAD_CHAR, "26");
        d.SetText(IDC_XYMODEM_RETRIES, "4");
        d.Press(IDOK);
    });
    XYModemSettingsCommand(doc, nullptr);
    EXPECT_EQ(+rec->XYModemParms.Timeout, 20);
    EXPECT_EQ(rec->XYModemParms.Padchar, 26);
    EXPECT_EQ(+rec->XYModemParms.Retries, 4);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TransferDialogs, ZModemRadioGroupsFollowTheirOrderOnScreen)
{
    hook.Expect(IDD_ZMODEM_SETTINGS, [](FwDialogDriver& d) {
        EXPECT_TRUE(d.Checked(IDC_ZMODEM_MANAG_OVERWRITE));
        EXPECT_TRUE(d.Checked(IDC_ZMODEM_CONV_BINARY));
        d.Click(IDC_ZMODEM_MANAG_APPEND);  // second of its group, whatever its id
        d.Click(IDC_ZMODEM_CONV_RESUME_COMPARE);
        d.Click(IDC_ZMODEM_FN_FULL);
        d.SetCheck(IDC_ZMODEM_ESC_CTL, false);
        d.SetCheck(IDC_ZMODEM_NO_CRC32, true);
        d.SetCheck(IDC_ZMODEM_UNLINK, true);
        d.Press(IDOK);
    });
    ZModemSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->Manag, 1);
    EXPECT_EQ(rec->Conv, 3);
    EXPECT_EQ(rec->FnManag, 2);
    EXPECT_EQ(rec->EscCtl, 0);
    EXPECT_EQ(rec->NoCrc32, 1);
    EXPECT_EQ(rec->Unlink, 1);

    hook.Expect(IDD_ZMODEM_SETTINGS, [](FwDialogDriver& d) {
        d.Press(IDC_RESET_DEFAULTS);
        d.Press(IDOK);
    });
    ZModemSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->Manag, 6);
    EXPECT_EQ(rec->Conv, 1);
    EXPECT_EQ(rec->FnManag, 0);
    EXPECT_EQ(rec->EscCtl, 1);
    EXPECT_EQ(rec->NoCrc32 + rec->Unlink, 0);
}

TEST_F(TransferDialogs, GeneralSetupStoresTheProtocolAndOpensTheChosenProtocolsSettings)
{
    rec->LockXYModem = 1;
    doc.strings.AxDirectory = "C:\\old";
    hook.Expect(IDD_ASYNC_TRANSFER, [](FwDialogDriver& d) {
        EXPECT_TRUE(d.Checked(IDC_ASYNC_KERMIT));
        EXPECT_EQ(d.Text(IDC_ASYNC_PROTOCOL_SETTINGS), "Kermit ...");
        d.Click(IDC_ASYNC_KERMIT + 2);  // X-Modem 1K, locked
        EXPECT_EQ(d.Text(IDC_ASYNC_PROTOCOL_SETTINGS), "Locked ...");
        EXPECT_FALSE(d.Press(IDC_ASYNC_PROTOCOL_SETTINGS));
        d.Click(IDC_ASYNC_ZMODEM);
        EXPECT_EQ(d.Text(IDC_ASYNC_PROTOCOL_SETTINGS), "Z-Modem ...");
        d.SetText(IDC_ASYNC_DIRECTORY, "C:\\transfers");
        d.SetCheck(IDC_ASYNC_AUTODETECT, true);
        d.SetCheck(IDC_ASYNC_CONFIRM_ERRORS, true);
        d.Press(IDOK);
    });
    TransferSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->AProtocol, 5);
    EXPECT_EQ(doc.strings.AxDirectory, "C:\\transfers");
    EXPECT_EQ(rec->AutoDetectReceive, 1);
    EXPECT_EQ(rec->AXferConfirmError, 1);
    EXPECT_EQ(rec->AclCompletionCodes, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(TransferDialogs, GeneralSetupCancelledAfterAProtocolDialogStillModifiesTheDocument)
{
    hook.Expect(IDD_ASYNC_TRANSFER, [](FwDialogDriver& d) {
        d.Click(IDC_ASYNC_ZMODEM);
        d.SetText(IDC_ASYNC_DIRECTORY, "C:\\never");
        d.Press(IDC_ASYNC_PROTOCOL_SETTINGS);
        d.Press(IDCANCEL);
    });
    hook.Expect(IDD_ZMODEM_SETTINGS, [](FwDialogDriver& d) {
        d.SetCheck(IDC_ZMODEM_UNLINK, true);
        d.Press(IDOK);
    });
    TransferSettingsCommand(doc, nullptr);
    EXPECT_EQ(rec->Unlink, 1);       // the protocol dialog stored at once
    EXPECT_EQ(rec->AProtocol, 0);    // the general settings were cancelled
    EXPECT_EQ(doc.strings.AxDirectory, "");
    EXPECT_TRUE(doc.IsModified());

    // Cancel alone changes nothing; a directory longer than its 128 characters is refused.
    CZolexDoc other;
    other.record = rec.get();
    const std::string before = Snapshot();
    hook.Expect(IDD_ASYNC_TRANSFER, [this](FwDialogDriver& d) {
        d.SetText(IDC_ASYNC_DIRECTORY, std::string(129, 'd'));
        d.Press(IDOK);
        EXPECT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "Please enter no more than 128 characters.");
        d.Press(IDCANCEL);
    });
    TransferSettingsCommand(other, nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(other.IsModified());
}

// The Start dialog works in a scratch folder of its own.
class StartTransfer : public TransferDialogs {
protected:
    StartTransfer()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::filesystem::path(temp) / ("start_transfer_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder / "in");
        std::ofstream(folder / "send.txt") << "data";
        std::ofstream(folder / "in" / "old.txt") << "old";
        previous = std::filesystem::current_path();
    }
    ~StartTransfer() override
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string Path(const char* name) const { return (folder / name).string(); }

    std::filesystem::path folder, previous;
    StartTransferFields fields;
};

TEST_F(StartTransfer, KermitOnlyButtonsAbortAndSettingsFollowTheSession)
{
    const struct {
        int protocol;
        bool running;
        int allowCfg, locked;
        bool kermit, finish, abort, settings;
        const char* caption;
    } cases[] = {
        {0, false, 1, 0, true, true, false, true, "Async protocol is: Kermit"},
        {0, true, 1, 0, true, false, true, true, "Async protocol is: Kermit"},
        {4, false, 1, 0, false, false, false, true, "Async protocol is: Y-Modem"},
        {5, true, 0, 0, false, false, true, false, "Async protocol is: Z-Modem"},
        {1, false, 1, 1, false, false, false, false, "Async protocol is: X-Modem"},
    };
    for (const auto& c : cases) {
        rec->AProtocol = c.protocol;
        rec->AllowCfg = c.allowCfg, rec->LockAsyncFileTransfer = c.locked;
        hook.Expect(IDD_START_TRANSFER, [&c](FwDialogDriver& d) {
            EXPECT_EQ(d.Caption(), c.caption);
            for (int id : {IDC_XFER_GET, IDC_XFER_REMOTE_FILE, IDC_XFER_REMOTE_LABEL})
                EXPECT_EQ(d.Visible(id), c.kermit) << c.protocol << " " << id;
            EXPECT_EQ(d.Visible(IDC_XFER_FINISH_SERVER), c.finish) << c.protocol;
            EXPECT_EQ(d.Visible(IDC_XFER_ABORT), c.abort) << c.protocol;
            EXPECT_EQ(d.Visible(IDC_XFER_SETTINGS), c.settings) << c.protocol;
            EXPECT_TRUE(d.Visible(IDC_XFER_SEND) && d.Visible(IDC_XFER_RECEIVE));
            d.Press(IDCANCEL);
        });
        EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, c.running), IDCANCEL);
    }
}

TEST_F(StartTransfer, SendNeedsAReadableFileAndTheFieldsComeBack)
{
    rec->AProtocol = 1;
    fields.receivePath = "keep.bin";
    hook.fileAnswers = {Path("send.txt")};
    hook.Expect(IDD_START_TRANSFER, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_XFER_RECEIVE_FILE), "keep.bin");
        d.SetText(IDC_XFER_SEND_FILE, Path("missing.txt"));
        d.Press(IDC_XFER_SEND);
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "File " + Path("missing.txt") + ": not available");
        d.Press(IDC_XFER_SEND_BROWSE);
        EXPECT_EQ(d.Text(IDC_XFER_SEND_FILE), Path("send.txt"));
        d.SetCheck(IDC_XFER_TRACE, true);
        d.Press(IDC_XFER_SEND);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDC_XFER_SEND);
    EXPECT_EQ(fields.sendPath, Path("send.txt"));
    EXPECT_EQ(fields.receivePath, "keep.bin");
    EXPECT_TRUE(fields.traceFile);
    EXPECT_FALSE(fields.settingsChanged);

    // The next browse dialog starts from the name chosen; Cancel there leaves the field alone.
    hook.Expect(IDD_START_TRANSFER, [this](FwDialogDriver& d) {
        d.Press(IDC_XFER_SEND_BROWSE);
        EXPECT_EQ(d.Text(IDC_XFER_SEND_FILE), Path("send.txt"));
        d.SetCheck(IDC_XFER_TRACE, false);
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDCANCEL);
    EXPECT_EQ(hook.fileDialogNames.back(), "send.txt");
    EXPECT_TRUE(fields.traceFile);  // Cancel brings nothing back
}

TEST_F(StartTransfer, ReceiveChecksAndTheOverwriteQuestion)
{
    const std::string folderOnly = Path("in") + "\\";
    rec->AProtocol = 1;  // X-Modem: the receiver names the file
    hook.messageAnswers = {IDNO, IDYES};
    hook.Expect(IDD_START_TRANSFER, [&, this](FwDialogDriver& d) {
        d.SetText(IDC_XFER_RECEIVE_FILE, folderOnly);
        d.Press(IDC_XFER_RECEIVE);
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "Specify full receive filename");
        d.SetText(IDC_XFER_RECEIVE_FILE, Path("in\\old.txt"));
        d.Press(IDC_XFER_RECEIVE);  // answered No
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "File " + Path("in\\old.txt") + ": exists, overwrite?");
        EXPECT_EQ(hook.messages.back().type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
        d.Press(IDC_XFER_RECEIVE);  // answered Yes
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDC_XFER_RECEIVE);
    EXPECT_EQ(fields.receivePath, Path("in\\old.txt"));

    rec->AProtocol = 4;  // Y-Modem: the sender names the file, a folder will do
    hook.Expect(IDD_START_TRANSFER, [&](FwDialogDriver& d) {
        d.SetText(IDC_XFER_RECEIVE_FILE, Path("nowhere") + "\\");
        d.Press(IDC_XFER_RECEIVE);
        EXPECT_TRUE(d.Open());
        d.SetText(IDC_XFER_RECEIVE_FILE, folderOnly);
        d.Press(IDC_XFER_RECEIVE);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDC_XFER_RECEIVE);
    EXPECT_EQ(hook.messages.back().text, "Directory " + Path("nowhere") + "\\: must exist");
}

TEST_F(StartTransfer, GetNeedsARemoteFileAndFinishServerEndsWithItsCode)
{
    rec->AProtocol = 0;
    hook.Expect(IDD_START_TRANSFER, [this](FwDialogDriver& d) {
        d.Press(IDC_XFER_GET);
        ASSERT_TRUE(d.Open());
        EXPECT_EQ(hook.messages.back().text, "Specify a remote file to get");
        d.SetText(IDC_XFER_REMOTE_FILE, "report.txt");
        d.Press(IDC_XFER_GET);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDC_XFER_GET);
    EXPECT_EQ(fields.remoteFile, "report.txt");

    hook.Expect(IDD_START_TRANSFER, [](FwDialogDriver& d) {
        d.SetText(IDC_XFER_REMOTE_FILE, "other.txt");
        d.Press(IDC_XFER_FINISH_SERVER);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDC_XFER_FINISH_SERVER);
    EXPECT_EQ(fields.remoteFile, "report.txt");  // not brought back for Finish
}

TEST_F(StartTransfer, AbortTransferEndsWithItsCodeAndBringsNothingBack)
{
    rec->AProtocol = 5;
    fields.sendPath = "a.txt";
    hook.Expect(IDD_START_TRANSFER, [](FwDialogDriver& d) {
        d.SetText(IDC_XFER_SEND_FILE, "b.txt");
        d.Press(IDC_XFER_ABORT);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, true), IDC_XFER_ABORT);
    EXPECT_EQ(fields.sendPath, "a.txt");
}

TEST_F(StartTransfer, ProtocolAndSettingsChangesTheDialogAndIsReported)
{
    rec->AProtocol = 0;
    fields.workingDirectory = "C:\\old";
    hook.Expect(IDD_START_TRANSFER, [this](FwDialogDriver& d) {
        d.SetText(IDC_XFER_SEND_FILE, "typed.txt");
        d.Press(IDC_XFER_SETTINGS);
        EXPECT_EQ(d.Caption(), "Async protocol is: Y-Modem");
        EXPECT_FALSE(d.Visible(IDC_XFER_GET));
        EXPECT_EQ(d.Text(IDC_XFER_SEND_FILE), "typed.txt");
        EXPECT_EQ(d.Text(IDC_XFER_DIRECTORY), previous.string());  // no working folder: the current one
        d.Press(IDOK);
    });
    hook.Expect(IDD_ASYNC_TRANSFER, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_ASYNC_DIRECTORY), "C:\\old");
        d.Click(IDC_ASYNC_KERMIT + 4);
        d.SetText(IDC_ASYNC_DIRECTORY, "");
        d.Press(IDOK);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDOK);
    EXPECT_EQ(rec->AProtocol, 4);
    EXPECT_TRUE(fields.settingsChanged);
    EXPECT_EQ(fields.sendPath, "typed.txt");
    EXPECT_EQ(fields.workingDirectory, "");
}

TEST_F(StartTransfer, TheWorkingFolderIsCurrentWhileTheDialogIsOpen)
{
    const std::filesystem::path before = std::filesystem::current_path();
    fields.workingDirectory = Path("in");
    hook.Expect(IDD_START_TRANSFER, [this](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_XFER_DIRECTORY), Path("in"));
        EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folder / "in"));
        d.Press(IDOK);
    });
    EXPECT_EQ(StartTransferDialog(*rec, nullptr, fields, false), IDOK);
    EXPECT_EQ(std::filesystem::current_path(), before);

    fields.workingDirectory.clear();
    hook.Expect(IDD_START_TRANSFER, [&](FwDialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_XFER_DIRECTORY), before.string());
        d.Press(IDCANCEL);
    });
    StartTransferDialog(*rec, nullptr, fields, false);
}

TEST_F(StartTransfer, TheViewsCallRunsOnTheSessionRecord)
{
    Rec->AProtocol = 5;
    hook.Expect(IDD_START_TRANSFER, [](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "Async protocol is: Z-Modem");
        EXPECT_TRUE(d.Visible(IDC_XFER_ABORT));
        d.Press(IDC_XFER_ABORT);
    });
    EXPECT_EQ(RunStartTransferDialog(nullptr, fields, true), IDC_XFER_ABORT);
    Rec->AProtocol = 0;
}

}  // namespace
