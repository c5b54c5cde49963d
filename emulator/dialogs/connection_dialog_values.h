// The modem commands, the phone number and auto-dial, and the mouse send strings as their
// dialogs edit them, window-free: taken from the session record and the document strings and
// stored back.
#pragma once

#include <string>

#include "session/document_strings.h"
#include "session/session_record.h"

// The longest modem command and phone number (the record's fields).
constexpr std::size_t kModemStringLimit = sizeof(SettingsRecord::ModemInit) - 1;
constexpr std::size_t kPhoneNumberLimit = sizeof(SettingsRecord::PhoneNumber) - 1;
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
