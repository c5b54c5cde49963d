// The DDE settings as the dialog edits them: every text lands in its own setting, cut to the 12
// characters it holds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/dde_settings_values.h"

namespace {

TEST(DdeSettingsValues, EachFieldReachesItsSettingCutToTwelveCharacters)
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 'x', sizeof *rec);  // no NUL anywhere to begin with
    DdeSettingsValues v;
    v.clientEnable = 1, v.serverEnable = 1, v.destination = 1;
    v.sendToItem = "item", v.sendToService = "service", v.sendToTopic = "topic";
    v.clientService = "client", v.startRecording = "start", v.stopRecording = "stop";
    v.delimiter = "|;";  // stored as typed
    v.serverService = "ABCDEFGHIJKLMNOP", v.serverTopic = "123456789012";
    StoreDdeValues(v, *rec);

    const struct {
        const char (&field)[13];
        const char* text;
    } cases[] = {
        {rec->DdeClientSendToItemName, "item"},     {rec->DdeClientSendToServiceName, "service"},
        {rec->DdeClientSendToTopicName, "topic"},   {rec->DdeClientServiceName, "client"},
        {rec->DdeClientStartRecordOn, "start"},     {rec->DdeClientStopRecordOn, "stop"},
        {rec->DdeDelimiter, "|;"},                  {rec->DdeServerServiceName, "ABCDEFGHIJKL"},
        {rec->DdeServerTopicName, "123456789012"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.field, c.text);
        EXPECT_EQ(c.field[12], '\0') << c.text;
    }
    EXPECT_EQ(std::string(rec->DdeClientTopicName, 13), std::string(13, 'x'));  // not the dialog's
    EXPECT_EQ(rec->DdeClientEnable, 1);
    EXPECT_EQ(rec->DdeServerEnable, 1);
    EXPECT_EQ(rec->DdeRadioDynamic, 1);

    const DdeSettingsValues back = DdeValuesFrom(*rec);
    EXPECT_EQ(back.serverService, "ABCDEFGHIJKL");
    EXPECT_EQ(back.delimiter, "|;");
    EXPECT_EQ(back.destination, 1);
}

TEST(DdeSettingsValues, NoDestinationChosenKeepsTheSetting)
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
    rec->DdeRadioDynamic = 1;
    DdeSettingsValues v;  // a new dialog: no button checked
    StoreDdeValues(v, *rec);
    EXPECT_EQ(rec->DdeRadioDynamic, 1);
    // A setting without its NUL (a damaged record) is read as its 12 characters.
    std::memset(rec->DdeDelimiter, '#', sizeof rec->DdeDelimiter);
    EXPECT_EQ(DdeValuesFrom(*rec).delimiter, std::string(12, '#'));
}

}  // namespace
