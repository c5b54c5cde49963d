#include "host_messages.h"

namespace {

HostMessageWindow* installedWindow = nullptr;
bool waiting = false;
bool shown = false;
HostMessage waitingMessage;
int moreWhileWaiting = 0;
int moreWhileShown = 0;

}  // namespace

void SetHostMessageWindow(HostMessageWindow* window)
{
    installedWindow = window;
    waiting = shown = false;
    waitingMessage = HostMessage{};
    moreWhileWaiting = moreWhileShown = 0;
}

bool PostHostMessage(int stringId, int style, const std::string& text)
{
    if (!installedWindow) return false;
    if (shown) {
        installedWindow->MoreWhileShown(++moreWhileShown);
    } else if (waiting) {
        ++moreWhileWaiting;
    } else {
        waitingMessage = HostMessage{stringId, style, text};
        waiting = true;
        installedWindow->MessageWaiting();
    }
    return true;
}

bool TakeHostMessage(HostMessage& message)
{
    if (!waiting || shown) return false;
    message = waitingMessage;
    if (moreWhileWaiting > 0) message.text += MoreHostMessagesText(moreWhileWaiting);
    waiting = false;
    moreWhileWaiting = 0;
    shown = true;
    return true;
}

void HostMessageClosed()
{
    if (!shown) return;
    shown = false;
    if (moreWhileShown > 0 && installedWindow) installedWindow->MoreWhileShown(0);
    moreWhileShown = 0;
}

std::string MoreHostMessagesText(int more)
{
    return "\n\n(" + std::to_string(more) + (more == 1 ? " more message" : " more messages") +
           " from the host not shown)";
}
