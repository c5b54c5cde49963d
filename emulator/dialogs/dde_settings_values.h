// The [DDE] settings as the DDE Settings dialog edits them, window-free: taken from the session
// record and stored back, each text cut to what its setting holds.
#pragma once

#include <string>

#include "session/session_record.h"

// The longest text of every DDE name field (its setting holds this many characters and a NUL).
constexpr std::size_t kDdeNameLimit = 12;

struct DdeSettingsValues {
    int clientEnable = 0;
    std::string sendToItem, sendToService, sendToTopic, clientService, startRecording, stopRecording, delimiter;
    int serverEnable = 0;
    std::string serverService, serverTopic;
    int destination = -1;  // 0 names read from the host with the delimiter, 1 the fixed names; -1 none
};

DdeSettingsValues DdeValuesFrom(const SettingsRecord& rec);
// A destination of -1 (no button chosen) keeps the stored one.
void StoreDdeValues(const DdeSettingsValues& values, SettingsRecord& rec);
