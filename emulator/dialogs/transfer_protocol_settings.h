// The values of the file-transfer settings dialogs, window-free: the general transfer settings,
// the Kermit, X/Y-Modem and Z-Modem settings, taken from the session record and stored back, and
// the reset values of each protocol's dialog.
#pragma once

#include <string>

#include "session/session_record.h"

// Protocol indices of AProtocol: 0 Kermit, 1 X-Modem, 2 X-Modem 1K, 3 X-Modem CRC, 4 Y-Modem,
// 5 Z-Modem.
constexpr int kProtocolKermit = 0;
constexpr int kProtocolZModem = 5;
constexpr int kProtocolCount = 6;

// "Kermit", "X-Modem", ...; an empty text for an index outside the table.
const char* AsyncProtocolName(int protocol);
// X-Modem, X-Modem 1K and X-Modem CRC: the protocols whose receiver names the file itself.
bool ProtocolCarriesNoFileName(int protocol);

// General Async Transfer.
constexpr std::size_t kTransferDirectoryLimit = 128;
struct AsyncTransferValues {
    int protocol = -1;  // radio index, -1 none
    std::string directory;
    int autoDetect = 0;
    int aclCodes = 0;
    int confirmErrors = 0;
};
AsyncTransferValues AsyncValuesFrom(const SettingsRecord& rec, const std::string& directory);
// A protocol choice outside the table keeps the stored protocol.
void StoreAsyncValues(const AsyncTransferValues& values, SettingsRecord& rec, std::string& directory);
// The Protocol Settings button of the general dialog: its text for the chosen protocol, and
// whether it may be pressed (not when that protocol's settings are locked).
struct ProtocolSettingsButton {
    std::string text;
    bool enabled;
};
ProtocolSettingsButton ProtocolSettingsButtonFor(int protocol, const SettingsRecord& rec);

// Kermit settings (the editable fields of KermitParms).
struct KermitSettingsValues {
    int initialRetries, packetRetries, imageMode, quote8Mode, runLength, initialTimeout;
    int startOfPacket, maxPacket, timeout, padding, padChar, eol;
    std::string quoteChar, repeatChar, quote8Char;  // one character each
    int windowSize, blockCheck;
};
KermitSettingsValues KermitValuesFrom(const KermitParms& parms);
void StoreKermitValues(const KermitSettingsValues& values, KermitParms& parms);
// The reset values; run-length encoding stays as it is.
void ResetKermitValues(KermitSettingsValues& values);

struct XYModemSettingsValues {
    int timeout, maxErrors, padChar, retries;
};
XYModemSettingsValues XYModemValuesFrom(const XYModemParms& parms);
void StoreXYModemValues(const XYModemSettingsValues& values, XYModemParms& parms);
void ResetXYModemValues(XYModemSettingsValues& values);

struct ZModemSettingsValues {
    int manag, conv, fnManag, escCtl, noCrc32, unlink;
};
ZModemSettingsValues ZModemValuesFrom(const SettingsRecord& rec);
// A radio group with no choice keeps its setting.
void StoreZModemValues(const ZModemSettingsValues& values, SettingsRecord& rec);
void ResetZModemValues(ZModemSettingsValues& values);
