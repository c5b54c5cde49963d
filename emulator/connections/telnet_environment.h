// The user's environment as the host sees it: values and names from the `UnixEnv` setting, the
// terminal name sent for TERMINAL-TYPE, and the NEW-ENVIRON / OLD-ENVIRON replies.
#pragma once

#include <cstdint>

// Longest value and name handed out (the expander's limit, and the walk's name limit).
constexpr int kEnvValueMax = 40;
constexpr int kEnvNameMax = 79;

// The expanded value of an environment variable, or null when it has none. "TERM" defaults to the
// emulation's terminal name. The result lives in a static buffer until the next call.
const char* EnvValue(const char* name);

// Walks the names of `UnixEnv`: restart sets the walk back to the start (and returns null);
// otherwise the next name whose well-known-ness equals wellKnown, or null at the end.
const char* EnvNextName(bool restart, bool wellKnown);

bool IsWellKnownEnvName(const char* name);

// The terminal name for TERMINAL-TYPE (at most 40 characters), in a static buffer.
const char* TerminalName();

// Answers a received environment subnegotiation: bytes start with the option and the qualifier.
// Only SEND is answered; the reply goes into the network output ring.
void EnvRequest(const uint8_t* bytes, int length);
