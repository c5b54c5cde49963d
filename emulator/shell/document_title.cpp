// The window title of the session.
#include <cstdio>

#include "connections/variable_expander.h"
#include "connections/auto_login.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {
constexpr std::size_t kStoredTitleLimit = 256;
constexpr int kHostNameRoom = 61;  // 60 characters and the terminator
}  // namespace

std::string CZolexDoc::BuildTitleText() const
{
    const SettingsRecord& rec = *record;
    std::string text;
    if (rec.TitleAppName) text += strings.AppNameShown;
    if (rec.TitleUniqueText && !TitleText.empty()) text += TitleText;
    if (rec.TitleHostName) {
        if (rec.ComType != 0) {
            char host[kHostNameRoom];
            ExpandVariables(rec.HostName, host, sizeof host);
            text += "  ";
            text += host;
        } else {
            text += "  COM" + std::to_string(rec.Port);  // COM10 and above in full
        }
    }
    if (rec.TitleConnected) {
        if (rec.Connecting) text += " : Connecting ...";
        else if (!rec.Connected) text += " : Disconnected";
    }
    if (rec.ComType == 0 && rec.Connecting && rec.DialCountdown != 0)
        text += " (" + std::to_string(rec.DialCountdown) + " sec)";
    if (AutoLoginPair >= 1 && AutoLoginPair <= 7) {
        const std::string* hosts[] = {&strings.AutoHost0, &strings.AutoHost1, &strings.AutoHost2,
                                      &strings.AutoHost3, &strings.AutoHost4, &strings.AutoHost5,
                                      &strings.AutoHost6};
        text += " (auto-login: " + *hosts[AutoLoginPair - 1] + "[" + std::to_string(AutoLoginRepeatCount) + "])";
    }
    if (rec.TitleConfig) text += " (" + storedTitle_ + ")";
    return text;
}

void CZolexDoc::SetTitle(const char* title)
{
    if (title) {
        storedTitle_ = std::string(title).substr(0, kStoredTitleLimit);
        KeepTitle(storedTitle_);  // the name the save question shows
    }
    const std::string text = BuildTitleText();
    if (!Site()) return;
    if (Site()->FrameTitle() != text) Site()->SetFrameTitle(text);
}
