#include "message_pump.h"

// The queue need not ever run empty: a handler may post the next message itself (the socket
// receive does while the host sends faster than it reads), so the time is checked after every
// message.
void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (GetTickCount() - start < milliseconds && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        PumpMessages(20);
    }
    return true;
}
