// The shell's DDE conversation with a running program (application name, topic "System"): the
// shell opens documents in it with [open("path")] commands. The frame window passes its messages
// here; a message that belongs to the conversation is answered and reported as handled.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class FwShellOpen {
public:
    // open: opens one document; its result is the acknowledgement.
    FwShellOpen(std::string application, std::function<bool(const std::string&)> open);

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Initiate(HWND window, HWND client, ATOM application, ATOM topic);
    void Execute(HWND window, HWND client, LPARAM lParam);

    std::string application_;
    std::function<bool(const std::string&)> open_;
};
