// The other services of a session that the connection code drives: the comm recording, the dial
// matcher, the UNIX-environment answer, the automatic log-on, the display-enable matcher, the DDE
// tap, the capture file, HotScreen rules and host printing. Each comes with its own component;
// until it is installed here, a quiet default claims nothing and does nothing.
#pragma once

#include <cstdint>

#include "connections/dde/dde_recorder.h"
#include "engine/engine_types.h"

class SessionServices {
public:
    virtual ~SessionServices() = default;

    // Comm recording: a COMM record of a received block, a SEND record of sent bytes, and the EXIT
    // record with the close of the recording.
    virtual void RecordComm(const uint8_t* bytes, int n) {}
    virtual void RecordSend(const uint8_t* bytes, int n) {}
    virtual void RecordExitAndClose() {}

    // The modem's connect-reply matcher (serial, while connecting); claims nothing.
    virtual void DialReplyMatch(ViewWindow window, const uint8_t* bytes, int n) {}
    // The UNIX-environment answer (NetBIOS); returns the bytes it claimed.
    virtual int UnixEnvAnswer(ViewWindow window, const uint8_t* bytes, int n) { return 0; }

    // Automatic log-on: arming at the first prompt/reply pair, disarming, and the feeder, which
    // returns the bytes it consumed.
    virtual bool AutoLoginArmed() { return false; }
    virtual void ArmAutoLogin() {}
    virtual void DisarmAutoLogin() {}
    virtual int AutoLoginFeed(ViewWindow window, const uint8_t* bytes, int n) { return 0; }
    // Sets the shared prompt-match position and the display-enable position back to 0.
    virtual void ResetPromptMatch() {}

    // Looks for the display-enable text in a block; true on a match.
    virtual bool DisplayEnableMatch(const uint8_t* bytes, int n) { return false; }

    // The DDE client's trigger matcher and recorder (quiet until DdeClientStart).
    virtual void DdeTap(const uint8_t* bytes, int n) { DdeHostDataTap(bytes, n); }

    // The capture job, HotScreen rules and host printing.
    virtual void CaptureBlock(const uint8_t* bytes, int n) {}
    virtual void HotScreenEvaluate() {}
    // HotScreen rule files: loaded at start-up, reloaded by a host command, freed at the end.
    virtual void HotScreenLoad(const char* file) {}
    virtual void HotScreenReload(const char* file) {}
    virtual void HotScreenFree() {}
    virtual bool HostPrintingActive() { return false; }
    virtual void EndPrint() {}

    // Sets the count of received characters that gates the UNIX-environment answer back to 0.
    virtual void ResetReceivedCount() {}
};

SessionServices& Services();
// Installs the services (not owned); null puts the quiet default back.
void SetSessionServices(SessionServices* services);
