// The General Settings dialog's window-free side: the members taken from the record and stored
// back (indexes, flow bits, list values kept when nothing was chosen), the host name kept while
// connected, and the enabling and family rules.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/general_settings_values.h"
#include "dialogs/settings_value_tables.h"

namespace {

std::unique_ptr<SettingsRecord> Record()
{
    auto rec = std::make_unique<SettingsRecord>();
    rec->ComType = 2;
    rec->Port = 3;
    rec->ByteSize = 7;
    rec->BaudRateLong = 19200;
    rec->Parity = 1;
    rec->StopBits = 2;
    rec->FlowCtrl = 0x10 | 4 | 1;  // a bit the dialog does not show
    rec->NetWork = 3;
    rec->Lana = 10;
    std::strcpy(rec->HostName, "unix.example");
    rec->TelnetPort = 2323;
    rec->Platform = 10;
    rec->Country = 46;
    rec->Language = 358;
    rec->GeneralSpare[1] = 1;
    return rec;
}

TEST(GeneralSettingsValues, RecordValuesRoundTripThroughTheMembers)
{
    auto rec = Record();
    const GeneralSettingsValues v = GeneralValuesFrom(*rec);
    EXPECT_EQ(v.comType, 2);
    EXPECT_EQ(v.portIndex, 2);
    EXPECT_EQ(v.byteSizeIndex, 2);
    EXPECT_EQ(v.flowDtrDsr, 1);
    EXPECT_EQ(v.flowRtsCts, 0);
    EXPECT_EQ(v.flowXonXoff, 1);
    EXPECT_EQ(v.lana, 10);
    EXPECT_EQ(v.hostName, "unix.example");
    EXPECT_EQ(v.parityCheck, 1);

    auto copy = std::make_unique<SettingsRecord>(*rec);
    const GeneralSettingsChanges changes = StoreGeneralValues(v, *copy, false);
    EXPECT_EQ(std::memcmp(copy.get(), rec.get(), sizeof *rec), 0);  // unchanged values store as they were
    EXPECT_FALSE(changes.family || changes.platform || changes.country || changes.language);
}

TEST(GeneralSettingsValues, EditedMembersReachTheirSettings)
{
    auto rec = Record();
    GeneralSettingsValues v = GeneralValuesFrom(*rec);
    v.comType = 0, v.portIndex = 8, v.byteSizeIndex = 3, v.baudRate = 115200;
    v.flowDtrDsr = 0, v.flowRtsCts = 1, v.flowXonXoff = 0, v.parityCheck = 0, v.lana = 0;
    v.hostName = std::string(60, 'h');
    v.language = 49, v.family3270 = 1;
    const GeneralSettingsChanges changes = StoreGeneralValues(v, *rec, false);
    EXPECT_EQ(rec->ComType, 0);
    EXPECT_EQ(rec->Port, 9);
    EXPECT_EQ(rec->ByteSize, 8);
    EXPECT_EQ(rec->BaudRateLong, 115200);
    EXPECT_EQ(rec->FlowCtrl, 0x10 | 2);
    EXPECT_EQ(rec->GeneralSpare[1], 0);
    EXPECT_EQ(rec->Lana, 0);
    EXPECT_EQ(std::string(rec->HostName), std::string(60, 'h'));
    EXPECT_EQ(rec->HostName[60], '\0');
    EXPECT_EQ(rec->HostNameMissing, 0);
    EXPECT_TRUE(changes.language);
    EXPECT_TRUE(changes.family);
    EXPECT_FALSE(changes.platform);
}

// A stored value outside its list shows no selection (index -1, or a list value that no entry
// carries) and is kept by a store.
TEST(GeneralSettingsValues, ValuesOutsideTheirListsAreKept)
{
    auto rec = Record();
    rec->Port = 12;
    rec->ByteSize = 9;
    rec->Lana = 40;
    rec->BaudRateLong = 76800;
    const GeneralSettingsValues v = GeneralValuesFrom(*rec);
    EXPECT_EQ(v.portIndex, -1);
    EXPECT_EQ(v.byteSizeIndex, -1);
    EXPECT_EQ(v.lana, -1);
    EXPECT_EQ(kBaudRateTable.IndexOf(v.baudRate), -1);
    StoreGeneralValues(v, *rec, false);
    EXPECT_EQ(rec->Port, 12);
    EXPECT_EQ(rec->ByteSize, 9);
    EXPECT_EQ(rec->Lana, 40);
    EXPECT_EQ(rec->BaudRateLong, 76800);
}

// A Telnet host stored as "name:port" shows as the name and its port, the ones the connection
// uses; anything else that holds a ':' stays as it is.
TEST(GeneralSettingsValues, HostWithPortShowsApart)
{
    const struct {
        const char* stored;
        int comType;
        const char* host;
        int port;
    } cases[] = {
        {"127.0.0.1:2363", kTelnetComType, "127.0.0.1", 2363},
        {"unix.example:65535", kTelnetComType, "unix.example", 65535},
        {"127.0.0.1:2363", 1, "127.0.0.1:2363", 23},  // NetBIOS names are names
        {"unix.example:0", kTelnetComType, "unix.example:0", 23},
        {"unix.example:65536", kTelnetComType, "unix.example:65536", 23},
        {"unix.example:23x", kTelnetComType, "unix.example:23x", 23},
        {":2363", kTelnetComType, ":2363", 23},
        {"a:b:2363", kTelnetComType, "a:b:2363", 23},
        {"unix.example:", kTelnetComType, "unix.example:", 23},
    };
    for (const auto& c : cases) {
        auto rec = Record();
        rec->ComType = c.comType;
        rec->TelnetPort = 23;
        std::strcpy(rec->HostName, c.stored);
        const GeneralSettingsValues v = GeneralValuesFrom(*rec);
        EXPECT_EQ(v.hostName, c.host) << c.stored;
        EXPECT_EQ(v.telnetPort, c.port) << c.stored;
        if (c.comType != kTelnetComType) continue;
        StoreGeneralValues(v, *rec, false);
        EXPECT_STREQ(rec->HostName, c.host);
        EXPECT_EQ(rec->TelnetPort, c.port);
    }
}

TEST(GeneralSettingsValues, WhileConnectedTheHostNameIsKept)
{
    auto rec = Record();
    GeneralSettingsValues v = GeneralValuesFrom(*rec);
    v.hostName = "";
    StoreGeneralValues(v, *rec, true);
    EXPECT_STREQ(rec->HostName, "unix.example");
    EXPECT_EQ(rec->HostNameMissing, 0);
    StoreGeneralValues(v, *rec, false);
    EXPECT_STREQ(rec->HostName, "");
    EXPECT_EQ(rec->HostNameMissing, 1);
}

TEST(GeneralSettingsValues, EnablingRule)
{
    const struct {
        int comType;
        bool connected;
        GeneralEnabling expected;
    } cases[] = {
        {0, false, {false, true, false, false, true}},
        {1, false, {false, false, true, true, true}},
        {2, false, {true, false, true, true, true}},
        {2, true, {true, false, true, false, false}},
        {0, true, {false, true, false, false, false}},
    };
    for (const auto& c : cases) {
        const GeneralEnabling e = GeneralEnablingFor(c.comType, c.connected);
        EXPECT_EQ(e.telnetPort, c.expected.telnetPort) << c.comType << c.connected;
        EXPECT_EQ(e.serial, c.expected.serial) << c.comType << c.connected;
        EXPECT_EQ(e.lan, c.expected.lan) << c.comType << c.connected;
        EXPECT_EQ(e.adapter, c.expected.adapter) << c.comType << c.connected;
        EXPECT_EQ(e.connectionType, c.expected.connectionType) << c.comType << c.connected;
    }
}

TEST(GeneralSettingsValues, FamilyRuleOnClickAndAtOk)
{
    EXPECT_EQ(FamilyClickRefusal(true, true, 2), kMsgDisconnectFirst);
    EXPECT_EQ(FamilyClickRefusal(true, false, 2), kMsgDisconnectFirst);
    EXPECT_EQ(FamilyClickRefusal(false, true, 0), kMsgTelnetOnly);
    EXPECT_EQ(FamilyClickRefusal(false, true, 1), kMsgTelnetOnly);
    EXPECT_EQ(FamilyClickRefusal(false, true, 2), 0);
    EXPECT_EQ(FamilyClickRefusal(false, false, 0), 0);  // switching it off always stands

    GeneralSettingsValues v;
    v.family3270 = 1, v.comType = 2;
    EXPECT_EQ(FamilyOkRefusal(v), 0);
    v.comType = 0;  // Async chosen after the box was checked
    EXPECT_EQ(FamilyOkRefusal(v), kMsgTelnetOnly);
    v.family3270 = 0;
    EXPECT_EQ(FamilyOkRefusal(v), 0);
}

TEST(SettingsValueTables, LookUpsAndTheirEnds)
{
    const struct {
        const SettingsValueTable& table;
        int baseId;
        std::size_t count;
        long first, last;
    } cases[] = {
        {kBaudRateTable, 800, 13, 110, 256000}, {kParityTable, 816, 5, 0, 4},
        {kStopBitsTable, 832, 3, 0, 2},         {kNetworkTable, 1250, 4, 1, 4},
        {kPlatformTable, 1360, 10, 1, 9},       {kCountryTable, 1306, 14, 1, 44},
        {kLanguageTable, 1330, 9, 0, 46},       {kEmulationTable, 1402, 12, 11, 9},
        {kCharsetTable, 1280, 4, 1, 4},         {kModel3270Table, 1430, 8, 16, 23},
        {kNationalTable, 1284, 19, 5, 23},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.table.baseId, c.baseId);
        ASSERT_EQ(c.table.count, c.count) << c.baseId;
        EXPECT_EQ(c.table.values[0], c.first) << c.baseId;
        EXPECT_EQ(c.table.values[c.count - 1], c.last) << c.baseId;
        EXPECT_EQ(c.table.ValueAt(-1, 777), 777);
        EXPECT_EQ(c.table.ValueAt(static_cast<int>(c.count), 777), 777);
    }
    // 128k follows 56k: 57600 and 115200 are not in the list; the parity list is not in value
    // order.
    EXPECT_EQ(kBaudRateTable.IndexOf(128000), 11);
    EXPECT_EQ(kBaudRateTable.IndexOf(57600), -1);
    EXPECT_EQ(kBaudRateTable.IndexOf(115200), -1);
    EXPECT_EQ(kParityTable.IndexOf(1), 2);
    EXPECT_EQ(kPlatformTable.IndexOf(kMainframePlatform), 9);
    EXPECT_EQ(kEmulationTable.IndexOf(4), 5);
}

}  // namespace
