// The screen and the host input of a running Tolvi.exe, through its DDE server (service "TOLVI",
// topic "TOLVITOP"; the session's configuration must have DdeServerEnable on): "gettxt" and
// "txtret" read a rectangle of the screen, "tohost" types text to the host, "tohostx" runs an
// action string.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>

class TolviScreen {
public:
    TolviScreen();
    ~TolviScreen();
    TolviScreen(const TolviScreen&) = delete;
    TolviScreen& operator=(const TolviScreen&) = delete;

    // Connects to the server, retrying while it has not registered yet (up to timeoutMs).
    bool Connect(int timeoutMs = 20000);
    // The text of the screen's first `rows` rows of `cols` columns; empty when the server did not
    // answer.
    std::string Text(int cols = 80, int rows = 24);
    // Waits until the screen shows `text`; the last screen read is kept in `last`.
    bool WaitFor(const std::string& text, int timeoutMs, std::string* last = nullptr);
    // Text for the host as typed ("<0D>" and the like for control characters).
    bool ToHost(const std::string& text);
    // An action string run as if from a key ("%break%" and the like).
    bool ToHostAction(const std::string& actions);

private:
    HDDEDATA Transact(UINT type, const char* item, const std::string* data);
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
};
