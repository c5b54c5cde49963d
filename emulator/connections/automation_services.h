// The session services of the automation: the automatic log-on, the display-enable matcher of
// the blank log-on screen, the UNIX-environment answer and the capture file, plugged into the
// connection code's receive path. Services of other components override the rest.
#pragma once

#include "connections/session_services.h"

class AutomationServices : public SessionServices {
public:
    int UnixEnvAnswer(ViewWindow window, const uint8_t* bytes, int n) override;
    bool AutoLoginArmed() override;
    void ArmAutoLogin() override;
    void DisarmAutoLogin() override;
    int AutoLoginFeed(ViewWindow window, const uint8_t* bytes, int n) override;
    void ResetPromptMatch() override;
    // The EnableDisplay text, matched across blocks; an empty text counts as found.
    bool DisplayEnableMatch(const uint8_t* bytes, int n) override;
    void CaptureBlock(const uint8_t* bytes, int n) override;
    void ResetReceivedCount() override;

private:
    int enableMatched_ = 0;
};
