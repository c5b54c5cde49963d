#include "dialogs/transfer_protocol_settings.h"

namespace {

constexpr const char* kProtocolNames[kProtocolCount] = {"Kermit", "X-Modem", "X-Modem 1K", "X-Modem CRC", "Y-Modem", "Z-Modem"};

bool InTable(int protocol) { return protocol >= 0 && protocol < kProtocolCount; }

std::string OneCharacter(uint8_t c) { return c ? std::string(1, static_cast<char>(c)) : std::string(); }

// A one-character field: its character; an empty field keeps the stored one.
uint8_t FirstCharacter(const std::string& text, uint8_t stored)
{
    return text.empty() ? stored : static_cast<uint8_t>(text[0]);
}

}  // namespace

const char* AsyncProtocolName(int protocol) { return InTable(protocol) ? kProtocolNames[protocol] : ""; }

bool ProtocolCarriesNoFileName(int protocol) { return protocol >= 1 && protocol <= 3; }

AsyncTransferValues AsyncValuesFrom(const SettingsRecord& rec, const std::string& directory)
{
    AsyncTransferValues v;
    v.protocol = InTable(rec.AProtocol) ? rec.AProtocol : -1;
    v.directory = directory.substr(0, kTransferDirectoryLimit);
    v.autoDetect = rec.AutoDetectReceive;
    v.aclCodes = rec.AclCompletionCodes;
    v.confirmErrors = rec.AXferConfirmError;
    return v;
}

void StoreAsyncValues(const AsyncTransferValues& values, SettingsRecord& rec, std::string& directory)
{
    if (InTable(values.protocol)) rec.AProtocol = values.protocol;
    directory = values.directory.substr(0, kTransferDirectoryLimit);
    rec.AutoDetectReceive = values.autoDetect;
    rec.AclCompletionCodes = values.aclCodes;
    rec.AXferConfirmError = values.confirmErrors;
}

ProtocolSettingsButton ProtocolSettingsButtonFor(int protocol, const SettingsRecord& rec)
{
    const char* name;
    int32_t locked;
    if (protocol == kProtocolKermit) {
        name = "Kermit";
        locked = rec.LockKermit;
    } else if (protocol == kProtocolZModem) {
        name = "Z-Modem";
        locked = rec.LockZModem;
    } else {
        name = "X/Y-Modem";
        locked = rec.LockXYModem;
    }
    if (locked) return {"Locked ...", false};
    return {std::string(name) + " ...", true};
}

KermitSettingsValues KermitValuesFrom(const KermitParms& p)
{
    KermitSettingsValues v;
    v.initialRetries = p.Fixed0;
    v.packetRetries = p.Fixed1;
    v.imageMode = p.Fixed2;
    v.quote8Mode = p.Fixed3;
    v.runLength = p.Fixed4;
    v.initialTimeout = p.Fixed5;
    v.startOfPacket = p.FixedByte6;
    v.maxPacket = p.PacketLength;
    v.timeout = p.Timeout;
    v.padding = p.Padding;
    v.padChar = p.Padchar;
    v.eol = p.Eol;
    v.quoteChar = OneCharacter(p.Quotechar);
    v.repeatChar = OneCharacter(p.Reptchar);
    v.quote8Char = OneCharacter(p.Quote8char);
    v.windowSize = p.Winsize;
    v.blockCheck = p.ChkType;
    return v;
}

void StoreKermitValues(const KermitSettingsValues& v, KermitParms& p)
{
    p.Fixed0 = v.initialRetries;
    p.Fixed1 = v.packetRetries;
    p.Fixed2 = v.imageMode;
    if (v.quote8Mode >= 0) p.Fixed3 = v.quote8Mode;
    p.Fixed4 = v.runLength;
    p.Fixed5 = v.initialTimeout;
    p.FixedByte6 = static_cast<uint8_t>(v.startOfPacket);
    p.PacketLength = v.maxPacket;
    p.Timeout = v.timeout;
    p.Padding = v.padding;
    p.Padchar = static_cast<uint8_t>(v.padChar);
    p.Eol = static_cast<uint8_t>(v.eol);
    p.Quotechar = FirstCharacter(v.quoteChar, p.Quotechar);
    p.Reptchar = FirstCharacter(v.repeatChar, p.Reptchar);
    p.Quote8char = FirstCharacter(v.quote8Char, p.Quote8char);
    p.Winsize = v.windowSize;
    if (v.blockCheck >= 0) p.ChkType = static_cast<uint8_t>(v.blockCheck);
}

void ResetKermitValues(KermitSettingsValues& v)
{
    const int runLength = v.runLength;
    v = KermitSettingsValues{30, 10, 1, 0, runLength, 25, 1, 94, 10, 0, 0, 13, "#", "~", "&", 0, 0};
}

XYModemSettingsValues XYModemValuesFrom(const XYModemParms& p) { return {p.Timeout, p.MaxErrors, p.Padchar, p.Retries}; }

void StoreXYModemValues(const XYModemSettingsValues& v, XYModemParms& p)
{
    p.Timeout = v.timeout;
    p.MaxErrors = v.maxErrors;
    p.Padchar = static_cast<uint8_t>(v.padChar);
    p.Retries = v.retries;
}

void ResetXYModemValues(XYModemSettingsValues& v) { v = {20, 10, 0, 10}; }

ZModemSettingsValues ZModemValuesFrom(const SettingsRecord& rec)
{
    return {rec.Manag, rec.Conv, rec.FnManag, rec.EscCtl, rec.NoCrc32, rec.Unlink};
}

void StoreZModemValues(const ZModemSettingsValues& v, SettingsRecord& rec)
{
    if (v.manag >= 0) rec.Manag = v.manag;
    if (v.conv >= 0) rec.Conv = v.conv;
    if (v.fnManag >= 0) rec.FnManag = v.fnManag;
    rec.EscCtl = v.escCtl;
    rec.NoCrc32 = v.noCrc32;
    rec.Unlink = v.unlink;
}

void ResetZModemValues(ZModemSettingsValues& v) { v = {6, 1, 0, 1, 0, 0}; }
