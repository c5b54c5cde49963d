#include "dialogs/general_settings_values.h"

#include <cstring>

#include "dialogs/settings_value_tables.h"
#include "session/host_address.h"

namespace {

constexpr int kFlowDtrDsr = 1, kFlowRtsCts = 2, kFlowXonXoff = 4;
constexpr int kLanaEntries = 11;  // "0".."9", "AUTO"

// A stored index of a fixed list: -1 when the setting lies outside it.
int IndexWithin(int index, int count) { return index >= 0 && index < count ? index : -1; }

}  // namespace

GeneralSettingsValues GeneralValuesFrom(const SettingsRecord& rec)
{
    GeneralSettingsValues v;
    v.comType = rec.ComType >= 0 && rec.ComType <= 2 ? rec.ComType : -1;
    v.family3270 = rec.TerminalFamily3270 ? 1 : 0;
    v.portIndex = IndexWithin(rec.Port - 1, kSerialPorts);
    v.byteSizeIndex = IndexWithin(rec.ByteSize - 5, 4);
    v.baudRate = rec.BaudRateLong;
    v.parity = rec.Parity;
    v.stopBits = rec.StopBits;
    v.flowDtrDsr = (rec.FlowCtrl & kFlowDtrDsr) ? 1 : 0;
    v.flowRtsCts = (rec.FlowCtrl & kFlowRtsCts) ? 1 : 0;
    v.flowXonXoff = (rec.FlowCtrl & kFlowXonXoff) ? 1 : 0;
    v.parityCheck = rec.GeneralSpare[1];
    v.network = rec.NetWork;
    v.lana = IndexWithin(rec.Lana, kLanaEntries);
    v.hostName.assign(rec.HostName, strnlen(rec.HostName, sizeof rec.HostName - 1));
    v.telnetPort = rec.TelnetPort;
    // A Telnet host stored as "name:port" connects to that port: the fields show the name and it.
    if (rec.ComType == kTelnetComType) SplitHostPort(v.hostName, v.hostName, v.telnetPort);
    v.platform = rec.Platform;
    v.country = rec.Country;
    v.language = rec.Language;
    return v;
}

GeneralSettingsChanges StoreGeneralValues(const GeneralSettingsValues& v, SettingsRecord& rec, bool connected)
{
    GeneralSettingsChanges changes;
    changes.family = (v.family3270 != 0) != (rec.TerminalFamily3270 != 0);
    changes.platform = v.platform != rec.Platform;
    changes.country = v.country != rec.Country;
    changes.language = v.language != rec.Language;

    if (v.comType >= 0 && v.comType <= 2) rec.ComType = v.comType;
    rec.TerminalFamily3270 = v.family3270 ? 1 : 0;
    if (v.portIndex >= 0 && v.portIndex < kSerialPorts) rec.Port = v.portIndex + 1;
    if (v.byteSizeIndex >= 0 && v.byteSizeIndex < 4) rec.ByteSize = v.byteSizeIndex + 5;
    rec.BaudRateLong = static_cast<int32_t>(v.baudRate);
    rec.Parity = static_cast<int32_t>(v.parity);
    rec.StopBits = static_cast<int32_t>(v.stopBits);
    rec.FlowCtrl = (rec.FlowCtrl & ~(kFlowDtrDsr | kFlowRtsCts | kFlowXonXoff)) |
                   (v.flowDtrDsr ? kFlowDtrDsr : 0) | (v.flowRtsCts ? kFlowRtsCts : 0) |
                   (v.flowXonXoff ? kFlowXonXoff : 0);
    rec.GeneralSpare[1] = v.parityCheck;
    rec.NetWork = static_cast<int32_t>(v.network);
    if (v.lana >= 0 && v.lana < kLanaEntries) rec.Lana = v.lana;
    if (!connected) {
        const std::size_t n = v.hostName.copy(rec.HostName, kHostNameLimit);
        std::memset(rec.HostName + n, 0, sizeof rec.HostName - n);
    }
    rec.HostNameMissing = rec.HostName[0] == '\0' ? 1 : 0;
    rec.TelnetPort = v.telnetPort;
    rec.Platform = static_cast<int32_t>(v.platform);
    rec.Country = static_cast<int32_t>(v.country);
    rec.Language = static_cast<int32_t>(v.language);
    return changes;
}

GeneralEnabling GeneralEnablingFor(int comType, bool connected)
{
    const bool async = comType == kAsyncComType;
    return {comType == kTelnetComType, async, !async, !async && !connected, !connected};
}

int FamilyClickRefusal(bool connected, bool checked, int comType)
{
    if (connected) return kMsgDisconnectFirst;
    if (checked && comType != kTelnetComType) return kMsgTelnetOnly;
    return 0;
}

int FamilyOkRefusal(const GeneralSettingsValues& v)
{
    return v.family3270 && v.comType != kTelnetComType ? kMsgTelnetOnly : 0;
}
