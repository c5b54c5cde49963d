#include "connections/auto_login.h"

#include <cstdio>
#include <cstring>

#include "connections/automation_view.h"
#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/variable_expander.h"
#include "engine/charsets.h"
#include "engine/key_strings.h"
#include "session/session_record.h"

int AutoLoginPair = 0;
int AutoLoginMatched = 0;
int AutoLoginRepeatCount = 0;

namespace {

constexpr int kUnixEnvWindow = 500;
constexpr uint8_t kSoh = 1;
constexpr uint8_t kEot = 4;
constexpr uint8_t kCr = 13;

const char* PairText(const char* kind, int pair) {
    char member[24];  // a kind and any int
    std::snprintf(member, sizeof(member), "%s%d", kind, pair - 1);
    const char* text = AutoView().DocumentString(member);
    return text ? text : "";
}
const char* Prompt(int pair) { return PairText("AutoHost", pair); }
const char* Reply(int pair) { return PairText("AutoUser", pair); }

bool PairUsed(int pair) { return Prompt(pair)[0] || Reply(pair)[0]; }

// The pair after `pair` that has a prompt or a reply; 0 past the last.
int NextPair(int pair) {
    for (int next = pair + 1; next <= kAutoLoginPairs; ++next)
        if (PairUsed(next)) return next;
    return 0;
}

void Answer(ViewWindow window, int pair) {
    if (!PairUsed(pair)) return;
    // Hosts of platform 1 want a pause before the answer to the second pair.
    if (pair == 2 && Rec->Platform == 1) ConnView().DelayMs(500);
    SendExpanded(window, Reply(pair), true);
    if (Rec->AutoLoginCR) {
        ConnView().DelayMs(Rec->AutoCRDelay & 0xFFFF);
        const uint8_t cr = kCr;
        SendToHost(window, &cr, 1);
    }
}

}  // namespace

int AutoLoginFeed(ViewWindow window, const uint8_t* bytes, int n) {
    // The prompt is looked up once per pair, not per byte.
    int pair = 0;
    const char* prompt = "";
    int length = 0;
    for (int i = 0; i < n && AutoLoginPair != 0; ++i) {
        if (AutoLoginPair > kAutoLoginPairs) {
            AutoLoginPair = 0;
            break;
        }
        if (pair != AutoLoginPair) {
            pair = AutoLoginPair;
            prompt = Prompt(pair);
            length = static_cast<int>(std::strlen(prompt));
        }
        const char byte = static_cast<char>(bytes[i]);
        if (AutoLoginMatched < length && byte != prompt[AutoLoginMatched]) {
            // The byte that broke a partial match may itself begin the prompt.
            bool restarts = AutoLoginMatched > 0 && byte == prompt[0];
            AutoLoginMatched = 0;
            if (!restarts) continue;
        }
        if (++AutoLoginMatched < length) continue;
        Answer(window, pair);
        AutoLoginMatched = 0;
        AutoLoginPair = NextPair(pair);
    }
    ConnView().RefreshTitle();
    return 0;
}

int WaitForString(ViewWindow window, const uint8_t* bytes, int n, const char* text, int& count) {
    uint8_t wanted[128];
    const int length = DecodeKeyString(text, wanted, sizeof(wanted), false, false);
    if (length <= 0) return 0;
    if (count < 0 || count >= length) count = 0;
    for (int i = 0; i < n; ++i) {
        if (bytes[i] != wanted[count]) {
            // As with the log-on prompts: the breaking byte may begin the text again.
            count = (count > 0 && bytes[i] == wanted[0]) ? 1 : 0;
            continue;
        }
        if (++count == length) {
            count = 0;
            return i + 1;
        }
    }
    return 0;
}

int SendUnixEnvironment(ViewWindow window, const uint8_t* bytes, int n) {
    if (DisplayedCharCount >= kUnixEnvWindow || !Rec->UnixEnvEnable) return 0;
    const void* soh = std::memchr(bytes, kSoh, static_cast<std::size_t>(n > 0 ? n : 0));
    if (!soh) return 0;
    char environment[255];
    ExpandVariables(Rec->UnixEnv, environment, sizeof(environment));
    int length = static_cast<int>(std::strlen(environment));
    if (length > 0) SendToHost(window, reinterpret_cast<const uint8_t*>(environment), length);
    const uint8_t eot = kEot;
    SendToHost(window, &eot, 1);
    return static_cast<int>(static_cast<const uint8_t*>(soh) - bytes) + 1;
}

int RunActionString(const char* text) { return AutoView().RunActionString(text); }
