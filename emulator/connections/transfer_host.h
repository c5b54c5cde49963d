// What the file-transfer driver and the host file commands need of the windows around them: the
// status bar, message boxes, the transfer cursor, the message pump of the transfer loops, the
// clock, and the document's transfer folder. The Windows program installs its own
// (win32/win32_transfer_host.cpp); a quiet default answers until then.
#pragma once

#include <cstdint>
#include <string>

// What the pump of a transfer loop found in the message queue.
enum class TransferPump {
    kGoOn,     // nothing that concerns the transfer
    kEscape,   // Esc was typed: abort
    kClosing,  // the main window is closing or the program quits: abort, and the host finishes
               // the close once the transfer has ended
};

class TransferHost {
public:
    virtual ~TransferHost() = default;

    // Takes every waiting message, dispatching all but typed characters: Esc ends the pumping
    // with kEscape; another character is dropped and, with stopAtKey, ends the pumping for this
    // pass.
    virtual TransferPump PumpMessages(bool stopAtKey) { return TransferPump::kGoOn; }
    // A status-bar pane text in the transfer's colours (dark blue on light grey).
    virtual void SetStatus(int pane, const char* text) {}
    // The progress bar in a pane (0 % empties it); a text goes into the pane before it.
    virtual void ShowProgress(int pane, int percent, const char* text) {}
    virtual bool HasStatusBar() { return true; }
    // A message box; error: the error icon and OK, else OK and Cancel.
    virtual void ShowMessage(int stringId, const std::string& text, bool error) {}
    // The transfer cursor on, or the arrow back.
    virtual void TransferCursor(bool on) {}
    virtual uint32_t TickCount() { return 0; }
    virtual void DelayMs(int milliseconds) {}
    // The document's working folder of transfers (may be empty).
    virtual std::string TransferDirectory() { return ""; }
    // The transfer has ended: a close or quit that came during it is carried out now.
    virtual void TransferEnded() {}
};

TransferHost& XferHost();
// Installs the host (not owned); null puts the quiet default back.
void SetTransferHost(TransferHost* host);
