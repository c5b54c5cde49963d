#include "win32_host_messages.h"

#include "fw_dialog.h"

namespace {

constexpr UINT kMessageWaiting = WM_APP + 22;
constexpr const char* kClassName = "TolviHostMessages";

}  // namespace

void Win32HostMessages::Install(HWND owner, std::function<void(const std::string&)> status)
{
    Remove();
    owner_ = owner;
    status_ = std::move(status);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Win32HostMessages::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetHostMessageWindow(this);
}

void Win32HostMessages::Remove()
{
    if (!window_) return;
    SetHostMessageWindow(nullptr);
    DestroyWindow(window_);
    window_ = nullptr;
}

void Win32HostMessages::MessageWaiting()
{
    if (window_) PostMessageA(window_, kMessageWaiting, 0, 0);
}

void Win32HostMessages::MoreWhileShown(int count)
{
    if (!status_) return;
    status_(count > 0 ? std::to_string(count) + (count == 1 ? " more message" : " more messages") +
                            " from the host"
                      : std::string());
}

void Win32HostMessages::ShowWaiting()
{
    HostMessage message;
    if (!TakeHostMessage(message)) return;
    const UINT icon = (message.style & 0xF0) ? static_cast<UINT>(message.style & 0xF0) : MB_ICONEXCLAMATION;
    HWND owner = IsWindow(owner_) ? owner_ : nullptr;
    FwMessageBox(owner, message.text, MB_OK | icon);
    HostMessageClosed();
}

LRESULT CALLBACK Win32HostMessages::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMessageWaiting) {
        auto* self = reinterpret_cast<Win32HostMessages*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) self->ShowWaiting();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
