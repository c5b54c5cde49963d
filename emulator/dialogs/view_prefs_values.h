// The view preferences (framing, bars, title parts, instances, what follows a disconnect, the
// display's alignment) as their dialog edits them, window-free.
#pragma once

#include <string>

#include "session/document_strings.h"
#include "session/session_record.h"

constexpr int kFrameSizeMin = 3, kFrameSizeMax = 20;
// 0 lets no second instance start (start-up counts it as one instance, One More stays greyed).
constexpr int kInstanceCountMin = 0, kInstanceCountMax = 32000;
// The title rows that change while the program runs show this instead of a sample.
constexpr const char* kDynamicTitleSample = "<dynamic>";

struct ViewPrefsValues {
    int autoConnect = 0, frameSize = 0, statusbar = 0, toolbar = 0;
    int hostHangupClear = 0, pcHangupClear = 0;
    int whenPCHungup = -1, whenHostHungup = -1;  // 0 idle, 1 close the window, 2 reconnect; -1 none
    int promptForHost = 0;
    int alignDisplay = -1;                      // 0..8, -1 none
    std::string appName;
    int titleConfig = 0, titleAppName = 0, titleHostName = 0, titleConnected = 0, titleUniqueText = 0;
    int showMenu = 0, showTitlebar = 0, singleInstance = 0, enableHotspots = 0;
    std::string msgExit;
    int maxInstance = 1;
    int enableButtonPanel = 0;
};

ViewPrefsValues ViewPrefsValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
// A radio group of -1 keeps its stored setting. The application name also becomes the title's
// application text.
void StoreViewPrefsValues(const ViewPrefsValues& values, SettingsRecord& rec, DocumentStrings& strings);
