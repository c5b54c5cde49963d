// Messages that host data causes (a failed program start, a printer or capture file that does not
// open, a recording that does not play, a bad 3270 write command or order) never stop the line.
//
// They are not shown where the received bytes cause them: they are posted to the program's window,
// which shows them once the block has been processed, one at a time. A message posted while
// another waits or is shown is not stacked: it is counted, in the waiting message's text or, while
// one is shown, through the window (the status bar). Receiving goes on while a message is shown.
// Without a window installed (tests, tools) the caller shows it at once, as it shows its others.
#pragma once

#include <string>

struct HostMessage {
    int stringId = 0;
    int style = 0;     // the message-box style (0: OK only)
    std::string text;  // with the count of the messages it stands for, when there were more
};

class HostMessageWindow {
public:
    virtual ~HostMessageWindow() = default;
    // A message waits: the window is to take it (TakeHostMessage) later, from its message loop.
    virtual void MessageWaiting() = 0;
    // `count` more messages arrived while one is shown; 0 when the shown one was closed.
    virtual void MoreWhileShown(int count) = 0;
};

// The installed window (not owned; null: shown at once). Installing drops what waits.
void SetHostMessageWindow(HostMessageWindow* window);

// A message caused by host data (string-table id, style, text); false when no window is installed
// and nothing was done.
bool PostHostMessage(int stringId, int style, const std::string& text);

// The waiting message for the window to show: false when none waits or one is shown already.
// The message counts as shown until HostMessageClosed.
bool TakeHostMessage(HostMessage& message);
void HostMessageClosed();

// The note added to a message that stands for `more` further ones.
std::string MoreHostMessagesText(int more);
