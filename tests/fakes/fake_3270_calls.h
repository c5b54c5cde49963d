// Recording hooks for what the 3270 engine calls outside itself (the Telnet layer's record send,
// the status bar, message boxes, HotScreen, host commands) and for the view hooks. Compiled into
// the 3270 test programs; ResetFake3270Calls installs them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Fake3270Calls {
    struct Record {
        std::vector<uint8_t> bytes;
        int endOfRecord;
    };
    struct Status {
        int pane;
        std::string text;
    };

    // Every Send3270Record call, in order.
    std::vector<Record> sent;
    // How many bytes the network takes per call (-1: all).
    int takeLimit = -1;
    // Formatted ShowMessage texts.
    std::vector<std::string> messages;
    // SetStatusPane and ShowStatusProgress texts (progress as "[percent%] text").
    std::vector<Status> status;
    int hotScreenRuns = 0;
    int beeps = 0;
    std::vector<std::vector<int>> invalidated;  // {left, top, right, bottom}
    // Host-command calls as text, e.g. "DoPrivateCommand 7 [2 3] text" or "WinExec 5 notepad".
    std::vector<std::string> commands;
    int winExecResult = 33;

    // The bytes of the sent calls joined into records (end-of-record splits them).
    std::vector<std::vector<uint8_t>> Records() const;
    // The last text shown in a pane ("" when none).
    std::string LastStatus(int pane) const;
};

extern Fake3270Calls FakeCalls;

// Empties the recordings and installs recording view hooks.
void ResetFake3270Calls();
