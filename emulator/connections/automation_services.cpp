#include "connections/automation_services.h"

#include "connections/auto_login.h"
#include "connections/capture_file.h"
#include "engine/charsets.h"
#include "engine/key_strings.h"
#include "session/session_record.h"

int AutomationServices::UnixEnvAnswer(ViewWindow window, const uint8_t* bytes, int n) {
    return SendUnixEnvironment(window, bytes, n);
}

bool AutomationServices::AutoLoginArmed() { return AutoLoginPair != 0; }
void AutomationServices::ArmAutoLogin() { AutoLoginPair = 1; }
void AutomationServices::DisarmAutoLogin() { AutoLoginPair = 0; }

int AutomationServices::AutoLoginFeed(ViewWindow window, const uint8_t* bytes, int n) {
    return ::AutoLoginFeed(window, bytes, n);
}

void AutomationServices::ResetPromptMatch() {
    AutoLoginMatched = 0;
    enableMatched_ = 0;
}

bool AutomationServices::DisplayEnableMatch(const uint8_t* bytes, int n) {
    uint8_t decoded[128];
    if (DecodeKeyString(Rec->EnableDisplay, decoded, sizeof(decoded), false, false) <= 0) return true;
    return WaitForString(nullptr, bytes, n, Rec->EnableDisplay, enableMatched_) != 0;
}

void AutomationServices::CaptureBlock(const uint8_t* bytes, int n) { CaptureFeed(bytes, n); }

void AutomationServices::ResetReceivedCount() { DisplayedCharCount = 0; }
