// The modem commands, the phone number and auto-dial, and the mouse send strings as their
// dialogs edit them, window-free: taken from the session record and the document strings and
// stored back.
#pragma once

#include <string>

#include "session/document_strings.h"
#include "session/session_record.h"

// The longest modem command and phone number the dialogs take (the record's fields hold more,
// which a configuration file may have).
constexpr std::size_t kModemStringLimit = 32;
constexpr std::size_t kPhoneNumberLimit = 32;
static_assert(kModemStringLimit < sizeof(SettingsRecord::ModemInit) && kPhoneNumberLimit < sizeof(SettingsRecord::PhoneNumber));
constexpr int kDialTimeoutMax = 240;

struct ModemValues {
    int enable = 0;
    std::string dialPrefix, dialPostfix, hangupPrefix, hangupPostfix, init, connect;
};

ModemValues ModemValuesFrom(const SettingsRecord& rec);
void StoreModemValues(const ModemValues& values, SettingsRecord& rec);

struct PhoneValues {
    int dialEnable = 0;
    std::string number;
    int timeout = 0;   // seconds, 0 to kDialTimeoutMax
    int autodial = -1; // TCP/IP auto dial 0 automatic, 1 reserved, 2 disable; -1 none chosen
};

PhoneValues PhoneValuesFrom(const SettingsRecord& rec);
// An auto-dial of -1 keeps the stored one.
void StorePhoneValues(const PhoneValues& values, SettingsRecord& rec);

struct MouseValues {
    int enable = 0;
    std::string click, doubleClick;  // key-string notation with %row% and %col%
};

MouseValues MouseValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
void StoreMouseValues(const MouseValues& values, SettingsRecord& rec, DocumentStrings& strings);
