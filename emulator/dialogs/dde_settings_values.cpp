#include "dialogs/dde_settings_values.h"

#include <cstring>

namespace {

template <std::size_t N>
void StoreName(char (&field)[N], const std::string& text)
{
    static_assert(N == kDdeNameLimit + 1, "DDE name settings hold 12 characters");
    const std::size_t n = text.copy(field, kDdeNameLimit);
    std::memset(field + n, 0, N - n);
}

template <std::size_t N>
std::string NameOf(const char (&field)[N])
{
    return std::string(field, strnlen(field, N - 1));
}

}  // namespace

DdeSettingsValues DdeValuesFrom(const SettingsRecord& rec)
{
    DdeSettingsValues v;
    v.clientEnable = rec.DdeClientEnable;
    v.sendToItem = NameOf(rec.DdeClientSendToItemName);
    v.sendToService = NameOf(rec.DdeClientSendToServiceName);
    v.sendToTopic = NameOf(rec.DdeClientSendToTopicName);
    v.clientService = NameOf(rec.DdeClientServiceName);
    v.startRecording = NameOf(rec.DdeClientStartRecordOn);
    v.stopRecording = NameOf(rec.DdeClientStopRecordOn);
    v.delimiter = NameOf(rec.DdeDelimiter);
    v.serverEnable = rec.DdeServerEnable;
    v.serverService = NameOf(rec.DdeServerServiceName);
    v.serverTopic = NameOf(rec.DdeServerTopicName);
    v.destination = rec.DdeRadioDynamic;
    return v;
}

void StoreDdeValues(const DdeSettingsValues& v, SettingsRecord& rec)
{
    rec.DdeClientEnable = v.clientEnable;
    rec.DdeServerEnable = v.serverEnable;
    if (v.destination >= 0) rec.DdeRadioDynamic = v.destination;
    StoreName(rec.DdeClientSendToItemName, v.sendToItem);
    StoreName(rec.DdeClientSendToServiceName, v.sendToService);
    StoreName(rec.DdeClientSendToTopicName, v.sendToTopic);
    StoreName(rec.DdeClientServiceName, v.clientService);
    StoreName(rec.DdeClientStartRecordOn, v.startRecording);
    StoreName(rec.DdeClientStopRecordOn, v.stopRecording);
    StoreName(rec.DdeDelimiter, v.delimiter);
    StoreName(rec.DdeServerServiceName, v.serverService);
    StoreName(rec.DdeServerTopicName, v.serverTopic);
}
