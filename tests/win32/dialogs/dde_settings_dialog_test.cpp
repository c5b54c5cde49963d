// The DDE Settings dialog driven by control id: OK stores every field and announces the restart,
// Cancel leaves the settings alone, and a name longer than 12 characters keeps the dialog open.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "dialogs/win32/dde_settings_dlg.h"
#include "fw_dialog_test_hook.h"
#include "resource_ids.h"
#include "shell/session_document.h"
#include "shell/win32/transfer_settings_commands.h"
#include "shell/win32/win32_prompts.h"

namespace {

class DdeSettingsDialog : public ::testing::Test {
protected:
    DdeSettingsDialog() : rec(new SettingsRecord())
    {
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        std::strcpy(rec->DdeServerServiceName, "TOLVI");
        std::strcpy(rec->DdeServerTopicName, "SESSION");
        std::strcpy(rec->DdeDelimiter, "|");
        rec->DdeServerEnable = 1;
        doc.record = rec.get();
        FwSetDialogTestHook(&hook);
        // The shell's messages as Tolvi shows them: message boxes, answered by the hook.
        SetPrompts(&prompts);
    }
    ~DdeSettingsDialog() override
    {
        SetPrompts(nullptr);
        FwSetDialogTestHook(nullptr);
        EXPECT_EQ(hook.unexpectedDialogs, 0);
        EXPECT_TRUE(hook.scripts.empty());
    }
    std::string Snapshot() const { return std::string(reinterpret_cast<const char*>(rec.get()), sizeof *rec); }

    std::unique_ptr<SettingsRecord> rec;
    CZolexDoc doc;
    FwDialogTestHook hook;
    Win32Prompts prompts;
};

constexpr const char* kRestart = "Restart Tolvi for new DDE settings to take effect.";

TEST_F(DdeSettingsDialog, OkStoresEveryFieldAndAnnouncesTheRestart)
{
    const struct {
        int id;
        const char* text;
        char (SettingsRecord::*field)[13];
    } fields[] = {
        {IDC_DDE_SERVER_SERVICE, "SRVNAME", &SettingsRecord::DdeServerServiceName},
        {IDC_DDE_SERVER_TOPIC, "123456789012", &SettingsRecord::DdeServerTopicName},
        {IDC_DDE_CLIENT_SERVICE, "CLIENT", &SettingsRecord::DdeClientServiceName},
        {IDC_DDE_START_RECORDING, "BEGIN", &SettingsRecord::DdeClientStartRecordOn},
        {IDC_DDE_STOP_RECORDING, "END", &SettingsRecord::DdeClientStopRecordOn},
        {IDC_DDE_DELIMITER, ";;", &SettingsRecord::DdeDelimiter},
        {IDC_DDE_SEND_SERVICE, "EXCEL", &SettingsRecord::DdeClientSendToServiceName},
        {IDC_DDE_SEND_TOPIC, "Sheet1", &SettingsRecord::DdeClientSendToTopicName},
        {IDC_DDE_SEND_ITEM, "R1C1", &SettingsRecord::DdeClientSendToItemName},
    };
    hook.Expect(IDD_DDE_SETTINGS, [&fields](FwDialogDriver& d) {
        EXPECT_EQ(d.Caption(), "DDE Settings");
        EXPECT_EQ(d.Text(IDC_DDE_SERVER_SERVICE), "TOLVI");
        EXPECT_TRUE(d.Checked(IDC_DDE_SERVER_ENABLE));
        EXPECT_TRUE(d.Checked(IDC_DDE_DYNAMIC));
        for (const auto& f : fields) EXPECT_TRUE(d.SetText(f.id, f.text)) << f.id;
        d.SetCheck(IDC_DDE_SERVER_ENABLE, false);
        d.SetCheck(IDC_DDE_CLIENT_ENABLE, true);
        d.Click(IDC_DDE_FIXED);
        EXPECT_FALSE(d.Checked(IDC_DDE_DYNAMIC));
        d.Press(IDOK);
    });
    DdeSettingsCommand(doc, nullptr);
    for (const auto& f : fields) EXPECT_STREQ((*rec).*f.field, f.text) << f.id;
    EXPECT_EQ(rec->DdeServerEnable, 0);
    EXPECT_EQ(rec->DdeClientEnable, 1);
    EXPECT_EQ(rec->DdeRadioDynamic, 1);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, kRestart);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DdeSettingsDialog, OkWithoutChangesStillAnnouncesAndModifies)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_DDE_SETTINGS, [](FwDialogDriver& d) { d.Press(IDOK); });
    DdeSettingsCommand(doc, nullptr);
    EXPECT_EQ(Snapshot(), before);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text, kRestart);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DdeSettingsDialog, ThirteenCharactersInAnyFieldAreRefusedAndCancelKeepsEverything)
{
    const std::string before = Snapshot();
    hook.Expect(IDD_DDE_SETTINGS, [this](FwDialogDriver& d) {
        for (int id : {IDC_DDE_SEND_ITEM, IDC_DDE_SEND_SERVICE, IDC_DDE_SEND_TOPIC, IDC_DDE_CLIENT_SERVICE,
                       IDC_DDE_START_RECORDING, IDC_DDE_STOP_RECORDING, IDC_DDE_DELIMITER, IDC_DDE_SERVER_SERVICE,
                       IDC_DDE_SERVER_TOPIC}) {
            const std::string kept = d.Text(id);
            d.SetText(id, "ABCDEFGHIJKLM");
            d.Press(IDOK);
            ASSERT_TRUE(d.Open()) << id;
            EXPECT_EQ(hook.messages.back().text, "Please enter no more than 12 characters.");
            EXPECT_EQ(GetFocus(), GetDlgItem(d.Handle(), id));
            d.SetText(id, kept);
        }
        d.SetCheck(IDC_DDE_CLIENT_ENABLE, true);
        d.Press(IDCANCEL);
    });
    DdeSettingsCommand(doc, nullptr);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(hook.messages.size(), 9u);  // no restart message
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
