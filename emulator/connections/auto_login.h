// The automatic log-on: after a connect, received data is watched for up to seven prompts in turn
// and each is answered with its configured reply. Also the wait-for matcher that the blank screen
// of the log-on uses, the UNIX-environment answer of NetBIOS hosts, and the door through which
// other parts run an action string of the active view.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// The pair being waited for: 0 when the log-on is not running, else 1-7 (pair n is the document
// strings AutoHost<n-1> and AutoUser<n-1>). The prompt characters matched so far.
extern int AutoLoginPair;
extern int AutoLoginMatched;
// A count the log-on keeps; the window title shows it after the awaited prompt.
extern int AutoLoginRepeatCount;

constexpr int kAutoLoginPairs = 7;

// Advances the log-on over received bytes; sends the replies of the prompts found. The bytes go
// on to the terminal, so the result is always 0.
int AutoLoginFeed(ViewWindow window, const uint8_t* bytes, int n);

// Looks for text (key-string notation, decoded into at most 128 bytes) in the bytes, carrying the
// match across calls in count; returns the position just after the text when it completes in
// these bytes, else 0. An empty text never completes; callers that wait for one decide themselves.
int WaitForString(ViewWindow window, const uint8_t* bytes, int n, const char* text, int& count);

// A NetBIOS host's request for the UNIX environment: near the start of a connection (fewer than
// 500 characters displayed) the first SOH of the block is answered with the expanded UnixEnv and
// an EOT. Returns the position after the SOH, or 0 when there was nothing to answer.
int SendUnixEnvironment(ViewWindow window, const uint8_t* bytes, int n);

// Runs text through the active terminal view's action interpreter; 0 without an active view.
int RunActionString(const char* text);
