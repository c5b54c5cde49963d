// The General Settings dialog, window-free: how the session reaches its host (connection type,
// serial line, LAN, host name, Telnet port), its platform, country and language and the 3270/5250
// family, taken from the session record and stored back; the enabling rule of the controls and
// the family rule of the "3270 / 5250" box.
#pragma once

#include <string>

#include "session/session_record.h"

constexpr std::size_t kHostNameLimit = 60;
constexpr int kTelnetPortMin = 1, kTelnetPortMax = 65535;
constexpr int kSerialPorts = 9;  // COM1-COM9
constexpr int kTelnetComType = 2, kAsyncComType = 0;

// Messages of the family rule.
constexpr int kMsgTelnetOnly = 96;       // "Only for telnet TCP/IP transport"
constexpr int kMsgDisconnectFirst = 97;  // "Disconnect first"

struct GeneralSettingsValues {
    int comType = -1;         // 0 Async, 1 NetBIOS, 2 Telnet; -1 none
    int family3270 = 0;
    int portIndex = -1;       // Port - 1: COM1 is 0
    int byteSizeIndex = -1;   // ByteSize - 5
    long baudRate = 0, parity = 0, stopBits = 0;
    int flowDtrDsr = 0, flowRtsCts = 0, flowXonXoff = 0;  // FlowCtrl bits 1, 2, 4
    int parityCheck = 0;      // the unkeyed word before AutoLogin
    long network = 0;
    int lana = -1;            // adapter list index: "0".."9", "AUTO"
    std::string hostName;
    int telnetPort = 0;
    long platform = 0, country = 0, language = 0;
};

GeneralSettingsValues GeneralValuesFrom(const SettingsRecord& rec);

// What a store changed that others must follow.
struct GeneralSettingsChanges {
    bool family = false, platform = false, country = false, language = false;
};
// Stores every member; an index of -1 (no selection, or a stored value outside its list) keeps
// its setting. While connected the host name is kept: the field was read-only. HostNameMissing
// follows the stored host name; FlowCtrl keeps its bits other than 1, 2 and 4.
GeneralSettingsChanges StoreGeneralValues(const GeneralSettingsValues& values, SettingsRecord& rec, bool connected);

// Which groups of controls are enabled.
struct GeneralEnabling {
    bool telnetPort;  // field 3128 and its label
    bool serial;      // the Async group, its lists, flow and check boxes with their labels
    bool lan;         // the LAN group, network list and host name with their labels
    bool adapter;     // the adapter list and its label
    bool connectionType;  // the three connection-type radios
};
GeneralEnabling GeneralEnablingFor(int comType, bool connected);

// The family rule for a click on "3270 / 5250" that left the box `checked`: 0 lets it stand, else
// the message of the refusal (the click is undone).
int FamilyClickRefusal(bool connected, bool checked, int comType);
// At OK: the 3270/5250 family goes with Telnet only; 0 or kMsgTelnetOnly.
int FamilyOkRefusal(const GeneralSettingsValues& values);
