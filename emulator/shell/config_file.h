// The session configuration file (.wcf): the whole file read into the session record and the
// document strings, or written from them, driven by one ordered table of keys per value type.
#pragma once

#include <string>
#include <vector>

#include "session/document_strings.h"
#include "session/session_record.h"

// The application section, the older one still accepted for the stamp, and the stamp.
constexpr const char* kAppSection = "Tolvi";
constexpr const char* kOldAppSection = "Zolex";
constexpr const char* kVersionKey = "Version";
constexpr const char* kConfigVersion = "4.5.6.3";

// write 0: reads the file; every key present replaces its setting, a missing key keeps it; a file
// without a "Version" stamp (in either application section) is reported (message 54) and gives 0,
// but its keys are still taken. write 1: writes every setting; a directory or read-only target,
// or any failed write, is reported (message 53), calls off a pending exit and gives 0.
int SerializeConfigFile(const char* file, bool write, SettingsRecord& rec, DocumentStrings& strings);

// The key names of the file in writing order, each with its section (for tests and tools).
struct ConfigKeyName {
    const char* section;
    std::string key;
};
std::vector<ConfigKeyName> ConfigKeyNames();
