// The values of the file-transfer settings dialogs: taken from the record and stored back, reset
// values, the Protocol Settings button, and the Start dialog's buttons and file checks.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "dialogs/start_transfer_checks.h"
#include "dialogs/transfer_protocol_settings.h"

namespace {

std::unique_ptr<SettingsRecord> ZeroRecord()
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
    return rec;
}

// The stored Kermit block of a new configuration.
KermitParms DefaultKermit()
{
    KermitParms k{};
    k.Fixed0 = 30, k.Fixed1 = 10, k.Fixed2 = 1, k.Fixed3 = 0, k.Fixed4 = 1, k.Fixed5 = 25, k.FixedByte6 = 1;
    k.PacketLength = 94, k.Timeout = 10, k.Padding = 0, k.Padchar = 0, k.Eol = 13;
    k.Quotechar = '#', k.Quote8char = '&', k.ChkType = 0, k.Reptchar = '~', k.Winsize = 0;
    return k;
}

TEST(KermitValues, EveryFieldGoesToItsByteAndBack)
{
    KermitParms stored{};
    const KermitSettingsValues typed{3, 4, 0, 2, 0, 7, 2, 512, 11, 5, 6, 10, "!", "^", "*", 8, 2};
    StoreKermitValues(typed, stored);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&stored);
    int32_t packet;
    std::memcpy(&packet, bytes + 25, 4);
    EXPECT_EQ(packet, 512);
    EXPECT_EQ(bytes[24], 2);   // start of packet
    EXPECT_EQ(bytes[39], '!'); // control quote
    EXPECT_EQ(bytes[40], '*'); // 8-bit quote
    EXPECT_EQ(bytes[41], 2);   // 16-bit CRC
    EXPECT_EQ(bytes[42], '^'); // repeat prefix
    const KermitSettingsValues back = KermitValuesFrom(stored);
    EXPECT_EQ(back.initialRetries, 3);
    EXPECT_EQ(back.quote8Mode, 2);
    EXPECT_EQ(back.windowSize, 8);
    EXPECT_EQ(back.quoteChar, "!");
    EXPECT_EQ(back.repeatChar, "^");
    EXPECT_EQ(back.quote8Char, "*");
    EXPECT_EQ(back.padChar, 6);
}

TEST(KermitValues, ResetGivesTheNewConfigurationBlockButKeepsRunLength)
{
    for (int runLength : {0, 1}) {
        KermitSettingsValues v{1, 1, 0, 2, runLength, 1, 9, 1024, 1, 50, 255, 0, "x", "y", "z", 8, 1};
        ResetKermitValues(v);
        EXPECT_EQ(v.runLength, runLength);
        KermitParms stored = DefaultKermit();
        stored.Fixed4 = 7;
        StoreKermitValues(v, stored);
        KermitParms expected = DefaultKermit();
        expected.Fixed4 = runLength;
        EXPECT_EQ(std::memcmp(&stored, &expected, sizeof stored), 0) << runLength;
    }
}

TEST(KermitValues, OneCharacterFieldsStoreTheirFirstCharacterAndNeverANul)
{
    KermitParms stored = DefaultKermit();
    KermitSettingsValues v = KermitValuesFrom(stored);
    v.quoteChar = "%%";
    v.repeatChar = "";
    StoreKermitValues(v, stored);
    EXPECT_EQ(stored.Quotechar, '%');
    EXPECT_EQ(stored.Reptchar, '~');
    // A NUL character in the block shows as an empty field.
    stored.Quote8char = 0;
    EXPECT_EQ(KermitValuesFrom(stored).quote8Char, "");
}

TEST(XYModemValues, RoundTripAndReset)
{
    XYModemParms stored{};
    stored.ForceLow = 1;
    StoreXYModemValues({30, 5, 26, 3}, stored);
    EXPECT_EQ(stored.Padchar, 26);
    EXPECT_EQ(+stored.ForceLow, 1);  // not edited here
    XYModemSettingsValues v = XYModemValuesFrom(stored);
    EXPECT_EQ(v.timeout, 30);
    EXPECT_EQ(v.maxErrors, 5);
    EXPECT_EQ(v.retries, 3);
    ResetXYModemValues(v);
    EXPECT_EQ(v.timeout, 20);
    EXPECT_EQ(v.maxErrors, 10);
    EXPECT_EQ(v.padChar, 0);
    EXPECT_EQ(v.retries, 10);
}

TEST(ZModemValues, RadioGroupsWithoutChoiceKeepTheirSetting)
{
    auto rec = ZeroRecord();
    rec->Manag = 3, rec->Conv = 2, rec->FnManag = 1;
    StoreZModemValues({-1, 0, -1, 1, 1, 1}, *rec);
    EXPECT_EQ(rec->Manag, 3);
    EXPECT_EQ(rec->Conv, 0);
    EXPECT_EQ(rec->FnManag, 1);
    EXPECT_EQ(rec->EscCtl + rec->NoCrc32 + rec->Unlink, 3);
    ZModemSettingsValues v = ZModemValuesFrom(*rec);
    ResetZModemValues(v);
    StoreZModemValues(v, *rec);
    EXPECT_EQ(rec->Manag, 6);
    EXPECT_EQ(rec->Conv, 1);
    EXPECT_EQ(rec->FnManag, 0);
    EXPECT_EQ(rec->EscCtl, 1);
    EXPECT_EQ(rec->NoCrc32, 0);
    EXPECT_EQ(rec->Unlink, 0);
}

TEST(AsyncValues, AProtocolStaysInsideTheProtocolTable)
{
    auto rec = ZeroRecord();
    std::string directory;
    rec->AProtocol = 9;  // from a hand-edited configuration
    AsyncTransferValues v = AsyncValuesFrom(*rec, std::string(200, 'd'));
    EXPECT_EQ(v.protocol, -1);
    EXPECT_EQ(v.directory.size(), kTransferDirectoryLimit);
    StoreAsyncValues(v, *rec, directory);
    EXPECT_EQ(rec->AProtocol, 9);  // no choice: kept
    v.protocol = 4;
    v.autoDetect = 1, v.aclCodes = 1, v.confirmErrors = 1;
    StoreAsyncValues(v, *rec, directory);
    EXPECT_EQ(rec->AProtocol, 4);
    EXPECT_EQ(rec->AutoDetectReceive + rec->AclCompletionCodes + rec->AXferConfirmError, 3);
    EXPECT_STREQ(AsyncProtocolName(9), "");
    EXPECT_STREQ(AsyncProtocolName(-1), "");
    EXPECT_EQ(StartTransferCaption(3), "Async protocol is: X-Modem CRC");
}

TEST(AsyncValues, ProtocolSettingsButtonFollowsTheProtocolAndItsLock)
{
    auto rec = ZeroRecord();
    const struct {
        int protocol;
        int32_t SettingsRecord::*lock;
        const char* text;
    } cases[] = {
        {0, &SettingsRecord::LockKermit, "Kermit ..."},   {1, &SettingsRecord::LockXYModem, "X/Y-Modem ..."},
        {4, &SettingsRecord::LockXYModem, "X/Y-Modem ..."}, {5, &SettingsRecord::LockZModem, "Z-Modem ..."},
    };
    for (const auto& c : cases) {
        (*rec).*c.lock = 0;
        ProtocolSettingsButton button = ProtocolSettingsButtonFor(c.protocol, *rec);
        EXPECT_EQ(button.text, c.text);
        EXPECT_TRUE(button.enabled);
        (*rec).*c.lock = 1;
        button = ProtocolSettingsButtonFor(c.protocol, *rec);
        EXPECT_EQ(button.text, "Locked ...") << c.protocol;
        EXPECT_FALSE(button.enabled);
        (*rec).*c.lock = 0;
    }
}

TEST(StartTransferButtons, KermitButtonsAbortAndSettingsFollowTheState)
{
    const struct {
        int protocol;
        bool running, allowed, locked;
        StartTransferButtons shown;
    } cases[] = {
        {0, false, true, false, {true, true, false, true}},
        {0, true, true, false, {true, false, true, true}},
        {5, false, true, false, {false, false, false, true}},
        {2, true, false, false, {false, false, true, false}},
        {4, false, true, true, {false, false, false, false}},
    };
    for (const auto& c : cases) {
        const StartTransferButtons b = StartTransferButtonsFor(c.protocol, c.running, c.allowed, c.locked);
        EXPECT_EQ(b.kermitOnly, c.shown.kermitOnly) << c.protocol << c.running;
        EXPECT_EQ(b.finishServer, c.shown.finishServer) << c.protocol << c.running;
        EXPECT_EQ(b.abort, c.shown.abort) << c.protocol << c.running;
        EXPECT_EQ(b.settings, c.shown.settings) << c.protocol << c.running;
    }
}

class FakeFiles : public TransferFileProbe {
public:
    std::set<std::string> files, folders, readOnly;
    bool Exists(const std::string& p) override { return files.count(p) || folders.count(p); }
    bool IsDirectory(const std::string& p) override { return folders.count(p) > 0; }
    bool Writable(const std::string& p) override { return Exists(p) && !readOnly.count(p); }
    bool Readable(const std::string& p) override { return files.count(p) > 0; }
};

TEST(TransferFileChecks, ReceiveChecksInOrder)
{
    FakeFiles fs;
    fs.files = {"C:\\in\\old.txt", "C:\\in\\locked.txt"};
    fs.folders = {"C:\\in\\", "C:\\in"};
    fs.readOnly = {"C:\\in\\locked.txt"};
    using K = TransferFileCheck;
    const struct {
        const char* path;
        int protocol;
        K::Kind kind;
        const char* message;
    } cases[] = {
        {"", 1, K::kRefuse, "Specify full receive filename"},
        {"C:\\in\\", 2, K::kRefuse, "Specify full receive filename"},
        {"C:\\in\\", 3, K::kRefuse, "Specify full receive filename"},
        {"C:\\in\\", 4, K::kAccept, ""},  // Y-Modem: the sender names the file
        {"C:\\in\\", 5, K::kAccept, ""},
        {"", 0, K::kAccept, ""},
        {"C:\\none\\", 4, K::kRefuse, "Directory C:\\none\\: must exist"},
        {"C:\\in\\new.txt", 1, K::kAccept, ""},
        {"C:\\in\\locked.txt", 1, K::kRefuse, "File C:\\in\\locked.txt: has no write permission"},
        {"C:\\in", 0, K::kRefuse, "C:\\in is a Directory."},
        {"C:\\in\\old.txt", 5, K::kConfirm, "File C:\\in\\old.txt: exists, overwrite?"},
    };
    for (const auto& c : cases) {
        const TransferFileCheck check = CheckReceiveFile(c.path, c.protocol, fs);
        EXPECT_EQ(check.kind, c.kind) << c.path << " " << c.protocol;
        EXPECT_EQ(check.message, c.message) << c.path << " " << c.protocol;
    }
}

TEST(TransferFileChecks, SendNeedsAReadableFileAndGetARemoteName)
{
    FakeFiles fs;
    fs.files = {"a.txt"};
    EXPECT_EQ(CheckSendFile("a.txt", fs).kind, TransferFileCheck::kAccept);
    EXPECT_EQ(CheckSendFile("b.txt", fs).message, "File b.txt: not available");
    EXPECT_EQ(CheckSendFile("", fs).message, "File : not available");
    EXPECT_EQ(CheckRemoteFile("x").kind, TransferFileCheck::kAccept);
    EXPECT_EQ(CheckRemoteFile("").message, "Specify a remote file to get");
}

}  // namespace
