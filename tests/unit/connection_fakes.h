// Recording stand-ins for the view, the session services, a transport and the interpreters, all
// writing into one event log, so tests see the order in which the connection code calls them.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "connections/connection_view.h"
#include "connections/emulation_hooks.h"
#include "connections/session_services.h"
#include "connections/transport.h"
#include "session/session_record.h"

inline std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}
inline void LogEvent(std::string event) { EventLog().push_back(std::move(event)); }
inline std::string Bytes(const uint8_t* bytes, int n) {
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n > 0 ? n : 0));
}

// Everything the emulation was given, across all families.
inline std::string& EmulatedText() {
    static std::string text;
    return text;
}
inline void CaptureInterpreter(ViewWindow, const uint8_t* bytes, int n, SettingsRecord&) {
    EmulatedText() += Bytes(bytes, n);
    LogEvent("emulation:" + Bytes(bytes, n));
}

class RecordingView : public ConnectionView {
public:
    void RefreshTitle() override { LogEvent("title"); }
    void IdlePass() override { LogEvent("idle"); }
    bool ConfirmAbortConnect() override { LogEvent("ask-abort"); return abortAnswer; }
    bool AskHostName(char* host, std::size_t size) override {
        LogEvent("ask-host");
        if (!hostAnswer) return false;
        std::strncpy(host, hostAnswer, size - 1);
        host[size - 1] = '\0';
        return true;
    }
    void PostCloseMainWindow() override { LogEvent("post-close"); }
    void InvalidateScreen() override { LogEvent("invalidate"); }
    void DelayMs(int ms) override { LogEvent("delay:" + std::to_string(ms)); }

    bool abortAnswer = false;
    const char* hostAnswer = nullptr;  // null: the dialog is cancelled
};

class RecordingServices : public SessionServices {
public:
    void RecordComm(const uint8_t* b, int n) override { LogEvent("record:" + Bytes(b, n)); }
    void RecordExitAndClose() override { LogEvent("record-exit"); Rec->Recording = 0; }
    void DialReplyMatch(ViewWindow, const uint8_t* b, int n) override { LogEvent("dial:" + Bytes(b, n)); }
    int UnixEnvAnswer(ViewWindow, const uint8_t* b, int n) override {
        LogEvent("unixenv:" + Bytes(b, n));
        return unixEnvClaims;
    }
    bool AutoLoginArmed() override { return armed; }
    void ArmAutoLogin() override { LogEvent("arm"); armed = true; }
    void DisarmAutoLogin() override { armed = false; }
    int AutoLoginFeed(ViewWindow, const uint8_t* b, int n) override {
        LogEvent("login:" + Bytes(b, n));
        return loginClaims;
    }
    void ResetPromptMatch() override { LogEvent("reset-match"); }
    bool DisplayEnableMatch(const uint8_t* b, int n) override {
        LogEvent("display-enable:" + Bytes(b, n));
        return displayMatches;
    }
    void DdeTap(const uint8_t* b, int n) override { LogEvent("dde:" + Bytes(b, n)); }
    void CaptureBlock(const uint8_t* b, int n) override { LogEvent("capture:" + Bytes(b, n)); }
    void HotScreenEvaluate() override { LogEvent("hotscreen"); }
    void ResetReceivedCount() override { LogEvent("reset-count"); }

    bool armed = false;
    int unixEnvClaims = 0;
    int loginClaims = 0;
    bool displayMatches = false;
};

class RecordingTransport : public Transport {
public:
    int Open(ViewWindow) override { LogEvent("open"); return openResult; }
    int Close(ViewWindow) override { LogEvent("close"); Rec->Connected = 0; return 1; }
    int Send(ViewWindow, const uint8_t* b, int n) override {
        int taken = n < acceptPerSend ? n : acceptPerSend;
        LogEvent("send:" + Bytes(b, taken));
        sent += Bytes(b, taken);
        return taken;
    }
    int PendingOutput(ViewWindow) override { return queued; }
    int IsBusy() override { return busy; }

    int openResult = 1;
    int acceptPerSend = 1 << 30;
    int queued = 0;
    int busy = 0;
    std::string sent;
};
