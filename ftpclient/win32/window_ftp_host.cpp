#include "window_ftp_host.h"

#include <string>

#include "ftp_api.h"
#include "ftp_net.h"

namespace {

void SendText(HWND window, unsigned message, const char* text)
{
    if (window != nullptr)
        SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(text));
}

// Text from one code page to another through UTF-16; false when a character has no form in the
// target (no best-fit stand-ins) or the source is not valid.
bool Recode(const std::string& text, UINT from, UINT to, std::string& out)
{
    out.clear();
    if (text.empty())
        return true;
    const int wide = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0)
        return false;
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), &utf16[0], wide);
    BOOL usedDefault = FALSE;
    const bool toUtf8 = to == CP_UTF8;
    const int n = WideCharToMultiByte(to, toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS, utf16.data(), wide, nullptr, 0, nullptr,
                                      toUtf8 ? nullptr : &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(to, toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS, utf16.data(), wide, &out[0], n, nullptr,
                        toUtf8 ? nullptr : &usedDefault);
    return !usedDefault;
}

}  // namespace

bool WindowFtpHost::NameFromServer(const std::string& server, std::string& local)
{
    return Recode(server, CP_UTF8, CP_ACP, local);
}

bool WindowFtpHost::NameToServer(const std::string& local, std::string& server)
{
    return Recode(local, CP_ACP, CP_UTF8, server);
}

void WindowFtpHost::Info(const char* text) { SendText(window_, WM_FTP_INFO, text); }
void WindowFtpHost::Debug(const char* text) { SendText(window_, WM_FTP_DEBUG, text); }
void WindowFtpHost::Error(const char* text) { SendText(window_, WM_FTP_ERROR, text); }

void WindowFtpHost::Progress(std::uintptr_t window, unsigned message, std::int64_t bytes)
{
    if (window != 0)
        SendMessageA(reinterpret_cast<HWND>(window), message, 0, static_cast<LPARAM>(bytes));
}

void WindowFtpHost::Beep(int kind) { MessageBeep(kind == kBeepExclamation ? MB_ICONEXCLAMATION : MB_OK); }

void WindowFtpHost::LoginFailed(const char* text)
{
    if (unattended_ && unattended_()) {
        // The run goes on to its end (or stops) without waiting for a person.
        const std::string line = std::string("Login Failed: ") + text;
        Error(line.c_str());
        return;
    }
    MessageBoxA(window_, text, "Login Failed", MB_OK);
}

void WindowFtpHost::SetTitle(const char* text)
{
    if (window_ != nullptr)
        SetWindowTextA(window_, text);
}

void WindowFtpHost::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program's own loop ends on it: hand it back and stop pumping.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int FtpInitWindow(HWND window, std::function<bool()> unattended)
{
    static WindowFtpHost* host = nullptr;
    if (window == nullptr)
        window = GetActiveWindow();
    delete host;
    host = new WindowFtpHost(window, std::move(unattended));
    return FtpInit(host, SystemNet());
}
