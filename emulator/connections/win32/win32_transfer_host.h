// The Windows side of a running file transfer: the status bar through the installed view port,
// message boxes over the main window, the transfer cursor, and the message pump of the transfer
// loops. A close of the main window or a quit that comes during a transfer aborts the transfer
// and is carried out once it has ended, so the port is never closed under the running loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "connections/transfer_host.h"

class Win32TransferHost : public TransferHost {
public:
    // frame: the main window; directory: the document's transfer folder when asked.
    Win32TransferHost(HWND frame, std::function<std::string()> directory)
        : frame_(frame), directory_(std::move(directory)) {}

    TransferPump PumpMessages(bool stopAtKey) override;
    void SetStatus(int pane, const char* text) override;
    void ShowProgress(int pane, int percent, const char* text) override;
    bool HasStatusBar() override;
    void ShowMessage(int stringId, const std::string& text, bool error) override;
    void TransferCursor(bool on) override;
    uint32_t TickCount() override { return GetTickCount(); }
    void DelayMs(int milliseconds) override;
    std::string TransferDirectory() override { return directory_ ? directory_() : ""; }
    void TransferEnded() override;

    // The main window's WM_CLOSE while a transfer runs: the close waits for the transfer's end.
    void DeferClose() { closePending_ = true; }

private:
    HWND frame_;
    std::function<std::string()> directory_;
    bool closePending_ = false;
    bool quitPending_ = false;
    WPARAM quitCode_ = 0;
};

// The main window's close handler asks this first: true when a transfer runs, which is then
// aborted and the close carried out after it (the handler must not close now).
bool DeferCloseWhileTransferring();
// The host the program installed (null before), for DeferCloseWhileTransferring.
void SetWin32TransferHost(Win32TransferHost* host);
