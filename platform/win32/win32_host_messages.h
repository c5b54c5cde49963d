// The host messages' window in the Windows programs: a message-only window that the queue posts
// to, so that a message caused by host data is shown from the message loop after the received
// block, owned by the main frame; the count of further messages goes to a status text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "host_messages.h"

class Win32HostMessages final : public HostMessageWindow {
public:
    // Creates the window and installs it as the queue's window; `status` shows a text in the
    // status bar ("" clears it).
    void Install(HWND owner, std::function<void(const std::string&)> status);
    // Takes the window out of the queue and destroys it.
    void Remove();

    void MessageWaiting() override;
    void MoreWhileShown(int count) override;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowWaiting();

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    std::function<void(const std::string&)> status_;
};
