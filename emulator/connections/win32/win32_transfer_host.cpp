#include "connections/win32/win32_transfer_host.h"

#include "engine/view_port.h"
#include "session/session_record.h"

namespace {

constexpr uint32_t kTextColor = RGB(0, 0, 128);
constexpr uint32_t kBackColor = RGB(192, 192, 192);
constexpr uint32_t kBarColor = RGB(0, 0, 0);
constexpr int kStatusBarId = 0xE801;
constexpr int kTransferCursor = 143;
constexpr WPARAM kEscape = 27;

Win32TransferHost* installed = nullptr;

bool IsKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

TransferPump Win32TransferHost::PumpMessages(bool stopAtKey)
{
    MSG msg;
    while (!quitPending_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitPending_ = true;
            quitCode_ = msg.wParam;
            break;
        }
        // Every close that comes during the transfer becomes the one close after it.
        if (msg.message == WM_CLOSE && msg.hwnd == frame_) {
            closePending_ = true;
            continue;
        }
        // Keys reach no window during a transfer: they only become characters here.
        if (IsKeyMessage(msg.message)) {
            TranslateMessage(&msg);
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            if (msg.message == WM_CHAR && msg.wParam == kEscape) return TransferPump::kEscape;
            if (stopAtKey) return TransferPump::kGoOn;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return closePending_ || quitPending_ ? TransferPump::kClosing : TransferPump::kGoOn;
}

void Win32TransferHost::SetStatus(int pane, const char* text) { View().SetStatusPane(text, pane, kTextColor, kBackColor); }

void Win32TransferHost::ShowProgress(int pane, int percent, const char* text)
{
    View().ShowStatusProgress(pane, percent, text, kBarColor);
}

bool Win32TransferHost::HasStatusBar() { return frame_ && GetDlgItem(frame_, kStatusBarId) != nullptr; }

void Win32TransferHost::ShowMessage(int, const std::string& text, bool error)
{
    MessageBoxA(frame_, text.c_str(), "Tolvi", error ? MB_OK | MB_ICONSTOP : MB_OKCANCEL);
}

void Win32TransferHost::TransferCursor(bool on)
{
    HCURSOR cursor = nullptr;
    if (on) cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTransferCursor));
    if (on && !cursor) cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // the hourglass
    if (!on) cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));            // the arrow
    SetCursor(cursor);
}

void Win32TransferHost::DelayMs(int milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) Sleep(0);
}

void Win32TransferHost::TransferEnded()
{
    if (closePending_) {
        closePending_ = false;
        PostMessageA(frame_, WM_CLOSE, 0, 0);
    }
    if (quitPending_) {
        quitPending_ = false;
        PostQuitMessage(static_cast<int>(quitCode_));
    }
}

bool DeferCloseWhileTransferring()
{
    if (!installed || !Rec->TransferActive) return false;
    installed->DeferClose();
    return true;
}

void SetWin32TransferHost(Win32TransferHost* host) { installed = host; }
