#include "connections/telnet_environment.h"

#include <cstdlib>
#include <initializer_list>
#include <cstring>

#include "connections/ring_buffer.h"
#include "connections/telnet_codes.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "connections/variable_expander.h"
#include "session/session_record.h"

namespace {

const char* const kWellKnown[] = {"USER", "DISPLAY", "PRINTER", "SYSTEMTYPE", "JOB", "ACCT"};

char valueBuffer[kEnvValueMax + 1];
char nameBuffer[kEnvNameMax + 1];
char terminalBuffer[kEnvValueMax + 1];
std::size_t walkPosition = 0;

bool AtOrBelowSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The raw value of NAME=value in `UnixEnv`, copied into out (at most size - 1 characters). The
// entry must start the setting or follow a blank, so "TERM" does not match "XTERM=".
bool FindEntry(const char* name, char* out, std::size_t size) {
    if (!Rec->UnixEnvEnable || !name[0]) return false;
    std::size_t nameLength = std::strlen(name);
    const char* env = Rec->UnixEnv;
    std::size_t envLength = strnlen(env, sizeof(Rec->UnixEnv));
    for (std::size_t at = 0; at + nameLength < envLength; ++at) {
        if (at > 0 && !AtOrBelowSpace(env[at - 1])) continue;
        if (std::memcmp(env + at, name, nameLength) != 0 || env[at + nameLength] != '=') continue;
        std::size_t from = at + nameLength + 1, n = 0;
        while (from + n < envLength && !AtOrBelowSpace(env[from + n]) && n + 1 < size) ++n;
        std::memcpy(out, env + from, n);
        out[n] = '\0';
        return true;
    }
    return false;
}

// The reply being built: IAC SB option IS, then the variables.
struct Reply {
    uint8_t* data = nullptr;
    std::size_t length = 0;
    std::size_t capacity = 0;
} reply;

void ReplyFree() {
    std::free(reply.data);
    reply = Reply{};
}

bool ReplyStart() {
    ReplyFree();
    reply.data = static_cast<uint8_t*>(std::malloc(256));
    if (!reply.data) {
        TraceScreenText("env_opt_start: malloc()/realloc() failed!!!\n");
        return false;
    }
    reply.capacity = 256;
    const uint8_t head[] = {tn::IAC, tn::SB, TelnetState().envOption, tn::IS};
    std::memcpy(reply.data, head, sizeof(head));
    reply.length = sizeof(head);
    return true;
}

// Bytes 0..3 get an ESC in front, 255 is doubled.
void PutEscaped(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p <= tn::ENV_USERVAR) reply.data[reply.length++] = tn::ENV_ESC;
        else if (*p == tn::IAC) reply.data[reply.length++] = tn::IAC;
        reply.data[reply.length++] = *p;
    }
}

void AddAll();

// Appends one variable (or, for an empty name, all of them).
void AddVariable(const char* name) {
    if (!reply.data) return;
    if (!name || !name[0]) {
        AddAll();
        return;
    }
    const char* found = EnvValue(name);
    char value[kEnvValueMax + 1] = "";
    if (found) std::strcpy(value, found);
    std::size_t need = reply.length + 2 * std::strlen(name) + 2 * std::strlen(value) + 6;
    if (need > reply.capacity) {
        std::size_t capacity = reply.capacity;
        while (capacity < need) capacity += 256;
        uint8_t* grown = static_cast<uint8_t*>(std::realloc(reply.data, capacity));
        if (!grown) {
            TraceScreenText("env_opt_add: realloc() failed!!!\n");
            ReplyFree();
            return;
        }
        reply.data = grown;
        reply.capacity = capacity;
    }
    bool newEnviron = TelnetState().envOption == tn::NEW_ENVIRON;
    if (IsWellKnownEnvName(name)) reply.data[reply.length++] = newEnviron ? tn::ENV_VAR : 1;
    else reply.data[reply.length++] = tn::ENV_USERVAR;
    PutEscaped(name);
    if (found) {
        reply.data[reply.length++] = newEnviron ? tn::ENV_VALUE : 0;
        PutEscaped(value);
    }
}

// All user variables first, then the well-known ones.
void AddAll() {
    for (bool wellKnown : {false, true}) {
        EnvNextName(true, wellKnown);
        while (const char* name = EnvNextName(false, wellKnown)) {
            char copy[kEnvNameMax + 1];
            std::strcpy(copy, name);
            AddVariable(copy);
            if (!reply.data) return;
        }
    }
}

void ReplyEnd(bool emptyAllowed) {
    if (!reply.data) return;
    std::size_t total = reply.length + 2;
    if (emptyAllowed || total > 6) {
        reply.data[reply.length++] = tn::IAC;
        reply.data[reply.length++] = tn::SE;
        if (total < ring_free_count(NetOutRing)) {
            ring_put_bytes(NetOutRing, reply.data, static_cast<uint32_t>(total));
            TraceTelnetSuboption('>', reply.data + 2, static_cast<int>(total - 2));
        } else {
            TraceScreenText("slc_end_reply: not enough room\n");
        }
    }
    ReplyFree();
}

}  // namespace

bool IsWellKnownEnvName(const char* name) {
    for (const char* known : kWellKnown)
        if (std::strcmp(name, known) == 0) return true;
    return false;
}

const char* EnvValue(const char* name) {
    char raw[sizeof(Rec->UnixEnv)];
    if (!FindEntry(name, raw, sizeof(raw))) {
        if (std::strcmp(name, "TERM") != 0) return nullptr;
        std::strcpy(raw, "%terminal%");
    }
    ExpandVariables(raw, valueBuffer, sizeof(valueBuffer));
    return valueBuffer[0] ? valueBuffer : nullptr;
}

const char* EnvNextName(bool restart, bool wellKnown) {
    if (restart) {
        walkPosition = 0;
        return nullptr;
    }
    // Entries are NAME=value words separated by blanks. A word without "=", with an empty or
    // one-character name, is passed over whole, so a value never yields a name.
    const char* env = Rec->UnixEnv;
    std::size_t envLength = strnlen(env, sizeof(Rec->UnixEnv));
    while (Rec->UnixEnvEnable && walkPosition < envLength) {
        if (AtOrBelowSpace(env[walkPosition])) {
            ++walkPosition;
            continue;
        }
        std::size_t wordEnd = walkPosition;
        while (wordEnd < envLength && !AtOrBelowSpace(env[wordEnd])) ++wordEnd;
        const char* at = env + walkPosition;
        const char* equals = static_cast<const char*>(std::memchr(at, '=', wordEnd - walkPosition));
        walkPosition = wordEnd;
        if (!equals || equals <= at + 1) continue;
        std::size_t length = static_cast<std::size_t>(equals - at);
        if (length > kEnvNameMax) length = kEnvNameMax;
        std::memcpy(nameBuffer, at, length);
        nameBuffer[length] = '\0';
        if (IsWellKnownEnvName(nameBuffer) == wellKnown) return nameBuffer;
    }
    return nullptr;
}

const char* TerminalName() {
    char raw[sizeof(Rec->UnixEnv)];
    if (!FindEntry("TERM", raw, sizeof(raw))) std::strcpy(raw, "%terminal%");
    ExpandVariables(raw, terminalBuffer, sizeof(terminalBuffer));
    return terminalBuffer;
}

void EnvRequest(const uint8_t* bytes, int length) {
    if (length < 2 || bytes[1] != tn::SEND) return;
    if (!ReplyStart()) return;
    if (length == 2) {
        AddVariable(nullptr);
    } else {
        // Names listed by the host, bounded like every name of ours.
        char name[kEnvNameMax + 1];
        std::size_t nameLength = 0;
        bool inName = false;
        for (int i = 2; i < length && reply.data; ++i) {
            uint8_t c = bytes[i];
            if (c == tn::ENV_VAR || c == tn::ENV_VALUE || c == tn::ENV_USERVAR) {
                if (inName) {
                    name[nameLength] = '\0';
                    AddVariable(name);
                }
                inName = true;
                nameLength = 0;
                continue;
            }
            if (c == tn::ENV_ESC && i + 1 < length) c = bytes[++i];
            if (inName && nameLength < kEnvNameMax) name[nameLength++] = static_cast<char>(c);
        }
        if (inName && reply.data) {
            name[nameLength] = '\0';
            AddVariable(name);
        }
    }
    ReplyEnd(true);
}
