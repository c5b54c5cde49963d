// The message pump of the Win32 test programs: runs the thread's window messages while waiting.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);
// Dispatches messages until done() or the time is up; false when the time ran out.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD milliseconds);
